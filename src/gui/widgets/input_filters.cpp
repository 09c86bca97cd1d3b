#include "widgets/input_filters.h"
#include <QKeyEvent>
#include <QLineEdit>

namespace k3n {

namespace {
class TypedKeyFilter : public QObject {
public:
    TypedKeyFilter(QLineEdit* edit, std::function<bool(QChar)> accept)
        : QObject(edit), accept_(std::move(accept)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const QString text = key->text();
            const bool printable = !text.isEmpty() && text.at(0).isPrint();
            const bool shortcut = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
            if (printable && !shortcut && !accept_(text.at(0)))
                return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<bool(QChar)> accept_;
};
} // namespace

void FilterTypedKeys(QLineEdit* edit, std::function<bool(QChar)> accept)
{
    edit->installEventFilter(new TypedKeyFilter(edit, std::move(accept)));
}

} // namespace k3n
