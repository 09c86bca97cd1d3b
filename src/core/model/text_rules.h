// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a typed or pasted text keeps, for the number entries of every window:
// the rules live here so they are the same everywhere and testable without widgets.
#include <QChar>
#include <QString>

namespace k3n {

bool IsAsciiDigit(QChar c);
// The characters of text that 'accept' takes, at most maxCount of them.
QString KeepAccepted(const QString& text, int maxCount, bool (*accept)(QChar));
// The decimal digits of text, at most maxDigits of them.
QString KeepDigits(const QString& text, int maxDigits);
// Digits and the first ".", at most maxLength characters; a lone "." becomes empty.
QString KeepDecimalText(const QString& text, int maxLength);

}   // namespace k3n
