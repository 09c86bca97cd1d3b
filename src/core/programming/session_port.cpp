// SPDX-License-Identifier: GPL-3.0-or-later
#include "programming/session_port.h"
#include "comm/comm_component.h"
#include "comm/comm_error.h"
#include "programming/port_failure_text.h"
#include <QFile>
#include <climits>
#include <unistd.h>

namespace k3n {

using namespace HalvexComm32;

namespace {
// Long enough for the end frame to leave a real UART; a pty takes it at once.
constexpr auto kDrainLimit = std::chrono::milliseconds(500);

// What an open descriptor is, as the kernel names it: a link re-pointed later changes nothing.
QString DeviceOfDescriptor(int fd)
{
    char target[PATH_MAX];
    const QByteArray proc = "/proc/self/fd/" + QByteArray::number(fd);
    const ssize_t n = ::readlink(proc.constData(), target, sizeof target - 1);
    return n > 0 ? QFile::decodeName(QByteArray(target, int(n))) : QString();
}
}   // namespace

namespace {
std::mutex defaultMakerMutex;
SessionLinkMaker defaultMaker;
}   // namespace

std::shared_ptr<SessionLink> MakeSessionLink(const SessionLinkMaker& maker)
{
    if (maker)
        return maker();
    std::lock_guard lock(defaultMakerMutex);
    return defaultMaker ? defaultMaker() : std::make_shared<SessionPort>();
}

void SetDefaultSessionLinkMaker(SessionLinkMaker maker)
{
    std::lock_guard lock(defaultMakerMutex);
    defaultMaker = std::move(maker);
}

SessionPort::SessionPort() : device_(std::make_unique<TZebCommDevice>())
{
    // Notifications straight from the port's threads: only recorded here, they wake a
    // blocking driver, so no event loop is needed.
    device_->fSetSyncEvents(false);
    QObject::connect(device_.get(), &TZebCustomCommDevice::OnCommNotify,
                     [this](QObject*, quint32 mask) { OnPortEvent(mask); });
}

SessionPort::~SessionPort()
{
    Close();
}

// On one of the port's own threads.
void SessionPort::OnPortEvent(uint32_t mask)
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

std::optional<Error> SessionPort::Open(const QString& nameOrPath)
{
    Close();
    openedDevice_.clear();
    device_->fSetDeviceName(nameOrPath);
    device_->fSetBaud(TBaudRate::br19200);
    device_->fSetByteSize(8);
    device_->fSetParity(TParity::ptNoParity);
    device_->fSetStopBits(TStopBits::sbOneStopBit);
    {
        std::lock_guard lock(mutex_);
        hangUpSignalled_ = false;
    }
    try {
        device_->fSetActive(true);
    } catch (const EComm32Error& e) {
        Close();
        openFailureDetail_ = PortErrorDetail(e);
        return Error{PortErrorMessage(e)};
    }
    openedDevice_ = DeviceOfDescriptor(device_->fGetHandle());
    return std::nullopt;
}

void SessionPort::Close()
{
    try {
        device_->fSetActive(false);
    } catch (const EComm32Error&) {   // a thread that would not stop: the port is released all the same
    }
}

bool SessionPort::isOpen() const
{
    return device_->fGetActive();
}

bool SessionPort::hungUp() const
{
    return device_->fGetActive() && device_->HungUp();
}

void SessionPort::DiscardInput()
{
    if (isOpen())
        device_->PurgeRead(false);
}

void SessionPort::Send(std::span<const uint8_t> bytes)
{
    if (bytes.empty() || !isOpen())
        return;
    {
        std::lock_guard lock(mutex_);
        txEmpty_ = false;
    }
    device_->Write(bytes.data(), int(bytes.size()));
}

std::vector<uint8_t> SessionPort::ReadAll()
{
    std::vector<uint8_t> bytes;
    if (!isOpen())
        return bytes;
    uint8_t block[TComm32::kQueueSize];   // the most one Read gives
    for (int n; (n = device_->Read(block, int(sizeof block))) > 0;)
        bytes.insert(bytes.end(), block, block + n);
    return bytes;
}

void SessionPort::LetOutputDrain()
{
    if (!isOpen())
        return;
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, kDrainLimit, [this] { return txEmpty_ && device_->fGetOutQueue()->Count() == 0; });
}

bool SessionPort::WaitUntil(Clock::time_point until)
{
    std::unique_lock lock(mutex_);
    wake_.wait_until(lock, until, [this] { return cancelRequested_ || hangUpSignalled_; });
    hangUpSignalled_ = false;   // the driver looks at the port's state itself
    return cancelRequested_;
}

void SessionPort::RequestCancel()
{
    {
        std::lock_guard lock(mutex_);
        cancelRequested_ = true;
    }
    wake_.notify_all();
}

}   // namespace k3n
