// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/input_filters.h"
#include "model/digit_code.h"
#include <QKeyEvent>
#include <QLineEdit>

namespace k3n {

namespace {

class TypedKeyFilter : public QObject {
public:
    TypedKeyFilter(QLineEdit* edit, std::function<bool(QChar)> accept) : QObject(edit), accept_(std::move(accept)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const QString text = key->text();
            const bool printable = !text.isEmpty() && text.at(0).isPrint();
            const bool shortcut = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
            if (printable && !shortcut && !accept_(text.at(0)))
                return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<bool(QChar)> accept_;
};

bool IsDecimalChar(QChar c)
{
    return IsAsciiDigit(c) || c == u'.';
}

}   // namespace

InputFilter DigitsInput(int maxDigits)
{
    return {IsAsciiDigit, [maxDigits](const QString& text) { return KeepDigits(text, maxDigits); }};
}

InputFilter DecimalInput(int maxLength)
{
    return {IsDecimalChar, [maxLength](const QString& text) { return KeepDecimalText(text, maxLength); }};
}

InputFilter FrequencyInput()
{
    return DecimalInput(kFrequencyTextLength);
}

InputFilter DigitCodeInput(int maxDigits)
{
    return {IsDigitChar, [maxDigits](const QString& text) { return FilterDigitCodeText(text, maxDigits); }};
}

void FilterInput(QLineEdit* edit, InputFilter filter)
{
    edit->installEventFilter(new TypedKeyFilter(edit, std::move(filter.typed)));
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, keep = std::move(filter.keep)](const QString& text) {
        const QString kept = keep(text);
        if (kept != text) {
            edit->setText(kept);   // leaves the caret at the end
            edit->setModified(true);
        }
    });
}

}   // namespace k3n
