// SPDX-License-Identifier: GPL-3.0-or-later
#include "comm/serial_events.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace HalvexComm32 {

bool TCommEvent::Create()
{
    Release();
    fd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    return fd_ >= 0;
}

void TCommEvent::Release()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

void TCommEvent::Set()
{
    if (fd_ < 0)
        return;
    const uint64_t one = 1;
    while (::write(fd_, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

void TCommEvent::Reset()
{
    if (fd_ < 0)
        return;
    uint64_t value;
    while (::read(fd_, &value, sizeof value) < 0 && errno == EINTR) {
    }
}

bool TCommEvent::IsSet() const
{
    return fd_ >= 0 && WaitForAny({fd_}, 0) == 0;
}

int WaitForAny(std::initializer_list<int> fds, int timeoutMs)
{
    std::array<pollfd, 4> polled{};
    const nfds_t count = fds.size() < polled.size() ? fds.size() : polled.size();
    nfds_t i = 0;
    for (int fd : fds) {
        if (i == count)
            break;
        polled[i++] = pollfd{fd, POLLIN, 0};
    }
    for (;;) {
        const int r = ::poll(polled.data(), count, timeoutMs);
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            return -1;
        for (nfds_t k = 0; k < count; ++k)
            if (polled[k].revents != 0)
                return static_cast<int>(k);
        return -1;
    }
}

}   // namespace HalvexComm32
