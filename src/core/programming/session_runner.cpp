// SPDX-License-Identifier: GPL-3.0-or-later
#include "programming/session_runner.h"

namespace k3n {

SessionRunner::SessionRunner(ProgrammingSession& session) : SessionRunner(session, MakeSessionLink(), PortUse::Own) {}

SessionRunner::SessionRunner(ProgrammingSession& session, std::shared_ptr<SessionLink> port, PortUse use)
    : session_(session), port_(std::move(port)), origin_(port_->Now()), use_(use)
{}

SessionRunner::~SessionRunner()
{
    ReleasePort();
}

SessionTime SessionRunner::Now() const
{
    return std::chrono::duration_cast<SessionTime>(port_->Now() - origin_);
}

std::optional<SessionRunner::Clock::time_point> SessionRunner::NextWake() const
{
    const auto deadline = session_.NextDeadline();
    if (!deadline)
        return std::nullopt;
    return origin_ + *deadline;
}

std::optional<SessionRunner::Clock::duration> SessionRunner::DelayToNextStep()
{
    const auto wake = NextWake();
    if (!wake)
        return std::nullopt;
    return port_->DelayUntil(*wake);
}

RunnerStep SessionRunner::Start()
{
    RunnerStep step;
    Carry(session_.Start(Now()), step);
    return step;
}

RunnerStep SessionRunner::Step()
{
    RunnerStep step;
    if (!session_.running())
        return step;
    // The cable was pulled, or the port a chain holds is gone: no waiting for a time-out.
    if (port_->hungUp() || (use_ == PortUse::UseOpen && !port_->isOpen())) {
        Carry(session_.LinkLost(Now()), step);
        return step;
    }
    const std::vector<uint8_t> received = port_->ReadAll();
    Carry(session_.Advance(Now(), received), step);
    return step;
}

RunnerStep SessionRunner::Cancel()
{
    RunnerStep step;
    Carry(session_.Cancel(), step);
    port_->Close();   // a cancelled chain goes no further
    return step;
}

void SessionRunner::RequestCancel()
{
    port_->RequestCancel();
}

SessionOutcome SessionRunner::Run(const std::function<void(const RunnerStep&)>& onStep)
{
    auto report = [&](const RunnerStep& step) {
        if (onStep)
            onStep(step);
    };
    report(Start());
    while (session_.running())
        report(WaitAndStep());
    return session_.outcome();
}

RunnerStep SessionRunner::WaitAndStep()
{
    const auto wake = NextWake();
    if (!wake)
        return {};
    return port_->WaitUntil(*wake) ? Cancel() : Step();
}

void SessionRunner::Carry(const SessionOutput& out, RunnerStep& step)
{
    if (out.open_port) {
        OpenPort(*out.open_port, step);
        if (step.ended || !port_->isOpen())
            return;
    }
    if (out.discard_input)
        port_->DiscardInput();
    port_->Send(out.send);
    step.notices.insert(step.notices.end(), out.notices.begin(), out.notices.end());
    if (out.ended) {
        if (!out.send.empty())
            port_->LetOutputDrain();
        ReleasePort();
        step.ended = true;
    }
}

void SessionRunner::OpenPort(std::size_t index, RunnerStep& step)
{
    if (use_ == PortUse::UseOpen) {
        if (!port_->isOpen() || port_->hungUp())
            Carry(session_.LinkLost(Now()), step);
        return;
    }
    if (auto error = port_->Open(session_.ports().ports.at(qsizetype(index))))
        Carry(session_.PortOpenFailed(Now(), error->message, port_->detail()), step);
}

// A kept port stays open for the next session of the chain, but only after a success.
void SessionRunner::ReleasePort()
{
    const bool keep = use_ != PortUse::Own && session_.outcome() == SessionOutcome::Success;
    if (!keep && (use_ == PortUse::Own || session_.ended()))
        port_->Close();
}

}   // namespace k3n
