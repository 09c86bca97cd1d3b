// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Stored values a pick-only list of the editors offers, and the counts of the
// channel grid's lists. Which list offers what, field by field, is said by the
// record's field catalogue (model/record_fields.h), so that a check can name
// a stored value that no list holds (one only a foreign file or a radio can bring).
#include <span>

namespace k3n {

// Stored values first..last, both included.
struct ValueRange {
    unsigned first;
    unsigned last;
};

bool IsOffered(std::span<const ValueRange> values, unsigned value);

// Counts of lists that the channel grid offers.
constexpr int kSquelchLevels = 10;
constexpr int kScramblerCount = 16;
// Entries each signalling system (0 off, 1 DTMF, 2 five-tone, 3 two-tone) offers in a channel's number list.
constexpr int kSignalSystemCount = 4;
constexpr int kSignalNumberCounts[kSignalSystemCount] = {0, 8, 16, 16};
// The scan block's channel lists offer channels 1 to 32.
constexpr int kScanChannelCount = 32;

}   // namespace k3n
