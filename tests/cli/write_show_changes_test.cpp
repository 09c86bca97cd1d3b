// SPDX-License-Identifier: GPL-3.0-or-later
// k3n write --show-changes against an emulated radio: the changes between the
// backup and the file on stdout, as k3n diff prints them, then the write.
#include "k3n_tool.h"
#include "model/fse_file.h"
#include "model/record_layout.h"
#include "programming/memory_image.h"
#include "programming/programming_log.h"
#include "programming/radio_configuration.h"
#include "support/test_support.h"
#include "support/virtual_radio_memory.h"
#include "tool_radio.h"
#include <gtest/gtest.h>

namespace k3n {
namespace {

class CliShowChanges : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.file("data")));
        data.ResetForBand(1);
        data.record.set(rec::ch::in_use(3), 1);
        data.record.set(rec::ch::rx_freq(3), 151000000);
        data.record.set(rec::ch::tx_freq(3), 151000000);
        data.record.set(rec::tot, 90);
        file = dir.file("new.fse");
        ASSERT_EQ(SaveFseFile(file, data.record), std::nullopt);

        VirtualRadioOptions options;
        options.band = 1;
        radio = std::make_unique<test::ToolRadio>(dir.file("radio"), options);
        // The radio holds the file but for its time-out and channel 3's transmit frequency.
        RadioData inRadio = data;
        inRadio.record.set(rec::tot, 30);
        inRadio.record.set(rec::ch::tx_freq(3), 155500000);
        test::HoldConfiguration(*radio, inRadio);
    }

    test::ScratchDir dir;
    RadioData data;
    QString file;
    std::unique_ptr<test::ToolRadio> radio;

    test::ToolRun Run(const QStringList& args) const { return test::RunK3nWithRadios({radio->folder()}, args); }
};

TEST_F(CliShowChanges, PrintsTheChangesFromTheBackupThenWrites)
{
    const test::ToolRun run = Run({"write", "--port", radio->devicePath(), file, "--show-changes", "--language", "en"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.takeLast().startsWith("backup: "));
    EXPECT_EQ(lines,
              (QStringList{"[Channel Settings]", "Channel 3 · TX Freq.: 155.50000 → 151.00000", "[General Settings]",
                           "General Settings · TOT Time (s): 30 → 90"}))
        << run.out.toStdString();
    EXPECT_TRUE(run.err.contains("2 differences between the radio and this configuration")) << run.err.toStdString();
    // Written: the radio holds the file now.
    EXPECT_GT(test::WriteFrameCount(*radio), 0u);
    RadioData held;
    held.ResetForBand(1);
    SetDataToSoftware(radio->memory(), held);
    EXPECT_EQ(held.record.get(rec::tot), 90);
    EXPECT_EQ(held.record.get(rec::ch::tx_freq(3)), 151000000u);
}

TEST_F(CliShowChanges, NeedsTheBackupOneRadioAndAKnownLanguage)
{
    const test::ToolRun noBackup = Run({"write", "--port", radio->devicePath(), file, "--show-changes", "--no-backup"});
    EXPECT_EQ(noBackup.exitCode, 2);
    EXPECT_TRUE(noBackup.err.contains("--no-backup")) << noBackup.err.toStdString();
    const test::ToolRun french =
        Run({"write", "--port", radio->devicePath(), file, "--show-changes", "--language", "fr"});
    EXPECT_EQ(french.exitCode, 2);
    // The changes are one radio's: not with several ports.
    const test::ToolRun several =
        Run({"write", "--port", radio->devicePath(), "--port", radio->devicePath(), file, "--show-changes"});
    EXPECT_EQ(several.exitCode, 2);
    EXPECT_TRUE(several.err.contains("one radio")) << several.err.toStdString();
    EXPECT_TRUE(radio->frames().empty());   // none reached the radio
}

TEST_F(CliShowChanges, ChangedOnlyListsTheSameChangesAndWritesOnlyTheirBlocks)
{
    const test::ToolRun run =
        Run({"write", "--port", radio->devicePath(), file, "--show-changes", "--changed-only", "--language", "en"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.takeLast().startsWith("backup: "));
    EXPECT_EQ(lines,
              (QStringList{"[Channel Settings]", "Channel 3 · TX Freq.: 155.50000 → 151.00000", "[General Settings]",
                           "General Settings · TOT Time (s): 30 → 90"}));
    // The time-out's block, the programming time, the radio state and channel 3's block.
    EXPECT_TRUE(run.err.contains("changed only: 4 of 119 write frames\n")) << run.err.toStdString();
    EXPECT_EQ(test::WriteFrameCount(*radio), 4u);
    RadioData held;
    held.ResetForBand(1);
    SetDataToSoftware(radio->memory(), held);
    EXPECT_EQ(held.record, AsTheRadioHoldsIt(data.record));
    const auto log = ReadProgrammingLog(dir.file("data/K3N/programming-log.csv"));
    ASSERT_TRUE(log);
    ASSERT_EQ(log.value().entries.size(), 1u);
    EXPECT_EQ(log.value().entries[0].message, "SUCCESS; changed only: 4 of 119 write frames");

    // It needs both reads: what the radio holds, and what the write may have missed.
    for (const char* off : {"--no-backup", "--no-verify"}) {
        const test::ToolRun refused = Run({"write", "--port", radio->devicePath(), file, "--changed-only", off});
        EXPECT_EQ(refused.exitCode, 2) << off;
        EXPECT_TRUE(refused.err.contains("--changed-only needs the backup and the read-back"))
            << refused.err.toStdString();
    }
    EXPECT_EQ(test::WriteFrameCount(*radio), 4u);
}

}   // namespace
}   // namespace k3n
