// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of the k3n tool: one entry each, with its operands and its
// option table. A new option is one more row of its command's table.
#include "cli/command.h"

namespace k3n::cli {

namespace {

constexpr const char* kPortHelp = "COMn of 'k3n ports', auto to search every port, or an\nabsolute device path";
constexpr const char* kOutputHelp = "the file to write: replaced whole, or left as it was";

constexpr Option kNewOptions[] = {
    {.names = "o,output", .value = "FILE.fse", .help = kOutputHelp, .kind = ValueKind::File, .required = true},
    {.names = "band",
     .value = "0..3",
     .help = "0 K3N [136 - 174 MHz], 1 K3N [150 - 174 MHz],\n2 K3N [400 - 470 MHz], 3 K3N [410 - 430 MHz] (default 0)",
     .kind = ValueKind::Band},
};

constexpr Option kDumpOptions[] = {
    {.names = "json",
     .help = "print every field of the record as JSON: numbers to read back with\n'k3n import', with texts for a "
             "reader beside them"},
};

constexpr Option kCheckOptions[] = {
    {.names = "json", .help = "print the problems as a JSON array instead of text"},
};

constexpr Option kVirtualRadioOptions[] = {
    {.names = "band",
     .value = "0..3",
     .help = "the radio's frequency band (default 0, or the memory file's)",
     .kind = ValueKind::Band},
    {.names = "memory",
     .value = "FILE",
     .help = "keep the radio's 8192-byte memory in FILE between runs",
     .kind = ValueKind::File},
    {.names = "link", .value = "PATH", .help = "also make PATH a link to the port", .kind = ValueKind::File},
    {.names = "baud",
     .value = "RATE",
     .help = "answer at the pace of a real line (19200), not at once",
     .kind = ValueKind::Text},
    {.names = "late-greeting",
     .value = "MS",
     .help = "a radio slow to wake: every greeting is answered MS ms late,\nso greetings repeated meanwhile are each "
             "answered too",
     .kind = ValueKind::Text},
    {.names = "garble-session",
     .value = "N",
     .help = "in the N-th session (1 = the first), every read reply\ncarries two bytes more than asked for",
     .kind = ValueKind::Text,
     .group = 1},
    {.names = "ack-without-storing",
     .value = "N",
     .help = "after N frames, acknowledge writes but keep nothing",
     .kind = ValueKind::Text,
     .group = 1},
    {.names = "vanish-after",
     .value = "N",
     .help = "after N frames the radio goes away (the port closes)",
     .kind = ValueKind::Text,
     .group = 1},
};

constexpr Option kReadOptions[] = {
    {.names = "port", .value = "PORT", .help = kPortHelp, .kind = ValueKind::Port, .required = true},
    {.names = "o,output", .value = "OUT.fse", .help = kOutputHelp, .kind = ValueKind::File, .required = true},
    {.names = "base",
     .value = "BASE.fse",
     .help = "start from this configuration instead of the defaults (it may be OUT.fse)",
     .kind = ValueKind::File},
};

constexpr Option kWriteOptions[] = {
    {.names = "port",
     .value = "PORT",
     .help = "COMn of 'k3n ports', auto to search every port, or an\nabsolute device path; repeat it to write "
             "several\nradios at once, one per port",
     .kind = ValueKind::Port,
     .required = true,
     .repeatable = true,
     .group = 1},
    {.names = "ports",
     .value = "LIST",
     .help = "several ports at once, separated by commas (COM1,COM2,…)",
     .kind = ValueKind::Text,
     .required = true,
     .repeatable = true,
     .group = 1},
    {.names = "all-ports", .help = "every USB serial cable connected", .required = true, .group = 1},
    {.names = "force", .help = "write even when 'k3n check' finds errors (its warnings\nnever stop a write)"},
    {.names = "no-backup", .help = "do not read the radio into a backup file first\n('k3n backups' lists them)"},
    {.names = "no-verify", .help = "do not read the radio back afterwards to compare it\nwith what was sent"},
    {.names = "show-changes",
     .help = "once the radio is backed up, print what the write changes\nin it (as 'k3n diff' prints it, the radio's "
             "value first),\nthen write; one radio"},
    {.names = "changed-only",
     .help = "(experimental) after the backup, write only the blocks\nthat differ from what it read; the read-back "
             "stays\ncomplete, and a difference it finds has everything\nwritten; needs the backup and the read-back"},
    {.names = "language",
     .value = "LANG",
     .help = "name the changes in en (default), zh-CN or zh-TW",
     .kind = ValueKind::Language},
};

constexpr Option kBackupsOptions[] = {
    {.names = "json", .help = "print JSON instead of text"},
};

constexpr Option kRestoreOptions[] = {
    {.names = "port", .value = "PORT", .help = kPortHelp, .kind = ValueKind::Port, .required = true},
    {.names = "force",
     .help = "restore a backup of another radio (other serial number or band); a backup\nmade before backups kept "
             "the radio's own bytes is written as a configuration,\nand --force then writes it even when 'k3n check' "
             "finds errors"},
    {.names = "no-backup", .help = "do not read the radio into a backup file first"},
    {.names = "no-verify", .help = "do not read the radio back afterwards to compare it with what was sent"},
    {.names = "changed-only",
     .help = "(experimental) write only the blocks that differ from what the\nrestore's own backup read; needs the "
             "backup and the read-back"},
};

constexpr Option kImageOptions[] = {
    {.names = "o,output",
     .value = "IMAGE.bin",
     .help = "the file to write: replaced whole, or left as it was; the image holds\nwhat a write sends, and the band "
             "code at 0x0FFF",
     .kind = ValueKind::File,
     .required = true},
    {.names = "time",
     .value = "\"YYYY-MM-DD HH:MM\"",
     .help = "the programming time stored in the image (default: now)",
     .kind = ValueKind::Text},
};

constexpr Option kUnimageOptions[] = {
    {.names = "o,output", .value = "OUT.fse", .help = kOutputHelp, .kind = ValueKind::File, .required = true},
    {.names = "base",
     .value = "BASE.fse",
     .help = "start from this configuration instead of the defaults (it may be OUT.fse)",
     .kind = ValueKind::File},
};

constexpr Option kExportOptions[] = {
    {.names = "o,output",
     .value = "OUT.csv",
     .help = "the file to write: replaced whole, or left as it was; - for standard output",
     .kind = ValueKind::File,
     .required = true},
    {.names = "standard", .help = "only the 21 common columns, not the radio's own"},
};

constexpr Option kImportOptions[] = {
    {.names = "base",
     .value = "BASE.fse",
     .help = "start from this configuration (its band is used; it may be OUT.fse)",
     .kind = ValueKind::File,
     .group = 1},
    {.names = "band",
     .value = "0..3",
     .help = "without --base: the defaults of this band (default 0)",
     .kind = ValueKind::Band,
     .group = 1},
    {.names = "replace-all", .help = "empty every channel before importing"},
    {.names = "strict",
     .help = "write nothing and exit 1 when a row was skipped or a value changed,\nor a JSON text says otherwise "
             "than its number"},
    {.names = "language",
     .value = "LANG",
     .help = "the report's language: en (default), zh-CN or zh-TW",
     .kind = ValueKind::Language},
    {.names = "o,output", .value = "OUT.fse", .help = kOutputHelp, .kind = ValueKind::File, .required = true},
};

constexpr Option kLogOptions[] = {
    {.names = "json", .help = "print a JSON array instead of a table"},
    {.names = "since",
     .value = "DATE",
     .help = "only the attempts from DATE on: YYYY-MM-DD (local midnight)\nor YYYY-MM-DDTHH:MM:SS",
     .kind = ValueKind::Text},
};

constexpr Option kReportOptions[] = {
    {.names = "o,output",
     .value = "OUT.pdf|OUT.html",
     .help = "the report to write: replaced whole, or left as it was; - for HTML\non standard output",
     .kind = ValueKind::File,
     .required = true},
    {.names = "language", .value = "LANG", .help = "en (default), zh-CN or zh-TW", .kind = ValueKind::Language},
};

constexpr Option kDiffOptions[] = {
    {.names = "json", .help = "print the differences as a JSON array"},
    {.names = "language",
     .value = "LANG",
     .help = "name the items in en (default), zh-CN or zh-TW",
     .kind = ValueKind::Language},
};

constexpr Command kCommands[] = {
    {.name = "new",
     .summary = "Write a fresh configuration: the defaults for the given band (0 if not given).",
     .options = kNewOptions,
     .run = RunNew},
    {.name = "dump",
     .summary = "Print a configuration: band, channels in use and the settings blocks.",
     .options = kDumpOptions,
     .run = RunDump,
     .operands = "FILE.fse",
     .operandCount = 1,
     .operandWhat = "the file to print"},
    {.name = "check",
     .summary = "Check a configuration before writing it: errors a radio cannot take, warnings worth a look.",
     .options = kCheckOptions,
     .run = RunCheck,
     .operands = "FILE.fse",
     .operandCount = 1,
     .operandWhat = "the file to check"},
    {.name = "virtual-radio",
     .summary = "Serve a virtual radio on a pseudo-terminal until interrupted; prints the port to use.",
     .options = kVirtualRadioOptions,
     .run = RunVirtualRadio,
     .notes = "The last three make the radio misbehave, to try the program against a faulty radio\n(one at a time)."},
    {.name = "read",
     .summary = "Read the configuration from the radio into a file (written only on success).",
     .options = kReadOptions,
     .run = RunRead,
     .notes = "Ctrl+C stops the read; nothing is written then."},
    {.name = "write",
     .summary = "Write a configuration file into the radio, or into several radios at once.",
     .options = kWriteOptions,
     .run = RunWrite,
     .operands = "FILE.fse",
     .operandCount = 1,
     .operandWhat = "the file to write",
     .notes = "Every attempt is added to the programming log ('k3n log'); Ctrl+C stops every session.\nThe message "
              "of a failure says whether anything was written (with several radios: into\nwhich)."},
    {.name = "backups",
     .summary = "List the backups taken before each write, the newest first.",
     .options = kBackupsOptions,
     .run = RunBackups},
    {.name = "restore",
     .summary = "Put a backup back into the radio, exactly as it was read.",
     .options = kRestoreOptions,
     .run = RunRestore,
     .operands = "BACKUP.fse",
     .operandCount = 1,
     .operandWhat = "the backup to restore",
     .notes = "The backup's serial number, band and date are printed before anything is written."},
    {.name = "image",
     .summary = "Write the 8192-byte radio memory image of a configuration.",
     .options = kImageOptions,
     .run = RunImage,
     .operands = "FILE.fse",
     .operandCount = 1,
     .operandWhat = "the configuration file"},
    {.name = "unimage",
     .summary = "Turn a radio memory image into a configuration, as a read would.",
     .options = kUnimageOptions,
     .run = RunUnimage,
     .operands = "IMAGE.bin",
     .operandCount = 1,
     .operandWhat = "the image file"},
    {.name = "ports", .summary = "List the serial ports: COM name, device path and description.", .run = RunPorts},
    {.name = "export",
     .summary = "Write the channels in use as a channel-list CSV.",
     .options = kExportOptions,
     .run = RunExport,
     .operands = "FILE.fse",
     .operandCount = 1,
     .operandWhat = "the configuration file"},
    {.name = "import",
     .summary = "Put the channels of a CSV, or a whole JSON configuration, onto a configuration.",
     .options = kImportOptions,
     .run = RunImport,
     .operands = "IN.csv|IN.json",
     .operandCount = 1,
     .operandWhat = "the CSV or JSON file",
     .notes = "A CSV row sets what its columns say; a channel in use keeps every value its file has no\ncolumn for. "
              "The report of what did not fit goes to stderr and ends with a summary line;\nwhen no row is imported "
              "nothing is written and the exit status is 1. A JSON file\n('k3n dump --json') sets every field it "
              "names; the base keeps the others. CSV and JSON\nare told apart by the file's suffix, or else by its "
              "content."},
    {.name = "log",
     .summary = "Print the programming log: every write attempt on every radio.",
     .options = kLogOptions,
     .run = RunLog},
    {.name = "report",
     .summary = "Write the printable report of a configuration: band, channels in use, every settings page.",
     .options = kReportOptions,
     .run = RunReport,
     .operands = "FILE.fse",
     .operandCount = 1,
     .operandWhat = "the configuration file",
     .notes = "Works without a display."},
    {.name = "diff",
     .summary = "Compare two configurations (.fse or JSON): one line per difference.",
     .options = kDiffOptions,
     .run = RunDiff,
     .operands = "A B",
     .operandCount = 2,
     .operandWhat = "two files to compare"},
    {.name = "help",
     .summary = "Print the help of a command, or the list of commands.",
     .run = RunHelp,
     .operands = "COMMAND",
     .operandCount = 1,
     .operandsOptional = true},
};

}   // namespace

std::span<const Command> Commands()
{
    return kCommands;
}

}   // namespace k3n::cli
