// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A radio without a terminal, on a simulated clock: a session's frames go
// straight to a radio emulator and its answers come back at the next read, and
// every wait of the session moves the clock on at once. A backup, write and
// read-back that take 19 s on a line take milliseconds here, frame for frame the
// same. Each radio has a device path of its own; links made by
// EmulatedLinkMaker() open any radio alive by that path.
#include "programming/session_port.h"
#include "virtualradio/virtual_radio.h"
#include <functional>
#include <mutex>

namespace k3n {

class EmulatedRadio {
public:
    // The identity, band, fault and late greeting of 'options' (its files, link and baud are not used);
    // the device path is "/emulated/radio-N" unless one is given.
    explicit EmulatedRadio(const VirtualRadioOptions& options = {}, const QString& devicePath = {});
    ~EmulatedRadio();
    EmulatedRadio(const EmulatedRadio&) = delete;
    EmulatedRadio& operator=(const EmulatedRadio&) = delete;

    // What a session names as its port.
    const QString& devicePath() const { return devicePath_; }

    // As a VirtualRadio has them.
    void SetFault(FaultPlan plan);
    MemoryImage memory() const;
    void setMemory(const MemoryImage& memory);
    void writeMemory(uint16_t address, std::span<const uint8_t> bytes);
    std::vector<ReceivedFrame> frames() const;
    int frameErrors() const;
    bool hungUp() const;
    // Everything has happened by the time a session returns: the condition is looked at once.
    bool WaitFor(const std::function<bool(const RadioEmulator&)>& condition,
                 std::chrono::milliseconds timeout = {}) const;

    // The radio's answer to 'bytes', and whether every frame in them was a greeting.
    std::vector<uint8_t> Receive(std::span<const uint8_t> bytes, bool& greetingOnly);
    std::chrono::milliseconds greetingDelay() const { return greetingDelay_; }

private:
    QString devicePath_;
    std::chrono::milliseconds greetingDelay_;
    mutable std::mutex mutex_;
    RadioEmulator emulator_;
};

// Links to the emulated radios alive, each on a simulated clock of its own.
SessionLinkMaker EmulatedLinkMaker();

// While it lives, sessions made without a link of their own (the windows')
// talk to the emulated radios.
class EmulatedSessions {
public:
    EmulatedSessions() { SetDefaultSessionLinkMaker(EmulatedLinkMaker()); }
    ~EmulatedSessions() { SetDefaultSessionLinkMaker({}); }
    EmulatedSessions(const EmulatedSessions&) = delete;
    EmulatedSessions& operator=(const EmulatedSessions&) = delete;
};

}   // namespace k3n
