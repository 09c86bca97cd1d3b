// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/button_widths.h"
#include <QAbstractButton>
#include <QEvent>
#include <algorithm>

namespace k3n {

namespace {

// Sets the button's minimum width again when its font changes or it is shown
// (a caption set after the call is measured then).
class LeastWidth : public QObject {
public:
    LeastWidth(QAbstractButton* button, int width) : QObject(button), width_(width)
    {
        button->installEventFilter(this);
        apply(button);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FontChange || event->type() == QEvent::Show)
            apply(static_cast<QAbstractButton*>(watched));
        return false;
    }

private:
    void apply(QAbstractButton* button) const
    {
        // A button's size hint is its caption's room; its minimum width plays no part in it.
        button->setMinimumWidth(std::max(width_, button->sizeHint().width()));
    }

    int width_;
};

}   // namespace

void SetButtonWidthAtLeast(QAbstractButton* button, int width)
{
    new LeastWidth(button, width);
}

}   // namespace k3n
