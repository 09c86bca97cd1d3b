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

namespace {
// COMn (any case) or an absolute path; a relative path would depend on the folder the program happens to run in.
bool IsComName(const QString& name)
{
    return TCommSerialPortInfo::PortNo(name) > 0;
}
}   // namespace

ReadPort ReadPortName(const QString& text, const TCommSerialPortInfo& ports)
{
    const QString name = text.trimmed();
    if (name.isEmpty())
        return {{}, PortNameError{PortNameError::Kind::Missing, name}};
    if (IsComName(name)) {
        const int number = TCommSerialPortInfo::PortNo(name);
        const QString port = TCommSerialPortInfo::PortName(number);
        if (ports.DevicePathOf(port).isEmpty())
            return {{}, PortNameError{PortNameError::Kind::NotOnThisComputer, port}};
        return {port, std::nullopt};
    }
    if (!QDir::isAbsolutePath(name))
        return {{}, PortNameError{PortNameError::Kind::NotAPortName, name}};
    return {QDir::cleanPath(name), std::nullopt};
}

bool IsAutoPortName(const QString& name)
{
    return name.compare(QLatin1String("auto"), Qt::CaseInsensitive) == 0;
}

std::optional<Error> CheckPortName(const QString& name)
{
    if (IsAutoPortName(name) || IsComName(name) || (!name.isEmpty() && QDir::isAbsolutePath(name)))
        return std::nullopt;
    return Error{PortNameError{PortNameError::Kind::NotAPortName, name}.message()};
}

}   // namespace k3n
