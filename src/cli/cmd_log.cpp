// SPDX-License-Identifier: GPL-3.0-or-later
// k3n log: prints the programming log, every write attempt on every radio:
// one entry per attempt, "interrupted" for one that never logged its end.
#include "cli/command.h"
#include "model/own_files.h"
#include "programming/programming_log.h"
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace k3n::cli {

namespace {

constexpr int kShownHashDigits = 12;   // enough to tell files apart; --json has all of it

QJsonArray AsJson(const std::vector<ProgrammingLogEntry>& entries)
{
    const QStringList columns = ProgrammingLogColumns();
    QJsonArray array;
    for (const ProgrammingLogEntry& entry : entries) {
        const QStringList fields = ProgrammingLogFields(entry);
        QJsonObject object;
        for (qsizetype i = 0; i < columns.size(); ++i)
            object.insert(columns[i], fields[i]);
        array.append(object);
    }
    return array;
}

// One line per entry, the columns aligned under the header.
QString AsText(const std::vector<ProgrammingLogEntry>& entries)
{
    const QStringList columns = ProgrammingLogColumns();
    const qsizetype hashColumn = columns.indexOf(QStringLiteral("file_sha256"));
    std::vector<QStringList> rows{columns};
    for (const ProgrammingLogEntry& entry : entries) {
        QStringList fields = ProgrammingLogFields(entry);
        fields[hashColumn].truncate(kShownHashDigits);
        rows.push_back(fields);
    }
    std::vector<qsizetype> width(std::size_t(columns.size()), 0);
    for (const QStringList& row : rows) {
        for (qsizetype c = 0; c < row.size(); ++c)
            width[std::size_t(c)] = std::max(width[std::size_t(c)], row[c].size());
    }
    QString out;
    for (const QStringList& row : rows) {
        QString line;
        for (qsizetype c = 0; c < row.size(); ++c)
            line += row[c].leftJustified(width[std::size_t(c)]) + QStringLiteral("  ");
        out += line.trimmed() + '\n';
    }
    return out;
}

}   // namespace

int RunLog(const Command& self, const Arguments& args)
{
    std::optional<QDateTime> from;
    if (args.isSet("since")) {
        from = ParseLogDate(args.value("since"));
        if (!from)
            return UsageError(
                self,
                QStringLiteral("'%1' is not a date (YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS)").arg(args.value("since")));
    }

    const QString path = ProgrammingLogPath();
    if (!PathExists(path)) {
        const QString none = QStringLiteral("No programming log yet (%1): no radio has been written.\n").arg(path);
        if (args.isSet("json")) {
            Err() << none;
            Out() << "[]\n";
        } else {
            Out() << none;
        }
        Err().flush();
        Out().flush();
        return kExitOk;
    }
    const Result<ProgrammingLog> log = ReadProgrammingLog(path);
    if (!log)
        return Failure(self, log.error().message);
    for (const int line : log.value().unreadableLines)
        Err() << "k3n log: " << path << " line " << line << ": not a log entry, left out\n";
    Err().flush();

    const std::vector<ProgrammingLogEntry> entries =
        from ? EntriesSince(log.value().entries, *from) : log.value().entries;
    if (args.isSet("json"))
        Out() << QJsonDocument(AsJson(entries)).toJson(QJsonDocument::Indented);
    else
        Out() << AsText(entries);
    Out().flush();
    return kExitOk;
}

}   // namespace k3n::cli
