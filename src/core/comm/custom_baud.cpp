// SPDX-License-Identifier: GPL-3.0-or-later
#include "comm/custom_baud.h"

#include <asm/termbits.h>
#include <cerrno>
#include <sys/ioctl.h>

namespace HalvexComm32 {

int SetCustomBaudRate(int fd, uint32_t baud)
{
    struct termios2 t2 {};
    if (ioctl(fd, TCGETS2, &t2) < 0)
        return errno;
    t2.c_cflag &= ~CBAUD;
    t2.c_cflag |= BOTHER;
    t2.c_cflag &= ~(CBAUD << IBSHIFT);
    t2.c_cflag |= BOTHER << IBSHIFT;
    t2.c_ispeed = baud;
    t2.c_ospeed = baud;
    if (ioctl(fd, TCSETS2, &t2) < 0)
        return errno;
    return 0;
}

}   // namespace HalvexComm32
