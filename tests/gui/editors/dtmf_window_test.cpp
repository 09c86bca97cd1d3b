// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/dtmf_window.h"
#include "model/record_layout.h"
#include "signal_window_driver.h"

using namespace k3n;
using namespace k3n::test;
namespace dtmf = rec::dtmf;

namespace {

using DtmfWindow = SignalEditorTest<TDtmfDlg>;

TEST_F(DtmfWindow, CodesArePackedTwoDigitsPerByteAndDecodeTypesStoreTheirPosition)
{
    turnPage(DecodePage);
    retypeCell("sgDecode", 1, 1, "12AB*#");
    EXPECT_EQ(bytes(dtmf::decode(0), 5), (Bytes{0x06, 0x21, 0xBA, 0xFE, 0xFF}));
    EXPECT_EQ(grid("sgDecode")->cellText(1, 1), "12AB*#");

    turnPage(EncodePage);
    retypeCell("sgEncode", 3, 1, "123");
    Bytes expected{0x03, 0x21, 0xF3};
    expected.resize(13, 0xFF);
    EXPECT_EQ(bytes(dtmf::encode(2), 13), expected);
    EXPECT_EQ(grid("sgEncode")->cellText(3, 1), "123");

    // Emptied: count 0, every digit byte FF, an empty cell.
    turnPage(DecodePage);
    retypeCell("sgDecode", 1, 1, "");
    EXPECT_EQ(bytes(dtmf::decode(0), 5), (Bytes{0x00, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(grid("sgDecode")->cellText(1, 1), "");
    // The decode entry's type and spare bytes are not touched by the code.
    EXPECT_EQ(bytes(dtmf::decode(0) + 5, 2), (Bytes{0, 0}));

    // The decode type stores its entry's position.
    QComboBox* type = OpenList(grid("sgDecode"), 4, 2);
    EXPECT_EQ(Entries(type), (QStringList{"General", "Emergency On", "Stun", "UnStun", "Kill"}));
    choose(type, "Kill");
    EXPECT_EQ(data.record.get(dtmf::decode_type(3)), 4);
    EXPECT_EQ(grid("sgDecode")->cellText(4, 2), "Kill");
}

TEST_F(DtmfWindow, CodeEditsKeepOnlyDigitCharactersUpToTheirCapacity)
{
    turnPage(DecodePage);
    QLineEdit* edit = OpenEdit(grid("sgDecode"), 2, 1);
    QTest::keyClicks(edit, "123456789");
    EXPECT_EQ(edit->text(), "12345678");
    LeaveControl(w);
    EXPECT_EQ(bytes(dtmf::decode(1), 5), (Bytes{0x08, 0x21, 0x43, 0x65, 0x87}));

    edit = OpenEdit(grid("sgDecode"), 3, 1);
    Paste(edit, "12x");
    EXPECT_EQ(edit->text(), "12");
    Paste(edit, "1x2");
    EXPECT_EQ(edit->text(), "12");   // no foreign character is left inside to be stored as "#"
    Retype(edit, "1xd2");   // typed letters outside the set are dropped as well
    EXPECT_EQ(edit->text(), "12");
    LeaveControl(w);
    EXPECT_EQ(bytes(dtmf::decode(2), 3), (Bytes{0x02, 0x21, 0xFF}));

    turnPage(EncodePage);
    edit = OpenEdit(grid("sgEncode"), 1, 1);
    QTest::keyClicks(edit, QString(25, '7'));
    EXPECT_EQ(edit->text(), QString(24, '7'));
    LeaveControl(w);
    EXPECT_EQ(data.record.get(U8Field{dtmf::encode(0)}), 24);
    EXPECT_EQ(grid("sgEncode")->cellText(1, 1), QString(24, '7'));
}

TEST_F(DtmfWindow, CodeListsOfferOnlyCodesInUseAndReferencesToEmptiedCodesTurnOff)
{
    turnPage(EncodePage);
    retypeCell("sgEncode", 2, 1, "22");
    retypeCell("sgEncode", 5, 1, "55");
    turnPage(OptionPage);
    QComboBox* call1 = list("cbCall_1");
    EXPECT_EQ(Entries(call1), (QStringList{"Off", "Enc- 2", "Enc- 5"}));
    choose(call1, "Enc- 5");
    EXPECT_EQ(data.record.get(dtmf::call_1), 4);

    turnPage(SystemPage);
    QComboBox* call = OpenList(grid("sgSystem"), 3, 1);
    EXPECT_EQ(Entries(call), (QStringList{"Off", "Enc- 2", "Enc- 5"}));
    choose(call, "Enc- 2");
    EXPECT_EQ(data.record.get(dtmf::call_code(3)), 1);
    EXPECT_EQ(grid("sgSystem")->cellText(3, 1), "Enc- 2");
    QComboBox* id = OpenList(grid("sgSystem"), 3, 2);
    EXPECT_EQ(id->currentText(), "Off");
    choose(id, "Enc- 5");
    EXPECT_EQ(data.record.get(dtmf::id_code(3)), 4);

    // Code 5 emptied: the next page change turns every reference to it Off.
    turnPage(EncodePage);
    retypeCell("sgEncode", 5, 1, "");
    turnPage(OptionPage);
    EXPECT_EQ(call1->currentText(), "Off");
    EXPECT_EQ(Entries(call1), (QStringList{"Off", "Enc- 2"}));
    EXPECT_EQ(data.record.get(dtmf::call_1), 255);
    EXPECT_EQ(data.record.get(dtmf::id_code(3)), 255);
    EXPECT_EQ(data.record.get(dtmf::call_code(3)), 1);
    EXPECT_EQ(grid("sgSystem")->cellText(3, 2), "Off");
}

TEST_F(DtmfWindow, LeadTimesAreClampedWhenLeft)
{
    auto* leadIn = Child<QLineEdit>(w, "eLeadIn");
    auto* leadOut = Child<QLineEdit>(w, "eLeadOut");
    EXPECT_EQ(leadIn->text(), "100");
    const struct {
        const char* typed;
        uint16_t stored;
    } cases[] = {{"50", 100}, {"9999", 3000}, {"", 100}, {"2500", 2500}, {"12345", 1234}};
    for (const auto& c : cases) {
        Retype(leadIn, c.typed);
        EXPECT_LE(leadIn->text().size(), 4);
        LeaveControl(w);
        EXPECT_EQ(data.record.get(dtmf::lead_in), c.stored) << c.typed;
        EXPECT_EQ(leadIn->text(), QString::number(c.stored));
    }
    Paste(leadOut, "1x2");
    EXPECT_EQ(leadOut->text(), "12");
    LeaveControl(w);
    EXPECT_EQ(data.record.get(dtmf::lead_out), 100);
}

TEST_F(DtmfWindow, OptionListsStoreTheirCodings)
{
    expectPicksStored({
        {"cbGapTone", "A", dtmf::gap_tone, 11},
        {"cbGapTone", "#", dtmf::gap_tone, 16},
        {"cbGapTone", "OFF", dtmf::gap_tone, 0},
        {"cbGroupTone", "D", dtmf::group_tone, 13},
        {"cbGroupTone", "A", dtmf::group_tone, 10},
        {"cbPauseTone", "*", dtmf::pause_tone, 14},
        {"cbPauseTone", "#", dtmf::pause_tone, 15},
        {"cbToneSpeed", "200", dtmf::tone_speed, 3},
        {"cbPauseTime", "0.5", dtmf::pause_time, 0},
        {"cbPauseTime", "4", dtmf::pause_time, 4},
        {"cbAutoReset", "75", dtmf::auto_reset, 75},
        {"cbANILock", "120", dtmf::ani_lock, 120},
        {"cbANILock", "OFF", dtmf::ani_lock, 0},
    });
    // Check boxes touch only their own bit.
    data.record.set(dtmf::flags, 0xF0);
    w.RefreshAll();
    ClickBox(Child<QCheckBox>(w, "cPauseTone"));
    EXPECT_EQ(data.record.get(dtmf::flags), 0xF2);
    ClickBox(Child<QCheckBox>(w, "cPttCall"));
    EXPECT_EQ(data.record.get(dtmf::flags), 0xF3);
}

TEST_F(DtmfWindow, SystemCellsToggleAndCycleTheirBits)
{
    turnPage(SystemPage);
    CellGrid* systems = grid("sgSystem");
    data.record.set(dtmf::options(2), 0x09);   // bits 0 and 3 are not the editor's
    w.RefreshAll();

    // Sequence: Single and CALL-ID alternate; a stored ID-CALL goes back to Single.
    EXPECT_EQ(systems->cellText(2, 3), "Single");
    DoubleClickCell(systems, 2, 3);
    EXPECT_EQ(systems->cellText(2, 3), "CALL-ID");
    EXPECT_EQ(data.record.get(dtmf::sequence(2)), 2u);
    DoubleClickCell(systems, 2, 3);
    EXPECT_EQ(systems->cellText(2, 3), "Single");
    data.record.set(dtmf::sequence(2), 1);
    w.RefreshAll();
    EXPECT_EQ(systems->cellText(2, 3), "ID-CALL");
    DoubleClickCell(systems, 2, 3);
    EXPECT_EQ(systems->cellText(2, 3), "Single");

    const QStringList ani{"Press", "Release", "Both", ""};
    for (int step = 0; step < 4; ++step) {
        DoubleClickCell(systems, 2, 4);
        EXPECT_EQ(systems->cellText(2, 4), ani[step]);
        EXPECT_EQ(data.record.get(dtmf::ani_mode(2)), unsigned(step + 1) % 4);
    }

    DoubleClickCell(systems, 2, 5);   // PTT SW
    EXPECT_EQ(systems->cellText(2, 5), "Y");
    DoubleClickCell(systems, 2, 6);   // Auto Reset
    EXPECT_EQ(systems->cellText(2, 6), "On");
    DoubleClickCell(systems, 2, 7);   // Duty
    DoubleClickCell(systems, 2, 8);   // Subaudio
    EXPECT_EQ(data.record.get(dtmf::options(2)), 0x80 | 0x04 | 0x02 | 0x10 | 0x09);
    DoubleClickCell(systems, 2, 7);
    EXPECT_EQ(systems->cellText(2, 7), "Off");
    EXPECT_EQ(data.record.get(dtmf::options(2)), 0x80 | 0x04 | 0x10 | 0x09);

    // Decode entry 3 is column 11: bit 2 of system 2's mask, nothing else.
    const auto before = data.record;
    DoubleClickCell(systems, 2, 11);
    EXPECT_EQ(data.record.get(dtmf::decode_mask(2)), 0x04);
    EXPECT_EQ(systems->cellText(2, 11), "Y");
    DoubleClickCell(systems, 2, 16);
    EXPECT_EQ(data.record.get(dtmf::decode_mask(2)), 0x84);
    data.record.set(dtmf::decode_mask(2), 0);
    EXPECT_EQ(data.record, before);
}

TEST_F(DtmfWindow, ForeignValuesShowNoEntryAndStayUntilTheUserPicksButCodeReferencesPastTheTableTurnOff)
{
    data.record.set(dtmf::tone_speed, 7);
    data.record.set(dtmf::gap_tone, 10);
    data.record.set(dtmf::call_2, 40);
    data.record.set(dtmf::call_code(1), 12);
    data.record.set(dtmf::sequence(1), 3);
    data.record.set(dtmf::decode_type(0), 9);
    data.record.set(dtmf::lead_in, 5000);
    data.record.set(U8Field{dtmf::encode(0)}, 200);   // count beyond the field
    w.RefreshAll();
    // A code reference past the table would reach the radio as a code it does
    // not hold: building its list turns it into Off.
    EXPECT_EQ(data.record.get(dtmf::call_2), 255);
    EXPECT_EQ(Child<QComboBox>(w, "cbCall_2")->currentText(), "Off");
    auto before = data.record;
    before.set(dtmf::call_code(1), 255);   // the system row's call code too, once its row is shown

    ExpectNoEntryAndTabThrough(w, {"cbToneSpeed", "cbGapTone"});
    TabThrough(w, Child<QLineEdit>(w, "eLeadIn"));

    turnPage(SystemPage);
    EXPECT_EQ(grid("sgSystem")->cellText(1, 1), "Off");
    EXPECT_EQ(grid("sgSystem")->cellText(1, 3), "?");
    EXPECT_EQ(OpenList(grid("sgSystem"), 1, 1)->currentText(), "Off");
    LeaveControl(w);
    turnPage(DecodePage);
    EXPECT_EQ(grid("sgDecode")->cellText(1, 2), "?");
    EXPECT_EQ(OpenList(grid("sgDecode"), 1, 2)->currentIndex(), -1);
    LeaveControl(w);
    turnPage(EncodePage);
    EXPECT_EQ(grid("sgEncode")->cellText(1, 1).size(), 24);
    OpenEdit(grid("sgEncode"), 1, 1);
    LeaveControl(w);
    EXPECT_EQ(data.record, before);

    // A foreign sequence is still stepped by a double-click.
    turnPage(SystemPage);
    DoubleClickCell(grid("sgSystem"), 1, 3);
    EXPECT_EQ(data.record.get(dtmf::sequence(1)), 0u);
}

TEST_F(DtmfWindow, PendingCellEditsAreCommittedByTheMainWindowAndByAPageChange)
{
    turnPage(EncodePage);
    QLineEdit* edit = OpenEdit(grid("sgEncode"), 4, 1);
    QTest::keyClicks(edit, "4");
    w.CommitPendingEdits();
    EXPECT_EQ(data.record.get(U8Field{dtmf::encode(3)}), 1);
    EXPECT_FALSE(edit->isVisible());

    turnPage(DecodePage);
    edit = OpenEdit(grid("sgDecode"), 5, 1);
    QTest::keyClicks(edit, "99");
    turnPage(SystemPage);
    EXPECT_EQ(bytes(dtmf::decode(4), 2), (Bytes{0x02, 0x99}));

    // Enter commits too.
    turnPage(EncodePage);
    edit = OpenEdit(grid("sgEncode"), 6, 1);
    QTest::keyClicks(edit, "6");
    QTest::keyClick(edit, Qt::Key_Return);
    Settle();
    EXPECT_EQ(data.record.get(U8Field{dtmf::encode(5)}), 1);
    EXPECT_FALSE(edit->isVisible());
    EXPECT_TRUE(grid("sgEncode")->hasFocus());
}

}   // namespace
