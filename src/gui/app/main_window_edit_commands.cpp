// SPDX-License-Identifier: GPL-3.0-or-later
// The Edit menu's clipboard, channel and fill commands: they act on the
// active editor window, and each is one undo step.
#include "app/main_window.h"

namespace k3n {

void TMainForm::runEditCommand(EditCommand command)
{
    EditorWindow* editor = editorOfPage(activePage());
    if (!editor || !editor->hasCommand(command))
        return;
    recordUnreportedEdits();
    editor->runCommand(command);
}

void TMainForm::takeCommandStep(EditorWindow* editor, StepName name)
{
    // Settings that point at moved channels live in other pages: their views
    // must show the record again before anyone edits them.
    for (const QPointer<EditorWindow>& other : editors_)
        if (other && other != editor)
            other->RefreshAll();
    history_->recordStep(std::move(name));
}

}   // namespace k3n
