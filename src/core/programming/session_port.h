// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The link a programming session talks through, and the serial port that is
// the link of every real session.
#include "text/error.h"
#include <QString>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

namespace k3n {

class TZebCommDevice;

// What a programming session talks through: a serial device, and the clock the
// waits between its steps run on.
class SessionLink {
public:
    using Clock = std::chrono::steady_clock;

    virtual ~SessionLink() = default;

    // Closes what is open, then opens "COMn" or a device path. On failure the
    // message for the user; detail() then says why, naming the port and its device.
    virtual std::optional<Error> Open(const QString& nameOrPath) = 0;
    virtual void Close() = 0;
    virtual bool isOpen() const = 0;
    // The open port went away (cable pulled, hang-up).
    virtual bool hungUp() const = 0;
    virtual QString detail() const = 0;
    // The device last opened, links followed ("/dev/ttyUSB0"); "" before any was.
    virtual QString device() const = 0;

    virtual void DiscardInput() = 0;
    virtual void Send(std::span<const uint8_t> bytes) = 0;
    virtual std::vector<uint8_t> ReadAll() = 0;
    // After the last bytes of a session: lets them leave before the port may close.
    virtual void LetOutputDrain() = 0;

    virtual Clock::time_point Now() const = 0;
    // How long a driver with a timer of its own (a window) waits before its next step
    // at 'until'. A simulated clock moves on to 'until' at once and says 0.
    virtual Clock::duration DelayUntil(Clock::time_point until) = 0;
    // Sleeps until 'until', woken early by a hang-up or a cancel. True when a cancel was asked for.
    virtual bool WaitUntil(Clock::time_point until) = 0;
    // From any thread; stays asked for.
    virtual void RequestCancel() = 0;
};

// Makes the link of each session or chain: a serial port unless a test or a
// benchmark puts in another (a radio emulated on a simulated clock).
using SessionLinkMaker = std::function<std::shared_ptr<SessionLink>()>;
// 'maker', or else the process's default: a serial port unless set otherwise.
std::shared_ptr<SessionLink> MakeSessionLink(const SessionLinkMaker& maker = {});
// The process's default for sessions made without a maker (the windows' sessions);
// an empty one brings back the serial port. For tests and demonstrations.
void SetDefaultSessionLinkMaker(SessionLinkMaker maker);

// The serial port (raw mode, 19200 baud, 8 data bits) on the real clock.
// Opened once, it can be handed from session to session (a backup, the write,
// the read-back), so that every one of them reaches the radio the first one
// found, whatever the port's name points at meanwhile.
class SessionPort : public SessionLink {
public:
    SessionPort();
    ~SessionPort() override;
    SessionPort(const SessionPort&) = delete;
    SessionPort& operator=(const SessionPort&) = delete;

    std::optional<Error> Open(const QString& nameOrPath) override;
    void Close() override;
    bool isOpen() const override;
    bool hungUp() const override;
    QString detail() const override { return openFailureDetail_; }
    QString device() const override { return openedDevice_; }

    void DiscardInput() override;
    void Send(std::span<const uint8_t> bytes) override;
    std::vector<uint8_t> ReadAll() override;
    void LetOutputDrain() override;

    Clock::time_point Now() const override { return Clock::now(); }
    Clock::duration DelayUntil(Clock::time_point until) override { return until - Clock::now(); }
    bool WaitUntil(Clock::time_point until) override;
    void RequestCancel() override;

private:
    void OnPortEvent(uint32_t mask);

    // Declared before the device so they outlive its threads.
    std::mutex mutex_;
    std::condition_variable wake_;
    bool hangUpSignalled_ = false;
    bool txEmpty_ = false;
    bool cancelRequested_ = false;

    std::unique_ptr<TZebCommDevice> device_;
    QString openFailureDetail_;
    QString openedDevice_;
};

}   // namespace k3n
