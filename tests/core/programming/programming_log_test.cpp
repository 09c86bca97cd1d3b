// SPDX-License-Identifier: GPL-3.0-or-later
// The programming log: lines read back as written, appends from many writers
// at once never tear a line, the date filter, a log that cannot be written,
// the started line of every attempt, and damaged or hostile lines.
#include "programming/programming_log.h"
#include "programming/write_log.h"
#include "support/test_support.h"
#include <QDir>
#include <QFile>
#include <csignal>
#include <gtest/gtest.h>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>
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

}   // namespace

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

namespace {

ProgrammingLogEntry LineOf(int hour, const QString& port, WriteOutcome outcome)
{
    ProgrammingLogEntry e = EntryAt(9, hour);
    e.port = port;
    e.outcome = outcome;
    if (outcome == WriteOutcome::Started) {
        e.serialNumber.clear();
        e.backupFile.clear();
        e.verify = VerifyResult::NotRun;
        e.message.clear();
    }
    return e;
}

}   // namespace

TEST(ProgrammingLog, AStartedLineAndItsOutcomeAreOneAttemptAndOneAloneWasInterrupted)
{
    ScratchDir dir;
    const QString path = dir.file("programming-log.csv");
    const ProgrammingLogEntry before = LineOf(7, "COM3", WriteOutcome::Succeeded);   // a log from before started lines
    const ProgrammingLogEntry killed = LineOf(8, "COM1", WriteOutcome::Started);
    const ProgrammingLogEntry second = LineOf(8, "COM2", WriteOutcome::Started);
    const ProgrammingLogEntry secondEnd = LineOf(8, "COM2", WriteOutcome::Failed);
    const ProgrammingLogEntry retry = LineOf(8, "COM1", WriteOutcome::Started);   // the same port in the same minute
    const ProgrammingLogEntry retryEnd = LineOf(8, "COM1", WriteOutcome::Cancelled);
    for (const ProgrammingLogEntry& e : {before, killed, second, retry, secondEnd, retryEnd})
        ASSERT_FALSE(AppendProgrammingLogEntry(path, e));

    const Result<ProgrammingLog> log = ReadProgrammingLog(path);
    ASSERT_TRUE(log);
    ASSERT_EQ(log.value().entries.size(), 4u);
    EXPECT_EQ(log.value().entries[0], before);
    ProgrammingLogEntry interrupted = killed;
    interrupted.outcome = WriteOutcome::Interrupted;
    EXPECT_EQ(log.value().entries[1], interrupted);
    EXPECT_EQ(log.value().entries[2], secondEnd);   // in the order the attempts started
    EXPECT_EQ(log.value().entries[3], retryEnd);
    EXPECT_EQ(WriteOutcomeName(log.value().entries[1].outcome), "interrupted");
}

TEST(ProgrammingLog, AWriteLogsItsStartFirstAndItsOutcomeWithTheSameTimeAndPort)
{
    ScratchDir dir;
    const QString path = dir.file("K3N/programming-log.csv");
    WriteAttemptLog attempt(path, WriteLogContext{"COM4", "", dir.file("fleet.fse"), "bytes"}, 2);
    ASSERT_FALSE(attempt.logStarted(QDateTime(QDate(2026, 12, 9), QTime(10, 0, 5, 700))));
    Result<ProgrammingLog> log = ReadProgrammingLog(path);
    ASSERT_TRUE(log);
    ASSERT_EQ(log.value().entries.size(), 1u);
    EXPECT_EQ(log.value().entries[0].outcome, WriteOutcome::Interrupted);   // nothing after it yet
    EXPECT_EQ(log.value().entries[0].band, "K3N [400 - 470 MHz]");
    EXPECT_EQ(log.value().entries[0].fileName, "fleet.fse");

    attempt.context().device = "/dev/ttyUSB4";   // known once the radio answered
    SafeWriteResult result;
    result.outcome = SafeWriteOutcome::Written;
    result.verified = true;
    result.serial_number = "77";
    ASSERT_FALSE(attempt.logOutcome(result));
    log = ReadProgrammingLog(path);
    ASSERT_TRUE(log);
    ASSERT_EQ(log.value().entries.size(), 1u);
    const ProgrammingLogEntry& entry = log.value().entries[0];
    EXPECT_EQ(entry.outcome, WriteOutcome::Succeeded);
    EXPECT_EQ(entry.device, "/dev/ttyUSB4");
    EXPECT_EQ(entry.serialNumber, "77");
    EXPECT_EQ(entry.time, QDateTime(QDate(2026, 12, 9), QTime(10, 0, 5)));
    EXPECT_EQ(entry.fileSha256, Sha256Hex("bytes"));
    const QList<QByteArray> lines = test::FileBytes(path).trimmed().split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[1].contains(",started,"));
}

TEST(ProgrammingLog, FieldsASpreadsheetWouldTakeForFormulasAreGuardedAndReadBackAsTheyWere)
{
    ScratchDir dir;
    const QString path = dir.file("programming-log.csv");
    ProgrammingLogEntry e = EntryAt(9, 12);
    e.port = "+COM1";
    e.serialNumber = "@SUM(A1)";
    e.fileName = "-fleet.fse";
    e.message = "=HYPERLINK(\"http://example.invalid\",\"x\")";
    ProgrammingLogEntry quoted = EntryAt(9, 13);
    quoted.port = "'=COM2";
    quoted.serialNumber = "''";
    quoted.fileName = "'plain.fse";
    quoted.message = "'";
    ASSERT_FALSE(AppendProgrammingLogEntry(path, e));
    ASSERT_FALSE(AppendProgrammingLogEntry(path, quoted));

    const QByteArray bytes = test::FileBytes(path);
    for (const QByteArray& line : bytes.split('\n'))
        for (const QByteArray& field : line.split(','))
            EXPECT_FALSE(!field.isEmpty() && QByteArray("=+-@").contains(field[0])) << field.toStdString();
    EXPECT_TRUE(bytes.contains(",'+COM1,")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("\"'=HYPERLINK(")) << bytes.toStdString();
    const Result<ProgrammingLog> log = ReadProgrammingLog(path);
    ASSERT_TRUE(log);
    ASSERT_EQ(log.value().entries.size(), 2u);
    EXPECT_EQ(log.value().entries[0], e);
    EXPECT_EQ(log.value().entries[1], quoted);
}

TEST(ProgrammingLog, DamagedLinesAreLeftOutAndTheOthersRead)
{
    ScratchDir dir;
    const QString path = dir.file("programming-log.csv");
    ASSERT_FALSE(AppendProgrammingLogEntry(path, EntryAt(9, 8)));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::Append));
    static const char zeros[] = "2026-12-09T09:00:00+01:00,COM3,\0\0\0\0,x\r\n";   // zeros from a crash
    file.write(QByteArray(zeros, sizeof zeros - 1));
    file.write("2026-12-09T09:30:00+01:00,COM3,\"never closed,x\r\n");
    file.write("a line,of the wrong,shape\r\n");
    file.close();
    ASSERT_FALSE(AppendProgrammingLogEntry(path, EntryAt(9, 11)));

    const Result<ProgrammingLog> log = ReadProgrammingLog(path);
    ASSERT_TRUE(log) << log.error().message.toStdString();
    ASSERT_EQ(log.value().entries.size(), 2u);
    EXPECT_EQ(log.value().entries[0], EntryAt(9, 8));
    EXPECT_EQ(log.value().entries[1], EntryAt(9, 11));
    EXPECT_EQ(log.value().unreadableLines, (std::vector<int>{3, 4, 5}));
}

TEST(ProgrammingLog, ALinkOrAFifoIsNoLogAndNothingWaitsOnIt)
{
    ScratchDir dir;
    const QString target = dir.file("elsewhere.csv");
    const QString link = dir.file("link/programming-log.csv");
    QDir().mkpath(dir.file("link"));
    ASSERT_TRUE(QFile::link(target, link));
    for (const std::optional<Error>& error :
         {CheckProgrammingLogWritable(link), AppendProgrammingLogEntry(link, EntryAt(9, 8))}) {
        ASSERT_TRUE(error);
        EXPECT_EQ(error->message, "the programming log is a link: " + link);
    }
    EXPECT_FALSE(QFile::exists(target));

    const QString fifo = dir.file("fifo/programming-log.csv");
    QDir().mkpath(dir.file("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const std::optional<Error>& error :
         {CheckProgrammingLogWritable(fifo), AppendProgrammingLogEntry(fifo, EntryAt(9, 8))}) {
        ASSERT_TRUE(error);
        EXPECT_TRUE(error->message.endsWith("not a regular file")) << error->message.toStdString();
    }
    const Result<ProgrammingLog> read = ReadProgrammingLog(fifo);
    ASSERT_FALSE(read);
    EXPECT_TRUE(read.error().message.contains("not a regular file"));
}

TEST(ProgrammingLog, ALineThatDoesNotFitIsCutOffAgain)
{
    ScratchDir dir;
    const QString path = dir.file("programming-log.csv");
    ASSERT_FALSE(AppendProgrammingLogEntry(path, EntryAt(9, 8)));
    const QByteArray before = test::FileBytes(path);
    // A file-size limit that leaves room for a part of the next line only.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = rlim_t(before.size() + 40);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const std::optional<Error> error = AppendProgrammingLogEntry(path, EntryAt(9, 9));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ASSERT_TRUE(error);
    EXPECT_EQ(test::FileBytes(path), before);   // whole or not at all
}
