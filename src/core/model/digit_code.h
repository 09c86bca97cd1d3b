// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Digit codes of the DTMF and five-tone signalling: one digit in four bits,
// and a code as a count byte followed by its digits packed two per byte.
#include "model/radio_record.h"
#include <QString>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace k3n {

// "0".."9" are 0..9, "A".."D" 10..13, "*" 14, "#" 15.
std::optional<uint8_t> DigitCodeOf(QChar c);
// The character of a digit code (its low four bits).
QChar DigitChar(uint8_t code);
bool IsDigitChar(QChar c);

// A packed digit string in the record: the count byte at offset, then
// (capacity + 1) / 2 bytes, the first digit in the low nibble of the first byte.
struct DigitCodeField {
    uint16_t offset;
    int capacity;   // digits the field has room for
};

constexpr int DigitCodeBytes(int capacity)
{
    return (capacity + 1) / 2;
}

// Count byte and digit bytes for the given text; the text is cut to the capacity,
// unused nibbles are 0xF, and a character outside the digit set becomes "#".
std::vector<uint8_t> PackDigits(const QString& digits, int capacity);
// The text of a stored code (count byte first). A count beyond the capacity,
// which only a foreign file can hold, is clipped; nothing past the field is read.
QString UnpackDigits(std::span<const uint8_t> field, int capacity);

QString ReadDigitCode(const RadioRecord& record, DigitCodeField field);
void WriteDigitCode(RadioRecord& record, DigitCodeField field, const QString& digits);
bool IsEmptyDigitCode(const RadioRecord& record, DigitCodeField field);

// What a typed or pasted code text keeps: its digit characters, at most maxDigits of them.
QString FilterDigitCodeText(const QString& text, int maxDigits);

}   // namespace k3n
