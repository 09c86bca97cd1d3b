// SPDX-License-Identifier: GPL-3.0-or-later
// The channel grid's Edit commands and keyboard editing, driven through the
// main window with real keys and clicks and checked on the record's bytes:
// copying 16 rows to another group, pasting spreadsheet text with bad cells,
// inserting and removing with the scan references following, a 12.5 kHz
// series, Escape, Delete on a row, and undoing each as one step.
#include "app/main_window.h"
#include "editors/channel_window.h"
#include "editors/settings_editor_driver.h"
#include "model/channel_cells.h"
#include "model/channel_moves.h"
#include "model/digit_code.h"
#include "model/editor_page.h"
#include "model/record_layout.h"
#include "support/main_window_fixture.h"
#include "text/app_lang.h"
#include <QClipboard>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <deque>

namespace k3n {
namespace {

using namespace test;
using Col = TChInforDlg::Col;

class ChannelCommandsTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(openWindow());
        editor = static_cast<TChInforDlg*>(window->OpenEditorPage(0));
        grid = Child<CellGrid>(*editor, "StringGrid1");
    }

    // Channels 1..count in use, each with bytes of its own.
    void putChannels(std::initializer_list<int> channels)
    {
        for (int n : channels) {
            StartChannel(data.record, n, 136000000u + uint32_t(n) * 25000u);
            data.record.set(rec::ch::squelch(n), uint8_t(n % 10));
            data.record.set(rec::ch::rx_subaudio(n), uint8_t(n % 52));
        }
        window->RefreshAllViews();
    }
    QPoint cellCentre(int row, int col) const { return grid->visualRect(grid->model()->index(row, col)).center(); }
    void clickCell(int row, int col, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, cellCentre(row, col));
    }
    void clickRowHeader(int row, Qt::KeyboardModifiers modifiers = {})
    {
        QHeaderView* header = grid->verticalHeader();
        const QPoint at(header->width() / 2, header->sectionViewportPosition(row) + header->sectionSize(row) / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, modifiers, at);
    }
    // A key on the grid; the window is made active again after a modal window,
    // which the offscreen platform does not do, so that its shortcuts work.
    void key(int k, Qt::KeyboardModifiers modifiers = {})
    {
        if (!window->isActiveWindow()) {
            window->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        }
        QTest::keyClick(grid, Qt::Key(k), modifiers);
    }
    void chooseGroup(int group)
    {
        auto* groups = Child<QComboBox>(*editor, "cbChInforGroup");
        groups->setFocus();
        while (groups->currentIndex() < group)
            QTest::keyClick(groups, Qt::Key_Down);
        while (groups->currentIndex() > group)
            QTest::keyClick(groups, Qt::Key_Up);
        grid->setFocus();
    }
    ChannelEntry entry(int n) const { return ReadChannelEntry(data.record, n); }
    QString undoText() const { return item("EditUndoItem")->text(); }
    void undo() { key(Qt::Key_Z, Qt::ControlModifier); }

    TChInforDlg* editor = nullptr;
    CellGrid* grid = nullptr;
};

TEST_F(ChannelCommandsTest, SixteenRowsCopiedToAnotherGroupArriveByteForByteAndUndoAsOneStep)
{
    putChannels({1, 2, 3, 5, 8, 13, 16});
    data.record.set(rec::ch::tx_dcs_inverted(5), 1);   // a bit no column shows alone
    window->RefreshAllViews();
    clickRowHeader(1);
    clickRowHeader(16, Qt::ShiftModifier);
    EXPECT_EQ(grid->selectedRows().size(), 16u);
    key(Qt::Key_C, Qt::ControlModifier);

    chooseGroup(2);
    StartChannel(data.record, 40, 150000000);   // overwritten by the copy of channel 8
    window->RefreshAllViews();
    const RadioRecord beforePaste = data.record;
    clickCell(1, Col::Tx);
    key(Qt::Key_V, Qt::ControlModifier);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(entry(33 + i), entry(1 + i)) << 33 + i;
    EXPECT_EQ(grid->cellText(5, Col::Rx), ChannelCellText(data.record, 37, Col::Rx, appLang()));
    EXPECT_EQ(grid->selectedRows().size(), 16u);
    EXPECT_EQ(undoText(), "&Undo Paste 16 channels");

    undo();
    EXPECT_EQ(data.record, beforePaste);
}

TEST_F(ChannelCommandsTest, SpreadsheetTextWithTwoBadCellsPastesTheRestAndListsThem)
{
    putChannels({2});
    QGuiApplication::clipboard()->setText("145.5\t145.5\t88.5\tOff\tHigh\n"
                                          "146\t146.6\t88.6\tOff\tLow\n"
                                          "147\tgarbage\tD023N\tD023I\tHigh\n");
    const RadioRecord before = data.record;
    clickCell(2, Col::Rx);
    QString notice;
    ModalAnswers answers;
    answers.readNotice(&notice);
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(answers.done());
    EXPECT_EQ(data.record.get(rec::ch::rx_freq(2)), 145500000u);
    EXPECT_EQ(data.record.get(rec::ch::tx_subaudio(2)), 0u);
    EXPECT_EQ(data.record.get(rec::ch::rx_subaudio(2)), 10u);
    EXPECT_EQ(data.record.get(rec::ch::tx_power(2)), 1u);
    // Row 2 starts channel 3: its bad tone keeps the new channel's "Off".
    EXPECT_EQ(data.record.get(rec::ch::tx_freq(3)), 146600000u);
    EXPECT_EQ(data.record.get(rec::ch::rx_subaudio(3)), 0u);
    EXPECT_EQ(data.record.get(rec::ch::tx_freq(4)), 147000000u);   // kept: TX = RX of a new channel
    EXPECT_EQ(data.record.get(rec::ch::rx_subaudio(4)), 128u);   // D023N
    EXPECT_EQ(data.record.get(rec::ch::rx_dcs_inverted(4)), 0u);
    EXPECT_EQ(data.record.get(rec::ch::tx_subaudio(4)), 128u);   // D023I
    EXPECT_EQ(data.record.get(rec::ch::tx_dcs_inverted(4)), 1u);
    EXPECT_TRUE(notice.contains("88.6") && notice.contains("garbage")) << notice.toStdString();
    EXPECT_EQ(notice.count("Channel "), 2);
    EXPECT_EQ(undoText(), "&Undo Paste 3 channels");
    undo();
    EXPECT_EQ(data.record, before);

    // Garbage changes nothing. An empty channel whose RX was refused gives that one line;
    // channel 2 is in use, so its TX cell is tried too and has a line of its own.
    QGuiApplication::clipboard()->setText(QString("#?!\tx\n").repeated(40));
    answers.readNotice(&notice);
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(answers.done());
    EXPECT_EQ(data.record, before);
    EXPECT_EQ(notice.count("Channel "), 41);
    EXPECT_EQ(notice.count("\"#?!\""), 40);
    EXPECT_EQ(notice.count("\"x\""), 1) << notice.toStdString();
}

TEST_F(ChannelCommandsTest, InsertAndRemoveShiftChannel128AndTheScanReferencesFollow)
{
    putChannels({1, 2, 20, 127, 128});
    data.record.set(rec::home_channel, 19);   // channel 20
    data.record.set(rec::emergency_designated_channel, 127);   // channel 128
    window->RefreshAllViews();
    auto* scan = window->OpenEditorPage(3);
    window->OpenEditorPage(0);
    const RadioRecord before = data.record;

    clickRowHeader(2);
    ModalAnswers answers;
    answers.press("CancelBtn");   // channel 128 is in use: not this time
    key(Qt::Key_Insert);
    EXPECT_EQ(data.record, before);

    QString notice;
    answers.press("OKBtn");
    answers.readNotice(&notice);
    key(Qt::Key_Insert);
    EXPECT_TRUE(answers.done());
    EXPECT_EQ(entry(2), ChannelEntry{});
    EXPECT_EQ(entry(3), ReadChannelEntry(before, 2));
    EXPECT_EQ(entry(21), ReadChannelEntry(before, 20));
    EXPECT_EQ(entry(128), ReadChannelEntry(before, 127));
    EXPECT_EQ(data.record.get(rec::home_channel), 20);
    EXPECT_EQ(Child<QComboBox>(*scan, "cbHomeChannel")->currentText(), "21");
    EXPECT_TRUE(notice.contains("128")) << notice.toStdString();
    EXPECT_EQ(undoText(), "&Undo Insert channel 2");

    // Removing it again brings every channel back; 128 stays empty.
    clickRowHeader(2);
    key(Qt::Key_Delete, Qt::ControlModifier);
    for (int n = 1; n < 128; ++n)
        EXPECT_EQ(entry(n), ReadChannelEntry(before, n)) << n;
    EXPECT_EQ(entry(128), ChannelEntry{});
    EXPECT_EQ(data.record.get(rec::home_channel), 19);
    EXPECT_EQ(Child<QComboBox>(*scan, "cbHomeChannel")->currentText(), "20");

    undo();
    undo();
    EXPECT_EQ(data.record, before);
}

TEST_F(ChannelCommandsTest, FillSeriesOf12p5KilohertzFromTheMenu)
{
    putChannels({1});
    data.record.set(rec::ch::rx_freq(1), 145000000);
    window->RefreshAllViews();
    clickCell(1, Col::Rx);
    clickCell(6, Col::Rx, Qt::ShiftModifier);
    const RadioRecord before = data.record;

    ModalAnswers answers;
    answers.then([](QWidget* modal) {
        auto* step = modal->findChild<QLineEdit*>();
        QTest::keyClicks(step, "12.5");
        QTest::keyClick(step, Qt::Key_Return);
    });
    QMenu* edit = menu("Edit1");
    QAction* fillSeries = item("EditFillSeriesItem");
    edit->popup(window->mapToGlobal(QPoint(20, 20)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(edit));
    EXPECT_TRUE(fillSeries->isEnabled());
    QTest::mouseClick(edit, Qt::LeftButton, {}, edit->actionGeometry(fillSeries).center());
    EXPECT_TRUE(answers.done());
    for (int n = 1; n <= 6; ++n)
        EXPECT_EQ(data.record.get(rec::ch::rx_freq(n)), 145000000u + uint32_t(n - 1) * 12500u) << n;
    EXPECT_EQ(grid->cellText(6, Col::Rx), "145.06250");
    EXPECT_EQ(undoText(), "&Undo Fill series");
    undo();
    EXPECT_EQ(data.record, before);
}

TEST_F(ChannelCommandsTest, KeysOpenToggleAndCancelCellsAndDeleteClearsASelectedRow)
{
    putChannels({1, 2});
    const RadioRecord before = data.record;
    clickCell(1, Col::Rx);

    // Escape leaves a typed frequency unstored and the cell as it was.
    key(Qt::Key_F2);
    auto* freqBox = Child<QLineEdit>(*editor, "Edit_ChFreq");
    ASSERT_TRUE(freqBox->isVisible());
    QTest::keyClicks(freqBox, "150");
    QTest::keyClick(freqBox, Qt::Key_Escape);
    EXPECT_FALSE(freqBox->isVisible());
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_EQ(grid->cellText(1, Col::Rx), "136.02500");
    EXPECT_EQ(data.record, before);

    // Right to TX Power: Space and Enter toggle it.
    for (int i = Col::Rx; i < Col::Power; ++i)
        key(Qt::Key_Right);
    key(Qt::Key_Space);
    EXPECT_EQ(data.record.get(rec::ch::tx_power(1)), 1u);
    key(Qt::Key_Return);
    EXPECT_EQ(data.record.get(rec::ch::tx_power(1)), 0u);

    // Enter drops the squelch list down; Down and Enter pick.
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    key(Qt::Key_Return);
    auto* sql = Child<QComboBox>(*editor, "cbChInforSql");
    ASSERT_TRUE(sql->view()->isVisible());
    QTest::keyClick(sql->view(), Qt::Key_Down);
    QTest::keyClick(sql->view(), Qt::Key_Return);
    EXPECT_FALSE(sql->isVisible());
    EXPECT_EQ(data.record.get(rec::ch::squelch(1)), 2u);
    EXPECT_EQ(grid->cellText(1, Col::Sql), "2");

    // Delete on a whole row clears its channel, one step.
    clickRowHeader(2);
    key(Qt::Key_Delete);
    EXPECT_EQ(entry(2), ChannelEntry{});
    EXPECT_EQ(grid->cellText(2, Col::Rx), "");
    EXPECT_EQ(undoText(), "&Undo Delete channel 2");
    undo();
    EXPECT_EQ(entry(2), ReadChannelEntry(before, 2));
}

TEST_F(ChannelCommandsTest, ShiftArrowsGrowTheRowSelectionAndTheBlockMovesWithItsReferences)
{
    putChannels({3, 4, 5});
    data.record.set(rec::priority_channel, 3);   // channel 4
    window->RefreshAllViews();
    const RadioRecord before = data.record;
    clickRowHeader(3);
    key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(grid->selectedRows(), (std::vector<int>{3, 4}));
    key(Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(entry(2), ReadChannelEntry(before, 3));
    EXPECT_EQ(entry(3), ReadChannelEntry(before, 4));
    EXPECT_EQ(entry(4), ChannelEntry{});
    EXPECT_EQ(data.record.get(rec::priority_channel), 2);
    EXPECT_EQ(grid->selectedRows(), (std::vector<int>{2, 3}));
    key(Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(data.record, before);
}

TEST_F(ChannelCommandsTest, ADtmfCodeIsEditedWithTheKeyboardAlone)
{
    QWidget* dtmf = window->OpenEditorPage(int(EditorPage::Dtmf));
    QTabBar* pages = Child<QTabWidget>(*dtmf, "PageDtmf")->tabBar();
    pages->setFocus();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(pages, Qt::Key_Right);   // to the Encode page
    QTest::keyClick(pages, Qt::Key_Tab);
    auto* encode = Child<CellGrid>(*dtmf, "sgEncode");
    ASSERT_TRUE(encode->hasFocus());
    QTest::keyClick(encode, Qt::Key_Down);
    QTest::keyClick(encode, Qt::Key_Return);
    auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(box, nullptr);
    QTest::keyClicks(box, "123");
    QTest::keyClick(box, Qt::Key_Return);
    const DigitCodeField code{rec::dtmf::encode(1), rec::dtmf::kEncodeDigits};
    EXPECT_EQ(ReadDigitCode(data.record, code), "123");
    EXPECT_TRUE(encode->hasFocus());

    QTest::keyClick(encode, Qt::Key_F2);
    QTest::keyClicks(QApplication::focusWidget(), "9");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(ReadDigitCode(data.record, code), "123");
    EXPECT_EQ(encode->cellText(2, 1), "123");

    QTest::keyClick(encode, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(ReadDigitCode(data.record, code), "");
}

TEST_F(ChannelCommandsTest, TabNeverLandsOnTheHiddenFocusSink)
{
    for (int page : {0, 1, 3}) {
        QWidget* pageEditor = window->OpenEditorPage(page);
        QWidget* sink = pageEditor->findChild<QPushButton*>("bHide");
        EXPECT_EQ(sink->focusPolicy(), Qt::NoFocus);
        pageEditor->findChild<QComboBox*>()->setFocus();
        for (int i = 0; i < 30; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            ASSERT_NE(QApplication::focusWidget(), sink) << page << " " << i;
        }
    }
}

}   // namespace
}   // namespace k3n
