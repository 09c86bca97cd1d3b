// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The serial device a programming session talks through (raw mode, 19200 baud,
// 8 data bits), with the waiting a blocking driver needs. Opened once, it can be
// handed from session to session (a backup, the write, the read-back), so that
// every one of them reaches the radio the first one found, whatever the port's
// name points at meanwhile.
#include "text/error.h"
#include <QString>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

namespace k3n {

class TZebCommDevice;

class SessionPort {
public:
    using Clock = std::chrono::steady_clock;

    SessionPort();
    ~SessionPort();
    SessionPort(const SessionPort&) = delete;
    SessionPort& operator=(const SessionPort&) = delete;

    // Closes what is open, then opens "COMn" or a device path. On failure the
    // message for the user; detail() then says why, naming the port and its device.
    std::optional<Error> Open(const QString& nameOrPath);
    void Close();
    bool isOpen() const;
    // The open port went away (cable pulled, hang-up).
    bool hungUp() const;
    const QString& detail() const { return openFailureDetail_; }
    // The device that is open, links followed ("/dev/ttyUSB0"); "" when none is.
    QString device() const;

    void DiscardInput();
    void Send(std::span<const uint8_t> bytes);
    std::vector<uint8_t> ReadAll();
    // After the last bytes of a session: lets them leave before the port may close.
    void LetOutputDrain();

    // Sleeps until 'until', woken early by a hang-up or a cancel. True when a cancel was asked for.
    bool WaitUntil(Clock::time_point until);
    // From any thread; stays asked for.
    void RequestCancel();

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

} // namespace k3n
