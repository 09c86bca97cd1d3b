// k3n: the command-line tool for K3N configuration files.
#include "cli/command.h"
#include <QCoreApplication>
#include <span>

namespace {

using k3n::cli::Command;

const Command kCommands[] = {
    {"new", "new -o FILE.fse [--band 0..3]", "Write a fresh configuration: the defaults for the given band (0 if not given).",
     "  -o, --output FILE.fse  the file to write (replaced atomically)\n"
     "  --band N               0 K3N [136 - 174 MHz], 1 K3N [150 - 174 MHz],\n"
     "                         2 K3N [400 - 470 MHz], 3 K3N [410 - 430 MHz]\n",
     k3n::cli::RunNew},
    {"dump", "dump FILE.fse [--json]", "Print a configuration: band, channels in use and the settings blocks.",
     "  --json  print JSON with named fields instead of text\n",
     k3n::cli::RunDump},
};

void PrintHelp(QTextStream& stream)
{
    stream << "usage: k3n <command> [arguments]\n"
              "       k3n --help | --version\n\n"
              "Works with the configuration files (.fse) of K3N radios.\n\n"
              "Commands:\n";
    for (const Command& c : kCommands)
        stream << "  " << QString::fromLatin1(c.usage).leftJustified(32) << " " << c.summary << "\n";
    stream << "\nRun 'k3n <command> --help' for the options of a command.\n";
    stream.flush();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    using namespace k3n::cli;
    if (args.isEmpty()) {
        PrintHelp(Err());
        return kExitUsage;
    }
    const QString first = args.takeFirst();
    if (first == "--help" || first == "-h" || first == "help") {
        PrintHelp(Out());
        return kExitOk;
    }
    if (first == "--version") {
        Out() << "k3n " << kVersion << "\n";
        Out().flush();
        return kExitOk;
    }
    for (const Command& c : kCommands) {
        if (first == QLatin1String(c.name))
            return c.run(c, args);
    }
    Err() << "k3n: unknown command '" << first << "'\nRun 'k3n --help' for the list of commands.\n";
    Err().flush();
    return kExitUsage;
}
