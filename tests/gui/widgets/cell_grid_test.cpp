// SPDX-License-Identifier: GPL-3.0-or-later
// The cell grid on its own: a grid of three columns (a cycle, a list and a
// text column) over a small record, driven by mouse and keys.
#include "widgets/cell_grid.h"
#include "widgets/input_filters.h"
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace k3n {
namespace {

enum Column { Mode = 1, Level = 2, Name = 3 };
constexpr int kRows = 4;

class CellGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid = new CellGrid("grid", kRows, &window);
        list = NewCellList(grid, "list");
        edit = NewCellEdit(grid, "edit");
        FilterInput(edit, DigitsInput(3));
        CellColumns columns;
        columns.push_back(std::make_unique<CycleColumn>([] { return QStringLiteral("Mode"); }, record,
                                                        [](int row) {
                                                            return BitField{uint16_t(row), 0, 2};
                                                        },
                                                        [] {
                                                            return QStringList{"A", "B", "C"};
                                                        },
                                                        [](unsigned v) { return (v + 1) % 3; }));
        columns.push_back(std::make_unique<ListColumn>(
            [] { return QStringLiteral("Level"); }, list,
            ListColumn::Binding{
                .items =
                    [](int) {
                        return ListItems{{"Low", "High"}, {10, 20}};
                    },
                .load = [this](int row) { return int(record.get(U8Field{uint16_t(8 + row)})); },
                .store = [this](int row, int value) { record.set(U8Field{uint16_t(8 + row)}, value); }}));
        auto name = std::make_unique<TextColumn>(
            [] { return QStringLiteral("Name"); }, edit,
            [this](int row) { return QString::number(record.get(U8Field{uint16_t(16 + row)})); },
            [this](int row, const QString& text) { record.set(U8Field{uint16_t(16 + row)}, uint8_t(text.toInt())); },
            QStringLiteral("999"), TextColumn::Commit::WhenTyped);
        name->openOnTyping(IsAsciiDigit);
        name->openOnlyWhen([](int row) { return row != kRows; });
        columns.push_back(std::move(name));
        grid->setColumns([] { return QStringLiteral("NO."); }, std::move(columns));
        grid->setListArrowRoom(18);
        grid->showAllRows();
        grid->relabel();

        // Leaving an editor commits its cell, as an editor window's exit handlers do.
        for (QWidget* editor : grid->cellEditors())
            exitWatch.push_back(
                QObject::connect(qApp, &QApplication::focusChanged, grid, [this, editor](QWidget* old, QWidget*) {
                    if (old == editor)
                        grid->commitCell(editor);
                }));
        elsewhere = new QPushButton(&window);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(grid);
        layout->addWidget(elsewhere);
        window.resize(400, 300);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    void doubleClick(int row, int col)
    {
        const QPoint at = grid->visualRect(grid->model()->index(row, col)).center();
        // As the window system delivers it: click, then the double-click press and its release.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, at);
        QApplication::processEvents();
    }
    void leave()
    {
        elsewhere->setFocus();
        QApplication::processEvents();
    }

    RadioRecord record;
    QWidget window;
    CellGrid* grid = nullptr;
    QComboBox* list = nullptr;
    QLineEdit* edit = nullptr;
    QPushButton* elsewhere = nullptr;
    std::vector<QMetaObject::Connection> exitWatch;
};

TEST_F(CellGridTest, HeadersAreRowAndColumnZeroShownInPlaceByTheHeaderViews)
{
    EXPECT_EQ(grid->cellText(0, 0), "NO.");
    EXPECT_EQ(grid->cellText(0, Level), "Level");
    EXPECT_EQ(grid->cellText(3, 0), "03");
    EXPECT_TRUE(grid->isRowHidden(0));
    EXPECT_TRUE(grid->isColumnHidden(0));
    EXPECT_EQ(std::pair(grid->currentRow(), grid->currentColumn()), std::pair(1, 1));

    // Wide enough for header, samples and cells; a list column has room for its arrow.
    const QFontMetrics metrics = grid->fontMetrics();
    EXPECT_GE(grid->columnWidth(Name), metrics.horizontalAdvance("999"));
    EXPECT_GE(grid->columnWidth(Level), metrics.horizontalAdvance("Level") + 18);
    EXPECT_GE(grid->verticalHeader()->width(), metrics.horizontalAdvance("NO."));
    EXPECT_EQ(grid->rowHeight(1), grid->horizontalHeader()->height());

    // The header row is painted like row 0 of the stripes, row 1 light green.
    const QImage header = grid->horizontalHeader()->viewport()->grab().toImage();
    EXPECT_EQ(header.pixelColor(3, 3), grid->palette().color(QPalette::Window));
    const QImage rows = grid->verticalHeader()->viewport()->grab().toImage();
    EXPECT_EQ(rows.pixelColor(3, grid->rowViewportPosition(1) + 3), OddRowColour());
}

TEST_F(CellGridTest, ACycleCellStepsAtOnceAndAForeignValueShowsAsUnknown)
{
    doubleClick(2, Mode);
    EXPECT_EQ(record.get(BitField{2, 0, 2}), 1u);
    EXPECT_EQ(grid->cellText(2, Mode), "B");
    EXPECT_EQ(grid->openEditor(), nullptr);
    record.set(BitField{2, 0, 2}, 3);
    grid->showRow(2);
    EXPECT_EQ(grid->cellText(2, Mode), ForeignValueText());
    doubleClick(2, Mode);
    EXPECT_EQ(record.get(BitField{2, 0, 2}), 1u);   // (3 + 1) % 3
}

TEST_F(CellGridTest, AListOpensOnTheStoredValueAndStoresOnlyAPick)
{
    record.set(U8Field{9}, 20);
    grid->showRow(1);
    EXPECT_EQ(grid->cellText(1, Level), "High");
    doubleClick(1, Level);
    ASSERT_EQ(grid->openEditor(), list);
    EXPECT_TRUE(list->isVisible() && list->hasFocus());
    EXPECT_EQ(list->geometry(), grid->visualRect(grid->model()->index(1, Level)).adjusted(0, 0, 1, 1));
    EXPECT_EQ(list->currentText(), "High");
    QTest::keyClick(list, Qt::Key_Up);
    leave();
    EXPECT_EQ(record.get(U8Field{9}), 10);
    EXPECT_EQ(grid->cellText(1, Level), "Low");
    EXPECT_FALSE(list->isVisible());

    // A value the list lacks opens with nothing chosen and is kept when left.
    record.set(U8Field{10}, 99);
    grid->showRow(2);
    EXPECT_EQ(grid->cellText(2, Level), ForeignValueText());
    doubleClick(2, Level);
    EXPECT_EQ(list->currentIndex(), -1);
    leave();
    EXPECT_EQ(record.get(U8Field{10}), 99);
}

TEST_F(CellGridTest, TextCellsCommitOnEnterOrOpeningAnotherCellAndCloseWithoutStoring)
{
    doubleClick(1, Name);
    ASSERT_EQ(grid->openEditor(), edit);
    EXPECT_EQ(edit->selectedText(), "0");
    QTest::keyClicks(edit, "12x3");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(record.get(U8Field{17}), 123);
    EXPECT_FALSE(edit->isVisible());
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_EQ(std::pair(grid->currentRow(), grid->currentColumn()), std::pair(1, int(Name)));

    // Opening another cell commits the open one first.
    doubleClick(2, Name);
    QTest::keyClicks(edit, "7");
    grid->openCell(3, Mode);
    EXPECT_EQ(record.get(U8Field{18}), 7);

    // Untyped text is not stored; closing stores nothing.
    record.set(U8Field{19}, 250);
    doubleClick(3, Name);
    grid->commitOpenCell();
    EXPECT_EQ(record.get(U8Field{19}), 250);
    doubleClick(3, Name);
    QTest::keyClicks(edit, "5");
    grid->closeCellEditor();
    EXPECT_EQ(record.get(U8Field{19}), 250);
    EXPECT_FALSE(edit->isVisible());
    EXPECT_EQ(grid->openEditor(), nullptr);

    // The open rule keeps row 4 shut.
    doubleClick(kRows, Name);
    EXPECT_EQ(grid->openEditor(), nullptr);
}

TEST_F(CellGridTest, TheGridTakesNoTypingButADigitOrEnterOpensATextCellThatAsksForIt)
{
    grid->setFocus();
    grid->setCurrentCell(2, Name);
    QTest::keyClick(grid, Qt::Key_X);
    EXPECT_EQ(grid->openEditor(), nullptr);
    QTest::keyClick(grid, Qt::Key_4);
    ASSERT_EQ(grid->openEditor(), edit);
    EXPECT_EQ(edit->text(), "4");   // the digit replaces the cell's text
    QTest::keyClick(edit, Qt::Key_Enter);
    EXPECT_EQ(record.get(U8Field{18}), 4);

    QTest::keyClick(grid, Qt::Key_Return);
    ASSERT_EQ(grid->openEditor(), edit);
    EXPECT_EQ(edit->text(), "4");
    grid->closeCellEditor();

    // A list column does not open on typing, and the grid does not search its cells.
    grid->setCurrentCell(1, Level);
    QTest::keyClick(grid, Qt::Key_H);
    EXPECT_EQ(grid->openEditor(), nullptr);
    EXPECT_EQ(std::pair(grid->currentRow(), grid->currentColumn()), std::pair(1, int(Level)));
}

TEST_F(CellGridTest, TheKeyboardOpensEveryCellAndEscapeLeavesItAsItWas)
{
    grid->setFocus();
    // Space and Enter step a cycle cell; Space opens nothing else.
    QTest::keyClick(grid, Qt::Key_Space);
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(record.get(BitField{1, 0, 2}), 2u);
    QTest::keyClick(grid, Qt::Key_Right);
    QTest::keyClick(grid, Qt::Key_Space);
    EXPECT_EQ(grid->openEditor(), nullptr);

    // Enter drops a list down; Escape closes the list, a second Escape the cell.
    record.set(U8Field{9}, 10);
    QTest::keyClick(grid, Qt::Key_Return);
    ASSERT_EQ(grid->openEditor(), list);
    ASSERT_TRUE(list->view()->isVisible());
    QTest::keyClick(list->view(), Qt::Key_Down);
    QTest::keyClick(list->view(), Qt::Key_Escape);
    EXPECT_FALSE(list->view()->isVisible());
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_EQ(grid->openEditor(), nullptr);
    EXPECT_FALSE(list->isVisible());
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_EQ(record.get(U8Field{9}), 10);

    // F2 and Enter pick from the dropped list.
    QTest::keyClick(grid, Qt::Key_F2);
    QTest::keyClick(list->view(), Qt::Key_Down);
    QTest::keyClick(list->view(), Qt::Key_Return);
    EXPECT_EQ(record.get(U8Field{9}), 20);
    EXPECT_EQ(grid->cellText(1, Level), "High");
    EXPECT_EQ(grid->openEditor(), nullptr);

    // A typed text is dropped by Escape and the cell shows the record again.
    QTest::keyClick(grid, Qt::Key_Right);
    QTest::keyClick(grid, Qt::Key_F2);
    ASSERT_EQ(grid->openEditor(), edit);
    QTest::keyClicks(edit, "77");
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(record.get(U8Field{17}), 0);
    EXPECT_EQ(grid->cellText(1, Name), "0");
    EXPECT_TRUE(grid->hasFocus());
}

TEST_F(CellGridTest, RowsAreSelectedByTheirHeadersAndShiftArrowsAndCellsInOneColumnFormARange)
{
    QHeaderView* header = grid->verticalHeader();
    auto clickHeader = [header](int row, Qt::KeyboardModifiers modifiers) {
        const QPoint at(header->width() / 2, header->sectionViewportPosition(row) + header->sectionSize(row) / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, modifiers, at);
    };
    clickHeader(1, {});
    clickHeader(3, Qt::ControlModifier);
    EXPECT_EQ(grid->selectedRows(), (std::vector<int>{1, 3}));
    EXPECT_TRUE(grid->showsSelection());
    clickHeader(2, {});
    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(grid->selectedRows(), (std::vector<int>{2, 3, 4}));
    QTest::keyClick(grid, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(grid->selectedRows(), (std::vector<int>{2, 3}));
    EXPECT_EQ(grid->selectedColumnRange(), std::nullopt);

    // A range of one column; a single cell is no range and is not highlighted.
    auto clickCell = [this](int row, Qt::KeyboardModifiers modifiers) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers,
                          grid->visualRect(grid->model()->index(row, Name)).center());
    };
    clickCell(2, {});
    EXPECT_FALSE(grid->showsSelection());
    clickCell(4, Qt::ShiftModifier);
    const auto range = grid->selectedColumnRange();
    ASSERT_TRUE(range.has_value());
    EXPECT_EQ(std::tuple(range->col, range->first, range->last), std::tuple(int(Name), 2, 4));
}

}   // namespace
}   // namespace k3n
