// SPDX-License-Identifier: GPL-3.0-or-later
// k3n-cps ended by a signal (a logout, a closed terminal) ends like a normal
// exit that asks nothing: the settings are written, nothing is lost.
#include "app/quit_signals.h"
#include "model/fse_file.h"
#include "support/test_support.h"
#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

namespace k3n {
namespace {

TEST(QuitSignals, EachSignalReachesTheEventLoopOnceAndTheDefaultsComeBack)
{
    std::vector<int> received;
    {
        QuitSignals signals_;
        QObject::connect(&signals_, &QuitSignals::received, [&](int signal) { received.push_back(signal); });
        ::raise(SIGTERM);
        ::raise(SIGINT);
        EXPECT_TRUE(received.empty());   // nothing runs inside the handler
        ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() == 2; }, 2000));
    }
    EXPECT_EQ(received, (std::vector<int>{SIGTERM, SIGINT}));
    struct sigaction now {};
    sigaction(SIGHUP, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}

TEST(QuitSignals, TheProgramEndsOnSigtermWritingItsSettingsAsAtExit)
{
    test::ScratchDir dir;
    RadioData data;
    data.ResetForBand(1);
    const QString file = dir.file("fleet.fse");
    ASSERT_FALSE(SaveFseFile(file, data.record));
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", dir.file("config"));
    environment.insert("XDG_DATA_HOME", dir.file("data"));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(K3N_CPS_PATH), {file});
    ASSERT_TRUE(program.waitForStarted());
    // The settings file is made at start-up, after the signals are caught.
    const QString ini = dir.file("config/K3N/config.ini");
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(ini); }, 20000));
    ::kill(pid_t(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    // The file opened at start is among the recent files the exit writes.
    EXPECT_TRUE(test::FileBytes(ini).contains("RecentFile1=" + QFile::encodeName(file)))
        << test::FileBytes(ini).toStdString();
}

}   // namespace
}   // namespace k3n
