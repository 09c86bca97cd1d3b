// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The remembered programming cable: a port number alone points at whatever is
// n-th in the list after a replug, so the chosen cable's stable identity is
// kept beside it and looked up in the current list.
#include "comm/port_list.h"

namespace HalvexComm32 {

// True when the entry is the cable remembered by 'identity' (its by-id link or
// its "vendor:product:serial"); never for an empty identity.
bool IsRememberedCable(const TCommPortEntry& entry, const QString& identity);

struct CableLookup {
    enum class Where {
        NotRemembered,   // no identity kept: the port number alone counts
        Present,   // 'port' is the cable's COM number now
        Gone,   // no port of the list is that cable
    };
    Where where = Where::NotRemembered;
    int port = 0;
};

// Where the cable remembered by 'identity' is now. When several ports match
// (identical cables without serial numbers), 'port' wins if it is one of them.
CableLookup FindRememberedCable(const QString& identity, int port, const QList<TCommPortEntry>& ports);

// The identity to remember for port number 'port'; empty for a port without one.
QString IdentityOfPort(int port, const QList<TCommPortEntry>& ports);

}   // namespace HalvexComm32
