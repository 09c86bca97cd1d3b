// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The programming log: two CSV lines per attempt to write a radio, so a dealer
// can later show which radio got which configuration. A "started" line is
// appended before the first frame and the outcome's line after the attempt,
// with the same time and port, so an attempt the program did not live to end
// still shows. Lines are only ever appended, each whole or not at all, with one
// write and an fsync, so several programs can append to the same log at once
// without tearing a line.
#include "text/error.h"
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

namespace k3n {

// Started is the line before an attempt; Interrupted is only read: a started
// line that no outcome followed.
enum class WriteOutcome { Succeeded, Failed, Cancelled, Started, Interrupted };
enum class VerifyResult { NotRun, Passed, Failed };

struct ProgrammingLogEntry {
    QDateTime time;   // local time of the attempt, with its offset from UTC
    QString port;   // "COM3"
    QString device;   // "/dev/ttyUSB0"
    QString serialNumber;   // empty when the radio did not tell it
    QString band;   // the band's name
    QString fileName;   // the configuration file written
    QString fileSha256;   // its SHA-256, lower-case hex
    QString backupFile;   // empty when no backup was taken
    VerifyResult verify = VerifyResult::NotRun;
    WriteOutcome outcome = WriteOutcome::Failed;
    QString message;   // the outcome's message

    bool operator==(const ProgrammingLogEntry&) const = default;
};

// The log's columns, as its header line names them.
QStringList ProgrammingLogColumns();
// The entry's fields in the order of the columns, as shown (the line in the
// file guards those a spreadsheet would take for a formula).
QStringList ProgrammingLogFields(const ProgrammingLogEntry& entry);

// "succeeded", "failed", "cancelled", "started", "interrupted"
QString WriteOutcomeName(WriteOutcome outcome);
QString VerifyResultName(VerifyResult result);   // "not run", "passed", "failed"

// $XDG_DATA_HOME/K3N/programming-log.csv (~/.local/share when it is unset or relative).
QString ProgrammingLogPath();

// The SHA-256 of the bytes in lower-case hex.
QString Sha256Hex(const QByteArray& bytes);

// Whether a line can be appended to the log at path: its folder is made when
// missing, and the file (or, before it exists, a file in its folder) is opened
// for writing. Asked before any radio is written.
std::optional<Error> CheckProgrammingLogWritable(const QString& path);

// Appends the entry as one line; a new log gets the header line first. The log
// must be a regular file and no link ("the programming log is a link: …"); a
// line that cannot be written whole is cut off again.
std::optional<Error> AppendProgrammingLogEntry(const QString& path, const ProgrammingLogEntry& entry);

struct ProgrammingLog {
    // One per attempt, in the order they started: a started line and the
    // outcome line that followed it with the same time and port are one entry
    // (the outcome's); a started line alone is Interrupted.
    std::vector<ProgrammingLogEntry> entries;
    std::vector<int> unreadableLines;   // lines that are no entry, skipped
};

// Reads the log back. A missing or empty file is an empty log; a log that is
// not a regular file (links followed) is not read.
Result<ProgrammingLog> ReadProgrammingLog(const QString& path);

// "YYYY-MM-DD" (local midnight) or an ISO 8601 date and time; nullopt when neither.
std::optional<QDateTime> ParseLogDate(const QString& text);

// The entries at or after since.
std::vector<ProgrammingLogEntry> EntriesSince(const std::vector<ProgrammingLogEntry>& entries, const QDateTime& since);

}   // namespace k3n
