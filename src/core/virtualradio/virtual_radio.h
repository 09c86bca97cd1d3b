// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The virtual radio: serves the radio's side of the programming link on a
// pseudo-terminal, on a thread of its own. The program opens devicePath()
// like any serial port. Used by the tests, the benchmark and `k3n virtual-radio`.
#include "text/error.h"
#include "virtualradio/radio_emulator.h"
#include <QString>
#include <array>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <thread>

namespace k3n {

struct VirtualRadioOptions {
    // The band code the radio reports; none: the memory file's, or band 0.
    std::optional<int> band;
    // Loaded at Start when it exists (8192 bytes); saved after every end frame and at Stop.
    QString memory_file;
    // A symbolic link made to the device path (an existing link there is replaced).
    QString link_path;
    // 0: answer at once. Otherwise frames take their wire time at this rate, 10 bits a
    // byte, both ways: the answer starts when the request would have arrived.
    int baud = 0;
    std::array<uint8_t, 8> serial_number{'0', '0', '0', '0', '0', '0', '0', '1'};
    uint16_t firmware_model = 0x0003;
    uint16_t firmware_band = 0x0000;
    uint16_t firmware_version = 0x0100;
    FaultPlan fault;
    // A radio slow to wake: every greeting is answered this much later, so a program
    // that greets again meanwhile gets one answer for each greeting.
    std::chrono::milliseconds greeting_delay{0};
};

class VirtualRadio {
public:
    explicit VirtualRadio(VirtualRadioOptions options = {});
    ~VirtualRadio();
    VirtualRadio(const VirtualRadio&) = delete;
    VirtualRadio& operator=(const VirtualRadio&) = delete;

    // Opens the pseudo-terminal and starts serving.
    std::optional<Error> Start();
    // Stops serving, saves the memory file, removes the link. Also done by the destructor.
    void Stop();

    const QString& devicePath() const { return devicePath_; }

    void SetFault(FaultPlan plan);
    MemoryImage memory() const;
    void setMemory(const MemoryImage& memory);
    // Changes bytes of the memory in one step, between two frames (another radio put on the cable).
    void writeMemory(uint16_t address, std::span<const uint8_t> bytes);
    std::vector<ReceivedFrame> frames() const;
    int frameErrors() const;
    bool hungUp() const;
    // Waits until 'condition' holds for the radio's state, at most 'timeout'.
    bool WaitFor(const std::function<bool(const RadioEmulator&)>& condition, std::chrono::milliseconds timeout) const;

private:
    void Serve();
    void SendPaced(const std::vector<uint8_t>& answer, std::size_t requestBytes);
    // Answers held back (late greetings), in order, with when each is due.
    struct LaterAnswer {
        std::chrono::steady_clock::time_point due;
        std::vector<uint8_t> bytes;
        std::size_t requestBytes;
    };
    void Answer(std::vector<uint8_t> answer, std::size_t requestBytes, bool greetingOnly);
    void SendDueAnswers();
    int MsUntilNextAnswer() const;
    // After a close of the terminal by someone: when no program holds the port
    // any more, what a program that died (even by SIGKILL) left set is undone.
    void NoteClose();
    void ReleaseIfNoClient();
    int MsUntilNextCheck() const;
    void CloseLink();
    std::optional<Error> SaveMemory() const;

    VirtualRadioOptions options_;
    QString devicePath_;
    int master_ = -1;
    int heldSlave_ = -1;   // keeps the terminal alive between the program's sessions
    int stopEvent_ = -1;
    int closeWatch_ = -1;   // inotify: closes of the terminal's device
    std::thread thread_;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    RadioEmulator emulator_;

    std::vector<LaterAnswer> later_;   // the serving thread's own
    // Until when a close is looked into: the program's lock goes a moment after its close.
    std::optional<std::chrono::steady_clock::time_point> checkUntil_;
    std::chrono::steady_clock::time_point inboundFree_{};
    std::chrono::steady_clock::time_point outboundFree_{};
};

}   // namespace k3n
