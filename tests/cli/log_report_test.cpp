// SPDX-License-Identifier: GPL-3.0-or-later
// k3n log and k3n report run as a user runs them, without a display.
#include "k3n_tool.h"
#include "model/channel_cells.h"
#include "model/editor_page.h"
#include "model/fse_file.h"
#include "model/radio_data.h"
#include "model/record_layout.h"
#include "model/value_codings.h"
#include "programming/programming_log.h"
#include "support/test_support.h"
#include "text/app_lang.h"
#include "text/own_texts.h"
#include "text/ui_text.h"
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace k3n;

namespace {

using test::RunK3n;
using test::ToolRun;

// Each test gets a data folder of its own and runs the tool as if no display were there.
class LogAndReport : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("XDG_DATA_HOME", dir_.file("data").toLocal8Bit());
        qunsetenv("DISPLAY");
        qunsetenv("WAYLAND_DISPLAY");
        qunsetenv("QT_QPA_PLATFORM");
    }
    test::ScratchDir dir_;
};

ProgrammingLogEntry Attempt(int day, const QString& port, WriteOutcome outcome)
{
    return ProgrammingLogEntry{QDateTime(QDate(2026, 12, day), QTime(9, 15), Qt::OffsetFromUTC, 3600),
                               port,
                               "/dev/ttyUSB7",
                               "SN" + port,
                               "K3N [400 - 470 MHz]",
                               "fleet.fse",
                               Sha256Hex(port.toUtf8()),
                               QString(),
                               VerifyResult::Passed,
                               outcome,
                               "message of " + port};
}

// Band 2 with 40 channels in use, each on a frequency of its own.
QString SaveFortyChannels(const QString& path)
{
    RadioData data;
    data.ResetForBand(2);
    for (int ch = 1; ch <= 40; ++ch) {
        data.record.set(rec::ch::in_use(ch), 1);
        data.record.set(rec::ch::rx_freq(ch), uint32_t(400000000 + ch * 1012500));
        data.record.set(rec::ch::tx_freq(ch), uint32_t(410000000 + ch * 2025000));
    }
    EXPECT_FALSE(SaveFseFile(path, data.record));
    return path;
}

QStringList ChannelFrequencies(const QString& path)
{
    RadioData data;
    EXPECT_FALSE(LoadFseFile(path, data));
    QStringList frequencies;
    for (int ch = 1; ch <= rec::kChannelCount; ++ch) {
        if (data.record.get(rec::ch::in_use(ch)))
            frequencies << FormatFrequency(data.record.get(rec::ch::rx_freq(ch)))
                        << FormatFrequency(data.record.get(rec::ch::tx_freq(ch)));
    }
    return frequencies;
}

}   // namespace

TEST_F(LogAndReport, LogPrintsEveryAttemptAsTableOrJsonAndFiltersByDate)
{
    const ToolRun none = RunK3n({"log"});
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_TRUE(none.out.contains("No programming log yet")) << none.out.toStdString();

    const std::vector<ProgrammingLogEntry> attempts{Attempt(6, "COM1", WriteOutcome::Succeeded),
                                                    Attempt(8, "COM2", WriteOutcome::Failed),
                                                    Attempt(9, "COM3", WriteOutcome::Cancelled)};
    for (const ProgrammingLogEntry& e : attempts)
        ASSERT_FALSE(AppendProgrammingLogEntry(ProgrammingLogPath(), e));

    const ToolRun table = RunK3n({"log"});
    ASSERT_EQ(table.exitCode, 0) << table.err.toStdString();
    const QStringList lines = table.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);   // the header and one line per attempt
    for (std::size_t i = 0; i < attempts.size(); ++i) {
        EXPECT_TRUE(lines[qsizetype(i) + 1].contains(attempts[i].message));
        EXPECT_TRUE(lines[qsizetype(i) + 1].contains(WriteOutcomeName(attempts[i].outcome)));
    }

    const ToolRun json = RunK3n({"log", "--json", "--since", "2026-12-08"});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QJsonArray array = QJsonDocument::fromJson(json.out.toUtf8()).array();
    ASSERT_EQ(array.size(), 2);
    EXPECT_EQ(array[0].toObject()["port"].toString(), "COM2");
    EXPECT_EQ(array[0].toObject()["outcome"].toString(), "failed");
    EXPECT_EQ(array[1].toObject()["file_sha256"].toString(), Sha256Hex("COM3"));
    EXPECT_EQ(array[1].toObject()["serial_number"].toString(), "SNCOM3");

    const ToolRun badDate = RunK3n({"log", "--since", "last week"});
    EXPECT_EQ(badDate.exitCode, 2);
    EXPECT_TRUE(badDate.err.contains("'last week' is not a date")) << badDate.err.toStdString();
    EXPECT_TRUE(badDate.out.isEmpty());
}

TEST_F(LogAndReport, PdfReportHoldsEveryChannelAndTheChineseTitles)
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed: scripts/install-deps.sh installs it";
    const QString fse = SaveFortyChannels(dir_.file("fleet.fse"));
    const QString pdf = dir_.file("fleet.pdf");
    const ToolRun run = RunK3n({"report", fse, "-o", pdf, "--language", "zh-CN"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    ASSERT_TRUE(QFile::exists(pdf));

    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(pdftotext.waitForFinished(60000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    for (const QString& frequency : ChannelFrequencies(fse))
        EXPECT_TRUE(text.contains(frequency)) << frequency.toStdString();
    const TAppLang simplified(kLangIdChinesePrc);
    EXPECT_TRUE(text.contains(Text(simplified, OwnText::ReportTitle)));
    for (int page = 0; page < kEditorPages; ++page) {
        const QString title = PlainCaption(UiText(simplified, EditorPageText(EditorPage(page))));
        EXPECT_TRUE(text.contains(title)) << title.toStdString();
    }
    EXPECT_TRUE(text.contains(ChannelHeader(simplified, channel_col::Rx)));
    // The general settings read with the editor's Chinese captions and texts.
    for (const int caption :
         {48 /* TOT */, 46 /* VOX level */, 199 /* voice */, 68 /* beep */, 202 /* talk around */}) {
        const QString shown = PlainCaption(UiText(simplified, caption)).trimmed();
        EXPECT_TRUE(text.contains(shown)) << caption << " " << shown.toStdString();
    }
    EXPECT_TRUE(text.contains(PlainCaption(UiText(simplified, 178 /* OFF */)).trimmed()));
    // Every page ends with its number of the whole.
    EXPECT_TRUE(text.contains(Text(simplified, OwnText::ReportPageOf).arg(1).arg(text.count('\f'))));
}

TEST_F(LogAndReport, HtmlReportIsOnePageOfTheSameContent)
{
    const QString fse = SaveFortyChannels(dir_.file("fleet.fse"));
    const QString html = dir_.file("fleet.html");
    const ToolRun run = RunK3n({"report", fse, "--output", html});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QString page = QString::fromUtf8(test::FileBytes(html));
    EXPECT_TRUE(page.startsWith("<!DOCTYPE html>"));
    for (const QString& frequency : ChannelFrequencies(fse))
        EXPECT_TRUE(page.contains(frequency)) << frequency.toStdString();
    const TAppLang english(kLangIdEnglishUs);
    EXPECT_TRUE(page.contains(Text(english, OwnText::ReportTitle)));
    EXPECT_TRUE(page.contains("fleet.fse"));
}

TEST_F(LogAndReport, BadReportRequestsAreRefusedAndWriteNothing)
{
    const QString fse = SaveFortyChannels(dir_.file("fleet.fse"));
    struct Case {
        QStringList args;
        const char* says;
    };
    const Case cases[] = {
        {{"report", dir_.file("missing.fse"), "-o", dir_.file("out.pdf")}, "cannot read"},
        {{"report", fse, "-o", dir_.file("out.pdf"), "--language", "fr"},
         "--language must be en, zh-CN or zh-TW, not 'fr'"},
        {{"report", fse, "-o", dir_.file("out.txt")}, "must end in .pdf or .html"},
        {{"report", fse}, "-o OUT.pdf|OUT.html is missing"},
        {{"report", "-o", dir_.file("out.pdf")}, "missing"},
    };
    for (const Case& c : cases) {
        const ToolRun run = RunK3n(c.args);
        EXPECT_EQ(run.exitCode, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.says)) << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir_.file("out.pdf")));
    EXPECT_FALSE(QFile::exists(dir_.file("out.txt")));

    // A configuration that cannot be read is refused with its reason, too.
    test::WriteFileBytes(dir_.file("short.fse"), "too short");
    const ToolRun shortFile = RunK3n({"report", dir_.file("short.fse"), "-o", dir_.file("out.html")});
    EXPECT_EQ(shortFile.exitCode, 2);
    EXPECT_FALSE(QFile::exists(dir_.file("out.html")));
}
