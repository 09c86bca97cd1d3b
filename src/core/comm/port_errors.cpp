// SPDX-License-Identifier: GPL-3.0-or-later
#include "comm/port_errors.h"

#include "text/own_texts.h"

#include <cerrno>
#include <cstring>

#ifndef K3N_CABLE_RULE_PATH
#define K3N_CABLE_RULE_PATH "/usr/lib/udev/rules.d/60-k3n-cables.rules"
#endif

namespace HalvexComm32 {

QString CableRulePath()
{
    return QStringLiteral(K3N_CABLE_RULE_PATH);
}

QString PortFailureReason(int err)
{
    switch (err) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return k3n::Text(k3n::OwnText::PortNotPresent);
    case EACCES:
    case EPERM:
        return k3n::Text(k3n::OwnText::PortPermissionDenied) + QStringLiteral("; ")
               + k3n::Text(k3n::OwnText::PortAccessRuleHint).arg(CableRulePath());
    case EBUSY:
    case EWOULDBLOCK:  // flock: another program holds the port
        return k3n::Text(k3n::OwnText::PortInUse);
    case EIO:
        return k3n::Text(k3n::OwnText::PortNoResponse);
    case ENOTTY:
        return k3n::Text(k3n::OwnText::PortNotSerial);
    default:
        return QStringLiteral("%1 %2 (%3)")
            .arg(k3n::Text(k3n::OwnText::PortSystemError))
            .arg(err)
            .arg(QString::fromLocal8Bit(std::strerror(err)));
    }
}

QString PortFailureDetail(const QString& port, int err)
{
    return port + QStringLiteral(": ") + PortFailureReason(err);
}

} // namespace HalvexComm32
