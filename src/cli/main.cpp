// SPDX-License-Identifier: GPL-3.0-or-later
// k3n: the command-line tool for K3N configuration files.
#include "cli/command.h"
#include "printing/paged_report.h"
#include "text/app_lang.h"
#include <QCoreApplication>
#include <QGuiApplication>
#include <csignal>
#include <memory>
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
     "  --json  print every field of the record as JSON: numbers to read back with\n"
     "          'k3n import', with texts for a reader beside them\n",
     k3n::cli::RunDump},
    {"check", "check FILE.fse [--json]",
     "Check a configuration before writing it: errors a radio cannot take, warnings worth a look.",
     "  --json  print the problems as a JSON array instead of text\n"
     "Exit status: 0 no errors (warnings are printed), 1 errors, 2 the file cannot be read.\n",
     k3n::cli::RunCheck},
    {"virtual-radio",
     "virtual-radio [--band 0..3] [--memory FILE] [--link PATH] [--baud RATE] [--late-greeting MS] "
     "[--garble-session N | --ack-without-storing N | --vanish-after N]",
     "Serve a virtual radio on a pseudo-terminal until interrupted; prints the port to use.",
     "  --band N       the radio's frequency band, 0..3 (default 0, or the memory file's)\n"
     "  --memory FILE  keep the radio's 8192-byte memory in FILE between runs\n"
     "  --link PATH    also make PATH a link to the port\n"
     "  --baud RATE    answer at the pace of a real line (19200), not at once\n"
     "Misbehaving, to try the program against a faulty radio (one of the last three at a time):\n"
     "  --late-greeting MS       a radio slow to wake: every greeting is answered MS ms late,\n"
     "                           so greetings repeated meanwhile are each answered too\n"
     "  --garble-session N       in the N-th session (1 = the first), every read reply\n"
     "                           carries two bytes more than asked for\n"
     "  --ack-without-storing N  after N frames, acknowledge writes but keep nothing\n"
     "  --vanish-after N         after N frames the radio goes away (the port closes)\n",
     k3n::cli::RunVirtualRadio},
    {"read", "read --port PORT -o OUT.fse [--base BASE.fse]", "Read the configuration from the radio into a file (written only on success).",
     "  --port PORT           COMn of 'k3n ports', auto to search every port, or a device path\n"
     "  -o, --output OUT.fse  the file to write (replaced atomically)\n"
     "  --base BASE.fse       start from this configuration instead of the defaults\n",
     k3n::cli::RunRead},
    {"write", "write --port PORT [--port PORT2 …] FILE.fse [--force] [--no-backup] [--no-verify] [--show-changes] [--changed-only]",
     "Write a configuration file into the radio, or into several radios at once.",
     "  --port PORT    COMn of 'k3n ports', auto to search every port, or a device path;\n"
     "                 repeat it to write several radios at once, one per port\n"
     "  --ports LIST   several ports at once, separated by commas (COM1,COM2,…)\n"
     "  --all-ports    every USB serial cable connected\n"
     "  --force        write even when 'k3n check' finds errors (its warnings never stop a write)\n"
     "  --no-backup    do not read the radio into a backup file first ('k3n backups' lists them)\n"
     "  --no-verify    do not read the radio back afterwards to compare it with what was sent\n"
     "  --show-changes once the radio is backed up, print what the write changes in it (as\n"
     "                 'k3n diff' prints it, the radio's value first), then write; one radio\n"
     "  --changed-only (experimental) send only the blocks the backup found different; the\n"
     "                 read-back stays complete, and a difference it finds has everything written\n"
     "  --language LANG  name the changes in en, zh-CN or zh-TW (default: the locale's)\n"
     "Every attempt is added to the programming log ('k3n log') before anything is sent;\n"
     "Ctrl+C, a closed terminal, SIGTERM or SIGQUIT stops every session (no end frame).\n"
     "Exit status: 0 written (and verified), 1 failed (the message says whether anything was\n"
     "written; with several radios: any of them), 2 bad arguments or an unreadable file,\n"
     "3 written but a read-back could not reach the radio.\n",
     k3n::cli::RunWrite},
    {"backups", "backups [--json]", "List the backups taken before each write, the newest first.",
     "  --json  print JSON instead of text\n",
     k3n::cli::RunBackups},
    {"restore", "restore BACKUP.fse --port PORT [--force] [--no-backup] [--no-verify] [--changed-only]",
     "Put a backup back into the radio, exactly as it was read.",
     "  --port PORT  COMn of 'k3n ports', auto to search every port, or a device path\n"
     "  --force      restore a backup of another radio (other serial number or band); a backup\n"
     "               made before backups kept the radio's own bytes is written as a configuration,\n"
     "               and --force then writes it even when 'k3n check' finds errors\n"
     "  --no-backup  do not read the radio into a backup file first\n"
     "  --no-verify  do not read the radio back afterwards to compare it with what was sent\n"
     "  --changed-only  (experimental) send only the blocks the radio holds otherwise, as k3n write\n"
     "The backup's serial number, band and date are printed before anything is written.\n"
     "Exit status as k3n write: 0 written and verified, 1 failed, 2 bad arguments or file,\n"
     "3 written but not verified, or a different radio answered the read-back.\n",
     k3n::cli::RunRestore},
    {"image", "image FILE.fse -o IMAGE.bin [--time T]", "Write the 8192-byte radio memory image of a configuration.",
     "  -o, --output IMAGE.bin  the file to write (replaced atomically); the image holds\n"
     "                          what a write sends, and the band code at 0x0FFF\n"
     "  --time \"YYYY-MM-DD HH:MM\"  the programming time stored in the image (default: now)\n",
     k3n::cli::RunImage},
    {"unimage", "unimage IMAGE.bin -o OUT.fse [--base BASE.fse]", "Turn a radio memory image into a configuration, as a read would.",
     "  -o, --output OUT.fse  the file to write (replaced atomically)\n"
     "  --base BASE.fse       start from this configuration instead of the defaults\n",
     k3n::cli::RunUnimage},
    {"ports", "ports", "List the serial ports: COM name, device path and description.", "", k3n::cli::RunPorts},
    {"export", "export FILE.fse -o OUT.csv [--standard]", "Write the channels in use as a channel-list CSV.",
     "  -o, --output OUT.csv  the file to write (replaced atomically)\n"
     "  --standard            only the 21 common columns, not the radio's own\n",
     k3n::cli::RunExport},
    {"import", "import IN.csv|IN.json [--base BASE.fse | --band N] [--replace-all] [--strict] [--language LANG] -o OUT.fse",
     "Put the channels of a CSV, or a whole JSON configuration, onto a configuration.",
     "  -o, --output OUT.fse  the file to write (replaced atomically)\n"
     "  --base BASE.fse       start from this configuration (its band is used)\n"
     "  --band N              without --base: the defaults of band 0..3 (default 0)\n"
     "  --replace-all         empty every channel before importing\n"
     "  --strict              write nothing and exit 1 when a row was skipped or a value changed,\n"
     "                        or a JSON text says otherwise than its number\n"
     "  --language LANG       the report's language: en (default), zh-CN or zh-TW\n"
     "A CSV row sets what its columns say; a channel in use keeps every value its file has no\n"
     "column for. The report of what did not fit goes to stderr and ends with a summary line;\n"
     "when no row is imported nothing is written and the exit status is 1. A JSON file\n"
     "('k3n dump --json') sets every field it names; the base keeps the others. CSV and JSON\n"
     "are told apart by the file's suffix, or else by its content.\n",
     k3n::cli::RunImport},
    {"log", "log [--json] [--since DATE]", "Print the programming log: every write attempt on every radio.",
     "  --json        print a JSON array instead of a table\n"
     "  --since DATE  only the attempts from DATE on: YYYY-MM-DD (local midnight)\n"
     "                or YYYY-MM-DDTHH:MM:SS\n"
     "An attempt whose end never reached the log shows as interrupted; a damaged line is\n"
     "left out with a warning naming it.\n",
     k3n::cli::RunLog},
    {"report", "report FILE.fse -o OUT.pdf|OUT.html [--language L]",
     "Write the printable report of a configuration: band, channels in use, every settings page.",
     "  -o, --output FILE  the report to write (replaced atomically): .pdf or .html\n"
     "  --language L       en (default), zh-CN or zh-TW\n"
     "Works without a display.\n",
     k3n::cli::RunReport},
    {"diff", "diff A B [--json] [--language en|zh-CN|zh-TW]",
     "Compare two configurations (.fse or JSON): one line per difference.",
     "  --json             print the differences as a JSON array\n"
     "  --language LANG    name the items in en, zh-CN or zh-TW (default: the locale's)\n"
     "Exit status: 0 the same, 1 different, 2 a file cannot be read.\n",
     k3n::cli::RunDiff},
};

// Laying a report out on PDF pages needs Qt GUI; the other commands need no more than Qt Core.
bool NeedsGui(int argc, char** argv)
{
    return argc > 1 && qstrcmp(argv[1], "report") == 0;
}

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
    // A file-size limit makes a write fail (the programming log says so), not the process die.
    std::signal(SIGXFSZ, SIG_IGN);
    if (NeedsGui(argc, argv))
        k3n::UseOffscreenPlatformWithoutDisplay();
    const std::unique_ptr<QCoreApplication> app = NeedsGui(argc, argv)
                                                      ? std::make_unique<QGuiApplication>(argc, argv)
                                                      : std::make_unique<QCoreApplication>(argc, argv);
    // The tool speaks English, so the core's texts (file reasons, session notices) do too.
    k3n::ApplyLanguageSetting(0);
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
