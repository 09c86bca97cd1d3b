// SPDX-License-Identifier: GPL-3.0-or-later
// k3n dump --json, import of a JSON file and diff, run as a user runs them.
#include "k3n_tool.h"
#include "model/digit_code.h"
#include "model/fse_file.h"
#include "model/radio_data.h"
#include "model/record_layout.h"
#include "support/test_support.h"
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <random>

using namespace k3n;

namespace {

using test::FileBytes;
using test::RunK3n;
using test::ToolRun;
using test::WriteFileBytes;

QByteArray RandomBytes(unsigned seed)
{
    std::mt19937 random(seed);
    QByteArray bytes(int(RadioRecord::kSize), '\0');
    for (char& byte : bytes)
        byte = char(random());
    return bytes;
}

class JsonAndDiffTool : public ::testing::Test {
protected:
    test::ScratchDir dir;

    // Dumps the file as JSON into name.json and returns its path.
    QString dumpJson(const QString& fse, const QString& name)
    {
        const ToolRun dump = RunK3n({"dump", fse, "--json"});
        EXPECT_EQ(dump.exitCode, 0) << dump.err.toStdString();
        const QString json = dir.file(name);
        WriteFileBytes(json, dump.out.toUtf8());
        return json;
    }
};

}   // namespace

TEST_F(JsonAndDiffTool, DumpThenImportGivesBackTheSameBytesEvenForRandomOnes)
{
    RadioData sample;
    sample.ResetForBand(3);
    sample.record.set(rec::ch::rx_freq(128), 420000000);
    sample.record.set(rec::ch::in_use(128), 1);
    std::vector<QByteArray> contents{
        QByteArray(reinterpret_cast<const char*>(sample.record.bytes().data()), int(RadioRecord::kSize))};
    for (unsigned seed = 11; seed <= 13; ++seed)
        contents.push_back(RandomBytes(seed));
    int n = 0;
    for (const QByteArray& bytes : contents) {
        SCOPED_TRACE(n);
        const QString fse = dir.file(QStringLiteral("in%1.fse").arg(n));
        WriteFileBytes(fse, bytes);
        const QString json = dumpJson(fse, QStringLiteral("in%1.json").arg(n));
        const QString back = dir.file(QStringLiteral("back%1.fse").arg(n));
        const ToolRun imported = RunK3n({"import", json, "-o", back});
        ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
        EXPECT_EQ(FileBytes(back), bytes);
        // The JSON is told by its content too, whatever its name.
        const QString renamed = dir.file(QStringLiteral("config%1.txt").arg(n));
        ASSERT_TRUE(QFile::copy(json, renamed));
        const QString again = dir.file(QStringLiteral("again%1.fse").arg(n));
        ASSERT_EQ(RunK3n({"import", renamed, "-o", again}).exitCode, 0);
        EXPECT_EQ(FileBytes(again), bytes);
        ++n;
    }
}

TEST_F(JsonAndDiffTool, ImportOfJsonKeepsTheBaseForMissingKeysAndRefusesUnknownOnes)
{
    RadioData base;
    base.ResetForBand(1);
    base.record.set(rec::tot, 240);
    const QString baseFile = dir.file("base.fse");
    ASSERT_FALSE(SaveFseFile(baseFile, base.record));

    const QString partial = dir.file("partial.json");
    WriteFileBytes(partial,
                   R"({"format": "k3n-configuration", "general": {"toa": 9, "user_ctcss_freq_text": "ignored"}})");
    const QString out = dir.file("out.fse");
    const ToolRun run = RunK3n({"import", partial, "--base", baseFile, "-o", out});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // A text that says otherwise than its number is reported, and the number taken.
    EXPECT_EQ(run.err,
              partial
                  + ": general.user_ctcss_freq_text: the text 'ignored' says otherwise than the number, "
                    "which reads '62.5'; the number is taken\n");
    const QString strictOut = dir.file("strict.fse");
    const ToolRun strict = RunK3n({"import", partial, "--base", baseFile, "-o", strictOut, "--strict"});
    EXPECT_EQ(strict.exitCode, 1);
    EXPECT_TRUE(strict.err.contains("--strict")) << strict.err.toStdString();
    EXPECT_FALSE(QFile::exists(strictOut));
    RadioData read;
    ASSERT_FALSE(LoadFseFile(out, read));
    RadioRecord expected = base.record;
    expected.set(rec::toa, 9);
    EXPECT_TRUE(read.record == expected);

    const QString refusedOut = dir.file("refused.fse");
    const std::vector<std::pair<QByteArray, QString>> refused{
        {R"({"general": {"toa": 9, "tone": 1}})", "general.tone: unknown key"},
        {"{\n\"general\": {\n\"toa\": 9\n", "line 4"},
        {"", "empty"},
    };
    for (const auto& [content, expectedMessage] : refused) {
        WriteFileBytes(dir.file("bad.json"), content);
        const ToolRun bad = RunK3n({"import", dir.file("bad.json"), "-o", refusedOut});
        EXPECT_EQ(bad.exitCode, 2);
        EXPECT_TRUE(bad.err.contains(expectedMessage) && bad.err.contains("bad.json")) << bad.err.toStdString();
        EXPECT_FALSE(QFile::exists(refusedOut));
    }
    const ToolRun replaceAll = RunK3n({"import", partial, "--replace-all", "-o", refusedOut});
    EXPECT_EQ(replaceAll.exitCode, 2);
    EXPECT_FALSE(QFile::exists(refusedOut));
}

TEST_F(JsonAndDiffTool, InputThatIsNeitherCsvNorJsonExitsTwoNamingTheLineAndWritesNothing)
{
    const QString out = dir.file("out.fse");
    QByteArray garbage = RandomBytes(5);
    garbage[0] = '\x01';
    const std::vector<std::pair<QByteArray, QString>> cases{
        {"", "empty"},
        {garbage, "line 1"},
        {"just some words\nand more words\n", "Frequency"},
        {"Location,Frequency\n1,\"146.520\n2,147.000\n", "line 2"},
    };
    for (const auto& [content, expected] : cases) {
        WriteFileBytes(dir.file("input"), content);
        const ToolRun run = RunK3n({"import", dir.file("input"), "-o", out});
        EXPECT_EQ(run.exitCode, 2) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(expected)) << run.err.toStdString() << " / " << expected.toStdString();
        EXPECT_FALSE(QFile::exists(out));
    }
}

TEST_F(JsonAndDiffTool, DiffPrintsOneLinePerDifferenceAndExitsByTheOutcome)
{
    RadioData a;
    a.record.set(rec::ch::in_use(12), 1);
    a.record.set(rec::ch::rx_freq(12), 146520000);
    a.record.set(rec::ch::tx_freq(12), 146520000);
    WriteDigitCode(a.record, {rec::dtmf::encode(2), rec::dtmf::kEncodeDigits}, "123");
    RadioData b = a;
    b.record.set(rec::ch::tx_freq(12), 147120000);
    WriteDigitCode(b.record, {rec::dtmf::encode(2), rec::dtmf::kEncodeDigits}, "124");
    const QString fileA = dir.file("a.fse"), fileB = dir.file("b.fse");
    ASSERT_FALSE(SaveFseFile(fileA, a.record));
    ASSERT_FALSE(SaveFseFile(fileB, b.record));

    const ToolRun same = RunK3n({"diff", fileA, fileA});
    EXPECT_EQ(same.exitCode, 0);
    EXPECT_EQ(same.out, "");
    EXPECT_TRUE(same.err.contains(fileA) && same.err.contains("same")) << same.err.toStdString();

    const ToolRun english = RunK3n({"diff", fileA, fileB, "--language", "en"});
    EXPECT_EQ(english.exitCode, 1);
    EXPECT_EQ(english.out,
              "[Channel Settings]\nChannel 12 · TX Freq.: 146.52000 → 147.12000\n[DTMF]\n"
              "DTMF · Encode 3: 123 → 124\n");
    EXPECT_TRUE(english.err.contains(fileA) && english.err.contains(fileB) && english.err.contains("2 differences"))
        << english.err.toStdString();

    const ToolRun chinese = RunK3n({"diff", fileA, fileB, "--language", "zh-CN"});
    EXPECT_EQ(chinese.exitCode, 1);
    EXPECT_TRUE(chinese.out.contains("信道 12 · 发射频率: 146.52000 → 147.12000")) << chinese.out.toStdString();

    // A JSON image on one side compares as its record; --json for machines.
    const QString jsonB = dumpJson(fileB, "b.json");
    const ToolRun json = RunK3n({"diff", fileA, jsonB, "--json", "--language", "en"});
    EXPECT_EQ(json.exitCode, 1);
    const QJsonArray list = QJsonDocument::fromJson(json.out.toUtf8()).array();
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list[0]["channel"].toInt(), 12);
    EXPECT_EQ(list[0]["item"].toString(), "Channel 12 · TX Freq.");
    EXPECT_EQ(list[1]["old"].toString(), "123");
    EXPECT_EQ(list[1]["new"].toString(), "124");
    EXPECT_EQ(RunK3n({"diff", fileB, jsonB}).exitCode, 0);

    const ToolRun missing = RunK3n({"diff", fileA, dir.file("missing.fse")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains("missing.fse")) << missing.err.toStdString();
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(RunK3n({"diff", fileA}).exitCode, 2);
    EXPECT_EQ(RunK3n({"diff", fileA, fileB, "--language", "fr"}).exitCode, 2);
}

TEST_F(JsonAndDiffTool, DiffCountsSignalingNumbersFromOneAndReportsTextsThatSayOtherwise)
{
    RadioData a;
    a.record.set(rec::ch::in_use(3), 1);
    a.record.set(rec::ch::rx_freq(3), 146520000);
    a.record.set(rec::ch::tx_freq(3), 146520000);
    a.record.set(rec::ch::signaling_system(3), 1);   // DTMF
    a.record.set(rec::ch::signaling_no(3), 2);   // its entry 3
    RadioData b = a;
    b.record.set(rec::ch::signaling_no(3), 0);
    const QString fileA = dir.file("a.fse"), fileB = dir.file("b.fse");
    ASSERT_FALSE(SaveFseFile(fileA, a.record));
    ASSERT_FALSE(SaveFseFile(fileB, b.record));

    const ToolRun diff = RunK3n({"diff", fileA, fileB, "--language", "en"});
    EXPECT_EQ(diff.exitCode, 1);
    EXPECT_EQ(diff.out, "[Channel Settings]\nChannel 3 · Signaling No.: 3 → 1\n");

    // The JSON image says the entry as a person counts it; a text edited without its number is named.
    QJsonObject root = QJsonDocument::fromJson(FileBytes(dumpJson(fileB, "b.json"))).object();
    QJsonArray channels = root["channels"].toArray();
    QJsonObject three = channels[3].toObject();
    EXPECT_EQ(three["signaling_no_text"].toString(), "1");
    three["signaling_no_text"] = "7";
    channels[3] = three;
    root["channels"] = channels;
    WriteFileBytes(dir.file("edited.json"), QJsonDocument(root).toJson());
    const ToolRun edited = RunK3n({"diff", fileB, dir.file("edited.json")});
    EXPECT_EQ(edited.exitCode, 0);
    EXPECT_TRUE(edited.err.startsWith(dir.file("edited.json")
                                      + ": channels[3].signaling_no_text: the text '7' says "
                                        "otherwise than the number, which reads '1'; the "
                                        "number is taken\n---"))
        << edited.err.toStdString();
}
