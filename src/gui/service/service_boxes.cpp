// SPDX-License-Identifier: GPL-3.0-or-later
#include "service/service_boxes.h"
#include "text/own_texts.h"
#include "widgets/message_windows.h"
#include <QFocusEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace k3n {

std::optional<int> ConvertBoxText(QLineEdit* box)
{
    bool ok = false;
    const int value = box->text().toInt(&ok);
    if (ok)
        return value;
    ShowNotice(box->window(), QStringLiteral("'%1' is not a valid integer value").arg(box->text()));
    return std::nullopt;
}

ExitHandlers::ExitHandlers(QWidget* window) : QObject(window), window_(window) {}

void ExitHandlers::bind(QWidget* control, std::function<void()> handler)
{
    handlers_.insert(control, std::move(handler));
    control->installEventFilter(this);
}

void ExitHandlers::commitFocused()
{
    QWidget* focused = window_->focusWidget();
    if (focused && focused->isVisible())
        run(focused);
}

void ExitHandlers::run(QObject* control)
{
    auto it = handlers_.find(control);
    if (it == handlers_.end() || running_)
        return;
    running_ = true;
    it.value()();
    running_ = false;
}

bool ExitHandlers::eventFilter(QObject* watched, QEvent* event)
{
    // A drop-down opening its list, another window coming to the front and the
    // window closing take the focus too; none of them is leaving the control.
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            run(watched);
    }
    return QObject::eventFilter(watched, event);
}

TUpDown::TUpDown(QWidget* parent) : QWidget(parent)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto makeArrow = [this, column](Qt::ArrowType arrow, int direction) {
        auto* b = new QToolButton(this);
        b->setArrowType(arrow);
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(16, 11);
        column->addWidget(b);
        connect(b, &QToolButton::clicked, this, [this, direction] { emit stepped(direction); });
        return b;
    };
    up_ = makeArrow(Qt::UpArrow, +1);
    down_ = makeArrow(Qt::DownArrow, -1);
    up_->setAccessibleName(Text(OwnText::SpokenStepUp));
    down_->setAccessibleName(Text(OwnText::SpokenStepDown));
}

}   // namespace k3n
