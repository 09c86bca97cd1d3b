// SPDX-License-Identifier: GPL-3.0-or-later
// k3n ports: the serial ports of this computer, as the port dialog offers them,
// with the cables' serial numbers.
#include "cli/command.h"
#include "comm/port_list.h"

namespace k3n::cli {

int RunPorts(const Command&, const Arguments&)
{
    using HalvexComm32::TCommSerialPortInfo;
    const TCommSerialPortInfo info;
    int pathWidth = 0;
    for (const auto& p : info.Ports())
        pathWidth = std::max(pathWidth, int(p.devicePath.size()));
    for (const auto& p : info.Ports())
        Out() << (p.name.leftJustified(6) + ' ' + p.devicePath.leftJustified(pathWidth) + "  "
                  + TCommSerialPortInfo::Details(p))
                     .trimmed()
              << "\n";
    Out().flush();
    if (!info.FromSystem()) {
        Err() << "(no serial port found: these are the usual built-in ports, which may not exist)\n";
        Err().flush();
    }
    return kExitOk;
}

}   // namespace k3n::cli
