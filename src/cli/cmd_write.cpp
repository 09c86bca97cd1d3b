// SPDX-License-Identifier: GPL-3.0-or-later
// k3n write: writes a configuration file into the radio, like the main
// window's "Write to radio": the radio's band must match the file's, and a
// configuration the check finds errors in is written only with --force.
// The radio is backed up first and read back afterwards unless switched off.
// With several ports, every radio is written at once. Every attempt goes into
// the programming log; Ctrl+C stops the sessions and is logged too.
// --show-changes lists what the write changes in the radio before writing;
// --changed-only sends only the frames the backup found different.
#include "cli/check_report.h"
#include "cli/command.h"
#include "cli/language_option.h"
#include "cli/interrupt.h"
#include "cli/radio_session.h"
#include "cli/several_radios.h"
#include "comm/port_list.h"
#include "interchange/configuration_diff.h"
#include "model/configuration_check.h"
#include "programming/radio_configuration.h"
#include "programming/write_log.h"
#include <QDir>
#include <QFile>

namespace k3n::cli {

namespace {

// The ports named by --port (repeatable), --ports A,B,… and --all-ports, in that order.
Result<QStringList> NamedPorts(const QCommandLineParser& parser, const QCommandLineOption& port,
                               const QCommandLineOption& ports, const QCommandLineOption& allPorts)
{
    QStringList named = parser.values(port);
    for (const QString& list : parser.values(ports))
        named += list.split(',', Qt::SkipEmptyParts);
    if (parser.isSet(allPorts)) {
        const QStringList cables = UsbCablePorts(HalvexComm32::TCommSerialPortInfo());
        if (cables.isEmpty())
            return Error{QStringLiteral("--all-ports: no USB serial cable is connected ('k3n ports' lists the ports)")};
        named += cables;
    }
    if (named.isEmpty())
        return Error{QStringLiteral("the port is missing (--port COMn, auto or a device path)")};
    return named;
}

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

int WriteOneRadio(const Command& self, const RadioData& data, const WriteLogContext& context,
                  const PortPlan& plan, SafeWriteOptions options)
{
    SafeWrite chain(data, LocalProgramTimeNow(), plan, std::move(options));
    const int exitCode = RunLoggedWrite(self, chain, context);
    if (exitCode == kExitOk && chain.result().changed_only) {   // a failure's message has said it
        Err() << ChangedOnlyNote(chain.result()) << "\n";
        Err().flush();
    }
    return exitCode;
}

} // namespace

int RunWrite(const Command& self, const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption port(QStringList{"port"}, QString(), QStringLiteral("PORT"));
    parser.addOption(port);
    const QCommandLineOption ports(QStringList{"ports"}, QString(), QStringLiteral("LIST"));
    parser.addOption(ports);
    const QCommandLineOption allPorts(QStringList{"all-ports"});
    parser.addOption(allPorts);
    const QCommandLineOption force(QStringList{"force"});
    parser.addOption(force);
    const QCommandLineOption noBackup(QStringList{"no-backup"});
    parser.addOption(noBackup);
    const QCommandLineOption noVerify(QStringList{"no-verify"});
    parser.addOption(noVerify);
    const QCommandLineOption showChanges(QStringList{"show-changes"});
    parser.addOption(showChanges);
    const QCommandLineOption changedOnly(QStringList{"changed-only"});
    parser.addOption(changedOnly);
    const QCommandLineOption language(QStringList{"language"}, QString(), QStringLiteral("LANG"));
    parser.addOption(language);
    if (auto done = ParseArguments(self, parser, args))
        return *done;
    const Result<QString> input = OneFileArgument(parser, "the file to write");
    if (!input)
        return UsageError(self, input.error().message);
    const Result<QStringList> named = NamedPorts(parser, port, ports, allPorts);
    if (!named)
        return UsageError(self, named.error().message);
    const bool several = named.value().size() > 1 || parser.isSet(ports) || parser.isSet(allPorts);
    if (parser.isSet(showChanges) && parser.isSet(noBackup))
        return UsageError(self, QStringLiteral("--show-changes compares with the backup: it cannot go with --no-backup"));
    // What is left out is known from the backup; what it missed, the read-back finds.
    if (parser.isSet(changedOnly) && (parser.isSet(noBackup) || parser.isSet(noVerify)))
        return UsageError(self, QStringLiteral("--changed-only needs the backup and the read-back: it cannot go with "
                                               "--no-backup or --no-verify"));
    if (parser.isSet(showChanges) && several)
        return UsageError(self, QStringLiteral("--show-changes lists the changes of one radio: give one --port"));
    const Result<TAppLang> lang = LanguageOption(parser.value(language), parser.isSet(language));
    if (!lang)
        return UsageError(self, lang.error().message);

    std::optional<PortPlan> plan;
    if (!several) {
        auto one = PortPlanFromArgument(named.value().constFirst());
        if (!one)
            return Failure(self, one.error().message);
        plan = one.value();
    }
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
    // A write that could not be proved later is not started.
    if (auto error = CheckProgrammingLogWritable(ProgrammingLogPath()))
        return Failure(self, QStringLiteral("the programming log cannot be written (%1); nothing was written")
                                 .arg(error->message));

    SafeWriteOptions options;
    options.backup = !parser.isSet(noBackup);
    options.verify = !parser.isSet(noVerify);
    options.changed_only = parser.isSet(changedOnly);
    if (parser.isSet(showChanges))
        options.before_write = [&](const RadioData& radio, const RadioData& toWrite) {
            PrintChanges(radio, toWrite, lang.value());
            return true;   // shown, not asked: the command line goes on writing
        };
    QFile file(input.value());
    const QByteArray fileBytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    if (several)
        return WriteSeveralRadios(self, data, WriteLogContext{{}, {}, input.value(), fileBytes}, named.value(),
                                  options);
    const WriteLogContext context{named.value().constFirst(), {}, input.value(), fileBytes};
    return WriteOneRadio(self, data, context, *plan, std::move(options));
}

} // namespace k3n::cli
