// SPDX-License-Identifier: GPL-3.0-or-later
// k3n: the command-line tool for K3N configuration files.
#include "cli/tool.h"
#include "cli/command.h"
#include "cli/manual.h"
#include "printing/paged_report.h"
#include "text/app_lang.h"
#include <QCoreApplication>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <csignal>
#include <memory>

namespace {

using namespace k3n::cli;

// Laying a report out on PDF pages needs Qt GUI; the other commands need no more than Qt Core.
bool NeedsGui(int argc, char** argv)
{
    return argc > 1 && qstrcmp(argv[1], "report") == 0;
}

QString GeneralHelp()
{
    QString text = QStringLiteral("usage: k3n COMMAND [ARGUMENTS]\n"
                                  "       k3n help [COMMAND] | --help | --version\n\n"
                                  "Works with the configuration files (.fse) of K3N radios.\n\n"
                                  "Commands:\n");
    for (const Command& command : Commands())
        text += QStringLiteral("  %1 %2\n")
                    .arg(QString::fromLatin1(command.name).leftJustified(14), QString::fromUtf8(command.summary));
    return text + QStringLiteral("\nRun 'k3n help COMMAND' or 'k3n COMMAND --help' for the options of a command.\n\n")
        + ExitStatusText();
}

// "did you mean" for a command name: the one that starts the same, if only one does.
QString UnknownCommand(const QString& name)
{
    QString message = QStringLiteral("k3n: unknown command '%1'").arg(name);
    QStringList close;
    for (const Command& command : Commands())
        if (!name.isEmpty() && QLatin1String(command.name).startsWith(name.left(3)))
            close << QString::fromLatin1(command.name);
    if (close.size() == 1)
        message += QStringLiteral("; did you mean '%1'?").arg(close.constFirst());
    return message + QStringLiteral("\nRun 'k3n help' for the list of commands.\n");
}

int RunCommand(const Command& command, const QStringList& args)
{
    const k3n::Result<Arguments> parsed = ParseArguments(command, args);
    if (!parsed)
        return UsageError(command, parsed.error().message);
    if (parsed.value().helpAsked()) {
        Out() << CommandHelp(command);
        return kExitOk;
    }
    return command.run(command, parsed.value());
}

// Qt warns on stderr when XDG_RUNTIME_DIR is unset, as it is under cron, sudo or
// a bare ssh command; a private folder of our own for the run keeps it quiet.
std::unique_ptr<QTemporaryDir> RuntimeFolderIfUnset()
{
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return nullptr;
    auto folder = std::make_unique<QTemporaryDir>();   // made 0700, as the folder must be
    if (!folder->isValid())
        return nullptr;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder->path()));
    return folder;
}

}   // namespace

namespace k3n::cli {

int RunHelp(const Command&, const Arguments& args)
{
    if (args.operands().isEmpty()) {
        Out() << GeneralHelp();
        return kExitOk;
    }
    const Command* command = FindCommand(args.operands().constFirst());
    if (!command) {
        Err() << UnknownCommand(args.operands().constFirst());
        return kExitUsage;
    }
    Out() << CommandHelp(*command);
    return kExitOk;
}

int RunTool(int argc, char** argv)
{
    // A file-size limit makes a write fail (the programming log says so), not the process die.
    std::signal(SIGXFSZ, SIG_IGN);
    // A reader that went away is a write error on standard output, not the end of
    // the process half-way through a file or a radio session.
    std::signal(SIGPIPE, SIG_IGN);
    std::unique_ptr<QTemporaryDir> runtimeFolder;
    if (NeedsGui(argc, argv)) {
        runtimeFolder = RuntimeFolderIfUnset();
        k3n::UseOffscreenPlatformWithoutDisplay();
    }
    const std::unique_ptr<QCoreApplication> app = NeedsGui(argc, argv) ? std::make_unique<QGuiApplication>(argc, argv)
                                                                       : std::make_unique<QCoreApplication>(argc, argv);
    // The tool speaks English, so the core's texts (file reasons, session notices) do too.
    k3n::ApplyLanguageSetting(0);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        Err() << GeneralHelp();
        Err().flush();
        return kExitUsage;
    }
    const QString first = args.takeFirst();
    int status = kExitUsage;
    if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
        Out() << GeneralHelp();
        status = kExitOk;
    } else if (first == QLatin1String("--version")) {
        Out() << "k3n " << kVersion << "\n";
        status = kExitOk;
    } else if (first == QLatin1String("--man-page")) {   // for the build: k3n.1
        Out() << ManPage();
        status = kExitOk;
    } else if (first == QLatin1String("--bash-completion")) {   // for the build: the completion script
        Out() << BashCompletion();
        status = kExitOk;
    } else if (const Command* command = FindCommand(first)) {
        status = RunCommand(*command, args);
    } else {
        Err() << UnknownCommand(first);
    }
    Err().flush();
    return FinishOutput(status);
}

}   // namespace k3n::cli
