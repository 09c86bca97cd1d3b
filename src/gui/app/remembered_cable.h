// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Port setting follows the remembered cable (PortId) to the COM number it
// has now, so that a replug or a second cable does not point it elsewhere.
#include "app/app_settings.h"
#include "comm/port_identity.h"

namespace k3n {

// Port becomes the cable's COM number when the cable is present under a
// choosable one; nothing changes when it is gone or none is remembered.
HalvexComm32::CableLookup FollowRememberedCable(AppSettings& settings,
                                                const QList<HalvexComm32::TCommPortEntry>& ports);

// PortId becomes the identity of the port Port points at (empty for a built-in port).
void RememberCableOfPort(AppSettings& settings, const QList<HalvexComm32::TCommPortEntry>& ports);

}   // namespace k3n
