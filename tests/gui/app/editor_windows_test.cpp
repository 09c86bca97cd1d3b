// SPDX-License-Identifier: GPL-3.0-or-later
// The real editor pages inside the main window: where they open, how they
// follow a language switch made through the Language menu, and the titles of
// the windows the menus open.
#include "app/main_window.h"
#include "editors/signal_window_driver.h"
#include "model/fse_file.h"
#include "model/record_layout.h"
#include "support/main_window_fixture.h"
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace k3n;
using namespace k3n::test;

namespace {

enum PageNo { Channels, General, Keys, Scan, Emergency, Dtmf, FiveTone, TwoTone };

class EditorWindowsTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        settings.Language = 1;
        makeWindow();
        window->resize(1280, 800);   // the smallest screen the program is made for
        showWindow();
    }

    QRect workspace() const { return mdi()->viewport()->rect(); }
    void chooseMenu(const char* action) { item(action)->trigger(); }
};

// Captions and lists of the editor that are narrower or lower than their text
// needs, or that stick out of the window: the texts a user sees cut.
QStringList CutControls(EditorWindow& editor)
{
    QStringList cut;
    const QRect inside = editor.rect();
    for (QWidget* w : editor.findChildren<QWidget*>()) {
        const bool captionOrList =
            qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w);
        if (!captionOrList || !w->isVisibleTo(&editor) || w->objectName() == "bHide"
            || qobject_cast<QAbstractItemView*>(w->parentWidget()->parentWidget()))   // a cell editor
            continue;
        const QRect at(w->mapTo(&editor, QPoint(0, 0)), w->size());
        const QSize needed = w->minimumSizeHint();
        if (w->width() < needed.width() || w->height() < needed.height() || !inside.contains(at))
            cut << QStringLiteral("%1 %2x%3 needs %4x%5")
                       .arg(w->objectName())
                       .arg(w->width())
                       .arg(w->height())
                       .arg(needed.width())
                       .arg(needed.height());
    }
    return cut;
}

void StepToPosition(QComboBox* list, int position)
{
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < position; ++i)
        QTest::keyClick(list, Qt::Key_Down);
    ASSERT_EQ(list->currentIndex(), position);
}

void TurnSignalPage(EditorWindow& editor, Page page)
{
    editor.findChild<QTabWidget*>()->setCurrentIndex(page);
    QApplication::processEvents();
}

TEST_F(EditorWindowsTest, WindowsOpenAtTheTopLeftAndAfterALanguageSwitchGrowToTheirTextsInsideTheWorkspace)
{
    for (int page = 0; page < kEditorPageCount; ++page) {
        EditorWindow* editor = openPage(page);
        QMdiSubWindow* sub = window->subWindowOfPage(page);
        EXPECT_EQ(sub->geometry(), QRect(QPoint(0, 0), sub->sizeHint())) << "page " << page;
        EXPECT_EQ(CutControls(*editor), QStringList()) << "page " << page;
    }
    for (int page : {Dtmf, FiveTone, TwoTone})   // room for the grids, as these windows ask
        EXPECT_GE(window->editorOfPage(page)->size().width(), 820) << "page " << page;

    // One window the user made larger and one the user pushed to the right edge.
    QMdiSubWindow* scan = window->subWindowOfPage(Scan);
    scan->resize(scan->size() + QSize(120, 60));
    const QSize enlarged = scan->size();
    QMdiSubWindow* emergency = window->subWindowOfPage(Emergency);
    emergency->move(workspace().width() - emergency->width(), 0);
    const int workspaceWidth = workspace().width();
    QTreeWidget* tree = window->findChild<QTreeWidget*>("TreeView1");

    for (const char* language : {"MenuLanguage_En", "MenuLanguage_Chs", "MenuLanguage_En"}) {
        chooseMenu(language);
        // The controls take their new places through posted layout events and
        // Qt's own short timers; on a busy machine those interleave, so the
        // check waits (up to 5 s) for the layouts to settle.
        const auto settled = [&] {
            for (int page = 0; page < kEditorPageCount; ++page)
                if (!CutControls(*window->editorOfPage(page)).isEmpty())
                    return false;
            return true;
        };
        QTest::qWaitFor(settled, 5000);
        for (int page = 0; page < kEditorPageCount; ++page) {
            QMdiSubWindow* sub = window->subWindowOfPage(page);
            EXPECT_TRUE(workspace().contains(sub->geometry())) << language << " page " << page;
            EXPECT_EQ(CutControls(*window->editorOfPage(page)), QStringList()) << language << " page " << page;
        }
        EXPECT_EQ(scan->size(), enlarged.expandedTo(scan->sizeHint())) << language << ": never smaller";

        // The page tree shows every name whole without taking room from the workspace.
        EXPECT_EQ(workspace().width(), workspaceWidth) << language;
        QTreeWidgetItem* root = tree->topLevelItem(0);
        for (int page = 0; page < kEditorPageCount; ++page) {
            QTreeWidgetItem* node = root->child(page);
            const int textRoom = tree->visualItemRect(node).width() - tree->iconSize().width();
            EXPECT_GE(textRoom, tree->fontMetrics().horizontalAdvance(node->text(0))) << language << " page " << page;
            EXPECT_LE(tree->visualItemRect(node).right(), tree->viewport()->width()) << language << " page " << page;
        }
    }
    EXPECT_EQ(emergency->geometry().right(), workspace().right()) << "kept at the edge it was pushed to";
}

TEST_F(EditorWindowsTest, TileAndCascadeKeepEveryEditorWholeAndTheWorkspaceScrolls)
{
    for (int page = 0; page < kEditorPageCount; ++page)
        openPage(page);
    for (const char* arrangement : {"WindowTileItem", "WindowTileItem2", "WindowCascadeItem"}) {
        chooseMenu(arrangement);
        const auto whole = [&] {
            for (int page = 0; page < kEditorPageCount; ++page)
                if (!CutControls(*window->editorOfPage(page)).isEmpty())
                    return false;
            return true;
        };
        QTest::qWaitFor(whole, 5000);
        for (int page = 0; page < kEditorPageCount; ++page) {
            QMdiSubWindow* sub = window->subWindowOfPage(page);
            EXPECT_GE(sub->width(), sub->minimumSizeHint().width()) << arrangement << " page " << page;
            EXPECT_GE(sub->height(), sub->minimumSizeHint().height()) << arrangement << " page " << page;
            EXPECT_EQ(CutControls(*window->editorOfPage(page)), QStringList()) << arrangement << " page " << page;
        }
    }
    // Eight windows one above the other need more than the workspace's height: it scrolls to them.
    chooseMenu("WindowTileItem");
    QApplication::processEvents();
    EXPECT_GT(mdi()->verticalScrollBar()->maximum(), 0);
}

TEST_F(EditorWindowsTest, AfterOpenTheEditorInUseStaysInFront)
{
    ScratchDir dir;
    const QString path = dir.file("other.fse");
    RadioData other;
    other.ResetForBand(1);
    ASSERT_FALSE(SaveFseFile(path, other.record));
    openPage(TwoTone);
    openPage(Channels);
    ASSERT_EQ(mdi()->activeSubWindow(), window->subWindowOfPage(Channels));

    // A window manager gives the main window back its activation only after
    // the file dialog has gone and the file is open: the editor in front stays.
    QWidget elsewhere;
    ASSERT_TRUE(ShowActive(elsewhere));
    window->setFileNameChooser([&](bool) { return path; });
    chooseMenu("FileOpenItem");
    ASSERT_EQ(data.record, other.record);
    ASSERT_TRUE(ShowActive(*window));
    EXPECT_EQ(mdi()->activeSubWindow(), window->subWindowOfPage(Channels));
}

// One edit on one page, left pending (the control keeps the focus), and what
// it must have written once the language was switched.
struct PendingEdit {
    const char* what;
    int page;
    std::function<void(EditorWindow&)> make;
    std::function<unsigned(const RadioRecord&)> stored;
    unsigned expected;
};

TEST_F(EditorWindowsTest, ALanguageSwitchKeepsWhatIsBeingEditedOnEveryPage)
{
    const auto list = [](const char* name, int position) {
        return [=](EditorWindow& editor) { PickEntry(Child<QComboBox>(editor, name), position); };
    };
    const auto byte = [](U8Field field) { return [=](const RadioRecord& r) { return unsigned(r.get(field)); }; };
    const PendingEdit edits[] = {
        {"typed frequency", Channels,
         [](EditorWindow& editor) {
             auto* grid = Child<QTableWidget>(editor, "StringGrid1");
             DoubleClick(grid->viewport(), grid->visualRect(grid->model()->index(2, 1)).center());
             QTest::keyClicks(Child<QLineEdit>(editor, "Edit_ChFreq"), "147.3");
         },
         [](const RadioRecord& r) { return unsigned(r.get(rec::ch::rx_freq(2))); }, 147300000},
        {"ticked box", General, [](EditorWindow& editor) { ClickBox(Child<QAbstractButton>(editor, "cKeyLock")); },
         [](const RadioRecord& r) { return unsigned(r.get(rec::key_lock)); }, 1},
        {"list pick", General, list("cbTOT", 7), [](const RadioRecord& r) { return unsigned(r.get(rec::tot)); }, 7},
        {"list pick", Keys, list("cbEmgHoldTime", 4), byte(rec::emergency_hold_time), 4},
        {"list pick", Scan, list("cbScanBusyTime", 3), byte(rec::scan_busy_time), 3},
        {"list pick", Emergency, list("cbRxTime", 5), byte(rec::emergency_rx_time), 5},
        {"typed code", Dtmf,
         [](EditorWindow& editor) {
             TurnSignalPage(editor, DecodePage);
             QTest::keyClicks(OpenEdit(Child<CellGrid>(editor, "sgDecode"), 1, 1), "123");
         },
         [](const RadioRecord& r) { return unsigned(r.get(U8Field{rec::dtmf::decode(0)})); }, 3},
        {"open cell list", FiveTone,
         [](EditorWindow& editor) {
             TurnSignalPage(editor, DecodePage);
             StepToPosition(OpenList(Child<CellGrid>(editor, "sgDecode"), 1, 2), 3);
         },
         byte(rec::five_tone::decode_type(0)), 3},
        {"open cell list", TwoTone,
         [](EditorWindow& editor) {
             TurnSignalPage(editor, EncodePage);
             StepToPosition(OpenList(Child<CellGrid>(editor, "sgEncode"), 1, 1), 4);   // tone "3"
         },
         byte(rec::two_tone::encode(0)), 0xF3},
    };

    bool english = false;
    for (const PendingEdit& edit : edits) {
        SCOPED_TRACE(std::string(edit.what) + " on page " + std::to_string(edit.page));
        ASSERT_NE(edit.stored(data.record), edit.expected) << "the edit would change nothing";
        EditorWindow* editor = openPage(edit.page);
        ASSERT_NE(editor, nullptr);
        edit.make(*editor);
        ASSERT_NE(edit.stored(data.record), edit.expected) << "written before the switch";
        english = !english;
        chooseMenu(english ? "MenuLanguage_En" : "MenuLanguage_Chs");
        EXPECT_EQ(edit.stored(data.record), edit.expected);
    }
}

// Opens the modal window a menu command shows, reads its title and closes it.
QString TitleOfWindowOpenedBy(QAction* command)
{
    QString title;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            title = modal->windowTitle();
            poll.stop();
            modal->reject();
        }
    });
    poll.start(0);
    command->trigger();
    return title;
}

TEST_F(EditorWindowsTest, WindowsOpenedFromTheMenusAreTitledWithoutTheMenusKeyLetter)
{
    struct Case {
        const char* command;
        int language;
        const char* title;
    };
    const Case cases[] = {
        {"MenuPort", 1, "通讯端口"},
        {"MenuEdit_Read", 1, "读频"},
        {"MenuEdit_Write", 1, "写频"},
        {"Menu_RadioTest", 1, "对讲机测试"},   // the service password, not the radio's power-on password
        {"MenuPort", 0, "Communication Port"},
        {"MenuEdit_Read", 0, "Read from radio"},
        {"Menu_RadioTest", 0, "Radio Test"},
    };
    for (const Case& c : cases) {
        settings.Language = c.language;
        window->RefreshAllViews();
        EXPECT_EQ(TitleOfWindowOpenedBy(item(c.command)), QString::fromUtf8(c.title))
            << c.command << " in language " << c.language;
    }
}

}   // namespace
