// SPDX-License-Identifier: GPL-3.0-or-later
#include "comm/serial_engine.h"

#include "comm/comm_error.h"
#include "comm/port_errors.h"
#include "comm/port_list.h"

#include <QFile>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace HalvexComm32 {

TComm32::TComm32()
{
    fSetPortNo(portNo_);
}

TComm32::~TComm32()
{
    if (OnOwnThread()) {
        // Destroyed from one of its own notifications: that thread cannot be
        // joined; the others are stopped and it leaves without touching the engine.
        StopThreadsFromOwnThread();
        return;
    }
    try {
        TComm32::Close();
    } catch (const EComm32Error&) {
    }
}

// ---- Queues ---------------------------------------------------------------

int TComm32::Read(void* buffer, int length)
{
    return inQueue_.Out(buffer, length);
}

int TComm32::Write(const void* buffer, int length)
{
    if (disableWrite_.load())
        return 0;
    const int n = outQueue_.In(buffer, length);
    writerReady_.Set();
    return n;
}

int TComm32::Command(const char* text)
{
    if (!text)
        return 0;
    const int n = outQueue_.In(text, static_cast<int>(std::strlen(text)));
    writerReady_.Set();
    return n;
}

void TComm32::PurgeRead(bool /*abort: reads never wait here*/)
{
    if (!active_.load())
        return;
    std::lock_guard lock(receiveMutex_);
    ++purgeGeneration_;
    tcflush(fd_, TCIFLUSH);
    inQueue_.Discard();
}

void TComm32::PurgeWrite(bool abort)
{
    if (!active_.load())
        return;
    if (abort)
        purgeChunk_.store(true);
    DiscardPortOutput();
    outQueue_.Discard();
}

void TComm32::ResetModem()
{
    Command("ATZ\r");
}

void TComm32::InitModem()
{
    char text[64];
    std::snprintf(text, sizeof text, "ATE0&K%dS0=%d\r", static_cast<int>(fGetFCtrl()), static_cast<int>(autoAnswer_));
    Command(text);
}

// ---- Modem lines and flow control ------------------------------------------

bool TComm32::EscapeCommFunction(uint32_t function)
{
    if (!active_.load())
        return false;
    int line = 0;
    unsigned long request = 0;
    switch (function) {
    case SETRTS:
        line = TIOCM_RTS;
        request = TIOCMBIS;
        break;
    case CLRRTS:
        line = TIOCM_RTS;
        request = TIOCMBIC;
        break;
    case SETDTR:
        line = TIOCM_DTR;
        request = TIOCMBIS;
        break;
    case CLRDTR:
        line = TIOCM_DTR;
        request = TIOCMBIC;
        break;
    case SETXOFF: return tcflow(fd_, TCOOFF) == 0;
    case SETXON: return tcflow(fd_, TCOON) == 0;
    case SETBREAK: return ioctl(fd_, TIOCSBRK) == 0;
    case CLRBREAK: return ioctl(fd_, TIOCCBRK) == 0;
    default: return false;
    }
    if (ioctl(fd_, request, &line) < 0)
        return false;
    if (function == SETRTS || function == CLRRTS)
        rtsState_ = function == SETRTS;
    else
        dtrState_ = function == SETDTR;
    return true;
}

bool TComm32::fGetDTR() const
{
    return active_.load() && dtrState_;
}

void TComm32::fSetDTR(bool on)
{
    if (active_.load())
        EscapeCommFunction(on ? SETDTR : CLRDTR);
    else
        dtrState_ = on;
}

bool TComm32::fGetRTS() const
{
    return active_.load() && rtsState_;
}

void TComm32::fSetRTS(bool on)
{
    if (active_.load())
        EscapeCommFunction(on ? SETRTS : CLRRTS);
    else
        rtsState_ = on;
}

TComm32::TFlowControl TComm32::fGetFCtrl() const
{
    if (line_.ctsOutputFlow && line_.xonXoffOutput)
        return fcRtsCtsXonXoff;
    if (line_.ctsOutputFlow)
        return fcRtsCts;
    if (line_.xonXoffOutput)
        return fcXonXoff;
    return fcNone;
}

void TComm32::fSetFCtrl(TFlowControl code)
{
    Close();
    const bool rtsCts = code == fcRtsCts || code == fcRtsCtsXonXoff;
    const bool xonXoff = code == fcXonXoff || code == fcTranXonXoff || code == fcRtsCtsXonXoff;
    line_.rtsControl = rtsCts ? kRtsControlHandshake : kRtsControlEnable;
    line_.ctsOutputFlow = rtsCts;
    line_.dtrControl = kDtrControlEnable;
    line_.dsrOutputFlow = false;
    line_.xonXoffInput = xonXoff;
    line_.xonXoffOutput = xonXoff;
}

// ---- Port name -------------------------------------------------------------

void TComm32::fSetPortNo(int portNo)
{
    portNo_ = portNo;
    deviceName_ = TCommSerialPortInfo::PortName(portNo);
}

void TComm32::fSetDeviceName(const QString& nameOrPath)
{
    const int n = TCommSerialPortInfo::PortNo(nameOrPath);
    if (n > 0) {
        fSetPortNo(n);
        return;
    }
    portNo_ = 0;
    deviceName_ = nameOrPath;
}

QString TComm32::ResolveDevicePath() const
{
    if (TCommSerialPortInfo::PortNo(deviceName_) > 0)
        return TCommSerialPortInfo().DevicePathOf(deviceName_);
    // Anything else would be opened relative to the working folder.
    return deviceName_.startsWith(QLatin1Char('/')) ? deviceName_ : QString();
}

QString TComm32::PortLabel(const QString& devicePath) const
{
    if (devicePath.isEmpty() || devicePath == deviceName_)
        return deviceName_;
    return QStringLiteral("%1 (%2)").arg(deviceName_, devicePath);
}

// ---- Open and close --------------------------------------------------------

int TComm32::OpenDevice(std::optional<TPortRefusal>& refusal)
{
    const QString path = ResolveDevicePath();
    const QString label = PortLabel(path);
    if (path.isEmpty()) {
        refusal = TPortRefusal{label, PortFailureOf(ENOENT), {}};
        return EComm32Error::ecOpenPort;
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        refusal = TPortRefusal{label, PortFailureOf(errno), {}};
        return EComm32Error::ecOpenPort;
    }
    termios current{};
    int err = 0;
    if (tcgetattr(fd, &current) < 0)
        err = errno;   // ENOTTY: not a serial port
    // flock before TIOCEXCL: it also holds against root, whom TIOCEXCL does not
    // stop, and a refused attempt must leave the other program's exclusive flag alone.
    else if (flock(fd, LOCK_EX | LOCK_NB) < 0)
        err = errno;
    if (err != 0) {
        ::close(fd);
        refusal = TPortRefusal{label, PortFailureOf(err), {}};
        return EComm32Error::ecOpenPort;
    }
    exclusive_ = ioctl(fd, TIOCEXCL) == 0;
    savedTermios_ = current;   // given back at close, as other programs expect to find the port
    termiosSaved_ = true;
    fd_ = fd;
    return 0;
}

void TComm32::SetModemLine(int line, bool on)
{
    // A pseudo-terminal has no modem lines (ENOTTY): never a reason to fail.
    ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &line);
}

void TComm32::StartThreads(int& code)
{
    struct Worker {
        std::thread& thread;
        std::atomic<bool>& run;
        std::atomic<bool>& alive;
        void (TComm32::*body)();
        int failure;
    };
    const Worker workers[] = {
        {reader_, readerRun_, readerAlive_, &TComm32::ReaderThread, EComm32Error::ecReadThread},
        {timer_, timerRun_, timerAlive_, &TComm32::TimerThread, EComm32Error::ecReadThread},
        {writer_, writerRun_, writerAlive_, &TComm32::WriterThread, EComm32Error::ecWriteThread},
    };
    // A thread may read the handles when its own notification destroys the engine.
    std::lock_guard lock(aliveMutex_);
    for (const Worker& w : workers) {
        w.run.store(true);
        w.alive.store(true);
        try {
            w.thread = std::thread(w.body, this);
        } catch (const std::system_error&) {
            w.run.store(false);
            w.alive.store(false);
            code = w.failure;
            return;
        }
    }
}

void TComm32::Open()
{
    if (active_.load())
        return;
    tickCounter_.store(0);
    hungUp_.store(false);
    purgeChunk_.store(false);

    int code = 0;
    QString detail;
    std::optional<TPortRefusal> refusal;
    if (!inQueue_.HasBuffer())
        code = EComm32Error::ecReadBuffer;
    else if (!outQueue_.HasBuffer())
        code = EComm32Error::ecWriteBuffer;
    if (code == 0)
        code = OpenDevice(refusal);
    // The event mask and the driver's buffer sizes have no counterpart here.
    if (code == 0) {
        if (line_.dtrControl != kDtrControlHandshake)
            line_.dtrControl = dtrState_ ? kDtrControlEnable : kDtrControlDisable;
        if (line_.rtsControl != kRtsControlHandshake && line_.rtsControl != kRtsControlToggle)
            line_.rtsControl = rtsState_ ? kRtsControlEnable : kRtsControlDisable;
        if (const std::optional<TLineSettingsFailure> failed = ApplyLineSettings(fd_, line_)) {
            code = EComm32Error::ecSetParameters;
            if (failed->failure)
                refusal = TPortRefusal{PortLabel(deviceName_), *failed->failure, failed->settings};
            else
                detail = PortLabel(deviceName_) + QStringLiteral(": ") + failed->refused;
        }
    }
    if (code == 0) {
        SetModemLine(TIOCM_DTR, line_.dtrControl != kDtrControlDisable);
        if (line_.rtsControl != kRtsControlHandshake)
            SetModemLine(TIOCM_RTS, line_.rtsControl != kRtsControlDisable);
    }
    if (code == 0 && !(readerStop_.Create() && timerStop_.Create() && txDone_.Create()))
        code = EComm32Error::ecReadEvent;
    if (code == 0 && !(writerReady_.Create() && writerStop_.Create()))
        code = EComm32Error::ecWriteEvent;
    if (code == 0)
        StartThreads(code);

    if (code != 0) {
        try {
            Close();
        } catch (const EComm32Error&) {
            // The failure to open is what the caller needs to hear about.
        }
        const auto errorCode = static_cast<EComm32Error::TErrorCode>(code);
        if (refusal)
            throw EComm32Error(errorCode, *refusal);
        throw EComm32Error(errorCode, detail);
    }

    active_.store(true);
    disableWrite_.store(false);
    uint32_t status = 0;
    modemStatusKnown_.store(ReadModemLines(status));
    if (modemStatusKnown_.load())
        modemStatus_.store(status);
    dtrState_ = line_.dtrControl != kDtrControlDisable;
    rtsState_ = line_.rtsControl != kRtsControlDisable;
    CommNotify(EV_MODEMLINES);
    CommAfterOpen();
}

void TComm32::MarkStopped(std::atomic<bool>& alive)
{
    {
        std::lock_guard lock(aliveMutex_);
        alive.store(false);
    }
    aliveChanged_.notify_all();
}

bool TComm32::WaitThreadsStopped()
{
    std::unique_lock lock(aliveMutex_);
    return aliveChanged_.wait_for(lock, std::chrono::milliseconds(kCloseLimitMs), [this] {
        return !readerAlive_.load() && !writerAlive_.load() && !timerAlive_.load();
    });
}

void TComm32::WaitOutputDrained()
{
    // The kernel's own closing wait may hold close() for 30 s while flow control
    // holds the output. Output still moving is waited for; output that has not
    // moved for the close limit is dropped.
    if (fd_ < 0 || hungUp_.load())
        return;
    const auto held = std::chrono::milliseconds(kCloseLimitMs);
    auto limit = std::chrono::steady_clock::now() + held;
    int queued = -1;
    while (!OutputDrained()) {
        int now = -1;
        ioctl(fd_, TIOCOUTQ, &now);
        if (now != queued) {
            queued = now;
            limit = std::chrono::steady_clock::now() + held;
        } else if (std::chrono::steady_clock::now() >= limit) {
            DiscardPortOutput();
            return;
        }
        ::poll(nullptr, 0, 5);
    }
}

void TComm32::ReleasePort()
{
    if (fd_ < 0)
        return;
    WaitOutputDrained();
    if (termiosSaved_) {
        // HUPCL stays as the engine set it, so that close still drops DTR and RTS.
        termios restored = savedTermios_;
        termios current{};
        if (tcgetattr(fd_, &current) == 0)
            restored.c_cflag = (restored.c_cflag & ~HUPCL) | (current.c_cflag & HUPCL);
        tcsetattr(fd_, TCSANOW, &restored);
    }
    termiosSaved_ = false;
    // The exclusive flag would outlive this descriptor while the other end stays open.
    if (exclusive_)
        ioctl(fd_, TIOCNXCL);
    exclusive_ = false;
    ::close(fd_);
    fd_ = -1;
}

void TComm32::Close()
{
    // A thread cannot join itself: refuse before anything is torn down.
    if (OnOwnThread())
        throw EComm32Error(EComm32Error::ecCloseReadThread);
    const bool wasActive = active_.load();
    if (wasActive)
        CommBeforeClose();

    TellThreadsToStop();

    int code = 0;
    if (!WaitThreadsStopped()) {
        if (readerAlive_.load() || timerAlive_.load())
            code = EComm32Error::ecCloseReadThread;
        if (writerAlive_.load())
            code = EComm32Error::ecCloseWriteThread;
    }
    // Past the limit still wait: nothing may use the descriptors released below.
    for (std::thread* t : {&reader_, &writer_, &timer_})
        if (t->joinable())
            t->join();

    readerStop_.Release();
    timerStop_.Release();
    txDone_.Release();
    writerReady_.Release();
    writerStop_.Release();
    ReleasePort();

    dtrState_ = line_.dtrControl != kDtrControlDisable;
    rtsState_ = line_.rtsControl != kRtsControlDisable;
    if (wasActive) {
        active_.store(false);
        modemStatus_.store(0);
        CommNotify(EV_MODEMLINES);
    }
    if (code != 0)
        throw EComm32Error(static_cast<EComm32Error::TErrorCode>(code));
}

// ---- Callbacks -------------------------------------------------------------

void TComm32::CommNotify(uint32_t mask)
{
    if (!OnCommNotify)
        return;
    try {
        OnCommNotify(this, mask);
    } catch (...) {
    }
}

void TComm32::CommAfterOpen()
{
    if (!OnAfterOpen)
        return;
    try {
        OnAfterOpen(this);
    } catch (...) {
    }
}

void TComm32::CommBeforeClose()
{
    if (!OnBeforeClose)
        return;
    try {
        OnBeforeClose(this);
    } catch (...) {
    }
}

}   // namespace HalvexComm32
