// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A manual-reset event on an eventfd: it stays set until reset, and one Set
// wakes every thread that polls it. Waiting is poll(), so a thread can wait for
// an event and a port at once, with or without a time limit.
#include <initializer_list>

namespace HalvexComm32 {

class TCommEvent {
public:
    TCommEvent() = default;
    ~TCommEvent() { Release(); }
    TCommEvent(const TCommEvent&) = delete;
    TCommEvent& operator=(const TCommEvent&) = delete;

    bool Create();   // unsignalled; false when the system has no descriptor to spare
    void Release();
    bool Valid() const { return fd_ >= 0; }
    int Fd() const { return fd_; }

    void Set();   // nothing happens on an event that was not created
    void Reset();
    bool IsSet() const;

private:
    int fd_ = -1;
};

// Waits until one of the descriptors is readable. Returns its position in
// 'fds', or -1 when timeoutMs (>= 0) passed first; timeoutMs < 0 waits without
// limit. Descriptors < 0 are skipped.
int WaitForAny(std::initializer_list<int> fds, int timeoutMs);

}   // namespace HalvexComm32
