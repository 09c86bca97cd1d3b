// SPDX-License-Identifier: GPL-3.0-or-later
// k3n export: the channels of a configuration as a channel-list CSV.
#include "cli/command.h"
#include "cli/radio_session.h"
#include "interchange/channel_csv.h"
#include <QSaveFile>

namespace k3n::cli {

int RunExport(const Command& self, const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption output(QStringList{"o", "output"}, QString(), QStringLiteral("OUT.csv"));
    const QCommandLineOption standard(QStringList{"standard"});
    parser.addOption(output);
    parser.addOption(standard);
    if (auto done = ParseArguments(self, parser, args))
        return *done;
    const Result<QString> input = OneFileArgument(parser, "the configuration file");
    if (!input)
        return UsageError(self, input.error().message);
    const QString outPath = parser.value(output);
    if (outPath.isEmpty())
        return UsageError(self, QStringLiteral("the output file is missing (-o OUT.csv)"));

    RadioData data;
    if (auto error = LoadWholeConfiguration(input.value(), data)) {
        Err() << "k3n " << self.name << ": " << error->message << "\n";
        Err().flush();
        return kExitUsage;
    }
    const ChannelExport exported = ExportChannelsCsv(
        data.record, parser.isSet(standard) ? ChannelColumnSet::StandardOnly : ChannelColumnSet::StandardAndRadio);
    for (const QString& note : exported.notes)
        Err() << note << "\n";
    Err().flush();

    QSaveFile file(outPath);   // replaced in one step, never left half-written
    if (!file.open(QIODevice::WriteOnly) || file.write(exported.csv) != exported.csv.size() || !file.commit())
        return Failure(self, QStringLiteral("cannot write %1: %2").arg(outPath, file.errorString()));
    return kExitOk;
}

} // namespace k3n::cli
