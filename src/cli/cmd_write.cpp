// k3n write: writes a configuration file into the radio, like the main
// window's "Write to radio": the radio's band must match the file's.
#include "cli/command.h"
#include "cli/radio_session.h"

namespace k3n::cli {

int RunWrite(const Command& self, const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption port(QStringList{"port"}, QString(), QStringLiteral("PORT"));
    parser.addOption(port);
    if (auto done = ParseArguments(self, parser, args))
        return *done;
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1)
        return UsageError(self, files.isEmpty() ? QStringLiteral("the file to write is missing")
                                                : QStringLiteral("one file at a time"));
    if (!parser.isSet(port))
        return UsageError(self, QStringLiteral("the port is missing (--port COMn, auto or a device path)"));

    const auto plan = PortPlanFromArgument(parser.value(port));
    if (!plan)
        return Failure(self, plan.error().message);
    RadioData data;
    if (auto error = LoadWholeConfiguration(files.constFirst(), data))
        return Failure(self, error->message);

    ProgrammingSession session(ConfigurationWriteRequest(data, LocalProgramTimeNow(), true), plan.value());
    if (RunSession(session) != SessionOutcome::Success)
        return Failure(self, FailureMessage(session));
    return kExitOk;
}

} // namespace k3n::cli
