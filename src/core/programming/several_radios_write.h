// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One configuration written into several radios at once: one complete write
// (backup, write, read-back, as switched on) per port, each on a thread and a
// serial device of its own. One radio's failure does not stop the others.
#include "programming/safe_write.h"
#include "text/error.h"
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace HalvexComm32 {
class TCommSerialPortInfo;
}

namespace k3n {

// One radio: the port as the user named it and the device it resolves to.
struct RadioTarget {
    QString port;   // "COM2", "/dev/ttyUSB0", ...
    QString device;   // the device path with links followed; "" when the port is unknown
};

// The targets of these port names (COMn through the port list, or device
// paths). Refused when two name the same device (COM2 and /dev/ttyUSB0 can),
// when "auto" is among them, or when there is none. An unknown port is no
// error here: its radio fails alone with the reason.
Result<std::vector<RadioTarget>> ResolveRadioTargets(const QStringList& ports,
                                                     const HalvexComm32::TCommSerialPortInfo& portList);

// The ports of USB serial cables in the list (what "every cable present" means).
QStringList UsbCablePorts(const HalvexComm32::TCommSerialPortInfo& portList);

// 0 when every radio was written (and verified where asked), 3 when all were
// written but some could not be verified, 1 when any failed.
int SeveralRadiosExitCode(const std::vector<SafeWriteResult>& results);

class SeveralRadiosWrite {
public:
    // Called on the radio's own thread after every step of its write.
    using ProgressHandler = std::function<void(std::size_t radio, SafeWritePhase phase, int progress, int max)>;
    // Called on the radio's own thread when its write has ended.
    using FinishedHandler = std::function<void(std::size_t radio, const SafeWriteResult& result, double seconds)>;

    SeveralRadiosWrite(const RadioData& toWrite, const ProgramTime& now, std::vector<RadioTarget> targets,
                       SafeWriteOptions options);
    ~SeveralRadiosWrite();

    // Blocking: runs every radio's write at once and returns when all have ended.
    void Run(const ProgressHandler& onProgress, const FinishedHandler& onFinished);
    // From any thread: every running write stops at once (no end frame) and is cancelled.
    void RequestCancel();

    const std::vector<RadioTarget>& targets() const { return targets_; }
    const std::vector<SafeWriteResult>& results() const { return results_; }

private:
    SafeWriteResult RunOne(std::size_t radio, const ProgressHandler& onProgress);

    RadioData toWrite_;
    ProgramTime now_;
    std::vector<RadioTarget> targets_;
    SafeWriteOptions options_;
    std::vector<SafeWriteResult> results_;
    std::vector<std::unique_ptr<SafeWrite>> chains_;
    std::mutex chainsMutex_;
    std::atomic<bool> cancelRequested_{false};
};

}   // namespace k3n
