// SPDX-License-Identifier: GPL-3.0-or-later
// k3n write with several ports, the programming log of every attempt, and
// Ctrl+C, run as a user runs them against virtual radios on pseudo-terminals.
#include "k3n_tool.h"
#include "model/fse_file.h"
#include "model/record_layout.h"
#include "programming/programming_log.h"
#include "support/test_support.h"
#include "virtualradio/virtual_radio.h"
#include <QCryptographicHash>
#include <QProcess>
#include <QRegularExpression>
#include <csignal>
#include <gtest/gtest.h>

namespace k3n {
namespace {

using test::RunK3n;

class CliSeveralRadios : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.file("data")));
        RadioData data;
        data.ResetForBand(0);
        for (int n = 1; n <= 8; ++n) {
            data.record.set(rec::ch::in_use(n), 1);
            data.record.set(rec::ch::rx_freq(n), 146000000u + 25000u * n);
            data.record.set(rec::ch::tx_freq(n), 146000000u + 25000u * n);
        }
        file = dir.file("fleet.fse");
        ASSERT_EQ(SaveFseFile(file, data.record), std::nullopt);
        written = data;
    }

    std::unique_ptr<VirtualRadio> StartRadio(char lastDigit, FaultPlan fault = {}, int baud = 0)
    {
        VirtualRadioOptions options;
        options.band = 0;
        options.serial_number = {'5', '5', '0', uint8_t(lastDigit), 0, 0, 0, 0};
        options.fault = fault;
        options.baud = baud;
        auto radio = std::make_unique<VirtualRadio>(options);
        EXPECT_EQ(radio->Start(), std::nullopt);
        return radio;
    }
    std::vector<ProgrammingLogEntry> Log() const
    {
        const auto log = ReadProgrammingLog(dir.file("data/K3N/programming-log.csv"));
        EXPECT_TRUE(log);
        return log ? log.value().entries : std::vector<ProgrammingLogEntry>{};
    }
    static bool HoldsChannels(const VirtualRadio& radio, const RadioData& data)
    {
        RadioData read;
        read.ResetForBand(0);
        SetDataToSoftware(radio.memory(), read);
        for (int n = 1; n <= 8; ++n)
            if (read.record.get(rec::ch::rx_freq(n)) != data.record.get(rec::ch::rx_freq(n)))
                return false;
        return true;
    }

    test::ScratchDir dir;
    QString file;
    RadioData written;
};

TEST_F(CliSeveralRadios, ThreeRadiosAtOnceOneSilentFailingAloneAndThreeLogLines)
{
    auto first = StartRadio('1');
    auto silent = StartRadio('2', {RadioFault::Silent, 0});
    auto third = StartRadio('3');
    const test::ToolRun run = RunK3n({"write", "--port", first->devicePath(), "--ports",
                                      silent->devicePath() + "," + third->devicePath(), "--no-verify", file});
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    EXPECT_TRUE(HoldsChannels(*first, written));
    EXPECT_TRUE(HoldsChannels(*third, written));
    EXPECT_FALSE(HoldsChannels(*silent, written));

    // One summary line per radio: port, serial number, result, seconds.
    const QStringList summary = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(summary.size(), 3) << run.out.toStdString();
    EXPECT_TRUE(summary[0].startsWith(first->devicePath()) && summary[0].contains("5501")
                && summary[0].contains("written"));
    EXPECT_TRUE(summary[1].startsWith(silent->devicePath()) && summary[1].contains("failed"));
    EXPECT_TRUE(summary[2].contains("5503") && summary[2].contains(" s"));

    const std::vector<ProgrammingLogEntry> log = Log();
    ASSERT_EQ(log.size(), 3u);
    const QString sha =
        QString::fromLatin1(QCryptographicHash::hash(test::FileBytes(file), QCryptographicHash::Sha256).toHex());
    for (const ProgrammingLogEntry& entry : log) {
        EXPECT_EQ(entry.fileName, "fleet.fse");
        EXPECT_EQ(entry.fileSha256, sha);
        EXPECT_EQ(entry.verify, VerifyResult::NotRun);
        EXPECT_FALSE(entry.backupFile.isEmpty() && entry.outcome == WriteOutcome::Succeeded);
        const bool isSilent = entry.port == silent->devicePath();
        EXPECT_EQ(entry.outcome, isSilent ? WriteOutcome::Failed : WriteOutcome::Succeeded) << entry.port.toStdString();
        EXPECT_EQ(entry.serialNumber.isEmpty() || entry.serialNumber == "unknown", isSilent);
    }
}

TEST_F(CliSeveralRadios, OneDeviceNamedTwiceOrAnUnwritableLogStopsBeforeAnyRadio)
{
    auto radio = StartRadio('1');
    const test::ToolRun twice = RunK3n({"write", "--port", radio->devicePath(), "--port", radio->devicePath(), file});
    EXPECT_EQ(twice.exitCode, 2);
    EXPECT_TRUE(twice.err.contains("same device")) << twice.err.toStdString();
    EXPECT_TRUE(radio->frames().empty());

    // Ports that are not there fail each with the port's own reason.
    const test::ToolRun absent = RunK3n({"write", "--port", dir.file("gone1"), "--port", dir.file("gone2"), file});
    EXPECT_EQ(absent.exitCode, 1);
    EXPECT_EQ(absent.err.count("the device is not present"), 2) << absent.err.toStdString();

    // A file where the data folder should be: refused before any frame, as a single write too.
    test::WriteFileBytes(dir.file("plain file"), "not a folder");
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.file("plain file")));
    const test::ToolRun noLog = RunK3n({"write", "--port", radio->devicePath(), file});
    EXPECT_EQ(noLog.exitCode, 1);
    EXPECT_TRUE(noLog.err.contains("programming log")) << noLog.err.toStdString();
    EXPECT_TRUE(radio->frames().empty());
}

TEST_F(CliSeveralRadios, ProgressLinesNameEachPortWholeAndEveryRadioIsLoggedBeforeItsFirstFrame)
{
    // Names alike in their first characters, as /dev/serial/by-id/… names are.
    const QString first = dir.file("usb-Prolific_Technology_Inc._USB-Serial_Controller_AAAA-if00-port0");
    const QString second = dir.file("usb-Prolific_Technology_Inc._USB-Serial_Controller_BBBB-if00-port0");
    const test::ToolRun run = RunK3n({"write", "--port", first, "--port", second, file});
    EXPECT_EQ(run.exitCode, 1);
    for (const QString& port : {first, second})
        EXPECT_TRUE(run.err.contains(QRegularExpression("(^|\n)" + QRegularExpression::escape(port) + " +failed")))
            << run.err.toStdString();
    // Each attempt: its started line, then its outcome, read as one entry.
    const QList<QByteArray> lines = test::FileBytes(dir.file("data/K3N/programming-log.csv")).trimmed().split('\n');
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[1].contains(",started,") && lines[2].contains(",started,"));
    const std::vector<ProgrammingLogEntry> log = Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].port, first);
    EXPECT_EQ(log[1].outcome, WriteOutcome::Failed);
}

TEST_F(CliSeveralRadios, CtrlCStopsEverySessionWithoutAnEndFrameAndLogsThemCancelled)
{
    // Paced like a real cable, so that the write is still running when interrupted.
    auto first = StartRadio('1', {}, 19200);
    auto second = StartRadio('2', {}, 19200);
    QProcess tool;
    tool.start(QStringLiteral(K3N_CLI_PATH),
               {"write", "--port", first->devicePath(), "--port", second->devicePath(), "--no-backup", file});
    ASSERT_TRUE(tool.waitForStarted());
    ASSERT_TRUE(
        first->WaitFor([](const RadioEmulator& r) { return r.frames().size() >= 3; }, std::chrono::seconds(20)));
    ::kill(pid_t(tool.processId()), SIGINT);
    ASSERT_TRUE(tool.waitForFinished(20000));
    EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tool.exitCode(), 1);
    for (const VirtualRadio* radio : {first.get(), second.get()})
        for (const ReceivedFrame& frame : radio->frames())
            EXPECT_NE(frame.command, link::Command::End);
    const std::vector<ProgrammingLogEntry> log = Log();
    ASSERT_EQ(log.size(), 2u);
    for (const ProgrammingLogEntry& entry : log)
        EXPECT_EQ(entry.outcome, WriteOutcome::Cancelled);
}

}   // namespace
}   // namespace k3n
