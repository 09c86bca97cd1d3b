// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program_window.h"
#include "app/changes_window.h"
#include "comm/port_identity.h"
#include "programming/session_texts.h"
#include "text/own_texts.h"
#include "text/ui_text.h"
#include "text/ui_text_ids.h"
#include "widgets/message_windows.h"
#include "widgets/spoken_names.h"
#include <QCheckBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace k3n {

using HalvexComm32::TCommPortEntry;
using HalvexComm32::TCommSerialPortInfo;

PortPlan SessionPortPlan(const AppSettings& settings, const QList<TCommPortEntry>& ports)
{
    PortPlan plan;
    plan.auto_search = settings.AutoSeachPort;
    if (plan.auto_search) {
        for (const TCommPortEntry& p : ports)
            plan.ports.push_back(p.name);
        return plan;
    }
    // The remembered cable, wherever it is now (also beyond COM9, which Port cannot
    // hold); when it is gone the session says so.
    const auto cable = HalvexComm32::FindRememberedCable(settings.PortId, settings.Port, ports);
    if (cable.where == HalvexComm32::CableLookup::Where::Gone)
        plan.missing_cable = settings.PortId;
    plan.ports.push_back(TCommSerialPortInfo::PortName(cable.port));
    return plan;
}

PortPlan SessionPortPlan(const AppSettings& settings)
{
    TCommSerialPortInfo info;
    return SessionPortPlan(settings, info.Ports());
}

namespace {
// "COM2 — /dev/pts/4 (virtual radio)" for a port name of the list, else the name or path as given.
QString PortDisplayText(const QString& name, const TCommSerialPortInfo& info)
{
    for (const TCommPortEntry& p : info.Ports())
        if (p.name.compare(name, Qt::CaseInsensitive) == 0)
            return TCommSerialPortInfo::DisplayText(p);
    return name;
}
}   // namespace

TProgramDialog::TProgramDialog(SessionRequest request, PortPlan ports, QWidget* parent)
    : QDialog(parent), session_(std::make_unique<ProgrammingSession>(std::move(request), std::move(ports))),
      runner_(std::make_unique<SessionRunner>(*session_))
{
    const bool read = session_->request().direction == Direction::Read;
    BuildWindow(PlainCaption(UiText(read ? ui::kMenuReadFromRadio : ui::kMenuWriteToRadio)));
}

TProgramDialog::TProgramDialog(const RadioData& data, AppSettings& settings, PortPlan ports, QWidget* parent)
    : QDialog(parent), writeData_(&data), settings_(&settings), writePorts_(std::move(ports))
{
    cBackup = new QCheckBox(Text(OwnText::SafeWriteBackupOption), this);
    cBackup->setObjectName("cBackup");
    cBackup->setChecked(settings.BackupBeforeWrite);
    cVerify = new QCheckBox(Text(OwnText::SafeWriteVerifyOption), this);
    cVerify->setObjectName("cVerify");
    cVerify->setChecked(settings.VerifyAfterWrite);
    // The changes are those between the backup and this configuration: no backup, nothing to show.
    cShowChanges = new QCheckBox(Text(OwnText::SafeWriteShowChangesOption), this);
    cShowChanges->setObjectName("cShowChanges");
    cShowChanges->setChecked(settings.ShowChangesBeforeWrite);
    cShowChanges->setEnabled(cBackup->isChecked());
    cChangedOnly = new QCheckBox(Text(OwnText::SafeWriteChangedOnlyOption), this);
    cChangedOnly->setObjectName("cChangedOnly");
    cChangedOnly->setChecked(settings.WriteChangedOnly);
    sExperimental = new QLabel(Text(OwnText::SafeWriteExperimental), this);
    sExperimental->setObjectName("sExperimental");
    sExperimental->setToolTip(Text(OwnText::SafeWriteExperimentalTip));
    cChangedOnly->setToolTip(sExperimental->toolTip());
    EnableChangedOnly();
    sPhase = new QLabel(this);
    sPhase->setObjectName("sPhase");
    MakeLiveLine(sPhase);
    BuildWindow(PlainCaption(UiText(ui::kMenuWriteToRadio)));
    connect(cBackup, &QCheckBox::toggled, this, [this](bool on) {
        settings_->BackupBeforeWrite = on;
        cShowChanges->setEnabled(on);
        EnableChangedOnly();
    });
    connect(cShowChanges, &QCheckBox::toggled, this, [this](bool on) { settings_->ShowChangesBeforeWrite = on; });
    connect(cChangedOnly, &QCheckBox::toggled, this, [this](bool on) { settings_->WriteChangedOnly = on; });
    connect(cVerify, &QCheckBox::toggled, this, [this](bool on) {
        settings_->VerifyAfterWrite = on;
        EnableChangedOnly();
    });
}

void TProgramDialog::EnableChangedOnly()
{
    const bool possible = cBackup->isChecked() && cVerify->isChecked();
    cChangedOnly->setEnabled(possible);
    sExperimental->setEnabled(possible);
}

void TProgramDialog::BuildWindow(const QString& title)
{
    setObjectName("TProgramDialog");
    setWindowTitle(title);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setRange(0, kProgressMax);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setMinimumWidth(320);
    ProgressBar1->setAccessibleName(title);   // its value is read as the progress of what the window does
    sPort = new QLabel(this);
    sPort->setObjectName("sPort");
    MakeLiveLine(sPort);
    ProgramStart = new QPushButton(ProgramDialogText(ProgramText::Start), this);
    ProgramStart->setObjectName("ProgramStart");
    ProgramStart->setDefault(true);
    CancelBtn = new QPushButton(ProgramDialogText(ProgramText::Cancel), this);
    CancelBtn->setObjectName("CancelBtn");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ProgramStart);
    buttons->addWidget(CancelBtn);
    buttons->addStretch();
    auto* column = new QVBoxLayout(this);
    for (QCheckBox* option : {cBackup, cShowChanges})
        if (option)
            column->addWidget(option);
    if (cChangedOnly) {   // "(experimental)" beside it
        auto* row = new QHBoxLayout;
        row->addWidget(cChangedOnly);
        row->addWidget(sExperimental);
        row->addStretch();
        column->addLayout(row);
    }
    if (cVerify)
        column->addWidget(cVerify);
    if (sPhase)
        column->addWidget(sPhase);
    column->addWidget(ProgressBar1);
    column->addWidget(sPort);
    column->addLayout(buttons);

    Timer_Tx = new QTimer(this);
    Timer_Tx->setObjectName("Timer_Tx");
    Timer_Tx->setSingleShot(true);
    Timer_Tx->setTimerType(Qt::PreciseTimer);   // the read tick is 2 ms

    ShowPort();

    connect(ProgramStart, &QPushButton::clicked, this, &TProgramDialog::ProgramStartClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(Timer_Tx, &QTimer::timeout, this, &TProgramDialog::Timer_TxTimer);
}

TProgramDialog::~TProgramDialog()
{
    Timer_Tx->stop();
    if (chain_ && chain_->running())
        chain_->Cancel();
    else if (session_ && session_->running())
        runner_->Cancel();
}

bool TProgramDialog::Running() const
{
    return chain_ ? chain_->running() : session_ && session_->running();
}

const ProgrammingSession* TProgramDialog::CurrentSession() const
{
    return chain_ ? chain_->session() : session_.get();
}

void TProgramDialog::ProgramStartClick()
{
    if (writeData_) {
        if (chain_)
            return;
        if (beforeStart_ && !beforeStart_()) {
            done(Rejected);
            return;
        }
        cBackup->setEnabled(false);
        cVerify->setEnabled(false);
        cShowChanges->setEnabled(false);
        cChangedOnly->setEnabled(false);
        SafeWriteOptions options;
        options.backup = cBackup->isChecked();
        options.verify = cVerify->isChecked();
        options.changed_only = cChangedOnly->isChecked();   // the chain uses it only with both reads
        if (options.backup && cShowChanges->isChecked()) {
            options.before_write = [this](const RadioData& radio, const RadioData& toWrite) {
                return AskToWriteChanges(radio, toWrite);
            };
            // The user may take minutes: the radio on the cable then may not be the one backed up.
            options.recheck_after_before_write = true;
        }
        if (portsAtStart_)
            writePorts_ = portsAtStart_();
        if (exactRestore_) {
            options.same_radio_only = options.backup;   // known only from the restore's own backup
            chain_ = std::make_unique<SafeWrite>(ExactRestore{*exactRestore_}, writePorts_, std::move(options));
        } else {   // the programming time is the moment the write starts
            chain_ = std::make_unique<SafeWrite>(*writeData_, LocalProgramTimeNow(), writePorts_, std::move(options));
        }
        ProgressBar1->setRange(0, chain_->progressMax());
        ProgramStart->setEnabled(false);
        Show(chain_->Start());
        return;
    }
    if (session_->ended() || session_->running())
        return;
    if (portsAtStart_) {   // the session is made anew for the ports present now
        session_ = std::make_unique<ProgrammingSession>(session_->request(), portsAtStart_());
        runner_ = std::make_unique<SessionRunner>(*session_);
    }
    ProgramStart->setEnabled(false);
    Show(runner_->Start());
}

void TProgramDialog::Timer_TxTimer()
{
    Show(chain_ ? chain_->Step() : runner_->Step());
}

bool TProgramDialog::AskToWriteChanges(const RadioData& radio, const RadioData& toWrite)
{
    // The backup's session has ended; its port stays open for the write, and nothing is sent
    // while the user reads. The timer is not re-armed before this step returns.
    ChangesWindow question(radio, toWrite.record, this);
    changesQuestion_ = &question;
    const bool write = question.exec() == QDialog::Accepted;
    changesQuestion_ = nullptr;
    return write;
}

void TProgramDialog::Show(const RunnerStep& step)
{
    ProgressBar1->setValue(chain_ ? chain_->progress() : session_->progress());
    ShowPort();
    ShowPhase();
    for (const QString& notice : step.notices)
        ShowNotice(this, notice);
    if (step.ended) {
        if (chain_) {
            ShowNotice(this, chain_->result().message);
            done(chain_->result().outcome == SafeWriteOutcome::Written ? Accepted : Rejected);
            return;
        }
        const bool success = session_->outcome() == SessionOutcome::Success;
        if (auto text = OutcomeText(session_->outcome()); text && (successNoticeShown_ || !success))
            ShowNotice(this, ProgramDialogText(*text));
        done(session_->outcome() == SessionOutcome::Success ? Accepted : Rejected);
        return;
    }
    const auto delay = chain_ ? chain_->DelayToNextStep() : runner_->DelayToNextStep();
    if (delay) {
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*delay);
        Timer_Tx->start(std::max<int>(0, int(wait.count())));
    }
}

void TProgramDialog::ShowPhase()
{
    if (!sPhase || !chain_)
        return;
    QString text = SafeWritePhaseText(chain_->phase());
    if (text.isEmpty())   // idle or done: the last phase's line stays, the backup's line is added once below
        text = sPhase->text().section(u'\n', 0, 0);
    if (!chain_->result().backup_path.isEmpty() && chain_->phase() != SafeWritePhase::Backup)
        text += QStringLiteral("\n")
            + Text(OwnText::SafeWriteBackupSaved).arg(QDir::toNativeSeparators(chain_->result().backup_path));
    SayOnLiveLine(sPhase, text);
}

void TProgramDialog::ShowPort()
{
    const ProgrammingSession* session = CurrentSession();
    if (!session)
        return;
    const PortPlan& plan = session->ports();
    if (session->portIndex() >= std::size_t(plan.ports.size()))
        return;
    const QString& port = plan.ports[qsizetype(session->portIndex())];
    if (port == shownPort_)
        return;
    shownPort_ = port;
    SayOnLiveLine(sPort, PortDisplayText(port, TCommSerialPortInfo()));
}

void TProgramDialog::done(int result)
{
    // Closed while the changes are shown: the answer is Stop, and the chain's end closes the window.
    if (changesQuestion_) {
        changesQuestion_->reject();
        return;
    }
    Timer_Tx->stop();
    if (chain_ && chain_->running()) {
        chain_->Cancel();
        // Cancelling part-way through a write leaves the radio half written: say so.
        ShowNotice(this, chain_->result().message);
    } else if (session_ && session_->running()) {
        runner_->Cancel();
    }
    QDialog::done(result);
}

}   // namespace k3n
