// SPDX-License-Identifier: GPL-3.0-or-later
// The read-back comparison and the backup files, without a radio.
#include "model/fse_file.h"
#include "model/record_layout.h"
#include "programming/radio_backups.h"
#include "programming/write_verify.h"
#include "support/test_support.h"
#include "text/app_lang.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace k3n {
namespace {

class English : public ::testing::Test {
protected:
    void SetUp() override { ApplyLanguageSetting(0); }
};

using WriteVerify = English;
using RadioBackups = English;

TEST_F(WriteVerify, ComparesWhatTheRecordFillsAndTheTimeButNoReservedByte)
{
    const ImageMask& compared = VerifiedImageBytes();
    for (uint16_t a : {0x0000, 0x0420, 0x0600, 0x0616, 0x0620, 0x0660, 0x0680, 0x069F, 0x06A0, 0x06A5, 0x1000, 0x1001,
                       0x1008, 0x100E, 0x17FE})
        EXPECT_TRUE(compared.test(a)) << std::hex << a;
    // Bytes a write always sends as 0, the radio-state byte, and what the write never sends.
    for (uint16_t a :
         {0x0306, 0x0307, 0x060B, 0x0614, 0x0649, 0x0662, 0x066C, 0x06A6, 0x0F28, 0x0FE0, 0x0FFF, 0x100F, 0x17FF})
        EXPECT_FALSE(compared.test(a)) << std::hex << a;

    RadioData data;
    data.ResetForBand(0);
    const MemoryImage sent = GetDataForWrite(data, {2025, 3, 4, 5, 6});
    MemoryImage readBack = sent;
    readBack[0x060B] = 0x55;   // reserved: a radio need not keep it
    readBack[0x0F28] = 0x01;   // the radio state
    EXPECT_TRUE(CompareWrittenImage(sent, readBack).empty());

    readBack[0x1002] ^= 0x10;   // channel 1's receive frequency
    readBack[0x06A5] ^= 0x01;   // the minute of programming
    readBack[0x0620] ^= 0x01;   // key 1
    const auto differences = CompareWrittenImage(sent, readBack);
    ASSERT_EQ(differences.size(), 3u);
    EXPECT_EQ(differences[0].address, 0x0620);
    EXPECT_EQ(differences[1].address, 0x06A5);
    EXPECT_EQ(differences[2], (ImageDifference{0x1002, sent[0x1002], uint8_t(sent[0x1002] ^ 0x10)}));
    EXPECT_EQ(DescribeDifferences(differences, 2),
              "0x0620 (" + ImagePlaceName(0x0620) + "), 0x06A5 (Date and time of programming) and 1 more");
}

TEST_F(WriteVerify, PlacesAreNamedByPageAndChannel)
{
    EXPECT_EQ(ImagePlaceName(0x1001), "Channel 1, RX Freq.");
    EXPECT_EQ(ImagePlaceName(0x17F8), "Channel 128, TX Freq.");
    EXPECT_EQ(ImagePlaceName(0x1010), "Channel 2");
    EXPECT_NE(ImagePlaceName(0x0620), ImagePlaceName(0x0600));   // keys and general settings
    EXPECT_EQ(ImagePlaceName(0x0690), ImagePlaceName(0x0600));   // the scrambler is a general setting
    EXPECT_NE(ImagePlaceName(0x0000), ImagePlaceName(0x0300));   // two-tone and DTMF
}

TEST_F(RadioBackups, SerialNumberAsAFileNameCarriesIt)
{
    const std::array<uint8_t, 8> digits{'1', '2', '3', '4', '5', '6', '7', '8'};
    const std::array<uint8_t, 8> padded{'4', '2', 0, 0, 0, 0, 0, 0};
    const std::array<uint8_t, 8> slashes{'.', '.', '/', 'a', '/', ' ', 'b', 0};
    const std::array<uint8_t, 8> erased{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(SerialNumberInFileName(digits), "12345678");
    EXPECT_EQ(SerialNumberInFileName(padded), "42");
    EXPECT_EQ(SerialNumberInFileName(slashes), "ab");
    EXPECT_EQ(SerialNumberInFileName(erased), "unknown");
    EXPECT_EQ(SerialNumberInFileName(std::array<uint8_t, 8>{}), "unknown");
}

TEST_F(RadioBackups, FolderFollowsXdgDataHome)
{
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "/somewhere/data");
    EXPECT_EQ(BackupFolder(), "/somewhere/data/K3N/backups");
    qputenv("XDG_DATA_HOME", "relative/data");   // invalid: ignored
    EXPECT_EQ(BackupFolder(), QDir::homePath() + "/.local/share/K3N/backups");
    qputenv("XDG_DATA_HOME", saved);
}

TEST_F(RadioBackups, SavedNeverOverAnotherAndListedNewestFirst)
{
    test::ScratchDir dir;
    const QString folder = dir.file("deep/backups");   // made when missing
    RadioData first;
    first.ResetForBand(2);
    first.record.set(rec::ch::in_use(1), 1);
    first.record.set(rec::ch::in_use(7), 1);
    RadioData second;
    second.ResetForBand(1);
    const QDateTime when(QDate(2025, 1, 2), QTime(3, 4, 5));

    const auto a = SaveBackup(folder, first.record, "S1", when);
    const auto b = SaveBackup(folder, second.record, "S1", when);
    const auto c = SaveBackup(folder, second.record, "S2", when.addSecs(60));
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(QFileInfo(a.value()).fileName(), "S1_2025-01-02_030405.fse");
    EXPECT_EQ(QFileInfo(b.value()).fileName(), "S1_2025-01-02_030405-2.fse");
    RadioData loaded;
    ASSERT_EQ(LoadFseFile(a.value(), loaded), std::nullopt);
    EXPECT_EQ(loaded.record, first.record);   // the first was not replaced
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 3);   // no temporary file left

    test::WriteFileBytes(dir.file("deep/backups/broken.fse"), "short");
    const auto entries = ListBackups(folder);
    ASSERT_EQ(entries.size(), 4u);
    const auto newest =
        std::find_if(entries.begin(), entries.end(), [](const BackupEntry& e) { return !e.serial.isEmpty(); });
    ASSERT_NE(newest, entries.end());
    EXPECT_EQ(newest->path, c.value());
    EXPECT_EQ(newest->serial, "S2");
    EXPECT_EQ(newest->taken, when.addSecs(60));
    EXPECT_EQ(newest->band, 1);
    EXPECT_EQ(entries[0].path, dir.file("deep/backups/broken.fse"));   // named otherwise: dated by the file, today
    const auto firstEntry =
        std::find_if(entries.begin(), entries.end(), [&](const BackupEntry& e) { return e.path == a.value(); });
    ASSERT_NE(firstEntry, entries.end());
    EXPECT_TRUE(firstEntry->readable);
    EXPECT_EQ(firstEntry->band, 2);
    EXPECT_EQ(firstEntry->channels_in_use, 2);
    const auto broken = std::find_if(entries.begin(), entries.end(), [](const BackupEntry& e) { return !e.readable; });
    ASSERT_NE(broken, entries.end());
    EXPECT_TRUE(broken->serial.isEmpty());

    EXPECT_TRUE(ListBackups(dir.file("none")).empty());
}

TEST_F(RadioBackups, AFolderThatCannotBeMadeIsReported)
{
    test::ScratchDir dir;
    test::WriteFileBytes(dir.file("plain"), "x");
    const auto saved = SaveBackup(dir.file("plain/backups"), RadioRecord(), "S", QDateTime::currentDateTime());
    ASSERT_FALSE(saved);
    EXPECT_EQ(saved.error().message, "a part of the path is not a folder");
}

TEST_F(RadioBackups, TheRadioBytesGoWithTheBackupAndADamagedOrOldBackupHasNone)
{
    test::ScratchDir dir;
    MemoryImage read{};
    for (std::size_t a = 0; a < read.size(); ++a)
        read[a] = uint8_t(a * 31 + 7);
    RadioData data;
    data.ResetForBand(1);
    const auto exact = SaveBackup(dir.path(), data.record, "S1", QDateTime(QDate(2026, 1, 1), QTime(1, 0)), read);
    const auto old = SaveBackup(dir.path(), data.record, "S1", QDateTime(QDate(2025, 1, 1), QTime(1, 0)));
    ASSERT_TRUE(exact && old);

    // Readers of configuration files still find the record first.
    RadioData loaded;
    ASSERT_EQ(LoadFseFile(exact.value(), loaded), std::nullopt);
    EXPECT_EQ(loaded.record, data.record);
    // Every block the backup read asked for, and nothing else.
    const std::optional<MemoryImage> kept = ReadBackupRadioBytes(exact.value());
    ASSERT_TRUE(kept);
    for (std::size_t a = 0; a < read.size(); ++a) {
        const bool asked = a < 0x06C0 || (a >= 0x0FE0 && a < 0x1800);
        EXPECT_EQ((*kept)[a], asked ? read[a] : 0) << a;
    }
    EXPECT_EQ(BackupRadioOf(read).band_code, read[0x0FFF]);
    EXPECT_FALSE(ReadBackupRadioBytes(old.value()));

    const std::vector<BackupEntry> listed = ListBackups(dir.path());
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_TRUE(listed[0].exact);
    EXPECT_FALSE(listed[1].exact);

    // One byte changed, or the file cut short: the kept bytes cannot be trusted.
    QByteArray bytes = test::FileBytes(exact.value());
    bytes[bytes.size() - 100] = char(bytes[bytes.size() - 100] ^ 0x55);
    test::WriteFileBytes(dir.file("changed.fse"), bytes);
    EXPECT_FALSE(ReadBackupRadioBytes(dir.file("changed.fse")));
    test::WriteFileBytes(dir.file("cut.fse"), test::FileBytes(exact.value()).chopped(1));
    EXPECT_FALSE(ReadBackupRadioBytes(dir.file("cut.fse")));
    EXPECT_EQ(BandCodeText(0x80), "K3N [400 - 470 MHz]");
    EXPECT_EQ(BandCodeText(0xFF), "band code 0xFF");
}

}   // namespace
}   // namespace k3n
