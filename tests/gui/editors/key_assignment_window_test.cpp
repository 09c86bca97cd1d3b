// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/general_settings_window.h"
#include "editors/key_assignment_window.h"
#include "editors/settings_editor_driver.h"
#include "model/record_layout.h"
#include <QGroupBox>
#include <QLabel>

using namespace k3n;
using namespace k3n::test;

namespace {

using KeyAssignmentWindow = EditorPageTest<TKeyAssignmentDlg>;

const char* const kKeyLists[] = {"cbKey1_Press",   "cbKey1_Hold",  "cbKey1_PowerOn", "cbKey2_Press",  "cbKey2_Hold",
                                 "cbKey2_PowerOn", "cbKey3_Press", "cbKey3_Hold",    "cbKey3_PowerOn"};

TEST_F(KeyAssignmentWindow, AResetRecordShowsTheFirstEntryOfEveryListAndTheCaptions)
{
    open();
    EXPECT_EQ(editor->windowTitle(), "Key Assignment");
    for (const char* name : kKeyLists)
        EXPECT_EQ(list(name)->currentText(), "None") << name;
    ExpectShown(*editor, {{"cbHoldTime", "0.5"}, {"cbEmgHoldTime", "2"}});
    EXPECT_EQ(Entries(list("cbKey1_PowerOn")), QStringList({"None", "Emergency", "Keypad Lock"}));
    EXPECT_EQ(Entries(list("cbKey1_Hold")), QStringList({"None", "Priority Call", "Emergency"}));
    EXPECT_EQ(Entries(list("cbKey2_PowerOn")),
              QStringList({"None", "H/L Power", "Talk Around", "Group Select", "Keypad Lock", "Beep Tone",
                           "Lone Worker", "Voice Compandor", "Voice Scramble"}));
    EXPECT_EQ(list("cbKey3_Hold")->count(), 19);
    EXPECT_EQ(list("cbKey3_Hold")->itemText(3), "Talk Around");
    EXPECT_EQ(list("cbKey3_Hold")->itemText(18), "Tx Burst Tone");
    EXPECT_EQ(Entries(list("cbEmgHoldTime")).last(), "10");
    EXPECT_EQ(Child<QGroupBox>(*editor, "gbKey2")->title(), "[Side]Key 2");
    EXPECT_EQ(Child<QGroupBox>(*editor, "gbTimeSetup")->title(), "Time Setup");
    EXPECT_EQ(Child<QLabel>(*editor, "sKey3_PowerOn")->text(), "Power On");
    EXPECT_EQ(Child<QLabel>(*editor, "sEmgHoldTime")->text(), "Emg Hold (s)");
}

TEST_F(KeyAssignmentWindow, EachListStoresTheFunctionCodeOfItsEntryInItsOwnByte)
{
    open();
    ExpectPicksStored(*editor, data.record,
                      {{"cbKey1_PowerOn", "Emergency", rec::key1_power_on, 20},
                       {"cbKey1_PowerOn", "Keypad Lock", rec::key1_power_on, 17},
                       {"cbKey1_Press", "Priority Call", rec::key1_press, 19},
                       {"cbKey1_Hold", "Emergency", rec::key1_hold, 20},
                       {"cbKey2_Press", "Scan List Add/Del", rec::key2_press, 27},
                       {"cbKey2_PowerOn", "Group Select", rec::key2_power_on, 13},
                       {"cbKey3_Press", "Monitor", rec::key3_press, 8},
                       {"cbKey3_Hold", "Tx Burst Tone", rec::key3_hold, 28},
                       {"cbKey3_PowerOn", "Voice Scramble", rec::key3_power_on, 26},
                       {"cbHoldTime", "3", rec::key_hold_time, 5},
                       {"cbEmgHoldTime", "10", rec::emergency_hold_time, 8}});
    // The block as the file has it, and nothing written past it.
    const uint8_t expected[] = {19, 20, 17, 27, 0, 13, 8, 28, 26, 5, 8, 0};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(data.record.bytes()[rec::key1_press.offset + i], expected[i]) << i;
}

TEST_F(KeyAssignmentWindow, TalkAroundStoresFourteenPlusTheTalkAroundModeOr255)
{
    data.record.set(rec::talk_around, 1);
    open();
    ChooseAndLeave(*editor, list("cbKey2_Press"), "Talk Around");
    EXPECT_EQ(data.record.get(rec::key2_press), 15);
    ChooseAndLeave(*editor, list("cbKey3_PowerOn"), "Talk Around");
    EXPECT_EQ(data.record.get(rec::key3_power_on), 15);

    open();   // reopened, the stored 15 shows as "Talk Around" again
    EXPECT_EQ(list("cbKey2_Press")->currentText(), "Talk Around");
    EXPECT_EQ(list("cbKey3_PowerOn")->currentText(), "Talk Around");

    data.record.set(rec::talk_around, 0);
    ChooseAndLeave(*editor, list("cbKey3_Hold"), "Talk Around");
    EXPECT_EQ(data.record.get(rec::key3_hold), 14);
    // Leaving a list that shows "Talk Around" writes the code of the mode set now.
    TabThrough(*editor, list("cbKey2_Press"));
    EXPECT_EQ(data.record.get(rec::key2_press), 14);

    data.record.set(rec::talk_around, 5);
    ChooseAndLeave(*editor, list("cbKey2_Hold"), "Talk Around");
    EXPECT_EQ(data.record.get(rec::key2_hold), 255);
    editor->RefreshAll();
    ExpectNoEntryAndTabThrough(*editor, {"cbKey2_Hold"});
    EXPECT_EQ(data.record.get(rec::key2_hold), 255);

    // The mode chosen on the general page decides the code.
    TGeneralSettingsDlg general(data);
    ASSERT_TRUE(ShowActive(general));
    ChooseAndLeave(general, Child<QComboBox>(general, "cbTalkAround"), "All Tx ");
    ASSERT_EQ(data.record.get(rec::talk_around), 2);
    ASSERT_TRUE(ShowActive(*editor));
    ChooseAndLeave(*editor, list("cbKey3_Press"), "Talk Around");
    EXPECT_EQ(data.record.get(rec::key3_press), 16);
}

TEST_F(KeyAssignmentWindow, CodesNoListOffersShowNoSelectionAndStayWhenTabbedThrough)
{
    data.record.set(rec::key2_press, 9);
    data.record.set(rec::key2_power_on, 27);   // offered on press lists only
    data.record.set(rec::key1_press, 14);   // talk-around is not a key 1 function
    data.record.set(rec::key3_hold, 16);   // any of 14..16 shows "Talk Around"
    data.record.set(rec::key_hold_time, 6);
    data.record.set(rec::emergency_hold_time, 200);
    open();
    EXPECT_EQ(list("cbKey3_Hold")->currentText(), "Talk Around");
    const RadioRecord before = data.record;
    ExpectNoEntryAndTabThrough(*editor,
                               {"cbKey2_Press", "cbKey2_PowerOn", "cbKey1_Press", "cbHoldTime", "cbEmgHoldTime"});
    EXPECT_EQ(data.record, before);
    EXPECT_EQ(data.record.get(rec::key2_press), 9);

    ChooseAndLeave(*editor, list("cbKey2_Press"), "H/L Power");
    EXPECT_EQ(data.record.get(rec::key2_press), 10);
}

}   // namespace
