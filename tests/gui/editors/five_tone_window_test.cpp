// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/five_tone_window.h"
#include "model/record_layout.h"
#include "signal_window_driver.h"

using namespace k3n;
using namespace k3n::test;
namespace five = rec::five_tone;

namespace {

using FiveToneWindow = SignalEditorTest<TFiveToneDlg>;

TEST_F(FiveToneWindow, LastGapToneCodesAndTheGapTimeItSwitches)
{
    QComboBox* gapTime = list("cbLast_gap_time");
    const struct {
        const char* entry;
        uint8_t stored;
        bool timeEnabled;
    } cases[] = {{"Mute", 128, true}, {"OFF", 255, false}, {"0", 0, true}, {"E", 14, true}, {"A", 10, true}};
    for (const auto& c : cases) {
        StepTo(list("cbLast_gap_tone"), c.entry);
        EXPECT_EQ(gapTime->isEnabled(), c.timeEnabled) << c.entry;
        LeaveControl(w);
        EXPECT_EQ(data.record.get(five::last_gap_tone), c.stored) << c.entry;
    }
    data.record.set(five::last_gap_tone, 255);
    w.RefreshAll();
    EXPECT_EQ(list("cbLast_gap_tone")->currentText(), "OFF");
    EXPECT_FALSE(gapTime->isEnabled());
}

TEST_F(FiveToneWindow, ToneExtensionsStoreTheirTimeWhileSwitchedOn)
{
    auto* first = Child<QCheckBox>(w, "cExtended_1st");
    QComboBox* firstTime = list("cbExtended_1st_time");
    EXPECT_FALSE(first->isChecked());
    EXPECT_FALSE(firstTime->isEnabled());

    ClickBox(first);
    EXPECT_EQ(data.record.get(five::extended_1st), 1);
    choose(firstTime, "300");
    EXPECT_EQ(data.record.get(five::extended_1st), 3);
    ClickBox(first);
    EXPECT_EQ(data.record.get(five::extended_1st), 0);
    EXPECT_FALSE(firstTime->isEnabled());
    ClickBox(first);   // back on with the time still shown
    EXPECT_EQ(data.record.get(five::extended_1st), 3);
    EXPECT_EQ(data.record.get(five::extended_2nd), 0);

    data.record.set(five::extended_2nd, 25);
    w.RefreshAll();
    EXPECT_TRUE(Child<QCheckBox>(w, "cExtended_2nd")->isChecked());
    EXPECT_EQ(list("cbExtended_2nd_time")->currentText(), "2500");

    // A foreign time shows no entry and is kept until the user acts.
    data.record.set(five::extended_2nd, 40);
    w.RefreshAll();
    ExpectNoEntryAndTabThrough(w, {"cbExtended_2nd_time"});
    EXPECT_EQ(data.record.get(five::extended_2nd), 40);
}

TEST_F(FiveToneWindow, OptionListsStoreTheirPositions)
{
    expectPicksStored({
        {"cbClear_trans_delay_time", "Diable", five::clear_trans_delay_time, 0},
        {"cbClear_trans_delay_time", "1500", five::clear_trans_delay_time, 15},
        {"cbClear_trans_delay_time", "Nolimit", five::clear_trans_delay_time, 16},
        {"cbAck_decode_time", "1", five::ack_decode_time, 0},
        {"cbId_decode_time", "300", five::id_decode_time, 4},
        {"cbAuto_tx_time", "180", five::auto_tx_time, 17},
        {"cbLast_2nd_gap_time", "30", five::last_2nd_gap_time, 2},
        {"cbAck_retry", "15", five::ack_retry, 15},
        {"cbRepeat_tone", "E", five::repeat_tone, 14},
        {"cbGroupTone", "9", five::group_tone, 9},
        {"cbAutoReset", "OFF", five::auto_reset, 0},
    });
    // The transpond delay is stored at the pick, before the list is left.
    StepTo(list("cbTrans_delay_time"), "1500");
    EXPECT_EQ(data.record.get(five::trans_delay_time), 14);
    LeaveControl(w);

    ClickBox(Child<QCheckBox>(w, "cPttCall"));
    EXPECT_EQ(data.record.get(five::flags), 0x01);
}

TEST_F(FiveToneWindow, SystemCellsCycleToggleAndPickTheirValues)
{
    turnPage(SystemPage);
    CellGrid* systems = grid("sgSystem");
    for (const char* expected : {"ID-CALL", "CALL-ID", "Single"}) {
        DoubleClickCell(systems, 16, 5);
        EXPECT_EQ(systems->cellText(16, 5), expected);
    }
    EXPECT_EQ(data.record.get(five::sequence(16)), 0u);
    data.record.set(five::sequence(16), 3);
    w.RefreshAll();
    DoubleClickCell(systems, 16, 5);
    EXPECT_EQ(systems->cellText(16, 5), "Single");

    // Decode entry 16 is column 26: bit 15 of the 16-bit mask.
    DoubleClickCell(systems, 4, 26);
    EXPECT_EQ(data.record.get(five::decode_mask(4)), 0x8000);
    EXPECT_EQ(systems->cellText(4, 26), "Y");
    DoubleClickCell(systems, 4, 11);
    EXPECT_EQ(data.record.get(five::decode_mask(4)), 0x8001);
    DoubleClickCell(systems, 4, 26);
    EXPECT_EQ(data.record.get(five::decode_mask(4)), 0x0001);

    DoubleClickCell(systems, 4, 7);   // PTT SW is bit 7
    EXPECT_EQ(data.record.get(five::options(4)), 0x80);
    EXPECT_EQ(systems->cellText(4, 7), "Y");

    QComboBox* type = OpenList(systems, 4, 1);
    EXPECT_EQ(Entries(type), (QStringList{"CCIR1", "CCOR2", "EIA", "EEA", "ZVEI1", "ZVEI2"}));
    EXPECT_EQ(type->currentText(), "CCIR1");
    choose(type, "ZVEI2");
    EXPECT_EQ(data.record.get(five::standard(4)), 5);
    EXPECT_EQ(systems->cellText(4, 1), "ZVEI2");
}

TEST_F(FiveToneWindow, EncodeCodesHoldEightDigitsAndReferencesOfferOnlyCodesInUse)
{
    turnPage(EncodePage);
    QLineEdit* edit = OpenEdit(grid("sgEncode"), 1, 1);
    QTest::keyClicks(edit, "123456789");
    EXPECT_EQ(edit->text(), "12345678");
    LeaveControl(w);
    EXPECT_EQ(bytes(five::encode(0), 5), (Bytes{0x08, 0x21, 0x43, 0x65, 0x87}));
    EXPECT_EQ(bytes(five::encode(1), 5), (Bytes{0, 0, 0, 0, 0}));   // the neighbour is untouched
    QTest::keyClicks(OpenEdit(grid("sgEncode"), 32, 1), "7");
    LeaveControl(w);

    turnPage(SystemPage);
    QComboBox* rep = OpenList(grid("sgSystem"), 2, 2);
    EXPECT_EQ(Entries(rep), (QStringList{"Off", "Enc- 1", "Enc- 32"}));
    choose(rep, "Enc- 32");
    EXPECT_EQ(data.record.get(five::repeat_code(2)), 31);
    EXPECT_EQ(data.record.get(five::call_code(2)), 255);

    turnPage(OptionPage);
    choose(list("cbCall_2"), "Enc- 32");
    EXPECT_EQ(data.record.get(five::call_2), 31);

    turnPage(DecodePage);
    chooseInCell("sgDecode", 16, 3, "Enc- 32");
    EXPECT_EQ(data.record.get(five::decode_transpond(15)), 31);
    EXPECT_EQ(grid("sgDecode")->cellText(16, 3), "Enc- 32");
    chooseInCell("sgDecode", 16, 2, "UnStun");
    EXPECT_EQ(data.record.get(five::decode_type(15)), 3);

    // The code emptied: its transpond reference shows Off and becomes 255 when the row is redrawn.
    turnPage(EncodePage);
    retypeCell("sgEncode", 32, 1, "");
    turnPage(DecodePage);
    EXPECT_EQ(grid("sgDecode")->cellText(16, 3), "Off");
    EXPECT_EQ(data.record.get(five::decode_transpond(15)), 255);
    EXPECT_EQ(data.record.get(five::repeat_code(2)), 255);
    EXPECT_EQ(data.record.get(five::call_2), 255);
}

TEST_F(FiveToneWindow, ForeignValuesAreShownMarkedAndKeptButTranspondsPastTheTableTurnOff)
{
    data.record.set(five::standard(1), 9);
    data.record.set(five::decode_transpond(0), 32);   // one past the table
    data.record.set(five::group_tone, 15);
    data.record.set(five::last_gap_tone, 20);
    w.RefreshAll();
    const auto before = data.record;
    ExpectNoEntryAndTabThrough(w, {"cbGroupTone", "cbLast_gap_tone"});
    turnPage(SystemPage);
    EXPECT_EQ(grid("sgSystem")->cellText(1, 1), "?");
    OpenList(grid("sgSystem"), 1, 1);
    LeaveControl(w);
    EXPECT_EQ(data.record, before);

    // A transpond reference past the table turns Off as soon as its row is shown.
    turnPage(DecodePage);
    EXPECT_EQ(grid("sgDecode")->cellText(1, 3), "Off");
    EXPECT_EQ(data.record.get(five::decode_transpond(0)), 255);
    EXPECT_EQ(OpenList(grid("sgDecode"), 1, 3)->currentText(), "Off");
    LeaveControl(w);
    EXPECT_EQ(data.record.get(five::decode_transpond(0)), 255);
}

}   // namespace
