// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/spoken_names.h"
#include <QAccessibleWidget>
#include <QStackedWidget>
#include <QTabWidget>
#include <QWidget>

namespace k3n {

namespace {

constexpr const char* kHiddenProperty = "k3nHiddenFromScreenReaders";

// An object with no role, no actions and the invisible state: the bus lists
// nothing a screen reader would stop at.
class Unspoken : public QAccessibleWidget {
public:
    explicit Unspoken(QWidget* w) : QAccessibleWidget(w, QAccessible::NoRole) {}
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.invisible = true;
        return state;
    }
    QStringList actionNames() const override { return {}; }
    QString text(QAccessible::Text) const override { return {}; }
};

QAccessibleInterface* UnspokenFactory(const QString&, QObject* object)
{
    auto* w = qobject_cast<QWidget*>(object);
    return w && w->property(kHiddenProperty).toBool() ? new Unspoken(w) : nullptr;
}

std::function<void(QAccessibleInterface*)>& Watcher()
{
    static std::function<void(QAccessibleInterface*)> watcher;
    return watcher;
}

}   // namespace

void AnnounceNameChange(QAccessibleInterface* object)
{
    if (!object)
        return;
    QAccessibleEvent changed(object, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
    if (Watcher())
        Watcher()(object);
}

void WatchAnnouncements(std::function<void(QAccessibleInterface*)> watcher)
{
    Watcher() = std::move(watcher);
}

QString CaptionAround(const QWidget* w)
{
    for (const QWidget* at = w; at; at = at->parentWidget()) {
        // A tab page sits in the tab widget's stack.
        if (auto* stack = qobject_cast<const QStackedWidget*>(at->parentWidget()))
            if (auto* tabs = qobject_cast<const QTabWidget*>(stack->parentWidget()))
                if (const int tab = tabs->indexOf(const_cast<QWidget*>(at)); tab >= 0 && !tabs->tabText(tab).isEmpty())
                    return tabs->tabText(tab).remove(QLatin1Char('&'));
        if (at != w && !at->windowTitle().isEmpty())
            return at->windowTitle();
    }
    return {};
}

void HideFromScreenReaders(QWidget* w)
{
    static const bool installed = [] {
        QAccessible::installFactory(UnspokenFactory);
        return true;
    }();
    Q_UNUSED(installed);
    w->setProperty(kHiddenProperty, true);
}

}   // namespace k3n
