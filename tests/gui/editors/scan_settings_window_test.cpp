// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/scan_settings_window.h"
#include "editors/settings_editor_driver.h"
#include "model/record_layout.h"
#include <QLabel>

using namespace k3n;
using namespace k3n::test;

namespace {

using ScanSettingsWindow = EditorPageTest<TScanSettingsDlg>;

TEST_F(ScanSettingsWindow, AResetRecordShowsTheFirstEntriesAndTalkBackOff)
{
    open();
    EXPECT_EQ(editor->windowTitle(), "Scan Settings");
    ExpectShown(*editor,
                {{"cbResumeTime_rx", "0.25"},
                 {"cbResumeTime_tx", "2"},
                 {"cbScanBusyTime", "Diable"},
                 {"cbScanTxMode", "Scan Start"}});
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

TEST_F(ScanSettingsWindow, ListsStorePositionsAndChannelListsTheChannelNumberLessOne)
{
    open();
    ExpectPicksStored(*editor, data.record,
                      {{"cbHomeChannel", "32", rec::home_channel, 31},
                       {"cbPriChannel", "7", rec::priority_channel, 6},
                       {"cbDaulWatchCh", "2", rec::dual_watch_channel, 1},
                       {"cbDesignatedChannel", "16", rec::scan_designated_channel, 15},
                       {"cbResumeTime_rx", "20", rec::scan_resume_time_rx, 9},
                       {"cbResumeTime_tx", "10", rec::scan_resume_time_tx, 4},
                       {"cbScanBusyTime", "30", rec::scan_busy_time, 9},
                       {"cbScanTxMode", "Priority Scan", rec::scan_tx_mode, 4}});

    open();   // reopened, each list shows what was stored
    ExpectShown(*editor, {{"cbHomeChannel", "32"}, {"cbScanTxMode", "Priority Scan"}, {"cbResumeTime_tx", "10"}});
}

TEST_F(ScanSettingsWindow, TalkBackTouchesOnlyBitZeroOfTheScanFlags)
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

TEST_F(ScanSettingsWindow, StoredValuesBeyondTheListsShowNoSelectionAndStayWhenTabbedThrough)
{
    data.record.set(rec::scan_tx_mode, 7);
    data.record.set(rec::home_channel, 100);   // a channel the 32-entry list cannot show
    data.record.set(rec::scan_resume_time_tx, 15);
    data.record.set(rec::scan_busy_time, 255);
    open();
    const RadioRecord before = data.record;
    ExpectNoEntryAndTabThrough(*editor, {"cbScanTxMode", "cbHomeChannel", "cbResumeTime_tx", "cbScanBusyTime"});
    EXPECT_EQ(data.record, before);
}

}   // namespace
