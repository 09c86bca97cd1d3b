// SPDX-License-Identifier: GPL-3.0-or-later
// The Edit menu's clipboard, channel and fill items. They act on the active
// editor window; an item is enabled when that window has the command, and
// while the menu is open only when the command applies to its selection.
#include "app/main_window.h"
#include "text/own_texts.h"
#include "text/ui_text.h"
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

namespace k3n {

namespace {

struct CommandItem {
    EditCommand command;
    const char* name;   // nullptr: a separator before the item
    OwnText text;
    QKeySequence shortcut;
};

std::vector<CommandItem> CommandItems()
{
    using C = EditCommand;
    return {
        {C::Cut, "EditCutItem", OwnText::MenuCut, QKeySequence::Cut},
        {C::Copy, "EditCopyItem", OwnText::MenuCopy, QKeySequence::Copy},
        {C::Paste, "EditPasteItem", OwnText::MenuPaste, QKeySequence::Paste},
        {C::Delete, "EditDeleteItem", OwnText::MenuDelete, QKeySequence(Qt::Key_Delete)},
        {C::SelectAll, "EditSelectAllItem", OwnText::MenuSelectAll, QKeySequence::SelectAll},
        {C::InsertChannel, "EditInsertChannelItem", OwnText::MenuInsertChannel, QKeySequence(Qt::Key_Insert)},
        {C::RemoveChannel, "EditRemoveChannelItem", OwnText::MenuRemoveChannel,
         QKeySequence(Qt::CTRL | Qt::Key_Delete)},
        {C::MoveUp, "EditMoveUpItem", OwnText::MenuMoveUp, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up)},
        {C::MoveDown, "EditMoveDownItem", OwnText::MenuMoveDown, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down)},
        {C::FillDown, "EditFillDownItem", OwnText::MenuFillDown, QKeySequence(Qt::CTRL | Qt::Key_D)},
        {C::FillSeries, "EditFillSeriesItem", OwnText::MenuFillSeries, QKeySequence()},
    };
}

constexpr const char* kCommandProperty = "editCommand";

bool StartsGroup(EditCommand command)
{
    return command == EditCommand::Cut || command == EditCommand::InsertChannel || command == EditCommand::FillDown;
}

} // namespace

void TMainForm::buildEditCommandItems()
{
    QMenu* edit = findChild<QMenu*>("Edit1");
    for (const CommandItem& item : CommandItems()) {
        if (StartsGroup(item.command))
            edit->addSeparator();
        QAction* action = edit->addAction(QString());
        action->setObjectName(item.name);
        action->setShortcut(item.shortcut);
        action->setProperty(kCommandProperty, int(item.command));
        connect(action, &QAction::triggered, this, [this, command = item.command] { runEditCommand(command); });
    }
    connect(edit, &QMenu::aboutToShow, this, [this] { updateEditCommandItems(true); });
    connect(edit, &QMenu::aboutToHide, this, [this] { updateEditCommandItems(false); });
    // The items go with the menu: the work area reports activations while the window is torn down.
    connect(mdiArea_, &QMdiArea::subWindowActivated, edit, [this] { updateEditCommandItems(false); });
    updateEditCommandItems(false);
}

void TMainForm::relabelEditCommandItems()
{
    for (const CommandItem& item : CommandItems()) {
        auto* action = findChild<QAction*>(item.name);
        action->setText(Text(item.text));
        action->setStatusTip(PlainCaption(action->text()));
    }
}

void TMainForm::updateEditCommandItems(bool exact)
{
    // The items are found through their menu, which outlives the window's own members.
    EditorWindow* editor = editorOfPage(activePage());
    for (QAction* action : findChild<QMenu*>("Edit1")->actions()) {
        const QVariant command = action->property(kCommandProperty);
        if (!command.isValid())
            continue;
        const auto c = EditCommand(command.toInt());
        action->setEnabled(editor && (exact ? editor->commandApplies(c) : editor->hasCommand(c)));
    }
}

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

} // namespace k3n
