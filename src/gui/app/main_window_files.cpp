// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's files: opening, the recent files in the File menu, and the
// autosave copy kept while the configuration differs from its file.
#include "app/main_window.h"
#include "model/fse_file.h"
#include "model/user_data_folder.h"
#include "text/own_texts.h"
#include "text/ui_text.h"
#include "text/ui_text_ids.h"
#include "widgets/message_windows.h"
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>

namespace k3n {

namespace {
// The clock the autosave uses unless a test gives another.
qint64 SteadyMilliseconds()
{
    static QElapsedTimer started;
    if (!started.isValid())
        started.start();
    return started.elapsed();
}
}   // namespace

qint64 TMainForm::now() const
{
    return clock_ ? clock_() : SteadyMilliseconds();
}

bool TMainForm::openFile(const QString& path)
{
    CommitPendingEdits();
    recordUnreportedEdits();
    RadioData opened = data_;
    if (auto error = LoadFseFile(path, opened)) {
        ShowNotice(this, Text(OwnText::CannotOpenFile).arg(QDir::toNativeSeparators(path), error->message()));
        return false;
    }
    if (!unsavedChangesMayGo())
        return false;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    fileContents_.insert(absolute, opened.record);
    replaceConfiguration(
        opened, [] { return PlainCaption(UiText(ui::kMenuOpen)); }, absolute);
    fileBecameCurrent(absolute);
    return true;
}

void TMainForm::fileBecameCurrent(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    lastFolder_ = QFileInfo(absolute).absolutePath();
    QStringList& recent = settings_.RecentFiles;
    recent.removeAll(absolute);
    recent.prepend(absolute);
    while (recent.size() > kRecentFileCount)
        recent.removeLast();
    showRecentFiles();
    recordMaybeChanged();
    showDocumentState();
}

void TMainForm::addRecentFileItems(QMenu& menu)
{
    for (int i = 0; i < kRecentFileCount; ++i) {
        QAction* item = menu.addAction(QString());
        item->setObjectName(QStringLiteral("FileRecentItem%1").arg(i + 1));
        connect(item, &QAction::triggered, this, [this, i] {
            const QString path = settings_.RecentFiles.value(i);
            if (path.isEmpty())
                return;
            if (!QFileInfo::exists(path)) {
                settings_.RecentFiles.removeAll(path);   // gone: no use offering it again
                showRecentFiles();
            }
            openFile(path);
        });
        recentFileItems_.push_back(item);
    }
    recentFilesEnd_ = menu.addSeparator();
    showRecentFiles();
}

void TMainForm::showRecentFiles()
{
    const QStringList& recent = settings_.RecentFiles;
    for (int i = 0; i < int(recentFileItems_.size()); ++i) {
        QAction* item = recentFileItems_[i];
        const bool used = i < recent.size();
        item->setVisible(used);
        if (used) {
            // An ampersand in a file name is shown, not taken as a shortcut.
            const QString shown = QDir::toNativeSeparators(recent[i]).replace('&', QStringLiteral("&&"));
            item->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
            item->setStatusTip(QDir::toNativeSeparators(recent[i]));
        }
    }
    recentFilesEnd_->setVisible(!recent.isEmpty());
}

void TMainForm::recordMaybeChanged()
{
    if (!autosaveTimer_)
        return;
    if (!configurationModified()) {
        autosave_.noteClean();
        autosaveTimer_->stop();
        removeAutosave();
        return;
    }
    autosave_.noteChange(now());
    autosaveTimer_->start(int(autosave_.msUntilDue(now())));
}

void TMainForm::autosaveIfDue()
{
    // Typing not yet stored in the record is not in the copy either; it is
    // kept in the record by the next step.
    if (!autosave_.isDue(now())) {
        if (autosave_.isPending())
            autosaveTimer_->start(int(autosave_.msUntilDue(now())));
        return;
    }
    if (!writeAutosave()) {
        autosave_.noteWritten(now());   // try again after the interval, not at once
        autosave_.noteChange(now());
        autosaveTimer_->start(int(autosave_.msUntilDue(now())));
        return;
    }
    autosave_.noteWritten(now());
}

bool TMainForm::writeAutosave()
{
    if (auto error = ownAutosave_.write(data_.record)) {
        // Said in the status bar only: a failing copy must not interrupt editing.
        const QString path = ownAutosave_.path().isEmpty() ? UserDataFolder() : ownAutosave_.path();
        statusBar()->showMessage(Text(OwnText::AutosaveFailed).arg(QDir::toNativeSeparators(path), error->message()));
        return false;
    }
    return true;
}

void TMainForm::removeAutosave()
{
    ownAutosave_.remove();
}

void TMainForm::offerAutosaveRestore()
{
    // Copies of programs still running are not among them: their locks are held.
    std::vector<LeftAutosave> copies = ClaimLeftAutosaves(UserDataFolder());
    for (LeftAutosave& copy : copies) {
        const QString when = QLocale().toString(copy.written, QLocale::ShortFormat);
        // Yes restores, No deletes the copy, Cancel (or Escape) keeps it for the next start.
        TMyWarnDlg_3 question(this);
        question.setObjectName("AutosaveRestoreQuestion");
        question.Label1->setText(Text(OwnText::AskRestoreAutosave).arg(QDir::toNativeSeparators(copy.path), when));
        question.OKBtn->setDefault(true);
        const int answer = question.exec();
        if (answer == TMyWarnDlg_3::No)
            copy.discard();
        if (answer != TMyWarnDlg_3::Yes)
            continue;
        CommitPendingEdits();
        recordUnreportedEdits();
        if (auto error = LoadFseFile(copy.path, data_)) {
            ShowNotice(this, Text(OwnText::CannotOpenFile).arg(QDir::toNativeSeparators(copy.path), error->message()));
            return;   // left in place: the user may still want to look at it
        }
        RefreshAllViews();
        history_->recordStep([] { return Text(OwnText::StepRestoreAutosave); });
        // The configuration lives on in this program's own copy; the old one goes once that is written.
        if (!configurationModified() || writeAutosave()) {
            autosave_.noteWritten(now());
            copy.discard();
        }
        return;   // one configuration at a time: the other copies wait for the next start
    }
}

}   // namespace k3n
