// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A virtual radio served inside the program (k3n-cps --virtual-radio), so that
// someone without a radio can read and write at once. Its pseudo-terminal is
// offered in the port list as "virtual radio" and the sessions of this run go
// to it until the user picks another port.
#include "app/app_settings.h"
#include "virtualradio/virtual_radio.h"
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace k3n {

constexpr const char* kVirtualRadioPortLabel = "virtual radio";

class AttachedVirtualRadio {
public:
    explicit AttachedVirtualRadio(VirtualRadioOptions options = {});
    ~AttachedVirtualRadio();   // takes the port off the list and stops the radio

    // Starts the radio and adds its port to the list; the error text on failure.
    std::optional<Error> Start();

    QString devicePath() const;
    // "COM2": the name the port list gives it; empty before Start.
    QString portName() const;
    int portNumber() const;   // 2 for "COM2"; 0 before Start

    // For this run the session goes to the virtual radio on its fixed port. False
    // (settings unchanged) when its number is beyond COM9.
    bool PointSettingsAtIt(AppSettings& settings) const;
    // What to keep in the settings file: the port choice found there at start-up,
    // unless the user chose another port during the run.
    AppSettings SettingsToKeep(const AppSettings& now, const AppSettings& atStartUp) const;

private:
    VirtualRadio radio_;
    bool listed_ = false;
};

// "--virtual-radio" among the program's arguments starts one; "--virtual-radio-memory FILE"
// keeps its memory in FILE between runs. None when not asked for.
std::optional<VirtualRadioOptions> VirtualRadioAskedFor(const QStringList& arguments);

// The started radio when the arguments ask for one; none otherwise, or when it
// cannot start (a warning on stderr says why).
std::unique_ptr<AttachedVirtualRadio> StartVirtualRadioIfAskedFor(const QStringList& arguments);

}   // namespace k3n
