#include "editors/general_settings.h"
#include "editors/key_assignment.h"
#include "editors/settings_editor_driver.h"
#include "model/record_layout.h"
#include <QGroupBox>
#include <QLabel>
#include <memory>
#include <gtest/gtest.h>

using namespace k3n;
using namespace k3n::test;

namespace {

class KeyAssignmentPage : public ::testing::Test {
protected:
    void open()
    {
        editor = std::make_unique<TKeyAssignmentDlg>(data);
        ASSERT_TRUE(ShowActive(*editor));
    }
    QComboBox* list(const char* name) { return Child<QComboBox>(*editor, name); }

    RadioData data;
    std::unique_ptr<TKeyAssignmentDlg> editor;
};

const char* const kKeyLists[] = {"cbKey1_Press", "cbKey1_Hold", "cbKey1_PowerOn",
                                 "cbKey2_Press", "cbKey2_Hold", "cbKey2_PowerOn",
                                 "cbKey3_Press", "cbKey3_Hold", "cbKey3_PowerOn"};

TEST_F(KeyAssignmentPage, AResetRecordShowsTheFirstEntryOfEveryListAndTheCaptions)
{
    open();
    EXPECT_EQ(editor->windowTitle(), "Key Assignment");
    for (const char* name : kKeyLists)
        EXPECT_EQ(list(name)->currentText(), "None") << name;
    EXPECT_EQ(list("cbHoldTime")->currentText(), "0.5");
    EXPECT_EQ(list("cbEmgHoldTime")->currentText(), "2");
    EXPECT_EQ(Entries(list("cbKey1_PowerOn")), QStringList({"None", "Emergency", "Keypad Lock"}));
    EXPECT_EQ(Entries(list("cbKey1_Hold")), QStringList({"None", "Priority Call", "Emergency"}));
    EXPECT_EQ(Entries(list("cbKey2_PowerOn")),
              QStringList({"None", "H/L Power", "Talk Around", "Group Select", "Keypad Lock",
                           "Beep Tone", "Lone Worker", "Voice Compandor", "Voice Scramble"}));
    EXPECT_EQ(list("cbKey3_Hold")->count(), 19);
    EXPECT_EQ(list("cbKey3_Hold")->itemText(3), "Talk Around");
    EXPECT_EQ(list("cbKey3_Hold")->itemText(18), "Tx Burst Tone");
    EXPECT_EQ(Entries(list("cbEmgHoldTime")).last(), "10");
    EXPECT_EQ(Child<QGroupBox>(*editor, "gbKey2")->title(), "[Side]Key 2");
    EXPECT_EQ(Child<QGroupBox>(*editor, "gbTimeSetup")->title(), "Time Setup");
    EXPECT_EQ(Child<QLabel>(*editor, "sKey3_PowerOn")->text(), "Power On");
    EXPECT_EQ(Child<QLabel>(*editor, "sEmgHoldTime")->text(), "Emg Hold (s)");
}

TEST_F(KeyAssignmentPage, EachListStoresTheFunctionCodeOfItsEntryInItsOwnByte)
{
    open();
    ChooseAndLeave(*editor, list("cbKey1_PowerOn"), "Emergency");
    EXPECT_EQ(data.record.get(rec::key1_power_on), 20);
    ChooseAndLeave(*editor, list("cbKey1_PowerOn"), "Keypad Lock");
    EXPECT_EQ(data.record.get(rec::key1_power_on), 17);
    ChooseAndLeave(*editor, list("cbKey1_Press"), "Priority Call");
    EXPECT_EQ(data.record.get(rec::key1_press), 19);
    ChooseAndLeave(*editor, list("cbKey1_Hold"), "Emergency");
    EXPECT_EQ(data.record.get(rec::key1_hold), 20);
    ChooseAndLeave(*editor, list("cbKey2_Press"), "Scan List Add/Del");
    EXPECT_EQ(data.record.get(rec::key2_press), 27);
    ChooseAndLeave(*editor, list("cbKey2_PowerOn"), "Group Select");
    EXPECT_EQ(data.record.get(rec::key2_power_on), 13);
    ChooseAndLeave(*editor, list("cbKey3_Press"), "Monitor");
    EXPECT_EQ(data.record.get(rec::key3_press), 8);
    ChooseAndLeave(*editor, list("cbKey3_Hold"), "Tx Burst Tone");
    EXPECT_EQ(data.record.get(rec::key3_hold), 28);
    ChooseAndLeave(*editor, list("cbKey3_PowerOn"), "Voice Scramble");
    EXPECT_EQ(data.record.get(rec::key3_power_on), 26);
    ChooseAndLeave(*editor, list("cbHoldTime"), "3");
    EXPECT_EQ(data.record.get(rec::key_hold_time), 5);
    ChooseAndLeave(*editor, list("cbEmgHoldTime"), "10");
    EXPECT_EQ(data.record.get(rec::emergency_hold_time), 8);

    const uint8_t expected[] = {19, 20, 17, 27, 0, 13, 8, 28, 26, 5, 8};
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(data.record.bytes()[rec::key1_press.offset + i], expected[i]) << i;
    EXPECT_EQ(data.record.get(rec::scan_resume_time_rx), 0) << "the byte after the key block";
}

TEST_F(KeyAssignmentPage, TalkAroundStoresFourteenPlusTheTalkAroundModeOr255)
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
    EXPECT_EQ(list("cbKey2_Hold")->currentIndex(), -1);
    TabThrough(*editor, list("cbKey2_Hold"));
    EXPECT_EQ(data.record.get(rec::key2_hold), 255);
}

TEST_F(KeyAssignmentPage, TheTalkAroundModeChosenOnTheGeneralPageDecidesTheCode)
{
    open();
    TGeneralSettingsDlg general(data);
    ASSERT_TRUE(ShowActive(general));
    ChooseAndLeave(general, Child<QComboBox>(general, "cbTalkAround"), "All Tx ");
    ASSERT_EQ(data.record.get(rec::talk_around), 2);
    ASSERT_TRUE(ShowActive(*editor));
    ChooseAndLeave(*editor, list("cbKey3_Press"), "Talk Around");
    EXPECT_EQ(data.record.get(rec::key3_press), 16);
}

TEST_F(KeyAssignmentPage, CodesNoListOffersShowNoSelectionAndStayWhenTabbedThrough)
{
    data.record.set(rec::key2_press, 9);
    data.record.set(rec::key2_power_on, 27);     // offered on press lists only
    data.record.set(rec::key1_press, 14);        // talk-around is not a key 1 function
    data.record.set(rec::key3_hold, 16);         // any of 14..16 shows "Talk Around"
    data.record.set(rec::key_hold_time, 6);
    data.record.set(rec::emergency_hold_time, 200);
    open();
    for (const char* name : {"cbKey2_Press", "cbKey2_PowerOn", "cbKey1_Press", "cbHoldTime", "cbEmgHoldTime"})
        EXPECT_EQ(list(name)->currentIndex(), -1) << name;
    EXPECT_EQ(list("cbKey3_Hold")->currentText(), "Talk Around");

    const RadioRecord before = data.record;
    for (const char* name : {"cbKey2_Press", "cbKey2_PowerOn", "cbKey1_Press", "cbHoldTime", "cbEmgHoldTime"})
        TabThrough(*editor, list(name));
    EXPECT_EQ(data.record, before);
    EXPECT_EQ(data.record.get(rec::key2_press), 9);

    ChooseAndLeave(*editor, list("cbKey2_Press"), "H/L Power");
    EXPECT_EQ(data.record.get(rec::key2_press), 10);
}

} // namespace
