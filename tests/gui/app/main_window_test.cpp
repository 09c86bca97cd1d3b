// SPDX-License-Identifier: GPL-3.0-or-later
// The main window driven through its tree, menus, shortcuts and modal
// questions, with probe editors that stand in for the editor pages.
#include "app/main_window.h"
#include "model/fse_file.h"
#include "model/record_layout.h"
#include "support/main_window_fixture.h"
#include "text/app_lang.h"
#include "text/own_texts.h"
#include "text/ui_text.h"
#include "widgets/editor_window.h"
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <array>
#include <gtest/gtest.h>
#include <memory>

using namespace k3n;

namespace {

constexpr std::array<int, kEditorPageCount> kPageCaptionTexts = {25, 181, 183, 184, 185, 187, 188, 189};
constexpr int kPageWithoutEditor = 7;

// Stands in for an editor page: one edit box bound to a key-block byte of its
// own, written when the box loses the focus, as the real editors do.
class ProbeEditor : public EditorWindow {
public:
    ProbeEditor(int page, RadioData& data, QWidget* parent, std::vector<int>& sinkLog)
        : EditorWindow(data, parent), page_(page), sinkLog_(sinkLog)
    {
        eValue = new QLineEdit(this);
        eValue->setObjectName("eValue");
        eValue->setGeometry(10, 10, 120, 24);
        eOther = new QLineEdit(this);
        eOther->setObjectName("eOther");
        eOther->setGeometry(10, 40, 120, 24);
        resize(260, 120);
        bindExit(eValue, [this] { data_.record.set(field(), uint8_t(eValue->text().toInt())); });
        bHide->installEventFilter(this);
        RefreshAll();
    }

    void RefreshAll() override
    {
        ++refreshCount;
        setWindowTitle(UiText(kPageCaptionTexts[page_]));
        eValue->setText(QString::number(data_.record.get(field())));
    }

    U8Field field() const { return rec::key_function(page_ / 3, page_ % 3); }
    QWidget* focusSink() const { return bHide; }
    void requestRefreshOfAllViews() { emit refreshAllViewsRequested(); }

    QLineEdit* eValue;
    QLineEdit* eOther;
    int refreshCount = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == bHide && event->type() == QEvent::FocusIn)
            sinkLog_.push_back(page_);
        return EditorWindow::eventFilter(watched, event);
    }

private:
    int page_;
    std::vector<int>& sinkLog_;
};

class MainWindowTest : public test::MainWindowFixture {
protected:
    void SetUp() override
    {
        makeWindow();
        window->setEditorFactory([this](int page, RadioData& d, QWidget* parent) -> EditorWindow* {
            if (page == kPageWithoutEditor)
                return nullptr;
            ++created[page];
            return new ProbeEditor(page, d, parent, sinkLog);
        });
        showWindow();
    }

    ProbeEditor* probe(int page) const { return static_cast<ProbeEditor*>(window->editorOfPage(page)); }

    // The tree node of a page; -1 is the root.
    QTreeWidgetItem* node(int page) const
    {
        QTreeWidgetItem* root = tree()->topLevelItem(0);
        return page < 0 ? root : root->child(page);
    }
    void clickNode(int page, bool twice = false)
    {
        const QPoint at = tree()->visualItemRect(node(page)).center();
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, at);
        if (twice)   // the second click of a double click
            QTest::mouseDClick(tree()->viewport(), Qt::LeftButton, {}, at);
        QApplication::processEvents();
    }
    // Types into a probe's edit box and leaves the focus there.
    void typeInto(int page, const QString& text)
    {
        QLineEdit* box = probe(page)->eValue;
        QTest::mouseClick(box, Qt::LeftButton);
        box->selectAll();
        QTest::keyClicks(box, text);
        ASSERT_TRUE(box->hasFocus());
    }
    // An editor is deleted first, then the frame it leaves behind.
    void deleteClosedWindows()
    {
        for (int round = 0; round < 2; ++round)
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    std::array<int, kEditorPageCount> created{};
    std::vector<int> sinkLog;
};

TEST_F(MainWindowTest, TreeNodesOpenTheirPageOnceAndBringItBackWithoutReloading)
{
    clickNode(-1);   // "K3N" is page 0 too
    ProbeEditor* first = probe(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(mdi()->activeSubWindow(), window->subWindowOfPage(0));

    // Changed behind the editor's back: a second click must not reload it.
    data.record.set(first->field(), 42);
    clickNode(0);
    EXPECT_EQ(probe(0), first);
    EXPECT_EQ(first->eValue->text(), "0");

    clickNode(5);
    ASSERT_NE(probe(5), nullptr);
    EXPECT_EQ(mdi()->activeSubWindow(), window->subWindowOfPage(5));
    clickNode(0, true);   // a double click brings page 0 back to the front
    EXPECT_EQ(mdi()->activeSubWindow(), window->subWindowOfPage(0));
    EXPECT_EQ(first->refreshCount, 1);

    // A minimised page comes back as a normal window.
    window->subWindowOfPage(5)->showMinimized();
    clickNode(5);
    EXPECT_FALSE(window->subWindowOfPage(5)->isMinimized());
    EXPECT_EQ(mdi()->activeSubWindow(), window->subWindowOfPage(5));
    EXPECT_EQ(created[0], 1);
    EXPECT_EQ(created[5], 1);

    clickNode(kPageWithoutEditor);   // no editor for the page: nothing opens
    EXPECT_EQ(mdi()->subWindowList().size(), 2);
    EXPECT_EQ(window->editorOfPage(kPageWithoutEditor), nullptr);
}

TEST_F(MainWindowTest, ClosingAnEditorFreesItAndTheNextClickCreatesANewOne)
{
    clickNode(1);
    clickNode(2);
    item("FileCloseItem")->trigger();   // closes the active editor
    deleteClosedWindows();
    EXPECT_EQ(window->editorOfPage(2), nullptr);
    ASSERT_NE(window->editorOfPage(1), nullptr);

    window->subWindowOfPage(1)->close();   // the window's own close box
    deleteClosedWindows();
    EXPECT_EQ(window->editorOfPage(1), nullptr);

    clickNode(1);
    EXPECT_EQ(created[1], 2);
    probe(1)->close();   // an editor that closes itself takes its frame along
    deleteClosedWindows();
    EXPECT_EQ(window->editorOfPage(1), nullptr);
    EXPECT_TRUE(mdi()->subWindowList().isEmpty());
}

TEST_F(MainWindowTest, NewAsksFirstAndOkResetsTheRecordToBandZeroWithoutWhatIsBeingTyped)
{
    data.ResetForBand(2);
    data.record.set(rec::ch::rx_freq(1), 436025000);
    data.record.set(rec::ch::in_use(1), 1);
    const RadioRecord before = data.record;
    clickNode(3);

    test::ModalAnswers script;
    script.press("CancelBtn").press("OKBtn");
    QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier);
    ASSERT_EQ(script.answered(), 1u);
    EXPECT_EQ(script.textOf(0), UiText(155));
    EXPECT_EQ(data.record, before);
    EXPECT_EQ(data.band_limits, (BandLimits{400000000, 470000000}));
    EXPECT_EQ(probe(3)->refreshCount, 1);

    window->activateWindow();   // the closed question leaves no window active
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    typeInto(3, "77");
    item("FileNewItem")->trigger();
    ASSERT_TRUE(script.done());
    EXPECT_EQ(probe(3)->refreshCount, 2);
    // Leaving the box the way a user would must not bring the typed value back.
    QTest::mouseClick(probe(3)->eOther, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(data.record, test::FreshRecordOfBand(0));
    EXPECT_EQ(data.band_limits, (BandLimits{136000000, 174000000}));
    EXPECT_EQ(probe(3)->eValue->text(), "0");
}

TEST_F(MainWindowTest, OpenLoadsTheFileSelectsItsBandAndReloadsTheEditors)
{
    RadioData source = test::ConfigurationWithChannel(2, 5, 450012500);
    source.record.set(rec::key_function(0, 0), 9);   // the byte of probe page 0
    chosenFile = saveFile("band2.fse", source);
    clickNode(0);

    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(fileQuestions, std::vector<bool>{false});
    EXPECT_EQ(data.record, source.record);
    EXPECT_EQ(data.band_limits, (BandLimits{400000000, 470000000}));
    EXPECT_EQ(probe(0)->eValue->text(), "9");

    // A cancelled dialog changes nothing.
    data.record.set(rec::key_function(0, 0), 3);
    const RadioRecord before = data.record;
    chosenFile.clear();
    item("FileOpenItem")->trigger();
    EXPECT_EQ(data.record, before);
}

TEST_F(MainWindowTest, OpenRefusesAShortFileAndReportsAFileItCannotReadInTheInterfaceLanguage)
{
    data.record.set(rec::key_function(1, 1), 5);
    const RadioRecord before = data.record;
    const BandLimits limitsBefore = data.band_limits;
    {
        QFile shortFile(dir.file("short.fse"));
        ASSERT_TRUE(shortFile.open(QIODevice::WriteOnly));
        shortFile.write(QByteArray(100, '\x02'));
    }
    // The reasons are told in the interface language, never in the system's English.
    struct Case {
        int language;
        QString file;
        QStringList mentions;
    };
    const std::vector<Case> cases = {
        {0, dir.file("short.fse"), {"short.fse", "100 bytes"}},
        {0, dir.file("missing.fse"), {"missing.fse", "no such file or folder"}},
        {0, dir.path(), {"it is a folder"}},
        {1, dir.file("missing.fse"), {"missing.fse", QString::fromUtf8("无法打开"), QString::fromUtf8("不存在")}},
        {1, dir.file("short.fse"), {QString::fromUtf8("不是配置文件"), "100"}},
        {2, dir.file("missing.fse"), {QString::fromUtf8("無法打開"), QString::fromUtf8("不存在")}},
    };
    test::ModalAnswers notices;
    for (const Case& c : cases) {
        settings.Language = c.language;
        window->RefreshAllViews();
        notices.press("OKBtn");
        chosenFile = c.file;
        item("FileOpenItem")->trigger();
    }
    ASSERT_TRUE(notices.done());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_FALSE(notices.textOf(i).contains("No such")) << notices.textOf(i).toStdString();
        for (const QString& mention : cases[i].mentions)
            EXPECT_TRUE(notices.textOf(i).contains(mention)) << i << ": " << notices.textOf(i).toStdString();
    }
    EXPECT_EQ(data.record, before);
    EXPECT_EQ(data.band_limits, limitsBefore);
}

TEST_F(MainWindowTest, SaveWritesTheRecordWithTheValueBeingTyped)
{
    clickNode(4);
    typeInto(4, "23");
    chosenFile = dir.file("saved.fse");
    item("MenuFile_Save")->trigger();
    EXPECT_EQ(fileQuestions, std::vector<bool>{true});
    EXPECT_EQ(data.record.get(probe(4)->field()), 23);
    RadioData saved;
    ASSERT_FALSE(LoadFseFile(chosenFile, saved));
    EXPECT_EQ(saved.record, data.record);
}

TEST_F(MainWindowTest, QtsOwnTextsFollowTheInterfaceLanguage)
{
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_zh_CN.qm"))
        GTEST_SKIP() << "Qt's translations are not installed (Debian package qt6-translations-l10n)";
    const auto cancel = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
    item("MenuLanguage_Chs")->trigger();
    EXPECT_EQ(cancel(), QString::fromUtf8("取消"));
    settings.Language = 2;
    window->RefreshAllViews();
    EXPECT_EQ(cancel(), QString::fromUtf8("取消"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Open"), QString::fromUtf8("開啟"));
    item("MenuLanguage_En")->trigger();
    EXPECT_EQ(cancel(), "Cancel");
}

TEST_F(MainWindowTest, LanguageMenuRelabelsMenusTreeAndOpenEditorsAtOnce)
{
    settings.Language = 1;
    window->RefreshAllViews();
    clickNode(0);
    clickNode(5);
    EXPECT_EQ(menu("File1")->title(), QString::fromUtf8("文件(&F)"));
    EXPECT_TRUE(item("MenuLanguage_Chs")->isChecked());

    item("MenuLanguage_En")->trigger();
    EXPECT_EQ(settings.Language, 0);
    EXPECT_EQ(appLang().langType(), kLangEnglish);
    EXPECT_TRUE(item("MenuLanguage_En")->isChecked());
    EXPECT_FALSE(item("MenuLanguage_Chs")->isChecked());
    EXPECT_EQ(item("MenuEdit_Read")->text(), "&Read from radio");
    EXPECT_EQ(item("MenuLanguage_Chs")->text(), "Chinese(&Simplified)");
    EXPECT_EQ(menu("File1")->title(), "&File");
    EXPECT_EQ(item("FileOpenItem")->statusTip(), "Open");
    EXPECT_EQ(node(-1)->text(0), "K3N");
    EXPECT_EQ(node(5)->text(0), "DTMF");
    EXPECT_EQ(tree()->topLevelItem(0)->childCount(), kEditorPageCount);
    EXPECT_TRUE(node(-1)->isExpanded());
    EXPECT_EQ(window->subWindowOfPage(0)->windowTitle(), "Channel Settings");
    EXPECT_EQ(probe(5)->refreshCount, 2);

    item("MenuLanguage_Chs")->trigger();
    EXPECT_EQ(settings.Language, 1);
    EXPECT_TRUE(item("MenuLanguage_Chs")->isChecked());
    EXPECT_FALSE(item("MenuLanguage_En")->isChecked());
    EXPECT_EQ(item("FileOpenItem")->statusTip(), QString::fromUtf8("打开"));
    EXPECT_EQ(node(0)->text(0), QString::fromUtf8("信道编辑"));
    EXPECT_EQ(window->subWindowOfPage(5)->windowTitle(), QString::fromUtf8("双音多频(DTMF)"));

    // Traditional has no menu item: neither entry is ticked.
    settings.Language = 2;
    window->RefreshAllViews();
    EXPECT_FALSE(item("MenuLanguage_Chs")->isChecked());
    EXPECT_FALSE(item("MenuLanguage_En")->isChecked());
    EXPECT_EQ(node(0)->text(0), QString::fromUtf8("信道編輯"));
}

TEST_F(MainWindowTest, CloseQuestionKeepsTheProgramOpenUnlessTheDataIsSavedOrDropped)
{
    data.record.set(rec::ch::in_use(9), 1);
    const RadioRecord before = data.record;
    test::ModalAnswers script;
    script.press("CancelBtn").pressEscape().press("OKBtn").press("OKBtn").press("OKBtn").press("OKBtn");

    EXPECT_FALSE(window->close());
    EXPECT_EQ(script.textOf(0), UiText(342));
    EXPECT_FALSE(window->close());
    ASSERT_EQ(script.answered(), 2u);

    // "Yes" and then a cancelled save dialog: closing now would lose the data.
    chosenFile.clear();
    item("FileExitItem")->trigger();
    ASSERT_EQ(script.answered(), 3u);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(fileQuestions, std::vector<bool>{true});

    // "Yes" and a save that fails: reported, the record kept, and still open.
    chosenFile = dir.file("missing-folder/x.fse");
    EXPECT_FALSE(window->close());
    ASSERT_EQ(script.answered(), 5u);
    EXPECT_TRUE(script.textOf(4).contains("x.fse")) << script.textOf(4).toStdString();
    EXPECT_TRUE(script.textOf(4).contains("Cannot save")) << script.textOf(4).toStdString();
    EXPECT_FALSE(QFile::exists(chosenFile));
    EXPECT_EQ(data.record, before);

    chosenFile = dir.file("at-exit.fse");
    EXPECT_TRUE(window->close());
    ASSERT_TRUE(script.done());
    RadioData reloaded;
    ASSERT_FALSE(LoadFseFile(chosenFile, reloaded));
    EXPECT_EQ(reloaded.record, before);
}

TEST_F(MainWindowTest, CloseQuestionNoLeavesWithoutSaving)
{
    test::ModalAnswers no;
    no.press("NoBtn");
    EXPECT_TRUE(window->close());
    ASSERT_TRUE(no.done());
    EXPECT_TRUE(fileQuestions.empty());
}

TEST_F(MainWindowTest, CommitPendingEditsReachesEveryOpenEditorInPageOrder)
{
    for (int page = 0; page < kEditorPageCount; ++page)
        clickNode(page);
    for (int page = 0; page < kPageWithoutEditor; ++page)
        typeInto(page, QString::number(page + 10));
    QMdiSubWindow* active = mdi()->activeSubWindow();
    sinkLog.clear();

    window->CommitPendingEdits();

    for (int page = 0; page < kPageWithoutEditor; ++page) {
        EXPECT_EQ(data.record.get(probe(page)->field()), page + 10) << "page " << page;
        // The focus passed through the sink and went back to the control typed in.
        EXPECT_EQ(probe(page)->focusWidget(), probe(page)->eValue) << "page " << page;
    }
    ASSERT_GE(sinkLog.size(), std::size_t(kPageWithoutEditor));
    EXPECT_EQ(std::vector<int>(sinkLog.begin(), sinkLog.begin() + kPageWithoutEditor),
              (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(mdi()->activeSubWindow(), active);
}

TEST_F(MainWindowTest, AnEditorThatReplacedTheConfigurationReloadsEveryView)
{
    clickNode(0);
    clickNode(2);
    data.record.set(rec::key_function(0, 0), 4);
    data.record.set(rec::key_function(0, 2), 6);
    probe(0)->requestRefreshOfAllViews();
    EXPECT_EQ(probe(0)->eValue->text(), "4");
    EXPECT_EQ(probe(2)->eValue->text(), "6");
}

TEST_F(MainWindowTest, WindowMenuArrangesAndListsTheOpenEditors)
{
    window->resize(1000, 700);
    QApplication::processEvents();
    for (int page : {0, 1, 2})
        clickNode(page);
    const QRect area = mdi()->viewport()->rect();
    const QList<QMdiSubWindow*> windows = mdi()->subWindowList(QMdiArea::CreationOrder);

    // Each window starts where the one before ends, and they fill the area.
    item("WindowTileItem")->trigger();   // one above the other
    int next = 0;
    for (QMdiSubWindow* w : windows) {
        EXPECT_EQ(w->geometry().width(), area.width());
        EXPECT_EQ(w->geometry().top(), std::exchange(next, w->geometry().bottom() + 1));
    }
    EXPECT_EQ(next, area.height());
    item("WindowTileItem2")->trigger();   // side by side
    next = 0;
    for (QMdiSubWindow* w : windows) {
        EXPECT_EQ(w->geometry().height(), area.height());
        EXPECT_EQ(w->geometry().left(), std::exchange(next, w->geometry().right() + 1));
    }
    EXPECT_EQ(next, area.width());

    item("WindowMinimizeItem")->trigger();
    item("WindowArrangeItem")->trigger();   // the icons in a row along the bottom
    next = 0;
    for (QMdiSubWindow* w : windows) {
        EXPECT_TRUE(w->isMinimized());
        EXPECT_EQ(w->geometry().bottom(), area.bottom());
        EXPECT_EQ(w->geometry().left(), std::exchange(next, w->geometry().right() + 1));
    }

    QMenu* windowMenu = menu("Window1");
    const auto listed = [windowMenu] {
        emit windowMenu->aboutToShow();
        QStringList texts;
        for (QAction* a : windowMenu->actions())
            if (a->objectName().startsWith("WindowListItem"))
                texts << a->text();
        return texts;
    };
    EXPECT_EQ(listed(), (QStringList{"&1 Channel Settings", "&2 General Settings", "&3 Key Assignment"}));
    window->findChild<QAction*>("WindowListItem2")->trigger();
    EXPECT_EQ(mdi()->activeSubWindow(), window->subWindowOfPage(1));
    EXPECT_FALSE(window->subWindowOfPage(1)->isMinimized());
    EXPECT_EQ(listed().size(), 3) << "rebuilt, not appended twice";
}

TEST_F(MainWindowTest, AboutBoxShowsTheProductLinesInTheCurrentLanguage)
{
    test::ModalAnswers ok;
    ok.press("OKButton");
    item("HelpAboutItem")->trigger();
    ASSERT_TRUE(ok.done());
    EXPECT_EQ(ok.titleOf(0), "About");
    for (int text : {162, 163, 164})
        EXPECT_TRUE(ok.textOf(0).contains(UiText(text))) << text;
    EXPECT_TRUE(ok.textOf(0).contains("GNU General Public License, version 3 or (at your option) any later version"));
    // No made-up web address in any language.
    for (int language : {0, 1, 2}) {
        ApplyLanguageSetting(language);
        EXPECT_TRUE(UiText(165).isEmpty()) << language;
        EXPECT_FALSE(UiText(163).isEmpty()) << language;
    }
    ApplyLanguageSetting(0);
    EXPECT_FALSE(ok.textOf(0).contains("http"));
}

TEST(DesktopEntry, NamesTheProgramAsItsAboutBoxDoes)
{
    QFile entry(QStringLiteral(K3N_SOURCE_DIR "/resources/k3n-cps.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly | QIODevice::Text));
    QMap<QString, QString> values;
    for (const QString& line : QString::fromUtf8(entry.readAll()).split('\n'))
        if (const int eq = line.indexOf('='); eq > 0)
            values.insert(line.left(eq), line.mid(eq + 1));
    const std::pair<const char*, int> names[] = {{"Name", 0}, {"Name[zh_CN]", 1}, {"Name[zh_TW]", 2}};
    for (const auto& [key, language] : names) {
        ApplyLanguageSetting(language);
        EXPECT_EQ(values.value(key), UiText(162)) << key;
    }
    ApplyLanguageSetting(0);
}

TEST_F(MainWindowTest, ReadFromRadioCommitsWhatIsBeingTyped)
{
    clickNode(1);
    typeInto(1, "31");
    test::ModalAnswers script;   // the programming window opens; leave it without starting
    script.pressEscape();
    item("MenuEdit_Read")->trigger();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(data.record.get(probe(1)->field()), 31);
}

// With the real editor pages.
class MainWindowPages : public test::MainWindowFixture {
protected:
    void SetUp() override
    {
        settings.Language = 1;
        openWindow();
    }
};

TEST_F(MainWindowPages, TheRealPagesOpenFromTheTreeAndFollowTheLanguage)
{
    for (int page = 0; page < kEditorPageCount; ++page) {
        ASSERT_NE(openPage(page), nullptr) << page;
        EXPECT_EQ(window->subWindowOfPage(page)->windowTitle(), UiText(kPageCaptionTexts[page])) << page;
    }
    item("MenuLanguage_En")->trigger();
    for (int page = 0; page < kEditorPageCount; ++page)
        EXPECT_EQ(window->subWindowOfPage(page)->windowTitle(), UiText(kPageCaptionTexts[page])) << page;
    EXPECT_EQ(window->subWindowOfPage(0)->windowTitle(), "Channel Settings");
}

}   // namespace

TEST_F(MainWindowTest, ExportPdfWritesTheReportOfTheOpenFileWithWhatIsBeingTyped)
{
    chosenFile = saveFile("fleet.fse", test::ConfigurationWithChannel(2, 5, 450012500));
    item("FileOpenItem")->trigger();

    // Print and Export PDF sit together between Save and Exit, named in the interface language.
    const QList<QAction*> items = menu("File1")->actions();
    const qsizetype print = items.indexOf(item("MenuFile_Print"));
    EXPECT_EQ(items.indexOf(item("MenuFile_ExportPdf")), print + 1);
    EXPECT_LT(items.indexOf(item("MenuFile_Save")), print);
    EXPECT_GT(items.indexOf(item("FileExitItem")), print + 1);
    EXPECT_EQ(item("MenuFile_Print")->text(), Text(OwnText::MenuPrint));

    clickNode(0);
    typeInto(0, "7");   // not yet committed when the report is asked for
    chosenFile = dir.file("fleet.pdf");
    item("MenuFile_ExportPdf")->trigger();
    ASSERT_TRUE(QFile::exists(chosenFile));
    EXPECT_TRUE(test::FileBytes(chosenFile).startsWith("%PDF"));
    EXPECT_EQ(data.record.get(rec::key_function(0, 0)), 7);
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        return;   // the file is written; its text is checked where poppler-utils is installed
    QProcess pdftotext;
    pdftotext.start("pdftotext", {chosenFile, "-"});
    ASSERT_TRUE(pdftotext.waitForFinished(60000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    EXPECT_TRUE(text.contains("450.01250"));
    EXPECT_TRUE(text.contains("fleet.fse")) << text.toStdString();
}
