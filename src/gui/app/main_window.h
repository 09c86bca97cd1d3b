// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: menus, tool bar, the tree of editor pages and the
// document commands New, Open, Save and Close on the one radio data record.
#include "app/app_settings.h"
#include "app/record_history.h"
#include "editors/editor_pages.h"
#include "model/autosave.h"
#include "model/configuration_check.h"
#include "model/radio_data.h"
#include "programming/service_data.h"
#include "programming/write_log.h"
#include "widgets/editor_window.h"
#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <vector>

class QAction;
class QDockWidget;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace k3n {

class TProgramDialog;

class CheckWindow;
class CompareWindow;
class TAboutBox;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // Asked for a file name instead of the file dialog; returns "" for a cancelled choice.
    using FileNameChooser = std::function<QString(bool save)>;
    using EditorFactory = std::function<EditorWindow*(int page, RadioData& data, QWidget* parent)>;
    // Milliseconds of a steady clock; the autosave's timing reads it.
    using Clock = std::function<qint64()>;

    TMainForm(RadioData& data, AppSettings& settings, QWidget* parent = nullptr);
    ~TMainForm() override;

    RadioData& radioData() { return data_; }
    AppSettings& appSettings() { return settings_; }

    void setFileNameChooser(FileNameChooser chooser) { chooseFileName_ = std::move(chooser); }
    void setClock(Clock clock) { clock_ = std::move(clock); }
    // Asked for the file of an import, export or comparison instead of the file dialog;
    // nameFilter is the dialog's ("CSV (*.csv)"). Returns "" for a cancelled choice.
    using OtherFileChooser = std::function<QString(bool save, const QString& nameFilter)>;
    void setOtherFileChooser(OtherFileChooser chooser) { chooseOtherFile_ = std::move(chooser); }
    // Editors come from CreateEditorForPage unless replaced.
    void setEditorFactory(EditorFactory factory) { createEditor_ = std::move(factory); }

    // Opens the editor of page 0..7, or brings the open one to the front
    // without reloading it. nullptr when the page has no editor.
    EditorWindow* OpenEditorPage(int page);
    EditorWindow* editorOfPage(int page) const;
    QMdiSubWindow* subWindowOfPage(int page) const;

    // The file the configuration belongs to ("" for none): it follows undo and redo.
    QString currentFile() const;
    // Whether the configuration differs from its file, or from a fresh one without a file.
    bool configurationModified() const;
    // Keeps a note in the status bar that a virtual radio serves this run, in the interface language.
    void showVirtualRadioNote(const QString& portName, const QString& devicePath);
    // The printable report of the configuration as it stands, what is being typed included.
    QString reportHtml();

public slots:
    // Applies the Language setting, relabels this window and reloads every open editor.
    void RefreshAllViews();
    void RelabelMainWindow();
    // Writes what is being typed in any open editor into the record, pages 0..7.
    void CommitPendingEdits();

    void TreeView1Click(QTreeWidgetItem* item);

    void FileNew1Execute();
    void FileOpen1Execute();
    void FileClose1Execute();
    void MenuFile_SaveClick();
    void FileExit1Execute();

    // Files (main_window_files.cpp). Opens a configuration file as one undoable
    // step; false (after saying why) when it cannot be read.
    bool openFile(const QString& path);
    // Start-up: a copy kept by a run that did not end normally is offered back.
    void offerAutosaveRestore();
    // Writes the autosave copy when one is due by the clock.
    void autosaveIfDue();
    // This program's autosave copy; "" before one was written.
    QString autosaveCopyPath() const { return ownAutosave_.path(); }

    // SIGTERM, SIGHUP or SIGINT: running sessions stop (no end frame, logged as
    // cancelled), a configuration that differs from its file is kept in the
    // autosave copy, and every event loop ends without the close question,
    // which would hold up a logout.
    void quitOnSignal();

    // Radio commands (main_window_radio_commands.cpp): the programming
    // session, the port dialog and the service mode start from here.
    void MenuEdit_ReadClick();
    void MenuEdit_WriteClick();
    // Edit > Check configuration: the check's list in a window of its own.
    void MenuEdit_CheckClick();
    // Edit > Write to several radios: the open configuration into every ticked radio at once.
    void MenuEdit_WriteSeveralClick();
    // File > Restore radio from backup: opens a chosen backup as the configuration
    // (one undoable step) and offers to write it.
    void MenuFile_RestoreClick();
    void MenuPortClick();
    void Menu_RadioTestClick();

    // File > Print and Export PDF (main_window_report.cpp): the configuration's printable report.
    void MenuFile_PrintClick();
    void MenuFile_ExportPdfClick();
    // Channels in and out as CSV, and the comparison with a file (main_window_interchange.cpp).
    void FileImportChannelsClick();
    void FileExportChannelsClick();
    void FileCompareWithFileClick();
    // Edit > Compare with radio (main_window_radio_compare.cpp): reads the radio apart
    // from the open configuration and lists what differs.
    void MenuEdit_CompareWithRadioClick();

    void MenuLanguage_ChsClick();
    void MenuLanguage_EnClick();

    void WindowCascadeItemClick();
    void WindowTileItemClick();
    void WindowTileItem2Click();
    void WindowMinimizeItemClick();
    void WindowArrangeItemClick();

    void HelpAbout1Execute();

protected:
    // The close question "Do you want to save data ?".
    void closeEvent(QCloseEvent* event) override;
    // A larger or smaller desktop font: every window is fitted again, as after a language switch.
    void changeEvent(QEvent* event) override;

private:
    // The command table (main_window_menus.cpp): every menu and item, built,
    // relabelled and enabled from it.
    struct CommandRow;
    static const std::vector<CommandRow>& commandTable();
    void buildMenus();
    QString captionOf(const CommandRow& row) const;
    void relabelCommands();
    // Undo and Redo follow the history, the editor commands the active editor;
    // exact: only where they apply now.
    void enableCommands(bool exact);
    void buildToolBar();
    void buildTree();
    void rebuildTree();
    void fitTreeToPageNames();
    void listOpenWindowsInWindowMenu();
    // Sets the Language setting (0 English, 1 Simplified) and relabels everything.
    void switchLanguage(int language);
    // Edit > Undo and Redo: every user action that changed the record's bytes is one step.
    void undoStep();
    void redoStep();
    // Edit > Cut .. Fill series (main_window_edit_commands.cpp).
    void runEditCommand(EditCommand command);
    // An editor's command ended: one step, and the other editors show its result.
    void takeCommandStep(EditorWindow* editor, StepName name);
    // Makes a change no editor reported a step of its own, named after the
    // active page, so that it is not folded into the next command's step.
    void recordUnreportedEdits();
    int activePage() const;
    void recordReadStep();
    // Before the configuration is replaced: unsaved changes may be saved first
    // (Yes saves, No drops them). False: leave everything as it is.
    bool unsavedChangesMayGo();
    // Puts a configuration read from a file in place of the open one as one step
    // called name; it then belongs to document ("" for none).
    void replaceConfiguration(const RadioData& replacement, StepName name, const QString& document);
    // The caption names the file and marks unsaved changes.
    void showDocumentState();
    // The status bar: a confirmation of what a command did, and the hint of an empty configuration.
    void confirm(const QString& text);
    void showStartHint();
    // The programming log: what a write of the open configuration records, and recording one.
    WriteLogContext writeLogContext() const;
    void logWrite(WriteAttemptLog& attempt, const SafeWriteResult& result);
    // Runs a configuration write's window: the started line when Start is pressed
    // (a write whose line cannot be added does not start), the outcome's line after.
    void runLoggedWrite(TProgramDialog& dlg, WriteAttemptLog& attempt);
    // Writes a backup's radio bytes back into the radio, after asking.
    void restoreExactly(const QString& backupPath, const MemoryImage& read);
    // Before any write: the check's list, the question on errors and the log's folder; false: do not write.
    bool readyToWrite();
    // Files (main_window_files.cpp)
    void addRecentFileItems(QMenu& menu);
    void showRecentFiles();
    // The file just opened or saved: the save dialog's proposal, the recent
    // files, and what the autosave compares with.
    void fileBecameCurrent(const QString& path);
    void recordMaybeChanged();
    // Writes the autosave copy now; false (said in the status bar) when it could not.
    bool writeAutosave();
    void removeAutosave();
    qint64 now() const;
    QString askFileName(bool save);
    // The file dialog, starting in the last folder used, proposing a name when given one.
    QString runFileDialog(bool save, const QString& nameFilter, const QString& suffix,
                          const QString& proposedName = {});
    // Commits, asks for a file and writes it; false when cancelled or failed.
    bool saveWithDialog();
    // Shows the check window with these problems, opening it if need be.
    void showCheckWindow(std::vector<ConfigurationProblem> problems);
    // Opens a problem's page; a channel's problem also selects its row in the channel grid.
    void openProblem(EditorPage page, int channel);
    QString askOtherFile(bool save, const QString& nameFilter, const QString& suffix);

    RadioData& data_;
    AppSettings& settings_;
    ServiceData serviceData_;   // the radio's factory data for the service mode; kept for the run only
    FileNameChooser chooseFileName_;
    QString lastFolder_;   // where the file dialogs start
    EditorFactory createEditor_;
    RecordHistory* history_ = nullptr;

    QMdiArea* mdiArea_ = nullptr;
    QTreeWidget* TreeView1 = nullptr;
    QDockWidget* treeDock_ = nullptr;
    QToolBar* ToolBar2 = nullptr;
    QMenu* Window1 = nullptr;
    std::vector<QAction*> windowListActions_;
    // Every menu and item with its row of the command table.
    std::vector<std::pair<QAction*, const CommandRow*>> commandItems_;

    std::array<QPointer<EditorWindow>, kEditorPageCount> editors_{};
    QPointer<TAboutBox> aboutBox_;
    std::vector<QAction*> recentFileItems_;
    QAction* recentFilesEnd_ = nullptr;   // the separator after them
    QString restoredBackup_;   // the backup last opened by Restore radio from backup
    // What each file holds as far as this run knows: as last opened or saved. The
    // entry of "" is the fresh configuration that a configuration without a file is compared with.
    QHash<QString, RadioRecord> fileContents_;
    QLabel* startHint_ = nullptr;
    QLabel* virtualRadioNote_ = nullptr;
    QString virtualRadioPort_, virtualRadioDevice_;
    AutosaveSchedule autosave_;
    OwnAutosave ownAutosave_;
    QTimer* autosaveTimer_ = nullptr;
    bool quitting_ = false;   // quitOnSignal ran
    bool refitQueued_ = false;   // a font change's re-fit waits for every widget to take the font
    Clock clock_;
    QPointer<CheckWindow> checkWindow_;
    QString askPdfFileName(const QString& suggested);
    OtherFileChooser chooseOtherFile_;
    QPointer<CompareWindow> compareWindow_;
    // Replaces the comparison shown, if any, with 'window' and brings it to the front.
    void showCompareWindow(CompareWindow* window);
};

}   // namespace k3n
