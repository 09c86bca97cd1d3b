// SPDX-License-Identifier: GPL-3.0-or-later
#include "programming/programming_log.h"
#include "model/file_error.h"
#include "model/native_path.h"
#include "model/own_files.h"
#include "model/user_data_folder.h"
#include "text/csv.h"
#include "text/own_texts.h"
#include <QCryptographicHash>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace k3n {

namespace {

constexpr const char* kOutcomeNames[] = {"succeeded", "failed", "cancelled", "started", "interrupted"};
constexpr const char* kVerifyNames[] = {"not run", "passed", "failed"};

Error LogError(const QString& path, const FileError& reason)
{
    return Error{Text(OwnText::ProgrammingLogNotWritable).arg(path, reason.message())};
}

Error LogError(const QString& path, int errnoValue)
{
    return LogError(path, FileError::FromErrno(errnoValue));
}

Error NotRegularLogError(const QString& path)
{
    FileError reason;
    reason.kind = FileError::Kind::NotARegularFile;
    return LogError(path, reason);
}

// Opens the log for appending: never through a link, and without waiting on a FIFO.
int OpenLog(const QString& path, int flags, std::optional<Error>& error)
{
    const int fd = ::open(NativePath(path).constData(), flags | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) {
        struct stat st {};
        const int reason = errno;
        const bool link = reason == ELOOP && ::lstat(NativePath(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
        error = link ? Error{Text(OwnText::ProgrammingLogIsALink).arg(path)} : LogError(path, reason);
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        error = NotRegularLogError(path);
        return -1;
    }
    return fd;
}

QString FolderOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QStringLiteral(".") : slash == 0 ? QStringLiteral("/") : path.left(slash);
}

template <class Enum, std::size_t N> std::optional<Enum> EnumOfName(const QString& name, const char* const (&names)[N])
{
    for (std::size_t i = 0; i < N; ++i) {
        if (name == QLatin1String(names[i]))
            return Enum(i);
    }
    return std::nullopt;
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

// A spreadsheet takes a cell that begins with one of these for a formula.
bool BeginsLikeFormula(QStringView field)
{
    return !field.isEmpty() && QStringView(u"=+-@").contains(field.front());
}

// The field as the file holds it: a formula-like one behind a quote mark, and
// a quote mark that would be taken for that guard doubled, so reading gives back
// exactly the field.
QString GuardedField(const QString& field)
{
    const QStringView rest = QStringView(field).mid(1);
    const bool guard =
        BeginsLikeFormula(field) || (field.startsWith('\'') && (BeginsLikeFormula(rest) || rest.startsWith('\'')));
    return guard ? QLatin1Char('\'') + field : field;
}

QString UnguardedField(const QString& field)
{
    const QStringView rest = QStringView(field).mid(1);
    return field.startsWith('\'') && (BeginsLikeFormula(rest) || rest.startsWith('\'')) ? rest.toString() : field;
}

std::optional<ProgrammingLogEntry> EntryOfFields(QStringList f)
{
    if (f.size() != ProgrammingLogColumns().size())
        return std::nullopt;
    for (QString& field : f)
        field = UnguardedField(field);
    const QDateTime time = QDateTime::fromString(f[0], Qt::ISODate);
    const auto verify = EnumOfName<VerifyResult>(f[8], kVerifyNames);
    const auto outcome = EnumOfName<WriteOutcome>(f[9], kOutcomeNames);
    if (!time.isValid() || !verify || !outcome)
        return std::nullopt;
    return ProgrammingLogEntry{time, f[1], f[2], f[3], f[4], f[5], f[6], f[7], *verify, *outcome, f[10]};
}

// The rows of the log. A line that starts no readable row (cut short, binary
// bytes, a quote never closed) is noted and skipped; reading goes on at the next line.
void ReadRows(const QByteArray& bytes, std::vector<CsvRow>& rows, std::vector<int>& damaged)
{
    const QList<QByteArray> lines = bytes.split('\n');
    for (qsizetype first = 0; first < lines.size();) {
        if (lines[first].trimmed().isEmpty() || lines[first].trimmed() == "\xEF\xBB\xBF") {
            ++first;
            continue;
        }
        // A row goes on over the next lines while a quoted field is open.
        qsizetype last = first;
        qsizetype quotes = lines[first].count('"');
        while (quotes % 2 != 0 && last + 1 < lines.size())
            quotes += lines[++last].count('"');
        Result<std::vector<CsvRow>> parsed = Error{};
        if (quotes % 2 == 0)
            parsed = ParseCsv(lines.mid(first, last - first + 1).join('\n'));
        if (parsed && parsed.value().size() == 1) {
            CsvRow row = std::move(parsed.value().front());
            row.line = int(first) + 1;
            rows.push_back(std::move(row));
            first = last + 1;
        } else {
            damaged.push_back(int(first) + 1);
            ++first;
        }
    }
}

// One entry per attempt: an outcome line takes the place of the latest started
// line of its time and port that has no outcome yet.
std::vector<ProgrammingLogEntry> Attempts(const std::vector<ProgrammingLogEntry>& lines)
{
    std::vector<ProgrammingLogEntry> attempts;
    std::vector<std::size_t> open;   // attempts still waiting for their outcome line
    for (const ProgrammingLogEntry& line : lines) {
        if (line.outcome == WriteOutcome::Started) {
            open.push_back(attempts.size());
            attempts.push_back(line);
            attempts.back().outcome = WriteOutcome::Interrupted;
            continue;
        }
        const auto started = std::find_if(open.rbegin(), open.rend(), [&](std::size_t i) {
            return attempts[i].time == line.time && attempts[i].port == line.port;
        });
        if (started == open.rend()) {
            attempts.push_back(line);   // a line of a log from before started lines
            continue;
        }
        attempts[*started] = line;
        open.erase(std::next(started).base());
    }
    return attempts;
}

}   // namespace

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
    const QString folder = FolderOf(path);
    if (const int error = MakeFolders(folder))
        return LogError(path, error);
    if (PathExists(path)) {
        std::optional<Error> error;
        const int fd = OpenLog(path, O_RDWR, error);   // as an append opens it
        if (fd >= 0)
            ::close(fd);
        return error;
    }
    // Not creating the log itself: an empty log would look like one that lost its lines.
    QByteArray probe = NativePath(folder + QStringLiteral("/.programming-log-XXXXXX"));
    const int fd = ::mkstemp(probe.data());
    if (fd < 0)
        return LogError(path, errno);   // a read-only or full file system has its own reason
    ::unlink(probe.constData());
    ::close(fd);
    return std::nullopt;
}

std::optional<Error> AppendProgrammingLogEntry(const QString& path, const ProgrammingLogEntry& entry)
{
    if (const int error = MakeFolders(FolderOf(path)))
        return LogError(path, error);
    // Read as well: the last byte tells whether the file ends inside a line.
    std::optional<Error> result;
    const int fd = OpenLog(path, O_RDWR | O_CREAT, result);
    if (fd < 0)
        return result;
    // The lock decides who writes the header of a new log, and keeps the size
    // a failed line is cut back to; each line is still one write to a file
    // opened for appending.
    ::flock(fd, LOCK_EX);
    struct stat st {};
    ::fstat(fd, &st);
    QByteArray bytes;
    if (st.st_size == 0)
        bytes += WriteCsv({ProgrammingLogColumns()});
    else if (EndsInsideLine(fd, st.st_size))
        bytes += "\r\n";   // the torn line stays as it is; this one starts on a line of its own
    QStringList fields;
    for (const QString& field : ProgrammingLogFields(entry))
        fields << GuardedField(field);
    bytes += WriteCsv({fields});
    if (!WriteWhole(fd, bytes) || ::fsync(fd) != 0) {
        const int reason = errno;
        (void)!::ftruncate(fd, st.st_size);   // a line is there whole or not at all
        result = LogError(path, reason);
    }
    ::flock(fd, LOCK_UN);
    ::close(fd);
    return result;
}

Result<ProgrammingLog> ReadProgrammingLog(const QString& path)
{
    ProgrammingLog log;
    QByteArray bytes;
    if (auto error = ReadRegularFile(path, bytes)) {
        if (error->kind == FileError::Kind::NotFound)
            return log;
        return Error{QStringLiteral("cannot read %1: %2").arg(path, error->message())};
    }
    std::vector<CsvRow> rows;
    ReadRows(bytes, rows, log.unreadableLines);
    const QStringList header = ProgrammingLogColumns();
    std::vector<ProgrammingLogEntry> lines;
    for (const CsvRow& row : rows) {
        if (row.fields == header)
            continue;
        if (auto entry = EntryOfFields(row.fields))
            lines.push_back(std::move(*entry));
        else
            log.unreadableLines.push_back(row.line);
    }
    std::sort(log.unreadableLines.begin(), log.unreadableLines.end());
    log.entries = Attempts(lines);
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

}   // namespace k3n
