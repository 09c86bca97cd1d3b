// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The values each pick-only list of the editor pages offers, by record field:
// the one statement of them outside the editors, so a check can name a stored
// value that no list holds (one only a foreign file or a radio can bring).
#include "model/editor_page.h"
#include "model/radio_record.h"
#include <cstdint>
#include <span>
#include <variant>

namespace k3n {


using ListField = std::variant<U8Field, U16Field, BitField>;
unsigned ValueOf(const RadioRecord& record, const ListField& field);

// Stored values first..last, both included.
struct ValueRange {
    unsigned first;
    unsigned last;
};

struct OfferedList {
    EditorPage page;
    int caption;   // interface text number naming the list
    int subCaption;   // interface text after the caption ("[Side]Key 1, Press"), or -1
    const char* fixedSubCaption;   // or a text after it that is the same in every language
    int rows;   // 1, or the rows of a table (row numbers 1..rows)
    ListField (*field)(int row);
    std::span<const ValueRange> values;
};

// Every list of every page whose position or value is stored as it stands.
// Lists whose entries depend on another field (signalling numbers, the
// emergency encode lists, code references) are checked on their own.
std::span<const OfferedList> OfferedLists();

bool IsOffered(std::span<const ValueRange> values, unsigned value);

// Counts of lists that the channel grid offers.
constexpr int kSquelchLevels = 10;
constexpr int kScramblerCount = 16;
// Entries each signalling system (0 off, 1 DTMF, 2 five-tone, 3 two-tone) offers in a channel's number list.
constexpr int kSignalSystemCount = 4;
constexpr int kSignalNumberCounts[kSignalSystemCount] = {0, 8, 16, 16};
// The scan block's channel lists offer channels 1 to 32.
constexpr int kScanChannelCount = 32;

} // namespace k3n
