// SPDX-License-Identifier: GPL-3.0-or-later
// File > Import channels, Export channels and Compare with file in the main
// window: the report before an import, one undo step, a failed import that
// changes nothing, and the comparison's list opening a page.
#include "app/compare_window.h"
#include "app/import_report_window.h"
#include "app/main_window.h"
#include "editors/channel_window.h"
#include "interchange/configuration_json.h"
#include "model/fse_file.h"
#include "model/record_layout.h"
#include "support/main_window_fixture.h"
#include "text/own_texts.h"
#include "widgets/cell_grid.h"
#include "widgets/message_windows.h"
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace k3n;

namespace {

// Answers the import's report with the named button and closes any notice,
// keeping what each showed.
struct DialogAnswers {
    explicit DialogAnswers(const char* reportButton)
    {
        answers.always<ImportReportWindow>([this, reportButton](ImportReportWindow& report) {
            reports << report.tReport->toPlainText();
            summaries << report.sSummary->text();
            applyOffered << report.bApply->isVisibleTo(&report);
            report.findChild<QPushButton*>(reportButton)->click();
        });
        answers.always<TUserWarnDlg>([this](TUserWarnDlg& notice) {
            notices << notice.WarnDlgText->text();
            notice.accept();
        });
    }
    QStringList reports;
    QStringList summaries;
    QList<bool> applyOffered;
    QStringList notices;
    test::ModalAnswers answers;
};

class InterchangeMenu : public test::MainWindowFixture {
protected:
    void SetUp() override
    {
        data.record.set(rec::ch::in_use(5), 1);
        data.record.set(rec::ch::rx_freq(5), 145000000);
        data.record.set(rec::ch::tx_freq(5), 145000000);
        settings.Port = 0;
        settings.AutoSeachPort = false;
        makeWindow();
        window->setOtherFileChooser([this](bool save, const QString& filter) {
            filters << filter;
            return save ? savePath : openPath;
        });
        showWindow();
    }

    void trigger(const char* name)
    {
        QAction* action = item(name);
        ASSERT_TRUE(action) << name;
        ASSERT_TRUE(menu("File1")->actions().contains(action)) << name;
        action->trigger();
    }

    QString openPath, savePath;
    QStringList filters;
};

const QByteArray kTwoBadRows = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,Mode\n"
                               "1,Home,146.520000,,0.000000,Tone,100.0,FM\n"
                               "2,Far,446.000000,,0.000000,,88.5,FM\n"   // outside band 0
                               "3,Odd,abc,,0.000000,,88.5,NFM\n"   // unreadable
                               "4,Rep,147.120000,-,0.600000,,88.5,NFM\n";

}   // namespace

TEST_F(InterchangeMenu, ImportShowsTheReportAndAppliesTheRowsAsOneUndoStep)
{
    openPath = dir.file("two-bad-rows.csv");
    test::WriteFileBytes(openPath, kTwoBadRows);
    const RadioRecord before = data.record;

    DialogAnswers answers("bApply");
    trigger("FileImportChannels");
    ASSERT_EQ(answers.reports.size(), 1);
    const QStringList report = answers.reports[0].split('\n');
    const auto mentions = [&](const QString& a, const QString& b) {
        return std::any_of(report.begin(), report.end(),
                           [&](const QString& l) { return l.contains(a) && l.contains(b); });
    };
    EXPECT_TRUE(mentions("line 3", "Location 2")) << answers.reports[0].toStdString();
    EXPECT_TRUE(mentions("line 4", "Frequency")) << answers.reports[0].toStdString();
    EXPECT_TRUE(answers.notices.isEmpty());
    EXPECT_EQ(filters.value(0), "CSV (*.csv)");
    EXPECT_EQ(answers.summaries.value(0), "4 row(s) read: 2 imported (0 with changed values), 2 skipped");
    EXPECT_EQ(answers.applyOffered.value(0), true);

    // The two good rows and nothing else; without a Power column the new channels are Low, as the grid starts them.
    RadioRecord expected = before;
    expected.set(rec::ch::in_use(1), 1);
    expected.set(rec::ch::rx_freq(1), 146520000);
    expected.set(rec::ch::tx_freq(1), 146520000);
    expected.set(rec::ch::tx_subaudio(1), 14);   // 100.0 Hz
    expected.set(rec::ch::in_use(4), 1);
    expected.set(rec::ch::rx_freq(4), 147120000);
    expected.set(rec::ch::tx_freq(4), 146520000);
    expected.set(rec::ch::bandwidth(4), 1);
    for (int n : {1, 4}) {
        expected.set(rec::ch::squelch(n), data.record.get(rec::ch::squelch(n)));
        expected.set(rec::ch::scan_add(n), data.record.get(rec::ch::scan_add(n)));
    }
    EXPECT_TRUE(data.record == expected);
    EXPECT_EQ(data.record.get(rec::ch::in_use(2)), 0);
    EXPECT_EQ(data.record.get(rec::ch::in_use(3)), 0);
    EXPECT_EQ(data.record.get(rec::ch::rx_freq(5)), 145000000u);   // the other channels stay

    // One step takes the whole import back.
    QAction* undo = window->findChild<QAction*>("EditUndoItem");
    EXPECT_TRUE(undo->text().contains(Text(OwnText::StepImportChannels))) << undo->text().toStdString();
    undo->trigger();
    EXPECT_TRUE(data.record == before);
}

TEST_F(InterchangeMenu, NoToTheReportOrAFileThatIsNoChannelListChangesNothing)
{
    openPath = dir.file("channels.csv");
    test::WriteFileBytes(openPath, kTwoBadRows);
    const RadioRecord before = data.record;
    {
        DialogAnswers answers("bCancel");
        trigger("FileImportChannels");
        EXPECT_EQ(answers.reports.size(), 1);
        EXPECT_TRUE(data.record == before);
    }
    for (const QByteArray& content :
         {QByteArray(), QByteArray("Location,Name\n1,x\n"), QByteArray("Location,Frequency\n1,\"146.52\n")}) {
        test::WriteFileBytes(openPath, content);
        DialogAnswers answers("bApply");
        trigger("FileImportChannels");
        EXPECT_TRUE(answers.reports.isEmpty());
        ASSERT_EQ(answers.notices.size(), 1);
        EXPECT_TRUE(answers.notices[0].contains("channels.csv")) << answers.notices[0].toStdString();
        EXPECT_TRUE(data.record == before);
    }
    EXPECT_FALSE(window->findChild<QAction*>("EditUndoItem")->isEnabled());
}

TEST_F(InterchangeMenu, AFileWithNoRowForTheBandSaysWhyAndOffersNothingToApply)
{
    openPath = dir.file("uhf.csv");
    test::WriteFileBytes(openPath, "Location,Frequency\n1,446.000000\n2,439.975000\n");
    const RadioRecord before = data.record;
    DialogAnswers answers("bCancel");
    trigger("FileImportChannels");
    ASSERT_EQ(answers.reports.size(), 1);
    EXPECT_EQ(answers.applyOffered.value(0), false);
    EXPECT_EQ(answers.summaries.value(0),
              "0 of 2 rows imported: all outside 136\u2013174 MHz \u2014 choose "
              "K3N [400 - 470 MHz] in the channel settings first");
    EXPECT_TRUE(answers.reports[0].contains("line 2")) << answers.reports[0].toStdString();
    EXPECT_TRUE(data.record == before);
    EXPECT_FALSE(window->findChild<QAction*>("EditUndoItem")->isEnabled());
}

TEST_F(InterchangeMenu, ExportWritesTheChannelsAsCsv)
{
    savePath = dir.file("out.csv");
    DialogAnswers answers("bApply");
    trigger("FileExportChannels");
    const QStringList lines = QString::fromUtf8(test::FileBytes(savePath)).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("Location,Name,Frequency"));
    EXPECT_TRUE(lines[1].startsWith("5,,145.000000,")) << lines[1].toStdString();
    EXPECT_TRUE(answers.notices.isEmpty());
}

TEST_F(InterchangeMenu, CompareWithFileListsTheDifferencesAndADoubleClickOpensTheChannel)
{
    RadioData other = data;
    other.record.set(rec::ch::tx_freq(20), 146000000);
    other.record.set(rec::dtmf::lead_in, 300);
    openPath = dir.file("other.json");
    test::WriteFileBytes(openPath, ConfigurationJsonText(other.record));

    trigger("FileCompareWithFile");
    auto* compare = window->findChild<CompareWindow*>();
    ASSERT_TRUE(compare);
    EXPECT_TRUE(compare->isVisible());
    ASSERT_EQ(compare->tvDifferences->topLevelItemCount(), 2);
    const QTreeWidgetItem* first = compare->tvDifferences->topLevelItem(0);
    EXPECT_EQ(first->text(1), "Channel 20 · TX Freq.");
    EXPECT_EQ(first->text(2), "0");
    EXPECT_EQ(first->text(3), "146.00000");
    EXPECT_TRUE(compare->sSummary->text().contains("2"));

    emit compare->tvDifferences->itemActivated(compare->tvDifferences->topLevelItem(0), 0);
    auto* channels = qobject_cast<TChInforDlg*>(window->editorOfPage(0));
    ASSERT_TRUE(channels);
    EXPECT_EQ(data.record.get(rec::channel_group), 1);   // channels 17..32
    EXPECT_EQ(channels->findChild<CellGrid*>("StringGrid1")->currentRow(), 20 - 16);
    emit compare->tvDifferences->itemActivated(compare->tvDifferences->topLevelItem(1), 0);
    EXPECT_TRUE(window->editorOfPage(int(EditorPage::Dtmf)));

    // A file that cannot be read says so and leaves the open configuration alone.
    const RadioRecord before = data.record;
    openPath = dir.file("missing.fse");
    DialogAnswers answers("bApply");
    trigger("FileCompareWithFile");
    ASSERT_EQ(answers.notices.size(), 1);
    EXPECT_TRUE(answers.notices[0].contains("missing.fse"));
    EXPECT_TRUE(data.record == before);
}
