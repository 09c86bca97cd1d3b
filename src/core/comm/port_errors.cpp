// SPDX-License-Identifier: GPL-3.0-or-later
#include "comm/port_errors.h"

#include <cerrno>
#include <cstring>

namespace HalvexComm32 {

TPortFailure PortFailureOf(int err)
{
    switch (err) {
    case ENOENT:
    case ENODEV:
    case ENXIO: return {TPortFailureKind::NotPresent, err};
    case EACCES:
    case EPERM: return {TPortFailureKind::PermissionDenied, err};
    case EBUSY:
    case EWOULDBLOCK:   // flock: another program holds the port
        return {TPortFailureKind::InUse, err};
    case EIO: return {TPortFailureKind::NoResponse, err};
    case ENOTTY: return {TPortFailureKind::NotSerial, err};
    default: return {TPortFailureKind::Other, err};
    }
}

QString SystemText(const TPortFailure& failure)
{
    return QString::fromLocal8Bit(std::strerror(failure.err));
}

}   // namespace HalvexComm32
