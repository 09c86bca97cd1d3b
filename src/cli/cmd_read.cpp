// SPDX-License-Identifier: GPL-3.0-or-later
// k3n read: reads the configuration from the radio into a file, like the main
// window's "Read from radio". The file is written only when the read succeeded.
#include "cli/command.h"
#include "cli/radio_session.h"
#include "model/fse_file.h"

namespace k3n::cli {

int RunRead(const Command& self, const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption port(QStringList{"port"}, QString(), QStringLiteral("PORT"));
    const QCommandLineOption output(QStringList{"o", "output"}, QString(), QStringLiteral("OUT.fse"));
    const QCommandLineOption base(QStringList{"base"}, QString(), QStringLiteral("BASE.fse"));
    for (const auto* option : {&port, &output, &base})
        parser.addOption(*option);
    if (auto done = ParseArguments(self, parser, args))
        return *done;
    if (!parser.positionalArguments().isEmpty())
        return UsageError(self, QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().constFirst()));
    if (!parser.isSet(port))
        return UsageError(self, QStringLiteral("the port is missing (--port COMn, auto or a device path)"));
    const QString outPath = parser.value(output);
    if (outPath.isEmpty())
        return UsageError(self, QStringLiteral("the output file is missing (-o OUT.fse)"));

    const auto plan = PortPlanFromArgument(parser.value(port));
    if (!plan)
        return Failure(self, plan.error().message);
    RadioData data;
    if (auto error = LoadBaseConfiguration(parser.value(base), data))
        return Failure(self, error->message);

    ProgrammingSession session(ConfigurationReadRequest(), plan.value());
    if (RunSession(session) != SessionOutcome::Success || !ApplyConfigurationRead(session, data))
        return Failure(self, FailureMessage(session));
    if (auto error = SaveFseFile(outPath, data.record))
        return Failure(self, QStringLiteral("cannot write %1: %2").arg(outPath, error->message()));
    return kExitOk;
}

} // namespace k3n::cli
