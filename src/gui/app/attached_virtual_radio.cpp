// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/attached_virtual_radio.h"
#include "app/settings_file.h"
#include "comm/port_list.h"

namespace k3n {

using HalvexComm32::TCommSerialPortInfo;

AttachedVirtualRadio::AttachedVirtualRadio(VirtualRadioOptions options) : radio_(std::move(options)) {}

AttachedVirtualRadio::~AttachedVirtualRadio()
{
    if (listed_)
        TCommSerialPortInfo::RemoveExtraPort(devicePath());
    radio_.Stop();
}

std::optional<Error> AttachedVirtualRadio::Start()
{
    if (auto error = radio_.Start())
        return error;
    TCommSerialPortInfo::AddExtraPort(QString::fromLatin1(kVirtualRadioPortLabel), devicePath());
    listed_ = true;
    return std::nullopt;
}

QString AttachedVirtualRadio::devicePath() const
{
    return radio_.devicePath();
}

QString AttachedVirtualRadio::portName() const
{
    if (!listed_)
        return {};
    for (const auto& port : TCommSerialPortInfo().Ports())
        if (port.devicePath == devicePath())
            return port.name;
    return {};
}

int AttachedVirtualRadio::portNumber() const
{
    return TCommSerialPortInfo::PortNo(portName());
}

bool AttachedVirtualRadio::PointSettingsAtIt(AppSettings& settings) const
{
    const int number = portNumber();
    // Only COM1..COM9 can be chosen; beyond that the automatic search still finds it.
    if (number < 1 || number > kLastChoosablePort)
        return false;
    settings.Port = number;
    settings.AutoSeachPort = false;
    settings.PortId.clear();   // a pseudo-terminal has no cable to remember
    return true;
}

AppSettings AttachedVirtualRadio::SettingsToKeep(const AppSettings& now, const AppSettings& atStartUp) const
{
    AppSettings pointed = now;
    if (!PointSettingsAtIt(pointed) || pointed.Port != now.Port || pointed.AutoSeachPort != now.AutoSeachPort)
        return now;   // never pointed at it, or the user chose another port
    AppSettings keep = now;
    keep.Port = atStartUp.Port;
    keep.AutoSeachPort = atStartUp.AutoSeachPort;
    keep.PortId = atStartUp.PortId;
    return keep;
}

std::optional<VirtualRadioOptions> VirtualRadioAskedFor(const QStringList& arguments)
{
    if (!arguments.contains(QStringLiteral("--virtual-radio")))
        return std::nullopt;
    VirtualRadioOptions options;
    const int memory = arguments.indexOf(QStringLiteral("--virtual-radio-memory"));
    if (memory >= 0 && memory + 1 < arguments.size())
        options.memory_file = arguments.at(memory + 1);
    return options;
}

std::unique_ptr<AttachedVirtualRadio> StartVirtualRadioIfAskedFor(const QStringList& arguments)
{
    const auto options = VirtualRadioAskedFor(arguments);
    if (!options)
        return nullptr;
    auto radio = std::make_unique<AttachedVirtualRadio>(*options);
    if (auto error = radio->Start()) {
        qWarning("k3n-cps: the virtual radio could not start: %s", qUtf8Printable(error->message));
        return nullptr;
    }
    return radio;
}

}   // namespace k3n
