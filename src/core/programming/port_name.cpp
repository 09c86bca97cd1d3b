// SPDX-License-Identifier: GPL-3.0-or-later
#include "programming/port_name.h"
#include "comm/port_list.h"
#include <QDir>

namespace k3n {

using HalvexComm32::TCommSerialPortInfo;

QString PortNameError::message() const
{
    switch (kind) {
    case Kind::Missing: return QStringLiteral("no port was named");
    case Kind::NotOnThisComputer:
        return QStringLiteral("there is no port %1 on this computer ('k3n ports' lists them)").arg(name);
    case Kind::NotAPortName: break;
    }
    return QStringLiteral("not a port name: use auto, COMn or an absolute device path such as /dev/ttyUSB0");
}

ReadPort ReadPortName(const QString& text, const TCommSerialPortInfo& ports)
{
    const QString name = text.trimmed();
    if (name.isEmpty())
        return {{}, PortNameError{PortNameError::Kind::Missing, name}};
    if (const int number = TCommSerialPortInfo::PortNo(name); number > 0) {
        const QString port = TCommSerialPortInfo::PortName(number);
        if (ports.DevicePathOf(port).isEmpty())
            return {{}, PortNameError{PortNameError::Kind::NotOnThisComputer, port}};
        return {port, std::nullopt};
    }
    // A relative path would depend on the folder the program happens to run in.
    if (!QDir::isAbsolutePath(name))
        return {{}, PortNameError{PortNameError::Kind::NotAPortName, name}};
    return {QDir::cleanPath(name), std::nullopt};
}

}   // namespace k3n
