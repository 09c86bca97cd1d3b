// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/fse_file.h"
#include "model/record_layout.h"
#include "support/test_support.h"
#include "text/app_lang.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace k3n;

TEST(RadioRecord, MultiByteFieldsAreLittleEndianAndBitFieldsTouchOnlyTheirBits)
{
    RadioRecord r;
    r.set(rec::ch::rx_freq(1), 0x081B93A8);
    EXPECT_EQ(r.bytes()[20], 0xA8);
    EXPECT_EQ(r.bytes()[21], 0x93);
    EXPECT_EQ(r.bytes()[22], 0x1B);
    EXPECT_EQ(r.bytes()[23], 0x08);
    EXPECT_EQ(r.get(rec::ch::rx_freq(1)), 0x081B93A8u);

    r.set(rec::ch::flags_2(5), 0xFF);
    r.set(rec::ch::busy_lockout(5), 1);
    EXPECT_EQ(r.get(rec::ch::flags_2(5)), 0xF7);   // bits 2-3 become 01, the rest stay
    r.set(rec::ch::signaling_system(5), 9);   // wider than the field: only 3 bits land
    EXPECT_EQ(r.get(rec::ch::signaling_system(5)), 1u);
    EXPECT_EQ(r.get(rec::ch::signaling_no(5)), 0u);

    r.set(rec::user_ctcss_freq, 62.5);   // 0x404F400000000000
    const uint8_t expected[8] = {0, 0, 0, 0, 0, 0x40, 0x4F, 0x40};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(r.bytes()[2080 + i], expected[i]) << i;
}

TEST(RadioRecord, ChannelEntriesSitWhereTheFileHasThem)
{
    EXPECT_EQ(rec::ch::rx_freq(1).offset, 20);
    EXPECT_EQ(rec::ch::scramble_no(128).offset + 2, 2068);   // channel 128 ends at 2067
    EXPECT_EQ(rec::tot.offset, 2068);
    EXPECT_EQ(rec::dtmf::encode(0), 2916);
    EXPECT_EQ(rec::five_tone::decode(0), 2684);
}

TEST(RadioData, DefaultsAfterReset)
{
    RadioData d;
    d.record.fill(0, RadioRecord::kSize, 0xAA);
    d.radio_serial_number.fill('7');
    d.ResetRecordDefaults();
    const RadioRecord& r = d.record;

    EXPECT_EQ(d.radio_serial_number, (std::array<uint8_t, 8>{}));
    EXPECT_EQ(r.get(rec::freq_band), 0);
    for (int n = 1; n <= rec::kChannelCount; ++n)
        EXPECT_EQ(r.get(rec::ch::in_use(n)), 0u);
    EXPECT_DOUBLE_EQ(r.get(rec::user_ctcss_freq), 62.5);
    EXPECT_EQ(r.get(rec::scramble_freq(15)), 2632);
    EXPECT_EQ(r.get(rec::emergency_mode), 1);
    EXPECT_EQ(r.get(rec::dtmf::group_tone), 10);
    EXPECT_EQ(r.get(rec::dtmf::id_code(8)), 0xFF);
    EXPECT_EQ(r.get(rec::two_tone::auto_reset_time(16)), 1);
    EXPECT_EQ(r.get(rec::two_tone::tone_table(16)), 0);
    EXPECT_EQ(r.get(rec::two_tone::decode(15)), 0xFF);
    EXPECT_EQ(r.get(rec::five_tone::id_code(16)), 0xFF);
    EXPECT_EQ(r.get(rec::five_tone::decode_transpond(15)), 0xFF);
    EXPECT_EQ(r.get(rec::five_tone::lead_out), 100);

    // Every byte not named by a default is zero: count the non-zero bytes.
    int nonZero = 0;
    for (uint8_t b : r.bytes())
        nonZero += b != 0;
    // 100 (lead-in/out) has one non-zero byte, 2632 = 0x0A48 two, 62.5 three.
    const int expectedNonZero = 3 /*user ctcss*/ + 16 * 2 /*scramble*/ + 1 /*emergency*/
        + 1 + 1 + 1 + 2 + 8 * 2 /*dtmf leads, group tone, calls, systems*/
        + 1 + 1 + 2 + 16 * 5 + 32 + 16 /*two-tone*/
        + 1 + 1 + 2 + 16 * 3 + 16 /*five-tone*/;
    EXPECT_EQ(nonZero, expectedNonZero);
}

TEST(RadioData, BandLimitsAndSnapping)
{
    RadioData d;
    EXPECT_EQ(d.band_limits, (BandLimits{136000000, 174000000}));
    EXPECT_EQ(d.SnapFrequency(136012500), 136012500u);
    EXPECT_EQ(d.SnapFrequency(136010000), 136010000u);
    EXPECT_EQ(d.SnapFrequency(136013000), 136012500u);
    EXPECT_EQ(d.SnapFrequency(100000000), 136000000u);

    d.record.set(rec::freq_band, 2);
    EXPECT_TRUE(d.SelectBandLimits());
    EXPECT_EQ(d.SnapFrequency(480000000), 470000000u);

    d.record.set(rec::freq_band, 9);   // foreign value: the old limits stay
    EXPECT_FALSE(d.SelectBandLimits());
    EXPECT_EQ(d.band_limits, (BandLimits{400000000, 470000000}));
}

TEST(FseFile, SaveThenLoadReproducesEveryByte)
{
    test::ScratchDir dir;
    RadioData original;
    for (std::size_t i = 0; i < RadioRecord::kSize; ++i)
        original.record.bytes()[i] = uint8_t(i * 7 + 3);
    original.record.set(rec::freq_band, 2);
    const QString path = dir.file("a.fse");
    ASSERT_FALSE(SaveFseFile(path, original.record));
    EXPECT_EQ(QFile(path).size(), 3048);

    RadioData loaded;
    ASSERT_FALSE(LoadFseFile(path, loaded));
    EXPECT_EQ(loaded.record, original.record);
    EXPECT_EQ(loaded.band_limits, (BandLimits{400000000, 470000000}));
}

TEST(FseFile, ShortOrMissingFilesAreRefusedAndLeaveTheRecord)
{
    test::ScratchDir dir;
    const QString path = dir.file("short.fse");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(10, char(0x11)));
    f.close();

    RadioData d;
    d.record.set(rec::freq_band, 2);
    d.SelectBandLimits();
    const RadioRecord before = d.record;
    auto error = LoadFseFile(path, d);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind, FileError::Kind::TooShort);
    EXPECT_TRUE(error->message().contains("10 bytes")) << error->message().toStdString();
    EXPECT_EQ(d.record, before);
    EXPECT_EQ(d.band_limits, (BandLimits{400000000, 470000000}));

    const std::pair<QString, FileError::Kind> unreadable[] = {
        {dir.file("missing.fse"), FileError::Kind::NotFound},
        {dir.path(), FileError::Kind::IsADirectory},
        {path + "/x.fse", FileError::Kind::NotADirectory},
    };
    for (const auto& [file, kind] : unreadable) {
        error = LoadFseFile(file, d);
        ASSERT_TRUE(error) << file.toStdString();
        EXPECT_EQ(error->kind, kind) << file.toStdString();
        EXPECT_FALSE(error->message().isEmpty());
    }
    EXPECT_EQ(d.record, before);

    // A longer file: its first 3048 bytes are the configuration.
    QFile longer(dir.file("long.fse"));
    ASSERT_TRUE(longer.open(QIODevice::WriteOnly));
    longer.write(QByteArray(3048, char(0x01)) + QByteArray(100, char(0x02)));
    longer.close();
    ASSERT_FALSE(LoadFseFile(longer.fileName(), d));
    EXPECT_EQ(d.record.bytes()[3047], 0x01);
}

TEST(FseFile, FailedSaveReportsAndKeepsTheOldFile)
{
    test::ScratchDir dir;
    const QString path = dir.file("keep.fse");
    RadioData d;
    ASSERT_FALSE(SaveFseFile(path, d.record));

    const std::pair<QString, FileError::Kind> unwritable[] = {
        {dir.file("no/such/folder/x.fse"), FileError::Kind::NotFound},
        {path + "/x.fse", FileError::Kind::NotADirectory},
        {dir.path(), FileError::Kind::IsADirectory},
    };
    for (const auto& [file, kind] : unwritable) {
        const auto error = SaveFseFile(file, d.record);
        ASSERT_TRUE(error) << file.toStdString();
        EXPECT_EQ(error->kind, kind) << file.toStdString();
    }
    // A read-only folder: the temporary file cannot be created, the old file stays whole.
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (::geteuid() != 0) {
        RadioData other;
        other.record.set(rec::channel_group, 5);
        const auto error = SaveFseFile(path, other.record);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind, FileError::Kind::PermissionDenied);
        EXPECT_EQ(QFile(path).size(), 3048);
    }
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.fse"});   // no temporary left behind
}

TEST(FseFile, SaveKeepsTheFilesPermissionsAndReplacesWhatALinkPointsAt)
{
    test::ScratchDir dir;
    const QString target = dir.file("target.fse"), link = dir.file("link.fse");
    RadioData d;
    ASSERT_FALSE(SaveFseFile(target, d.record));
    ASSERT_TRUE(
        QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup));
    ASSERT_TRUE(QFile::link(target, link));

    d.record.set(rec::channel_group, 7);
    ASSERT_FALSE(SaveFseFile(link, d.record));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    RadioData loaded;
    ASSERT_FALSE(LoadFseFile(target, loaded));
    EXPECT_EQ(loaded.record, d.record);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(FileError, ReasonsAreToldInEachLanguage)
{
    const FileError diskFull = FileError::FromErrno(ENOSPC);
    EXPECT_EQ(diskFull.kind, FileError::Kind::DiskFull);
    EXPECT_EQ(FileError::FromErrno(EROFS).kind, FileError::Kind::ReadOnlyFileSystem);
    EXPECT_EQ(FileError::FromErrno(EACCES).kind, FileError::Kind::PermissionDenied);
    ApplyLanguageSetting(0);
    EXPECT_EQ(diskFull.message(), "the disk is full");
    ApplyLanguageSetting(1);
    EXPECT_EQ(diskFull.message(), QString::fromUtf8("磁盘已满"));
    ApplyLanguageSetting(2);
    EXPECT_EQ(diskFull.message(), QString::fromUtf8("磁盤已滿"));
    // An error without a text of ours keeps the system's wording.
    ApplyLanguageSetting(0);
    const FileError other = FileError::FromErrno(EMFILE);
    EXPECT_EQ(other.kind, FileError::Kind::Other);
    EXPECT_FALSE(other.message().isEmpty());
}
