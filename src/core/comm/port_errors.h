// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Why the system refused a serial port, said in the user's language together
// with what the user can do next.
#include <QString>

namespace HalvexComm32 {

// Where the installed device rule lets the desktop user open programming cables.
QString CableRulePath();

// The reason for one errno value of open(), tcgetattr() or flock() on a port.
QString PortFailureReason(int err);

// "<port>: <reason>" for the detail of an EComm32Error.
QString PortFailureDetail(const QString& port, int err);

} // namespace HalvexComm32
