// SPDX-License-Identifier: GPL-3.0-or-later
// k3n dump: prints a configuration file as text, or as the JSON image of every field.
#include "cli/command.h"
#include "report/configuration_report.h"
#include "interchange/configuration_json.h"
#include "model/fse_file.h"
#include "model/radio_data.h"

namespace k3n::cli {

int RunDump(const Command& self, const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption json(QStringList{"json"});
    parser.addOption(json);
    if (auto done = ParseArguments(self, parser, args))
        return *done;
    const Result<QString> input = OneFileArgument(parser, "the file to print");
    if (!input)
        return UsageError(self, input.error().message);
    const QString path = input.value();

    RadioData data;
    if (auto error = LoadFseFile(path, data))
        return Failure(self, QStringLiteral("cannot read %1: %2").arg(path, error->message()));

    if (parser.isSet(json))
        Out() << ConfigurationJsonText(data.record);
    else
        Out() << ReportAsText(BuildConfigurationReport(data.record));
    Out().flush();
    return kExitOk;
}

} // namespace k3n::cli
