// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs a programming session over the communication device component (raw
// mode, 19200 baud, 8 data bits): owns the device, the clock and the waiting. Two ways to drive it:
//  - a window: call Start(), then Step() whenever NextWake() comes (one precise
//    single-shot QTimer re-armed after each step), Cancel() when it closes;
//  - the command line: Run() blocks until the session ends, sleeping until each
//    deadline (woken at once when the port hangs up, or by RequestCancel()).
#include "programming/session.h"
#include "text/error.h"
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace k3n {

class TZebCommDevice;

struct RunnerStep {
    std::vector<QString> notices;   // show each (TUserWarnDlg), in order
    bool ended = false;             // the session is over and the port closed: show
                                    // OutcomeText(session.outcome()) (none after Cancel)
};

class SessionRunner {
public:
    using Clock = std::chrono::steady_clock;

    explicit SessionRunner(ProgrammingSession& session);
    ~SessionRunner();
    SessionRunner(const SessionRunner&) = delete;
    SessionRunner& operator=(const SessionRunner&) = delete;

    // The user pressed Start.
    RunnerStep Start();
    // Collects what the port received, advances the session and carries out what it says.
    // Calling it before NextWake() is harmless.
    RunnerStep Step();
    // The user closed the window: abandons the session (no end frame) and closes the port.
    RunnerStep Cancel();
    // When Step() is due; none once the session has ended.
    std::optional<Clock::time_point> NextWake() const;

    // Blocking: Start, then steps until the session ends. 'onStep' sees every step
    // (read session().progress() there). Returns the outcome.
    SessionOutcome Run(const std::function<void(const RunnerStep&)>& onStep = {});
    // Blocking, after Start: sleeps until NextWake() (woken early by a hang-up or
    // RequestCancel()), then steps, or cancels when asked to.
    RunnerStep WaitAndStep();
    // From any thread (a signal handler's helper thread, a test): Run cancels at once.
    void RequestCancel();

    ProgrammingSession& session() { return session_; }

private:
    SessionTime Now() const;
    void Carry(const SessionOutput& out, RunnerStep& step);
    std::optional<Error> OpenPort(const QString& nameOrPath);
    void ClosePort();
    void LetOutputDrain();
    std::vector<uint8_t> ReadAll();
    void OnPortEvent(uint32_t mask);

    ProgrammingSession& session_;
    const Clock::time_point origin_ = Clock::now();

    // Declared before the port so they outlive its threads.
    std::mutex mutex_;
    std::condition_variable wake_;
    bool hangUpSignalled_ = false;
    bool txEmpty_ = false;
    bool cancelRequested_ = false;

    std::unique_ptr<TZebCommDevice> port_;
    QString openFailureDetail_;   // why the last port would not open, naming it
};

} // namespace k3n
