// SPDX-License-Identifier: GPL-3.0-or-later
// The k3n tool run as a user runs it: new, dump, --json, help and bad input.
#include "k3n_tool.h"
#include "model/fse_file.h"
#include "model/radio_data.h"
#include "model/record_layout.h"
#include "support/test_support.h"
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace k3n;

namespace {

using test::FileBytes;
using test::RunK3n;
using test::ToolRun;

QByteArray RecordBytes(const RadioRecord& record)
{
    return QByteArray(reinterpret_cast<const char*>(record.bytes().data()), qsizetype(record.bytes().size()));
}

// Band 2 with channel 1 in full dress, channel 17 with values no editor
// produces, and a few entries in the signalling tables.
RadioData SampleConfiguration()
{
    RadioData d;
    d.ResetForBand(2);
    RadioRecord& r = d.record;
    r.set(rec::ch::rx_freq(1), 436025000);
    r.set(rec::ch::tx_freq(1), 438512500);
    r.set(rec::ch::rx_subaudio(1), 10);   // 88.5
    r.set(rec::ch::tx_subaudio(1), 128);   // D023 ...
    r.set(rec::ch::tx_dcs_inverted(1), 1);   // ... inverted
    for (BitField flag : {rec::ch::in_use(1), rec::ch::tx_power(1), rec::ch::bandwidth(1), rec::ch::scan_add(1),
                          rec::ch::in_use(17), rec::ch::xtal_shift(17)})
        r.set(flag, 1);
    r.set(rec::ch::signaling_system(1), 1);
    r.set(rec::ch::busy_lockout(1), 2);
    r.set(rec::ch::signaling_no(1), 2);
    r.set(rec::ch::squelch(1), 5);
    r.set(rec::ch::scramble_no(1), 3);
    r.set(rec::ch::rx_freq(17), 440000000);
    r.set(rec::ch::rx_subaudio(17), 60);   // no tone has this code
    r.set(rec::ch::busy_lockout(17), 3);
    r.set(rec::ch::signaling_system(17), 5);
    r.set(rec::ch::squelch(17), 9);

    r.set(rec::tot, 300);
    r.set(rec::key2_hold, 7);
    r.set(rec::scramble_freq(15), 3496);
    r.set(rec::dtmf::call_code(1), 0);
    const uint8_t dtmfCode[] = {5, 0x21, 0x43, 0xF5};   // "12345"
    std::copy(std::begin(dtmfCode), std::end(dtmfCode), r.slice(rec::dtmf::encode(0), 4).begin());
    r.set(U8Field{rec::dtmf::encode(9)}, 0xFF);   // a count past the 24 digits
    const uint8_t fiveToneCode[] = {3, 0xFE, 0xFF};   // "*", "#", "#": earlier digit in the low nibble
    std::copy(std::begin(fiveToneCode), std::end(fiveToneCode), r.slice(rec::five_tone::decode(2), 3).begin());
    r.set(rec::two_tone::encode(4), 0x3A);   // tone A 10, tone B 3
    return d;
}

// The value at a path like "dtmf/encode/0/digits" as text; "#" gives an array's size.
QString JsonAt(QJsonValue value, const QString& path)
{
    for (const QString& step : path.split('/')) {
        if (step == "#")
            return QString::number(value.toArray().size());
        bool index = false;
        const int n = step.toInt(&index);
        value = index ? value.toArray().at(n) : value.toObject().value(step);
    }
    return value.isString() ? value.toString() : value.toVariant().toString();
}

class CliTest : public ::testing::Test {
protected:
    test::ScratchDir dir;
};

TEST_F(CliTest, NewWritesTheDefaultsOfEachBandAndNothingOnBadInput)
{
    for (int band = 0; band < kBandCount; ++band) {
        const QString path = dir.file(QStringLiteral("band%1.fse").arg(band));
        const ToolRun run = RunK3n({"new", "-o", path, "--band", QString::number(band)});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        RadioData expected;
        expected.ResetForBand(band);
        EXPECT_EQ(FileBytes(path), RecordBytes(expected.record)) << "band " << band;
    }
    const QString path = dir.file("default.fse");
    ASSERT_EQ(RunK3n({"new", "--output", path}).exitCode, 0);
    EXPECT_EQ(FileBytes(path), RecordBytes(RadioData().record));

    const QString refused = dir.file("refused.fse");
    for (const QString& band : {QStringLiteral("4"), QStringLiteral("-1"), QStringLiteral("two"), QString()}) {
        const ToolRun run = RunK3n({"new", "-o", refused, "--band", band});
        EXPECT_EQ(run.exitCode, 2) << band.toStdString();
        EXPECT_TRUE(run.err.contains("--band")) << run.err.toStdString();
    }
    const ToolRun noOutput = RunK3n({"new", "--band", "1"});
    EXPECT_EQ(noOutput.exitCode, 2);
    EXPECT_TRUE(noOutput.err.contains("-o FILE.fse")) << noOutput.err.toStdString();
    EXPECT_EQ(RunK3n({"new", "-o", refused, "extra"}).exitCode, 2);
    EXPECT_EQ(RunK3n({"new", "-o", refused, "--colour"}).exitCode, 2);
    EXPECT_FALSE(QFile::exists(refused));

    const QString unwritable = dir.file("no-such-folder/x.fse");
    const ToolRun failed = RunK3n({"new", "-o", unwritable});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(failed.err.contains(unwritable)) << failed.err.toStdString();
}

TEST_F(CliTest, DumpPrintsTheSameContentAsTextAndAsJson)
{
    const QString sample = dir.file("sample.fse");
    ASSERT_FALSE(SaveFseFile(sample, SampleConfiguration().record));
    const ToolRun text = RunK3n({"dump", sample});
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    const ToolRun json = RunK3n({"dump", sample, "--json"});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(json.out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();

    const QStringList lines = text.out.split('\n');
    EXPECT_EQ(lines.value(0), "Band: K3N [400 - 470 MHz] (2)");
    EXPECT_TRUE(lines.contains("Channels in use: 2"));
    EXPECT_EQ(JsonAt(root, "footer/freq_band"), "2");
    EXPECT_EQ(JsonAt(root, "footer/freq_band_text"), "K3N [400 - 470 MHz]");

    // The text's rows are the channels in use; the JSON holds every slot, and its
    // texts say what the text's columns say.
    const std::vector<QStringList> rows{
        {"1", "436.02500", "438.51250", "88.5", "D023I", "High", "Narrow", "5", "3", "ADD", "BTLO", "OFF", "DTMF", "3"},
        {"17", "440.00000", "0", "?", "Off", "Low", "Wide", "9", "0", "DEL", "3", "ON", "5", "1"}};
    const std::vector<std::pair<int, QString>> columnKeys{
        {1, "rx_freq_text"},      {2, "tx_freq_text"},       {3, "rx_subaudio_text"}, {4, "tx_subaudio_text"},
        {5, "tx_power_text"},     {6, "bandwidth_text"},     {7, "squelch"},          {8, "scramble_no"},
        {9, "scan_add_text"},     {10, "busy_lockout_text"}, {11, "xtal_shift_text"}, {12, "signaling_system_text"},
        {13, "signaling_no_text"}};
    EXPECT_EQ(JsonAt(root, "channels/#"), "129");
    for (const QStringList& expected : rows) {
        SCOPED_TRACE(expected.first().toStdString());
        const auto row = std::find_if(lines.begin(), lines.end(), [&](const QString& l) {
            return l.split(' ', Qt::SkipEmptyParts).value(0) == expected.first();
        });
        ASSERT_NE(row, lines.end());
        EXPECT_EQ(row->split(' ', Qt::SkipEmptyParts), expected);
        for (const auto& [column, key] : columnKeys)
            EXPECT_EQ(JsonAt(root, "channels/" + expected.first() + "/" + key), expected[column]) << key.toStdString();
    }
    EXPECT_EQ(JsonAt(root, "channels/1/rx_freq"), "436025000");
    EXPECT_EQ(JsonAt(root, "channels/2/in_use"), "0");

    for (const char* expected : {"General settings", "Keys", "Scan", "Emergency", "DTMF", "Five-tone", "Two-tone"})
        EXPECT_TRUE(lines.contains(expected)) << expected;
    for (const QString& wanted : QStringList{
             "tot = 300", "user_ctcss_freq = 62.5", "key2_hold = 7", "scramble 16: freq=3496", "encode 1: digits=12345",
             "encode 10: digits=" + QString(24, QChar('0')), "decode 3: digits=*## type=0 transpond=255",
             "encode 5: tone_a=10 tone_b=3",
             "system 1: call_code=0 id_code=255 duty=0 auto_reset=0 subaudio=0 ani_mode=0 ptt_switch=0 sequence=0 "
             "decode_mask=0"})
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const QString& l) { return l.simplified() == wanted; }))
            << wanted.toStdString();
    const std::vector<std::pair<QString, QString>> values{{"general/tot", "300"},
                                                          {"general/user_ctcss_freq_text", "62.5"},
                                                          {"general/scramble/#", "16"},
                                                          {"general/scramble/0/freq", "2632"},
                                                          {"general/scramble/15/freq", "3496"},
                                                          {"keys/key2_hold", "7"},
                                                          {"emergency/mode", "1"},
                                                          {"dtmf/lead_in", "100"},
                                                          {"dtmf/systems/#", "8"},
                                                          {"dtmf/encode/0/digits_text", "12345"},
                                                          {"dtmf/encode/9/digits_count", "255"},
                                                          {"dtmf/encode/9/digits_text", QString(24, QChar('0'))},
                                                          {"five_tone/systems/#", "16"},
                                                          {"five_tone/decode/2/digits_text", "*##"},
                                                          {"two_tone/encode/#", "32"},
                                                          {"two_tone/encode/4/tone_a", "10"},
                                                          {"two_tone/encode/4/tone_b", "3"},
                                                          {"two_tone/systems/0/group_time", "1"}};
    for (const auto& [path, expected] : values)
        EXPECT_EQ(JsonAt(root, path), expected) << path.toStdString();
}

TEST_F(CliTest, DumpReportsFilesItCannotPrint)
{
    const QString missing = dir.file("missing.fse");
    const QString shortFile = dir.file("short.fse");
    {
        QFile f(shortFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(1000, '\0'));
    }
    const std::vector<std::pair<QString, QString>> cases{{missing, "no such file or folder"},
                                                         {shortFile, "1000 bytes"}};
    for (const auto& [path, reason] : cases) {
        const ToolRun run = RunK3n({"dump", path});
        EXPECT_EQ(run.exitCode, 2);   // an input that cannot be read
        EXPECT_TRUE(run.err.contains(path) && run.err.contains(reason)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_EQ(RunK3n({"dump"}).exitCode, 2);
    EXPECT_EQ(RunK3n({"dump", shortFile, missing}).exitCode, 2);
    EXPECT_EQ(RunK3n({"dump", "--yaml", shortFile}).exitCode, 2);
}

TEST_F(CliTest, HelpVersionAndUnknownCommands)
{
    const ToolRun help = RunK3n({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("\n  new "));
    EXPECT_TRUE(help.out.contains("\n  dump "));
    const ToolRun commandHelp = RunK3n({"new", "--help"});
    EXPECT_EQ(commandHelp.exitCode, 0);
    EXPECT_TRUE(commandHelp.out.startsWith("usage: k3n new -o FILE.fse [--band 0..3]"))
        << commandHelp.out.toStdString();
    EXPECT_TRUE(RunK3n({"dump", "--help"}).out.startsWith("usage: k3n dump FILE.fse [--json]"));
    const ToolRun version = RunK3n({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.trimmed(), "k3n 1.1.13");

    const ToolRun nothing = RunK3n({});
    EXPECT_EQ(nothing.exitCode, 2);
    EXPECT_TRUE(nothing.err.contains("usage: k3n"));
    const ToolRun unknown = RunK3n({"frobnicate"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains("frobnicate"));
    EXPECT_TRUE(unknown.out.isEmpty());
}

}   // namespace
