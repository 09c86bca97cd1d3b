// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The names of a channel's stored options that read the same in every
// language, by stored value: stated once for the channel grid and the
// record's field catalogue, which the dump and the CSV columns read.
#include <array>

namespace k3n {

inline constexpr std::array<const char*, 3> kLockOutNames = {"----", "BCLO", "BTLO"};
inline constexpr std::array<const char*, 4> kSignalSystemNames = {"OFF", "DTMF", "5-TONE", "2-TONE"};
inline constexpr std::array<const char*, 2> kPowerNames = {"Low", "High"};
inline constexpr std::array<const char*, 2> kBandwidthNames = {"Wide", "Narrow"};
inline constexpr std::array<const char*, 2> kScanNames = {"DEL", "ADD"};
inline constexpr std::array<const char*, 2> kOffOnNames = {"OFF", "ON"};

}   // namespace k3n
