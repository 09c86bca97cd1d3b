// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sub-commands of the k3n command-line tool. Each lives in a file of its
// own (cmd_<name>.cpp) and has one entry in the command table
// (command_table.cpp): its operands, its options and its texts, from which the
// parser, the usage line, --help, the manual page and the bash completion are
// all made, so that they cannot say different things.
#include "text/error.h"
#include <QHash>
#include <QStringList>
#include <QTextStream>
#include <optional>
#include <span>
#include <vector>

namespace k3n::cli {

inline constexpr const char* kVersion = K3N_VERSION;   // from the project version

// The one table of exit statuses (kExitStatusTable says what each means).
enum ExitCode : int { kExitOk = 0, kExitFailure = 1, kExitUsage = 2, kExitNotVerified = 3 };

struct ExitStatusMeaning {
    int code;
    const char* meaning;
};
inline constexpr ExitStatusMeaning kExitStatusTable[] = {
    {kExitOk, "success (check: no errors; warnings are printed)"},
    {kExitFailure,
     "failed: a port absent or not openable, no radio answering, no USB cable for --all-ports, a "
     "write refused by the check without --force, an output that could not be written (a full disk), "
     "an import of no row; diff: the configurations differ; check: errors found"},
    {kExitUsage,
     "an invalid command line; an input missing, unreadable or not recognised; an output that is the "
     "input; a port name that is not one"},
    {kExitNotVerified, "written but not verified, or a different radio answered"},
};

// What an option's value is, for the completion.
enum class ValueKind {
    None,   // a switch
    File,
    Port,   // auto, COMn or a device path
    Band,   // 0..3
    Language,   // en, zh-CN, zh-TW
    Text,   // nothing to offer (a date, a number, a list)
};

struct Option {
    const char* names;   // "o,output", "json": one letter and/or a long name; the long one is its key
    const char* value = nullptr;   // its value as the usage shows it ("OUT.fse"); none for a switch
    const char* help = "";   // what it does; a line break continues under the first line
    ValueKind kind = ValueKind::None;
    bool required = false;   // on a member of a group: one of the group is required
    bool repeatable = false;   // may be given more than once (each value counts)
    int group = 0;   // options of one command sharing a number > 0 are shown as one choice
};

// The option's names as written in the table: "o", "output".
QStringList NamesOf(const Option& option);
// "-o", "--output".
QString Dashed(const QString& name);
// "-o, --output OUT.fse", as the list of options shows it.
QString OptionNames(const Option& option);
// The options in the order of the table, each group of them as one run.
std::vector<std::span<const Option>> OptionRuns(std::span<const Option> options);

struct Command;

// The command line after the command's name, parsed by its table.
class Arguments {
public:
    bool isSet(const char* key) const { return values_.contains(QLatin1String(key)); }
    // The value given last; "" when the option was not given.
    QString value(const char* key) const;
    QStringList values(const char* key) const { return values_.value(QLatin1String(key)); }
    const QStringList& operands() const { return operands_; }
    bool helpAsked() const { return helpAsked_; }

private:
    friend Result<Arguments> ParseArguments(const Command& command, const QStringList& args);
    QHash<QString, QStringList> values_;   // by long name (or the letter of an option without one)
    QStringList operands_;
    bool helpAsked_ = false;
};

struct Command {
    const char* name;
    const char* summary;   // one line for the command list
    std::span<const Option> options = {};
    int (*run)(const Command& self, const Arguments& args);
    const char* operands = "";   // the usage's operands: "FILE.fse", "A B"
    int operandCount = 0;   // 0, 1 or 2: exactly this many ...
    bool operandsOptional = false;   // ... or at most this many
    const char* operandWhat = "";   // for a missing operand: "the file to print"
    const char* notes = "";   // said after the options in --help
};

// Every command, in the order the help lists them.
std::span<const Command> Commands();
const Command* FindCommand(const QString& name);

// The options, then the operands' count and the required options checked; an
// error in the program's own words. --help anywhere is only noted.
Result<Arguments> ParseArguments(const Command& command, const QStringList& args);

QTextStream& Out();
QTextStream& Err();
// Bytes to standard output as they are (a CSV or an HTML page for "-o -").
void WriteOut(const QByteArray& bytes);
// After the command: flushes standard output and makes the status a failure
// when it could not take everything (a closed pipe ends the command quietly).
int FinishOutput(int status);

// "k3n <name> OPERANDS OPTIONS…" as the table says, in parts that a line may end after.
QStringList UsageParts(const Command& command);
QString UsageLine(const Command& command);
// Usage, summary, options, notes and the exit statuses.
QString CommandHelp(const Command& command);
// The exit statuses, wrapped under a heading, as every help ends.
QString ExitStatusText();

// Prints "k3n <name>: <message>" and the usage on stderr; returns kExitUsage.
int UsageError(const Command& self, const QString& message);
// Prints "k3n <name>: <message>" on stderr; returns kExitUsage (an input that cannot be used).
int BadInput(const Command& self, const QString& message);
// Prints "k3n <name>: <message>" on stderr; returns kExitFailure.
int Failure(const Command& self, const QString& message);

int RunNew(const Command& self, const Arguments& args);
int RunDump(const Command& self, const Arguments& args);
int RunCheck(const Command& self, const Arguments& args);
int RunVirtualRadio(const Command& self, const Arguments& args);
int RunRead(const Command& self, const Arguments& args);
int RunWrite(const Command& self, const Arguments& args);
int RunImage(const Command& self, const Arguments& args);
int RunUnimage(const Command& self, const Arguments& args);
int RunPorts(const Command& self, const Arguments& args);
int RunExport(const Command& self, const Arguments& args);
int RunImport(const Command& self, const Arguments& args);
int RunLog(const Command& self, const Arguments& args);
int RunReport(const Command& self, const Arguments& args);
int RunDiff(const Command& self, const Arguments& args);
int RunBackups(const Command& self, const Arguments& args);
int RunRestore(const Command& self, const Arguments& args);
int RunHelp(const Command& self, const Arguments& args);

}   // namespace k3n::cli
