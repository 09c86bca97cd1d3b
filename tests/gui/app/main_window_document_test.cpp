// SPDX-License-Identifier: GPL-3.0-or-later
// The document in the main window, driven through its menus, keys and
// questions: the file the configuration belongs to follows undo and redo,
// unsaved work is asked about before it is replaced, the caption and the
// status bar say what is open and what a command did, in the interface language.
#include "app/main_window.h"
#include "editors/settings_editor_driver.h"
#include "model/fse_file.h"
#include "model/record_layout.h"
#include "programming/radio_backups.h"
#include "support/main_window_fixture.h"
#include <QCheckBox>
#include <QClipboard>
#include <QDateTime>
#include <QLabel>
#include <QStatusBar>
#include <QTableWidget>
#include <QTreeWidget>
#include <memory>

namespace k3n {
namespace {

using namespace test;

constexpr int kChannelPage = 0;
class DocumentTest : public MainWindowFixture {
protected:
    // A real edit: the general settings' key lock, stored when the focus leaves it.
    void toggleKeyLock()
    {
        EditorWindow* general = openPage(kGeneralPage);
        ClickBox(Child<QCheckBox>(*general, "cKeyLock"));
        LeaveControl(*general);
    }
    // Types an RX frequency into a channel row of the grid.
    void typeRx(int row, const QString& text)
    {
        EditorWindow* channels = openPage(kChannelPage);
        auto* grid = Child<QTableWidget>(*channels, "StringGrid1");
        DoubleClick(grid->viewport(), grid->visualRect(grid->model()->index(row, 1)).center());
        auto* box = Child<QLineEdit>(*channels, "Edit_ChFreq");
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    // The caption as the window system shows it: the marker replaced by "*" while modified.
    std::string caption() const
    {
        QString title = window->windowTitle();
        return title.replace("[*]", window->isWindowModified() ? "*" : "").toStdString();
    }
    std::string file() const { return window->currentFile().toStdString(); }
    std::string status() const { return window->statusBar()->currentMessage().toStdString(); }
    std::string startHint() const
    {
        QLabel* hint = window->findChild<QLabel*>("StartHint");
        return hint && hint->isVisibleTo(window.get()) ? hint->text().toStdString() : std::string();
    }
    // The File menu's recent-file item of path.
    QAction* recentItemOf(const QString& path) const
    {
        for (int i = 1; i <= kRecentFileCount; ++i)
            if (QAction* recent = item(QStringLiteral("FileRecentItem%1").arg(i).toLatin1().constData());
                recent->isVisible() && recent->statusTip() == path)
                return recent;
        ADD_FAILURE() << "no recent item of " << path.toStdString();
        return nullptr;
    }
};

TEST_F(DocumentTest, TheOpenFileAndItsSavedStateFollowUndoAndRedo)
{
    const QString a = fileOfBand("a.fse", 0), b = fileOfBand("b.fse", 2);
    EXPECT_EQ(caption(), "K3N");
    chosenFile = a;
    pressKey(Qt::Key_O);
    EXPECT_EQ(caption(), "K3N \u2014 a.fse");
    toggleKeyLock();
    EXPECT_EQ(caption(), "K3N \u2014 a.fse*");
    pressKey(Qt::Key_S);   // saved under its own name
    EXPECT_EQ(fileQuestions, (std::vector<bool>{false, true}));   // Open, then Save
    EXPECT_EQ(caption(), "K3N \u2014 a.fse");

    chosenFile = b;
    pressKey(Qt::Key_O);
    EXPECT_EQ(caption(), "K3N \u2014 b.fse");
    pressKey(Qt::Key_Z);   // Undo Open: a.fse as it was saved is open again
    EXPECT_EQ(file(), a.toStdString());
    EXPECT_EQ(caption(), "K3N \u2014 a.fse");
    EXPECT_TRUE(window->reportHtml().contains("a.fse"));
    pressKey(Qt::Key_Z);   // Undo the key lock: a.fse now differs from what was saved in it
    EXPECT_EQ(caption(), "K3N \u2014 a.fse*");
    pressKey(Qt::Key_Z);   // Undo Open of a.fse: the fresh configuration, no file
    EXPECT_EQ(file(), "");
    EXPECT_EQ(caption(), "K3N");
    pressKey(Qt::Key_Y);
    pressKey(Qt::Key_Y);
    pressKey(Qt::Key_Y);   // Redo Open of b.fse
    EXPECT_EQ(file(), b.toStdString());
    EXPECT_EQ(caption(), "K3N \u2014 b.fse");

    // New has no file; undoing it brings b.fse back, unchanged.
    AnswerNextQuestion("OKBtn");
    pressKey(Qt::Key_N);
    EXPECT_EQ(caption(), "K3N");
    pressKey(Qt::Key_Z);
    EXPECT_EQ(caption(), "K3N \u2014 b.fse");

    // An import changes the open file's configuration; undone, it is as saved again.
    chosenFile = dir.file("one.csv");
    WriteFileBytes(chosenFile, "Location,Frequency\n7,410.5\n");
    ModalAnswers answers;
    answers.press("bApply");
    item("FileImportChannels")->trigger();
    EXPECT_TRUE(answers.done());
    EXPECT_EQ(caption(), "K3N \u2014 b.fse*");
    pressKey(Qt::Key_Z);
    EXPECT_EQ(caption(), "K3N \u2014 b.fse");
}

TEST_F(DocumentTest, ARestoredBackupHasNoFileUntilSavedAndUndoBringsTheFileBack)
{
    const QString a = fileOfBand("a.fse", 0);
    chosenFile = a;
    pressKey(Qt::Key_O);
    RadioData radio;
    radio.ResetForBand(1);
    ASSERT_TRUE(SaveBackup(BackupFolder(), radio.record, "88017", QDateTime::currentDateTime()));

    ModalAnswers answers;
    answers.press("bOpen");   // the newest backup, chosen
    answers.press("NoBtn");   // not written into a radio now
    item("MenuFile_Restore")->trigger();
    ASSERT_TRUE(answers.done());
    EXPECT_EQ(data.record, radio.record);
    EXPECT_EQ(file(), "");
    EXPECT_EQ(caption(), "K3N*");   // what the radio held is in no file of the user's
    pressKey(Qt::Key_Z);
    EXPECT_EQ(file(), a.toStdString());
    EXPECT_EQ(caption(), "K3N \u2014 a.fse");
}

TEST_F(DocumentTest, OpenAsksBeforeUnsavedWorkIsReplaced)
{
    const QString a = fileOfBand("a.fse", 0), b = fileOfBand("b.fse", 2);
    // Nothing to lose: no question.
    chosenFile = a;
    pressKey(Qt::Key_O);
    toggleKeyLock();
    const RadioRecord edited = data.record;

    ModalAnswers answers;
    QString question;
    answers.then([&question](QWidget* modal) {
        question = modal->findChild<QLabel*>("Label1")->text();
        modal->findChild<QPushButton*>("CancelBtn")->click();
    });
    chosenFile = b;
    pressKey(Qt::Key_O);
    EXPECT_TRUE(answers.done());
    EXPECT_EQ(question.toStdString(), "The configuration has changes that are not saved. Save them first?");
    EXPECT_EQ(data.record, edited);   // Cancel: nothing happens
    EXPECT_EQ(caption(), "K3N \u2014 a.fse*");

    // Yes saves through Save, which asks for the name, and then opens.
    const QString kept = dir.file("kept.fse");
    answers.then([this, kept](QWidget* modal) {
        chosenFile = kept;   // the save dialog's answer
        modal->findChild<QPushButton*>("OKBtn")->click();
    });
    chosenFile = b;
    item("FileOpenItem")->trigger();
    EXPECT_TRUE(answers.done());
    RadioData saved;
    ASSERT_FALSE(LoadFseFile(kept, saved).has_value());
    EXPECT_EQ(saved.record, edited);
    EXPECT_EQ(file(), b.toStdString());

    // The save dialog cancelled: nothing is opened either.
    toggleKeyLock();

    ASSERT_EQ(caption(), "K3N \u2014 b.fse*");
    answers.then([this](QWidget* modal) {
        chosenFile.clear();
        modal->findChild<QPushButton*>("OKBtn")->click();
    });
    chosenFile = a;
    pressKey(Qt::Key_O);
    EXPECT_TRUE(answers.done());
    EXPECT_EQ(file(), b.toStdString());
    EXPECT_EQ(caption(), "K3N \u2014 b.fse*");

    // No drops the changes; a recent file asks the same.
    answers.press("NoBtn");
    recentItemOf(a)->trigger();
    EXPECT_TRUE(answers.done());
    EXPECT_EQ(file(), a.toStdString());
    EXPECT_EQ(caption(), "K3N \u2014 a.fse");
}

TEST_F(DocumentTest, TheStatusBarConfirmsWhatWasWrittenInTheInterfaceLanguage)
{
    typeRx(1, "145.5");
    chosenFile = dir.file("club.fse");
    pressKey(Qt::Key_S);
    EXPECT_EQ(status(), ("Saved " + dir.file("club.fse")).toStdString());
    EXPECT_EQ(caption(), "K3N \u2014 club.fse");

    chosenFile = dir.file("channels.csv");
    item("FileExportChannels")->trigger();
    EXPECT_EQ(status(), ("Exported 1 channel to " + chosenFile).toStdString());
    typeRx(2, "146");
    item("FileExportChannels")->trigger();
    EXPECT_EQ(status(), ("Exported 2 channels to " + chosenFile).toStdString());

    // A PDF named without a suffix gets one, as a saved configuration gets ".fse".
    chosenFile = dir.file("report");
    item("MenuFile_ExportPdf")->trigger();
    EXPECT_TRUE(FileBytes(dir.file("report.pdf")).startsWith("%PDF"));
    EXPECT_FALSE(QFileInfo::exists(dir.file("report")));
    EXPECT_EQ(status(), ("Exported the report to " + dir.file("report.pdf")).toStdString());

    chosenFile = dir.file("more.csv");
    WriteFileBytes(chosenFile, "Location,Frequency\n9,147.5\n");
    ModalAnswers answers;
    answers.press("bApply");
    item("FileImportChannels")->trigger();
    EXPECT_TRUE(answers.done());
    EXPECT_EQ(status(), ("Imported channels from " + chosenFile).toStdString());

    item("MenuLanguage_Chs")->trigger();
    QApplication::clipboard()->setText("147.25\n147.5\n");
    EditorWindow* channels = openPage(kChannelPage);
    auto* grid = Child<QTableWidget>(*channels, "StringGrid1");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(4, 1)).center());
    item("EditPasteItem")->trigger();
    EXPECT_EQ(status(), "已粘贴 2 个信道");
}

TEST_F(DocumentTest, AnEmptyConfigurationSaysHowToStartAndTheNotesFollowTheLanguage)
{
    EXPECT_EQ(startHint(), "Type a frequency in a row to add a channel");
    window->showVirtualRadioNote("COM3", "/dev/pts/9");
    QLabel* note = window->findChild<QLabel*>("VirtualRadioNote");
    ASSERT_TRUE(note);
    EXPECT_EQ(note->text().toStdString(), "Virtual radio attached: COM3 \u2014 /dev/pts/9");

    item("MenuLanguage_Chs")->trigger();
    EXPECT_EQ(startHint(), "在一行中输入频率即可添加信道");
    EXPECT_EQ(note->text().toStdString(), "已连接虚拟对讲机：COM3 \u2014 /dev/pts/9");
    typeRx(1, "145");
    EXPECT_EQ(startHint(), "");   // a channel in use: nothing left to hint
    pressKey(Qt::Key_Z);
    EXPECT_EQ(startHint(), "在一行中输入频率即可添加信道");
    item("MenuLanguage_En")->trigger();
    EXPECT_EQ(note->text().toStdString(), "Virtual radio attached: COM3 \u2014 /dev/pts/9");
}

}   // namespace
}   // namespace k3n
