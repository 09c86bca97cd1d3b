// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/channel_moves.h"
#include "model/channel_cells.h"
#include "text/own_texts.h"
#include "text/ui_text.h"
#include "text/ui_text_ids.h"
#include <algorithm>
#include <map>

namespace k3n {

namespace {

// origins[n - 1] is the channel whose entry place n takes; 0 for an entry that is new there.
using Origins = std::array<int, rec::kChannelCount>;

Origins Unmoved()
{
    Origins origins{};
    for (int n = 1; n <= rec::kChannelCount; ++n)
        origins[std::size_t(n - 1)] = n;
    return origins;
}

// Puts every place's entry where origins says, fresh entries at their places,
// and lets the references of channels in use follow.
ReferenceNotes Rearrange(RadioRecord& record, const Origins& origins, const std::map<int, ChannelEntry>& fresh)
{
    const RadioRecord before = record;
    for (int n = 1; n <= rec::kChannelCount; ++n) {
        const int from = origins[std::size_t(n - 1)];
        const auto it = fresh.find(n);
        WriteChannelEntry(record, n,
                          from                    ? ReadChannelEntry(before, from)
                              : it != fresh.end() ? it->second
                                                  : ChannelEntry{});
    }
    ReferenceNotes notes;
    for (const ChannelReference& ref : ChannelReferences()) {
        const int channel = before.get(ref.field) + 1;
        if (channel > rec::kChannelCount || !ChannelInUse(before, channel))
            continue;   // it points at no channel
        const auto place = std::ranges::find(origins, channel);
        if (place == origins.end()) {
            if (ReadChannelEntry(record, channel) != ReadChannelEntry(before, channel))
                notes.push_back({ReferenceNote::Kind::Lost, ref, channel, 0});
            continue;
        }
        const int movedTo = int(place - origins.begin()) + 1;
        if (movedTo <= ref.lastChannel)
            record.set(ref.field, uint8_t(movedTo - 1));
        else
            notes.push_back({ReferenceNote::Kind::OutOfReach, ref, channel, movedTo});
    }
    return notes;
}

bool IsChannel(int n)
{
    return n >= 1 && n <= rec::kChannelCount;
}

}   // namespace

ChannelEntry ReadChannelEntry(const RadioRecord& record, int channel)
{
    ChannelEntry entry{};
    std::ranges::copy(record.slice(rec::channelOffset(channel), rec::kChannelSize), entry.begin());
    return entry;
}

void WriteChannelEntry(RadioRecord& record, int channel, const ChannelEntry& entry)
{
    std::ranges::copy(entry, record.slice(rec::channelOffset(channel), rec::kChannelSize).begin());
}

const std::vector<ChannelReference>& ChannelReferences()
{
    static const std::vector<ChannelReference> references = {
        {ui::kScanSettings, ui::kDesignatedChannel, rec::scan_designated_channel, kScanChannelCount},
        {ui::kScanSettings, ui::kHomeChannel, rec::home_channel, kScanChannelCount},
        {ui::kScanSettings, ui::kPriorityScan, rec::priority_channel, kScanChannelCount},
        {ui::kScanSettings, ui::kDualWatchChannel, rec::dual_watch_channel, kScanChannelCount},
        {ui::kEmergencySettings, ui::kDesignatedChannel, rec::emergency_designated_channel, rec::kChannelCount},
    };
    return references;
}

QString ReferenceNote::describe(const TAppLang& lang) const
{
    const QString setting =
        QStringLiteral("%1, %2").arg(UiText(lang, reference.pageText), UiText(lang, reference.nameText));
    if (kind == Kind::Lost)
        return Text(lang, OwnText::ChannelReferenceLost).arg(setting).arg(channel);
    if (kind == Kind::Emptied)
        return Text(lang, OwnText::ChannelReferenceEmptied).arg(setting).arg(channel);
    return Text(lang, OwnText::ChannelReferenceOutOfReach)
        .arg(setting)
        .arg(channel)
        .arg(movedTo)
        .arg(reference.lastChannel);
}

ReferenceNotes InsertEmptyChannel(RadioRecord& record, int at)
{
    if (!IsChannel(at))
        return {};
    Origins origins = Unmoved();
    origins[std::size_t(at - 1)] = 0;
    for (int n = at + 1; n <= rec::kChannelCount; ++n)
        origins[std::size_t(n - 1)] = n - 1;
    return Rearrange(record, origins, {});
}

ReferenceNotes RemoveChannels(RadioRecord& record, const std::vector<int>& channels)
{
    Origins origins{};
    std::size_t next = 0;
    for (int n = 1; n <= rec::kChannelCount; ++n)
        if (std::ranges::find(channels, n) == channels.end())
            origins[next++] = n;
    return Rearrange(record, origins, {});
}

bool CanMoveChannelBlock(int first, int last, int by)
{
    return (by == -1 || by == 1) && IsChannel(first) && IsChannel(last) && first <= last && IsChannel(first + by)
        && IsChannel(last + by);
}

ReferenceNotes MoveChannelBlock(RadioRecord& record, int first, int last, int by)
{
    if (!CanMoveChannelBlock(first, last, by))
        return {};
    Origins origins = Unmoved();
    for (int n = first; n <= last; ++n)
        origins[std::size_t(n + by - 1)] = n;
    // The passed channel takes the place the block freed.
    if (by < 0)
        origins[std::size_t(last - 1)] = first - 1;
    else
        origins[std::size_t(first - 1)] = last + 1;
    return Rearrange(record, origins, {});
}

namespace {

bool FitsBand(const ChannelEntry& entry, const BandLimits& limits)
{
    RadioRecord scratch;
    WriteChannelEntry(scratch, 1, entry);
    if (!ChannelInUse(scratch, 1))
        return true;
    const auto inBand = [&limits](uint32_t hz) { return hz >= limits.lower && hz <= limits.upper; };
    const uint32_t tx = scratch.get(rec::ch::tx_freq(1));
    return inBand(scratch.get(rec::ch::rx_freq(1))) && (tx == 0 || inBand(tx));
}

}   // namespace

EntriesPaste PasteChannelEntries(RadioData& data, int first, const std::vector<ChannelEntry>& entries)
{
    EntriesPaste paste;
    Origins origins = Unmoved();
    std::map<int, ChannelEntry> fresh;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int place = first + int(i);
        if (!IsChannel(place)) {
            ++paste.beyondLastChannel;
        } else if (!FitsBand(entries[i], data.band_limits)) {
            paste.outsideBand.push_back(place);
        } else {
            origins[std::size_t(place - 1)] = 0;
            fresh[place] = entries[i];
            ++paste.written;
        }
    }
    paste.notes = Rearrange(data.record, origins, fresh);
    return paste;
}

ReferenceNotes ClearChannels(RadioRecord& record, const std::vector<int>& channels)
{
    Origins origins = Unmoved();
    for (int n : channels)
        if (IsChannel(n))
            origins[std::size_t(n - 1)] = 0;
    return Rearrange(record, origins, {});
}

ReferenceNotes EmptiedReferences(const RadioRecord& before, const RadioRecord& after)
{
    ReferenceNotes notes;
    for (const ChannelReference& ref : ChannelReferences()) {
        const int channel = before.get(ref.field) + 1;
        if (IsChannel(channel) && ChannelInUse(before, channel) && !ChannelInUse(after, channel))
            notes.push_back({ReferenceNote::Kind::Emptied, ref, channel, 0});
    }
    return notes;
}

}   // namespace k3n
