// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/spoken_names.h"
#include "text/own_texts.h"
#include <QAccessibleWidget>
#include <QLabel>
#include <QStackedWidget>
#include <QTabWidget>
#include <QWidget>

namespace k3n {

namespace {

// How a widget marked here is spoken; unmarked widgets keep Qt's own interfaces.
enum class SpokenAs { Qt, Hidden, LiveLine, Message };
constexpr const char* kSpokenAsProperty = "k3nSpokenAs";
constexpr const char* kMessageProperty = "k3nSpokenMessage";

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

// A notification whose name is the line's text.
class LiveLine : public QAccessibleWidget {
public:
    explicit LiveLine(QLabel* label) : QAccessibleWidget(label, QAccessible::Notification) {}
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<QLabel*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

// An alert named by its title, its message the description.
class Message : public QAccessibleWidget {
public:
    explicit Message(QWidget* window) : QAccessibleWidget(window, QAccessible::AlertMessage) {}
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty())
            if (auto* message = qobject_cast<QLabel*>(widget()->property(kMessageProperty).value<QObject*>()))
                return message->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* SpokenFactory(const QString&, QObject* object)
{
    auto* w = qobject_cast<QWidget*>(object);
    if (!w)
        return nullptr;
    switch (SpokenAs(w->property(kSpokenAsProperty).toInt())) {
    case SpokenAs::Hidden: return new Unspoken(w);
    case SpokenAs::LiveLine: return new LiveLine(static_cast<QLabel*>(w));
    case SpokenAs::Message: return new Message(w);
    case SpokenAs::Qt: break;
    }
    return nullptr;
}

void MarkSpokenAs(QWidget* w, SpokenAs how)
{
    static const bool installed = [] {
        QAccessible::installFactory(SpokenFactory);
        return true;
    }();
    Q_UNUSED(installed);
    w->setProperty(kSpokenAsProperty, int(how));
}

AnnouncementWatcher& Watcher()
{
    static AnnouncementWatcher watcher;
    return watcher;
}

void Announce(QAccessibleInterface* object, QAccessible::Event kind)
{
    if (!object)
        return;
    QAccessibleEvent event(object, kind);
    QAccessible::updateAccessibility(&event);
    if (Watcher())
        Watcher()(object, kind);
}

}   // namespace

QVariant SpokenCell::data(int role) const
{
    if (role == Qt::AccessibleTextRole && flags() != Qt::NoItemFlags && text().isEmpty())
        return Text(OwnText::SpokenBlankCell);
    return QTableWidgetItem::data(role);
}

void AnnounceNameChange(QAccessibleInterface* object)
{
    Announce(object, QAccessible::NameChanged);
}

void WatchAnnouncements(AnnouncementWatcher watcher)
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
    MarkSpokenAs(w, SpokenAs::Hidden);
}

void MakeLiveLine(QLabel* label)
{
    MarkSpokenAs(label, SpokenAs::LiveLine);
}

void SayOnLiveLine(QLabel* label, const QString& text)
{
    if (label->text() == text)
        return;
    label->setText(text);
    // A notification that comes up is read wherever the focus is; a changed name is not.
    if (!text.isEmpty() && label->isVisible())
        Announce(QAccessible::queryAccessibleInterface(label), QAccessible::ObjectShow);
}

void SpeakAsMessage(QWidget* window, QLabel* message)
{
    window->setProperty(kMessageProperty, QVariant::fromValue<QObject*>(message));
    MarkSpokenAs(window, SpokenAs::Message);
}

}   // namespace k3n
