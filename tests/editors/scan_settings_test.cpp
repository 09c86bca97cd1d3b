#include "editors/scan_settings.h"
#include "editors/settings_editor_driver.h"
#include "model/record_layout.h"
#include <QLabel>
#include <memory>
#include <gtest/gtest.h>

using namespace k3n;
using namespace k3n::test;

namespace {

class ScanSettingsPage : public ::testing::Test {
protected:
    void open()
    {
        editor = std::make_unique<TScanSettingsDlg>(data);
        ASSERT_TRUE(ShowActive(*editor));
    }
    QComboBox* list(const char* name) { return Child<QComboBox>(*editor, name); }

    RadioData data;
    std::unique_ptr<TScanSettingsDlg> editor;
};

TEST_F(ScanSettingsPage, AResetRecordShowsTheFirstEntriesAndTalkBackOff)
{
    open();
    EXPECT_EQ(editor->windowTitle(), "Scan Settings");
    EXPECT_EQ(list("cbResumeTime_rx")->currentText(), "0.25");
    EXPECT_EQ(list("cbResumeTime_tx")->currentText(), "2");
    EXPECT_EQ(list("cbScanBusyTime")->currentText(), "Diable");
    EXPECT_EQ(list("cbScanTxMode")->currentText(), "Scan Start");
    for (const char* name : {"cbDesignatedChannel", "cbHomeChannel", "cbPriChannel", "cbDaulWatchCh"}) {
        EXPECT_EQ(list(name)->currentText(), "1") << name;
        EXPECT_EQ(list(name)->count(), 32) << name;
    }
    EXPECT_FALSE(Child<QCheckBox>(*editor, "cTalkBack")->isChecked());
    EXPECT_EQ(Entries(list("cbResumeTime_tx")),
              QStringList({"2", "3", "4", "5", "10", "15", "20", "25", "30", "35", "40", "45", "50", "55", "60"}));
    EXPECT_EQ(Entries(list("cbScanTxMode")),
              QStringList({"Scan Start", "Designated", "Last Busy", "Home Channel", "Priority Scan"}));
    EXPECT_EQ(Child<QLabel>(*editor, "sDaulWatchCh")->text(), "Daul Watch Channel");
    EXPECT_EQ(Child<QLabel>(*editor, "sPriChannel")->text(), "Priority Scan");
}

TEST_F(ScanSettingsPage, ListsStorePositionsAndChannelListsTheChannelNumberLessOne)
{
    open();
    ChooseAndLeave(*editor, list("cbHomeChannel"), "32");
    EXPECT_EQ(data.record.get(rec::home_channel), 31);
    ChooseAndLeave(*editor, list("cbPriChannel"), "7");
    EXPECT_EQ(data.record.get(rec::priority_channel), 6);
    ChooseAndLeave(*editor, list("cbDaulWatchCh"), "2");
    EXPECT_EQ(data.record.get(rec::dual_watch_channel), 1);
    ChooseAndLeave(*editor, list("cbDesignatedChannel"), "16");
    EXPECT_EQ(data.record.get(rec::scan_designated_channel), 15);
    ChooseAndLeave(*editor, list("cbResumeTime_rx"), "20");
    EXPECT_EQ(data.record.get(rec::scan_resume_time_rx), 9);
    ChooseAndLeave(*editor, list("cbResumeTime_tx"), "10");
    EXPECT_EQ(data.record.get(rec::scan_resume_time_tx), 4);
    ChooseAndLeave(*editor, list("cbScanBusyTime"), "30");
    EXPECT_EQ(data.record.get(rec::scan_busy_time), 9);
    ChooseAndLeave(*editor, list("cbScanTxMode"), "Priority Scan");
    EXPECT_EQ(data.record.get(rec::scan_tx_mode), 4);

    open();   // reopened, each list shows what was stored
    EXPECT_EQ(list("cbHomeChannel")->currentText(), "32");
    EXPECT_EQ(list("cbScanTxMode")->currentText(), "Priority Scan");
    EXPECT_EQ(list("cbResumeTime_tx")->currentText(), "10");
}

TEST_F(ScanSettingsPage, TalkBackTouchesOnlyBitZeroOfTheScanFlags)
{
    data.record.set(rec::scan_flags, 0xA4);
    open();
    auto* talkBack = Child<QCheckBox>(*editor, "cTalkBack");
    EXPECT_FALSE(talkBack->isChecked());
    ClickBox(talkBack);
    LeaveControl(*editor);
    EXPECT_EQ(data.record.get(rec::scan_flags), 0xA5);
    ClickBox(talkBack);
    LeaveControl(*editor);
    EXPECT_EQ(data.record.get(rec::scan_flags), 0xA4);
}

TEST_F(ScanSettingsPage, StoredValuesBeyondTheListsShowNoSelectionAndStayWhenTabbedThrough)
{
    data.record.set(rec::scan_tx_mode, 7);
    data.record.set(rec::home_channel, 100);       // a channel the 32-entry list cannot show
    data.record.set(rec::scan_resume_time_tx, 15);
    data.record.set(rec::scan_busy_time, 255);
    open();
    const RadioRecord before = data.record;
    for (const char* name : {"cbScanTxMode", "cbHomeChannel", "cbResumeTime_tx", "cbScanBusyTime"}) {
        EXPECT_EQ(list(name)->currentIndex(), -1) << name;
        TabThrough(*editor, list(name));
    }
    EXPECT_EQ(data.record, before);
}

} // namespace
