// SPDX-License-Identifier: GPL-3.0-or-later
// k3n backups: lists the backups taken before each write, the newest first.
#include "cli/command.h"
#include "programming/radio_backups.h"
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace k3n::cli {

namespace {

QString BandText(const BackupEntry& entry)
{
    return entry.readable ? QString::fromLatin1(BandName(entry.band)) : QStringLiteral("(cannot be read)");
}

QJsonObject BackupAsJson(const BackupEntry& entry)
{
    QJsonObject o{{"path", entry.path},
                  {"date", entry.taken.toString(Qt::ISODate)},
                  {"serial_number", entry.serial},
                  {"readable", entry.readable},
                  {"unsure", entry.unsure},
                  {"exact", entry.exact}};
    if (entry.unsure)
        o.insert("unsure_reason", entry.unsure_reason);
    if (entry.readable) {
        o.insert("band", entry.band);
        o.insert("band_name", QString::fromLatin1(BandName(entry.band)));
        o.insert("channels_in_use", entry.channels_in_use);
    }
    return o;
}

}   // namespace

int RunBackups(const Command& self, const Arguments& args)
{
    const QString folder = BackupFolder();
    QStringList skipped;
    const std::vector<BackupEntry> entries = ListBackups(folder, &skipped);
    for (const QString& path : skipped)
        Err() << "k3n " << self.name << ": " << QDir::toNativeSeparators(path) << ": not a regular file, left out\n";
    Err().flush();
    if (args.isSet("json")) {
        QJsonArray list;
        for (const BackupEntry& entry : entries)
            list.append(BackupAsJson(entry));
        Out() << QJsonDocument(list).toJson(QJsonDocument::Indented);
        Out().flush();
        return kExitOk;
    }
    if (entries.empty()) {
        Out() << "no backups yet in " << QDir::toNativeSeparators(folder) << "\n";
        Out().flush();
        return kExitOk;
    }
    Out() << QStringLiteral("%1  %2  %3  %4  %5  %6\n")
                 .arg(QStringLiteral("date").leftJustified(19), QStringLiteral("serial").leftJustified(8),
                      QStringLiteral("band").leftJustified(20), QStringLiteral("channels"),
                      QStringLiteral("restores").leftJustified(15), QStringLiteral("file"));
    for (const BackupEntry& entry : entries) {
        const QString serial = entry.serial.isEmpty() ? QStringLiteral("-") : entry.serial;
        const QString channels = entry.readable ? QString::number(entry.channels_in_use) : QStringLiteral("-");
        const QString restores = entry.exact ? QStringLiteral("exactly") : QStringLiteral("as a config");
        Out() << QStringLiteral("%1  %2  %3  %4  %5  %6\n")
                     .arg(entry.taken.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), serial.leftJustified(8),
                          BandText(entry).leftJustified(20), channels.rightJustified(8), restores.leftJustified(15),
                          QDir::toNativeSeparators(entry.path));
        if (entry.unsure)   // a later read of the radio found bytes a write never changes changed
            Out() << QStringLiteral("%1  unsure: may not hold the radio's true bytes (%2)\n")
                         .arg(QString(19, ' '), entry.unsure_reason);
    }
    Out().flush();
    return kExitOk;
}

}   // namespace k3n::cli
