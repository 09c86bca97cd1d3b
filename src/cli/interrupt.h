// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Ctrl+C during a radio session: instead of ending the process at once (which
// would leave no record of what happened), the running sessions are told to
// stop and the command ends normally.
#include <functional>
#include <thread>

namespace k3n::cli {

class InterruptWatch {
public:
    // While this lives, SIGINT, SIGTERM and SIGHUP call onInterrupt on a thread of its own.
    explicit InterruptWatch(std::function<void()> onInterrupt);
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

private:
    std::function<void()> onInterrupt_;
    int wake_ = -1;   // eventfd written by the signal handler or the destructor
    std::thread watcher_;
};

} // namespace k3n::cli
