// SPDX-License-Identifier: GPL-3.0-or-later
// k3n restore: puts a backup back into the radio. A backup that keeps the
// radio's own bytes is written back exactly as they were read, the programming
// date and time included, without the configuration check (they are the radio's
// own bytes); a radio other than the one they came from is refused unless
// --force. A backup made before the bytes were kept is written as a
// configuration, as k3n write writes it. Backup, read-back and log as k3n write.
#include "cli/check_report.h"
#include "cli/command.h"
#include "cli/command_files.h"
#include "cli/radio_session.h"
#include "model/configuration_check.h"
#include "programming/radio_backups.h"
#include "programming/radio_configuration.h"
#include <QDir>
#include <QFile>

namespace k3n::cli {

namespace {

void PrintBackup(const BackupEntry& entry, const std::optional<MemoryImage>& read)
{
    const QString taken = entry.taken.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (read) {
        const BackupRadio radio = BackupRadioOf(*read);
        Out() << "restoring the backup of radio " << radio.serial << " (" << BandCodeText(radio.band_code) << ") taken "
              << taken << ", exactly as it was read\n";
    } else {
        Out() << "restoring the backup taken " << taken << " as a configuration (it was made before backups kept "
              << "the radio's own bytes)\n";
    }
    if (entry.unsure)
        Out() << "note: this backup is marked unsure (" << entry.unsure_reason << ")\n";
    Out().flush();
}

}   // namespace

int RunRestore(const Command& self, const Arguments& args)
{
    const QString input = args.operands().constFirst();
    const QString name = args.value("port");
    // What is left out is known from the backup; what it missed, the read-back finds.
    if (args.isSet("changed-only") && (args.isSet("no-backup") || args.isSet("no-verify")))
        return UsageError(self,
                          QStringLiteral("--changed-only needs the backup and the read-back: it cannot go with "
                                         "--no-backup or --no-verify"));
    const Result<PortPlan> plan = PortPlanFromArgument(name);
    if (!plan)
        return PortRefused(self, name, plan.error());

    RadioData data;
    if (auto error = LoadConfigurationInput(input, data))
        return BadInput(self, error->message);
    const std::optional<MemoryImage> read = ReadBackupRadioBytes(input);
    PrintBackup(DescribeBackup(input), read);
    if (!read) {   // a configuration like any other: checked as k3n write checks it
        if (const auto refused = RefusedByCheck(self, data.record, args.isSet("force")))
            return *refused;
    }
    if (const auto refused = RefusedWithoutLog(self))
        return *refused;

    SafeWriteOptions options = WriteOptionsOf(args);
    // Which radio is on the cable is known only from the restore's own backup read.
    options.same_radio_only = read && options.backup && !args.isSet("force");
    if (read) {
        SafeWrite chain(ExactRestore{*read}, plan.value(), std::move(options));
        const MemoryImage& written = chain.imageToWrite();
        const QByteArray bytes(reinterpret_cast<const char*>(written.data()), int(written.size()));
        return RunLoggedWrite(self, chain, WriteLogContext{name, {}, input, bytes});
    }
    QFile file(input);
    const QByteArray fileBytes = file.open(QIODevice::ReadOnly) ? file.read(qint64(RadioRecord::kSize)) : QByteArray();
    SafeWrite chain(data, LocalProgramTimeNow(), plan.value(), std::move(options));
    return RunLoggedWrite(self, chain, WriteLogContext{name, {}, input, fileBytes});
}

}   // namespace k3n::cli
