// SPDX-License-Identifier: GPL-3.0-or-later
// What the k3n tool says and how it ends, as a new user meets it: one loader
// for every configuration, one table of exit statuses, help made from the
// command table, English unless asked otherwise, and no stray warnings.
#include "comm/port_list.h"
#include "k3n_tool.h"
#include "model/fse_file.h"
#include "model/radio_data.h"
#include "model/record_layout.h"
#include "programming/several_radios_write.h"
#include "support/test_support.h"
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace k3n {
namespace {

using test::FileBytes;
using test::RunK3n;
using test::ToolRun;
using test::ToolSetting;
using test::WriteFileBytes;

const QString kNotAPortName =
    QStringLiteral("not a port name: use auto, COMn or an absolute device path such as /dev/ttyUSB0");

class CommandLineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RadioData data;
        data.ResetForBand(1);
        for (int n : {1, 2}) {
            data.record.set(rec::ch::in_use(n), 1);
            data.record.set(rec::ch::rx_freq(n), 150000000u + 25000u * n);
            data.record.set(rec::ch::tx_freq(n), 150000000u + 25000u * n);
        }
        sample = dir.file("sample.fse");
        ASSERT_FALSE(SaveFseFile(sample, data.record));
        json = dir.file("sample.json");
        const ToolRun dump = RunK3n({"dump", "--json", sample});
        ASSERT_EQ(dump.exitCode, 0);
        WriteFileBytes(json, dump.out.toUtf8());
        channels = dir.file("channels.csv");
        ASSERT_EQ(RunK3n({"export", sample, "-o", channels}).exitCode, 0);
    }

    // The commands of `k3n --help`.
    static QStringList CommandNames()
    {
        QStringList names;
        static const QRegularExpression line(QStringLiteral("^  ([a-z-]+) "));
        bool listed = false;
        for (const QString& text : RunK3n({"--help"}).out.split('\n')) {
            listed = listed || text == QLatin1String("Commands:");
            if (const auto match = line.match(text); listed && match.hasMatch())
                names << match.captured(1);
        }
        return names;
    }

    static QString ExitStatusBlock(const QString& help) { return help.mid(help.indexOf("Exit status:\n")); }

    test::ScratchDir dir;
    QString sample, json, channels;
};

TEST_F(CommandLineTest, EveryCommandReadsAJsonDumpAndRefusesAChannelList)
{
    // A dump under any name reads as the configuration it was made from.
    const QString unnamed = dir.file("sample.txt");
    QFile::copy(json, unnamed);
    for (const QStringList& args : {QStringList{"dump"}, QStringList{"dump", "--json"}, QStringList{"check"}}) {
        const ToolRun fromFse = RunK3n(args + QStringList{sample});
        for (const QString& input : {json, unnamed}) {
            const ToolRun fromJson = RunK3n(args + QStringList{input});
            EXPECT_EQ(fromJson.exitCode, fromFse.exitCode) << args.join(' ').toStdString();
            EXPECT_EQ(fromJson.out, fromFse.out) << args.join(' ').toStdString();
        }
    }
    const auto sameOutput = [&](const QStringList& args) {
        ASSERT_EQ(RunK3n(QStringList{args[0], sample, "-o", dir.file("from-fse")} + args.mid(1)).exitCode, 0);
        ASSERT_EQ(RunK3n(QStringList{args[0], json, "-o", dir.file("from-json")} + args.mid(1)).exitCode, 0);
        EXPECT_EQ(FileBytes(dir.file("from-json")), FileBytes(dir.file("from-fse"))) << args[0].toStdString();
    };
    sameOutput({"export"});
    sameOutput({"image", "--time", "2024-01-01 00:00"});
    EXPECT_EQ(RunK3n({"diff", sample, unnamed}).exitCode, 0);

    // A channel list holds channels only, even when it is long enough to pass for a configuration.
    QByteArray longList = FileBytes(channels);
    while (longList.size() < 4000)
        longList += "\r\n";
    const QString unnamedList = dir.file("channels.txt");
    WriteFileBytes(unnamedList, longList);
    const QString image = dir.file("sample.bin");
    ASSERT_EQ(RunK3n({"image", sample, "-o", image}).exitCode, 0);
    for (const QString& list : {channels, unnamedList}) {
        const std::vector<QStringList> refusing{
            {"dump", list},
            {"check", list},
            {"export", list, "-o", dir.file("x.csv")},
            {"image", list, "-o", dir.file("x.bin")},
            {"report", list, "-o", dir.file("x.html")},
            {"diff", sample, list},
            {"write", list, "--port", "/dev/k3n-no-such-port"},
            {"restore", list, "--port", "/dev/k3n-no-such-port"},
            {"import", json, "--base", list, "-o", dir.file("x.fse")},
            {"read", "--port", "/dev/k3n-no-such-port", "--base", list, "-o", dir.file("x.fse")},
            {"unimage", image, "--base", list, "-o", dir.file("x.fse")},
        };
        for (const QStringList& args : refusing) {
            const ToolRun run = RunK3n(args);
            EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
            EXPECT_TRUE(run.err.contains(list + ": a channel list: import it onto a configuration first"))
                << args.join(' ').toStdString() << "\n"
                << run.err.toStdString();
            EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
        }
    }
    EXPECT_EQ(RunK3n({"import", unnamedList, "-o", dir.file("imported.fse")}).exitCode, 0);

    // Text that opens an object but is no dump is said to be broken, not printed as garbage.
    WriteFileBytes(dir.file("broken.txt"), "{\n  \"general\": {\"tot\": }\n" + QByteArray(4000, ' '));
    const ToolRun broken = RunK3n({"dump", dir.file("broken.txt")});
    EXPECT_EQ(broken.exitCode, 2);
    EXPECT_TRUE(broken.err.contains("line 2")) << broken.err.toStdString();
    EXPECT_TRUE(broken.out.isEmpty());
}

TEST_F(CommandLineTest, ExitStatusesFollowOneTable)
{
    // 2: an input missing, unreadable or not recognised, whichever command reads it.
    const QString missing = dir.file("missing.fse");
    WriteFileBytes(dir.file("short.fse"), "short");
    for (const QString& input : {missing, dir.file("short.fse")}) {
        const std::vector<QStringList> reading{
            {"dump", input},
            {"check", input},
            {"image", input, "-o", dir.file("x.bin")},
            {"unimage", input, "-o", dir.file("x.fse")},
            {"export", input, "-o", dir.file("x.csv")},
            {"import", input, "-o", dir.file("x.fse")},
            {"report", input, "-o", dir.file("x.html")},
            {"diff", sample, input},
            {"write", input, "--port", "/dev/k3n-no-such-port"},
            {"restore", input, "--port", "/dev/k3n-no-such-port"},
            {"read", "--port", "/dev/k3n-no-such-port", "--base", input, "-o", dir.file("x.fse")},
        };
        for (const QStringList& args : reading) {
            const ToolRun run = RunK3n(args);
            EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString() << "\n" << run.err.toStdString();
            EXPECT_TRUE(run.err.contains(input)) << run.err.toStdString();
        }
    }

    // 2: a name that is no port name; 1: a port this computer does not have.
    const std::vector<QStringList> portCommands{
        {"read", "-o", dir.file("x.fse")}, {"write", sample}, {"restore", sample}};
    for (const QStringList& command : portCommands) {
        for (const QString& relative : {QStringLiteral("ttyUSB0"), QStringLiteral("dev/ttyUSB0")}) {
            const ToolRun run = RunK3n(command + QStringList{"--port", relative});
            EXPECT_EQ(run.exitCode, 2) << command.join(' ').toStdString();
            EXPECT_TRUE(run.err.contains(kNotAPortName)) << run.err.toStdString();
            EXPECT_FALSE(run.err.contains("check the cable")) << run.err.toStdString();
        }
        const ToolRun absent = RunK3n(command + QStringList{"--port", "COM98"});
        EXPECT_EQ(absent.exitCode, 1) << command.join(' ').toStdString();
        EXPECT_TRUE(absent.err.contains("no port COM98")) << absent.err.toStdString();
    }
    const ToolRun listed = RunK3n({"write", sample, "--ports", "/dev/k3n-a,ttyUSB1"});
    EXPECT_EQ(listed.exitCode, 2);
    EXPECT_TRUE(listed.err.contains("'ttyUSB1': " + kNotAPortName)) << listed.err.toStdString();
    if (UsbCablePorts(HalvexComm32::TCommSerialPortInfo()).isEmpty()) {
        const ToolRun noCable = RunK3n({"write", sample, "--all-ports"});
        EXPECT_EQ(noCable.exitCode, 1);
        EXPECT_TRUE(noCable.err.contains("no USB serial cable")) << noCable.err.toStdString();
    }

    // The table itself, the same at the end of every help and in the README.
    const QString table = ExitStatusBlock(RunK3n({"--help"}).out);
    for (const char* line :
         {"  0  success", "  1  failed", "  2  an invalid command line", "  3  written but not verified"})
        EXPECT_TRUE(table.contains(line)) << line;
    for (const QString& command : CommandNames())
        EXPECT_EQ(ExitStatusBlock(RunK3n({command, "--help"}).out), table) << command.toStdString();
    // The README's rows say word for word what the help says (its code marks aside).
    const QString readme = QString::fromUtf8(FileBytes(QStringLiteral(K3N_SOURCE_DIR "/README.md"))).remove('`');
    static const QRegularExpression entry(QStringLiteral("\\n  ([0-3])  ((?:.|\\n     )*)"));
    int rows = 0;
    for (auto match = entry.globalMatch(table); match.hasNext(); ++rows) {
        const auto row = match.next();
        const QString line = QStringLiteral("| %1 | %2 |").arg(row.captured(1), row.captured(2).simplified());
        EXPECT_TRUE(readme.contains(line)) << line.toStdString();
    }
    EXPECT_EQ(rows, 4);
}

TEST_F(CommandLineTest, HelpUsageAndOptionErrorsComeFromOneTable)
{
    // UTF-8 read as UTF-8.
    const ToolRun general = RunK3n({"--help"});
    const ToolRun write = RunK3n({"help", "write"});
    EXPECT_EQ(write.exitCode, 0);
    EXPECT_TRUE(write.out.contains(QStringLiteral("--port PORT \u2026"))) << write.out.toStdString();
    for (const QString& text : {general.out, write.out})
        EXPECT_FALSE(text.contains(QChar(0xE2)) || text.contains(QChar(0x80))) << text.toStdString();

    // Every option of a command's list is in its usage line; 'help CMD' is 'CMD --help'.
    const QStringList commands = CommandNames();
    EXPECT_GE(commands.size(), 17);
    static const QRegularExpression optionName(QStringLiteral("(?:^|, )(--?[a-z][a-z-]*)"));
    for (const QString& command : commands) {
        SCOPED_TRACE(command.toStdString());
        const ToolRun help = RunK3n({"help", command});
        EXPECT_EQ(help.out, RunK3n({command, "--help"}).out);
        const QString usage = help.out.section(QStringLiteral("\n\n"), 0, 0).simplified();
        const QString options = help.out.section(QStringLiteral("Options:\n"), 1).section(QStringLiteral("\n\n"), 0, 0);
        for (const QString& line : options.split('\n')) {
            const auto match = optionName.match(line.trimmed());
            if (match.hasMatch() && match.captured(1) != QLatin1String("-h"))
                EXPECT_TRUE(usage.contains(match.captured(1)))
                    << match.captured(1).toStdString() << " in " << usage.toStdString();
        }
    }
    const QString writeUsage = write.out.section(QStringLiteral("\n\n"), 0, 0);
    for (const char* option : {"--ports LIST", "--all-ports", "--language LANG"})
        EXPECT_TRUE(writeUsage.contains(option)) << option;
    EXPECT_TRUE(RunK3n({"help", "virtual-radio"}).out.section(QStringLiteral("\n\n"), 0, 0).contains("--baud RATE"));

    // Mistakes are told in the tool's own words, with the usage.
    const ToolRun unknown = RunK3n({"dump", sample, "--bogus"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.startsWith("k3n dump: unknown option '--bogus'")) << unknown.err.toStdString();
    EXPECT_FALSE(unknown.err.contains("Unknown option"));
    EXPECT_TRUE(RunK3n({"dump", sample, "--jsno"}).err.contains("did you mean '--json'?"));
    const ToolRun noValue = RunK3n({"new", "-o", dir.file("x.fse"), "--band"});
    EXPECT_EQ(noValue.exitCode, 2);
    EXPECT_TRUE(noValue.err.contains("'--band' needs a value: --band 0..3")) << noValue.err.toStdString();
    EXPECT_TRUE(RunK3n({"dump", sample, "--json=yes"}).err.contains("'--json' takes no value"));
    EXPECT_EQ(RunK3n({"dump", "--json", "--", sample}).exitCode, 0);
    EXPECT_EQ(RunK3n({"dump", "-json", sample}).exitCode, 0);   // one dash, as the tool has always taken it
    const ToolRun noSuchCommand = RunK3n({"help", "dumb"});
    EXPECT_EQ(noSuchCommand.exitCode, 2);
    EXPECT_TRUE(noSuchCommand.err.contains("unknown command 'dumb'; did you mean 'dump'?"))
        << noSuchCommand.err.toStdString();
}

TEST_F(CommandLineTest, TheToolSpeaksEnglishUnlessAskedAndNoQtWarnings)
{
    RadioData changed;
    ASSERT_FALSE(LoadFseFile(sample, changed));
    changed.record.set(rec::ch::rx_freq(2), 150500000);
    changed.record.set(rec::tot, 60);
    const QString other = dir.file("other.fse");
    ASSERT_FALSE(SaveFseFile(other, changed.record));
    const ToolSetting chineseLocale{.setVariables = {"LANG=zh_CN.UTF-8", "LC_ALL=zh_CN.UTF-8", "LANGUAGE=zh_CN"}};
    const ToolRun inChineseLocale = RunK3n({"diff", sample, other}, chineseLocale);
    EXPECT_EQ(inChineseLocale.exitCode, 1);
    EXPECT_EQ(inChineseLocale.out, RunK3n({"diff", sample, other, "--language", "en"}).out);
    EXPECT_NE(inChineseLocale.out, RunK3n({"diff", sample, other, "--language", "zh-CN"}).out);
    EXPECT_TRUE(inChineseLocale.out.contains("Channel 2")) << inChineseLocale.out.toStdString();

    // A report needs Qt GUI, whose start-up wants a runtime folder: none is set under cron or sudo.
    for (const char* output : {"r.html", "r.pdf"}) {
        const ToolRun report = RunK3n({"report", sample, "-o", dir.file(output)},
                                      ToolSetting{.unsetVariables = {"XDG_RUNTIME_DIR", "DISPLAY", "WAYLAND_DISPLAY"}});
        EXPECT_EQ(report.exitCode, 0) << output;
        EXPECT_EQ(report.err, QString()) << output;
        EXPECT_GT(FileBytes(dir.file(output)).size(), 1000) << output;
    }
}

}   // namespace
}   // namespace k3n
