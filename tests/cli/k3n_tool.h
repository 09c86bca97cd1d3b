// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs the built k3n tool as a user runs it from a terminal, a script or a pipe.
#include <QProcess>
#include <QString>
#include <QStringList>
#include <csignal>
#include <gtest/gtest.h>
#include <optional>
#include <sys/resource.h>
#include <unistd.h>

namespace k3n::test {

struct ToolRun {
    int exitCode = -1;   // -1 when the tool crashed or was killed
    QString out;
    QString err;
};

// How the tool's process differs from a plain run.
struct ToolSetting {
    QString workingDirectory;
    QStringList unsetVariables;   // removed from the environment
    QStringList setVariables;   // "NAME=value"
    std::optional<rlim_t> fileSizeLimit;   // RLIMIT_FSIZE, with SIGXFSZ ignored
    QString standardOutputFile;   // stdout into this file (/dev/full)
    bool standardOutputClosedPipe = false;   // stdout a pipe nobody reads from
    // Folders of ToolRadios: the test build of the tool runs, its sessions talking to them at once.
    QStringList emulatedRadios;
};

inline ToolRun RunK3n(const QStringList& args, const ToolSetting& setting = {})
{
    QProcess process;
    if (!setting.workingDirectory.isEmpty())
        process.setWorkingDirectory(setting.workingDirectory);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& name : setting.unsetVariables)
        environment.remove(name);
    if (!setting.emulatedRadios.isEmpty())
        environment.insert(QStringLiteral("K3N_EMULATED_RADIOS"), setting.emulatedRadios.join(':'));
    for (const QString& assignment : setting.setVariables)
        environment.insert(assignment.section('=', 0, 0), assignment.section('=', 1));
    process.setProcessEnvironment(environment);
    if (!setting.standardOutputFile.isEmpty())
        process.setStandardOutputFile(setting.standardOutputFile);
    const std::optional<rlim_t> limit = setting.fileSizeLimit;
    const bool closedPipe = setting.standardOutputClosedPipe;
    // In the child, after Qt has set up its standard streams: only async-signal-safe calls.
    process.setChildProcessModifier([limit, closedPipe] {
        if (limit) {
            const rlimit fileSize{*limit, *limit};
            setrlimit(RLIMIT_FSIZE, &fileSize);
            signal(SIGXFSZ, SIG_IGN);   // a write past the limit then fails with EFBIG
        }
        int ends[2];
        if (closedPipe && pipe(ends) == 0) {
            close(ends[0]);
            dup2(ends[1], STDOUT_FILENO);
            close(ends[1]);
        }
    });
    process.start(
        setting.emulatedRadios.isEmpty() ? QStringLiteral(K3N_CLI_PATH) : QStringLiteral(K3N_EMULATED_CLI_PATH), args);
    EXPECT_TRUE(process.waitForFinished(60000)) << "k3n " << args.join(' ').toStdString() << " did not finish";
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

// The test build of the tool, its sessions answered at once by the radios of these folders (tool_radio.h).
inline ToolRun RunK3nWithRadios(const QStringList& radioFolders, const QStringList& args, ToolSetting setting = {})
{
    setting.emulatedRadios = radioFolders;
    return RunK3n(args, setting);
}

}   // namespace k3n::test
