// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own settings, kept in config.ini between runs.
#include <QString>
#include <QStringList>

namespace k3n {

constexpr int kRecentFileCount = 5;

struct AppSettings {
    int Port = 1;   // serial port COM1..COM9
    int Language = 1;   // 0 English, 1 Simplified, 2 Traditional, other: from the system
    bool AutoSeachPort = true;   // the session searches the ports by itself
    QString PortId = {};   // the chosen cable's stable identity; empty: Port alone counts
    QStringList RecentFiles = {};   // configuration files last opened or saved, most recent first
    // Writing a configuration: back the radio up first, read it back afterwards.
    bool BackupBeforeWrite = true;
    bool VerifyAfterWrite = true;
    // After the backup, list what the write changes and ask before writing.
    bool ShowChangesBeforeWrite = false;
    // After the backup, send only what differs from it (experimental; the read-back stays).
    bool WriteChangedOnly = false;
};

}   // namespace k3n
