// SPDX-License-Identifier: GPL-3.0-or-later
// The programming log: lines read back as written, appends from many writers
// at once never tear a line, the date filter, and a log that cannot be written.
#include "programming/programming_log.h"
#include "support/test_support.h"
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <set>
#include <thread>

using namespace k3n;
using k3n::test::ScratchDir;

namespace {

ProgrammingLogEntry EntryAt(int day, int hour, int offsetHours = 1)
{
    return ProgrammingLogEntry{QDateTime(QDate(2026, 12, day), QTime(hour, 30), Qt::OffsetFromUTC, offsetHours * 3600),
                               "COM2",
                               "/dev/ttyUSB0",
                               "SN0042",
                               "K3N [400 - 470 MHz]",
                               "fleet.fse",
                               Sha256Hex("configuration bytes"),
                               "/backups/SN0042.fse",
                               VerifyResult::Passed,
                               WriteOutcome::Succeeded,
                               "written and verified"};
}

int CountLinesEqualTo(const QByteArray& bytes, const QByteArray& line)
{
    int count = 0;
    for (const QByteArray& l : bytes.split('\n'))
        count += l.trimmed() == line;
    return count;
}

} // namespace

TEST(ProgrammingLog, EntriesReadBackAsWrittenUnderOneHeader)
{
    ScratchDir dir;
    const QString path = dir.file("K3N/programming-log.csv");   // the folder does not exist yet
    ProgrammingLogEntry failed = EntryAt(8, 9, 8);
    failed.outcome = WriteOutcome::Failed;
    failed.verify = VerifyResult::NotRun;
    failed.message = "the radio did not answer, \"twice\"\nthen gave up";   // quotes, comma, line break
    failed.fileName = "车队, 配置.fse";
    ProgrammingLogEntry cancelled = EntryAt(8, 10);
    cancelled.outcome = WriteOutcome::Cancelled;
    cancelled.verify = VerifyResult::Failed;
    cancelled.serialNumber.clear();
    cancelled.backupFile.clear();

    for (const ProgrammingLogEntry& e : {EntryAt(7, 16), failed, cancelled})
        ASSERT_FALSE(AppendProgrammingLogEntry(path, e));

    const Result<ProgrammingLog> log = ReadProgrammingLog(path);
    ASSERT_TRUE(log) << log.error().message.toStdString();
    ASSERT_EQ(log.value().entries.size(), 3u);
    EXPECT_EQ(log.value().entries[0], EntryAt(7, 16));
    EXPECT_EQ(log.value().entries[1], failed);
    EXPECT_EQ(log.value().entries[2], cancelled);
    EXPECT_TRUE(log.value().unreadableLines.empty());
    // The time keeps its offset, so the line names one moment wherever it is read.
    EXPECT_EQ(log.value().entries[1].time.offsetFromUtc(), 8 * 3600);

    const QByteArray bytes = test::FileBytes(path);
    EXPECT_TRUE(bytes.startsWith(ProgrammingLogColumns().join(',').toUtf8() + "\r\n"));
    EXPECT_EQ(CountLinesEqualTo(bytes, ProgrammingLogColumns().join(',').toUtf8()), 1);
    EXPECT_TRUE(bytes.endsWith("\r\n"));
}

TEST(ProgrammingLog, WritersAppendingAtOnceLeaveEveryLineWhole)
{
    ScratchDir dir;
    const QString path = dir.file("programming-log.csv");
    constexpr int kWriters = 4;
    constexpr int kLinesEach = 150;
    // Each append opens the file on its own, as separate programs do.
    std::vector<std::thread> writers;
    for (int w = 0; w < kWriters; ++w) {
        writers.emplace_back([&path, w] {
            for (int i = 0; i < kLinesEach; ++i) {
                ProgrammingLogEntry e = EntryAt(8, 11);
                e.port = QStringLiteral("COM%1").arg(w + 1);
                e.message = QStringLiteral("writer %1 line %2 ").arg(w).arg(i) + QString(200, QChar('x'));
                if (AppendProgrammingLogEntry(path, e))
                    return;
            }
        });
    }
    for (std::thread& t : writers)
        t.join();

    const Result<ProgrammingLog> log = ReadProgrammingLog(path);
    ASSERT_TRUE(log) << log.error().message.toStdString();
    EXPECT_TRUE(log.value().unreadableLines.empty());
    ASSERT_EQ(log.value().entries.size(), std::size_t(kWriters * kLinesEach));
    std::set<QString> seen;
    for (const ProgrammingLogEntry& e : log.value().entries) {
        EXPECT_EQ(e.message.size(), e.message.section(' ', 0, 3).size() + 1 + 200);
        EXPECT_EQ(e.port, QStringLiteral("COM%1").arg(e.message.section(' ', 1, 1).toInt() + 1));
        seen.insert(e.message.section(' ', 0, 3));
    }
    EXPECT_EQ(seen.size(), std::size_t(kWriters * kLinesEach));   // none lost, none twice
    EXPECT_EQ(CountLinesEqualTo(test::FileBytes(path), ProgrammingLogColumns().join(',').toUtf8()), 1);
}

TEST(ProgrammingLog, SinceKeepsTheEntriesFromThatMomentOn)
{
    const std::vector<ProgrammingLogEntry> entries{EntryAt(6, 23), EntryAt(7, 0), EntryAt(7, 12), EntryAt(9, 8)};
    const std::optional<QDateTime> since = ParseLogDate("2026-12-07T00:30:00+01:00");
    ASSERT_TRUE(since);
    const std::vector<ProgrammingLogEntry> kept = EntriesSince(entries, *since);
    ASSERT_EQ(kept.size(), 3u);
    EXPECT_EQ(kept.front(), entries[1]);   // exactly the moment given is kept

    // A date alone is local midnight.
    const std::optional<QDateTime> day = ParseLogDate("2026-12-09");
    ASSERT_TRUE(day);
    EXPECT_EQ(*day, QDate(2026, 12, 9).startOfDay());

    for (const char* bad : {"", "yesterday", "2026-13-01", "09.12.2026", "2026-12-09 25:00"})
        EXPECT_FALSE(ParseLogDate(bad)) << bad;
}

TEST(ProgrammingLog, AnUnwritableFolderIsFoundBeforeAnyWrite)
{
    ScratchDir dir;
    // A file where the folder should be: no user, not even root, can make the folder.
    test::WriteFileBytes(dir.file("data/K3N"), "not a folder");
    const QString path = dir.file("data/K3N/programming-log.csv");
    const std::optional<Error> check = CheckProgrammingLogWritable(path);
    ASSERT_TRUE(check);
    EXPECT_TRUE(check->message.contains(path)) << check->message.toStdString();
    EXPECT_TRUE(AppendProgrammingLogEntry(path, EntryAt(8, 9)));

    // A log folder that can be written passes and is left without an empty log in it.
    const QString fresh = dir.file("fresh/K3N/programming-log.csv");
    EXPECT_FALSE(CheckProgrammingLogWritable(fresh));
    EXPECT_FALSE(QFile::exists(fresh));
    EXPECT_TRUE(QDir(dir.file("fresh/K3N")).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

TEST(ProgrammingLog, ALineCutShortStaysApartFromTheNextEntry)
{
    ScratchDir dir;
    const QString path = dir.file("programming-log.csv");
    ASSERT_FALSE(AppendProgrammingLogEntry(path, EntryAt(8, 9)));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("2026-12-08T10:00:00+01:00,COM3,/dev/tty");   // a writer stopped mid-line
    file.close();
    ASSERT_FALSE(AppendProgrammingLogEntry(path, EntryAt(8, 11)));

    const Result<ProgrammingLog> log = ReadProgrammingLog(path);
    ASSERT_TRUE(log);
    ASSERT_EQ(log.value().entries.size(), 2u);
    EXPECT_EQ(log.value().entries[1], EntryAt(8, 11));
    EXPECT_EQ(log.value().unreadableLines, std::vector<int>{3});
}

TEST(ProgrammingLog, NoFileIsAnEmptyLogAndTheHashIsSha256)
{
    ScratchDir dir;
    const Result<ProgrammingLog> log = ReadProgrammingLog(dir.file("none.csv"));
    ASSERT_TRUE(log);
    EXPECT_TRUE(log.value().entries.empty());
    // The published test vector of SHA-256.
    EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    // The log lives under the user's data folder.
    EXPECT_EQ(ProgrammingLogPath(), qEnvironmentVariable("XDG_DATA_HOME") + "/K3N/programming-log.csv");
}
