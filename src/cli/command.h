// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sub-commands of the k3n command-line tool. Each lives in a file of its
// own (cmd_<name>.cpp) and has one line in the table of main.cpp.
#include "text/error.h"
#include <QCommandLineParser>
#include <QStringList>
#include <QTextStream>
#include <optional>

namespace k3n::cli {

inline constexpr const char* kVersion = K3N_VERSION;   // from the project version

enum ExitCode : int { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

struct Command {
    const char* name;
    const char* usage;     // after "k3n ": "dump FILE.fse [--json]"
    const char* summary;   // one line for the command list
    const char* options;   // option lines for "k3n <name> --help"
    int (*run)(const Command& self, const QStringList& args);   // args follow the name
};

QTextStream& Out();
QTextStream& Err();

// Prints "k3n <name>: <message>" and the usage on stderr; returns kExitUsage.
int UsageError(const Command& self, const QString& message);
// Prints "k3n <name>: <message>" on stderr; returns kExitFailure.
int Failure(const Command& self, const QString& message);
void PrintCommandHelp(const Command& self, QTextStream& stream);

// Parses args with a --help option of its own added. A usage error or --help
// is handled here and its exit code returned; nullopt means go on.
std::optional<int> ParseArguments(const Command& self, QCommandLineParser& parser, const QStringList& args);

// The command's one file argument; an error ("<what> is missing", "one file at a
// time") when there is none or more than one.
Result<QString> OneFileArgument(const QCommandLineParser& parser, const char* what);

int RunNew(const Command& self, const QStringList& args);
int RunDump(const Command& self, const QStringList& args);
int RunCheck(const Command& self, const QStringList& args);
int RunVirtualRadio(const Command& self, const QStringList& args);
int RunRead(const Command& self, const QStringList& args);
int RunWrite(const Command& self, const QStringList& args);
int RunImage(const Command& self, const QStringList& args);
int RunUnimage(const Command& self, const QStringList& args);
int RunPorts(const Command& self, const QStringList& args);
int RunExport(const Command& self, const QStringList& args);
int RunImport(const Command& self, const QStringList& args);
int RunLog(const Command& self, const QStringList& args);
int RunReport(const Command& self, const QStringList& args);
int RunDiff(const Command& self, const QStringList& args);
int RunBackups(const Command& self, const QStringList& args);
int RunRestore(const Command& self, const QStringList& args);

} // namespace k3n::cli
