// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/emergency_settings_window.h"
#include "editors/settings_editor_driver.h"
#include "model/record_layout.h"
#include <QGroupBox>
#include <QLabel>

using namespace k3n;
using namespace k3n::test;

namespace {

class EmergencySettingsWindow : public EditorPageTest<TEmergencySettingDlg> {
protected:
    uint8_t modeByte() const { return data.record.get(rec::emergency_mode); }
    uint8_t signalingByte() const { return data.record.get(rec::emergency_signaling); }

    void expectBlankAndDisabled(const char* name)
    {
        EXPECT_FALSE(list(name)->isEnabled()) << name;
        EXPECT_EQ(list(name)->count(), 0) << name;
        EXPECT_EQ(list(name)->currentText(), "") << name;
    }
};

TEST_F(EmergencySettingsWindow, AResetRecordShowsVoicePriorityScanAndSignallingOff)
{
    open();
    EXPECT_EQ(editor->windowTitle(), "Emergency Settings");
    EXPECT_EQ(Child<QGroupBox>(*editor, "gbLoneWorker")->title(), "Lone Worker");
    EXPECT_EQ(Child<QLabel>(*editor, "sActiveTime")->text(), "Active Time (min)");
    ExpectShown(*editor,
                {{"cbMode", "Voice"},
                 {"cbChannel", "Priority Scan"},
                 {"cbActiveTime", "Infinity"},
                 {"cbRxTime", "5"},
                 {"cbTxTime", "5"},
                 {"cbSirenTime", "1"},
                 {"cbSignalingType", "OFF"},
                 {"cbReminderTime", "0"},
                 {"cbResponseTime", "0"}});
    EXPECT_FALSE(list("cbDesignatedChannel")->isEnabled());
    EXPECT_EQ(list("cbDesignatedChannel")->count(), 128);
    EXPECT_EQ(list("cbActiveTime")->itemText(16), "60");
    EXPECT_EQ(list("cbTxTime")->count(), 12);
    EXPECT_EQ(list("cbResponseTime")->count(), 121);
    EXPECT_EQ(Entries(list("cbSignalingType")), QStringList({"OFF", "DTMF", "5-Tone"}));
    EXPECT_EQ(Entries(list("cbChannel")),
              QStringList({"Priority Scan", "Home Channel", "Current", "Designated Channel"}));
    expectBlankAndDisabled("cbEncodeSystem");
    expectBlankAndDisabled("cbEncodeSelect");
}

TEST_F(EmergencySettingsWindow, CurrentSetsBitTwoOfTheModeByteAndDesignatedEnablesItsListAtOnce)
{
    data.record.set(rec::emergency_signaling_type, 2);
    data.record.set(rec::emergency_mode, 0xAB);   // five-tone system 11, bit 3, mode Both
    open();
    ChooseAndLeave(*editor, list("cbChannel"), "Current");
    EXPECT_EQ(data.record.get(rec::emergency_channel_select), 2);
    EXPECT_EQ(modeByte(), 0xAF);
    ChooseAndLeave(*editor, list("cbChannel"), "Home Channel");
    EXPECT_EQ(data.record.get(rec::emergency_channel_select), 1);
    EXPECT_EQ(modeByte(), 0xAB);

    // Choosing the designated channel enables its list at once.
    PickEntry(list("cbChannel"), "Designated Channel");   // the list still has the focus
    EXPECT_TRUE(list("cbDesignatedChannel")->isEnabled());
    EXPECT_EQ(data.record.get(rec::emergency_channel_select), 3);
    ChooseAndLeave(*editor, list("cbDesignatedChannel"), "128");
    EXPECT_EQ(data.record.get(rec::emergency_designated_channel), 127);
    PickEntry(list("cbChannel"), "Priority Scan");
    EXPECT_FALSE(list("cbDesignatedChannel")->isEnabled());
    EXPECT_EQ(data.record.get(rec::emergency_channel_select), 0);
}

TEST_F(EmergencySettingsWindow, SwitchingTheSignallingTypeRefillsTheEncodeListsFromTheirFirstEntries)
{
    data.record.set(rec::emergency_mode, 0x0E);   // mode Alarm, bits 2 and 3 set
    open();
    PickEntry(list("cbSignalingType"), "5-Tone");
    EXPECT_TRUE(list("cbEncodeSystem")->isEnabled());
    EXPECT_TRUE(list("cbEncodeSelect")->isEnabled());
    EXPECT_EQ(list("cbEncodeSystem")->count(), 16);
    EXPECT_EQ(list("cbEncodeSelect")->count(), 32);
    ExpectShown(*editor, {{"cbEncodeSystem", "1"}, {"cbEncodeSelect", "1"}});
    EXPECT_EQ(data.record.get(rec::emergency_signaling_type), 2u);

    ChooseAndLeave(*editor, list("cbEncodeSystem"), "16");
    ChooseAndLeave(*editor, list("cbEncodeSelect"), "32");
    EXPECT_EQ(modeByte(), 0xFE);   // system 16 in bits 4-7, the low bits kept
    EXPECT_EQ(signalingByte(), 0x5F);   // type 2 in bits 5-6, code 32 in bits 0-4

    PickEntry(list("cbSignalingType"), "DTMF");
    EXPECT_EQ(list("cbEncodeSystem")->count(), 8);
    EXPECT_EQ(list("cbEncodeSelect")->count(), 10);
    ExpectShown(*editor, {{"cbEncodeSystem", "1"}, {"cbEncodeSelect", "1"}});
    EXPECT_EQ(modeByte(), 0x0E);
    EXPECT_EQ(signalingByte(), 0x20);
    LeaveControl(*editor);
    EXPECT_EQ(signalingByte(), 0x20);

    ChooseAndLeave(*editor, list("cbSignalingType"), "OFF");
    expectBlankAndDisabled("cbEncodeSystem");
    expectBlankAndDisabled("cbEncodeSelect");
    EXPECT_EQ(signalingByte(), 0x00);
    EXPECT_EQ(modeByte(), 0x0E);
}

TEST_F(EmergencySettingsWindow, OpeningWithSignallingOffClearsNonZeroEncodeBits)
{
    data.record.set(rec::emergency_signaling, 0x9F);   // bit 7 set, type OFF, code 32
    data.record.set(rec::emergency_mode, 0x7B);   // system 8, bit 3, mode Both
    open();
    EXPECT_EQ(signalingByte(), 0x80);
    EXPECT_EQ(modeByte(), 0x0B);
    expectBlankAndDisabled("cbEncodeSystem");
}

TEST_F(EmergencySettingsWindow, ALoadedDtmfRecordFillsTheListsAndTheEncodeSystemKeepsTheModeBits)
{
    open();
    data.record.set(rec::emergency_channel_select, 2);
    data.record.set(rec::emergency_mode, 0x0F);   // mode Both, "Current", bit 3
    data.record.set(rec::emergency_signaling_type, 1);
    data.record.set(rec::emergency_encode_system, 3);
    data.record.set(rec::emergency_encode_select, 9);
    editor->RefreshAll();
    ExpectShown(*editor, {{"cbSignalingType", "DTMF"}, {"cbEncodeSystem", "4"}, {"cbEncodeSelect", "10"}});
    EXPECT_TRUE(list("cbEncodeSystem")->isEnabled());
    EXPECT_TRUE(list("cbEncodeSelect")->isEnabled());

    ChooseAndLeave(*editor, list("cbEncodeSystem"), "5");
    EXPECT_EQ(modeByte(), 0x4F);
    ChooseAndLeave(*editor, list("cbMode"), "Alarm");
    EXPECT_EQ(modeByte(), 0x4E);
}

TEST_F(EmergencySettingsWindow, TimeListsStoreTheirPositions)
{
    open();
    ExpectPicksStored(*editor, data.record,
                      {{"cbActiveTime", "60", rec::emergency_active_time, 16},
                       {"cbRxTime", "60", rec::emergency_rx_time, 11},
                       {"cbTxTime", "10", rec::emergency_tx_time, 1},
                       {"cbSirenTime", "10", rec::emergency_siren_time, 9},
                       {"cbReminderTime", "120", rec::emergency_reminder_time, 120},
                       {"cbResponseTime", "45", rec::emergency_response_time, 45}});
}

TEST_F(EmergencySettingsWindow, ForeignValuesShowNoSelectionAndAreKeptWhenTabbedThrough)
{
    data.record.set(rec::emergency_mode, 0x30);   // mode 0, encode system 3
    data.record.set(rec::emergency_channel_select, 9);
    data.record.set(rec::emergency_designated_channel, 200);
    data.record.set(rec::emergency_active_time, 17);
    data.record.set(rec::emergency_siren_time, 10);
    data.record.set(rec::emergency_reminder_time, 121);
    data.record.set(rec::emergency_signaling, 0x65);   // type 3, which no list names; code 6
    open();
    const RadioRecord before = data.record;   // a type other than OFF clears nothing
    for (const char* name : {"cbMode", "cbChannel", "cbDesignatedChannel", "cbActiveTime", "cbSirenTime",
                             "cbReminderTime", "cbSignalingType"}) {
        EXPECT_EQ(list(name)->currentIndex(), -1) << name;
        if (list(name)->isEnabled())
            TabThrough(*editor, list(name));
    }
    EXPECT_FALSE(list("cbDesignatedChannel")->isEnabled());
    expectBlankAndDisabled("cbEncodeSystem");
    expectBlankAndDisabled("cbEncodeSelect");
    EXPECT_EQ(data.record, before);

    // DTMF offers 8 systems and 10 codes: system 12 and code 20 show nothing and stay.
    data.record.set(rec::emergency_signaling, 0x33);   // type DTMF, code 20
    data.record.set(rec::emergency_mode, 0xB1);   // system 12, mode Voice
    editor->RefreshAll();
    ExpectNoEntryAndTabThrough(*editor, {"cbEncodeSystem", "cbEncodeSelect"});
    EXPECT_EQ(signalingByte(), 0x33);
    EXPECT_EQ(modeByte(), 0xB1);
}

}   // namespace
