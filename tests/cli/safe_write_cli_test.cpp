// SPDX-License-Identifier: GPL-3.0-or-later
// k3n write with its backup and read-back, and k3n backups, run as a user runs
// them against the virtual radio on a pseudo-terminal.
#include "k3n_tool.h"
#include "model/fse_file.h"
#include "model/record_layout.h"
#include "programming/memory_image.h"
#include "programming/radio_backups.h"
#include "programming/safe_write.h"
#include "support/test_support.h"
#include "tool_radio.h"
#include "virtualradio/virtual_radio.h"
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <algorithm>
#include <gtest/gtest.h>
#include <random>

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

    static VirtualRadioOptions Radio7701(FaultPlan fault = {})
    {
        VirtualRadioOptions options;
        options.band = 1;
        options.serial_number = {'7', '7', '0', '1', 0, 0, 0, 0};
        options.fault = fault;
        return options;
    }
    // A radio on a pseudo-terminal, answering at the line's pace.
    std::unique_ptr<VirtualRadio> StartRadio(FaultPlan fault = {})
    {
        auto radio = std::make_unique<VirtualRadio>(Radio7701(fault));
        EXPECT_EQ(radio->Start(), std::nullopt);
        return radio;
    }
    // A radio the test build of the tool answers with at once.
    std::unique_ptr<test::ToolRadio> EmulatedToolRadio(FaultPlan fault = {}, const QString& name = "radio-7701")
    {
        return std::make_unique<test::ToolRadio>(dir.file(name), Radio7701(fault));
    }
    static test::ToolRun RunWith(const test::ToolRadio& radio, const QStringList& args)
    {
        return test::RunK3nWithRadios({radio.folder()}, args);
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
        auto radio = EmulatedToolRadio({RadioFault::AckWithoutStoring, 0});
        const test::ToolRun r = RunWith(*radio, {"write", "--port", radio->devicePath(), file, "--no-backup"});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains("Written, but the radio does not hold what was sent: 0x0001 ("))
            << r.err.toStdString();
    }
    {   // the radio goes away after the write: written, but not verified
        auto radio = EmulatedToolRadio({RadioFault::HangUp, 121});   // greeting, band request, 119 frames
        const test::ToolRun r = RunWith(*radio, {"write", "--port", radio->devicePath(), file, "--no-backup"});
        EXPECT_EQ(r.exitCode, 3) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("Written, but not verified")) << r.err.toStdString();
    }
    {   // a backup read that fails: nothing written
        auto radio = EmulatedToolRadio({RadioFault::WrongAnswer, 10});
        const test::ToolRun r = RunWith(*radio, {"write", "--port", radio->devicePath(), file});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains("The radio could not be read, so nothing was written")) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(dir.file("data/K3N/backups")) && !QDir(dir.file("data/K3N/backups")).isEmpty());
    }
    const test::ToolRun help = RunK3n({"write", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option : {"--no-backup", "--no-verify", "--force"})
        EXPECT_TRUE(help.out.contains(option)) << option;
    EXPECT_EQ(RunK3n({"backups", "extra"}).exitCode, 2);
}

TEST_F(CliSafeWrite, RestorePutsARadioOfRandomBytesBackExactly)
{
    auto radio = EmulatedToolRadio();
    MemoryImage random;
    std::mt19937 rng(7);
    for (uint8_t& b : random)
        b = uint8_t(rng());
    std::copy_n(radio->memory().begin() + 0x0FE0, 32, random.begin() + 0x0FE0);   // serial 7701, band 1
    radio->setMemory(random);
    const QString folder = dir.file("data/K3N/backups");
    {   // what the backup before a write keeps (the write itself is stopped here)
        SafeWriteOptions backupOnly;
        backupOnly.backup_folder = folder;
        backupOnly.before_write = [](const RadioData&, const RadioData&) { return false; };
        RadioData any;
        any.ResetForBand(1);
        backupOnly.make_link = EmulatedLinkMaker();
        const auto alive = radio->Emulate();
        SafeWrite chain(any, {2026, 1, 1, 0, 0}, PortPlan{false, {radio->devicePath()}}, backupOnly);
        ASSERT_EQ(chain.Run(), SafeWriteOutcome::StoppedBeforeWrite);
    }
    const QStringList backups = QDir(folder).entryList(QDir::Files);
    ASSERT_EQ(backups.size(), 1);
    const QString backup = QDir(folder).filePath(backups[0]);
    RadioData written;
    ASSERT_EQ(LoadFseFile(file, written), std::nullopt);
    radio->setMemory(GetDataForWrite(written, {2026, 2, 2, 2, 2}));   // as a write of new.fse leaves it
    radio->writeMemory(0x0FE0, std::span<const uint8_t>(random.data() + 0x0FE0, 32));

    const test::ToolRun restore = RunWith(*radio, {"restore", backup, "--port", radio->devicePath()});
    ASSERT_EQ(restore.exitCode, 0) << restore.err.toStdString();
    EXPECT_TRUE(restore.out.startsWith("restoring the backup of radio 7701 (K3N [150 - 174 MHz]) taken "))
        << restore.out.toStdString();
    const MemoryImage held = radio->memory();
    for (unsigned a = 0; a < kMemoryImageSize; ++a) {
        if (a < 0x06A6 || (a >= 0x1000 && a < 0x1800)) {
            ASSERT_EQ(held[a], random[a]) << a;
        }
    }
    const test::ToolRun log = RunK3n({"log"});
    EXPECT_TRUE(log.out.contains(backups[0])) << log.out.toStdString();

    // The same backup on another radio is refused before anything is written.
    VirtualRadioOptions otherOptions;
    otherOptions.band = 1;
    const test::ToolRadio other(dir.file("radio-other"), otherOptions);
    const test::ToolRun refused = RunWith(other, {"restore", backup, "--port", other.devicePath()});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("The backup is of another radio (serial number 7701"))
        << refused.err.toStdString();
    EXPECT_TRUE(std::none_of(other.frames().begin(), other.frames().end(),
                             [](const ReceivedFrame& f) { return f.command == link::Command::WriteMemory; }));
    EXPECT_EQ(RunK3n({"restore", backup}).exitCode, 2);   // no port
    const test::ToolRun list = RunK3n({"backups"});
    EXPECT_TRUE(list.out.contains("exactly")) << list.out.toStdString();
}

// `k3n virtual-radio` with its options, as anyone can start it to try a faulty radio.
class VirtualRadioTool {
public:
    VirtualRadioTool(const test::ScratchDir& dir, const QStringList& options) : link_(dir.file("radio"))
    {
        process_.start(QStringLiteral(K3N_CLI_PATH), QStringList{"virtual-radio", "--link", link_} + options);
        // It prints where it serves once the link is there.
        EXPECT_TRUE(process_.waitForReadyRead(10000)) << process_.readAllStandardError().toStdString();
    }
    ~VirtualRadioTool()
    {
        process_.terminate();
        process_.waitForFinished(10000);
    }
    const QString& link() const { return link_; }

private:
    QString link_;
    QProcess process_;
};

TEST_F(CliSafeWrite, TheVirtualRadioMisbehavesAsAskedAndTheWriteHoldsUp)
{
    EXPECT_EQ(RunK3n({"new", "-o", dir.file("band0.fse")}).exitCode, 0);
    const QString memory = dir.file("memory.bin");
    {   // Slow to wake: two greetings answered, and the read still gives the radio's own bytes.
        VirtualRadioTool radio(dir, {"--late-greeting", "350", "--memory", memory});
        const test::ToolRun read = RunK3n({"read", "--port", radio.link(), "-o", dir.file("read.fse")});
        EXPECT_EQ(read.exitCode, 0) << read.err.toStdString();
    }
    ASSERT_EQ(RunK3n({"unimage", memory, "-o", dir.file("expected.fse")}).exitCode, 0);
    EXPECT_EQ(test::FileBytes(dir.file("read.fse")), test::FileBytes(dir.file("expected.fse")));
    {   // Garbled replies in the write session: backed up, nothing written.
        VirtualRadioTool radio(dir, {"--garble-session", "2", "--memory", memory});
        const test::ToolRun write = RunK3n({"write", "--port", radio.link(), dir.file("band0.fse")});
        EXPECT_EQ(write.exitCode, 1);
        EXPECT_TRUE(write.err.contains("Communication False: nothing was written") && write.err.contains("garbled"))
            << write.err.toStdString();
        EXPECT_TRUE(write.out.contains("backup: ")) << write.out.toStdString();
    }
    EXPECT_EQ(RunK3n({"unimage", memory, "-o", dir.file("after.fse")}).exitCode, 0);
    EXPECT_EQ(test::FileBytes(dir.file("after.fse")), test::FileBytes(dir.file("expected.fse")));

    const test::ToolRun help = RunK3n({"virtual-radio", "--help"});
    for (const char* option :
         {"--late-greeting MS", "--garble-session N", "--ack-without-storing N", "--vanish-after N"})
        EXPECT_TRUE(help.out.contains(QLatin1String(option))) << option;
    EXPECT_EQ(RunK3n({"virtual-radio", "--vanish-after", "3", "--garble-session", "1"}).exitCode, 2);
}

TEST_F(CliSafeWrite, BackupsListsABackupMarkedUnsure)
{
    RadioData data;
    data.ResetForBand(0);
    const Result<QString> saved =
        SaveBackup(dir.file("data/K3N/backups"), data.record, "7701", QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)));
    ASSERT_TRUE(saved);
    ASSERT_EQ(MarkBackupUnsure(saved.value(), "0x06B0"), std::nullopt);
    const test::ToolRun list = RunK3n({"backups"});
    EXPECT_TRUE(list.out.contains("unsure: may not hold the radio's true bytes (0x06B0)")) << list.out.toStdString();
    const QJsonArray json = QJsonDocument::fromJson(RunK3n({"backups", "--json"}).out.toUtf8()).array();
    ASSERT_EQ(json.size(), 1);
    EXPECT_TRUE(json[0].toObject()["unsure"].toBool());
    EXPECT_EQ(json[0].toObject()["unsure_reason"].toString(), "0x06B0");
}

}   // namespace
}   // namespace k3n
