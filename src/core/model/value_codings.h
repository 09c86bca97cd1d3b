// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How record values are shown and typed: frequency texts, CTCSS tones,
// DCS codes, the sub-audio list and the two user-defined tones.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace k3n {

QString FormatFrequency(uint32_t hz);
// Text of MHz ("136.025", "136.", "") to Hz, exact to six decimals; too large saturates.
uint32_t ParseFrequencyText(const QString& text);
// A text of MHz that is only digits and at most one point ("145.5", ".5");
// none for anything else, so that a pasted or imported word is not read as 0.
std::optional<uint32_t> ReadFrequencyText(const QString& text);

constexpr int kCtcssCount = 52;   // entry 0 is "Off"
constexpr int kDcsCodeCount = 104;   // normal polarity; the table repeats them inverted
constexpr int kDcsTableCount = 208;
constexpr int kSubAudioListCount = kCtcssCount + kDcsTableCount;   // 260
constexpr uint8_t kDcsCodeBase = 128;

const char* CtcssText(int entry);   // 0..51
QString DcsText(int entry);   // 0..207: "D023N" .. "D754I"
uint16_t DcsOctalCode(int number);   // 0..103 -> 023 .. 754 (as the decimal number 23..754)

// Display text of a sub-audio code with its polarity bit; codes no editor
// produces (52..127, 232..255) show as "?" so the foreign value is visible.
QString FormatSubAudio(uint8_t code, bool inverted);
const QStringList& SubAudioList();   // the 260 entries in list order

struct SubAudioChoice {
    uint8_t code;
    bool keepPolarity;   // CTCSS positions leave the polarity bit as it was
    bool inverted;   // otherwise the new polarity bit
};
SubAudioChoice SubAudioFromListPosition(int position);

// User-defined CTCSS: any text -> 62.5..262.0 (non-numbers give 62.5).
double ParseUserCtcss(const QString& text);
QString FormatUserCtcss(double hz);   // shortest decimal form: 62.5, 100, 262
// User-defined DCS: up to three octal digits read as a decimal number.
uint16_t ParseUserDcs(const QString& text);

}   // namespace k3n
