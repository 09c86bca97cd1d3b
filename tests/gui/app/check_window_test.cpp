// SPDX-License-Identifier: GPL-3.0-or-later
// The check before a write in the main window: Edit > Check configuration, the
// list's window, a double click that opens the problem's page, and Write to
// radio stopped by errors unless the user says Yes.
#include "app/check_window.h"
#include "app/main_window.h"
#include "app/program_window.h"
#include "editors/channel_window.h"
#include "model/record_layout.h"
#include "support/main_window_fixture.h"
#include "text/app_lang.h"
#include "text/own_texts.h"
#include "widgets/cell_grid.h"
#include "widgets/message_windows.h"
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace k3n;

namespace {

// Band 0 with channel 20 in use but without RX frequency (an error) and
// channel 3 off the raster (a warning).
void Spoil(RadioData& data)
{
    data.ResetForBand(0);
    for (int n : {3, 20}) {
        data.record.set(rec::ch::in_use(n), 1);
        data.record.set(rec::ch::rx_freq(n), 145500000);
        data.record.set(rec::ch::squelch(n), 5);
    }
    data.record.set(rec::ch::rx_freq(20), 0);
    data.record.set(rec::ch::tx_freq(3), 145501000);
}

QTreeWidgetItem* RowOfChannel(const CheckWindow& window, int channel)
{
    for (int i = 0; i < window.tvProblems->topLevelItemCount(); ++i)
        if (window.problems()[std::size_t(i)].channel == channel)
            return window.tvProblems->topLevelItem(i);
    return nullptr;
}

void DoubleClickItem(QTreeWidget* tree, QTreeWidgetItem* item)
{
    // A double click is a press and release, then the second press as a double click.
    tree->scrollToItem(item);
    const QPoint at = tree->visualItemRect(item).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
}

TEST(CheckWindow, ListsEveryProblemAndADoubleClickAsksForItsPageAndChannel)
{
    RadioData data;
    Spoil(data);
    const auto problems = CheckConfiguration(data.record);
    ASSERT_GE(problems.size(), 2u);
    CheckWindow window;
    window.setProblems(problems);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_EQ(window.tvProblems->topLevelItemCount(), int(problems.size()));
    for (int i = 0; i < int(problems.size()); ++i) {
        const QTreeWidgetItem* item = window.tvProblems->topLevelItem(i);
        const ConfigurationProblem& p = problems[std::size_t(i)];
        EXPECT_EQ(item->text(0),
                  Text(p.severity == Severity::Error ? OwnText::CheckSeverityError : OwnText::CheckSeverityWarning));
        EXPECT_EQ(item->text(2), p.item);
        EXPECT_EQ(item->text(3), p.message);
    }
    EXPECT_TRUE(window.sSummary->text().contains(QString::number(problems.size() - 1)));

    QSignalSpy chosen(&window, &CheckWindow::placeChosen);
    DoubleClickItem(window.tvProblems, RowOfChannel(window, 20));
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen.front().at(0).value<EditorPage>(), EditorPage::Channels);
    EXPECT_EQ(chosen.front().at(1).toInt(), 20);

    window.setProblems({});
    EXPECT_EQ(window.tvProblems->topLevelItemCount(), 0);
    EXPECT_EQ(window.sSummary->text(), Text(OwnText::CheckNoProblems));
}

class CheckInMainWindow : public test::MainWindowFixture {
protected:
    void SetUp() override
    {
        Spoil(data);
        settings.Port = 1;
        settings.AutoSeachPort = false;
        openWindow();
    }
    CheckWindow* checkWindow() const { return window->findChild<CheckWindow*>(); }
};

TEST_F(CheckInMainWindow, EditMenuShowsTheListAndADoubleClickSelectsTheChannelsRow)
{
    QAction* check = window->findChild<QAction*>("MenuEdit_Check");
    ASSERT_TRUE(check);
    EXPECT_TRUE(window->findChild<QMenu*>("Edit1")->actions().contains(check));
    EXPECT_EQ(check->text(), Text(OwnText::MenuCheckConfiguration));
    check->trigger();
    CheckWindow* list = checkWindow();
    ASSERT_TRUE(list);
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->problems().size(), CheckConfiguration(data.record).size());

    DoubleClickItem(list->tvProblems, RowOfChannel(*list, 20));
    auto* channels = qobject_cast<TChInforDlg*>(window->editorOfPage(0));
    ASSERT_TRUE(channels);
    EXPECT_EQ(data.record.get(rec::channel_group), 1);   // channels 17..32
    EXPECT_EQ(channels->findChild<CellGrid*>("StringGrid1")->currentRow(), 20 - 16);

    // A problem of another page opens that page.
    data.record.set(rec::dtmf::lead_in, 50);
    check->trigger();
    EXPECT_EQ(checkWindow(), list);   // one list, refreshed
    for (int i = 0; i < list->tvProblems->topLevelItemCount(); ++i)
        if (list->problems()[std::size_t(i)].page == EditorPage::Dtmf)
            DoubleClickItem(list->tvProblems, list->tvProblems->topLevelItem(i));
    EXPECT_TRUE(window->editorOfPage(int(EditorPage::Dtmf)));
}

// Answers the first Yes/No question with the named button and cancels any
// programming window, noting which came up.
struct WriteAnswers {
    explicit WriteAnswers(const char* button)
    {
        answers.always<TMyWarnDlg_3>([this, button](TMyWarnDlg_3& question) {
            questions << question.Label1->text();
            question.findChild<QPushButton*>(button)->click();
        });
        answers.always<TProgramDialog>([this](TProgramDialog& program) {
            ++programWindows;
            program.reject();
        });
    }
    QStringList questions;
    int programWindows = 0;
    test::ModalAnswers answers;
};

TEST_F(CheckInMainWindow, WriteWithErrorsAsksAndNoWritesNothing)
{
    WriteAnswers answers("NoBtn");
    window->MenuEdit_WriteClick();
    ASSERT_EQ(answers.questions.size(), 1);
    EXPECT_EQ(answers.questions.front(),
              "The configuration has 1 error a radio cannot work with (see the check list). Write it anyway?");
    EXPECT_EQ(answers.programWindows, 0);
    ASSERT_TRUE(checkWindow());   // the list says what is wrong
    EXPECT_TRUE(HasErrors(checkWindow()->problems()));
}

TEST_F(CheckInMainWindow, WriteWithErrorsGoesOnAfterYes)
{
    WriteAnswers answers("OKBtn");
    window->MenuEdit_WriteClick();
    EXPECT_EQ(answers.questions.size(), 1);
    EXPECT_EQ(answers.programWindows, 1);
}

TEST_F(CheckInMainWindow, WarningsAloneAreShownAndTheWriteGoesOnWithoutAQuestion)
{
    data.record.set(rec::ch::rx_freq(20), 145500000);
    ASSERT_FALSE(HasErrors(CheckConfiguration(data.record)));
    WriteAnswers answers("NoBtn");
    window->MenuEdit_WriteClick();
    EXPECT_TRUE(answers.questions.isEmpty());
    EXPECT_EQ(answers.programWindows, 1);
    ASSERT_TRUE(checkWindow());
    EXPECT_FALSE(checkWindow()->problems().empty());
}

}   // namespace
