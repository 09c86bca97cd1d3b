// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The files of the commands: the configurations they read, every one through
// the same loader, and the outputs they write, whole or not at all.
#include "cli/command.h"
#include "model/radio_data.h"
#include "text/error.h"
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace k3n::cli {

// An input named on the command line may not be "-": the tool reads no standard input.
std::optional<Error> CheckInputPath(const QString& path);

// A configuration: a .fse file or its JSON image; a channel list is refused.
// The reason, "cannot read <path>: <why>", when it cannot be used.
std::optional<Error> LoadConfigurationInput(const QString& path, RadioData& data,
                                            QStringList* contradictions = nullptr);

// The starting record of read, unimage and import: BASE when given, otherwise the defaults of band 0.
std::optional<Error> LoadBaseConfiguration(const QString& basePath, RadioData& data);

// What an output may be: text (a CSV, an HTML page) may go to standard output as "-".
enum class OutputKind { Binary, Text };

// Checked before any work: "-" for a binary output, and an output that is the
// main input (the same file, links followed), are refused.
std::optional<Error> CheckOutputPath(const QString& output, const QString& mainInput, OutputKind kind);

// How a command's one input is checked: by the configuration loader when it
// is read, or at once, before any work (an image, a channel list).
enum class InputCheck { ByLoader, AtOnce };

struct InputAndOutput {
    QString input;   // the command's operand
    QString output;   // its -o value
};

// The one input and the -o output of a command that makes a file of a file,
// checked as CheckInputPath (when at once) and CheckOutputPath say; the
// error is a usage error.
Result<InputAndOutput> InputAndOutputOf(const Arguments& args, OutputKind kind, InputCheck inputCheck);

// Writes the output whole (standard output for "-"); on failure prints why,
// the old file being as it was, and returns kExitFailure.
int WriteOutput(const Command& self, const QString& path, const QByteArray& bytes);

}   // namespace k3n::cli
