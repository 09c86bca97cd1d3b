// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command_files.h"
#include "interchange/configuration_file.h"
#include "model/whole_file.h"
#include <QFile>
#include <sys/stat.h>

namespace k3n::cli {

namespace {

bool IsStandardStream(const QString& path)
{
    return path == QLatin1String("-");
}

// The same file, links followed; false when either does not exist.
bool SameFile(const QString& a, const QString& b)
{
    struct stat first {
    }, second{};
    return ::stat(QFile::encodeName(a).constData(), &first) == 0
        && ::stat(QFile::encodeName(b).constData(), &second) == 0 && first.st_dev == second.st_dev
        && first.st_ino == second.st_ino;
}

}   // namespace

std::optional<Error> CheckInputPath(const QString& path)
{
    if (IsStandardStream(path))
        return Error{QStringLiteral("'-': the tool reads no standard input; name a file")};
    return std::nullopt;
}

std::optional<Error> LoadConfigurationInput(const QString& path, RadioData& data, QStringList* contradictions)
{
    if (auto error = CheckInputPath(path))
        return error;
    if (auto error = LoadConfigurationFile(path, data, contradictions))
        return Error{QStringLiteral("cannot read %1: %2").arg(path, error->message)};
    return std::nullopt;
}

std::optional<Error> LoadBaseConfiguration(const QString& basePath, RadioData& data)
{
    data.ResetForBand(0);
    if (basePath.isEmpty())
        return std::nullopt;
    return LoadConfigurationInput(basePath, data);
}

std::optional<Error> CheckOutputPath(const QString& output, const QString& mainInput, OutputKind kind)
{
    if (IsStandardStream(output)) {
        if (kind == OutputKind::Binary)
            return Error{
                QStringLiteral("-o -: this output is a binary file, not text for standard output; name a file")};
        return std::nullopt;
    }
    if (!mainInput.isEmpty() && SameFile(output, mainInput))
        return Error{QStringLiteral("%1 is the input %2: writing it would replace what is being read; name another "
                                    "output file")
                         .arg(output, mainInput)};
    return std::nullopt;
}

Result<InputAndOutput> InputAndOutputOf(const Arguments& args, OutputKind kind, InputCheck inputCheck)
{
    InputAndOutput files{args.operands().constFirst(), args.value("output")};
    if (inputCheck == InputCheck::AtOnce)
        if (auto error = CheckInputPath(files.input))
            return *error;
    if (auto error = CheckOutputPath(files.output, files.input, kind))
        return *error;
    return files;
}

int WriteOutput(const Command& self, const QString& path, const QByteArray& bytes)
{
    if (IsStandardStream(path)) {
        WriteOut(bytes);
        return kExitOk;
    }
    const bool existed = QFile::exists(path);
    if (auto error = WriteFileWhole(path, bytes))
        return Failure(
            self,
            QStringLiteral("cannot write %1: %2; %3")
                .arg(path, error->message(),
                     existed ? QStringLiteral("the file is as it was") : QStringLiteral("nothing was written")));
    return kExitOk;
}

}   // namespace k3n::cli
