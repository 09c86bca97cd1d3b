// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The programming log: one CSV line per attempt to write a radio, so a dealer
// can later show which radio got which configuration. Lines are only ever
// appended, each with one write and an fsync, so several programs can append
// to the same log at once without tearing a line.
#include "text/error.h"
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

namespace k3n {

enum class WriteOutcome { Succeeded, Failed, Cancelled };
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
// The entry's fields in the order of the columns.
QStringList ProgrammingLogFields(const ProgrammingLogEntry& entry);

QString WriteOutcomeName(WriteOutcome outcome);   // "succeeded", "failed", "cancelled"
QString VerifyResultName(VerifyResult result);   // "not run", "passed", "failed"

// $XDG_DATA_HOME/K3N/programming-log.csv (~/.local/share when it is unset or relative).
QString ProgrammingLogPath();

// The SHA-256 of the bytes in lower-case hex.
QString Sha256Hex(const QByteArray& bytes);

// Whether a line can be appended to the log at path: its folder is made when
// missing, and the file (or, before it exists, a file in its folder) is opened
// for writing. Asked before any radio is written.
std::optional<Error> CheckProgrammingLogWritable(const QString& path);

// Appends the entry as one line; a new log gets the header line first.
std::optional<Error> AppendProgrammingLogEntry(const QString& path, const ProgrammingLogEntry& entry);

struct ProgrammingLog {
    std::vector<ProgrammingLogEntry> entries;   // in the order they were written
    std::vector<int> unreadableLines;   // lines that are no entry, skipped
};

// Reads the log back. A missing or empty file is an empty log.
Result<ProgrammingLog> ReadProgrammingLog(const QString& path);

// "YYYY-MM-DD" (local midnight) or an ISO 8601 date and time; nullopt when neither.
std::optional<QDateTime> ParseLogDate(const QString& text);

// The entries at or after since.
std::vector<ProgrammingLogEntry> EntriesSince(const std::vector<ProgrammingLogEntry>& entries, const QDateTime& since);

} // namespace k3n
