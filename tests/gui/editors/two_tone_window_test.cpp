// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/two_tone_window.h"
#include "model/record_layout.h"
#include "signal_window_driver.h"

using namespace k3n;
using namespace k3n::test;
namespace two = rec::two_tone;

namespace {

class TwoToneWindow : public SignalEditorTest<TTwoToneDlg> {
protected:
    uint8_t code(int k) const { return data.record.get(two::encode(k)); }
    // What the Tone A and Tone B cells of a code row show.
    QStringList shown(const char* gridName, int row)
    {
        return {grid(gridName)->cellText(row, 1), grid(gridName)->cellText(row, 2)};
    }
};

TEST_F(TwoToneWindow, TonePairsKeepToneAInTheLowNibble)
{
    turnPage(EncodePage);
    CellGrid* codes = grid("sgEncode");
    EXPECT_EQ(codes->cellText(5, 1), "---");
    EXPECT_EQ(Entries(OpenList(codes, 5, 1)), (QStringList{"Off", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}));
    LeaveControl(w);
    chooseInCell("sgEncode", 5, 1, "3");
    EXPECT_EQ(code(4), 0xF3);
    EXPECT_EQ(shown("sgEncode", 5), (QStringList{"3", "---"}));
    chooseInCell("sgEncode", 5, 2, "7");
    EXPECT_EQ(code(4), 0x73);
    EXPECT_EQ(shown("sgEncode", 5), (QStringList{"3", "7"}));
    chooseInCell("sgEncode", 5, 2, "Off");
    EXPECT_EQ(code(4), 0xF3);
    chooseInCell("sgEncode", 5, 2, "0");
    chooseInCell("sgEncode", 5, 1, "Off");
    EXPECT_EQ(code(4), 0xFF);
    EXPECT_EQ(shown("sgEncode", 5), (QStringList{"---", "---"}));

    // Without tone A the Tone B cell opens nothing.
    DoubleClickCell(codes, 5, 2);
    EXPECT_EQ(codes->openEditor(), nullptr);
    EXPECT_FALSE(Child<QComboBox>(w, "cbEncodeToneB")->isVisible());
    EXPECT_EQ(code(4), 0xFF);
}

TEST_F(TwoToneWindow, StoredPairsShowAndAPairWithoutToneAIsRewrittenEmpty)
{
    data.record.set(two::decode(0), 0xF3);
    data.record.set(two::decode(1), 0x3F);
    data.record.set(two::decode(2), 0x73);
    data.record.set(two::decode(3), 0xC2);   // tone B 12 is no tone number
    turnPage(DecodePage);
    EXPECT_EQ(shown("sgDecode", 1), (QStringList{"3", "---"}));
    EXPECT_EQ(shown("sgDecode", 2), (QStringList{"---", "---"}));
    EXPECT_EQ(data.record.get(two::decode(1)), 0xFF);
    EXPECT_EQ(shown("sgDecode", 3), (QStringList{"3", "7"}));
    EXPECT_EQ(grid("sgDecode")->cellText(4, 2), "?");
    EXPECT_EQ(data.record.get(two::decode(0)), 0xF3);
    EXPECT_EQ(data.record.get(two::decode(3)), 0xC2);

    chooseInCell("sgDecode", 1, 2, "9");
    EXPECT_EQ(data.record.get(two::decode(0)), 0x93);
}

TEST_F(TwoToneWindow, CodeListsOfferCodesWithToneA)
{
    turnPage(EncodePage);
    chooseInCell("sgEncode", 1, 1, "0");
    chooseInCell("sgEncode", 4, 1, "9");
    turnPage(OptionPage);
    QComboBox* call1 = list("cbCall_1");
    EXPECT_EQ(Entries(call1), (QStringList{"Off", "Enc- 1", "Enc- 4"}));
    choose(call1, "Enc- 4");
    EXPECT_EQ(data.record.get(two::call_1), 3);

    turnPage(SystemPage);
    chooseInCell("sgSystem", 7, 2, "Enc- 1");
    EXPECT_EQ(data.record.get(two::call_code(7)), 0);
    EXPECT_EQ(grid("sgSystem")->cellText(7, 2), "Enc- 1");

    // Tone A of code 4 switched off: Call 1 becomes Off at the next page change.
    turnPage(EncodePage);
    chooseInCell("sgEncode", 4, 1, "Off");
    turnPage(OptionPage);
    EXPECT_EQ(call1->currentText(), "Off");
    EXPECT_EQ(data.record.get(two::call_1), 255);
    EXPECT_EQ(data.record.get(two::call_code(7)), 0);
}

TEST_F(TwoToneWindow, TimesAreTypedInSecondsAndStoredInTenths)
{
    turnPage(SystemPage);
    CellGrid* systems = grid("sgSystem");
    EXPECT_EQ(systems->cellText(1, 3), "0.1");
    const struct {
        const char* typed;
        uint8_t stored;
        const char* shown;
    } cases[] = {{"2.5", 25, "2.5"}, {"0.05", 1, "0.1"}, {"30", 250, "25"}, {"", 1, "0.1"}, {"12.5", 125, "12.5"}};
    for (const auto& c : cases) {
        retypeCell("sgSystem", 1, 3, c.typed);
        EXPECT_EQ(data.record.get(two::tone_a_time(1)), c.stored) << c.typed;
        EXPECT_EQ(systems->cellText(1, 3), c.shown) << c.typed;
    }

    QLineEdit* edit = OpenEdit(systems, 2, 4);
    QTest::keyClicks(edit, "1.2.3");
    EXPECT_EQ(edit->text(), "1.23");
    LeaveControl(w);
    EXPECT_EQ(data.record.get(two::tone_b_time(2)), 12);

    edit = OpenEdit(systems, 3, 5);
    QTest::keyClicks(edit, ".");
    EXPECT_EQ(edit->text(), "");
    QTest::keyClicks(edit, "4x");
    EXPECT_EQ(edit->text(), "4");
    LeaveControl(w);
    EXPECT_EQ(data.record.get(two::group_time(3)), 40);
    EXPECT_EQ(data.record.get(two::tone_a_time(3)), 1);
    EXPECT_EQ(data.record.get(two::tone_b_time(3)), 1);
}

TEST_F(TwoToneWindow, SystemListsAndToggles)
{
    turnPage(SystemPage);
    CellGrid* systems = grid("sgSystem");
    EXPECT_EQ(systems->cellText(9, 6), "1");
    chooseInCell("sgSystem", 9, 6, "120");
    EXPECT_EQ(data.record.get(two::auto_reset_time(9)), 120);
    chooseInCell("sgSystem", 9, 6, "1");
    EXPECT_EQ(data.record.get(two::auto_reset_time(9)), 1);
    chooseInCell("sgSystem", 9, 1, "REACH-E");
    EXPECT_EQ(data.record.get(two::tone_table(9)), 15);
    EXPECT_EQ(systems->cellText(9, 1), "REACH-E");

    // PTT SW is bit 5 here; bit 7 is not the editor's.
    data.record.set(two::options(9), 0x80);
    w.RefreshAll();
    DoubleClickCell(systems, 9, 8);
    EXPECT_EQ(data.record.get(two::options(9)), 0xA0);
    EXPECT_EQ(systems->cellText(9, 8), "Y");
    DoubleClickCell(systems, 9, 7);   // Auto Reset, bit 2
    DoubleClickCell(systems, 9, 9);   // Duty, bit 1
    DoubleClickCell(systems, 9, 10);   // Subaudio, bit 4
    EXPECT_EQ(data.record.get(two::options(9)), 0xA0 | 0x04 | 0x02 | 0x10);
    EXPECT_EQ(systems->cellText(9, 7), "On");

    DoubleClickCell(systems, 9, 26);
    DoubleClickCell(systems, 9, 18);
    EXPECT_EQ(data.record.get(two::decode_mask(9)), 0x8080);
}

TEST_F(TwoToneWindow, ForeignSystemValuesAreMarkedAndKept)
{
    data.record.set(two::auto_reset_time(2), 0);
    data.record.set(two::tone_table(2), 20);
    data.record.set(two::tone_a_time(2), 0);
    w.RefreshAll();
    const auto before = data.record;
    turnPage(SystemPage);
    CellGrid* systems = grid("sgSystem");
    EXPECT_EQ(systems->cellText(2, 6), "?");
    EXPECT_EQ(systems->cellText(2, 1), "?");
    EXPECT_EQ(systems->cellText(2, 3), "0");
    EXPECT_EQ(OpenList(systems, 2, 6)->currentIndex(), -1);
    LeaveControl(w);
    EXPECT_EQ(OpenList(systems, 2, 1)->currentIndex(), -1);
    LeaveControl(w);
    OpenEdit(systems, 2, 3);
    LeaveControl(w);
    EXPECT_EQ(data.record, before);
}

}   // namespace
