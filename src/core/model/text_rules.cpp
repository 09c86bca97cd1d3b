// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/text_rules.h"

namespace k3n {

bool IsAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

QString KeepAccepted(const QString& text, int maxCount, bool (*accept)(QChar))
{
    QString kept;
    for (QChar c : text)
        if (accept(c) && kept.size() < maxCount)
            kept += c;
    return kept;
}

QString KeepDigits(const QString& text, int maxDigits)
{
    return KeepAccepted(text, maxDigits, IsAsciiDigit);
}

QString KeepDecimalText(const QString& text, int maxLength)
{
    QString kept;
    bool hasPoint = false;
    for (QChar c : text) {
        if (kept.size() == maxLength)
            break;
        if (IsAsciiDigit(c)) {
            kept += c;
        } else if (c == u'.' && !hasPoint) {
            kept += c;
            hasPoint = true;
        }
    }
    return kept == QLatin1String(".") ? QString() : kept;
}

}   // namespace k3n
