// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's reader, writer and timer threads. Each waits in poll() on the
// port and eventfds, never in a sleep loop: an idle open port costs only the
// timer's tick.
#include "comm/serial_engine.h"

#include <cerrno>
#include <chrono>
#include <linux/serial.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

namespace HalvexComm32 {

namespace {

// While written output is still in the port, the reader looks again this often
// for the moment it has drained (no event reports it).
constexpr int kTxDrainPollMs = 5;
// Output that has not drained after this many looks is held by flow control:
// look once a timer tick instead.
constexpr int kHeldOutputLooks = TComm32::kTimerIntervalMs / kTxDrainPollMs;

// The engine a worker thread works for, set as the thread starts.
thread_local const TComm32* t_ownEngine = nullptr;
// Set on a worker thread whose own notification destroyed its engine: the thread
// then leaves without touching the engine again.
thread_local const TComm32* t_destroyedEngine = nullptr;

bool Signalled(const pollfd& p)
{
    return (p.revents & (POLLIN | POLLERR | POLLHUP | POLLNVAL)) != 0;
}

}   // namespace

// ---- Port access (replaceable) ---------------------------------------------

bool TComm32::ReadModemLines(uint32_t& status)
{
    int lines = 0;
    if (fd_ < 0 || ioctl(fd_, TIOCMGET, &lines) < 0)
        return false;
    status = ((lines & TIOCM_CTS) ? MS_CTS_ON : 0) | ((lines & TIOCM_DSR) ? MS_DSR_ON : 0)
        | ((lines & TIOCM_RNG) ? MS_RING_ON : 0) | ((lines & TIOCM_CAR) ? MS_RLSD_ON : 0);
    return true;
}

ssize_t TComm32::ReadFromPort(uint8_t* data, size_t length)
{
    const ssize_t n = ::read(fd_, data, length);
    return n < 0 ? -errno : n;
}

ssize_t TComm32::WriteToPort(const uint8_t* data, size_t length)
{
    const ssize_t n = ::write(fd_, data, length);
    return n < 0 ? -errno : n;
}

bool TComm32::OutputDrained() const
{
    int queued = 0;
    if (ioctl(fd_, TIOCOUTQ, &queued) == 0 && queued > 0)
        return false;
    unsigned int lsr = 0;
    if (ioctl(fd_, TIOCSERGETLSR, &lsr) == 0 && !(lsr & TIOCSER_TEMT))
        return false;
    return true;   // also where the port cannot tell (a pseudo-terminal)
}

void TComm32::DiscardPortOutput()
{
    tcflush(fd_, TCOFLUSH);
}

int TComm32::PollPort(pollfd* fds, nfds_t count, int timeoutMs)
{
    return ::poll(fds, count, timeoutMs);
}

// ---- Waiting -------------------------------------------------------------------

void TComm32::BackOffAfterPollFailure(bool& failing, const std::atomic<bool>& run)
{
    if (!failing) {
        failing = true;
        if (threadsFailingToPoll_.fetch_add(1) == 0)
            CommNotify(EV_ERR);
        if (t_destroyedEngine == this)
            return;
    }
    // Close wakes this pause through the run flag.
    std::unique_lock lock(aliveMutex_);
    aliveChanged_.wait_for(lock, std::chrono::milliseconds(kTimerIntervalMs), [&run] { return !run.load(); });
}

void TComm32::PollSucceeded(bool& failing)
{
    if (failing)
        threadsFailingToPoll_.fetch_sub(1);
    failing = false;
}

int TComm32::WaitForEvent(std::initializer_list<int> fds, int timeoutMs, const std::atomic<bool>& run)
{
    pollfd polled[2]{};
    nfds_t count = 0;
    for (int fd : fds)
        if (count < 2)
            polled[count++] = pollfd{fd, POLLIN, 0};
    bool failing = false;
    for (;;) {
        const int r = PollPort(polled, count, timeoutMs);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0) {
            BackOffAfterPollFailure(failing, run);
            if (t_destroyedEngine == this || !run.load()) {
                if (t_destroyedEngine != this)
                    PollSucceeded(failing);
                return -2;
            }
            continue;
        }
        PollSucceeded(failing);
        if (r == 0)
            return -1;
        for (nfds_t k = 0; k < count; ++k)
            if (polled[k].revents != 0)
                return int(k);
        return -1;
    }
}

// ---- Close and destruction from an own thread -------------------------------------

bool TComm32::OnOwnThread() const
{
    return t_ownEngine == this;
}

void TComm32::TellThreadsToStop()
{
    {
        std::lock_guard lock(aliveMutex_);   // so that a thread pausing after a failed poll hears it
        readerRun_.store(false);
        writerRun_.store(false);
        timerRun_.store(false);
    }
    aliveChanged_.notify_all();
    readerStop_.Set();
    writerStop_.Set();
    timerStop_.Set();
}

void TComm32::StopThreadsFromOwnThread()
{
    TellThreadsToStop();
    // The handles were stored under aliveMutex_ (see StartThreads); joined outside it.
    std::thread others[3];
    {
        std::lock_guard lock(aliveMutex_);
        int n = 0;
        for (std::thread* t : {&reader_, &writer_, &timer_}) {
            if (t->get_id() == std::this_thread::get_id())
                t->detach();
            else
                others[n++] = std::move(*t);
        }
    }
    for (std::thread& t : others)
        if (t.joinable())
            t.join();
    t_destroyedEngine = this;
    ReleasePort();
    active_.store(false);
}
// ---- Reader ------------------------------------------------------------------

bool TComm32::DrainPort(uint8_t* block, bool& hungUp)
{
    bool got = false;
    for (;;) {
        uint64_t generation;
        {
            std::lock_guard lock(receiveMutex_);
            generation = purgeGeneration_;
        }
        const ssize_t n = ReadFromPort(block, kReadBlock);
        if (n > 0) {
            std::lock_guard lock(receiveMutex_);
            if (generation == purgeGeneration_)   // else purged while it was being read
                inQueue_.In(block, static_cast<int>(n));   // what does not fit is lost
            got = true;
        } else if (n == -EINTR) {
            continue;
        } else {
            // 0 on a non-blocking tty is the other end gone; EIO the device gone.
            if (n != -EAGAIN)
                hungUp = true;
            return got;
        }
    }
}

bool TComm32::PassedRx80Full()
{
    const bool above = int64_t(inQueue_.Count()) * 5 > int64_t(inQueue_.BufSize()) * 4;
    const bool passed = above && !rxAbove80_;
    rxAbove80_ = above;
    return passed;
}

bool TComm32::LineErrorsChanged()
{
    if (!icountSupported_)
        return false;
    serial_icounter_struct counts{};
    if (ioctl(fd_, TIOCGICOUNT, &counts) < 0) {
        icountSupported_ = false;
        return false;
    }
    const uint64_t sum = uint64_t(counts.frame) + counts.overrun + counts.parity + counts.brk + counts.buf_overrun;
    const bool changed = sum != icountSum_;
    icountSum_ = sum;
    return changed;
}

void TComm32::FinishPortEvent(uint32_t mask, const uint32_t* freshStatus)
{
    if (mask & EV_MODEMLINES) {
        uint32_t status = 0;
        if (freshStatus) {
            modemStatus_.store(*freshStatus);
            modemStatusKnown_.store(true);
        } else if (ReadModemLines(status)) {
            modemStatus_.store(status);
            modemStatusKnown_.store(true);
        }
        if ((mask & EV_CTS) && line_.ctsOutputFlow && (modemStatus_.load() & MS_CTS_ON))
            mask |= EV_TXEMPTY;   // the writer may go on
        if (mask & EV_RLSD)
            tickCounter_.store(0);
    }
    // Where the lines cannot be read the CTS bit means nothing; the kernel holds output itself.
    const bool ctsGates = line_.ctsOutputFlow && modemStatusKnown_.load();
    if ((mask & EV_TXEMPTY) && ((modemStatus_.load() & MS_CTS_ON) || !ctsGates)) {
        if (outQueue_.Count() > 0)
            mask &= ~EV_TXEMPTY;
        writerReady_.Set();
    }
    CommNotify(mask);
}

void TComm32::ReaderThread()
{
    t_ownEngine = this;
    // A lower nice value where allowed; the kernel buffers seconds of input, so failing is harmless.
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
    if (errno == 0)
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), nice - 5);

    uint8_t block[kReadBlock];
    icountSupported_ = true;
    LineErrorsChanged();
    rxAbove80_ = false;
    pollfd fds[3] = {{fd_, POLLIN, 0}, {readerStop_.Fd(), POLLIN, 0}, {txDone_.Fd(), POLLIN, 0}};
    bool txPending = false;
    int txLooks = 0;   // looks at pending output since it was written
    bool pollFailing = false;
    while (readerRun_.load()) {
        const int timeout = !txPending ? -1 : txLooks < kHeldOutputLooks ? kTxDrainPollMs : kTimerIntervalMs;
        const int r = PollPort(fds, 3, timeout);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0) {
            BackOffAfterPollFailure(pollFailing, readerRun_);
            if (t_destroyedEngine == this)
                return;
            continue;
        }
        PollSucceeded(pollFailing);
        if (r > 0 && Signalled(fds[1]))
            break;
        if (!readerRun_.load())
            break;

        uint32_t mask = 0;
        bool event = false;
        bool hangUp = false;
        if (r > 0 && fds[0].revents != 0) {
            if ((fds[0].revents & POLLIN) && DrainPort(block, hangUp)) {
                mask |= EV_RXCHAR;
                event = true;
            }
            if (PassedRx80Full())
                mask |= EV_RX80FULL;
            if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL))
                hangUp = true;
        }
        if (r > 0 && Signalled(fds[2])) {
            txDone_.Reset();
            txPending = fds[0].fd >= 0;   // a vanished port never drains
            txLooks = 0;
        }
        if (txPending) {
            if (OutputDrained()) {
                txPending = false;
                mask |= EV_TXEMPTY;
                event = true;
            } else if (txLooks < kHeldOutputLooks) {
                ++txLooks;
            }
        }
        if (event && fds[0].fd >= 0 && LineErrorsChanged())
            mask |= EV_ERR;
        if (hangUp && fds[0].fd >= 0) {
            // A vanished port reports POLLHUP on every poll: stop watching it and say so once.
            fds[0].fd = -1;
            txPending = false;
            hungUp_.store(true);
            mask |= EV_HANGUP;
            event = true;
        }
        if (event) {
            FinishPortEvent(mask, nullptr);
            if (t_destroyedEngine == this)
                return;
        }
    }
    MarkStopped(readerAlive_);
}

// ---- Writer ------------------------------------------------------------------

size_t TComm32::WriteChunk(const uint8_t* data, size_t length, bool& stopped)
{
    size_t done = 0;
    bool pollFailing = false;
    while (done < length && !purgeChunk_.load()) {
        const ssize_t n = WriteToPort(data + done, length - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n == -EINTR)
            continue;
        if (n != -EAGAIN)
            break;   // the port failed: the reader reports a vanished port
        pollfd fds[2] = {{fd_, POLLOUT, 0}, {writerStop_.Fd(), POLLIN, 0}};
        const int r = PollPort(fds, 2, -1);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0) {
            BackOffAfterPollFailure(pollFailing, writerRun_);
            if (t_destroyedEngine == this || !writerRun_.load()) {
                stopped = true;
                break;
            }
            continue;
        }
        PollSucceeded(pollFailing);
        if (Signalled(fds[1]) || !writerRun_.load()) {
            stopped = true;
            break;
        }
        if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL))
            break;
    }
    return done;
}

void TComm32::WriterThread()
{
    t_ownEngine = this;
    uint8_t chunk[kWriteChunk];
    size_t length = 0;
    size_t sent = 0;
    while (writerRun_.load()) {
        if (WaitForEvent({writerStop_.Fd(), writerReady_.Fd()}, -1, writerRun_) != 1 || !writerRun_.load()) {
            if (t_destroyedEngine == this)
                return;
            break;
        }
        writerReady_.Reset();
        if (purgeChunk_.exchange(false))
            sent = length;
        if (sent < length) {
            bool stopped = false;
            sent += WriteChunk(chunk + sent, length - sent, stopped);
            if (stopped) {
                if (t_destroyedEngine == this)
                    return;
                break;
            }
            if (purgeChunk_.exchange(false))
                sent = length;
            else if (sent == length)
                txDone_.Set();   // the reader raises EV_TXEMPTY once the port has drained
            // The next chunk is loaded when writer-ready comes again.
        } else {
            const int n = outQueue_.Out(chunk, kWriteChunk);
            if (n > 0) {
                length = static_cast<size_t>(n);
                sent = 0;
                writerReady_.Set();
            }
        }
    }
    MarkStopped(writerAlive_);
}

// ---- Timer -------------------------------------------------------------------

void TComm32::TimerThread()
{
    t_ownEngine = this;
    while (timerRun_.load()) {
        const int woken = WaitForEvent({timerStop_.Fd()}, kTimerIntervalMs, timerRun_);
        if (t_destroyedEngine == this)
            return;
        if (woken == 0 || !timerRun_.load())
            break;
        if (woken == -1)
            fmsgCommTimer();
        if (t_destroyedEngine == this)
            return;
    }
    MarkStopped(timerAlive_);
}

void TComm32::fmsgCommTimer()
{
    uint32_t status = 0;
    if (!ReadModemLines(status))
        status = modemStatus_.load();   // keep the last state
    // This system has no event for modem lines: a change seen here is the port's
    // line event, carrier included (which also restarts the ring guard).
    const uint32_t changed = (status ^ modemStatus_.load()) & (MS_CTS_ON | MS_DSR_ON | MS_RLSD_ON);
    if (changed != 0) {
        const uint32_t mask = ((changed & MS_CTS_ON) ? EV_CTS : 0) | ((changed & MS_DSR_ON) ? EV_DSR : 0)
            | ((changed & MS_RLSD_ON) ? EV_RLSD : 0);
        FinishPortEvent(mask, &status);
        if (t_destroyedEngine == this)
            return;
    }
    if (tickCounter_.load() < kRingGuardTicks) {
        tickCounter_.fetch_add(1);
        return;
    }
    if (!(modemStatus_.load() & MS_RLSD_ON) && (status & MS_RING_ON)) {
        tickCounter_.store(0);
        CommNotify(EV_RING);
    }
}

}   // namespace HalvexComm32
