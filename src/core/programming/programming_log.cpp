// SPDX-License-Identifier: GPL-3.0-or-later
#include "programming/programming_log.h"
#include "model/user_data_folder.h"
#include "interchange/csv.h"
#include "model/file_error.h"
#include "text/own_texts.h"
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace k3n {

namespace {

constexpr const char* kOutcomeNames[] = {"succeeded", "failed", "cancelled"};
constexpr const char* kVerifyNames[] = {"not run", "passed", "failed"};

Error LogError(const QString& path, int errnoValue)
{
    return Error{Text(OwnText::ProgrammingLogNotWritable).arg(path, FileError::FromErrno(errnoValue).message())};
}

template <class Enum, std::size_t N> std::optional<Enum> EnumOfName(const QString& name, const char* const (&names)[N])
{
    for (std::size_t i = 0; i < N; ++i) {
        if (name == QLatin1String(names[i]))
            return Enum(i);
    }
    return std::nullopt;
}

// Makes the log's folder; the errno of the failure, or 0.
int MakeFolder(const QString& path)
{
    const QString folder = QFileInfo(path).absolutePath();
    errno = 0;
    if (QDir().mkpath(folder) && QFileInfo(folder).isDir())
        return 0;
    return errno ? errno : ENOTDIR;
}

// Writes all of bytes with one write; a short write is an error (the line would be torn).
bool WriteWhole(int fd, const QByteArray& bytes)
{
    ssize_t written;
    do {
        written = ::write(fd, bytes.constData(), std::size_t(bytes.size()));
    } while (written < 0 && errno == EINTR);
    if (written >= 0 && written != bytes.size())
        errno = ENOSPC;
    return written == bytes.size();
}

// The file ends in the middle of a line (a program stopped while writing it).
bool EndsInsideLine(int fd, off_t size)
{
    char last = '\n';
    return size > 0 && ::pread(fd, &last, 1, size - 1) == 1 && last != '\n';
}

std::optional<ProgrammingLogEntry> EntryOfFields(const QStringList& f)
{
    if (f.size() != ProgrammingLogColumns().size())
        return std::nullopt;
    const QDateTime time = QDateTime::fromString(f[0], Qt::ISODate);
    const auto verify = EnumOfName<VerifyResult>(f[8], kVerifyNames);
    const auto outcome = EnumOfName<WriteOutcome>(f[9], kOutcomeNames);
    if (!time.isValid() || !verify || !outcome)
        return std::nullopt;
    return ProgrammingLogEntry{time, f[1], f[2], f[3], f[4], f[5], f[6], f[7], *verify, *outcome, f[10]};
}

} // namespace

QStringList ProgrammingLogColumns()
{
    return {"time",        "port",        "device", "serial_number", "band",   "file",
            "file_sha256", "backup_file", "verify", "outcome",       "message"};
}

QStringList ProgrammingLogFields(const ProgrammingLogEntry& e)
{
    // The offset is written out, so the line names one moment in any time zone.
    const QString time = e.time.toOffsetFromUtc(e.time.offsetFromUtc()).toString(Qt::ISODate);
    return {time,
            e.port,
            e.device,
            e.serialNumber,
            e.band,
            e.fileName,
            e.fileSha256,
            e.backupFile,
            VerifyResultName(e.verify),
            WriteOutcomeName(e.outcome),
            e.message};
}

QString WriteOutcomeName(WriteOutcome outcome)
{
    return QString::fromLatin1(kOutcomeNames[int(outcome)]);
}

QString VerifyResultName(VerifyResult result)
{
    return QString::fromLatin1(kVerifyNames[int(result)]);
}

QString ProgrammingLogPath()
{
    return UserDataFolder() + QStringLiteral("/programming-log.csv");
}

QString Sha256Hex(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

std::optional<Error> CheckProgrammingLogWritable(const QString& path)
{
    if (const int error = MakeFolder(path))
        return LogError(path, error);
    if (QFileInfo::exists(path)) {
        const int fd =
            ::open(QFile::encodeName(path).constData(), O_RDWR | O_APPEND | O_CLOEXEC);   // as an append opens it
        if (fd < 0)
            return LogError(path, errno);
        ::close(fd);
        return std::nullopt;
    }
    // Not creating the log itself: an empty log would look like one that lost its lines.
    QTemporaryFile probe(QFileInfo(path).absolutePath() + QStringLiteral("/.programming-log-XXXXXX"));
    errno = 0;
    if (!probe.open())
        return LogError(path, errno ? errno : EACCES);   // a read-only or full file system has its own reason
    return std::nullopt;
}

std::optional<Error> AppendProgrammingLogEntry(const QString& path, const ProgrammingLogEntry& entry)
{
    if (const int error = MakeFolder(path))
        return LogError(path, error);
    // Read as well: the last byte tells whether the file ends inside a line.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return LogError(path, errno);
    // The lock only decides who writes the header of a new log; each line is
    // still one write to a file opened for appending.
    ::flock(fd, LOCK_EX);
    struct stat st {};
    ::fstat(fd, &st);
    QByteArray bytes;
    if (st.st_size == 0)
        bytes += WriteCsv({ProgrammingLogColumns()});
    else if (EndsInsideLine(fd, st.st_size))
        bytes += "\r\n";   // the torn line stays as it is; this one starts on a line of its own
    bytes += WriteCsv({ProgrammingLogFields(entry)});
    std::optional<Error> result;
    if (!WriteWhole(fd, bytes) || ::fsync(fd) != 0)
        result = LogError(path, errno);
    ::flock(fd, LOCK_UN);
    ::close(fd);
    return result;
}

Result<ProgrammingLog> ReadProgrammingLog(const QString& path)
{
    ProgrammingLog log;
    QFile file(path);
    if (!file.exists())
        return log;
    if (!file.open(QIODevice::ReadOnly))
        return Error{QStringLiteral("cannot read %1: %2").arg(path, file.errorString())};
    const QByteArray bytes = file.readAll();
    if (bytes.trimmed().isEmpty())
        return log;
    Result<std::vector<CsvRow>> rows = ParseCsv(bytes);
    if (!rows)
        return Error{QStringLiteral("cannot read %1: %2").arg(path, rows.error().message)};
    const QStringList header = ProgrammingLogColumns();
    for (const CsvRow& row : rows.value()) {
        if (row.fields == header)
            continue;
        if (auto entry = EntryOfFields(row.fields))
            log.entries.push_back(std::move(*entry));
        else
            log.unreadableLines.push_back(row.line);
    }
    return log;
}

std::optional<QDateTime> ParseLogDate(const QString& text)
{
    const QDate date = QDate::fromString(text, Qt::ISODate);
    if (date.isValid() && text.size() == 10)
        return date.startOfDay();
    const QDateTime time = QDateTime::fromString(text, Qt::ISODate);
    if (time.isValid())
        return time;
    return std::nullopt;
}

std::vector<ProgrammingLogEntry> EntriesSince(const std::vector<ProgrammingLogEntry>& entries, const QDateTime& since)
{
    std::vector<ProgrammingLogEntry> kept;
    std::copy_if(entries.begin(), entries.end(), std::back_inserter(kept),
                 [&since](const ProgrammingLogEntry& e) { return e.time >= since; });
    return kept;
}

} // namespace k3n
