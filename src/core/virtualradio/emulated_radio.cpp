// SPDX-License-Identifier: GPL-3.0-or-later
#include "virtualradio/emulated_radio.h"
#include "comm/port_list.h"
#include <QFileInfo>
#include <algorithm>
#include <atomic>
#include <map>

namespace k3n {

namespace {

// The radios alive, by device path.
std::mutex registryMutex;
std::map<QString, EmulatedRadio*>& Registry()
{
    static std::map<QString, EmulatedRadio*> radios;
    return radios;
}

EmulatedRadio* FindRadio(const QString& path)
{
    std::lock_guard lock(registryMutex);
    const auto it = Registry().find(path);
    return it == Registry().end() ? nullptr : it->second;
}

// A session's link to one emulated radio at a time. Answers wait in 'pending_'
// until their (simulated) time has come.
class EmulatedLink : public SessionLink {
public:
    std::optional<Error> Open(const QString& nameOrPath) override
    {
        Close();
        // A link to the radio's path opens the radio, as a device link would.
        // "COMn" as the port list has it; a link to the radio's path opens the radio, as a device link would.
        const bool comName = HalvexComm32::TCommSerialPortInfo::PortNo(nameOrPath) > 0;
        const QString named = comName ? HalvexComm32::TCommSerialPortInfo().DevicePathOf(nameOrPath) : nameOrPath;
        const QFileInfo info(named);
        const QString path = info.isSymLink() ? info.symLinkTarget() : named;
        EmulatedRadio* radio = FindRadio(path);
        if (!radio || radio->hungUp()) {
            detail_ = nameOrPath + QStringLiteral(": no such device");
            return Error{QStringLiteral("no such device")};
        }
        radio_ = radio;
        device_ = path;
        return std::nullopt;
    }
    void Close() override
    {
        radio_ = nullptr;
        pending_.clear();
    }
    bool isOpen() const override { return radio_ != nullptr; }
    bool hungUp() const override { return radio_ && radio_->hungUp(); }
    QString detail() const override { return detail_; }
    QString device() const override { return device_; }

    void DiscardInput() override
    {
        std::erase_if(pending_, [this](const Answer& a) { return a.due <= now_; });
    }
    void Send(std::span<const uint8_t> bytes) override
    {
        if (!radio_ || bytes.empty())
            return;
        bool greetingOnly = false;
        std::vector<uint8_t> answer = radio_->Receive(bytes, greetingOnly);
        if (answer.empty())
            return;
        auto due = now_;
        if (greetingOnly)
            due += radio_->greetingDelay();
        if (!pending_.empty())
            due = std::max(due, pending_.back().due);
        pending_.push_back({due, std::move(answer)});
    }
    std::vector<uint8_t> ReadAll() override
    {
        std::vector<uint8_t> bytes;
        while (!pending_.empty() && pending_.front().due <= now_) {
            bytes.insert(bytes.end(), pending_.front().bytes.begin(), pending_.front().bytes.end());
            pending_.erase(pending_.begin());
        }
        return bytes;
    }
    void LetOutputDrain() override {}

    Clock::time_point Now() const override { return now_; }
    Clock::duration DelayUntil(Clock::time_point until) override
    {
        now_ = std::max(now_, until);
        return Clock::duration::zero();
    }
    bool WaitUntil(Clock::time_point until) override
    {
        if (cancelRequested_)
            return true;
        if (!hungUp())   // a hang-up wakes at once, as on a terminal
            now_ = std::max(now_, until);
        return false;
    }
    void RequestCancel() override { cancelRequested_ = true; }

private:
    struct Answer {
        Clock::time_point due;
        std::vector<uint8_t> bytes;
    };
    EmulatedRadio* radio_ = nullptr;
    QString device_;
    QString detail_;
    std::vector<Answer> pending_;
    Clock::time_point now_{};   // the simulated clock
    std::atomic<bool> cancelRequested_{false};
};

}   // namespace

EmulatedRadio::EmulatedRadio(const VirtualRadioOptions& options, const QString& devicePath)
    : devicePath_(devicePath), greetingDelay_(options.greeting_delay)
{
    static std::atomic<int> count{0};
    if (devicePath_.isEmpty())
        devicePath_ = QStringLiteral("/emulated/radio-%1").arg(++count);
    emulator_.SetSerialNumber(options.serial_number);
    emulator_.SetFirmware(options.firmware_model, options.firmware_band, options.firmware_version);
    emulator_.SetBand(options.band.value_or(0));
    emulator_.SetFault(options.fault);
    std::lock_guard lock(registryMutex);
    Registry()[devicePath_] = this;
}

EmulatedRadio::~EmulatedRadio()
{
    std::lock_guard lock(registryMutex);
    Registry().erase(devicePath_);
}

void EmulatedRadio::SetFault(FaultPlan plan)
{
    std::lock_guard lock(mutex_);
    emulator_.SetFault(plan);
}

MemoryImage EmulatedRadio::memory() const
{
    std::lock_guard lock(mutex_);
    return emulator_.memory();
}

void EmulatedRadio::setMemory(const MemoryImage& memory)
{
    std::lock_guard lock(mutex_);
    emulator_.memory() = memory;
}

void EmulatedRadio::writeMemory(uint16_t address, std::span<const uint8_t> bytes)
{
    std::lock_guard lock(mutex_);
    MemoryImage& memory = emulator_.memory();
    std::copy_n(bytes.begin(), std::min(bytes.size(), memory.size() - std::min<std::size_t>(address, memory.size())),
                memory.begin() + address);
}

std::vector<ReceivedFrame> EmulatedRadio::frames() const
{
    std::lock_guard lock(mutex_);
    return emulator_.frames();
}

int EmulatedRadio::frameErrors() const
{
    std::lock_guard lock(mutex_);
    return emulator_.frameErrors();
}

bool EmulatedRadio::hungUp() const
{
    std::lock_guard lock(mutex_);
    return emulator_.hungUp();
}

bool EmulatedRadio::WaitFor(const std::function<bool(const RadioEmulator&)>& condition, std::chrono::milliseconds) const
{
    std::lock_guard lock(mutex_);
    return condition(emulator_);
}

std::vector<uint8_t> EmulatedRadio::Receive(std::span<const uint8_t> bytes, bool& greetingOnly)
{
    std::lock_guard lock(mutex_);
    const std::size_t before = emulator_.frames().size();
    std::vector<uint8_t> answer = emulator_.Receive(bytes);
    const auto& frames = emulator_.frames();
    greetingOnly = frames.size() > before
        && std::all_of(frames.begin() + std::ptrdiff_t(before), frames.end(),
                       [](const ReceivedFrame& f) { return f.command == link::Command::Greeting; });
    return answer;
}

SessionLinkMaker EmulatedLinkMaker()
{
    return [] { return std::make_shared<EmulatedLink>(); };
}

}   // namespace k3n
