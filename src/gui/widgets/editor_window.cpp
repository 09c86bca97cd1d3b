// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/editor_window.h"
#include "widgets/cell_grid.h"
#include "widgets/spoken_names.h"
#include <QAbstractItemView>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPushButton>

namespace k3n {

EditorWindow::EditorWindow(RadioData& data, QWidget* parent) : QWidget(parent), data_(data)
{
    bHide = new QPushButton(this);
    bHide->setObjectName("bHide");
    bHide->setGeometry(0, 0, 1, 1);
    bHide->setFlat(true);
    // Only CommitPendingEdits puts the focus there: Tab and clicks never land on it.
    bHide->setFocusPolicy(Qt::NoFocus);
    HideFromScreenReaders(bHide);
    setAttribute(Qt::WA_DeleteOnClose);
}

void EditorWindow::bindExit(QWidget* w, std::function<void()> handler)
{
    exitHandlers_.insert(w, std::move(handler));
    w->installEventFilter(this);
}

void EditorWindow::bindCellEditors(CellGrid* grid)
{
    for (QWidget* editor : grid->cellEditors())
        bindExit(editor, [grid, editor] { grid->commitCell(editor); });
    connect(grid, &CellGrid::cellStored, this, &EditorWindow::recordWritten);
}

// A drop-down opening its list takes the focus for a moment (with a popup
// reason, and on some platforms once more with an ordinary one): that is not
// leaving the control.
bool EditorWindow::isOpeningItsList(QObject* watched)
{
    auto* combo = qobject_cast<QComboBox*>(watched);
    return combo && combo->view() && combo->view()->isVisible();
}

// Input that may change a control's value (Tab and Escape only move on).
bool EditorWindow::mayEdit(const QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        const int key = static_cast<const QKeyEvent*>(event)->key();
        return key != Qt::Key_Tab && key != Qt::Key_Backtab && key != Qt::Key_Escape;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::InputMethod: return true;
    default: return false;
    }
}

bool EditorWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == storedControl_ && mayEdit(event))
        storedControl_ = nullptr;
    if (event->type() == QEvent::FocusOut && watched == storedControl_
        && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason && !isOpeningItsList(watched)) {
        // Its value was stored when the focus came back, and nothing was typed since.
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::FocusOut && !exitsSuppressed_
        && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason && !isOpeningItsList(watched)) {
        auto it = exitHandlers_.find(watched);
        if (it != exitHandlers_.end()) {
            it.value()();
            emit recordWritten();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void EditorWindow::CommitPendingEdits()
{
    // The focused control may sit in an inactive window, where moving the
    // focus sends no focus-out; so run its exit handler directly, once.
    QWidget* focused = focusWidget();
    auto it = exitHandlers_.find(focused);
    if (it != exitHandlers_.end() && focused->isVisible() && focused != storedControl_) {
        it.value()();
        emit recordWritten();
    }
    // The sink holds the focus only for the exits; then it goes back where the
    // user had it (a committed cell editor has handed it to its grid).
    QWidget* back = focusWidget();
    moveFocusWithoutExit(bHide);
    if (!back || back == bHide || !isAncestorOf(back) || !back->isVisible() || !back->isEnabled())
        back = firstControl();
    if (back) {
        moveFocusWithoutExit(back);
        storedControl_ = back;
    }
}

QWidget* EditorWindow::firstControl() const
{
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain())
        if (isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled())
            return w;
    return nullptr;
}

void EditorWindow::moveFocusWithoutExit(QWidget* target)
{
    exitsSuppressed_ = true;
    target->setFocus(Qt::OtherFocusReason);
    exitsSuppressed_ = false;
}

}   // namespace k3n
