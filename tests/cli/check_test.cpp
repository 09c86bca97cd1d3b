// SPDX-License-Identifier: GPL-3.0-or-later
// k3n check run as a user runs it: exit status, text and JSON, unreadable files;
// and k3n write, which refuses a configuration with errors unless forced.
#include "k3n_tool.h"
#include "model/configuration_check.h"
#include "model/fse_file.h"
#include "model/radio_data.h"
#include "model/record_layout.h"
#include "support/test_support.h"
#include "text/app_lang.h"
#include "tool_radio.h"
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace k3n;

namespace {

using test::RunK3n;
using test::ToolRun;

// Band 1 with a good channel, a channel without RX frequency (an error) and
// one off the raster (a warning).
RadioData Spoiled()
{
    RadioData d;
    d.ResetForBand(1);
    RadioRecord& r = d.record;
    for (int n : {1, 2, 3}) {
        r.set(rec::ch::in_use(n), 1);
        r.set(rec::ch::rx_freq(n), 150000000 + 25000 * n);
        r.set(rec::ch::squelch(n), 5);
    }
    r.set(rec::ch::rx_freq(2), 0);
    r.set(rec::ch::tx_freq(3), 151001000);
    return d;
}

std::vector<ConfigurationProblem> Expected(const RadioData& d)
{
    return CheckConfiguration(d.record, TAppLang(kLangIdEnglishUs));
}

class CheckCommand : public ::testing::Test {
protected:
    test::ScratchDir dir;

    QString save(const QString& name, const RadioData& d)
    {
        const QString path = dir.file(name);
        EXPECT_FALSE(SaveFseFile(path, d.record).has_value());
        return path;
    }
};

TEST_F(CheckCommand, AFreshConfigurationPassesWithItsWarningsPrinted)
{
    const QString path = dir.file("fresh.fse");
    ASSERT_EQ(RunK3n({"new", "-o", path, "--band", "3"}).exitCode, 0);
    RadioData fresh;
    fresh.ResetForBand(3);
    const auto expected = Expected(fresh);
    ASSERT_FALSE(expected.empty());

    const ToolRun run = RunK3n({"check", path});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), qsizetype(expected.size()) + 1) << run.out.toStdString();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(lines[qsizetype(i)].startsWith("warning")) << lines[qsizetype(i)].toStdString();
        EXPECT_TRUE(lines[qsizetype(i)].contains(expected[i].message));
    }
    EXPECT_TRUE(lines.last().startsWith("0 errors")) << lines.last().toStdString();
}

TEST_F(CheckCommand, ErrorsGiveExitOneAndNameThePageItemAndMessage)
{
    const RadioData spoiled = Spoiled();
    const auto expected = Expected(spoiled);
    ASSERT_TRUE(HasErrors(expected));
    const ToolRun run = RunK3n({"check", save("spoiled.fse", spoiled)});
    EXPECT_EQ(run.exitCode, 1);
    for (const ConfigurationProblem& p : expected) {
        const QString line = QStringLiteral("%1[Channel Settings] %2: %3")
                                 .arg(p.severity == Severity::Error ? "error   " : "warning ", p.item, p.message);
        EXPECT_TRUE(run.out.contains(line)) << line.toStdString() << "\n" << run.out.toStdString();
    }
    EXPECT_TRUE(run.out.contains("Channel 2, RX Freq.")) << run.out.toStdString();
}

TEST_F(CheckCommand, JsonGivesTheSameProblemsAsAnArray)
{
    const RadioData spoiled = Spoiled();
    const auto expected = Expected(spoiled);
    const ToolRun run = RunK3n({"check", save("spoiled.fse", spoiled), "--json"});
    EXPECT_EQ(run.exitCode, 1);
    const QJsonArray list = QJsonDocument::fromJson(run.out.toUtf8()).array();
    ASSERT_EQ(list.size(), qsizetype(expected.size())) << run.out.toStdString();
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QJsonObject o = list[i].toObject();
        const ConfigurationProblem& p = expected[std::size_t(i)];
        EXPECT_EQ(o["severity"].toString(), p.severity == Severity::Error ? "error" : "warning");
        EXPECT_EQ(o["page"].toInt(-1), int(p.page));
        EXPECT_EQ(o["item"].toString(), p.item);
        EXPECT_EQ(o["message"].toString(), p.message);
        EXPECT_EQ(o["channel"].toInt(), p.channel);
    }
}

TEST_F(CheckCommand, FilesItCannotReadGiveExitTwo)
{
    const QString shortFile = dir.file("short.fse");
    test::WriteFileBytes(shortFile, QByteArray(100, '\0'));
    for (const QString& path : {shortFile, dir.file("missing.fse"), dir.path()}) {
        const ToolRun run = RunK3n({"check", path});
        EXPECT_EQ(run.exitCode, 2) << path.toStdString();
        EXPECT_TRUE(run.err.contains(path)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_EQ(RunK3n({"check"}).exitCode, 2);
    EXPECT_EQ(RunK3n({"check", shortFile, "--yaml"}).exitCode, 2);
}

TEST_F(CheckCommand, HelpListsTheCommand)
{
    const ToolRun help = RunK3n({"--help"});
    EXPECT_TRUE(help.out.contains("\n  check "));
    const ToolRun commandHelp = RunK3n({"check", "--help"});
    EXPECT_EQ(commandHelp.exitCode, 0);
    EXPECT_TRUE(commandHelp.out.startsWith("usage: k3n check FILE.fse [--json]"));
}

// A refused write sends nothing; a forced one writes the radio.
TEST_F(CheckCommand, WriteRefusesErrorsUnlessForcedAndShowsWarnings)
{
    const RadioData spoiled = Spoiled();
    const auto expected = Expected(spoiled);
    const QString path = save("spoiled.fse", spoiled);
    VirtualRadioOptions options;
    options.band = 1;
    const test::ToolRadio radio(dir.file("radio"), options);

    const ToolRun refused = test::RunK3nWithRadios({radio.folder()}, {"write", "--port", radio.devicePath(), path});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("--force")) << refused.err.toStdString();
    EXPECT_TRUE(radio.frames().empty());

    const ToolRun forced =
        test::RunK3nWithRadios({radio.folder()}, {"write", "--port", radio.devicePath(), path, "--force"});
    EXPECT_EQ(forced.exitCode, 0) << forced.err.toStdString();
    for (const ConfigurationProblem& p : expected)
        EXPECT_TRUE(forced.err.contains(p.message)) << forced.err.toStdString();
    EXPECT_FALSE(radio.frames().empty());
}

}   // namespace
