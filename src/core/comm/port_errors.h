// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Why the system refused a serial port, as a kind and the errno it came from.
// The library leaves the words to its program, which knows what its user can
// do next; on its own it says only the system's text.
#include <QString>

namespace HalvexComm32 {

enum class TPortFailureKind {
    NotPresent,   // ENOENT, ENODEV, ENXIO
    PermissionDenied,   // EACCES, EPERM
    InUse,   // EBUSY, or flock() finding another program's lock
    NoResponse,   // EIO
    NotSerial,   // ENOTTY
    Other,
};

struct TPortFailure {
    TPortFailureKind kind = TPortFailureKind::Other;
    int err = 0;   // the errno of open(), tcgetattr(), flock() or tcsetattr()
};

// The kind of one errno value.
TPortFailure PortFailureOf(int err);

// The system's own text for the failure (strerror).
QString SystemText(const TPortFailure& failure);

}   // namespace HalvexComm32
