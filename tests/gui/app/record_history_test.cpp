// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and redo of the configuration, driven through the real editor pages,
// the Edit menu's items and their keys, checked on the record's bytes.
#include "app/main_window.h"
#include "editors/channel_window.h"
#include "editors/settings_editor_driver.h"
#include "model/fse_file.h"
#include "model/record_layout.h"
#include "support/main_window_fixture.h"
#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>
#include <memory>

namespace k3n {
namespace {

using namespace test;
using Col = TChInforDlg::Col;

constexpr int kChannelPage = 0;
class UndoRedoTest : public MainWindowFixture {
protected:
    QAction* undoItem() const { return item("EditUndoItem"); }
    QAction* redoItem() const { return item("EditRedoItem"); }

    QTableWidget* channelGrid() { return Child<QTableWidget>(*openPage(kChannelPage), "StringGrid1"); }
    void doubleClickChannelCell(int row, int col)
    {
        QTableWidget* grid = channelGrid();
        DoubleClick(grid->viewport(), grid->visualRect(grid->model()->index(row, col)).center());
    }
    // Opens a channel's RX cell and types text over it; Enter commits it unless leftOpen.
    void typeRx(int row, const QString& text, bool leftOpen = false)
    {
        doubleClickChannelCell(row, Col::Rx);
        auto* box = Child<QLineEdit>(*window->editorOfPage(kChannelPage), "Edit_ChFreq");
        ASSERT_TRUE(box->hasFocus());
        QTest::keyClick(box, Qt::Key_Delete);   // the preset text is selected
        QTest::keyClicks(box, text);
        if (!leftOpen)
            QTest::keyClick(box, Qt::Key_Return);
    }
    QCheckBox* keyLockBox() { return Child<QCheckBox>(*openPage(kGeneralPage), "cKeyLock"); }
    // Clicks the general settings' key lock box clicks times, then leaves it, which stores it.
    void clickKeyLock(int clicks = 1)
    {
        QCheckBox* box = keyLockBox();
        for (int i = 0; i < clicks; ++i)
            ClickBox(box);
        LeaveControl(*window->editorOfPage(kGeneralPage));
    }
};

TEST_F(UndoRedoTest, EditsOnTwoPagesAreUndoneAndRedoneByTheEditMenuAndItsKeys)
{
    const RadioRecord original = data.record;
    EXPECT_FALSE(undoItem()->isEnabled());
    EXPECT_EQ(undoItem()->text(), "&Undo");
    typeRx(1, "145");
    const RadioRecord afterChannel = data.record;
    clickKeyLock();
    const RadioRecord afterKeyLock = data.record;
    ASSERT_NE(afterKeyLock, afterChannel);
    EXPECT_EQ(undoItem()->text(), "&Undo Edit General Settings");

    undoItem()->trigger();
    EXPECT_EQ(data.record, afterChannel);
    EXPECT_FALSE(keyLockBox()->isChecked());   // every open page shows the record again
    EXPECT_EQ(undoItem()->text(), "&Undo Edit Channel Settings");
    EXPECT_EQ(redoItem()->text(), "&Redo Edit General Settings");
    pressKey(Qt::CTRL | Qt::Key_Z);
    EXPECT_EQ(data.record, original);
    EXPECT_EQ(channelGrid()->item(1, Col::Rx)->text(), "");
    EXPECT_FALSE(undoItem()->isEnabled());

    pressKey(Qt::CTRL | Qt::Key_Y);
    EXPECT_EQ(data.record, afterChannel);
    EXPECT_EQ(channelGrid()->item(1, Col::Rx)->text(), "145.00000");
    pressKey(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    EXPECT_EQ(data.record, afterKeyLock);
    EXPECT_TRUE(keyLockBox()->isChecked());
    EXPECT_FALSE(redoItem()->isEnabled());

    // What is being typed becomes a step of its own first; a new step leaves nothing to redo.
    typeRx(2, "146", /*leftOpen=*/true);
    undoItem()->trigger();
    EXPECT_EQ(data.record, afterKeyLock);
    EXPECT_EQ(channelGrid()->item(2, Col::Rx)->text(), "");
    redoItem()->trigger();
    EXPECT_EQ(data.record.get(rec::ch::rx_freq(2)), 146000000u);
    undoItem()->trigger();
    clickKeyLock();
    EXPECT_FALSE(redoItem()->isEnabled());
}

TEST_F(UndoRedoTest, AnEditThatChangesNothingRecordsNoStep)
{
    const RadioRecord original = data.record;
    typeRx(1, "145");
    clickKeyLock(2);   // checked and unchecked again before it is left
    doubleClickChannelCell(1, Col::Rx);   // opened and closed on the same frequency
    QTest::keyClick(Child<QLineEdit>(*window->editorOfPage(kChannelPage), "Edit_ChFreq"), Qt::Key_Return);
    EXPECT_EQ(undoItem()->text(), "&Undo Edit Channel Settings");
    undoItem()->trigger();
    EXPECT_EQ(data.record, original);
    EXPECT_FALSE(undoItem()->isEnabled());
}

TEST_F(UndoRedoTest, PickingAChannelGroupIsAStepOfItsOwn)
{
    auto* groups = Child<QComboBox>(*openPage(kChannelPage), "cbChInforGroup");
    PickEntry(groups, 3);
    ASSERT_EQ(data.record.get(rec::channel_group), 3);
    clickKeyLock();   // the next step, on another page
    undoItem()->trigger();
    EXPECT_EQ(data.record.get(rec::channel_group), 3) << "the group was not part of the key-lock step";
    EXPECT_EQ(data.record, [&] {
        RadioRecord r = FreshRecordOfBand(0);
        r.set(rec::channel_group, 3);
        return r;
    }());
    undoItem()->trigger();
    EXPECT_EQ(data.record.get(rec::channel_group), 0);
    EXPECT_EQ(groups->currentIndex(), 0);
}

TEST_F(UndoRedoTest, NewOpenAndABandChangeAreOneStepEachBackToThePreviousConfiguration)
{
    typeRx(1, "145");
    const RadioRecord edited = data.record;
    AnswerNextQuestion("OKBtn");
    item("FileNewItem")->trigger();
    EXPECT_EQ(data.record, FreshRecordOfBand(0));
    EXPECT_EQ(undoItem()->text(), "&Undo New");
    undoItem()->trigger();
    EXPECT_EQ(data.record, edited);
    EXPECT_EQ(channelGrid()->item(1, Col::Rx)->text(), "145.00000");

    const RadioData source = ConfigurationWithChannel(2, 5, 450012500);
    chosenFile = saveFile("band2.fse", source);
    AnswerNextQuestion("NoBtn");   // the typed channel was never saved: it may go
    item("FileOpenItem")->trigger();
    ASSERT_EQ(data.record, source.record);
    EXPECT_EQ(undoItem()->text(), "&Undo Open");
    undoItem()->trigger();
    EXPECT_EQ(data.record, edited);
    EXPECT_EQ(data.band_limits, (BandLimits{136000000, 174000000}));
    redoItem()->trigger();
    EXPECT_EQ(data.record, source.record);
    EXPECT_EQ(data.band_limits, (BandLimits{400000000, 470000000}));
    EXPECT_EQ(channelGrid()->item(5, Col::Rx)->text(), "450.01250");

    auto* bands = Child<QComboBox>(*openPage(kChannelPage), "cbFreqRange");
    bands->setFocus();
    AnswerNextQuestion("OKBtn");
    QTest::keyClick(bands, Qt::Key_End);
    ASSERT_EQ(data.record, FreshRecordOfBand(3));
    EXPECT_EQ(undoItem()->text(), "&Undo Change band");
    undoItem()->trigger();
    EXPECT_EQ(data.record, source.record);
    EXPECT_EQ(data.band_limits, (BandLimits{400000000, 470000000}));
    EXPECT_EQ(bands->currentIndex(), 2);
    EXPECT_EQ(undoItem()->text(), "&Undo Open");
}

TEST_F(UndoRedoTest, TheItemsNameTheStepInTheInterfaceLanguage)
{
    typeRx(1, "145");
    AnswerNextQuestion("OKBtn");
    item("FileNewItem")->trigger();
    undoItem()->trigger();
    item("MenuLanguage_Chs")->trigger();
    EXPECT_EQ(undoItem()->text(), QStringLiteral("撤销“信道编辑”中的修改(&U)"));
    EXPECT_EQ(redoItem()->text(), QStringLiteral("重做新建(&R)"));
    item("MenuLanguage_En")->trigger();
    EXPECT_EQ(undoItem()->text(), "&Undo Edit Channel Settings");
    EXPECT_EQ(redoItem()->text(), "&Redo New");
}

TEST_F(UndoRedoTest, MoreThanTwoHundredStepsAreKept)
{
    const RadioRecord original = data.record;
    typeRx(1, "145");
    constexpr int kToggles = 250;
    for (int i = 0; i < kToggles; ++i)
        doubleClickChannelCell(1, Col::Power);
    for (int step = 0; step < kToggles; ++step) {
        ASSERT_TRUE(undoItem()->isEnabled()) << step;
        undoItem()->trigger();
        ASSERT_EQ(data.record.get(rec::ch::tx_power(1)), unsigned(step % 2 == 0)) << step;
    }
    undoItem()->trigger();   // the channel itself
    EXPECT_EQ(data.record, original);
    EXPECT_FALSE(undoItem()->isEnabled());
}

}   // namespace
}   // namespace k3n
