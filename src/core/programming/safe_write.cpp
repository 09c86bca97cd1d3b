// SPDX-License-Identifier: GPL-3.0-or-later
#include "programming/safe_write.h"
#include "model/record_layout.h"
#include "programming/radio_configuration.h"
#include "programming/write_verify.h"
#include "text/own_texts.h"
#include <QDir>

namespace k3n {

namespace {

// The outcome's text of the programming window: "Communication False".
QString SessionReason(const ProgrammingSession& session)
{
    const auto text = OutcomeText(session.outcome());
    return text ? ProgramDialogText(*text) : ProgramDialogText(ProgramText::Cancel);
}

}   // namespace

QString SafeWritePhaseText(SafeWritePhase phase)
{
    switch (phase) {
    case SafeWritePhase::Backup: return Text(OwnText::SafeWritePhaseBackup);
    case SafeWritePhase::Recheck: return Text(OwnText::SafeWritePhaseRecheck);
    case SafeWritePhase::Write: return Text(OwnText::SafeWritePhaseWrite);
    case SafeWritePhase::Verify: return Text(OwnText::SafeWritePhaseVerify);
    case SafeWritePhase::Idle:
    case SafeWritePhase::Done: break;
    }
    return {};
}

int SafeWriteExitCode(SafeWriteOutcome outcome)
{
    switch (outcome) {
    case SafeWriteOutcome::Written: return 0;
    case SafeWriteOutcome::WrittenNotVerified:
    case SafeWriteOutcome::DifferentRadio: return 3;
    default: return 1;
    }
}

QString ChangedOnlyNote(const SafeWriteResult& result)
{
    if (!result.changed_only)
        return {};
    const ChangedOnlyWrite& w = *result.changed_only;
    if (w.fell_back())
        return Text(OwnText::SafeWriteChangedOnlyFellBack)
            .arg(w.frames)
            .arg(w.full_frames)
            .arg(DescribeDifferences(w.read_back_differences));
    return Text(OwnText::SafeWriteChangedOnly).arg(w.frames).arg(w.full_frames);
}

SafeWrite::SafeWrite(const RadioData& toWrite, const ProgramTime& now, PortPlan ports, SafeWriteOptions options)
    : toWrite_(toWrite), writeRequest_(ConfigurationWriteRequest(toWrite, now, /*bandCheck=*/true)),
      ports_(std::move(ports)), options_(std::move(options)), port_(MakeSessionLink(options_.make_link))
{
    result_.band = toWrite_.record.get(rec::freq_band);
}

SafeWrite::SafeWrite(const ExactRestore& restore, PortPlan ports, SafeWriteOptions options)
    : toWrite_(RadioConfigurationOf(restore.read)), writeRequest_(ExactRestoreWriteRequest(restore.read)),
      ports_(std::move(ports)), options_(std::move(options)), port_(MakeSessionLink(options_.make_link))
{
    result_.band = toWrite_.record.get(rec::freq_band);
}

SafeWrite::~SafeWrite()
{
    std::lock_guard lock(runnerMutex_);
    runner_.reset();   // before the session it drives
}

RunnerStep SafeWrite::Start()
{
    RunnerStep step;
    if (phase_ == SafeWritePhase::Idle)
        BeginPhase(options_.backup ? SafeWritePhase::Backup : SafeWritePhase::Write, step);
    return step;
}

RunnerStep SafeWrite::Step()
{
    if (!running())
        return {};
    RunnerStep step = runner_->Step();
    if (step.ended)
        SessionEnded(step);
    return step;
}

RunnerStep SafeWrite::Cancel()
{
    if (!running())
        return {};
    RunnerStep step = runner_->Cancel();
    SessionEnded(step);
    return step;
}

std::optional<SessionRunner::Clock::time_point> SafeWrite::NextWake() const
{
    return running() ? runner_->NextWake() : std::nullopt;
}

std::optional<SessionRunner::Clock::duration> SafeWrite::DelayToNextStep()
{
    return running() ? runner_->DelayToNextStep() : std::nullopt;
}

SafeWriteOutcome SafeWrite::Run(const std::function<void(const RunnerStep&)>& onStep)
{
    auto report = [&](const RunnerStep& step) {
        if (onStep)
            onStep(step);
    };
    report(Start());
    while (running()) {
        RunnerStep step = runner_->WaitAndStep();
        if (step.ended)
            SessionEnded(step);
        report(step);
    }
    return result_.outcome;
}

void SafeWrite::RequestCancel()
{
    cancelRequested_ = true;
    std::lock_guard lock(runnerMutex_);
    if (runner_)
        runner_->RequestCancel();
}

int SafeWrite::PhaseIndex(SafeWritePhase phase) const
{
    const int backup = options_.backup ? 1 : 0;
    switch (phase) {
    case SafeWritePhase::Idle:
    case SafeWritePhase::Backup: return 0;
    case SafeWritePhase::Recheck:
    case SafeWritePhase::Write: return backup;
    case SafeWritePhase::Verify: return backup + 1;
    case SafeWritePhase::Done: return progressMax() / kProgressMax;
    }
    return 0;
}

int SafeWrite::progressMax() const
{
    return kProgressMax * (1 + (options_.backup ? 1 : 0) + (options_.verify ? 1 : 0));
}

int SafeWrite::progress() const
{
    if (phase_ == SafeWritePhase::Done)
        return result_.outcome == SafeWriteOutcome::Written ? progressMax()
                                                            : PhaseIndex(result_.ended_in) * kProgressMax;
    const bool counted = session_ && phase_ != SafeWritePhase::Recheck;   // one block: no bar of its own
    return PhaseIndex(phase_) * kProgressMax + (counted ? session_->progress() : 0);
}

PortPlan SafeWrite::NextPortPlan() const
{
    return chained_ ? PortPlan{false, {result_.port}} : ports_;
}

SessionRequest SafeWrite::RequestOf(SafeWritePhase phase) const
{
    switch (phase) {
    case SafeWritePhase::Write: {
        // The first write of a chain with both reads; a second one is the full plan.
        const bool changedOnly = options_.changed_only && options_.backup && options_.verify && !result_.changed_only;
        return changedOnly ? ChangedOnlyWriteRequest(writeRequest_, backupImage_) : writeRequest_;
    }
    case SafeWritePhase::Recheck: return RadioIdentityReadRequest();
    default: return ConfigurationReadRequest();
    }
}

void SafeWrite::BeginPhase(SafeWritePhase phase, RunnerStep& step)
{
    phase_ = phase;
    auto session = std::make_unique<ProgrammingSession>(RequestOf(phase), NextPortPlan());
    // The radio may still be busy with the last session's end frame.
    if (chained_)
        session->SetGreetingTimeout(session_timing::kChainedGreetingTimeout);
    {
        std::lock_guard lock(runnerMutex_);
        runner_.reset();
        session_ = std::move(session);
        // The first session opens the device; the others talk through it and never open a port by name.
        runner_ = std::make_unique<SessionRunner>(*session_, port_, chained_ ? PortUse::UseOpen : PortUse::OpenAndKeep);
        if (cancelRequested_)
            runner_->RequestCancel();
    }
    chained_ = true;
    RunnerStep started = runner_->Start();
    step.notices.insert(step.notices.end(), started.notices.begin(), started.notices.end());
    step.ended = false;
    if (started.ended)
        SessionEnded(step);
}

void SafeWrite::SessionEnded(RunnerStep& step)
{
    const ProgrammingSession& s = *session_;
    // An auto-search that found no radio has gone past the end of its list.
    if (s.portIndex() < std::size_t(s.ports().ports.size()))
        result_.port = s.ports().ports.at(qsizetype(s.portIndex()));
    if (!port_->device().isEmpty())
        result_.device = port_->device();
    result_.failure = s.failure();
    result_.port_open_failure = s.portOpenFailure();
    SafeWritePhase next = SafeWritePhase::Done;
    switch (phase_) {
    case SafeWritePhase::Backup: next = FinishBackup(); break;
    case SafeWritePhase::Recheck: next = FinishRecheck(); break;
    case SafeWritePhase::Write: next = FinishWrite(); break;
    case SafeWritePhase::Verify: next = FinishVerify(); break;
    case SafeWritePhase::Idle:
    case SafeWritePhase::Done: break;
    }
    // A cancel asked for between two sessions stops the chain before the next one.
    if (next != SafeWritePhase::Done && cancelRequested_) {
        result_.failure = SessionFailure::Cancelled;
        if (next == SafeWritePhase::Write)   // before the write, or before a changed-only write's full plan
            End(SafeWriteOutcome::Cancelled,
                Text(result_.frames_written > 0 ? OwnText::SafeWriteCancelledDuringWrite
                                                : OwnText::SafeWriteCancelledNothingWritten));
        else
            End(SafeWriteOutcome::WrittenNotVerified, Text(OwnText::SafeWriteNotVerified));
        next = SafeWritePhase::Done;
    }
    if (next == SafeWritePhase::Done) {
        port_->Close();
        step.ended = true;
        return;
    }
    BeginPhase(next, step);
}

SafeWritePhase SafeWrite::FinishBackup()
{
    const ProgrammingSession& s = *session_;
    if (s.outcome() == SessionOutcome::Cancelled) {
        End(SafeWriteOutcome::Cancelled, Text(OwnText::SafeWriteCancelledNothingWritten));
        return SafeWritePhase::Done;
    }
    if (s.outcome() != SessionOutcome::Success) {
        End(SafeWriteOutcome::BackupReadFailed,
            QStringLiteral("%1 (%2)").arg(Text(OwnText::SafeWriteBackupReadFailed), SessionReason(s)));
        return SafeWritePhase::Done;
    }
    backupImage_ = s.image();
    const RadioData backup = RadioConfigurationOf(s.image());
    result_.serial_number = SerialNumberInFileName(backup.radio_serial_number);
    const Result<QString> saved = SaveBackup(options_.backup_folder, backup.record, result_.serial_number,
                                             QDateTime::currentDateTime(), s.image());
    if (!saved) {
        End(SafeWriteOutcome::BackupNotSaved,
            Text(OwnText::SafeWriteBackupNotSaved)
                .arg(QDir::toNativeSeparators(options_.backup_folder), saved.error().message));
        return SafeWritePhase::Done;
    }
    result_.backup_path = saved.value();
    if (RefuseOtherRadio())
        return SafeWritePhase::Done;
    if (options_.before_write) {
        if (!options_.before_write(backup, toWrite_)) {
            End(SafeWriteOutcome::StoppedBeforeWrite, Text(OwnText::SafeWriteStoppedBeforeWrite));
            return SafeWritePhase::Done;
        }
        if (options_.recheck_after_before_write)
            return SafeWritePhase::Recheck;
    }
    return SafeWritePhase::Write;
}

bool SafeWrite::RefuseOtherRadio()
{
    if (!options_.same_radio_only)
        return false;
    const MemoryImage& mine = writeRequest_.image;
    const BackupRadio from = BackupRadioOf(mine);
    const BackupRadio here = BackupRadioOf(backupImage_);
    const auto serial = std::span(mine).subspan(radio_addr::kSerialNumber, 8);
    const bool sameSerial = std::equal(serial.begin(), serial.end(), backupImage_.begin() + radio_addr::kSerialNumber);
    if (sameSerial && from.band_code == here.band_code)
        return false;
    End(SafeWriteOutcome::OtherRadioRefused,
        Text(OwnText::SafeWriteOtherRadioRefused)
            .arg(from.serial, BandCodeText(from.band_code), here.serial, BandCodeText(here.band_code)));
    return true;
}

SafeWritePhase SafeWrite::FinishRecheck()
{
    const ProgrammingSession& s = *session_;
    if (s.outcome() == SessionOutcome::Cancelled) {
        End(SafeWriteOutcome::Cancelled, Text(OwnText::SafeWriteCancelledNothingWritten));
        return SafeWritePhase::Done;
    }
    if (s.outcome() != SessionOutcome::Success) {
        End(SafeWriteOutcome::WriteFailed,
            QStringLiteral("%1: %2").arg(SessionReason(s), Text(OwnText::SafeWriteNothingWritten)));
        return SafeWritePhase::Done;
    }
    if (!SameRadio(backupImage_, s.image())) {
        End(SafeWriteOutcome::DifferentRadioBeforeWrite,
            Text(OwnText::SafeWriteDifferentRadioBeforeWrite)
                .arg(RadioIdentityText(backupImage_), RadioIdentityText(s.image())));
        return SafeWritePhase::Done;
    }
    return SafeWritePhase::Write;
}

SafeWritePhase SafeWrite::FinishWrite()
{
    const ProgrammingSession& s = *session_;
    result_.frames_written = s.stepsSent();
    const bool partly = result_.frames_written > 0;
    if (s.request().radio_holds && partly)
        result_.changed_only = ChangedOnlyWrite{s.stepsPlanned(), TransferPlan(writeRequest_).size(), {}};
    switch (s.outcome()) {
    case SessionOutcome::Success:
        if (options_.verify)
            return SafeWritePhase::Verify;
        End(SafeWriteOutcome::Written, ProgramDialogText(ProgramText::Success));
        break;
    case SessionOutcome::WrongFreqBand:
        End(SafeWriteOutcome::WrongFreqBand, ProgramDialogText(ProgramText::WrongFreqBand));
        break;
    case SessionOutcome::Cancelled:
        End(SafeWriteOutcome::Cancelled,
            Text(partly ? OwnText::SafeWriteCancelledDuringWrite : OwnText::SafeWriteCancelledNothingWritten));
        break;
    default:
        End(SafeWriteOutcome::WriteFailed,
            QStringLiteral("%1: %2").arg(
                SessionReason(s), Text(partly ? OwnText::SafeWritePartlyWritten : OwnText::SafeWriteNothingWritten)));
        break;
    }
    return SafeWritePhase::Done;
}

SafeWritePhase SafeWrite::FinishVerify()
{
    const ProgrammingSession& s = *session_;
    if (s.outcome() != SessionOutcome::Success) {
        QString message = Text(OwnText::SafeWriteNotVerified);
        if (s.outcome() != SessionOutcome::Cancelled)
            message += QStringLiteral(" (%1)").arg(SessionReason(s));
        End(SafeWriteOutcome::WrittenNotVerified, message);
        return SafeWritePhase::Done;
    }
    if (options_.backup && !SameRadio(backupImage_, s.image())) {
        End(SafeWriteOutcome::DifferentRadio,
            Text(OwnText::SafeWriteDifferentRadio).arg(RadioIdentityText(backupImage_), RadioIdentityText(s.image())));
        CrossCheckBackup(s.image());
        return SafeWritePhase::Done;
    }
    result_.differences = CompareWrittenImage(writeRequest_.image, s.image());
    result_.verified = result_.differences.empty();
    if (!result_.verified && FallBackToFullWrite())
        return SafeWritePhase::Write;
    if (result_.verified)
        End(SafeWriteOutcome::Written, ProgramDialogText(ProgramText::Success));
    else
        End(SafeWriteOutcome::VerifyFailed,
            Text(OwnText::SafeWriteVerifyFailed).arg(DescribeDifferences(result_.differences)));
    CrossCheckBackup(s.image());
    return SafeWritePhase::Done;
}

// A changed-only write the read-back does not confirm: the radio did not hold what the
// backup read, or it dropped a frame. The full plan goes out once and is read back again.
bool SafeWrite::FallBackToFullWrite()
{
    if (!result_.changed_only || result_.changed_only->fell_back())
        return false;
    result_.changed_only->read_back_differences = std::move(result_.differences);
    result_.differences.clear();
    return true;
}

// What the write never sends must read back as the backup has it; otherwise the
// backup may not hold the radio's true bytes, and the user is told.
void SafeWrite::CrossCheckBackup(const MemoryImage& readBack)
{
    if (result_.backup_path.isEmpty())
        return;
    const std::vector<ImageDifference> changed = CompareUnwrittenBytes(backupImage_, readBack);
    if (changed.empty())
        return;
    QStringList addresses;
    for (std::size_t i = 0; i < std::min<std::size_t>(changed.size(), 3); ++i)
        addresses << QStringLiteral("0x") + QString::number(changed[i].address, 16).toUpper().rightJustified(4, '0');
    if (changed.size() > 3)
        addresses << QStringLiteral("+%1").arg(changed.size() - 3);
    const QString reason = addresses.join(QStringLiteral(", "));
    result_.backup_unsure = true;
    MarkBackupUnsure(result_.backup_path, reason);   // the message below says it either way
    result_.message += QStringLiteral("\n")
        + Text(OwnText::SafeWriteBackupUnsure).arg(QDir::toNativeSeparators(result_.backup_path), reason);
}

void SafeWrite::End(SafeWriteOutcome outcome, QString message)
{
    result_.outcome = outcome;
    result_.ended_in = phase_;
    result_.message = std::move(message);
    if (result_.changed_only)   // in the message, so the programming log keeps it too
        result_.message += QStringLiteral("; ") + ChangedOnlyNote(result_);
    phase_ = SafeWritePhase::Done;
}

}   // namespace k3n
