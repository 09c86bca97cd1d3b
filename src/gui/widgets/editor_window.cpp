// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/editor_window.h"
#include "widgets/cell_grid.h"
#include <QAbstractItemView>
#include <QComboBox>
#include <QFocusEvent>
#include <QPushButton>

namespace k3n {

EditorWindow::EditorWindow(RadioData& data, QWidget* parent)
    : QWidget(parent), data_(data)
{
    bHide = new QPushButton(this);
    bHide->setObjectName("bHide");
    bHide->setGeometry(0, 0, 1, 1);
    bHide->setFlat(true);
    // Only CommitPendingEdits puts the focus there: Tab and clicks never land on it.
    bHide->setFocusPolicy(Qt::NoFocus);
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

bool EditorWindow::eventFilter(QObject* watched, QEvent* event)
{
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
    if (it != exitHandlers_.end() && focused->isVisible()) {
        it.value()();
        emit recordWritten();
    }
    moveFocusWithoutExit(bHide);
}

void EditorWindow::moveFocusWithoutExit(QWidget* target)
{
    exitsSuppressed_ = true;
    target->setFocus(Qt::OtherFocusReason);
    exitsSuppressed_ = false;
}

} // namespace k3n
