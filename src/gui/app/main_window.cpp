// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"
#include "app/about_window.h"
#include "app/check_window.h"
#include "app/compare_window.h"
#include "app/mdi_arrangement.h"
#include "app/qt_translations.h"
#include "model/fse_file.h"
#include "model/user_data_folder.h"
#include "text/app_lang.h"
#include "text/own_texts.h"
#include "text/ui_text.h"
#include "text/ui_text_ids.h"
#include "widgets/message_windows.h"
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>

namespace k3n {

namespace {
constexpr const char* kTreeRootText = "K3N";   // the product name, in every language

// Step names are texts of the moment: they follow a language switch.
StepName PageStep(int page)
{
    return [page] { return Text(OwnText::StepEditPage).arg(PlainCaption(UiText(kEditorPageTexts[page]))); };
}
StepName CommandStep(int captionText)
{
    return [captionText] { return PlainCaption(UiText(captionText)); };
}
StepName OwnStep(OwnText text)
{
    return [text] { return Text(text); };
}
}   // namespace

TMainForm::TMainForm(RadioData& data, AppSettings& settings, QWidget* parent)
    : QMainWindow(parent), data_(data), settings_(settings), createEditor_(CreateEditorForPage),
      ownAutosave_(UserDataFolder())
{
    setObjectName("MainForm");
    setWindowIcon(QIcon(QStringLiteral(":/icons/k3n.png")));
    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName("MdiArea");
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdiArea_);
    history_ = new RecordHistory(
        data_, [this] { RefreshAllViews(); }, this);
    autosaveTimer_ = new QTimer(this);
    autosaveTimer_->setSingleShot(true);
    connect(autosaveTimer_, &QTimer::timeout, this, &TMainForm::autosaveIfDue);
    buildMenus();
    connect(history_, &RecordHistory::changed, this, &TMainForm::recordMaybeChanged);
    buildToolBar();
    buildTree();
    statusBar()->setObjectName("StatusBar");
    startHint_ = new QLabel(statusBar());
    startHint_->setObjectName("StartHint");
    statusBar()->addWidget(startHint_, 1);   // hidden while a message or a menu tip is shown
    connect(history_, &RecordHistory::changed, this, &TMainForm::showDocumentState);
    connect(history_, &RecordHistory::changed, this, &TMainForm::showStartHint);
    fileContents_.insert(QString(), data_.record);
    resize(1024, 720);
    RefreshAllViews();
    fitTreeToPageNames();
    lastFolder_ =
        settings_.RecentFiles.isEmpty() ? QString() : QFileInfo(settings_.RecentFiles.constFirst()).absolutePath();
}

TMainForm::~TMainForm()
{
    // The work area and the menus outlive this part of the window while it is
    // taken down; what they report then concerns no one.
    mdiArea_->disconnect(this);
    for (QMenu* menu : menuBar()->findChildren<QMenu*>())
        menu->disconnect(this);
}

void TMainForm::buildToolBar()
{
    struct ButtonSpec {
        const char* action;   // nullptr: a separator
        const char* icon;
        bool showText;
    };
    static const ButtonSpec buttons[] = {
        {"FileNewItem", ":/icons/new.png", true},
        {"FileOpenItem", ":/icons/open.png", true},
        {"MenuFile_Save", ":/icons/save.png", true},
        {nullptr, nullptr, false},
        {"MenuEdit_Read", ":/icons/read.png", false},
        {"MenuEdit_Write", ":/icons/write.png", false},
        {nullptr, nullptr, false},
    };
    ToolBar2 = addToolBar(QString());
    ToolBar2->setObjectName("ToolBar2");
    ToolBar2->setMovable(false);
    ToolBar2->setIconSize(QSize(24, 24));
    for (const ButtonSpec& b : buttons) {
        if (!b.action) {
            ToolBar2->addSeparator();
            continue;
        }
        QAction* action = findChild<QAction*>(b.action);
        action->setIcon(QIcon(QString::fromLatin1(b.icon)));
        ToolBar2->addAction(action);
        if (auto* button = qobject_cast<QToolButton*>(ToolBar2->widgetForAction(action)))
            button->setToolButtonStyle(b.showText ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonIconOnly);
    }
}

void TMainForm::buildTree()
{
    auto* dock = treeDock_ = new QDockWidget(this);
    dock->setObjectName("TreeDock");
    dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    dock->setTitleBarWidget(new QWidget(dock));   // no title bar: the tree is part of the frame
    TreeView1 = new QTreeWidget(dock);
    TreeView1->setObjectName("TreeView1");
    TreeView1->setHeaderHidden(true);
    TreeView1->setColumnCount(1);
    // The column keeps the width of its texts, which sizes the tree; stretched
    // to the tree it would widen the tree at every relabelling.
    TreeView1->header()->setStretchLastSection(false);
    dock->setWidget(TreeView1);
    addDockWidget(Qt::LeftDockWidgetArea, dock);
    connect(TreeView1, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { TreeView1Click(item); });
    connect(TreeView1, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { TreeView1Click(item); });
    // Enter on a page opens it, as a click does.
    connect(TreeView1, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { TreeView1Click(item); });
}

void TMainForm::rebuildTree()
{
    QIcon pageIcon(QStringLiteral(":/icons/page.png"));
    pageIcon.addFile(QStringLiteral(":/icons/page_selected.png"), QSize(), QIcon::Selected);
    TreeView1->clear();
    TreeView1->setAccessibleName(Text(OwnText::SpokenPageTree));
    TreeView1->setHeaderLabel(Text(OwnText::SpokenPageTree));   // hidden, but read as the column's name
    auto* root = new QTreeWidgetItem(TreeView1, QStringList{QString::fromLatin1(kTreeRootText)});
    root->setIcon(0, pageIcon);
    for (int page = 0; page < kEditorPageCount; ++page) {
        auto* node = new QTreeWidgetItem(root, QStringList{UiText(kEditorPageTexts[page])});
        node->setIcon(0, pageIcon);
    }
    TreeView1->expandAll();
    TreeView1->resizeColumnToContents(0);   // whole names; the tree itself is wide enough for every language
}

void TMainForm::fitTreeToPageNames()
{
    // Wide enough for the longest page name of every language: a language
    // switch never cuts a name off nor changes the workspace of the editors.
    static const std::array<TAppLang, 3> languages = {TAppLang(kLangIdEnglishUs), TAppLang(kLangIdChinesePrc),
                                                      TAppLang(kLangIdChineseTaiwan)};
    const QFontMetrics metrics(TreeView1->font());
    int widest = 0;
    int widestShown = 0;
    for (int text : kEditorPageTexts) {
        widestShown = std::max(widestShown, metrics.horizontalAdvance(UiText(text)));
        for (const TAppLang& lang : languages)
            widest = std::max(widest, metrics.horizontalAdvance(UiText(lang, text)));
    }
    const int width = TreeView1->columnWidth(0) + widest - widestShown + 2 * TreeView1->frameWidth() + 16;
    TreeView1->setMinimumWidth(std::max(width, 150));
    resizeDocks({treeDock_}, {std::max(width, 150)}, Qt::Horizontal);
}

void TMainForm::RefreshAllViews()
{
    ApplyLanguageSetting(settings_.Language);
    InstallQtTranslations(appLang().langType());
    RelabelMainWindow();
    for (int page = 0; page < kEditorPageCount; ++page) {
        if (EditorWindow* editor = editors_[page]) {
            editor->RefreshAll();
            // Texts of another language may need more room.
            GrowToFitContent(*mdiArea_, *subWindowOfPage(page));
        }
    }
}

void TMainForm::RelabelMainWindow()
{
    showDocumentState();
    showStartHint();
    if (virtualRadioNote_)
        virtualRadioNote_->setText(Text(OwnText::VirtualRadioAttached).arg(virtualRadioPort_, virtualRadioDevice_));
    relabelCommands();
    if (checkWindow_)
        checkWindow_->setProblems(CheckConfiguration(data_.record));
    if (compareWindow_)
        compareWindow_->compare(data_.record);   // the open configuration may have changed too
    rebuildTree();
}

void TMainForm::CommitPendingEdits()
{
    // Focusing bHide brings its window to the front; the user's window stays in front.
    QMdiSubWindow* active = mdiArea_->activeSubWindow();
    for (const QPointer<EditorWindow>& editor : editors_) {
        if (editor)
            editor->CommitPendingEdits();
    }
    // The focus ends in the user's window too: while a dialog is up the front
    // cannot change, and the main window, activated again, brings up the
    // window that holds its focus.
    if (auto* editor = active ? qobject_cast<EditorWindow*>(active->widget()) : nullptr)
        editor->CommitPendingEdits();
    if (active && active != mdiArea_->activeSubWindow())
        mdiArea_->setActiveSubWindow(active);
}

EditorWindow* TMainForm::editorOfPage(int page) const
{
    return page >= 0 && page < kEditorPageCount ? editors_[page].data() : nullptr;
}

QMdiSubWindow* TMainForm::subWindowOfPage(int page) const
{
    EditorWindow* editor = editorOfPage(page);
    return editor ? qobject_cast<QMdiSubWindow*>(editor->parentWidget()) : nullptr;
}

EditorWindow* TMainForm::OpenEditorPage(int page)
{
    if (page < 0 || page >= kEditorPageCount)
        return nullptr;
    if (EditorWindow* open = editors_[page]) {
        QMdiSubWindow* sub = subWindowOfPage(page);
        if (sub->isMinimized())
            sub->showNormal();
        sub->show();
        mdiArea_->setActiveSubWindow(sub);
        return open;
    }
    EditorWindow* editor = createEditor_(page, data_, this);
    if (!editor)
        return nullptr;
    editors_[page] = editor;
    connect(editor, &EditorWindow::refreshAllViewsRequested, this, [this] {
        RefreshAllViews();
        history_->recordStep(OwnStep(OwnText::StepBandChange));
    });
    connect(editor, &EditorWindow::recordWritten, this, [this, page] { history_->recordStep(PageStep(page)); });
    connect(editor, &EditorWindow::commandEnded, this,
            [this, editor](StepName name) { takeCommandStep(editor, std::move(name)); });
    connect(editor, &EditorWindow::confirmed, this, &TMainForm::confirm);
    QMdiSubWindow* sub = mdiArea_->addSubWindow(editor);
    // An editor that closes itself takes its frame with it.
    connect(editor, &QObject::destroyed, sub, &QObject::deleteLater);
    sub->show();
    PlaceAtTopLeft(*mdiArea_, *sub);
    mdiArea_->setActiveSubWindow(sub);
    return editor;
}

void TMainForm::TreeView1Click(QTreeWidgetItem* item)
{
    if (!item)
        return;
    // A node's page is its position among its siblings, so the root is page 0 too.
    const int page = item->parent() ? item->parent()->indexOfChild(item) : TreeView1->indexOfTopLevelItem(item);
    OpenEditorPage(page);
}

void TMainForm::FileNew1Execute()
{
    if (!AskOkCancel(this, UiText(ui::kClearAllData)))
        return;
    // What is being typed belongs to the configuration being cleared; commit
    // it now so it cannot land in the new one when its control loses the focus.
    CommitPendingEdits();
    recordUnreportedEdits();
    data_.ResetForBand(0);
    fileContents_.insert(QString(), data_.record);   // unchanged until the user changes it
    RefreshAllViews();
    // A fresh configuration has no file name to propose.
    history_->recordDocumentStep(CommandStep(ui::kMenuNew), QString());
}

void TMainForm::FileOpen1Execute()
{
    CommitPendingEdits();
    recordUnreportedEdits();
    const QString path = askFileName(false);
    if (!path.isEmpty())
        openFile(path);
}

void TMainForm::undoStep()
{
    // What is being typed becomes a step first, so undo takes back the latest change.
    CommitPendingEdits();
    recordUnreportedEdits();
    history_->undo();
}

void TMainForm::redoStep()
{
    // A change made after an undo is a step that leaves nothing to redo.
    CommitPendingEdits();
    recordUnreportedEdits();
    history_->redo();
}

void TMainForm::recordReadStep()
{
    // What the radio holds is in no file yet: Save asks for a name.
    history_->recordDocumentStep(CommandStep(ui::kMenuReadFromRadio), QString());
}

void TMainForm::recordUnreportedEdits()
{
    const int page = activePage();
    history_->recordStep(page >= 0 ? PageStep(page) : OwnStep(OwnText::StepEdit));
}

int TMainForm::activePage() const
{
    QMdiSubWindow* active = mdiArea_->activeSubWindow();
    for (int page = 0; page < kEditorPageCount; ++page) {
        if (active && active == subWindowOfPage(page))
            return page;
    }
    return -1;
}

void TMainForm::MenuFile_SaveClick()
{
    saveWithDialog();
}

bool TMainForm::saveWithDialog()
{
    CommitPendingEdits();
    const QString path = askFileName(true);
    if (path.isEmpty())
        return false;
    if (auto error = SaveFseFile(path, data_.record)) {
        ShowNotice(this, Text(OwnText::CannotSaveFile).arg(QDir::toNativeSeparators(path), error->message()));
        return false;
    }
    const QString absolute = QFileInfo(path).absoluteFilePath();
    fileContents_.insert(absolute, data_.record);
    history_->renameDocument(absolute);
    fileBecameCurrent(absolute);
    confirm(Text(OwnText::StatusSaved).arg(QDir::toNativeSeparators(absolute)));
    return true;
}

QString TMainForm::askFileName(bool save)
{
    if (chooseFileName_)
        return chooseFileName_(save);
    const QString proposed = save ? QFileInfo(currentFile()).fileName() : QString();
    return runFileDialog(save, QString::fromLatin1(kFseFilter), QString::fromLatin1(kFseSuffix), proposed);
}

QString TMainForm::runFileDialog(bool save, const QString& nameFilter, const QString& suffix,
                                 const QString& proposedName)
{
    QFileDialog dialog(this, UiText(save ? ui::kSaveTitle : ui::kOpenTitle), lastFolder_);
    dialog.setNameFilter(nameFilter);
    dialog.setDefaultSuffix(suffix);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!proposedName.isEmpty())
        dialog.selectFile(proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString path = dialog.selectedFiles().constFirst();
    lastFolder_ = QFileInfo(path).absolutePath();
    return path;
}

void TMainForm::FileClose1Execute()
{
    mdiArea_->closeActiveSubWindow();
}

void TMainForm::FileExit1Execute()
{
    close();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    TMyWarnDlg_3 question(this);
    question.Label1->setText(UiText(ui::kSaveDataQuestion));
    const int answer = question.exec();
    // Leaving after a cancelled or failed save would lose the configuration,
    // so then the program stays open with its data.
    const bool leave = answer == TMyWarnDlg_3::No || (answer == TMyWarnDlg_3::Yes && saveWithDialog());
    if (leave) {
        ownAutosave_.removeAtExit();   // a normal end: nothing to offer back at the next start
        event->accept();
    } else
        event->ignore();
}

void TMainForm::quitOnSignal()
{
    if (quitting_)
        return;
    quitting_ = true;
    // Every event loop ends, the modal windows' too, and a notice shown on the
    // way does not wait for an answer. The queued quit ends the main loop even
    // when it has not started yet (a signal during the start-up question).
    QCoreApplication::exit(0);
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    // A window running a session cancels it (no end frame); the command that
    // opened it logs the attempt once its window's loop has returned.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible())
            dialog->reject();
    }
    CommitPendingEdits();
    if (configurationModified())
        writeAutosave();   // kept: the next start offers it back
}

void TMainForm::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::FontChange || refitQueued_)
        return;
    refitQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            refitQueued_ = false;
            CommitPendingEdits();   // the editors reload from the record
            RefreshAllViews();
            fitTreeToPageNames();
        },
        Qt::QueuedConnection);
}

void TMainForm::MenuLanguage_ChsClick()
{
    switchLanguage(1);
}
void TMainForm::MenuLanguage_EnClick()
{
    switchLanguage(0);
}

void TMainForm::switchLanguage(int language)
{
    // Every window reloads from the record: what is being typed must be there first.
    CommitPendingEdits();
    settings_.Language = language;
    RefreshAllViews();
}

void TMainForm::WindowCascadeItemClick()
{
    mdiArea_->cascadeSubWindows();
}
void TMainForm::WindowTileItemClick()
{
    TileSubWindowsHorizontally(*mdiArea_);
}
void TMainForm::WindowTileItem2Click()
{
    TileSubWindowsVertically(*mdiArea_);
}
void TMainForm::WindowMinimizeItemClick()
{
    MinimizeAllSubWindows(*mdiArea_);
}
void TMainForm::WindowArrangeItemClick()
{
    ArrangeMinimizedSubWindows(*mdiArea_);
}

void TMainForm::listOpenWindowsInWindowMenu()
{
    for (QAction* action : windowListActions_)
        delete action;
    windowListActions_.clear();
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty())
        return;
    windowListActions_.push_back(Window1->addSeparator());
    int number = 0;
    for (QMdiSubWindow* sub : windows) {
        ++number;
        QAction* action = Window1->addAction(QStringLiteral("&%1 %2").arg(number).arg(sub->windowTitle()));
        action->setObjectName(QStringLiteral("WindowListItem%1").arg(number));
        action->setCheckable(true);
        action->setChecked(sub == mdiArea_->activeSubWindow());
        connect(action, &QAction::triggered, this, [this, sub = QPointer<QMdiSubWindow>(sub)] {
            if (!sub)
                return;
            if (sub->isMinimized())
                sub->showNormal();
            mdiArea_->setActiveSubWindow(sub);
        });
        windowListActions_.push_back(action);
    }
}

void TMainForm::HelpAbout1Execute()
{
    if (!aboutBox_)
        aboutBox_ = new TAboutBox(this);
    aboutBox_->Relabel();
    aboutBox_->exec();
}

}   // namespace k3n
