// SPDX-License-Identifier: GPL-3.0-or-later
// k3n write, k3n log and k3n backups where things go wrong around them: a log
// that cannot take a line, signals during a write, damaged log lines, special
// files and folder names in another code page, run as a user meets them.
#include "k3n_tool.h"
#include "model/fse_file.h"
#include "model/native_path.h"
#include "programming/programming_log.h"
#include "programming/radio_backups.h"
#include "support/test_support.h"
#include "virtualradio/virtual_radio.h"
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace k3n {
namespace {

using test::RunK3n;
using test::ToolRun;

class CliWriteLog : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.file("data")));
        RadioData data;
        data.ResetForBand(0);
        file = dir.file("fleet.fse");
        ASSERT_EQ(SaveFseFile(file, data.record), std::nullopt);
    }
    std::unique_ptr<VirtualRadio> StartRadio(FaultPlan fault = {}, int baud = 0)
    {
        VirtualRadioOptions options;
        options.band = 0;
        options.fault = fault;
        options.baud = baud;
        auto radio = std::make_unique<VirtualRadio>(options);
        EXPECT_EQ(radio->Start(), std::nullopt);
        return radio;
    }
    QString logPath() const { return dir.file("data/K3N/programming-log.csv"); }
    std::vector<ProgrammingLogEntry> Log() const
    {
        const auto log = ReadProgrammingLog(logPath());
        EXPECT_TRUE(log);
        return log ? log.value().entries : std::vector<ProgrammingLogEntry>{};
    }
    // k3n with a file-size limit, as `ulimit -f` sets one.
    static ToolRun RunK3nLimited(const QStringList& args, qint64 maxFileBytes)
    {
        QProcess process;
        process.setChildProcessModifier([maxFileBytes] {
            rlimit limit{rlim_t(maxFileBytes), rlim_t(maxFileBytes)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
        process.start(QStringLiteral(K3N_CLI_PATH), args);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
    }

    test::ScratchDir dir;
    QString file;
};

TEST_F(CliWriteLog, ALogThatIsALinkOrAFifoStopsTheWriteBeforeAnyFrame)
{
    auto radio = StartRadio();
    QDir().mkpath(dir.file("data/K3N"));
    ASSERT_TRUE(QFile::link(dir.file("kept elsewhere.csv"), logPath()));
    const ToolRun linked = RunK3n({"write", "--port", radio->devicePath(), file});
    EXPECT_EQ(linked.exitCode, 1);
    EXPECT_TRUE(linked.err.contains("the programming log is a link: " + logPath())) << linked.err.toStdString();

    QFile::remove(logPath());
    ASSERT_EQ(::mkfifo(QFile::encodeName(logPath()).constData(), 0600), 0);
    const ToolRun fifo = RunK3n({"write", "--port", radio->devicePath(), file});
    EXPECT_EQ(fifo.exitCode, 1);
    EXPECT_TRUE(fifo.err.contains("not a regular file")) << fifo.err.toStdString();
    EXPECT_TRUE(radio->frames().empty());
    EXPECT_FALSE(QFile::exists(dir.file("kept elsewhere.csv")));

    // Reading it does not wait for a writer either.
    const ToolRun log = RunK3n({"log"});
    EXPECT_EQ(log.exitCode, 1);
    EXPECT_TRUE(log.err.contains("not a regular file")) << log.err.toStdString();
}

TEST_F(CliWriteLog, AFileSizeLimitRefusesTheWriteOrSaysItsOutcomeWasNotLogged)
{
    // A radio that never answers: each attempt ends after the greeting time-out.
    auto radio = StartRadio({RadioFault::Silent, 0});
    const ToolRun first = RunK3n({"write", "--port", radio->devicePath(), "--no-backup", file});
    EXPECT_EQ(first.exitCode, 1);
    const QList<QByteArray> lines = test::FileBytes(logPath()).split('\n');
    ASSERT_GE(lines.size(), 3);
    ASSERT_TRUE(lines[1].contains(",started,"));
    const qint64 startedLine = lines[1].size() + 1;

    // No room for the started line: nothing is sent, and no part of a line is left.
    const QByteArray before = test::FileBytes(logPath());
    const qsizetype framesBefore = qsizetype(radio->frames().size());
    const ToolRun refused =
        RunK3nLimited({"write", "--port", radio->devicePath(), "--no-backup", file}, before.size() + 10);
    EXPECT_EQ(refused.exitCode, 1) << "a size limit must not kill k3n";
    EXPECT_TRUE(refused.err.contains("nothing was written")) << refused.err.toStdString();
    EXPECT_EQ(test::FileBytes(logPath()), before);
    EXPECT_EQ(qsizetype(radio->frames().size()), framesBefore);

    // Room for the started line only: the attempt runs, and k3n says its outcome is not in the log.
    const ToolRun unlogged =
        RunK3nLimited({"write", "--port", radio->devicePath(), "--no-backup", file}, before.size() + startedLine + 5);
    EXPECT_EQ(unlogged.exitCode, 1);
    EXPECT_TRUE(unlogged.err.contains("could not be added to the programming log")) << unlogged.err.toStdString();
    EXPECT_GT(qsizetype(radio->frames().size()), framesBefore);
    EXPECT_TRUE(test::FileBytes(logPath()).endsWith("\r\n"));
    const std::vector<ProgrammingLogEntry> log = Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].outcome, WriteOutcome::Failed);
    EXPECT_EQ(log[1].outcome, WriteOutcome::Interrupted);
}

TEST_F(CliWriteLog, HangUpTerminateAndQuitStopTheWriteWithoutAnEndFrameAndAreLogged)
{
    for (const int signal : {SIGTERM, SIGHUP, SIGQUIT}) {
        SCOPED_TRACE(strsignal(signal));
        auto radio = StartRadio({}, 19200);   // paced like a real cable, so the write is still running
        QProcess tool;
        tool.start(QStringLiteral(K3N_CLI_PATH), {"write", "--port", radio->devicePath(), "--no-backup", file});
        ASSERT_TRUE(tool.waitForStarted());
        ASSERT_TRUE(
            radio->WaitFor([](const RadioEmulator& r) { return r.frames().size() >= 3; }, std::chrono::seconds(20)));
        ::kill(pid_t(tool.processId()), signal);
        ASSERT_TRUE(tool.waitForFinished(20000));
        EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(tool.exitCode(), 1);
        for (const ReceivedFrame& frame : radio->frames())
            EXPECT_NE(frame.command, link::Command::End);
        const std::vector<ProgrammingLogEntry> log = Log();
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.back().outcome, WriteOutcome::Cancelled);
    }
}

TEST_F(CliWriteLog, LogShowsOneEntryPerAttemptAndSkipsADamagedLineWithAWarning)
{
    ProgrammingLogEntry started{QDateTime(QDate(2026, 12, 9), QTime(9, 0), Qt::OffsetFromUTC, 3600),
                                "COM1",
                                "/dev/ttyUSB0",
                                "",
                                "K3N [136 - 174 MHz]",
                                "=fleet.fse",
                                Sha256Hex("x"),
                                "",
                                VerifyResult::NotRun,
                                WriteOutcome::Started,
                                ""};
    ProgrammingLogEntry ended = started;
    ended.outcome = WriteOutcome::Succeeded;
    ended.verify = VerifyResult::Passed;
    ended.message = "SUCCESS";
    ProgrammingLogEntry lost = started;
    lost.time = lost.time.addSecs(60);
    for (const ProgrammingLogEntry& e : {started, ended})
        ASSERT_FALSE(AppendProgrammingLogEntry(logPath(), e));
    QFile log(logPath());
    ASSERT_TRUE(log.open(QIODevice::Append));
    log.write("2026-12-09T09:00:30+01:00,COM2,\"the rest never came\r\n");
    log.close();
    ASSERT_FALSE(AppendProgrammingLogEntry(logPath(), lost));

    const ToolRun table = RunK3n({"log"});
    EXPECT_EQ(table.exitCode, 0);
    EXPECT_TRUE(table.err.contains(logPath() + " line 4: not a log entry, left out")) << table.err.toStdString();
    const QStringList lines = table.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << table.out.toStdString();   // the header and one line per attempt
    EXPECT_TRUE(lines[1].contains("succeeded") && lines[1].contains(" =fleet.fse"));
    EXPECT_TRUE(lines[2].contains("interrupted"));
    const ToolRun json = RunK3n({"log", "--json"});
    const QJsonArray array = QJsonDocument::fromJson(json.out.toUtf8()).array();
    ASSERT_EQ(array.size(), 2);
    EXPECT_EQ(array[0].toObject()["file"].toString(), "=fleet.fse");   // the spreadsheet's guard is gone
    EXPECT_EQ(array[1].toObject()["outcome"].toString(), "interrupted");
}

TEST_F(CliWriteLog, BackupsAreListedFromAFolderNamedInAnotherCodePageAndSpecialFilesAreSkipped)
{
    // XDG_DATA_HOME and the backup's name in Latin-1, as an older system may have them.
    const QByteArray home = QFile::encodeName(dir.path())
        + "/donn\xe9"
          "es";
    qputenv("XDG_DATA_HOME", home);
    RadioData data;
    data.ResetForBand(3);
    const QString folder = PathFromNative(home + "/K3N/backups");
    ASSERT_TRUE(SaveBackup(folder, data.record, PathFromNative("s\xe9rie"), QDateTime(QDate(2026, 1, 2), QTime(3, 4))));
    struct stat st {};
    ASSERT_EQ(::stat((home + "/K3N/backups/s\xe9rie_2026-01-02_030400.fse").constData(), &st), 0);
    ASSERT_EQ(::mkfifo((home + "/fifo").constData(), 0600), 0);
    ASSERT_EQ(::symlink((home + "/fifo").constData(), (home + "/K3N/backups/link_2026-01-01_000000.fse").constData()),
              0);

    const ToolRun list = RunK3n({"backups", "--json"});
    EXPECT_EQ(list.exitCode, 0);
    const QJsonArray entries = QJsonDocument::fromJson(list.out.toUtf8()).array();
    ASSERT_EQ(entries.size(), 1) << list.out.toStdString();
    EXPECT_TRUE(entries[0].toObject()["readable"].toBool());
    EXPECT_EQ(entries[0].toObject()["band"].toInt(), 3);
    EXPECT_EQ(entries[0].toObject()["date"].toString(), "2026-01-02T03:04:00");   // read from its name
    EXPECT_TRUE(entries[0].toObject()["serial_number"].toString().endsWith("rie"));
    EXPECT_TRUE(list.err.contains("link_2026-01-01_000000.fse: not a regular file, left out"))
        << list.err.toStdString();
}

}   // namespace
}   // namespace k3n
