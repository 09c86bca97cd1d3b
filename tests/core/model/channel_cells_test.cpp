// SPDX-License-Identifier: GPL-3.0-or-later
// The channel grid's texts both ways, in every language, and the fill
// commands built on them.
#include "model/channel_fill.h"
#include "model/channel_moves.h"
#include "model/record_layout.h"
#include "model/value_codings.h"
#include "text/app_lang.h"
#include <gtest/gtest.h>

using namespace k3n;
namespace col = channel_col;

namespace {

RadioData Band(int band)
{
    RadioData data;
    data.ResetForBand(band);
    return data;
}

// A channel with a value other than the default in every column.
void PutBusyChannel(RadioRecord& r, int n)
{
    using namespace rec::ch;
    StartChannel(r, n, 145012500);
    r.set(tx_freq(n), 144600000);
    r.set(rx_subaudio(n), 130);   // a DCS code, inverted
    r.set(rx_dcs_inverted(n), 1);
    r.set(tx_subaudio(n), 10);   // 88.5
    r.set(tx_power(n), 1);
    r.set(bandwidth(n), 1);
    r.set(squelch(n), 7);
    r.set(scramble_no(n), 12);
    r.set(scan_add(n), 1);
    r.set(busy_lockout(n), 2);
    r.set(xtal_shift(n), 1);
    r.set(signaling_system(n), 2);
    r.set(signaling_no(n), 13);
}

TEST(ChannelCellsTest, EveryCellsTextStoredIntoAnotherChannelGivesBackItsBytesInEveryLanguage)
{
    for (const uint16_t id : {kLangIdEnglishUs, kLangIdChinesePrc, kLangIdChineseTaiwan}) {
        const TAppLang lang(id);
        RadioData data = Band(0);
        PutBusyChannel(data.record, 3);
        for (int c = 1; c <= col::kCount; ++c) {
            const QString text = ChannelCellText(data.record, 3, c, lang);
            EXPECT_EQ(StoreChannelCell(data, 40, c, text, lang), CellStore::Stored) << c << text.toStdString();
        }
        EXPECT_EQ(ReadChannelEntry(data.record, 40), ReadChannelEntry(data.record, 3)) << id;
    }
}

TEST(ChannelCellsTest, TextsAreReadInTheLanguageOrInEnglishAndFollowTheEditingRules)
{
    const TAppLang chinese(kLangIdChinesePrc);
    RadioData data = Band(0);
    RadioRecord& r = data.record;
    // An empty channel takes only an RX frequency, which starts it with the defaults.
    EXPECT_EQ(StoreChannelCell(data, 5, col::Power, "High", chinese), CellStore::ChannelEmpty);
    EXPECT_EQ(StoreChannelCell(data, 5, col::Rx, "146.013", chinese), CellStore::Stored);
    EXPECT_EQ(r.get(rec::ch::rx_freq(5)), 146012500u);
    EXPECT_EQ(r.get(rec::ch::tx_freq(5)), 146012500u);
    EXPECT_EQ(r.get(rec::ch::squelch(5)), 5);

    EXPECT_EQ(StoreChannelCell(data, 5, col::Power, " high ", chinese), CellStore::Stored);
    EXPECT_EQ(r.get(rec::ch::tx_power(5)), 1u);
    EXPECT_EQ(StoreChannelCell(data, 5, col::Scramble, "ON", chinese), CellStore::Stored);
    EXPECT_EQ(r.get(rec::ch::scramble_no(5)), 1);

    const RadioRecord before = r;
    EXPECT_EQ(StoreChannelCell(data, 5, col::Rx, "abc", chinese), CellStore::Unreadable);
    EXPECT_EQ(StoreChannelCell(data, 5, col::Tx, "470", chinese), CellStore::OutsideBand);
    EXPECT_EQ(StoreChannelCell(data, 5, col::RxTone, "88.6", chinese), CellStore::Unreadable);
    EXPECT_EQ(StoreChannelCell(data, 5, col::Sql, "10", chinese), CellStore::Unreadable);
    EXPECT_EQ(StoreChannelCell(data, 5, col::SignalNo, "3", chinese), CellStore::NotOpen);
    EXPECT_EQ(r, before);

    // An empty TX stores 0; an empty RX deletes the channel.
    EXPECT_EQ(StoreChannelCell(data, 5, col::Tx, "", chinese), CellStore::Stored);
    EXPECT_EQ(r.get(rec::ch::tx_freq(5)), 0u);
    EXPECT_EQ(StoreChannelCell(data, 5, col::Rx, "", chinese), CellStore::Stored);
    EXPECT_EQ(ReadChannelEntry(r, 5), ChannelEntry{});
}

TEST(ChannelFillTest, FillDownCopiesTheFirstValueAndListsCellsOfEmptyChannels)
{
    const TAppLang english(kLangIdEnglishUs);
    RadioData data = Band(0);
    PutBusyChannel(data.record, 1);
    StartChannel(data.record, 2, 150000000);
    StartChannel(data.record, 4, 150000000);
    const CellProblems problems = FillDown(data, col::Sql, {1, 2, 3, 4}, english);
    EXPECT_EQ(data.record.get(rec::ch::squelch(2)), 7);
    EXPECT_EQ(data.record.get(rec::ch::squelch(4)), 7);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].channel, 3);
    EXPECT_EQ(problems[0].why, CellStore::ChannelEmpty);
    EXPECT_TRUE(problems[0].describe(english).contains("SQL"));
    EXPECT_EQ(ReadChannelEntry(data.record, 3), ChannelEntry{});
}

TEST(ChannelFillTest, ASeriesSteps12p5KilohertzSnapsAndIsRefusedWhenItLeavesTheBand)
{
    EXPECT_EQ(ReadStepKhz("12.5"), 12500);
    EXPECT_EQ(ReadStepKhz(" -6.25 "), -6250);
    EXPECT_EQ(ReadStepKhz("0"), std::nullopt);
    EXPECT_EQ(ReadStepKhz("12.5k"), std::nullopt);

    RadioData data = Band(0);   // 136 - 174 MHz
    StartChannel(data.record, 17, 145000000);
    StartChannel(data.record, 19, 150000000);
    SeriesFill fill = FillSeries(data, col::Rx, 17, 22, 12500);
    EXPECT_EQ(fill.outcome, SeriesFill::Outcome::Filled);
    for (int n = 17; n <= 22; ++n)
        EXPECT_EQ(data.record.get(rec::ch::rx_freq(n)), 145000000u + uint32_t(n - 17) * 12500u) << n;
    EXPECT_EQ(data.record.get(rec::ch::tx_freq(20)), 145037500u);   // a new channel: TX = RX
    EXPECT_EQ(data.record.get(rec::ch::tx_freq(19)), 150000000u);   // an RX series leaves TX alone

    // 1 kHz steps land on the raster.
    FillSeries(data, col::Rx, 17, 18, 1000);
    EXPECT_EQ(data.record.get(rec::ch::rx_freq(18)), data.SnapFrequency(145001000));

    StartChannel(data.record, 1, 173975000);
    const RadioRecord before = data.record;
    fill = FillSeries(data, col::Rx, 1, 16, 12500);
    EXPECT_EQ(fill.outcome, SeriesFill::Outcome::LeavesBand);
    EXPECT_EQ(fill.leavingChannel, 4);   // 174.0125 MHz
    EXPECT_EQ(data.record, before);

    fill = FillSeries(data, col::Tx, 1, 3, -25000);
    EXPECT_EQ(fill.outcome, SeriesFill::Outcome::Filled);
    ASSERT_EQ(fill.skipped.size(), 2u);   // channels 2 and 3 are empty
    EXPECT_EQ(FillSeries(data, col::Tx, 5, 6, 12500).outcome, SeriesFill::Outcome::FirstCellEmpty);
}

}   // namespace
