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

}   // namespace

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

namespace {

ProgrammingLogEntry StartedLogEntry(const QDateTime& when, const WriteLogContext& context, int band)
{
    SafeWriteResult notYet;
    notYet.band = band;
    ProgrammingLogEntry entry = WriteLogEntry(when, context, notYet);
    entry.outcome = WriteOutcome::Started;
    return entry;
}

}   // namespace

std::optional<Error> LogWrite(const QString& path, const QDateTime& when, const WriteLogContext& context,
                              const SafeWriteResult& result)
{
    return AppendProgrammingLogEntry(path, WriteLogEntry(when, context, result));
}

WriteAttemptLog::WriteAttemptLog(QString path, WriteLogContext context, int band)
    : path_(std::move(path)), context_(std::move(context)), band_(band)
{}

std::optional<Error> WriteAttemptLog::logStarted(const QDateTime& now)
{
    // Whole seconds, as the line holds the time: the outcome line must carry the same.
    const QDateTime when = now.addMSecs(-now.time().msec());
    if (auto error = AppendProgrammingLogEntry(path_, StartedLogEntry(when, context_, band_)))
        return error;
    started_ = when;
    return std::nullopt;
}

std::optional<Error> WriteAttemptLog::logOutcome(const SafeWriteResult& result)
{
    if (!result.device.isEmpty())   // the device the write held open from the backup to the read-back
        context_.device = result.device;
    return LogWrite(path_, started_.isValid() ? started_ : QDateTime::currentDateTime(), context_, result);
}

}   // namespace k3n
