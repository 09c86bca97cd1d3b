// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The backups taken before each write: a configuration file per backup in a
// folder of the user's data, named after the radio's serial number and the
// local date and time. A backup never replaces another.
#include "model/radio_data.h"
#include "text/error.h"
#include <QDateTime>
#include <QString>
#include <span>
#include <vector>

namespace k3n {

// $XDG_DATA_HOME/K3N/backups, or ~/.local/share/K3N/backups without XDG_DATA_HOME.
QString BackupFolder();

// The serial number as a backup's name carries it: its ASCII letters and digits
// up to the first zero byte; "unknown" when that leaves nothing.
QString SerialNumberInFileName(std::span<const uint8_t, 8> serial);

// "<serial>_<yyyy-MM-dd>_<HHmmss>.fse"; copy 2, 3, ... adds "-2", "-3" before the suffix.
QString BackupFileName(const QString& serial, const QDateTime& when, int copy = 1);

// Saves the record as a new file in 'folder' (made when missing), never over an
// existing one. The path of the backup, or the reason it could not be saved.
Result<QString> SaveBackup(const QString& folder, const RadioRecord& record, const QString& serial,
                           const QDateTime& when);

struct BackupEntry {
    QString path;
    QDateTime taken;      // from the name; the file's time for a file named otherwise
    QString serial;       // "" for a file named otherwise
    bool readable = false;
    int band = -1;        // freq_band of a readable file
    int channels_in_use = 0;
};

// The configuration files of the folder, the newest first. A missing folder has none.
// A name that is no regular file once links are followed (a FIFO would hang
// the reading) is left out, and put in skipped when given.
std::vector<BackupEntry> ListBackups(const QString& folder = BackupFolder(), QStringList* skipped = nullptr);

} // namespace k3n
