// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/signal_entry.h"
#include <algorithm>

namespace k3n {

std::optional<uint16_t> LeadTimeFromText(const QString& text)
{
    if (text.isEmpty())
        return kLeadTimeMin;
    uint32_t value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = std::min<uint32_t>(value * 10 + (c.unicode() - u'0'), kLeadTimeMax + 1);
    }
    return uint16_t(std::clamp<uint32_t>(value, kLeadTimeMin, kLeadTimeMax));
}

uint8_t TenthsFromText(const QString& text)
{
    // Read digit by digit: a binary fraction would truncate 2.3 s to 22 tenths.
    uint32_t whole = 0;
    int firstDecimal = 0;
    bool anyDigit = false, afterPoint = false, decimalSeen = false;
    for (QChar c : text) {
        if (c == u'.' && !afterPoint) {
            afterPoint = true;
        } else if (c >= u'0' && c <= u'9') {
            anyDigit = true;
            const int digit = c.unicode() - u'0';
            if (!afterPoint)
                whole = std::min<uint32_t>(whole * 10 + digit, kTenthsMax);
            else if (!decimalSeen) {
                firstDecimal = digit;
                decimalSeen = true;
            }
        } else {
            return kTenthsMin;
        }
    }
    if (!anyDigit)
        return kTenthsMin;
    return uint8_t(std::clamp<uint32_t>(whole * 10 + firstDecimal, kTenthsMin, kTenthsMax));
}

QString TenthsText(uint8_t tenths)
{
    if (tenths % 10 == 0)
        return QString::number(tenths / 10);
    return QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10);
}

}   // namespace k3n
