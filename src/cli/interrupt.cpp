// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/interrupt.h"
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

namespace k3n::cli {

namespace {

std::atomic<int> gWakeFd{-1};
std::atomic<bool> gInterrupted{false};

void OnSignal(int)
{
    gInterrupted = true;
    const int fd = gWakeFd.load();
    const uint64_t one = 1;
    if (fd >= 0)
        (void)!write(fd, &one, sizeof one);   // async-signal-safe
}

}   // namespace

InterruptWatch::InterruptWatch(std::function<void()> onInterrupt) : onInterrupt_(std::move(onInterrupt))
{
    wake_ = eventfd(0, EFD_CLOEXEC);
    if (wake_ < 0)
        return;   // Ctrl+C then ends the process as usual
    gInterrupted = false;
    gWakeFd = wake_;
    struct sigaction action {};
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        action.sa_handler = kSignals[i] == SIGPIPE ? SIG_IGN : OnSignal;
        sigaction(kSignals[i], &action, &before_[i]);
    }
    watcher_ = std::thread([this] {
        uint64_t count = 0;
        while (read(wake_, &count, sizeof count) < 0 && errno == EINTR) {
        }
        if (gInterrupted && onInterrupt_)
            onInterrupt_();
    });
}

InterruptWatch::~InterruptWatch()
{
    if (wake_ < 0)
        return;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &before_[i], nullptr);
    gWakeFd = -1;
    const uint64_t one = 1;
    (void)!write(wake_, &one, sizeof one);
    watcher_.join();
    close(wake_);
}

}   // namespace k3n::cli
