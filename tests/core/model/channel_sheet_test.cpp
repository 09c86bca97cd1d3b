// SPDX-License-Identifier: GPL-3.0-or-later
// The channel grid's texts as spreadsheet lines: copied rows pasted back give
// the same bytes, a header line may reorder the columns, and whatever cannot
// be stored is listed and left as it was.
#include "model/channel_moves.h"
#include "model/channel_sheet.h"
#include "model/record_layout.h"
#include "text/app_lang.h"
#include <gtest/gtest.h>

using namespace k3n;

namespace {

RadioData Band0()
{
    RadioData data;
    data.ResetForBand(0);
    return data;
}

TEST(ChannelSheetTest, CopiedRowsPastedElsewhereGiveTheSameBytes)
{
    const TAppLang lang(kLangIdChineseTaiwan);
    RadioData data = Band0();
    StartChannel(data.record, 1, 145000000);
    StartChannel(data.record, 3, 146000000);
    data.record.set(rec::ch::rx_subaudio(3), 200);
    data.record.set(rec::ch::busy_lockout(3), 1);
    data.record.set(rec::ch::signaling_system(3), 1);
    data.record.set(rec::ch::signaling_no(3), 7);
    StartChannel(data.record, 34, 150000000);   // pasting the empty channel 2 clears it

    const QString sheet = ChannelSheetText(data.record, {1, 2, 3}, lang);
    EXPECT_EQ(sheet.count('\n'), 4);
    EXPECT_EQ(sheet.section('\n', 0, 0).count('\t'), 13);

    const SheetPaste paste = PasteChannelSheet(data, sheet, 33, 1, lang);
    EXPECT_TRUE(paste.complete()) << paste.describe(lang).join('\n').toStdString();
    EXPECT_EQ(paste.rowsPasted, 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ReadChannelEntry(data.record, 33 + i), ReadChannelEntry(data.record, 1 + i)) << i;
}

TEST(ChannelSheetTest, BadCellsAndRowsPastTheLastChannelAreListedAndLeftUnchanged)
{
    const TAppLang english(kLangIdEnglishUs);
    RadioData data = Band0();
    StartChannel(data.record, 128, 140000000);
    // English headers in another order, a column the grid lacks, two bad cells.
    const QString text = "SQL\tRX Freq.\tTX Power\n"
                         "3\t145.5\tHigh\n"
                         "11\t146\tLoud\n"
                         "2\t147\tLow\n";
    SheetPaste paste = PasteChannelSheet(data, text, 127, 1, english);
    EXPECT_EQ(paste.rowsPasted, 2);
    EXPECT_EQ(paste.rowsBeyondLastChannel, std::vector<int>{4});
    ASSERT_EQ(paste.problems.size(), 2u);
    EXPECT_EQ(paste.problems[0].channel, 128);
    EXPECT_EQ(paste.problems[0].col, channel_col::Power);   // in column order
    EXPECT_EQ(paste.problems[0].text, "Loud");
    EXPECT_EQ(paste.problems[1].col, channel_col::Sql);
    EXPECT_EQ(data.record.get(rec::ch::squelch(127)), 3);
    EXPECT_EQ(data.record.get(rec::ch::tx_power(127)), 1u);
    EXPECT_EQ(data.record.get(rec::ch::rx_freq(128)), 146000000u);
    EXPECT_EQ(data.record.get(rec::ch::squelch(128)), 5);   // kept
    EXPECT_EQ(data.record.get(rec::ch::tx_power(128)), 0u);
    EXPECT_EQ(paste.describe(english).size(), 3);

    // Without a header the cells start at the given column; past the last column they are counted.
    paste = PasteChannelSheet(data, "ADD\t----\tON\tDTMF\t2\textra\n", 127, channel_col::Scan, english);
    EXPECT_EQ(paste.cellsBeyondLastColumn, 1);
    EXPECT_TRUE(paste.problems.empty());
    EXPECT_EQ(data.record.get(rec::ch::signaling_no(127)), 1u);
    EXPECT_EQ(data.record.get(rec::ch::xtal_shift(127)), 1u);
}

}   // namespace
