// SPDX-License-Identifier: GPL-3.0-or-later
#include "comm/port_identity.h"

namespace HalvexComm32 {

bool IsRememberedCable(const TCommPortEntry& entry, const QString& identity)
{
    if (identity.isEmpty())
        return false;
    return identity == entry.identity || identity == entry.usbIdentity;
}

CableLookup FindRememberedCable(const QString& identity, int port, const QList<TCommPortEntry>& ports)
{
    if (identity.isEmpty())
        return {CableLookup::Where::NotRemembered, port};
    CableLookup found{CableLookup::Where::Gone, port};
    for (const TCommPortEntry& entry : ports) {
        if (!IsRememberedCable(entry, identity))
            continue;
        const int number = TCommSerialPortInfo::PortNo(entry.name);
        if (number == port)
            return {CableLookup::Where::Present, port};
        if (found.where == CableLookup::Where::Gone)
            found = {CableLookup::Where::Present, number};
    }
    return found;
}

QString IdentityOfPort(int port, const QList<TCommPortEntry>& ports)
{
    for (const TCommPortEntry& entry : ports)
        if (TCommSerialPortInfo::PortNo(entry.name) == port)
            return entry.identity;
    return {};
}

}   // namespace HalvexComm32
