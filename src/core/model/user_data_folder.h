// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the program keeps what it makes for the user (autosave, backups, logs).
#include <QString>

namespace k3n {

// $XDG_DATA_HOME/K3N, or ~/.local/share/K3N when XDG_DATA_HOME is unset or
// relative (a relative value is invalid by the XDG rules). Not created here.
QString UserDataFolder();

}   // namespace k3n
