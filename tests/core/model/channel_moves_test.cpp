// SPDX-License-Identifier: GPL-3.0-or-later
// Inserting, removing, moving and overwriting channels: every entry lands on
// its new place byte for byte and the settings that point at channels follow
// them, or are reported when they cannot.
#include "model/channel_cells.h"
#include "model/channel_moves.h"
#include "text/app_lang.h"
#include <gtest/gtest.h>

using namespace k3n;

namespace {

// Every channel in use gets bytes of its own: its number in the RX frequency and the squelch.
RadioData Numbered(std::initializer_list<int> channels)
{
    RadioData data;
    data.ResetForBand(0);
    for (int n : channels) {
        StartChannel(data.record, n, 136000000u + uint32_t(n) * 12500u);
        data.record.set(rec::ch::squelch(n), uint8_t(n % 10));
    }
    return data;
}

int PointedChannel(const RadioRecord& r, U8Field field)
{
    return r.get(field) + 1;
}
void PointAt(RadioRecord& r, U8Field field, int channel)
{
    r.set(field, uint8_t(channel - 1));
}

TEST(ChannelMovesTest, InsertShiftsTheFollowingChannelsDownAndReferencesFollowOrAreReported)
{
    RadioData data = Numbered({5, 10, 20, 32, 127, 128});
    RadioRecord& r = data.record;
    const RadioRecord before = r;
    PointAt(r, rec::home_channel, 20);
    PointAt(r, rec::priority_channel, 32);   // moves to 33, which the scan lists do not offer
    PointAt(r, rec::dual_watch_channel, 5);   // before the insertion: stays
    PointAt(r, rec::scan_designated_channel, 11);   // an empty channel: left alone, not reported
    PointAt(r, rec::emergency_designated_channel, 128);   // dropped off the end

    const ReferenceNotes notes = InsertEmptyChannel(r, 10);

    EXPECT_EQ(ReadChannelEntry(r, 10), ChannelEntry{});
    for (int n : {10, 20, 32, 127})
        EXPECT_EQ(ReadChannelEntry(r, n + 1), ReadChannelEntry(before, n)) << n;
    EXPECT_EQ(ReadChannelEntry(r, 5), ReadChannelEntry(before, 5));
    EXPECT_EQ(PointedChannel(r, rec::home_channel), 21);
    EXPECT_EQ(PointedChannel(r, rec::dual_watch_channel), 5);
    EXPECT_EQ(PointedChannel(r, rec::scan_designated_channel), 11);
    EXPECT_EQ(PointedChannel(r, rec::priority_channel), 32);
    EXPECT_EQ(PointedChannel(r, rec::emergency_designated_channel), 128);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].kind, ReferenceNote::Kind::OutOfReach);
    EXPECT_EQ(notes[0].movedTo, 33);
    EXPECT_EQ(notes[1].kind, ReferenceNote::Kind::Lost);
    EXPECT_EQ(notes[1].channel, 128);
    const QString text = notes[0].describe(TAppLang(kLangIdEnglishUs));
    EXPECT_TRUE(text.contains("Priority Scan") && text.contains("33") && text.contains("32")) << text.toStdString();
}

TEST(ChannelMovesTest, RemoveShiftsUpEmptiesTheLastPlacesAndReportsReferencesToTheRemoved)
{
    RadioData data = Numbered({3, 4, 6, 128});
    RadioRecord& r = data.record;
    const RadioRecord before = r;
    PointAt(r, rec::home_channel, 6);
    PointAt(r, rec::emergency_designated_channel, 128);
    PointAt(r, rec::priority_channel, 4);

    const ReferenceNotes notes = RemoveChannels(r, {4, 5});

    EXPECT_EQ(ReadChannelEntry(r, 3), ReadChannelEntry(before, 3));
    EXPECT_EQ(ReadChannelEntry(r, 4), ReadChannelEntry(before, 6));
    EXPECT_EQ(ReadChannelEntry(r, 126), ReadChannelEntry(before, 128));
    EXPECT_EQ(ReadChannelEntry(r, 127), ChannelEntry{});
    EXPECT_EQ(ReadChannelEntry(r, 128), ChannelEntry{});
    EXPECT_EQ(PointedChannel(r, rec::home_channel), 4);
    EXPECT_EQ(PointedChannel(r, rec::emergency_designated_channel), 126);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].kind, ReferenceNote::Kind::Lost);
    EXPECT_EQ(notes[0].reference.field.offset, rec::priority_channel.offset);
    EXPECT_EQ(PointedChannel(r, rec::priority_channel), 4);   // kept, and said so
}

TEST(ChannelMovesTest, ABlockMovesPastItsNeighbourAndStopsAtTheEdges)
{
    RadioData data = Numbered({1, 2, 3, 4});
    RadioRecord& r = data.record;
    const RadioRecord before = r;
    PointAt(r, rec::home_channel, 1);
    PointAt(r, rec::priority_channel, 3);

    EXPECT_TRUE(MoveChannelBlock(r, 2, 3, -1).empty());
    EXPECT_EQ(ReadChannelEntry(r, 1), ReadChannelEntry(before, 2));
    EXPECT_EQ(ReadChannelEntry(r, 2), ReadChannelEntry(before, 3));
    EXPECT_EQ(ReadChannelEntry(r, 3), ReadChannelEntry(before, 1));
    EXPECT_EQ(PointedChannel(r, rec::home_channel), 3);
    EXPECT_EQ(PointedChannel(r, rec::priority_channel), 2);

    MoveChannelBlock(r, 1, 2, +1);   // and back
    EXPECT_EQ(ReadChannelEntry(r, 1), ReadChannelEntry(before, 1));
    EXPECT_EQ(PointedChannel(r, rec::priority_channel), 3);

    EXPECT_FALSE(CanMoveChannelBlock(1, 2, -1));
    EXPECT_FALSE(CanMoveChannelBlock(120, 128, +1));
    const RadioRecord unmoved = r;
    MoveChannelBlock(r, 1, 2, -1);
    EXPECT_EQ(r, unmoved);
}

TEST(ChannelMovesTest, PastingAndClearingReportOnlyReferencesWhoseChannelChanged)
{
    RadioData data = Numbered({1, 2, 126});
    RadioRecord& r = data.record;
    PointAt(r, rec::home_channel, 1);
    PointAt(r, rec::emergency_designated_channel, 126);
    std::vector<ChannelEntry> entries(16, ReadChannelEntry(r, 2));
    // One entry copied in another band, and an empty one.
    RadioRecord otherBand;
    StartChannel(otherBand, 1, 440000000);
    entries[3] = ReadChannelEntry(otherBand, 1);
    entries[4] = ChannelEntry{};

    const RadioRecord before = r;
    EntriesPaste paste = PasteChannelEntries(data, 120, entries);
    EXPECT_EQ(paste.written, 8);
    EXPECT_EQ(paste.beyondLastChannel, 7);
    EXPECT_EQ(paste.outsideBand, std::vector<int>{123});
    EXPECT_EQ(ReadChannelEntry(r, 123), ReadChannelEntry(before, 123));
    EXPECT_EQ(ReadChannelEntry(r, 124), ChannelEntry{});
    for (int n : {120, 121, 122, 125, 126, 127, 128})
        EXPECT_EQ(ReadChannelEntry(r, n), entries[0]) << n;
    ASSERT_EQ(paste.notes.size(), 1u);
    EXPECT_EQ(paste.notes[0].channel, 126);

    // The same bytes written again change nothing worth a note.
    EXPECT_TRUE(PasteChannelEntries(data, 1, {ReadChannelEntry(r, 1)}).notes.empty());
    // All four scan channels of a reset record point at channel 1.
    EXPECT_EQ(ClearChannels(r, {1, 3}).size(), 4u);
    EXPECT_EQ(ReadChannelEntry(r, 1), ChannelEntry{});
    EXPECT_EQ(PointedChannel(r, rec::home_channel), 1);
}

}   // namespace
