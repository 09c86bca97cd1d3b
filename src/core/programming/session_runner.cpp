// SPDX-License-Identifier: GPL-3.0-or-later
#include "programming/session_runner.h"
#include "comm/comm_component.h"
#include "comm/comm_error.h"

namespace k3n {

using namespace HalvexComm32;

namespace {
// Long enough for the end frame to leave a real UART; a pty takes it at once.
constexpr auto kDrainLimit = std::chrono::milliseconds(500);
} // namespace

SessionRunner::SessionRunner(ProgrammingSession& session)
    : session_(session), port_(std::make_unique<TZebCommDevice>())
{
    // Notifications straight from the port's threads: the runner only records them and
    // wakes a blocking Run, so it needs no event loop.
    port_->fSetSyncEvents(false);
    QObject::connect(port_.get(), &TZebCustomCommDevice::OnCommNotify,
                     [this](QObject*, quint32 mask) { OnPortEvent(mask); });
}

SessionRunner::~SessionRunner()
{
    ClosePort();
}

// On one of the port's own threads.
void SessionRunner::OnPortEvent(uint32_t mask)
{
    if (!(mask & (EV_HANGUP | EV_TXEMPTY)))
        return;
    {
        std::lock_guard lock(mutex_);
        if (mask & EV_HANGUP)
            hangUpSignalled_ = true;
        if (mask & EV_TXEMPTY)
            txEmpty_ = true;
    }
    wake_.notify_all();
}

SessionTime SessionRunner::Now() const
{
    return std::chrono::duration_cast<SessionTime>(Clock::now() - origin_);
}

std::optional<SessionRunner::Clock::time_point> SessionRunner::NextWake() const
{
    const auto deadline = session_.NextDeadline();
    if (!deadline)
        return std::nullopt;
    return origin_ + *deadline;
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
    if (port_->fGetActive() && port_->HungUp()) {   // the cable was pulled: no waiting for a time-out
        Carry(session_.LinkLost(Now()), step);
        return step;
    }
    const std::vector<uint8_t> received = ReadAll();
    Carry(session_.Advance(Now(), received), step);
    return step;
}

RunnerStep SessionRunner::Cancel()
{
    RunnerStep step;
    Carry(session_.Cancel(), step);
    ClosePort();
    return step;
}

void SessionRunner::RequestCancel()
{
    {
        std::lock_guard lock(mutex_);
        cancelRequested_ = true;
    }
    wake_.notify_all();
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
    bool cancel = false;
    {
        std::unique_lock lock(mutex_);
        wake_.wait_until(lock, *wake, [this] { return cancelRequested_ || hangUpSignalled_; });
        cancel = cancelRequested_;
        hangUpSignalled_ = false;   // Step sees the port's state itself
    }
    return cancel ? Cancel() : Step();
}

void SessionRunner::Carry(const SessionOutput& out, RunnerStep& step)
{
    if (out.open_port) {
        ClosePort();
        if (auto error = OpenPort(session_.ports().ports.at(qsizetype(*out.open_port)))) {
            Carry(session_.PortOpenFailed(Now(), error->message, openFailureDetail_), step);
            return;
        }
    }
    const bool open = port_->fGetActive();
    if (out.discard_input && open)
        port_->PurgeRead(false);
    if (!out.send.empty() && open) {
        if (out.ended) {
            std::lock_guard lock(mutex_);
            txEmpty_ = false;
        }
        port_->Write(out.send.data(), int(out.send.size()));
    }
    step.notices.insert(step.notices.end(), out.notices.begin(), out.notices.end());
    if (out.ended) {
        if (!out.send.empty() && open)
            LetOutputDrain();
        ClosePort();
        step.ended = true;
    }
}

std::optional<Error> SessionRunner::OpenPort(const QString& nameOrPath)
{
    port_->fSetDeviceName(nameOrPath);
    port_->fSetBaud(TBaudRate::br19200);
    port_->fSetByteSize(8);
    port_->fSetParity(TParity::ptNoParity);
    port_->fSetStopBits(TStopBits::sbOneStopBit);
    {
        std::lock_guard lock(mutex_);
        hangUpSignalled_ = false;
    }
    try {
        port_->fSetActive(true);
    } catch (const EComm32Error& e) {
        ClosePort();
        openFailureDetail_ = e.Detail();
        return Error{e.Message()};
    }
    return std::nullopt;
}

void SessionRunner::ClosePort()
{
    try {
        port_->fSetActive(false);
    } catch (const EComm32Error&) {   // a thread that would not stop: the port is released all the same
    }
}

void SessionRunner::LetOutputDrain()
{
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, kDrainLimit, [this] { return txEmpty_ && port_->fGetOutQueue()->Count() == 0; });
}

std::vector<uint8_t> SessionRunner::ReadAll()
{
    std::vector<uint8_t> bytes;
    uint8_t block[TComm32::kQueueSize];   // the most one Read gives
    for (int n; (n = port_->Read(block, int(sizeof block))) > 0;)
        bytes.insert(bytes.end(), block, block + n);
    return bytes;
}

} // namespace k3n
