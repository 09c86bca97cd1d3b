// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// GBK -> Big5 character table used by TAppLang::FromGBK.
#include <cstdint>

namespace k3n {

// One entry per GBK lead byte 0x81..0xFE and trail byte 0x40..0xFE, at
// lead * 191 + trail - 24703. An entry holds the Big5 trail byte in its high
// byte and the Big5 lead byte with its top bit inverted in its low byte.
constexpr int kGbkToBig5TableSize = 24066;
extern const uint16_t kGbkToBig5Table[kGbkToBig5TableSize];

}   // namespace k3n
