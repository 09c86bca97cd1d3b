// SPDX-License-Identifier: GPL-3.0-or-later
#include "programming/radio_backups.h"
#include "model/user_data_folder.h"
#include "model/fse_file.h"
#include "model/native_path.h"
#include "model/own_files.h"
#include "model/record_layout.h"
#include <QDir>
#include <QRegularExpression>
#include <cerrno>
#include <algorithm>

namespace k3n {

namespace {

constexpr int kMaxCopies = 1000;
const QString kDateTimeFormat = QStringLiteral("yyyy-MM-dd_HHmmss");

int ChannelsInUse(const RadioRecord& record)
{
    int count = 0;
    for (int n = 1; n <= rec::kChannelCount; ++n)
        count += record.get(rec::ch::in_use(n)) ? 1 : 0;
    return count;
}

} // namespace

QString BackupFolder()
{
    return UserDataFolder() + QStringLiteral("/backups");
}

QString SerialNumberInFileName(std::span<const uint8_t, 8> serial)
{
    QString text;
    for (uint8_t c : serial) {
        if (c == 0)
            break;
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
            text += QChar(c);
    }
    return text.isEmpty() ? QStringLiteral("unknown") : text;
}

QString BackupFileName(const QString& serial, const QDateTime& when, int copy)
{
    const QString copyText = copy > 1 ? QStringLiteral("-%1").arg(copy) : QString();
    return QStringLiteral("%1_%2%3.fse").arg(serial, when.toString(kDateTimeFormat), copyText);
}

Result<QString> SaveBackup(const QString& folder, const RadioRecord& record, const QString& serial,
                           const QDateTime& when)
{
    if (const int reason = MakeFolders(folder))
        return Error{FileError::FromErrno(reason).message()};
    for (int copy = 1; copy <= kMaxCopies; ++copy) {
        const QString path = folder + QLatin1Char('/') + BackupFileName(serial, when, copy);
        if (PathExists(path))
            continue;
        const auto error = SaveNewFseFile(path, record);
        if (!error)
            return path;
        if (!PathExists(path))   // taken meanwhile: try the next name
            return Error{error->message()};
    }
    return Error{FileError::FromErrno(EEXIST).message()};
}

std::vector<BackupEntry> ListBackups(const QString& folder, QStringList* skipped)
{
    static const QRegularExpression named(QStringLiteral("^(.+)_(\\d{4}-\\d{2}-\\d{2}_\\d{6})(-\\d+)?\\.fse$"),
                                          QRegularExpression::CaseInsensitiveOption);
    std::vector<BackupEntry> entries;
    const QString absolute =
        QDir::cleanPath(QDir::isAbsolutePath(folder) ? folder : QDir::currentPath() + QLatin1Char('/') + folder);
    // Names as the system holds them: a backup named in another code page is listed too.
    QStringList names = FolderEntryNames(absolute);
    names.sort();
    for (const QString& name : names) {
        if (!name.endsWith(QLatin1String(".fse"), Qt::CaseInsensitive) || name.startsWith('.'))
            continue;
        BackupEntry entry;
        entry.path = absolute + QLatin1Char('/') + name;
        if (!IsRegularFile(entry.path)) {
            if (skipped)
                *skipped << entry.path;
            continue;
        }
        entry.taken = LastModified(entry.path);
        if (const auto match = named.match(ShownPath(name)); match.hasMatch()) {
            const QDateTime taken = QDateTime::fromString(match.captured(2), kDateTimeFormat);
            if (taken.isValid()) {
                entry.taken = taken;
                entry.serial = match.captured(1);
            }
        }
        RadioData data;
        if (!LoadFseFile(entry.path, data)) {
            entry.readable = true;
            entry.band = data.record.get(rec::freq_band);
            entry.channels_in_use = ChannelsInUse(data.record);
        }
        entries.push_back(entry);
    }
    std::stable_sort(entries.begin(), entries.end(), [](const BackupEntry& a, const BackupEntry& b) {
        return a.taken != b.taken ? a.taken > b.taken : a.path > b.path;
    });
    return entries;
}

} // namespace k3n
