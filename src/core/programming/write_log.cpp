// SPDX-License-Identifier: GPL-3.0-or-later
#include "programming/write_log.h"
#include "model/radio_data.h"
#include <QFileInfo>

namespace k3n {

namespace {

WriteOutcome OutcomeOf(SafeWriteOutcome outcome)
{
    switch (outcome) {
    case SafeWriteOutcome::Written:
    case SafeWriteOutcome::WrittenNotVerified: return WriteOutcome::Succeeded;
    case SafeWriteOutcome::Cancelled: return WriteOutcome::Cancelled;
    default: return WriteOutcome::Failed;
    }
}

VerifyResult VerifyOf(const SafeWriteResult& result)
{
    if (result.verified)
        return VerifyResult::Passed;
    return result.outcome == SafeWriteOutcome::VerifyFailed ? VerifyResult::Failed : VerifyResult::NotRun;
}

} // namespace

ProgrammingLogEntry WriteLogEntry(const QDateTime& when, const WriteLogContext& context, const SafeWriteResult& result)
{
    ProgrammingLogEntry entry;
    entry.time = when;
    entry.port = context.port;
    entry.device = context.device;
    entry.serialNumber = result.serial_number;
    entry.band = QString::fromLatin1(BandName(result.band));
    entry.fileName = context.file_name.isEmpty() ? QString() : QFileInfo(context.file_name).fileName();
    entry.fileSha256 = Sha256Hex(context.file_bytes);
    entry.backupFile = result.backup_path;
    entry.verify = VerifyOf(result);
    entry.outcome = OutcomeOf(result.outcome);
    entry.message = result.message;
    return entry;
}

std::optional<Error> LogWrite(const QString& path, const QDateTime& when, const WriteLogContext& context,
                              const SafeWriteResult& result)
{
    return AppendProgrammingLogEntry(path, WriteLogEntry(when, context, result));
}

} // namespace k3n
