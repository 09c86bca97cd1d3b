// SPDX-License-Identifier: GPL-3.0-or-later
#include "programming/radio_backups.h"
#include "model/fse_file.h"
#include "model/native_path.h"
#include "model/own_files.h"
#include "model/record_layout.h"
#include "model/user_data_folder.h"
#include "programming/transfer_plan.h"
#include <QDir>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

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

}   // namespace

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

namespace {

// After the record: this mark, the bytes of the read plan's blocks in their order, and a CRC-16 of them.
const QByteArray kRadioBytesMark = QByteArrayLiteral("K3N-RADIO-BYTES-1");

std::vector<PlanStep> ReadBlocks()
{
    return TransferPlan(ConfigurationReadRequest());
}

QByteArray RadioBytesTrailer(const MemoryImage& read)
{
    QByteArray bytes;
    for (const PlanStep& step : ReadBlocks())
        bytes.append(reinterpret_cast<const char*>(read.data() + step.address), step.size);
    const quint16 crc = qChecksum(bytes);
    return kRadioBytesMark + bytes + char(crc >> 8) + char(crc & 0xFF);
}

QString UnsureMarkPath(const QString& backupPath)
{
    return backupPath + QStringLiteral(".unsure");
}

}   // namespace

std::optional<MemoryImage> ReadBackupRadioBytes(const QString& backupPath)
{
    QByteArray all;
    if (ReadRegularFile(backupPath, all))
        return std::nullopt;
    const QByteArray trailer = all.mid(qsizetype(RadioRecord::kSize));
    if (!trailer.startsWith(kRadioBytesMark))
        return std::nullopt;
    const QByteArray bytes = trailer.mid(kRadioBytesMark.size());
    qsizetype expected = 0;
    for (const PlanStep& step : ReadBlocks())
        expected += step.size;
    if (bytes.size() != expected + 2)
        return std::nullopt;
    const QByteArray data = bytes.first(expected);
    const quint16 crc = quint16(uint8_t(bytes[expected]) << 8 | uint8_t(bytes[expected + 1]));
    if (qChecksum(data) != crc)
        return std::nullopt;
    MemoryImage image{};
    qsizetype at = 0;
    for (const PlanStep& step : ReadBlocks()) {
        std::copy_n(data.constData() + at, step.size, image.begin() + step.address);
        at += step.size;
    }
    return image;
}

BackupRadio BackupRadioOf(const MemoryImage& read)
{
    return {SerialNumberInFileName(std::span<const uint8_t, 8>(read.data() + radio_addr::kSerialNumber, 8)),
            read[radio_addr::kBandCode]};
}

QString BandCodeText(uint8_t code)
{
    for (int band = 0; band < kBandCount; ++band)
        if (BandRadioCode(band) == code)
            return QString::fromLatin1(BandName(band));
    return QStringLiteral("band code 0x%1").arg(QString::number(code, 16).toUpper().rightJustified(2, '0'));
}

Result<QString> SaveBackup(const QString& folder, const RadioRecord& record, const QString& serial,
                           const QDateTime& when, const std::optional<MemoryImage>& read)
{
    if (const int reason = MakeFolders(folder))
        return Error{FileError::FromErrno(reason).message()};
    for (int copy = 1; copy <= kMaxCopies; ++copy) {
        const QString path = folder + QLatin1Char('/') + BackupFileName(serial, when, copy);
        if (PathExists(path))
            continue;
        const auto error = SaveNewFseFile(path, record, read ? RadioBytesTrailer(*read) : QByteArray());
        if (!error)
            return path;
        if (!PathExists(path))   // taken meanwhile: try the next name
            return Error{error->message()};
    }
    return Error{FileError::FromErrno(EEXIST).message()};
}

std::optional<Error> MarkBackupUnsure(const QString& backupPath, const QString& reason)
{
    const QByteArray text = reason.toUtf8() + '\n';
    const int fd = ::open(NativePath(UnsureMarkPath(backupPath)).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return Error{FileError::FromErrno(errno).message()};
    const bool written = ::write(fd, text.constData(), std::size_t(text.size())) == text.size();
    const int writeError = errno;
    ::close(fd);
    if (!written)
        return Error{FileError::FromErrno(writeError ? writeError : ENOSPC).message()};
    return std::nullopt;
}

BackupEntry DescribeBackup(const QString& path)
{
    static const QRegularExpression named(QStringLiteral("^(.+)_(\\d{4}-\\d{2}-\\d{2}_\\d{6})(-\\d+)?\\.fse$"),
                                          QRegularExpression::CaseInsensitiveOption);
    BackupEntry entry;
    entry.path = path;
    entry.taken = LastModified(path);
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    if (const auto match = named.match(ShownPath(name)); match.hasMatch()) {
        const QDateTime taken = QDateTime::fromString(match.captured(2), kDateTimeFormat);
        if (taken.isValid()) {
            entry.taken = taken;
            entry.serial = match.captured(1);
        }
    }
    if (QByteArray mark; !ReadRegularFile(UnsureMarkPath(path), mark)) {
        entry.unsure = true;
        entry.unsure_reason = QString::fromUtf8(mark.left(4096)).trimmed();
    }
    RadioData data;
    if (IsRegularFile(path) && !LoadFseFile(path, data)) {
        entry.readable = true;
        entry.band = data.record.get(rec::freq_band);
        entry.channels_in_use = ChannelsInUse(data.record);
        entry.exact = ReadBackupRadioBytes(path).has_value();
    }
    return entry;
}

std::vector<BackupEntry> ListBackups(const QString& folder, QStringList* skipped)
{
    std::vector<BackupEntry> entries;
    const QString absolute =
        QDir::cleanPath(QDir::isAbsolutePath(folder) ? folder : QDir::currentPath() + QLatin1Char('/') + folder);
    // Names as the system holds them: a backup named in another code page is listed too.
    QStringList names = FolderEntryNames(absolute);
    names.sort();
    for (const QString& name : names) {
        if (!name.endsWith(QLatin1String(".fse"), Qt::CaseInsensitive) || name.startsWith('.'))
            continue;
        const QString path = absolute + QLatin1Char('/') + name;
        if (!IsRegularFile(path)) {
            if (skipped)
                *skipped << path;
            continue;
        }
        entries.push_back(DescribeBackup(path));
    }
    std::stable_sort(entries.begin(), entries.end(), [](const BackupEntry& a, const BackupEntry& b) {
        return a.taken != b.taken ? a.taken > b.taken : a.path > b.path;
    });
    return entries;
}

}   // namespace k3n
