// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/digit_code.h"
#include "model/text_rules.h"
#include <algorithm>

namespace k3n {

namespace {
constexpr char kDigitChars[] = "0123456789ABCD*#";
constexpr uint8_t kHash = 15;
}

std::optional<uint8_t> DigitCodeOf(QChar c)
{
    for (uint8_t code = 0; code < 16; ++code)
        if (c == QLatin1Char(kDigitChars[code]))
            return code;
    return std::nullopt;
}

QChar DigitChar(uint8_t code)
{
    return QLatin1Char(kDigitChars[code & 0x0F]);
}

bool IsDigitChar(QChar c)
{
    return DigitCodeOf(c).has_value();
}

std::vector<uint8_t> PackDigits(const QString& digits, int capacity)
{
    const int count = std::min<int>(digits.size(), capacity);
    std::vector<uint8_t> field(1 + DigitCodeBytes(capacity), 0xFF);
    field[0] = uint8_t(count);
    for (int i = 0; i < count; ++i) {
        const uint8_t code = DigitCodeOf(digits[i]).value_or(kHash);
        uint8_t& byte = field[1 + i / 2];
        byte = (i % 2 == 0) ? uint8_t((byte & 0xF0) | code) : uint8_t((byte & 0x0F) | (code << 4));
    }
    return field;
}

QString UnpackDigits(std::span<const uint8_t> field, int capacity)
{
    if (field.empty())
        return {};
    const int room = std::min<int>(capacity, 2 * (int(field.size()) - 1));
    const int count = std::min<int>(field[0], room);
    QString text;
    for (int i = 0; i < count; ++i) {
        const uint8_t byte = field[1 + i / 2];
        text += DigitChar(i % 2 == 0 ? byte : byte >> 4);
    }
    return text;
}

QString ReadDigitCode(const RadioRecord& record, DigitCodeField field)
{
    return UnpackDigits(record.slice(field.offset, 1 + DigitCodeBytes(field.capacity)), field.capacity);
}

void WriteDigitCode(RadioRecord& record, DigitCodeField field, const QString& digits)
{
    const std::vector<uint8_t> packed = PackDigits(digits, field.capacity);
    std::ranges::copy(packed, record.slice(field.offset, packed.size()).begin());
}

bool IsEmptyDigitCode(const RadioRecord& record, DigitCodeField field)
{
    return record.get(U8Field{field.offset}) == 0;
}

QString FilterDigitCodeText(const QString& text, int maxDigits)
{
    return KeepAccepted(text, maxDigits, IsDigitChar);
}

}   // namespace k3n
