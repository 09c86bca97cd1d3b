// SPDX-License-Identifier: GPL-3.0-or-later
// The windows that list what a command found or left out, opened through the
// main window's menus and keys: one line per refused row, a list that shows
// its lines whole and scrolls when they are many, counts that agree with
// their noun, and windows that open over the main window and in front.
#include "app/check_window.h"
#include "app/compare_window.h"
#include "app/main_window.h"
#include "editors/settings_editor_driver.h"
#include "interchange/configuration_json.h"
#include "model/record_layout.h"
#include "support/main_window_fixture.h"
#include <QClipboard>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QTreeWidget>
#include <memory>

namespace k3n {
namespace {

using namespace test;

constexpr int kChannelPage = 0;

class ListWindowsTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        makeWindow();
        window->setGeometry(60, 40, 640, 480);   // away from the screen's corner, and smaller than it
        showWindow();
    }

    QTableWidget* channelGrid()
    {
        EditorWindow* channels = window->OpenEditorPage(kChannelPage);
        return Child<QTableWidget>(*channels, "StringGrid1");
    }
    void clickRxCell(int row)
    {
        QTableWidget* grid = channelGrid();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(row, 1)).center());
    }
    // Pastes text with Ctrl+V on the grid and reads the report window that comes up.
    struct Report {
        QStringList lines;
        bool wholeWidth = false;   // every line shown without scrolling sideways
        bool scrolls = false;   // more lines than the window shows
        bool withinScreen = false;
    };
    Report pasteAndReadReport(const QString& text)
    {
        EXPECT_TRUE(ShowActive(*window));   // the keys go to the window the user works in
        Report report;
        QApplication::clipboard()->setText(text);
        ModalAnswers answers;
        answers.then([&report](QWidget* modal) {
            auto* shown = qobject_cast<ReportWindow*>(modal);
            ASSERT_NE(shown, nullptr);
            QApplication::processEvents();
            report.lines = shown->tReport->toPlainText().split('\n');
            report.wholeWidth = shown->tReport->horizontalScrollBar()->maximum() == 0;
            report.scrolls = shown->tReport->verticalScrollBar()->maximum() > 0;
            report.withinScreen = shown->screen()->availableGeometry().contains(shown->frameGeometry());
            shown->OKBtn->click();
        });
        QTest::keyClick(channelGrid(), Qt::Key_V, Qt::ControlModifier);
        EXPECT_TRUE(answers.done());
        return report;
    }
    // A list is shown whole, or the window takes all the room the screen gives it.
    static bool WholeOrAsWideAsAllowed(QWidget& list, QAbstractScrollArea& area)
    {
        const int allowed = int(list.screen()->availableGeometry().width() * 0.85);
        return area.horizontalScrollBar()->maximum() == 0 || list.width() >= allowed - 1;
    }
    // The window lies over the main window, centred on it.
    void expectOverMainWindow(const QWidget& list)
    {
        const QPoint offset = list.frameGeometry().center() - window->frameGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 4) << list.objectName().toStdString();
    }
};

TEST_F(ListWindowsTest, APastedRowWhoseRxIsRefusedIsOneLineOfAReportThatShowsItsLinesWhole)
{
    clickRxCell(1);
    const Report report = pasteAndReadReport("145.5\t145.5\n"
                                             "999\tx\tD023N\tHigh\n"   // far outside the band
                                             "146\tx\n");
    ASSERT_EQ(report.lines.size(), 2) << report.lines.join('|').toStdString();
    EXPECT_TRUE(report.lines[0].contains("999")) << report.lines[0].toStdString();
    EXPECT_TRUE(report.lines[1].contains("Channel 3") && report.lines[1].contains("\"x\""))
        << report.lines[1].toStdString();   // a channel in use: its other refused cells count
    EXPECT_TRUE(report.wholeWidth);
    EXPECT_FALSE(report.scrolls);
    EXPECT_EQ(data.record.get(rec::ch::in_use(2)), 0);

    // Many refused rows onto empty channels, a line each: the window stays on the screen and its list scrolls.
    clickRxCell(5);
    const Report many = pasteAndReadReport(QString("abc\t1\t2\t3\n").repeated(120));
    EXPECT_EQ(many.lines.size(), 120);
    EXPECT_TRUE(many.scrolls);
    EXPECT_TRUE(many.withinScreen);
}

TEST_F(ListWindowsTest, CountsAgreeWithTheirNoun)
{
    // Two rows from channel 128 on: one of them is beyond the last channel.
    QComboBox* group = Child<QComboBox>(*window->OpenEditorPage(kChannelPage), "cbChInforGroup");
    PickEntry(group, 7);
    clickRxCell(16);
    const Report report = pasteAndReadReport("145.5\n146\n");
    EXPECT_EQ(report.lines, QStringList{"1 row on line 2 lies beyond channel 128 and was not pasted"});

    // One error, then two; the warnings' noun agrees with their count too.
    data.record.set(rec::ch::in_use(3), 1);
    data.record.set(rec::ch::rx_freq(3), 445500000);   // outside the band
    data.record.set(rec::ch::tx_freq(3), 145500000);
    item("MenuEdit_Check")->trigger();
    auto* check = window->findChild<CheckWindow*>();
    ASSERT_TRUE(check);
    const auto expectAgreeing = [&](const char* errors) {
        const QString summary = check->sSummary->text();
        EXPECT_TRUE(summary.startsWith(errors)) << summary.toStdString();
        const int warnings = summary.section(", ", 1).section(' ', 0, 0).toInt();
        EXPECT_EQ(summary.endsWith(warnings == 1 ? " warning" : " warnings"), true) << summary.toStdString();
    };
    expectAgreeing("1 error, ");
    data.record.set(rec::ch::in_use(4), 1);
    data.record.set(rec::ch::rx_freq(4), 445500000);
    data.record.set(rec::ch::tx_freq(4), 145500000);
    item("MenuEdit_Check")->trigger();
    expectAgreeing("2 errors, ");
}

TEST_F(ListWindowsTest, TheCheckListOpensOverTheMainWindowShowsItsColumnsWholeAndComesToTheFrontAfterARefusedWrite)
{
    data.record.set(rec::ch::in_use(3), 1);
    data.record.set(rec::ch::rx_freq(3), 445500000);
    data.record.set(rec::ch::tx_freq(3), 145500000);
    ModalAnswers answers;
    answers.press("NoBtn");   // do not write a configuration with errors
    item("MenuEdit_Write")->trigger();
    ASSERT_TRUE(answers.done());
    auto* check = window->findChild<CheckWindow*>();
    ASSERT_TRUE(check);
    EXPECT_TRUE(QTest::qWaitForWindowActive(check)) << "the list the question spoke of is in front";
    expectOverMainWindow(*check);
    EXPECT_TRUE(WholeOrAsWideAsAllowed(*check, *check->tvProblems));
}

TEST_F(ListWindowsTest, TheComparisonOpensOverTheMainWindow)
{
    ScratchDir dir;
    RadioData other = data;
    other.record.set(rec::dtmf::lead_in, 300);
    chosenFile = dir.file("other.json");
    WriteFileBytes(chosenFile, ConfigurationJsonText(other.record));
    item("FileCompareWithFile")->trigger();
    auto* compare = window->findChild<CompareWindow*>();
    ASSERT_TRUE(compare);
    expectOverMainWindow(*compare);
    EXPECT_EQ(compare->sSummary->text().toStdString(), "1 difference");
    EXPECT_EQ(compare->tvDifferences->horizontalScrollBar()->maximum(), 0);
}

}   // namespace
}   // namespace k3n
