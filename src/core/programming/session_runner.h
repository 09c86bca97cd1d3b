// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs a programming session over the communication device component (raw
// mode, 19200 baud, 8 data bits): owns the device, the clock and the waiting. Two ways to drive it:
//  - a window: call Start(), then Step() whenever NextWake() comes (one precise
//    single-shot QTimer re-armed after each step), Cancel() when it closes;
//  - the command line: Run() blocks until the session ends, sleeping until each
//    deadline (woken at once when the port hangs up, or by RequestCancel()).
#include "programming/session.h"
#include "programming/session_port.h"
#include <chrono>
#include <functional>
#include <memory>

namespace k3n {

struct RunnerStep {
    std::vector<QString> notices;   // show each (TUserWarnDlg), in order
    bool ended = false;   // the session is over (and, unless kept, the port closed):
        // show OutcomeText(session.outcome()) (none after Cancel)
};

// Whose port the runner uses.
enum class PortUse {
    Own,   // opens the ports the session names and closes them when it ends
    OpenAndKeep,   // opens them as the session says and leaves the last one open for the next session
    UseOpen,   // the given port is open already: the session talks through it, and a port
    // that is no longer open or has gone away ends the session (nothing is opened by name)
};

class SessionRunner {
public:
    using Clock = SessionLink::Clock;

    explicit SessionRunner(ProgrammingSession& session);
    SessionRunner(ProgrammingSession& session, std::shared_ptr<SessionLink> port, PortUse use);
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
    // For a driver with a timer of its own: how long to wait before the next Step(); none once ended.
    std::optional<Clock::duration> DelayToNextStep();

    // Blocking: Start, then steps until the session ends. 'onStep' sees every step
    // (read session().progress() there). Returns the outcome.
    SessionOutcome Run(const std::function<void(const RunnerStep&)>& onStep = {});
    // Blocking, after Start: sleeps until NextWake() (woken early by a hang-up or
    // RequestCancel()), then steps, or cancels when asked to.
    RunnerStep WaitAndStep();
    // From any thread (a signal handler's helper thread, a test): Run cancels at once.
    void RequestCancel();

    ProgrammingSession& session() { return session_; }
    SessionLink& port() { return *port_; }

private:
    SessionTime Now() const;
    void Carry(const SessionOutput& out, RunnerStep& step);
    void OpenPort(std::size_t index, RunnerStep& step);
    void ReleasePort();

    ProgrammingSession& session_;
    std::shared_ptr<SessionLink> port_;
    const Clock::time_point origin_;
    PortUse use_ = PortUse::Own;
};

}   // namespace k3n
