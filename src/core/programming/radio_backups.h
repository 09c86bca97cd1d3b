// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The backups taken before each write: a configuration file per backup in a
// folder of the user's data, named after the radio's serial number and the
// local date and time. A backup never replaces another.
#include "model/radio_data.h"
#include "programming/memory_image.h"
#include "text/error.h"
#include <QDateTime>
#include <QString>
#include <optional>
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
// existing one. With 'read', the bytes of every block the backup read asked for
// follow the record in the same file, so the radio can be put back exactly as it
// was. The path of the backup, or the reason it could not be saved.
Result<QString> SaveBackup(const QString& folder, const RadioRecord& record, const QString& serial,
                           const QDateTime& when, const std::optional<MemoryImage>& read = std::nullopt);

// The radio's bytes kept with a backup, at their addresses (the rest of the image
// is zero); none for a backup made before they were kept, or one whose kept bytes
// are damaged.
std::optional<MemoryImage> ReadBackupRadioBytes(const QString& backupPath);

// What a backup's radio bytes say about the radio they came from.
struct BackupRadio {
    QString serial;   // as a person reads it; "unknown" when empty
    uint8_t band_code;   // the radio's own band code (0x00, 0x01, 0x80, 0x81; anything on an erased radio)
};
BackupRadio BackupRadioOf(const MemoryImage& read);
// "K3N [136 - 174 MHz]", or "band code 0xFF" for a code no band has.
QString BandCodeText(uint8_t code);

// Marks a backup as unsure: a later read of the same radio found bytes a write
// never touches changed, so the backup may not hold the radio's true bytes. The
// backup keeps its name; the mark is a file beside it ("<backup>.unsure") holding 'reason'.
std::optional<Error> MarkBackupUnsure(const QString& backupPath, const QString& reason);

struct BackupEntry {
    QString path;
    QDateTime taken;   // from the name; the file's time for a file named otherwise
    QString serial;   // "" for a file named otherwise
    bool readable = false;
    int band = -1;   // freq_band of a readable file
    int channels_in_use = 0;
    bool exact = false;   // the radio's bytes are kept with it: it restores exactly
    bool unsure = false;   // see MarkBackupUnsure
    QString unsure_reason;
};

// What the list says of one backup file.
BackupEntry DescribeBackup(const QString& path);

// The configuration files of the folder, the newest first. A missing folder has none.
// A name that is no regular file once links are followed (a FIFO would hang
// the reading) is left out, and put in skipped when given.
std::vector<BackupEntry> ListBackups(const QString& folder = BackupFolder(), QStringList* skipped = nullptr);

}   // namespace k3n
