// SPDX-License-Identifier: GPL-3.0-or-later
// k3n export and import run as a user runs them: the round trips, the report
// and its summary, --strict, an import of no row, and the input that is no
// channel list.
#include "k3n_tool.h"
#include "model/fse_file.h"
#include "model/radio_data.h"
#include "model/record_layout.h"
#include "support/test_support.h"
#include "text/app_lang.h"
#include "text/own_texts.h"
#include <QFile>
#include <gtest/gtest.h>

using namespace k3n;

namespace {

using test::FileBytes;
using test::RunK3n;
using test::ToolRun;
using test::WriteFileBytes;

// Band 2 with three channels: a repeater pair with tones, a split DCS channel, a receive-only one.
RadioData ThreeChannels()
{
    RadioData d;
    d.ResetForBand(2);
    RadioRecord& r = d.record;
    const struct {
        int n;
        uint32_t rx, tx;
        uint8_t txTone, rxTone;
    } channels[] = {{1, 439975000, 434975000, 10, 10}, {2, 446006250, 446093750, 128, 231}, {40, 433500000, 0, 0, 14}};
    for (const auto& c : channels) {
        r.set(rec::ch::rx_freq(c.n), c.rx);
        r.set(rec::ch::tx_freq(c.n), c.tx);
        r.set(rec::ch::tx_subaudio(c.n), c.txTone);
        r.set(rec::ch::rx_subaudio(c.n), c.rxTone);
        r.set(rec::ch::in_use(c.n), 1);
        r.set(rec::ch::squelch(c.n), 3);
    }
    r.set(rec::ch::rx_dcs_inverted(2), 1);
    r.set(rec::ch::busy_lockout(2), 1);
    r.set(rec::ch::scramble_no(40), 7);
    r.set(rec::ch::signaling_system(40), 2);
    r.set(rec::ch::signaling_no(40), 11);
    return d;
}

QByteArray RecordBytes(const RadioRecord& record)
{
    return QByteArray(reinterpret_cast<const char*>(record.bytes().data()), qsizetype(record.bytes().size()));
}

class ChannelsCsvTool : public ::testing::Test {
protected:
    test::ScratchDir dir;
};

}   // namespace

TEST_F(ChannelsCsvTool, ExportThenImportOntoTheSameBaseGivesBackEveryByte)
{
    const QString fse = dir.file("three.fse");
    const RadioData data = ThreeChannels();
    ASSERT_FALSE(SaveFseFile(fse, data.record));
    const QString csv = dir.file("three.csv");
    const ToolRun exported = RunK3n({"export", fse, "-o", csv});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    const QStringList lines = QString::fromUtf8(FileBytes(csv)).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0].split(',').size(), 28);
    EXPECT_TRUE(lines[2].startsWith("2,,446.006250,+,0.087500,Cross,88.5,88.5,023,NR,754,DTCS->DTCS,"))
        << lines[2].toStdString();

    const QString back = dir.file("back.fse");
    const ToolRun imported = RunK3n({"import", csv, "--base", fse, "--replace-all", "-o", back, "--strict"});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_EQ(imported.err.split('\n', Qt::SkipEmptyParts),
              (QStringList{csv
                               + ": Columns this radio does not store were ignored: TStep (values in 3 row(s), the "
                                 "first on line 2)",
                           csv + ": 3 row(s) read: 3 imported (0 with changed values), 0 skipped"}));
    EXPECT_EQ(FileBytes(back), RecordBytes(data.record));

    // The common columns alone onto a fresh band 2: the radio's own settings take their defaults.
    const QString standardCsv = dir.file("standard.csv");
    ASSERT_EQ(RunK3n({"export", fse, "-o", standardCsv, "--standard"}).exitCode, 0);
    EXPECT_EQ(QString::fromUtf8(FileBytes(standardCsv)).section("\r\n", 0, 0).split(',').size(), 21);
    const QString fresh = dir.file("fresh.fse");
    ASSERT_EQ(RunK3n({"import", standardCsv, "--band", "2", "-o", fresh}).exitCode, 0);
    RadioData loaded;
    ASSERT_FALSE(LoadFseFile(fresh, loaded));
    EXPECT_EQ(loaded.record.get(rec::ch::tx_freq(1)), 434975000u);
    EXPECT_EQ(loaded.record.get(rec::ch::rx_subaudio(2)), 231);
    EXPECT_EQ(loaded.record.get(rec::ch::squelch(40)), 5);
    EXPECT_EQ(loaded.record.get(rec::ch::scramble_no(40)), 0);
}

TEST_F(ChannelsCsvTool, ImportReportsOnStderrAndStrictWritesNothing)
{
    const QString csv = dir.file("list.csv");
    WriteFileBytes(csv,
                   "Location,Name,Frequency,Tone,rToneFreq\n"
                   "1,Rep,145.6125,Tone,88.5\n"
                   "2,,146.013,,\n"
                   "3,,99.0,,\n");
    const QString out = dir.file("out.fse");
    const ToolRun run = RunK3n({"import", csv, "-o", out});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(
        run.err.split('\n', Qt::SkipEmptyParts),
        (QStringList{
            csv + ": Columns this radio does not store were ignored: Name (values in 1 row(s), the first on line 2)",
            csv + ": line 3, Location 2: Frequency 146.013000 MHz snapped to 146.012500 MHz",
            csv
                + ": line 4, Location 3: Frequency 99.000000 MHz is outside the band's limits "
                  "136.000000-174.000000 MHz: row skipped",
            csv + ": 3 row(s) read: 2 imported (1 with changed values), 1 skipped"}));
    RadioData loaded;
    ASSERT_FALSE(LoadFseFile(out, loaded));
    EXPECT_EQ(loaded.record.get(rec::ch::rx_freq(1)), 145612500u);
    EXPECT_EQ(loaded.record.get(rec::ch::rx_freq(2)), 146012500u);
    EXPECT_EQ(loaded.record.get(rec::ch::in_use(3)), 0u);

    const QString strictOut = dir.file("strict.fse");
    const ToolRun strict = RunK3n({"import", csv, "-o", strictOut, "--strict"});
    EXPECT_EQ(strict.exitCode, 1);
    EXPECT_TRUE(strict.err.contains("--strict")) << strict.err.toStdString();
    EXPECT_FALSE(QFile::exists(strictOut));

    // Dropped names alone are no change: --strict writes.
    WriteFileBytes(csv, "Name,Frequency\nHome,146.52\n");
    EXPECT_EQ(RunK3n({"import", csv, "-o", strictOut, "--strict"}).exitCode, 0);
    EXPECT_TRUE(QFile::exists(strictOut));
}

TEST_F(ChannelsCsvTool, ImportReportInTheLanguageAskedFor)
{
    const QString csv = dir.file("list.csv");
    WriteFileBytes(csv, "Location,Frequency\n1,146.013\n");
    const QString out = dir.file("out.fse");
    const ToolRun chinese = RunK3n({"import", csv, "-o", out, "--language", "zh-CN"});
    ASSERT_EQ(chinese.exitCode, 0) << chinese.err.toStdString();
    const TAppLang simplified(kLangIdChinesePrc);
    const QString snapped = Text(simplified, OwnText::ImportSnapped).arg("Frequency", "146.013000", "146.012500");
    EXPECT_EQ(chinese.err.trimmed().split('\n'),
              (QStringList{csv + ": " + Text(simplified, OwnText::ImportNoteLine).arg("2", "1", snapped),
                           csv + ": " + Text(simplified, OwnText::ImportSummary).arg(1).arg(1).arg(1).arg(0)}));
    EXPECT_FALSE(chinese.err.contains("snapped"));

    // A file that is no channel list says so in the language asked for too.
    WriteFileBytes(dir.file("empty.csv"), "");
    const ToolRun empty = RunK3n({"import", dir.file("empty.csv"), "-o", out, "--language", "zh-CN"});
    EXPECT_EQ(empty.exitCode, 2);
    EXPECT_TRUE(empty.err.contains(Text(simplified, OwnText::CsvEmpty))) << empty.err.toStdString();

    const ToolRun unknown = RunK3n({"import", csv, "-o", dir.file("other.fse"), "--language", "fr"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains("--language")) << unknown.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.file("other.fse")));
}

TEST_F(ChannelsCsvTool, InputThatIsNoChannelListExitsTwoNamingTheLine)
{
    const QString out = dir.file("never.fse");
    const struct {
        const char* name;
        QByteArray bytes;
        const char* message;
    } refused[] = {
        {"empty.csv", "", "the file is empty"},
        {"garbage.csv",
         QByteArray("\x7F"
                    "ELF\x02\x01\x01\x00\x00\x00",
                    10),
         "line 1: binary data"},
        {"nofreq.csv", "Location,Name\n1,a\n", "line 1: the header names no Frequency column"},
        {"quote.csv", "Frequency,Name\n146.52,\"open\n", "line 2: a quoted field starts here and is never closed"},
    };
    for (const auto& [name, bytes, message] : refused) {
        const QString csv = dir.file(name);
        WriteFileBytes(csv, bytes);
        const ToolRun run = RunK3n({"import", csv, "-o", out});
        EXPECT_EQ(run.exitCode, 2) << name;
        EXPECT_TRUE(run.err.contains(QLatin1String(message))) << run.err.toStdString();
    }
    const QString good = dir.file("good.csv");
    WriteFileBytes(good, "Frequency\n146.52\n");
    EXPECT_EQ(RunK3n({"import", dir.file("missing.csv"), "-o", out}).exitCode, 2);
    EXPECT_EQ(RunK3n({"import", good, "--base", dir.file("missing.fse"), "-o", out}).exitCode, 2);
    EXPECT_EQ(RunK3n({"import", good, "--band", "4", "-o", out}).exitCode, 2);
    EXPECT_EQ(RunK3n({"import", good}).exitCode, 2);
    EXPECT_EQ(RunK3n({"export", dir.file("missing.fse"), "-o", dir.file("x.csv")}).exitCode, 2);
    EXPECT_EQ(RunK3n({"export", good}).exitCode, 2);

    const QString base = dir.file("band1.fse");
    ASSERT_EQ(RunK3n({"new", "-o", base, "--band", "1"}).exitCode, 0);
    const ToolRun mismatch = RunK3n({"import", good, "--base", base, "--band", "2", "-o", out});
    EXPECT_EQ(mismatch.exitCode, 2);
    EXPECT_TRUE(mismatch.err.contains("--band 2 differs")) << mismatch.err.toStdString();
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_FALSE(QFile::exists(dir.file("x.csv")));
}

TEST_F(ChannelsCsvTool, StandardExportOntoItsOwnBaseUnderStrictGivesBackEveryByte)
{
    // What the common columns do not carry: the radio's own settings beyond what the
    // columns take, and the bits no column names.
    RadioData data = ThreeChannels();
    RadioRecord& r = data.record;
    r.set(rec::ch::squelch(1), 200);
    r.set(rec::ch::xtal_shift(1), 1);
    r.set(rec::ch::busy_lockout(2), 3);
    r.set(rec::ch::bandwidth(2), 1);
    r.set(rec::ch::scan_add(2), 1);
    r.set(rec::ch::tx_power(40), 1);
    r.set(rec::ch::scramble_no(40), 30);
    r.set(rec::ch::signaling_system(40), 6);
    r.set(rec::ch::signaling_no(40), 25);
    for (int n : {1, 2, 40}) {
        r.set(rec::ch::flags_1(n), uint8_t(r.get(rec::ch::flags_1(n)) | 0xA4));
        r.set(rec::ch::flags_2(n), uint8_t(r.get(rec::ch::flags_2(n)) | 0x02));
        r.bytes()[rec::channelOffset(n) + 15] = uint8_t(0x10 + n);
    }
    const QString fse = dir.file("rich.fse"), csv = dir.file("rich.csv"), back = dir.file("back.fse");
    ASSERT_FALSE(SaveFseFile(fse, r));
    const ToolRun exported = RunK3n({"export", fse, "-o", csv, "--standard"});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    const ToolRun imported = RunK3n({"import", csv, "--base", fse, "--strict", "-o", back});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_EQ(FileBytes(back), RecordBytes(r));
    EXPECT_TRUE(imported.err.endsWith(csv + ": 3 row(s) read: 3 imported (0 with changed values), 0 skipped\n"))
        << imported.err.toStdString();
}

TEST_F(ChannelsCsvTool, ExportNamesWhatItsImportWouldNotTakeBackAndWritesTheReceiveCodeForOlderReaders)
{
    RadioData data = ThreeChannels();
    data.record.set(rec::ch::tx_subaudio(40), 14);   // 100.0 Hz out, D754 in: Tone->DTCS
    data.record.set(rec::ch::rx_subaudio(40), 231);
    data.record.set(rec::ch::squelch(2), 12);
    data.record.bytes()[rec::channelOffset(2) + 15] = 0x01;
    const QString fse = dir.file("three.fse"), csv = dir.file("three.csv");
    ASSERT_FALSE(SaveFseFile(fse, data.record));
    const ToolRun exported = RunK3n({"export", fse, "-o", csv});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_EQ(exported.err.split('\n', Qt::SkipEmptyParts),
              (QStringList{"channel 2: Squelch 12 is beyond what an import takes: it keeps the base's value and "
                           "reports it",
                           "channel 2: bits no column holds are set (byte 15: 0x01): the CSV cannot carry them, an "
                           "import keeps them only from its base"}));
    const QStringList lines = QString::fromUtf8(FileBytes(csv)).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[3].startsWith("40,,433.500000,off,0.000000,Cross,100.0,88.5,754,NN,754,Tone->DTCS,"))
        << lines[3].toStdString();
}

TEST_F(ChannelsCsvTool, AnImportOfNoRowWritesNothingAndSaysWhyWithAHint)
{
    const QString csv = dir.file("uhf.csv"), out = dir.file("out.fse");
    WriteFileBytes(csv, "Location;Frequency;Duplex;Offset\r\n1;439,975000;-;5,000000\r\n2;446,006250;;\r\n\x1A");
    const ToolRun refused = RunK3n({"import", csv, "-o", out});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_TRUE(
        refused.err.endsWith(csv + ": 0 of 2 rows imported: all outside 136\u2013174 MHz \u2014 try --band 2\n"))
        << refused.err.toStdString();

    const QString base = dir.file("band0.fse");
    ASSERT_EQ(RunK3n({"new", "-o", base}).exitCode, 0);
    const ToolRun ontoBase = RunK3n({"import", csv, "--base", base, "-o", out});
    EXPECT_EQ(ontoBase.exitCode, 1);
    EXPECT_TRUE(ontoBase.err.contains("try a base of band 2 (K3N [400 - 470 MHz])")) << ontoBase.err.toStdString();
    EXPECT_FALSE(QFile::exists(out));

    // The hint taken: the semicolons and decimal commas read as the spreadsheet meant them.
    const ToolRun taken = RunK3n({"import", csv, "--band", "2", "-o", out});
    ASSERT_EQ(taken.exitCode, 0) << taken.err.toStdString();
    RadioData loaded;
    ASSERT_FALSE(LoadFseFile(out, loaded));
    EXPECT_EQ(loaded.record.get(rec::ch::tx_freq(1)), 434975000u);
    EXPECT_EQ(loaded.record.get(rec::ch::rx_freq(2)), 446006250u);

    // Replacing every channel names the settings left pointing at an empty one.
    RadioData withHome;
    withHome.ResetForBand(2);
    withHome.record.set(rec::ch::in_use(9), 1);
    withHome.record.set(rec::ch::rx_freq(9), 440000000);
    withHome.record.set(rec::home_channel, 8);
    const QString homeBase = dir.file("home.fse");
    ASSERT_FALSE(SaveFseFile(homeBase, withHome.record));
    const ToolRun replaced = RunK3n({"import", csv, "--base", homeBase, "--replace-all", "-o", out});
    ASSERT_EQ(replaced.exitCode, 0) << replaced.err.toStdString();
    EXPECT_TRUE(replaced.err.contains("points at channel 9, which is now empty.")) << replaced.err.toStdString();
}
