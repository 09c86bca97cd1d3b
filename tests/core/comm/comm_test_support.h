// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers for the serial library tests: a pseudo-terminal pair whose slave the
// engine opens while the test plays the far end on the master, and waiting on
// a condition with a generous deadline instead of sleeping.
#include "comm/comm_error.h"
#include "comm/serial_engine.h"
#include "support/test_support.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <mutex>
#include <ostream>
#include <poll.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace commtest {

constexpr int kDeadlineMs = 20000;

// Spins the event loop until pred() holds or the deadline passes; returns pred().
template <class Pred> bool WaitUntil(Pred pred, int deadlineMs = kDeadlineMs)
{
    const QDeadlineTimer deadline(deadlineMs);
    while (!pred()) {
        if (deadline.hasExpired())
            return pred();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

class PtyPair {
public:
    PtyPair()
    {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        char name[128];
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0
            || ptsname_r(master_, name, sizeof name) != 0)
            return;
        fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
        slavePath_ = QString::fromLocal8Bit(name);
    }
    ~PtyPair() { CloseMaster(); }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool Ok() const { return master_ >= 0 && !slavePath_.isEmpty(); }
    QString SlavePath() const { return slavePath_; }
    // The far end; termios calls on it reach the slave's settings.
    int MasterFd() const { return master_; }

    void CloseMaster()
    {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }

    // Writes every byte, waiting for room when the pty is full.
    bool WriteAll(const QByteArray& data)
    {
        const QDeadlineTimer deadline(kDeadlineMs);
        qsizetype done = 0;
        while (done < data.size()) {
            const ssize_t n = ::write(master_, data.constData() + done, size_t(data.size() - done));
            if (n > 0) {
                done += n;
                continue;
            }
            if ((n < 0 && errno != EAGAIN && errno != EINTR) || deadline.hasExpired())
                return false;
            pollfd p{master_, POLLOUT, 0};
            ::poll(&p, 1, 50);
        }
        return true;
    }

    // What has arrived, waiting at most waitMs for the first byte.
    QByteArray ReadAvailable(int waitMs = 0)
    {
        QByteArray out;
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, waitMs) <= 0)
            return out;
        char block[4096];
        for (ssize_t n; (n = ::read(master_, block, sizeof block)) > 0;)
            out.append(block, n);
        return out;
    }

    // Collects until 'count' bytes arrived or the deadline passed.
    QByteArray ReadExactly(qsizetype count)
    {
        const QDeadlineTimer deadline(kDeadlineMs);
        QByteArray out;
        while (out.size() < count && !deadline.hasExpired())
            out += ReadAvailable(50);
        return out;
    }

private:
    int master_ = -1;
    QString slavePath_;
};

// Runs 'action'; returns the code and message of the EComm32Error it raised (code 0: none).
template <class Action> std::pair<int, QString> ErrorOf(Action action)
{
    try {
        action();
    } catch (const HalvexComm32::EComm32Error& e) {
        return {e.ErrorCode(), e.Message()};
    }
    return {0, QString()};
}

inline QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

// Bytes whose order shows: a counter mixed so that no short period repeats.
inline QByteArray Pattern(qsizetype size, int seed = 0)
{
    QByteArray out(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        out[i] = char((i * 131 + (i >> 8) * 7 + seed) & 0xFF);
    return out;
}

// A pattern without the default frame head, tail and control bytes, so that it frames unescaped.
inline QByteArray Unmarked(qsizetype size, int seed = 0)
{
    return Pattern(size, seed).replace(char(0xEB), 'a').replace(char(0xEE), 'b').replace(char(0xEC), 'c');
}

inline int CountEntries(const char* folder, QDir::Filters filters)
{
    return int(QDir(folder).entryList(filters | QDir::NoDotAndDotDot).size());
}
inline int ThreadCount()
{
    return CountEntries("/proc/self/task", QDir::Dirs);
}
inline int OpenDescriptorCount()
{
    return CountEntries("/proc/self/fd", QDir::Files | QDir::System);
}

// Hands the framing layer's timer one scripted piece per pass; a pass ends when Read gives 0.
struct ScriptedEngine : HalvexComm32::TComm32 {
    std::mutex m;
    std::deque<QByteArray> script;   // an empty piece ends a pass

    int Read(void* buffer, int length) override
    {
        std::lock_guard lock(m);
        if (script.empty())
            return 0;
        const int n = std::min(length, int(script.front().size()));
        std::memcpy(buffer, script.front().constData(), size_t(n));
        script.front().remove(0, n);
        if (n == 0)
            script.pop_front();
        return n;
    }
    bool ScriptDone()
    {
        std::lock_guard lock(m);
        return script.empty();
    }
};

}   // namespace commtest
