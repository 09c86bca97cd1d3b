// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The programming log's line of one write: which file went to which radio on
// which port, and how it ended.
#include "programming/programming_log.h"
#include "programming/safe_write.h"

namespace k3n {

// What is known about the write before it starts.
struct WriteLogContext {
    QString port;   // as the user named it
    QString device;   // the device it resolved to; "" when unknown
    QString file_name;   // the configuration file written; "" for an unsaved one
    QByteArray file_bytes;   // its bytes (the configuration's bytes for an unsaved one), for the SHA-256
};

ProgrammingLogEntry WriteLogEntry(const QDateTime& when, const WriteLogContext& context, const SafeWriteResult& result);

// Appends the write's line to the log at path.
std::optional<Error> LogWrite(const QString& path, const QDateTime& when, const WriteLogContext& context,
                              const SafeWriteResult& result);

// The two lines of one write in the programming log, as every way of writing a
// radio keeps them: logStarted() before the first frame (a write whose line
// could not be added must not start), logOutcome() once the write has ended.
// Both lines carry the moment the write started and the port as named, which
// pair them when the log is read.
class WriteAttemptLog {
public:
    WriteAttemptLog(QString path, WriteLogContext context, int band);

    // What the outcome line says about the write; the device may be filled in once known.
    WriteLogContext& context() { return context_; }
    bool started() const { return started_.isValid(); }

    std::optional<Error> logStarted(const QDateTime& now = QDateTime::currentDateTime());
    std::optional<Error> logOutcome(const SafeWriteResult& result);

private:
    QString path_;
    WriteLogContext context_;
    int band_;
    QDateTime started_;
};

}   // namespace k3n
