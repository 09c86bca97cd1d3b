// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's menus from one command table: every menu and item with its
// caption, keys, handler and when it is enabled. The table builds the menus,
// relabels them on a language switch and enables them; a new command is one row.
#include "app/main_window.h"
#include "text/own_texts.h"
#include "text/ui_text.h"
#include "text/ui_text_ids.h"
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <variant>

namespace k3n {

struct TMainForm::CommandRow {
    enum Kind {
        Menu,   // a menu of the menu bar
        BarCommand,   // a menu bar item that is a command of its own
        Item,   // an item of the menu above it
        Separator,
        RecentFiles,   // the recently used files go here
        OpenWindows,   // the open windows are listed after the menu's last item
    };
    // The step Undo or Redo would take names its item.
    enum class HistoryStep { Undo, Redo };
    enum class When { Always, CanUndo, CanRedo, EditorHasCommand };
    using Command = void (TMainForm::*)();
    // An interface text by its number, one of the program's own texts, or a step.
    using Caption = std::variant<int, OwnText, HistoryStep>;
    // A command of the main window, or one of the active editor's.
    using Handler = std::variant<Command, EditCommand>;

    Kind kind;
    const char* name = nullptr;   // the object name
    Caption caption = 0;
    QList<QKeySequence> keys = {};
    Handler run = Command(nullptr);
    When enabled = When::Always;
    int checkedForLanguage = -1;   // checked while the Language setting is this
    // A hint of its own in every language, "tool tip|status tip", in place of the caption's.
    const char* hint = nullptr;
};

const std::vector<TMainForm::CommandRow>& TMainForm::commandTable()
{
    using R = CommandRow;
    using W = CommandRow::When;
    using C = EditCommand;
    using K = QKeySequence;
    using Step = CommandRow::HistoryStep;
    static const std::vector<CommandRow> rows = {
        {R::Menu, "File1", ui::kMenuFile},
        {R::Item, "FileNewItem", ui::kMenuNew, {K(Qt::CTRL | Qt::Key_N)}, &TMainForm::FileNew1Execute},
        {R::Item, "FileOpenItem", ui::kMenuOpen, {K(Qt::CTRL | Qt::Key_O)}, &TMainForm::FileOpen1Execute},
        {R::Item, "FileCloseItem", ui::kMenuClose, {}, &TMainForm::FileClose1Execute},
        {R::Item,
         "MenuFile_Save",
         ui::kMenuSave,
         {K(Qt::CTRL | Qt::Key_S)},
         &TMainForm::MenuFile_SaveClick,
         W::Always,
         -1,
         "Save|Save current file"},
        {R::Separator},
        {R::Item, "FileImportChannels", OwnText::MenuImportChannels, {}, &TMainForm::FileImportChannelsClick},
        {R::Item, "FileExportChannels", OwnText::MenuExportChannels, {}, &TMainForm::FileExportChannelsClick},
        {R::Item, "FileCompareWithFile", OwnText::MenuCompareWithFile, {}, &TMainForm::FileCompareWithFileClick},
        {R::Item, "MenuFile_Restore", OwnText::MenuRestoreBackup, {}, &TMainForm::MenuFile_RestoreClick},
        {R::Separator},
        {R::RecentFiles},
        {R::Item, "MenuFile_Print", OwnText::MenuPrint, {K::Print}, &TMainForm::MenuFile_PrintClick},
        {R::Item, "MenuFile_ExportPdf", OwnText::MenuExportPdf, {}, &TMainForm::MenuFile_ExportPdfClick},
        {R::Separator},
        {R::Item, "FileExitItem", ui::kMenuExit, {}, &TMainForm::FileExit1Execute},

        {R::Menu, "Edit1", ui::kMenuEdit},
        {R::Item, "MenuEdit_Read", ui::kMenuReadFromRadio, {}, &TMainForm::MenuEdit_ReadClick},
        {R::Item, "MenuEdit_Write", ui::kMenuWriteToRadio, {}, &TMainForm::MenuEdit_WriteClick},
        {R::Item, "MenuEdit_Check", OwnText::MenuCheckConfiguration, {}, &TMainForm::MenuEdit_CheckClick},
        {R::Item,
         "MenuEdit_CompareWithRadio",
         OwnText::MenuCompareWithRadio,
         {},
         &TMainForm::MenuEdit_CompareWithRadioClick},
        {R::Item, "MenuEdit_WriteSeveral", OwnText::MenuWriteSeveralRadios, {}, &TMainForm::MenuEdit_WriteSeveralClick},
        {R::Separator},
        {R::Item, "EditUndoItem", Step::Undo, K::keyBindings(K::Undo), &TMainForm::undoStep, W::CanUndo},
        {R::Item,
         "EditRedoItem",
         Step::Redo,
         {K(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), K(Qt::CTRL | Qt::Key_Y)},
         &TMainForm::redoStep,
         W::CanRedo},
        {R::Separator},
        {R::Item, "EditCutItem", OwnText::MenuCut, {K::Cut}, C::Cut, W::EditorHasCommand},
        {R::Item, "EditCopyItem", OwnText::MenuCopy, {K::Copy}, C::Copy, W::EditorHasCommand},
        {R::Item, "EditPasteItem", OwnText::MenuPaste, {K::Paste}, C::Paste, W::EditorHasCommand},
        {R::Item, "EditDeleteItem", OwnText::MenuDelete, {K(Qt::Key_Delete)}, C::Delete, W::EditorHasCommand},
        {R::Item, "EditSelectAllItem", OwnText::MenuSelectAll, {K::SelectAll}, C::SelectAll, W::EditorHasCommand},
        {R::Separator},
        {R::Item,
         "EditInsertChannelItem",
         OwnText::MenuInsertChannel,
         {K(Qt::Key_Insert)},
         C::InsertChannel,
         W::EditorHasCommand},
        {R::Item,
         "EditRemoveChannelItem",
         OwnText::MenuRemoveChannel,
         {K(Qt::CTRL | Qt::Key_Delete)},
         C::RemoveChannel,
         W::EditorHasCommand},
        {R::Item,
         "EditMoveUpItem",
         OwnText::MenuMoveUp,
         {K(Qt::CTRL | Qt::SHIFT | Qt::Key_Up)},
         C::MoveUp,
         W::EditorHasCommand},
        {R::Item,
         "EditMoveDownItem",
         OwnText::MenuMoveDown,
         {K(Qt::CTRL | Qt::SHIFT | Qt::Key_Down)},
         C::MoveDown,
         W::EditorHasCommand},
        {R::Separator},
        {R::Item,
         "EditFillDownItem",
         OwnText::MenuFillDown,
         {K(Qt::CTRL | Qt::Key_D)},
         C::FillDown,
         W::EditorHasCommand},
        {R::Item, "EditFillSeriesItem", OwnText::MenuFillSeries, {}, C::FillSeries, W::EditorHasCommand},

        {R::BarCommand, "MenuPort", ui::kMenuCommunicationPort, {}, &TMainForm::MenuPortClick},

        {R::Menu, "MenuLanguage", ui::kMenuLanguage},
        {R::Item, "MenuLanguage_Chs", ui::kMenuChineseSimplified, {}, &TMainForm::MenuLanguage_ChsClick, W::Always, 1},
        {R::Item, "MenuLanguage_En", ui::kMenuEnglish, {}, &TMainForm::MenuLanguage_EnClick, W::Always, 0},

        {R::Menu, "Window1", ui::kMenuWindow},
        {R::Item, "WindowCascadeItem", ui::kMenuCascade, {}, &TMainForm::WindowCascadeItemClick},
        {R::Item, "WindowTileItem", ui::kMenuTileHorizontally, {}, &TMainForm::WindowTileItemClick},
        {R::Item, "WindowTileItem2", ui::kMenuTileVertically, {}, &TMainForm::WindowTileItem2Click},
        {R::Item, "WindowMinimizeItem", ui::kMenuMinimizeAll, {}, &TMainForm::WindowMinimizeItemClick},
        {R::Item, "WindowArrangeItem", ui::kMenuArrangeAll, {}, &TMainForm::WindowArrangeItemClick},
        {R::OpenWindows},

        {R::BarCommand, "Menu_RadioTest", ui::kMenuRadioTest, {}, &TMainForm::Menu_RadioTestClick},

        {R::Menu, "Help1", ui::kMenuHelp},
        {R::Item, "HelpAboutItem", ui::kMenuAbout, {}, &TMainForm::HelpAbout1Execute},
    };
    return rows;
}

void TMainForm::buildMenus()
{
    QMenu* menu = nullptr;
    for (const CommandRow& row : commandTable()) {
        QAction* action = nullptr;
        switch (row.kind) {
        case CommandRow::Menu:
            menu = menuBar()->addMenu(QString());
            menu->setObjectName(row.name);
            action = menu->menuAction();
            break;
        case CommandRow::BarCommand: action = menuBar()->addAction(QString()); break;
        case CommandRow::Item: action = menu->addAction(QString()); break;
        case CommandRow::Separator: menu->addSeparator(); continue;
        case CommandRow::RecentFiles: addRecentFileItems(*menu); continue;
        case CommandRow::OpenWindows:
            Window1 = menu;
            connect(Window1, &QMenu::aboutToShow, this, &TMainForm::listOpenWindowsInWindowMenu);
            continue;
        }
        if (row.kind != CommandRow::Menu)
            action->setObjectName(row.name);
        if (!row.keys.isEmpty())
            action->setShortcuts(row.keys);
        action->setCheckable(row.checkedForLanguage >= 0);
        if (const auto* command = std::get_if<CommandRow::Command>(&row.run); command && *command)
            connect(action, &QAction::triggered, this, *command);
        else if (const auto* editCommand = std::get_if<EditCommand>(&row.run))
            connect(action, &QAction::triggered, this, [this, c = *editCommand] { runEditCommand(c); });
        commandItems_.emplace_back(action, &row);
    }
    // Undo names the step it would take back, a change just made included; while
    // the Edit menu is open its editor commands are enabled only where they apply now.
    QMenu* edit = findChild<QMenu*>("Edit1");
    connect(edit, &QMenu::aboutToShow, this, &TMainForm::recordUnreportedEdits);
    connect(edit, &QMenu::aboutToShow, this, [this] { enableCommands(true); });
    connect(edit, &QMenu::aboutToHide, this, [this] { enableCommands(false); });
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, [this] { enableCommands(false); });
    connect(history_, &RecordHistory::changed, this, [this] {
        relabelCommands();
        enableCommands(false);
    });
    enableCommands(false);
}

QString TMainForm::captionOf(const CommandRow& row) const
{
    if (const auto* number = std::get_if<int>(&row.caption))
        return UiText(*number);
    if (const auto* own = std::get_if<OwnText>(&row.caption))
        return Text(*own);
    if (std::get<CommandRow::HistoryStep>(row.caption) == CommandRow::HistoryStep::Undo) {
        const QString undo = history_->undoName();
        return undo.isEmpty() ? Text(OwnText::MenuUndo) : Text(OwnText::MenuUndoStep).arg(undo);
    }
    const QString redo = history_->redoName();
    return redo.isEmpty() ? Text(OwnText::MenuRedo) : Text(OwnText::MenuRedoStep).arg(redo);
}

void TMainForm::relabelCommands()
{
    for (const auto& [action, row] : commandItems_) {
        const QString caption = captionOf(*row);
        action->setText(caption);
        action->setIconText(PlainCaption(caption));   // tool-bar captions
        action->setStatusTip(PlainCaption(caption));
        if (row->hint) {
            const QStringList hint = QString::fromLatin1(row->hint).split(u'|');
            action->setToolTip(hint.constFirst());
            action->setStatusTip(hint.constLast());
        }
        if (row->checkedForLanguage >= 0)
            action->setChecked(settings_.Language == row->checkedForLanguage);
    }
}

void TMainForm::enableCommands(bool exact)
{
    EditorWindow* editor = editorOfPage(activePage());
    for (const auto& [action, row] : commandItems_) {
        switch (row->enabled) {
        case CommandRow::When::Always: break;
        case CommandRow::When::CanUndo: action->setEnabled(history_->canUndo()); break;
        case CommandRow::When::CanRedo: action->setEnabled(history_->canRedo()); break;
        case CommandRow::When::EditorHasCommand: {
            const EditCommand command = std::get<EditCommand>(row->run);
            action->setEnabled(editor && (exact ? editor->commandApplies(command) : editor->hasCommand(command)));
            break;
        }
        }
    }
}

}   // namespace k3n
