// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/general_settings_window.h"
#include "editors/settings_editor_driver.h"
#include "model/record_layout.h"
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>

using namespace k3n;
using namespace k3n::test;

namespace {

class GeneralSettingsWindow : public EditorPageTest<TGeneralSettingsDlg> {
protected:
    void SetUp() override
    {
        open();
        grid = Child<QTableWidget>(*editor, "sgScrFreq");
        freqBox = Child<QLineEdit>(*editor, "eScrFreq");
    }

    // Double-clicks the frequency cell of grid row (1..16) and types text over the old value.
    void typeScrambleFreq(int row, const QString& text)
    {
        DoubleClick(grid->viewport(), grid->visualItemRect(grid->item(row, 1)).center());
        ASSERT_TRUE(freqBox->isVisible());
        ASSERT_TRUE(freqBox->hasFocus());
        QTest::keyClick(freqBox, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(freqBox, Qt::Key_Backspace);
        QTest::keyClicks(freqBox, text);
    }

    QTableWidget* grid = nullptr;
    QLineEdit* freqBox = nullptr;
};

TEST_F(GeneralSettingsWindow, AResetRecordShowsTheDefaultsAndTheHiddenControlsStayHidden)
{
    EXPECT_EQ(editor->windowTitle(), "General Settings");
    ExpectShown(*editor,
                {{"cbTOT", "0"},
                 {"cbTOA", "0"},
                 {"cbBurst_tone", "1750"},
                 {"cbVoice", "Chinese"},
                 {"cbVOX", "1"},
                 {"cbVOX_DELAY", "0.5"},
                 {"cbTalkAround", "Reverse"},
                 {"cbSaving", "OFF"},
                 {"cbBatlowWarningTime", "30"}});
    EXPECT_EQ(list("cbTOT")->count(), 301);
    EXPECT_EQ(Entries(list("cbVOX_DELAY")), QStringList({"0.5", "1", "1.5", "2", "2.5", "3"}));
    EXPECT_EQ(Entries(list("cbTalkAround")), QStringList({"Reverse", "All Rx ", "All Tx "}));
    EXPECT_EQ(list("cbBatlowWarningTime")->itemText(8), "270");
    for (const char* name : {"cKeyLock", "cBeep", "cCompandor", "cScrambling", "cBatlow_rx", "cBatlow_tx",
                             "cCtcss_extra_tail", "cCtcss_tail"}) {
        EXPECT_FALSE(Child<QCheckBox>(*editor, name)->isChecked()) << name;
        EXPECT_TRUE(Child<QCheckBox>(*editor, name)->isVisible()) << name;
    }
    EXPECT_EQ(Child<QCheckBox>(*editor, "cCtcss_extra_tail")->text(), "Ctcss tail 55Hz");
    EXPECT_EQ(grid->item(0, 0)->text(), "NO.");
    EXPECT_EQ(grid->item(0, 1)->text(), "Frequency");
    for (int row = 1; row <= 16; ++row) {
        EXPECT_EQ(grid->item(row, 0)->text(), QString::asprintf("%02d", row));
        EXPECT_EQ(grid->item(row, 1)->text(), "2632") << row;
    }
    for (const char* name : {"cbCtcTail", "eUserCtc", "eUserDcs", "sCtcTail", "sUserCtc", "sUserDcs"})
        EXPECT_FALSE(Child<QWidget>(*editor, name)->isVisible()) << name;
    EXPECT_FALSE(freqBox->isVisible());

    // A record loaded after the editor was made shows on RefreshAll.
    data.record.set(rec::tot, 300);
    data.record.set(rec::burst_tone, 16);
    data.record.set(rec::talk_around, 2);
    data.record.set(rec::beep, 1);
    data.record.set(rec::scramble_freq(15), 3496);
    editor->RefreshAll();
    ExpectShown(*editor, {{"cbTOT", "300"}, {"cbBurst_tone", "2800"}, {"cbTalkAround", "All Tx "}});
    EXPECT_TRUE(Child<QCheckBox>(*editor, "cBeep")->isChecked());
    EXPECT_EQ(grid->item(16, 1)->text(), "3496");
}

TEST_F(GeneralSettingsWindow, ListsStoreThePositionOfTheChosenEntry)
{
    ExpectPicksStored(*editor, data.record,
                      {{"cbVOX", "3", rec::vox, 2},
                       {"cbBatlowWarningTime", "90", rec::batlow_warning_time, 2},
                       {"cbBurst_tone", "1000", rec::burst_tone, 2},
                       {"cbVOX_DELAY", "2.5", rec::vox_delay, 4},
                       {"cbVoice", "None", rec::voice, 2},
                       {"cbTalkAround", "All Rx ", rec::talk_around, 1},
                       {"cbSaving", "1:3", rec::saving, 3},
                       {"cbTOA", "17", U8Field{rec::toa.offset}, 17}});

    // The time-out timer is a 16-bit field: 300 needs both bytes.
    ChooseAndLeave(*editor, list("cbTOT"), "300");
    EXPECT_EQ(data.record.bytes()[rec::tot.offset], 0x2C);
    EXPECT_EQ(data.record.bytes()[rec::tot.offset + 1], 0x01);
}

TEST_F(GeneralSettingsWindow, AStoredValueOutsideAListShowsNoSelectionAndIsKeptWhenTabbedThrough)
{
    data.record.set(rec::tot, 1000);
    data.record.set(rec::voice, 7);
    data.record.set(rec::talk_around, 5);
    data.record.set(rec::batlow_warning_time, 200);
    editor->RefreshAll();
    const RadioRecord before = data.record;
    ExpectNoEntryAndTabThrough(*editor, {"cbTOT", "cbVoice", "cbTalkAround", "cbBatlowWarningTime"});
    EXPECT_EQ(data.record, before);

    // Picking an entry is what replaces the foreign value.
    ChooseAndLeave(*editor, list("cbVoice"), "English");
    EXPECT_EQ(data.record.get(rec::voice), 1);
}

TEST_F(GeneralSettingsWindow, ACheckBoxWritesOnlyItsOwnBitWhenTheFocusMovesOn)
{
    data.record.set(rec::general_flags_2, 0xF3);
    data.record.set(rec::general_flags_1, 0xC6);
    editor->RefreshAll();
    auto* keyLock = Child<QCheckBox>(*editor, "cKeyLock");
    ClickBox(keyLock);
    ASSERT_TRUE(keyLock->isChecked());
    EXPECT_EQ(data.record.get(rec::general_flags_2), 0xF3);   // not yet: the box still has the focus
    LeaveControl(*editor);
    EXPECT_EQ(data.record.get(rec::general_flags_2), 0xF7);
    EXPECT_EQ(data.record.get(rec::general_flags_1), 0xC6);

    ClickBox(keyLock);
    LeaveControl(*editor);
    EXPECT_EQ(data.record.get(rec::general_flags_2), 0xF3);

    ClickBox(Child<QCheckBox>(*editor, "cBatlow_tx"));
    LeaveControl(*editor);
    EXPECT_EQ(data.record.get(rec::general_flags_1), 0xE6);
    EXPECT_EQ(data.record.get(rec::general_flags_2), 0xF3);

    // A box still holding the focus is stored when the main window commits before saving.
    auto* beep = Child<QCheckBox>(*editor, "cBeep");
    ClickBox(beep);
    ASSERT_TRUE(beep->hasFocus());
    editor->CommitPendingEdits();
    EXPECT_EQ(data.record.get(rec::general_flags_2), 0xFB);
}

TEST_F(GeneralSettingsWindow, ScramblerFrequenciesAreClampedInto2632To3496)
{
    const struct {
        int row;
        QString typed;
        uint16_t stored;
    } cases[] = {
        {1, "2000", 2632}, {2, "4000", 3496}, {3, "", 2632}, {4, "3000", 3000}, {5, "2632", 2632}, {16, "3496", 3496},
    };
    for (const auto& c : cases) {
        typeScrambleFreq(c.row, c.typed);
        LeaveControl(*editor);
        EXPECT_EQ(data.record.get(rec::scramble_freq(c.row - 1)), c.stored) << c.typed.toStdString();
        EXPECT_EQ(grid->item(c.row, 1)->text(), QString::number(c.stored));
        EXPECT_FALSE(freqBox->isVisible());
    }
    for (int i : {5, 6, 14})
        EXPECT_EQ(data.record.get(rec::scramble_freq(i)), 2632) << "untouched entry " << i;
}

TEST_F(GeneralSettingsWindow, TheFrequencyBoxTakesAtMostFourDigitsAndOnlyItsColumnOpensIt)
{
    typeScrambleFreq(7, "3a1-0.55");   // letters and signs are dropped, the fifth digit too
    EXPECT_EQ(freqBox->text(), "3105");
    QTest::keyClick(freqBox, Qt::Key_Return);   // Enter commits and returns to the grid
    EXPECT_EQ(data.record.get(rec::scramble_freq(6)), 3105);
    EXPECT_FALSE(freqBox->isVisible());
    EXPECT_TRUE(grid->hasFocus());

    QApplication::clipboard()->setText("2x9 99");
    typeScrambleFreq(8, "");
    QTest::keyClick(freqBox, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(freqBox->text(), "2999");
    editor->CommitPendingEdits();   // Save while the box is open
    EXPECT_EQ(data.record.get(rec::scramble_freq(7)), 2999);
    EXPECT_FALSE(freqBox->isVisible());

    // Only the frequency column opens the box, not the headers (the row number
    // of row 3, the column's header); the grid itself takes no typing.
    QHeaderView* rowHeader = grid->verticalHeader();
    DoubleClick(rowHeader->viewport(), QPoint(rowHeader->width() / 2, rowHeader->sectionViewportPosition(3) + 4));
    EXPECT_FALSE(freqBox->isVisible());
    QHeaderView* columnHeader = grid->horizontalHeader();
    DoubleClick(columnHeader->viewport(),
                QPoint(columnHeader->sectionViewportPosition(1) + 4, columnHeader->height() / 2));
    EXPECT_FALSE(freqBox->isVisible());
    QTest::keyClicks(grid, "3000");
    const RadioRecord before = data.record;
    LeaveControl(*editor);
    EXPECT_EQ(data.record, before);
    EXPECT_EQ(grid->item(3, 1)->text(), "2632");
}

}   // namespace
