// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs the built k3n tool as a user runs it from a terminal.
#include <QProcess>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace k3n::test {

struct ToolRun {
    int exitCode = -1;   // -1 when the tool crashed
    QString out;
    QString err;
};

inline ToolRun RunK3n(const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral(K3N_CLI_PATH), args);
    EXPECT_TRUE(process.waitForFinished(60000)) << "k3n " << args.join(' ').toStdString() << " did not finish";
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

} // namespace k3n::test
