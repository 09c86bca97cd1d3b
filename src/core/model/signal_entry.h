// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Number entry of the signalling editors: the lead-in and lead-out times in
// milliseconds and the two-tone durations in tenths of a second. What a typed
// text keeps follows model/text_rules.h (kLeadTimeDigits digits; a decimal
// text of kTenthsTextLength characters); each reader turns a kept text into
// the stored value.
#include <QString>
#include <cstdint>
#include <optional>

namespace k3n {

constexpr int kLeadTimeDigits = 4;
constexpr uint16_t kLeadTimeMin = 100, kLeadTimeMax = 3000;

// Milliseconds clamped to 100..3000; an empty text gives the minimum.
// No value for a text that is not a decimal number.
std::optional<uint16_t> LeadTimeFromText(const QString& text);

constexpr int kTenthsTextLength = 4;
constexpr uint8_t kTenthsMin = 1, kTenthsMax = 250;

// Seconds text to tenths, truncated toward zero and clamped to 1..250;
// a text that is no number (an empty one among them) gives 1.
uint8_t TenthsFromText(const QString& text);
// Shortest decimal text of a tenths value: 1 -> "0.1", 10 -> "1", 25 -> "2.5".
QString TenthsText(uint8_t tenths);

}   // namespace k3n
