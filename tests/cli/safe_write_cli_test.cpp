// SPDX-License-Identifier: GPL-3.0-or-later
// k3n write with its backup and read-back, and k3n backups, run as a user runs
// them against the virtual radio on a pseudo-terminal.
#include "model/fse_file.h"
#include "model/record_layout.h"
#include "programming/radio_backups.h"
#include "k3n_tool.h"
#include "support/test_support.h"
#include "virtualradio/virtual_radio.h"
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace k3n {
namespace {

using test::RunK3n;

class CliSafeWrite : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The tool inherits this process's XDG_DATA_HOME: a scratch folder per test.
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.file("data")));
        RadioData data;
        data.ResetForBand(1);
        data.record.set(rec::ch::in_use(3), 1);
        data.record.set(rec::ch::rx_freq(3), 151000000);
        data.record.set(rec::tot, 90);
        file = dir.file("new.fse");
        ASSERT_EQ(SaveFseFile(file, data.record), std::nullopt);
    }

    std::unique_ptr<VirtualRadio> StartRadio(FaultPlan fault = {})
    {
        VirtualRadioOptions options;
        options.band = 1;
        options.serial_number = {'7', '7', '0', '1', 0, 0, 0, 0};
        options.fault = fault;
        auto radio = std::make_unique<VirtualRadio>(options);
        EXPECT_EQ(radio->Start(), std::nullopt);
        return radio;
    }

    test::ScratchDir dir;
    QString file;
};

TEST_F(CliSafeWrite, BacksUpAndVerifiesByDefaultAndListsTheBackup)
{
    auto radio = StartRadio();
    const MemoryImage previous = radio->memory();
    const test::ToolRun write = RunK3n({"write", "--port", radio->devicePath(), file});
    ASSERT_EQ(write.exitCode, 0) << write.err.toStdString();

    const QString folder = dir.file("data/K3N/backups");
    const QStringList backups = QDir(folder).entryList(QDir::Files);
    ASSERT_EQ(backups.size(), 1);
    EXPECT_TRUE(backups[0].startsWith("7701_"));
    EXPECT_EQ(write.out, "backup: " + QDir(folder).filePath(backups[0]) + "\n");
    RadioData backup;
    ASSERT_EQ(LoadFseFile(QDir(folder).filePath(backups[0]), backup), std::nullopt);
    RadioData fromPrevious;
    fromPrevious.ResetForBand(1);
    SetDataToSoftware(previous, fromPrevious);
    EXPECT_EQ(backup.record, fromPrevious.record);

    const test::ToolRun list = RunK3n({"backups"});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_TRUE(list.out.contains("7701") && list.out.contains("K3N [150 - 174 MHz]")) << list.out.toStdString();
    const test::ToolRun json = RunK3n({"backups", "--json"});
    const QJsonArray entries = QJsonDocument::fromJson(json.out.toUtf8()).array();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].toObject()["serial_number"].toString(), "7701");
    EXPECT_EQ(entries[0].toObject()["band"].toInt(), 1);
    EXPECT_EQ(entries[0].toObject()["channels_in_use"].toInt(), 0);
}

TEST_F(CliSafeWrite, ExitCodesTellWhatTheRadioHolds)
{
    {   // a radio that acknowledges without storing: the read-back finds the first differences
        auto radio = StartRadio({RadioFault::AckWithoutStoring, 0});
        const test::ToolRun r = RunK3n({"write", "--port", radio->devicePath(), file, "--no-backup"});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains("Written, but the radio does not hold what was sent: 0x0001 (")) << r.err.toStdString();
    }
    {   // the radio goes away after the write: written, but not verified
        auto radio = StartRadio({RadioFault::HangUp, 121});   // greeting, band request, 119 frames
        const test::ToolRun r = RunK3n({"write", "--port", radio->devicePath(), file, "--no-backup"});
        EXPECT_EQ(r.exitCode, 3) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("Written, but not verified")) << r.err.toStdString();
    }
    {   // a backup read that fails: nothing written
        auto radio = StartRadio({RadioFault::WrongAnswer, 10});
        const test::ToolRun r = RunK3n({"write", "--port", radio->devicePath(), file});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains("The radio could not be read, so nothing was written")) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(dir.file("data/K3N/backups")) &&
                     !QDir(dir.file("data/K3N/backups")).isEmpty());
    }
    const test::ToolRun help = RunK3n({"write", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option : {"--no-backup", "--no-verify", "--force"})
        EXPECT_TRUE(help.out.contains(option)) << option;
    EXPECT_EQ(RunK3n({"backups", "extra"}).exitCode, 2);
}

} // namespace
} // namespace k3n
