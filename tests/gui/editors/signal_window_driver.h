// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Drives the signalling editors the way a user does: double-clicks grid
// cells, types, pastes, picks list entries with the keyboard and moves the focus.
#include "editors/signal_window.h"
#include "settings_editor_driver.h"
#include "widgets/cell_grid.h"
#include <QClipboard>
#include <QLineEdit>
#include <QTabWidget>
#include <cstdint>
#include <vector>

namespace k3n::test {

// The four pages every signalling editor has, in order.
enum Page { OptionPage, SystemPage, DecodePage, EncodePage };

using Bytes = std::vector<uint8_t>;

inline void Settle()
{
    QApplication::processEvents();
}

inline void DoubleClickCell(CellGrid* grid, int row, int col)
{
    ASSERT_TRUE(grid->isVisible()) << grid->objectName().toStdString() << ": its page is not shown";
    const QModelIndex cell = grid->model()->index(row, col);
    grid->scrollTo(cell);
    Settle();
    DoubleClick(grid->viewport(), grid->visualRect(cell).center());
}

// The editor a double-click laid over the cell, checked to be an Editor with the focus.
template <class Editor> Editor* OpenCell(CellGrid* grid, int row, int col)
{
    DoubleClickCell(grid, row, col);
    auto* editor = qobject_cast<Editor*>(grid->openEditor());
    EXPECT_NE(editor, nullptr) << grid->objectName().toStdString() << " " << row << "," << col;
    if (editor) {
        EXPECT_TRUE(editor->isVisible() && editor->hasFocus());
    }
    return editor;
}

inline QLineEdit* OpenEdit(CellGrid* grid, int row, int col)
{
    return OpenCell<QLineEdit>(grid, row, col);
}
inline QComboBox* OpenList(CellGrid* grid, int row, int col)
{
    return OpenCell<QComboBox>(grid, row, col);
}

// Replaces the edit's text by typing, as the user does after selecting all.
inline void Retype(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

inline void Paste(QLineEdit* edit, const QString& text)
{
    QApplication::clipboard()->setText(text);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
}

// One signalling editor over a fresh record, shown large enough for every grid.
template <class Dialog> class SignalEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        w.resize(900, 560);
        ASSERT_TRUE(ShowActive(w));
    }
    Bytes bytes(uint16_t offset, int length) const
    {
        const auto s = data.record.slice(offset, std::size_t(length));
        return {s.begin(), s.end()};
    }
    CellGrid* grid(const char* name) { return Child<CellGrid>(w, name); }
    QComboBox* list(const char* name) { return Child<QComboBox>(w, name); }
    // Steps the list to entry and leaves it, which stores the pick.
    void choose(QComboBox* list, const QString& entry)
    {
        StepTo(list, entry);
        LeaveControl(w);
    }
    void chooseInCell(const char* gridName, int row, int col, const QString& entry)
    {
        choose(OpenList(grid(gridName), row, col), entry);
    }
    void retypeCell(const char* gridName, int row, int col, const QString& text)
    {
        Retype(OpenEdit(grid(gridName), row, col), text);
        LeaveControl(w);
    }
    void expectPicksStored(std::initializer_list<StoredPick> picks)
    {
        for (const StoredPick& p : picks) {
            choose(list(p.list), p.entry);
            EXPECT_EQ(data.record.get(p.field), p.stored) << p.list << " " << p.entry;
        }
    }
    // Switches to another page, which reloads it from the record.
    void turnPage(Page page)
    {
        w.template findChild<QTabWidget*>()->setCurrentIndex(page);
        Settle();
    }

    RadioData data;
    Dialog w{data};
};

}   // namespace k3n::test
