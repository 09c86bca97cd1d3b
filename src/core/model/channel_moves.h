// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Moving channels among the 128 places: inserting an empty place, removing
// places, moving a block up or down, writing copied entries over others and
// clearing. What points at a channel in use (the scan block's channels and
// the emergency designated channel) follows it to its new place; a pointer
// that cannot follow is reported, never left silently on another channel.
#include "model/radio_data.h"
#include "model/record_layout.h"
#include <QString>
#include <array>
#include <vector>

namespace k3n {

class TAppLang;

using ChannelEntry = std::array<uint8_t, rec::kChannelSize>;
ChannelEntry ReadChannelEntry(const RadioRecord& record, int channel);
void WriteChannelEntry(RadioRecord& record, int channel, const ChannelEntry& entry);

// A setting that stores a channel number − 1.
struct ChannelReference {
    int pageText;   // interface text number of its page's caption
    int nameText;   // interface text number of its label
    U8Field field;
    int lastChannel;   // its list offers channels 1..lastChannel
};
const std::vector<ChannelReference>& ChannelReferences();

// A reference whose channel was moved, removed or overwritten and that could not follow.
struct ReferenceNote {
    enum class Kind {
        Lost,   // its channel was removed or overwritten: it points at what now holds the place
        OutOfReach,   // its channel moved to a place its list does not offer
        Emptied,   // its channel is empty now (an import that replaced the channels)
    };
    Kind kind = Kind::Lost;
    ChannelReference reference;
    int channel = 0;   // where it points, unchanged
    int movedTo = 0;   // OutOfReach: where its channel went
    QString describe(const TAppLang& lang) const;
};
using ReferenceNotes = std::vector<ReferenceNote>;

// Empties place `at` and shifts the channels at..127 down one place; the
// channel at 128 is dropped (ask before when it is in use).
ReferenceNotes InsertEmptyChannel(RadioRecord& record, int at);
// Removes the channels; those after them move up, the last places become empty.
ReferenceNotes RemoveChannels(RadioRecord& record, const std::vector<int>& channels);
// Moves the block first..last one place up (by −1) or down (by +1); the
// channel it passes takes the freed place. False-free: a block at the edge stays.
ReferenceNotes MoveChannelBlock(RadioRecord& record, int first, int last, int by);
bool CanMoveChannelBlock(int first, int last, int by);
// Writes copied entries from place first on. An entry in use whose
// frequencies lie outside the band (copied before a band change) and entries
// past place 128 are not written: their places keep what they hold.
struct EntriesPaste {
    int written = 0;
    int beyondLastChannel = 0;
    std::vector<int> outsideBand;   // the places that kept their channel
    ReferenceNotes notes;
};
EntriesPaste PasteChannelEntries(RadioData& data, int first, const std::vector<ChannelEntry>& entries);
ReferenceNotes ClearChannels(RadioRecord& record, const std::vector<int>& channels);
// The references that pointed at a channel in use before and at an empty one after.
ReferenceNotes EmptiedReferences(const RadioRecord& before, const RadioRecord& after);

}   // namespace k3n
