// SPDX-License-Identifier: GPL-3.0-or-later
// Serial engine figures over a pseudo-terminal pair:
//  - round-trip throughput with an echoing far end, at memory speed and with
//    the far end pacing its answers like a 115200-baud line;
//  - the CPU time an open, idle port costs over 10 s.
// Prints figures; never fails on speed.
#include "comm/serial_engine.h"

#include <QByteArray>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

using namespace HalvexComm32;
using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

namespace {

constexpr int kBaud = 115200;
constexpr double kByteSeconds = 10.0 / kBaud;   // 8N1: ten bits a byte

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto s = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return s(usage.ru_utime) + s(usage.ru_stime);
}

struct Pty {
    int master = -1;
    QByteArray slave;
    Pty()
    {
        master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
            std::exit(1);
        slave = ptsname(master);
    }
    ~Pty() { ::close(master); }
};

// The far end: sends back what it gets; paced, it takes the wire time of each byte.
class Echo {
public:
    Echo(int fd, bool paced) : fd_(fd), paced_(paced), thread_([this] { Run(); }) {}
    ~Echo()
    {
        stop_.store(true);
        thread_.join();
    }

private:
    void Run()
    {
        char block[4096];
        // When the line is free again. Sleeping to a schedule keeps oversleeps from
        // adding up; the schedule restarts only when the far end had to wait for data.
        auto lineFree = Clock::now();
        while (!stop_.load()) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 0) <= 0) {
                if (::poll(&p, 1, 50) <= 0)
                    continue;
                lineFree = std::max(lineFree, Clock::now());
            }
            const ssize_t n = ::read(fd_, block, paced_ ? 64 : sizeof block);
            if (n <= 0)
                continue;
            for (ssize_t done = 0; done < n;) {
                const ssize_t w = ::write(fd_, block + done, size_t(n - done));
                if (w > 0)
                    done += w;
            }
            if (paced_) {
                lineFree += std::chrono::duration_cast<Clock::duration>(Seconds(double(n) * kByteSeconds));
                std::this_thread::sleep_until(lineFree);
            }
        }
    }
    int fd_;
    bool paced_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Bytes on their way at most: the receive queue drops what does not fit, so the
// sender must not run further ahead of the reader than the queue holds.
constexpr qsizetype kWindow = 4096;

struct RoundTrip {
    double seconds = 0;
    bool intact = false;
};

RoundTrip MeasureRoundTrip(qsizetype total, bool paced)
{
    Pty pty;
    TComm32 engine;
    std::mutex m;
    std::condition_variable moved;
    uint64_t events = 0;   // counted under the mutex so that no wake-up is lost
    engine.OnCommNotify = [&](TComm32*, uint32_t) {
        {
            std::lock_guard lock(m);
            ++events;
        }
        moved.notify_one();
    };
    engine.fSetDeviceName(QString::fromLocal8Bit(pty.slave));
    engine.LineSettings().baudRate = kBaud;
    engine.Open();
    Echo echo(pty.master, paced);

    QByteArray sent(total, Qt::Uninitialized);
    for (qsizetype i = 0; i < total; ++i)
        sent[i] = char((i * 131 + (i >> 8)) & 0xFF);
    QByteArray back;
    back.reserve(total);
    qsizetype queued = 0;
    char block[8192];
    const auto start = Clock::now();
    auto lastProgress = start;
    while (back.size() < total) {
        uint64_t seen;
        {
            std::lock_guard lock(m);
            seen = events;
        }
        const qsizetype room = std::min(total - queued, kWindow - (queued - back.size()));
        const int in = room > 0 ? engine.Write(sent.constData() + queued, int(room)) : 0;
        queued += in;
        const int out = engine.Read(block, sizeof block);
        back.append(block, out);
        if (in == 0 && out == 0) {
            if (Clock::now() - lastProgress > std::chrono::seconds(10))
                break;   // reported as differing data
            std::unique_lock lock(m);
            moved.wait_for(lock, std::chrono::milliseconds(50), [&] { return events != seen; });
        } else {
            lastProgress = Clock::now();
        }
    }
    const double seconds = Seconds(Clock::now() - start).count();
    engine.Close();
    return {seconds, back == sent};
}

}   // namespace

int main()
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("Serial engine over a pseudo-terminal pair\n\n");

    const qsizetype fast = 4 * 1024 * 1024;
    const RoundTrip unpaced = MeasureRoundTrip(fast, false);
    std::printf("Round trip, far end at memory speed: %lld bytes each way in %.3f s = %.2f MB/s (%s)\n",
                static_cast<long long>(fast), unpaced.seconds, double(fast) / unpaced.seconds / 1e6,
                unpaced.intact ? "data intact" : "DATA DIFFERS");

    const qsizetype slow = 64 * 1024;
    const RoundTrip paced = MeasureRoundTrip(slow, true);
    const double wire = double(slow) * kByteSeconds;
    std::printf("Round trip, far end paced at %d baud 8N1: %lld bytes in %.3f s = %.0f bytes/s "
                "(wire alone %.3f s, %.0f bytes/s: %.1f %% of the line) (%s)\n",
                kBaud, static_cast<long long>(slow), paced.seconds, double(slow) / paced.seconds, wire,
                1.0 / kByteSeconds, 100.0 * wire / paced.seconds, paced.intact ? "data intact" : "DATA DIFFERS");

    Pty pty;
    TComm32 engine;
    engine.fSetDeviceName(QString::fromLocal8Bit(pty.slave));
    constexpr int kCycles = 50;
    double slowestClose = 0;
    const auto cyclesStart = Clock::now();
    for (int i = 0; i < kCycles; ++i) {
        engine.Open();
        const auto closeStart = Clock::now();
        engine.Close();
        slowestClose = std::max(slowestClose, Seconds(Clock::now() - closeStart).count());
    }
    std::printf("Open and close: %.2f ms a cycle over %d cycles; slowest close %.2f ms (limit %d ms)\n",
                1000.0 * Seconds(Clock::now() - cyclesStart).count() / kCycles, kCycles, 1000.0 * slowestClose,
                TComm32::kCloseLimitMs);

    engine.Open();
    const double cpuBefore = CpuSeconds();
    const auto wallBefore = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(10));
    const double cpu = CpuSeconds() - cpuBefore;
    const double wall = Seconds(Clock::now() - wallBefore).count();
    engine.Close();
    std::printf("Idle open port: %.1f ms CPU over %.1f s (%.4f %% of one core; the timer ticks every %d ms)\n",
                cpu * 1000.0, wall, 100.0 * cpu / wall, TComm32::kTimerIntervalMs);
    return 0;
}
