// SPDX-License-Identifier: GPL-3.0-or-later
#include "programming/several_radios_write.h"
#include "comm/port_list.h"
#include <QFileInfo>
#include <chrono>
#include <thread>

namespace k3n {

namespace {

// The device a port name stands for, links followed, so that two names of one
// device compare equal; "" when the port is not there.
QString DeviceOf(const QString& port, const HalvexComm32::TCommSerialPortInfo& portList)
{
    const bool comName = HalvexComm32::TCommSerialPortInfo::PortNo(port) > 0;
    const QString path = comName ? portList.DevicePathOf(port) : port;
    if (path.isEmpty())
        return {};
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

}   // namespace

Result<std::vector<RadioTarget>> ResolveRadioTargets(const QStringList& ports,
                                                     const HalvexComm32::TCommSerialPortInfo& portList)
{
    if (ports.isEmpty())
        return Error{QStringLiteral("no port was named")};
    std::vector<RadioTarget> targets;
    for (const QString& port : ports) {
        if (port.compare(QLatin1String("auto"), Qt::CaseInsensitive) == 0)
            return Error{QStringLiteral("\"auto\" cannot be one of several ports: name each radio's port")};
        RadioTarget target{port, DeviceOf(port, portList)};
        for (const RadioTarget& earlier : targets) {
            const bool sameDevice = !target.device.isEmpty() && target.device == earlier.device;
            if (sameDevice || earlier.port.compare(port, Qt::CaseInsensitive) == 0)
                return Error{QStringLiteral("%1 and %2 are the same device (%3): each radio needs a port of its own")
                                 .arg(earlier.port, port, target.device.isEmpty() ? port : target.device)};
        }
        targets.push_back(std::move(target));
    }
    return targets;
}

QStringList UsbCablePorts(const HalvexComm32::TCommSerialPortInfo& portList)
{
    QStringList ports;
    for (const HalvexComm32::TCommPortEntry& entry : portList.Ports()) {
        const QString device = QFileInfo(entry.devicePath).fileName();
        if (device.startsWith(QLatin1String("ttyUSB")) || device.startsWith(QLatin1String("ttyACM")))
            ports << entry.name;
    }
    return ports;
}

int SeveralRadiosExitCode(const std::vector<SafeWriteResult>& results)
{
    int code = 0;
    for (const SafeWriteResult& result : results) {
        const int one = SafeWriteExitCode(result.outcome);
        if (one == 1)
            return 1;
        code = std::max(code, one);
    }
    return results.empty() ? 1 : code;
}

SeveralRadiosWrite::SeveralRadiosWrite(const RadioData& toWrite, const ProgramTime& now,
                                       std::vector<RadioTarget> targets, SafeWriteOptions options)
    : toWrite_(toWrite), now_(now), targets_(std::move(targets)), options_(std::move(options)),
      results_(targets_.size())
{
    // Nothing can be shown between the backup and the write of many radios at once.
    options_.before_write = nullptr;
}

SeveralRadiosWrite::~SeveralRadiosWrite() = default;

void SeveralRadiosWrite::Run(const ProgressHandler& onProgress, const FinishedHandler& onFinished)
{
    {
        std::lock_guard lock(chainsMutex_);
        chains_.clear();
        // The device each name was resolved to, not the name again: a link re-pointed since
        // cannot send one radio's write to another.
        for (const RadioTarget& target : targets_)
            chains_.push_back(std::make_unique<SafeWrite>(
                toWrite_, now_, PortPlan{false, {target.device.isEmpty() ? target.port : target.device}}, options_));
    }
    std::vector<std::thread> threads;
    threads.reserve(targets_.size());
    for (std::size_t radio = 0; radio < targets_.size(); ++radio) {
        threads.emplace_back([this, radio, &onProgress, &onFinished] {
            const auto started = std::chrono::steady_clock::now();
            results_[radio] = RunOne(radio, onProgress);
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
            if (onFinished)
                onFinished(radio, results_[radio], took.count());
        });
    }
    for (std::thread& thread : threads)
        thread.join();
}

SafeWriteResult SeveralRadiosWrite::RunOne(std::size_t radio, const ProgressHandler& onProgress)
{
    SafeWrite& chain = *chains_[radio];
    if (cancelRequested_)
        chain.RequestCancel();
    QStringList notices;
    chain.Run([&](const RunnerStep& step) {
        for (const QString& notice : step.notices)
            notices << notice;
        if (onProgress)
            onProgress(radio, chain.phase(), chain.progress(), chain.progressMax());
    });
    SafeWriteResult result = chain.result();
    result.notices = notices;
    result.port = targets_[radio].port;   // as the user named it; the device is in result.device
    return result;
}

void SeveralRadiosWrite::RequestCancel()
{
    cancelRequested_ = true;
    std::lock_guard lock(chainsMutex_);
    for (const auto& chain : chains_)
        chain->RequestCancel();
}

}   // namespace k3n
