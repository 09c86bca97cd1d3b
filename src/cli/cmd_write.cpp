// k3n write: writes a configuration file into the radio, like the main
// window's "Write to radio": the radio's band must match the file's, and a
// configuration the check finds errors in is written only with --force.
#include "cli/check_report.h"
#include "cli/command.h"
#include "cli/radio_session.h"
#include "model/configuration_check.h"

namespace k3n::cli {

int RunWrite(const Command& self, const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption port(QStringList{"port"}, QString(), QStringLiteral("PORT"));
    parser.addOption(port);
    const QCommandLineOption force(QStringList{"force"});
    parser.addOption(force);
    if (auto done = ParseArguments(self, parser, args))
        return *done;
    const Result<QString> input = OneFileArgument(parser, "the file to write");
    if (!input)
        return UsageError(self, input.error().message);
    if (!parser.isSet(port))
        return UsageError(self, QStringLiteral("the port is missing (--port COMn, auto or a device path)"));

    const auto plan = PortPlanFromArgument(parser.value(port));
    if (!plan)
        return Failure(self, plan.error().message);
    RadioData data;
    if (auto error = LoadWholeConfiguration(input.value(), data))
        return Failure(self, error->message);

    // Warnings are shown and the write goes on; errors stop it unless forced.
    const std::vector<ConfigurationProblem> problems = CheckConfiguration(data.record);
    PrintProblems(Err(), problems);
    Err().flush();
    if (HasErrors(problems) && !parser.isSet(force))
        return Failure(self,
                       QStringLiteral("the configuration has %1; nothing was written (--force writes it anyway)")
                           .arg(ProblemCounts(problems)));

    ProgrammingSession session(ConfigurationWriteRequest(data, LocalProgramTimeNow(), true), plan.value());
    if (RunSession(session) != SessionOutcome::Success)
        return Failure(self, FailureMessage(session));
    return kExitOk;
}

} // namespace k3n::cli
