// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The edit boxes' input filters. A filter checks each typed key and cleans
// whatever text an edit leaves (typing, pasting, an input method): the box
// keeps what the filter's rule keeps and the caret goes to the end.
#include "model/text_rules.h"
#include <QChar>
#include <QString>
#include <functional>

class QLineEdit;

namespace k3n {

struct InputFilter {
    std::function<bool(QChar)> typed;   // false drops the key
    std::function<QString(const QString&)> keep;   // what an edited text keeps
};

constexpr int kFrequencyTextLength = 9;   // "146.02500"

// "0".."9", at most maxDigits of them.
InputFilter DigitsInput(int maxDigits);
// Digits and one decimal point, at most maxLength characters.
InputFilter DecimalInput(int maxLength);
// A frequency in MHz: a decimal text of at most nine characters.
InputFilter FrequencyInput();
// The radio's code digits (0-9, A-D, *, #), at most maxDigits of them.
InputFilter DigitCodeInput(int maxDigits);

// Typed printable characters the filter rejects are dropped (control keys,
// shortcuts and Enter always pass); an edited text is cut to what it keeps,
// marked as modified, with the caret at the end.
void FilterInput(QLineEdit* edit, InputFilter filter);

}   // namespace k3n
