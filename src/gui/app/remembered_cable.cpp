// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/remembered_cable.h"
#include "app/settings_file.h"

namespace k3n {

using HalvexComm32::CableLookup;
using HalvexComm32::TCommPortEntry;

CableLookup FollowRememberedCable(AppSettings& settings, const QList<TCommPortEntry>& ports)
{
    const CableLookup lookup = HalvexComm32::FindRememberedCable(settings.PortId, settings.Port, ports);
    if (lookup.where == CableLookup::Where::Present && lookup.port >= 1 && lookup.port <= kLastChoosablePort)
        settings.Port = lookup.port;
    return lookup;
}

void RememberCableOfPort(AppSettings& settings, const QList<TCommPortEntry>& ports)
{
    settings.PortId = HalvexComm32::IdentityOfPort(settings.Port, ports);
}

}   // namespace k3n
