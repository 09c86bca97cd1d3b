// k3n write: writes a configuration file into the radio, like the main
// window's "Write to radio": the radio's band must match the file's, and a
// configuration the check finds errors in is written only with --force.
// The radio is backed up first and read back afterwards unless switched off;
// --show-changes lists what the write changes in the radio before writing.
#include "cli/check_report.h"
#include "cli/command.h"
#include "cli/radio_session.h"
#include "interchange/configuration_diff.h"
#include "model/configuration_check.h"
#include "programming/radio_configuration.h"
#include <QDir>

namespace k3n::cli {

namespace {

// What the write changes in the radio, as k3n diff prints it: the radio's value first.
void PrintChanges(const RadioData& radio, const RadioData& toWrite, const TAppLang& lang)
{
    const std::vector<ConfigurationDifference> changes =
        DiffConfigurations(radio.record, AsTheRadioHoldsIt(toWrite.record), lang);
    for (const QString& line : DifferenceLines(changes))
        Out() << line << "\n";
    Out().flush();
    if (changes.empty())
        Err() << "the radio already holds this configuration\n";
    else
        Err() << changes.size() << (changes.size() == 1 ? " difference" : " differences")
              << " between the radio and this configuration\n";
    Err().flush();
}

} // namespace

int RunWrite(const Command& self, const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption port(QStringList{"port"}, QString(), QStringLiteral("PORT"));
    parser.addOption(port);
    const QCommandLineOption force(QStringList{"force"});
    parser.addOption(force);
    const QCommandLineOption noBackup(QStringList{"no-backup"});
    parser.addOption(noBackup);
    const QCommandLineOption noVerify(QStringList{"no-verify"});
    parser.addOption(noVerify);
    const QCommandLineOption showChanges(QStringList{"show-changes"});
    parser.addOption(showChanges);
    const QCommandLineOption language(QStringList{"language"}, QString(), QStringLiteral("LANG"));
    parser.addOption(language);
    if (auto done = ParseArguments(self, parser, args))
        return *done;
    const Result<QString> input = OneFileArgument(parser, "the file to write");
    if (!input)
        return UsageError(self, input.error().message);
    if (!parser.isSet(port))
        return UsageError(self, QStringLiteral("the port is missing (--port COMn, auto or a device path)"));
    if (parser.isSet(showChanges) && parser.isSet(noBackup))
        return UsageError(self, QStringLiteral("--show-changes compares with the backup: it cannot go with --no-backup"));
    const Result<TAppLang> lang = LanguageOption(parser.value(language), parser.isSet(language));
    if (!lang)
        return UsageError(self, lang.error().message);

    const auto plan = PortPlanFromArgument(parser.value(port));
    if (!plan)
        return Failure(self, plan.error().message);
    RadioData data;
    if (auto error = LoadWholeConfiguration(input.value(), data)) {
        Err() << "k3n " << self.name << ": " << error->message << "\n";
        Err().flush();
        return kExitUsage;
    }

    // Warnings are shown and the write goes on; errors stop it unless forced.
    const std::vector<ConfigurationProblem> problems = CheckConfiguration(data.record);
    PrintProblems(Err(), problems);
    Err().flush();
    if (HasErrors(problems) && !parser.isSet(force))
        return Failure(self,
                       QStringLiteral("the configuration has %1; nothing was written (--force writes it anyway)")
                           .arg(ProblemCounts(problems)));

    SafeWriteOptions options;
    options.backup = !parser.isSet(noBackup);
    options.verify = !parser.isSet(noVerify);
    if (parser.isSet(showChanges))
        options.before_write = [&](const RadioData& radio, const RadioData& toWrite) {
            PrintChanges(radio, toWrite, lang.value());
            return true;   // shown, not asked: the command line goes on writing
        };
    SafeWrite chain(data, LocalProgramTimeNow(), plan.value(), std::move(options));
    const SafeWriteOutcome outcome = RunSafeWrite(chain);
    const SafeWriteResult& result = chain.result();
    if (!result.backup_path.isEmpty())
        Out() << "backup: " << QDir::toNativeSeparators(result.backup_path) << "\n";
    Out().flush();
    if (outcome == SafeWriteOutcome::Written)
        return kExitOk;
    QString message = result.message;
    if (const char* detail = FailureDetail(result.failure);
        detail && *detail && result.failure != SessionFailure::Cancelled)
        message += QStringLiteral(" (%1)").arg(QString::fromUtf8(detail));
    Failure(self, message);
    return SafeWriteExitCode(outcome);
}

} // namespace k3n::cli
