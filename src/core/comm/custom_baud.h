// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Baud rates without a termios B-constant (14400, 56000, 128000, 256000).
// Kept apart: the termios2 header clashes with <termios.h>.
#include <cstdint>

namespace HalvexComm32 {

// Sets input and output speed of an open tty; returns 0 or an errno value.
int SetCustomBaudRate(int fd, uint32_t baud);

}   // namespace HalvexComm32
