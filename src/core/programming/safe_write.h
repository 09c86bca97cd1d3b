// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a configuration with a safety net: a backup read of the whole radio
// before the write, and a read-back after it. Each step is a programming
// session of its own; the chain only starts the next one and judges what they
// brought. The backup and the read-back never touch the configuration being
// written: the backup becomes a file, the read-back a comparison.
//
// Driven like a SessionRunner: a window calls Start(), Step() at NextWake() and
// Cancel(); the command line calls Run().
#include "programming/radio_backups.h"
#include "programming/session_runner.h"
#include "programming/write_verify.h"
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

namespace k3n {

// Recheck: after a long pause between the backup and the write (a question shown),
// the identity block is read again to make sure the same radio is still there.
enum class SafeWritePhase { Idle, Backup, Recheck, Write, Verify, Done };

// "Backing up the radio", "Writing", "Verifying" in the interface language; "" for Idle and Done.
QString SafeWritePhaseText(SafeWritePhase phase);

struct SafeWriteOptions {
    bool backup = true;
    bool verify = true;
    QString backup_folder = BackupFolder();
    // Between the backup and the write: sees the radio's configuration as backed up
    // and the one about to be written; false stops the chain before anything is written.
    std::function<bool(const RadioData& backup, const RadioData& toWrite)> before_write;
    // before_write may take long (a person answers a question): read the radio's identity
    // again after it and write only when it is still the radio backed up.
    bool recheck_after_before_write = false;
    // An exact restore: a radio whose serial number or band code differs from the one
    // the bytes came from is refused after the backup, before anything is written.
    bool same_radio_only = false;
    // What the chain talks through: a serial port unless a test puts in an emulated radio.
    SessionLinkMaker make_link;
    // Write only the frames whose bytes differ from what the backup read (the programming
    // time and the radio-state frame always). Only with the backup and the read-back on:
    // when the read-back finds a difference, the full plan is written once and read back again.
    bool changed_only = false;
};

// A backup's radio bytes, written back as they were read (ExactRestoreWriteRequest).
struct ExactRestore {
    MemoryImage read{};
};

enum class SafeWriteOutcome {
    Pending,
    Written,   // written, and read back the same when verify was on
    WrittenNotVerified,   // written; the read-back could not reach the radio or was cancelled
    VerifyFailed,   // written, but the radio holds something else
    BackupReadFailed,   // nothing written
    BackupNotSaved,   // nothing written
    StoppedBeforeWrite,   // before_write said no; nothing written
    WrongFreqBand,   // nothing written
    WriteFailed,   // nothing or part written: see frames_written
    Cancelled,   // during the backup (nothing written) or the write (part written)
    DifferentRadio,   // written, but the read-back came from another radio than the backup
    DifferentRadioBeforeWrite,   // the recheck found another radio; nothing written
    OtherRadioRefused,   // same_radio_only: the radio is not the one the bytes came from; nothing written
};

// A write that sent only what had changed.
struct ChangedOnlyWrite {
    std::size_t frames = 0;   // the write frames it sent
    std::size_t full_frames = 0;   // of the full plan's
    // What the read-back found different after it; then the full plan was written and read back again.
    std::vector<ImageDifference> read_back_differences;
    bool fell_back() const { return !read_back_differences.empty(); }
};

// What one write did, for the user and for a programming log.
struct SafeWriteResult {
    SafeWriteOutcome outcome = SafeWriteOutcome::Pending;
    SafeWritePhase ended_in = SafeWritePhase::Idle;   // the phase that ended the chain
    SessionFailure failure = SessionFailure::None;   // of the session that ended it
    QString port;   // where the radio answered, as named
    QString device;   // the device the chain opened, links followed; "" when none opened
    QString serial_number;   // as the backup read it; "" without a backup
    int band = -1;   // the band of the configuration written
    QString backup_path;   // "" without a backup
    bool backup_unsure = false;   // the read-back found bytes the write never sends changed
    std::size_t frames_written = 0;   // write frames the radio acknowledged or was sent
    bool verified = false;   // the read-back matched
    std::vector<ImageDifference> differences;
    // Only the changed frames went out (and, it may be, the full plan after them); none otherwise.
    std::optional<ChangedOnlyWrite> changed_only;
    QString message;   // in the interface language, the changed-only note included
    QStringList notices;   // what the sessions said on the way (a port that would not open, …)
    QString port_open_failure;   // a fixed port that would not open: "<port>: <reason>"
};

// Exit status of `k3n write` for an outcome: 0 written (and verified), 3 written
// but the read-back could not reach the radio or came from a different radio, 1 anything else.
int SafeWriteExitCode(SafeWriteOutcome outcome);

// "changed only: 3 of 119 write frames", and the fall-back to the full write; "" for a full write.
QString ChangedOnlyNote(const SafeWriteResult& result);

class SafeWrite {
public:
    // 'now' is the programming time written into the radio.
    SafeWrite(const RadioData& toWrite, const ProgramTime& now, PortPlan ports, SafeWriteOptions options);
    // Puts a backup's bytes back exactly; no new programming time is written.
    SafeWrite(const ExactRestore& restore, PortPlan ports, SafeWriteOptions options);
    ~SafeWrite();
    SafeWrite(const SafeWrite&) = delete;
    SafeWrite& operator=(const SafeWrite&) = delete;

    RunnerStep Start();
    RunnerStep Step();
    RunnerStep Cancel();
    std::optional<SessionRunner::Clock::time_point> NextWake() const;
    // For a driver with a timer of its own: how long to wait before the next Step().
    std::optional<SessionRunner::Clock::duration> DelayToNextStep();

    // Blocking: Start, then steps until the chain ends; 'onStep' sees every step.
    SafeWriteOutcome Run(const std::function<void(const RunnerStep&)>& onStep = {});
    // From any thread: Run cancels the running phase at once and starts no other.
    void RequestCancel();

    bool running() const { return phase_ != SafeWritePhase::Idle && phase_ != SafeWritePhase::Done; }
    SafeWritePhase phase() const { return phase_; }
    // One bar over every phase the chain runs.
    int progress() const;
    int progressMax() const;
    // The running phase's session (the last one once the chain has ended); null before Start.
    const ProgrammingSession* session() const { return session_.get(); }
    const SafeWriteResult& result() const { return result_; }
    // The write request's image: what the radio is to hold.
    const MemoryImage& imageToWrite() const { return writeRequest_.image; }

private:
    void BeginPhase(SafeWritePhase phase, RunnerStep& step);
    // The running session ended: judge it, then begin the next phase or end the chain.
    void SessionEnded(RunnerStep& step);
    SafeWritePhase FinishBackup();
    SafeWritePhase FinishRecheck();
    bool RefuseOtherRadio();
    SafeWritePhase FinishWrite();
    SafeWritePhase FinishVerify();
    bool FallBackToFullWrite();
    void CrossCheckBackup(const MemoryImage& readBack);
    void End(SafeWriteOutcome outcome, QString message);
    int PhaseIndex(SafeWritePhase phase) const;
    PortPlan NextPortPlan() const;
    SessionRequest RequestOf(SafeWritePhase phase) const;

    RadioData toWrite_;
    SessionRequest writeRequest_;
    PortPlan ports_;
    SafeWriteOptions options_;
    SafeWritePhase phase_ = SafeWritePhase::Idle;
    // One device from the backup to the read-back: opened by the first session, used by the others.
    std::shared_ptr<SessionLink> port_;
    std::unique_ptr<ProgrammingSession> session_;
    std::unique_ptr<SessionRunner> runner_;
    MemoryImage backupImage_{};
    bool recheckDue_ = false;
    std::mutex runnerMutex_;   // RequestCancel reaches the runner from another thread
    std::atomic<bool> cancelRequested_{false};
    bool chained_ = false;   // a session has run before: the next greets with more patience
    SafeWriteResult result_;
};

}   // namespace k3n
