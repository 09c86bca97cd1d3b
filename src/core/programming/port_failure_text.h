// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Why the system refused a serial port, in the program's words and in the
// interface language, with what the user can do next: the serial library
// gives the kind and the errno, the words are the program's (its cable rule
// among them).
#include "comm/comm_error.h"
#include <QString>

namespace k3n {

// Where the installed device rule lets the desktop user open programming cables.
QString CableRulePath();

// "the port is in use by another program", "permission denied - ... or make sure <rule> is installed ...".
QString PortFailureReason(const HalvexComm32::TPortFailure& failure);

// The failure's detail, "<port>: <reason>", and its whole message, "<numbered text>: <detail>",
// with the program's reason where the system refused the port.
QString PortErrorDetail(const HalvexComm32::EComm32Error& error);
QString PortErrorMessage(const HalvexComm32::EComm32Error& error);

}   // namespace k3n
