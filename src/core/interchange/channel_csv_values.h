// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the export and the import of channel lists share: a channel's values
// as the record holds them, its options' names and offered values from the
// field catalogue, and frequencies as the file writes them.
#include "model/offered_values.h"
#include "model/radio_data.h"
#include <QString>
#include <cstdint>
#include <span>

namespace k3n {

class TAppLang;

namespace channel_list {

// The notes' language when none is asked for: the command line speaks English.
const TAppLang& EnglishLanguage();

// One channel's values, as the record holds them.
struct Channel {
    uint32_t rx = 0, tx = 0;
    uint8_t rxTone = 0, txTone = 0;
    bool rxInverted = false, txInverted = false;
    bool high = false, narrow = false, scanAdd = false, xtalShift = false;
    uint8_t lockOut = 0, signalingSystem = 0, signalingNo = 0, squelch = 0, scrambleNo = 0;
};

Channel ReadChannel(const RadioRecord& r, int n);

constexpr int kMaxScrambleNo = kScramblerCount;

// The names of a channel's option as files write them ("busy_lockout": "----", "BCLO", "BTLO").
std::span<const char* const> OptionNames(const char* key);
// Whether the list of a channel's field offers the value.
bool Offers(const char* key, int64_t value);

// Exact MHz with six decimals, so every hertz survives the trip.
QString MHzText(uint32_t hz);
QString LimitsText(const BandLimits& limits);
QString NameOrNumber(unsigned value, std::span<const char* const> names);

}   // namespace channel_list
}   // namespace k3n
