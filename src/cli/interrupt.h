// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Ctrl+C during a radio session: instead of ending the process at once (which
// would leave no record of what happened), the running sessions are told to
// stop and the command ends normally. A closed terminal (SIGHUP), SIGTERM and
// SIGQUIT are taken the same way, and a reader that went away (SIGPIPE) does
// not end the process while a radio is being written.
#include <csignal>
#include <functional>
#include <thread>

namespace k3n::cli {

class InterruptWatch {
public:
    // While this lives, SIGINT, SIGTERM, SIGHUP and SIGQUIT call onInterrupt on
    // a thread of its own, and SIGPIPE is ignored.
    explicit InterruptWatch(std::function<void()> onInterrupt);
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

private:
    static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE};
    std::function<void()> onInterrupt_;
    int wake_ = -1;   // eventfd written by the signal handler or the destructor
    struct sigaction before_[std::size(kSignals)]{};
    std::thread watcher_;
};

}   // namespace k3n::cli
