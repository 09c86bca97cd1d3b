// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's commands that reach the radio: reading and writing the
// configuration, the communication-port dialog and the service mode. Each
// opens its modal window here; the settings and the record are reachable
// through appSettings() and radioData().
#include "app/check_window.h"
#include "app/main_window.h"
#include "app/port_window.h"
#include "app/program_window.h"
#include "app/restore_window.h"
#include "app/service_mode.h"
#include "app/several_radios_window.h"
#include "comm/port_list.h"
#include "editors/channel_window.h"
#include "model/fse_file.h"
#include "model/own_files.h"
#include "model/record_layout.h"
#include "programming/radio_configuration.h"
#include "text/own_texts.h"
#include "widgets/message_windows.h"
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace k3n {

void TMainForm::MenuEdit_ReadClick()
{
    CommitPendingEdits();
    recordUnreportedEdits();
    TProgramDialog dlg(ConfigurationReadRequest(), SessionPortPlan(settings_), this);
    dlg.setPortsAtStart([this] { return SessionPortPlan(settings_); });
    // The record changes only after a successful read, once "SUCCESS" is closed.
    if (dlg.exec() == QDialog::Accepted && ApplyConfigurationRead(dlg.session(), data_)) {
        RefreshAllViews();
        recordReadStep();
    }
}

void TMainForm::MenuEdit_WriteClick()
{
    if (!readyToWrite())
        return;
    const PortPlan plan = SessionPortPlan(settings_);
    WriteLogContext context = writeLogContext();
    context.port = plan.auto_search ? QStringLiteral("auto") : plan.ports.value(0);   // as the user chose it
    WriteAttemptLog attempt(ProgrammingLogPath(), context, data_.record.get(rec::freq_band));
    TProgramDialog dlg(data_, settings_, plan, this);
    dlg.setPortsAtStart([this] { return SessionPortPlan(settings_); });
    runLoggedWrite(dlg, attempt);
}

void TMainForm::runLoggedWrite(TProgramDialog& dlg, WriteAttemptLog& attempt)
{
    // The started line goes into the log when Start is pressed, before the first frame.
    dlg.setBeforeStart([this, &attempt] {
        if (auto error = attempt.logStarted()) {
            ShowNotice(this, error->message);
            return false;
        }
        return true;
    });
    dlg.exec();
    if (const SafeWrite* chain = dlg.safeWrite(); chain && attempt.started())
        logWrite(attempt, chain->result());
}

bool TMainForm::readyToWrite()
{
    CommitPendingEdits();   // the image is built from what the editors hold now
    // Warnings are shown and the write goes on; errors need the user's Yes.
    std::vector<ConfigurationProblem> problems = CheckConfiguration(data_.record);
    const auto errors = std::count_if(problems.begin(), problems.end(),
                                      [](const ConfigurationProblem& p) { return p.severity == Severity::Error; });
    if (!problems.empty())
        showCheckWindow(std::move(problems));
    if (errors > 0
        && !AskYesNoDefaultNo(
            this, CountedText(errors, OwnText::CheckAskWriteWithErrorsOne, OwnText::CheckAskWriteWithErrors))) {
        // The question took the focus from the list; the user goes on with the list.
        checkWindow_->raise();
        checkWindow_->activateWindow();
        return false;
    }
    // Every write is logged; one that could not be is not started.
    if (auto error = CheckProgrammingLogWritable(ProgrammingLogPath())) {
        ShowNotice(this, error->message);   // it names the log and the reason
        return false;
    }
    return true;
}

void TMainForm::MenuEdit_WriteSeveralClick()
{
    if (!readyToWrite())
        return;
    SeveralRadiosWindow window(data_, writeLogContext(), settings_, HalvexComm32::TCommSerialPortInfo(), this);
    window.exec();
}

namespace {

bool FileHolds(const QString& path, const QByteArray& bytes)
{
    QByteArray held;
    return !path.isEmpty() && !ReadRegularFile(path, held) && held == bytes;
}

}   // namespace

WriteLogContext TMainForm::writeLogContext() const
{
    const RadioRecord& record = data_.record;
    const QByteArray bytes(reinterpret_cast<const char*>(record.bytes().data()), int(record.bytes().size()));
    // The log names a file only when what is written is that file's bytes.
    QString file;
    if (FileHolds(currentFile(), bytes))
        file = currentFile();
    else if (FileHolds(restoredBackup_, bytes))
        file = Text(OwnText::LogFileRestoredBackup).arg(QFileInfo(restoredBackup_).fileName());
    else if (!currentFile().isEmpty())
        file = Text(OwnText::LogFileUnsavedChanges).arg(QFileInfo(currentFile()).fileName());
    else
        file = Text(OwnText::LogFileUnsaved);
    return {QString(), QString(), file, bytes};
}

void TMainForm::logWrite(WriteAttemptLog& attempt, const SafeWriteResult& result)
{
    if (auto error = attempt.logOutcome(result))   // its device: the one the write held open
        ShowNotice(this, error->message);
}

void TMainForm::MenuFile_RestoreClick()
{
    RestoreWindow chooser(BackupFolder(), this);
    if (chooser.exec() != QDialog::Accepted || chooser.chosenPath().isEmpty())
        return;
    CommitPendingEdits();
    recordUnreportedEdits();   // what was typed stays a step of its own
    const QString path = chooser.chosenPath();
    RadioData backup = data_;
    if (auto error = LoadFseFile(path, backup)) {
        ShowNotice(this, Text(OwnText::CannotOpenFile).arg(QDir::toNativeSeparators(path), error->message()));
        return;
    }
    if (!unsavedChangesMayGo())
        return;
    // The backup is the radio's, not a file of the user's: Save asks for a name.
    replaceConfiguration(
        backup, [] { return Text(OwnText::StepRestoreBackup); }, QString());
    restoredBackup_ = path;
    // A backup that kept the radio's own bytes goes back exactly; an older one as a configuration.
    if (const std::optional<MemoryImage> read = ReadBackupRadioBytes(path))
        restoreExactly(path, *read);
    else if (AskYesNoDefaultNo(this, Text(OwnText::RestoreAskWrite)))
        MenuEdit_WriteClick();
}

void TMainForm::restoreExactly(const QString& backupPath, const MemoryImage& read)
{
    const BackupRadio radio = BackupRadioOf(read);
    const QString taken = DescribeBackup(backupPath).taken.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!AskYesNoDefaultNo(this,
                           Text(OwnText::RestoreAskWriteExact).arg(radio.serial, BandCodeText(radio.band_code), taken)))
        return;
    const PortPlan plan = SessionPortPlan(settings_);
    TProgramDialog dlg(data_, settings_, plan, this);
    dlg.setPortsAtStart([this] { return SessionPortPlan(settings_); });
    dlg.setExactRestore(read);
    const MemoryImage written = ExactRestoreWriteRequest(read).image;
    WriteLogContext context{plan.auto_search ? QStringLiteral("auto") : plan.ports.value(0), QString(),
                            Text(OwnText::LogFileRestoredBackup).arg(QFileInfo(backupPath).fileName()),
                            QByteArray(reinterpret_cast<const char*>(written.data()), int(written.size()))};
    WriteAttemptLog attempt(ProgrammingLogPath(), context, RadioConfigurationOf(read).record.get(rec::freq_band));
    runLoggedWrite(dlg, attempt);
}

void TMainForm::MenuEdit_CheckClick()
{
    CommitPendingEdits();   // the check sees what is being typed too
    showCheckWindow(CheckConfiguration(data_.record));
}

void TMainForm::showCheckWindow(std::vector<ConfigurationProblem> problems)
{
    if (!checkWindow_) {
        checkWindow_ = new CheckWindow(this);
        checkWindow_->setAttribute(Qt::WA_DeleteOnClose);
        connect(checkWindow_, &CheckWindow::placeChosen, this, &TMainForm::openProblem);
    }
    checkWindow_->setProblems(std::move(problems));
    checkWindow_->show();
    checkWindow_->raise();
    checkWindow_->activateWindow();
}

void TMainForm::openProblem(EditorPage page, int channel)
{
    EditorWindow* editor = OpenEditorPage(int(page));
    if (auto* channels = qobject_cast<TChInforDlg*>(editor); channels && channel > 0)
        channels->showChannel(channel);
    activateWindow();
}

void TMainForm::MenuPortClick()
{
    TCommunicationPort dlg(settings_, HalvexComm32::TCommSerialPortInfo().Ports(), this);
    dlg.exec();
}

void TMainForm::Menu_RadioTestClick()
{
    // "Write All" sends the whole configuration: the editors' pending values go with it.
    OpenServiceMode(this, serviceData_, data_, settings_, [this] { CommitPendingEdits(); });
}

}   // namespace k3n
