// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The programming log's line of one write: which file went to which radio on
// which port, and how it ended.
#include "programming/programming_log.h"
#include "programming/safe_write.h"

namespace k3n {

// What is known about the write before it starts.
struct WriteLogContext {
    QString port;        // as the user named it
    QString device;      // the device it resolved to; "" when unknown
    QString file_name;   // the configuration file written; "" for an unsaved one
    QByteArray file_bytes;   // its bytes (the configuration's bytes for an unsaved one), for the SHA-256
};

ProgrammingLogEntry WriteLogEntry(const QDateTime& when, const WriteLogContext& context, const SafeWriteResult& result);

// Appends the write's line to the log at path.
std::optional<Error> LogWrite(const QString& path, const QDateTime& when, const WriteLogContext& context,
                              const SafeWriteResult& result);

} // namespace k3n
