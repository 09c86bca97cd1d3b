// The k3n tool run as a user runs it: new, dump, --json, help and bad input.
#include "model/fse_file.h"
#include "model/radio_data.h"
#include "model/record_layout.h"
#include "support/test_support.h"
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

using namespace k3n;

namespace {

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

ToolRun RunK3n(const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral(K3N_CLI_PATH), args);
    EXPECT_TRUE(process.waitForFinished(60000)) << "k3n did not finish";
    ToolRun run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

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
    d.record.set(rec::ch::rx_freq(1), 436025000);
    d.record.set(rec::ch::tx_freq(1), 438512500);
    d.record.set(rec::ch::rx_subaudio(1), 10);       // 88.5
    d.record.set(rec::ch::tx_subaudio(1), 128);      // D023 ...
    d.record.set(rec::ch::tx_dcs_inverted(1), 1);    // ... inverted
    d.record.set(rec::ch::in_use(1), 1);
    d.record.set(rec::ch::tx_power(1), 1);
    d.record.set(rec::ch::bandwidth(1), 1);
    d.record.set(rec::ch::scan_add(1), 1);
    d.record.set(rec::ch::busy_lockout(1), 2);
    d.record.set(rec::ch::signaling_system(1), 1);
    d.record.set(rec::ch::signaling_no(1), 2);
    d.record.set(rec::ch::squelch(1), 5);
    d.record.set(rec::ch::scramble_no(1), 3);

    d.record.set(rec::ch::rx_freq(17), 440000000);
    d.record.set(rec::ch::in_use(17), 1);
    d.record.set(rec::ch::xtal_shift(17), 1);
    d.record.set(rec::ch::rx_subaudio(17), 60);      // no tone has this code
    d.record.set(rec::ch::busy_lockout(17), 3);
    d.record.set(rec::ch::signaling_system(17), 5);
    d.record.set(rec::ch::squelch(17), 9);

    d.record.set(rec::tot, 300);
    d.record.set(rec::key2_hold, 7);
    d.record.set(rec::scramble_freq(15), 3496);
    d.record.set(rec::dtmf::call_code(1), 0);
    const uint8_t dtmfCode[] = {5, 0x21, 0x43, 0xF5};   // "12345"
    std::copy(std::begin(dtmfCode), std::end(dtmfCode), d.record.slice(rec::dtmf::encode(0), 4).begin());
    d.record.set(U8Field{rec::dtmf::encode(9)}, 0xFF);   // a count past the 24 digits
    const uint8_t fiveToneCode[] = {3, 0xFE, 0xFF};      // "*", "#", "#": earlier digit in the low nibble
    std::copy(std::begin(fiveToneCode), std::end(fiveToneCode), d.record.slice(rec::five_tone::decode(2), 3).begin());
    d.record.set(rec::two_tone::encode(4), 0x3A);        // tone A 10, tone B 3
    return d;
}

class CliTest : public ::testing::Test {
protected:
    QString writeSample()
    {
        const QString path = dir.file("sample.fse");
        EXPECT_FALSE(SaveFseFile(path, SampleConfiguration().record));
        return path;
    }
    test::ScratchDir dir;
};

TEST_F(CliTest, NewWritesTheDefaultsOfEachBand)
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
}

TEST_F(CliTest, NewRefusesBadInputWithoutWritingAnything)
{
    const QString path = dir.file("refused.fse");
    for (const QString& band : {QStringLiteral("4"), QStringLiteral("-1"), QStringLiteral("two"), QString()}) {
        const ToolRun run = RunK3n({"new", "-o", path, "--band", band});
        EXPECT_EQ(run.exitCode, 2) << band.toStdString();
        EXPECT_TRUE(run.err.contains("--band")) << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(path));
    }
    const ToolRun noOutput = RunK3n({"new", "--band", "1"});
    EXPECT_EQ(noOutput.exitCode, 2);
    EXPECT_TRUE(noOutput.err.contains("-o FILE.fse")) << noOutput.err.toStdString();
    EXPECT_EQ(RunK3n({"new", "-o", path, "extra"}).exitCode, 2);
    EXPECT_EQ(RunK3n({"new", "-o", path, "--colour"}).exitCode, 2);
    EXPECT_FALSE(QFile::exists(path));

    const QString unwritable = dir.file("no-such-folder/x.fse");
    const ToolRun failed = RunK3n({"new", "-o", unwritable});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(failed.err.contains(unwritable)) << failed.err.toStdString();
}

TEST_F(CliTest, DumpPrintsTheBandTheChannelsInUseAndTheSettingsBlocks)
{
    const ToolRun run = RunK3n({"dump", writeSample()});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.out.split('\n');
    EXPECT_EQ(lines.value(0), "Band: K3N [400 - 470 MHz] (2)");
    EXPECT_TRUE(lines.contains("Channels in use: 2"));

    auto cellsOfRowStartingWith = [&](const QString& first) {
        for (const QString& line : lines) {
            const QStringList cells = line.split(' ', Qt::SkipEmptyParts);
            if (!cells.isEmpty() && cells.first() == first)
                return cells;
        }
        return QStringList();
    };
    EXPECT_EQ(cellsOfRowStartingWith("1"), (QStringList{"1", "436.02500", "438.51250", "88.5", "D023I", "High", "Narrow",
                                                        "5", "3", "ADD", "BTLO", "OFF", "DTMF", "3"}));
    // Values no editor produces show as they are ("?" for an unknown tone code).
    EXPECT_EQ(cellsOfRowStartingWith("17"), (QStringList{"17", "440.00000", "0", "?", "Off", "Low", "Wide", "9", "0",
                                                         "DEL", "3", "ON", "5", "1"}));
    EXPECT_TRUE(cellsOfRowStartingWith("2").isEmpty());

    for (const char* expected : {"General settings", "Keys", "Scan", "Emergency", "DTMF", "Five-tone", "Two-tone"})
        EXPECT_TRUE(lines.contains(expected)) << expected;
    auto hasLine = [&](const QString& wanted) {
        return std::any_of(lines.begin(), lines.end(), [&](const QString& l) { return l.simplified() == wanted; });
    };
    EXPECT_TRUE(hasLine("tot = 300"));
    EXPECT_TRUE(hasLine("user_ctcss_freq = 62.5"));
    EXPECT_TRUE(hasLine("key2_hold = 7"));
    EXPECT_TRUE(hasLine("scramble 16: freq=3496"));
    EXPECT_TRUE(hasLine("encode 1: digits=12345"));
    EXPECT_TRUE(hasLine("encode 10: digits=" + QString(24, QChar('0'))));
    EXPECT_TRUE(hasLine("decode 3: digits=*## type=0 transpond=255"));
    EXPECT_TRUE(hasLine("encode 5: tone_a=10 tone_b=3"));
    EXPECT_TRUE(hasLine("system 1: call_code=0 id_code=255 duty=0 auto_reset=0 subaudio=0 ani_mode=0 ptt_switch=0 "
                        "sequence=0 decode_mask=0"));
}

TEST_F(CliTest, DumpJsonCarriesTheSameContentWithNamedFields)
{
    const ToolRun run = RunK3n({"dump", writeSample(), "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(run.out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();

    EXPECT_EQ(root["band"].toInt(), 2);
    EXPECT_EQ(root["band_name"].toString(), "K3N [400 - 470 MHz]");
    const QJsonArray channels = root["channels"].toArray();
    ASSERT_EQ(channels.size(), 2);
    const QJsonObject first = channels[0].toObject();
    EXPECT_EQ(first["number"].toInt(), 1);
    EXPECT_EQ(first["rx_freq"].toString(), "436.02500");
    EXPECT_EQ(first["tx_freq"].toString(), "438.51250");
    EXPECT_EQ(first["rx_tone"].toString(), "88.5");
    EXPECT_EQ(first["tx_tone"].toString(), "D023I");
    EXPECT_EQ(first["power"].toString(), "High");
    EXPECT_EQ(first["bandwidth"].toString(), "Narrow");
    EXPECT_EQ(first["squelch"].toInt(), 5);
    EXPECT_EQ(first["scramble"].toInt(), 3);
    EXPECT_EQ(first["scan"].toString(), "ADD");
    EXPECT_EQ(first["lock_out"].toString(), "BTLO");
    EXPECT_EQ(first["xtal_shift"].toString(), "OFF");
    EXPECT_EQ(first["signaling_system"].toString(), "DTMF");
    EXPECT_EQ(first["signaling_no"].toInt(), 3);
    EXPECT_EQ(channels[1].toObject()["number"].toInt(), 17);

    EXPECT_EQ(root["general"]["tot"].toInt(), 300);
    EXPECT_DOUBLE_EQ(root["general"]["user_ctcss_freq"].toDouble(), 62.5);
    const QJsonArray scramble = root["general"]["scramble"].toArray();
    ASSERT_EQ(scramble.size(), 16);
    EXPECT_EQ(scramble[0]["freq"].toInt(), 2632);
    EXPECT_EQ(scramble[15]["freq"].toInt(), 3496);
    EXPECT_EQ(root["keys"]["key2_hold"].toInt(), 7);
    EXPECT_EQ(root["emergency"]["mode"].toInt(), 1);
    EXPECT_EQ(root["dtmf"]["lead_in"].toInt(), 100);
    EXPECT_EQ(root["dtmf"]["systems"].toArray().size(), 8);
    EXPECT_EQ(root["dtmf"]["encode"][0]["digits"].toString(), "12345");
    EXPECT_EQ(root["dtmf"]["encode"][9]["digits"].toString().size(), 24);
    EXPECT_EQ(root["five_tone"]["systems"].toArray().size(), 16);
    EXPECT_EQ(root["five_tone"]["decode"][2]["digits"].toString(), "*##");
    EXPECT_EQ(root["two_tone"]["encode"].toArray().size(), 32);
    EXPECT_EQ(root["two_tone"]["encode"][4]["tone_a"].toInt(), 10);
    EXPECT_EQ(root["two_tone"]["systems"][0]["group_time"].toInt(), 1);
    for (const char* block : {"general", "keys", "scan", "emergency", "dtmf", "five_tone", "two_tone"})
        EXPECT_TRUE(root[block].isObject()) << block;
}

TEST_F(CliTest, DumpReportsFilesItCannotPrint)
{
    const QString missing = dir.file("missing.fse");
    const ToolRun absent = RunK3n({"dump", missing});
    EXPECT_EQ(absent.exitCode, 1);
    EXPECT_TRUE(absent.err.contains(missing)) << absent.err.toStdString();
    EXPECT_TRUE(absent.err.contains("No such file")) << absent.err.toStdString();
    EXPECT_TRUE(absent.out.isEmpty());

    const QString shortFile = dir.file("short.fse");
    {
        QFile f(shortFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(1000, '\0'));
    }
    const ToolRun tooShort = RunK3n({"dump", shortFile});
    EXPECT_EQ(tooShort.exitCode, 1);
    EXPECT_TRUE(tooShort.err.contains(shortFile)) << tooShort.err.toStdString();
    EXPECT_TRUE(tooShort.err.contains("1000 bytes")) << tooShort.err.toStdString();
    EXPECT_TRUE(tooShort.out.isEmpty());

    EXPECT_EQ(RunK3n({"dump"}).exitCode, 2);
    EXPECT_EQ(RunK3n({"dump", shortFile, missing}).exitCode, 2);
    EXPECT_EQ(RunK3n({"dump", "--yaml", shortFile}).exitCode, 2);
}

TEST_F(CliTest, HelpVersionAndUnknownCommands)
{
    const ToolRun help = RunK3n({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("new -o FILE.fse [--band 0..3]"));
    EXPECT_TRUE(help.out.contains("dump FILE.fse [--json]"));

    const ToolRun commandHelp = RunK3n({"new", "--help"});
    EXPECT_EQ(commandHelp.exitCode, 0);
    EXPECT_TRUE(commandHelp.out.startsWith("usage: k3n new")) << commandHelp.out.toStdString();

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

} // namespace
