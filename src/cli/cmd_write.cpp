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
#include "cli/command_files.h"
#include "cli/interrupt.h"
#include "cli/language_option.h"
#include "cli/radio_session.h"
#include "cli/several_radios.h"
#include "comm/port_list.h"
#include "interchange/configuration_diff.h"
#include "model/configuration_check.h"
#include "programming/port_name.h"
#include "programming/radio_configuration.h"
#include "programming/write_log.h"
#include <QDir>
#include <QFile>
#include <variant>

namespace k3n::cli {

namespace {

// The ports named by --port (repeatable), --ports A,B,… and --all-ports, in that
// order; the exit status when they cannot be used.
std::variant<QStringList, int> NamedPorts(const Command& self, const Arguments& args)
{
    QStringList named = args.values("port");
    for (const QString& list : args.values("ports"))
        named += list.split(',', Qt::SkipEmptyParts);
    for (const QString& port : named)
        if (auto error = CheckPortName(port))
            return UsageError(self, QStringLiteral("'%1': %2").arg(port, error->message));
    if (args.isSet("all-ports")) {
        const QStringList cables = UsbCablePorts(HalvexComm32::TCommSerialPortInfo());
        if (cables.isEmpty())
            return Failure(
                self, QStringLiteral("--all-ports: no USB serial cable is connected ('k3n ports' lists the ports)"));
        named += cables;
    }
    if (named.isEmpty())
        return UsageError(self, QStringLiteral("the port is missing (--port COMn, auto or a device path)"));
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

int WriteOneRadio(const Command& self, const RadioData& data, const WriteLogContext& context, const PortPlan& plan,
                  SafeWriteOptions options)
{
    SafeWrite chain(data, LocalProgramTimeNow(), plan, std::move(options));
    const int exitCode = RunLoggedWrite(self, chain, context);
    if (exitCode == kExitOk && chain.result().changed_only) {   // a failure's message has said it
        Err() << ChangedOnlyNote(chain.result()) << "\n";
        Err().flush();
    }
    return exitCode;
}

}   // namespace

int RunWrite(const Command& self, const Arguments& args)
{
    const QString input = args.operands().constFirst();
    const std::variant<QStringList, int> named = NamedPorts(self, args);
    if (const int* exitStatus = std::get_if<int>(&named))
        return *exitStatus;
    const QStringList& ports = std::get<QStringList>(named);
    const bool several = ports.size() > 1 || args.isSet("ports") || args.isSet("all-ports");
    if (args.isSet("show-changes") && args.isSet("no-backup"))
        return UsageError(self,
                          QStringLiteral("--show-changes compares with the backup: it cannot go with --no-backup"));
    // What is left out is known from the backup; what it missed, the read-back finds.
    if (args.isSet("changed-only") && (args.isSet("no-backup") || args.isSet("no-verify")))
        return UsageError(self,
                          QStringLiteral("--changed-only needs the backup and the read-back: it cannot go with "
                                         "--no-backup or --no-verify"));
    if (args.isSet("show-changes") && several)
        return UsageError(self, QStringLiteral("--show-changes lists the changes of one radio: give one --port"));
    const Result<TAppLang> lang = LanguageOption(args.value("language"), args.isSet("language"));
    if (!lang)
        return UsageError(self, lang.error().message);

    std::optional<PortPlan> plan;
    if (!several) {
        auto one = PortPlanFromArgument(ports.constFirst());
        if (!one)
            return PortRefused(self, ports.constFirst(), one.error());
        plan = one.value();
    }
    RadioData data;
    if (auto error = LoadConfigurationInput(input, data))
        return BadInput(self, error->message);

    if (const auto refused = RefusedByCheck(self, data.record, args.isSet("force")))
        return *refused;
    if (const auto refused = RefusedWithoutLog(self))
        return *refused;

    SafeWriteOptions options = WriteOptionsOf(args);
    if (args.isSet("show-changes"))
        options.before_write = [&](const RadioData& radio, const RadioData& toWrite) {
            PrintChanges(radio, toWrite, lang.value());
            return true;   // shown, not asked: the command line goes on writing
        };
    QFile file(input);
    const QByteArray fileBytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    if (several)
        return WriteSeveralRadios(self, data, WriteLogContext{{}, {}, input, fileBytes}, ports, options);
    const WriteLogContext context{ports.constFirst(), {}, input, fileBytes};
    return WriteOneRadio(self, data, context, *plan, std::move(options));
}

}   // namespace k3n::cli
