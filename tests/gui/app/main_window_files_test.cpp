// SPDX-License-Identifier: GPL-3.0-or-later
// Files in the main window: a file named on the command line, the recent
// files, the save dialog's proposal and the autosave copy kept against a crash.
#include "app/command_line.h"
#include "app/main_window.h"
#include "app/settings_file.h"
#include "editors/settings_editor_driver.h"
#include "model/autosave.h"
#include "model/fse_file.h"
#include "model/record_layout.h"
#include "support/main_window_fixture.h"
#include <QCheckBox>
#include <QFileDialog>
#include <QMenu>
#include <QTimer>
#include <QTreeWidget>
#include <memory>
#include <sys/stat.h>

namespace k3n {
namespace {

using namespace test;

QByteArray RecordBytes(const RadioRecord& record)
{
    return QByteArray(reinterpret_cast<const char*>(record.bytes().data()), int(record.bytes().size()));
}

TEST(CommandLine, TheConfigurationFileIsTheArgumentThatIsNoOption)
{
    EXPECT_EQ(ConfigurationFileArgument({"k3n-cps"}), "");
    EXPECT_EQ(ConfigurationFileArgument({"k3n-cps", "/tmp/a.fse"}), "/tmp/a.fse");
    EXPECT_EQ(ConfigurationFileArgument({"k3n-cps", "--virtual-radio", "--virtual-radio-memory", "m.bin", "b.fse"}),
              "b.fse");
    EXPECT_EQ(ConfigurationFileArgument({"k3n-cps", "--virtual-radio-memory", "m.bin"}), "");
    EXPECT_EQ(ConfigurationFileArgument({"k3n-cps", "--", "-odd name.fse"}), "-odd name.fse");
    EXPECT_EQ(ConfigurationFileArgument({"/usr/bin/k3n-cps.fse"}), "") << "the program's own name is no file to open";
}

class MainWindowFilesTest : public MainWindowFixture {
protected:
    // A real edit: a box of the general settings, stored when the focus leaves it.
    void toggleKeyLock() { clickGeneralBox("cKeyLock"); }
    void clickGeneralBox(const char* name)
    {
        EditorWindow* general = openPage(kGeneralPage);
        ClickBox(Child<QCheckBox>(*general, name));
        LeaveControl(*general);
    }
    // Whether the start-up offer asks about a copy; a question asked is answered Cancel.
    static bool OffersACopy(TMainForm& form)
    {
        bool asked = false;
        QTimer::singleShot(0, [&asked] {
            if (QWidget* question = QApplication::activeModalWidget()) {
                asked = true;
                question->findChild<QPushButton*>("CancelBtn")->click();
            }
        });
        form.offerAutosaveRestore();
        QApplication::processEvents();
        return asked;
    }
    QStringList shownRecentItems() const
    {
        QStringList shown;
        for (int i = 1; i <= kRecentFileCount; ++i)
            if (QAction* recent = item(QStringLiteral("FileRecentItem%1").arg(i).toLatin1().constData());
                recent->isVisible())
                shown << recent->text();
        return shown;
    }
};

TEST_F(MainWindowFilesTest, AFileNamedOnTheCommandLineOpensAsAStepThatCanBeUndone)
{
    const RadioRecord fresh = data.record;
    const QString path = fileOfBand("from file manager.fse", 2);
    ASSERT_TRUE(window->openFile(ConfigurationFileArgument({"k3n-cps", path})));
    RadioData expected;
    ASSERT_FALSE(LoadFseFile(path, expected).has_value());
    EXPECT_EQ(data.record, expected.record);
    EXPECT_EQ(item("EditUndoItem")->text(), "&Undo Open");
    item("EditUndoItem")->trigger();
    EXPECT_EQ(data.record, fresh);

    // A file that cannot be read says so and leaves the configuration alone.
    AnswerNextQuestion("OKBtn");
    EXPECT_FALSE(window->openFile(dir.file("missing.fse")));
    EXPECT_EQ(data.record, fresh);
}

TEST_F(MainWindowFilesTest, TheFileMenuOffersTheFiveFilesLastOpenedOrSaved)
{
    EXPECT_TRUE(shownRecentItems().isEmpty());
    QStringList paths;
    for (int i = 0; i < 6; ++i)
        paths << fileOfBand(QStringLiteral("f%1 & co.fse").arg(i), i % 4);
    for (const QString& path : paths)
        ASSERT_TRUE(window->openFile(path));
    chosenFile = dir.file("saved.fse");
    item("MenuFile_Save")->trigger();
    ASSERT_TRUE(window->openFile(paths[3]));   // opened again: moves to the front, once

    EXPECT_EQ(shownRecentItems(),
              QStringList({"&1 " + paths[3].replace('&', "&&"), "&2 " + chosenFile,
                           "&3 " + QString(paths[5]).replace('&', "&&"), "&4 " + QString(paths[4]).replace('&', "&&"),
                           "&5 " + QString(paths[2]).replace('&', "&&")}));
    // An item opens its file.
    item("FileRecentItem3")->trigger();
    RadioData expected;
    ASSERT_FALSE(LoadFseFile(settings.RecentFiles[0], expected).has_value());
    EXPECT_EQ(data.record, expected.record);
    EXPECT_EQ(settings.RecentFiles[0], dir.file("f5 & co.fse"));

    // The list outlives the run through the settings file.
    const QString ini = dir.file("config/K3N/config.ini");
    ASSERT_EQ(SaveSettings(settings, ini), std::nullopt);
    AppSettings next;
    LoadOrCreateSettings(next, {"COM1"}, ini);
    EXPECT_EQ(next.RecentFiles, settings.RecentFiles);
}

TEST_F(MainWindowFilesTest, TheSaveDialogStartsInTheLastFilesFolderAndProposesItsName)
{
    window->setFileNameChooser({});
    const QString path = fileOfBand("sub/last.fse", 1);
    ASSERT_TRUE(window->openFile(path));
    QString folder, proposed;
    // Waits for the dialog: committing pending edits first may run the event loop.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll.stop();
        folder = dialog->directory().absolutePath();
        proposed = QFileInfo(dialog->selectedFiles().value(0)).fileName();
        dialog->reject();
    });
    poll.start(10);
    item("MenuFile_Save")->trigger();
    EXPECT_EQ(folder, dir.file("sub"));
    EXPECT_EQ(proposed, "last.fse");
}

TEST_F(MainWindowFilesTest, AnAutosaveCopyFollowsChangesAtMostEveryThirtySeconds)
{
    EXPECT_TRUE(window->autosaveCopyPath().isEmpty());   // nothing changed, no copy
    toggleKeyLock();
    window->autosaveIfDue();
    const QString copy = window->autosaveCopyPath();
    EXPECT_EQ(copy, dir.file("data/K3N") + QStringLiteral("/autosave-%1.fse").arg(QCoreApplication::applicationPid()));
    ASSERT_TRUE(QFileInfo::exists(copy));
    EXPECT_EQ(FileBytes(copy), RecordBytes(data.record));

    const QByteArray firstCopy = FileBytes(copy);
    clockMs += 1000;
    clickGeneralBox("cBeep");
    window->autosaveIfDue();
    EXPECT_EQ(FileBytes(copy), firstCopy);   // too soon after the last copy
    clockMs += AutosaveSchedule::kIntervalMs;
    window->autosaveIfDue();
    EXPECT_NE(FileBytes(copy), firstCopy);
    EXPECT_EQ(FileBytes(copy), RecordBytes(data.record));

    // Saved: the configuration equals its file, so no copy is kept.
    chosenFile = dir.file("saved.fse");
    item("MenuFile_Save")->trigger();
    EXPECT_FALSE(QFileInfo::exists(copy));
}

TEST_F(MainWindowFilesTest, AfterAKilledRunTheCopyIsOfferedBackAsAStepThatCanBeUndone)
{
    toggleKeyLock();
    window->autosaveIfDue();
    const RadioRecord edited = data.record;
    const QString killedCopy = window->autosaveCopyPath();
    window.reset();   // killed: no close, so the copy stays (and its lock is free)

    RadioData fresh;
    fresh.ResetForBand(0);
    data = fresh;
    openWindow();
    AnswerNextQuestion("CancelBtn");   // not now: asked again next time
    window->offerAutosaveRestore();
    EXPECT_EQ(data.record, fresh.record);
    ASSERT_TRUE(QFileInfo::exists(killedCopy));

    AnswerNextQuestion("OKBtn");
    window->offerAutosaveRestore();
    EXPECT_EQ(data.record, edited);
    EXPECT_EQ(item("EditUndoItem")->text(), "&Undo Restore unsaved configuration");
    // Taken over: the configuration lives on in this program's own copy, the killed one's goes.
    EXPECT_NE(window->autosaveCopyPath(), killedCopy);
    EXPECT_EQ(FileBytes(window->autosaveCopyPath()), RecordBytes(edited));
    EXPECT_FALSE(QFileInfo::exists(killedCopy));
    item("EditUndoItem")->trigger();
    EXPECT_EQ(data.record, fresh.record);

    // A normal end (not saving) removes the copy and its lock file.
    item("EditRedoItem")->trigger();
    window->autosaveIfDue();
    const QString ownCopy = window->autosaveCopyPath();
    AnswerNextQuestion("NoBtn");
    window->close();
    EXPECT_FALSE(QFileInfo::exists(ownCopy));
    EXPECT_TRUE(QDir(dir.file("data/K3N")).entryList({"autosave*"}).isEmpty());

    // The single copy of earlier versions is offered too; No at the start deletes it.
    const QString earlier = dir.file("data/K3N/autosave.fse");
    ASSERT_FALSE(SaveFseFile(earlier, edited).has_value());
    AnswerNextQuestion("NoBtn");
    window->offerAutosaveRestore();
    EXPECT_FALSE(QFileInfo::exists(earlier));
}

TEST_F(MainWindowFilesTest, TheCopyOfAProgramStillRunningIsNeitherOfferedNorTouched)
{
    // The first program edits and keeps its copy; a second one starts meanwhile.
    toggleKeyLock();
    window->autosaveIfDue();
    const QString firstCopy = window->autosaveCopyPath();
    const QByteArray firstBytes = FileBytes(firstCopy);
    RadioData secondData;
    secondData.ResetForBand(2);
    AppSettings secondSettings;
    TMainForm second(secondData, secondSettings);
    EXPECT_FALSE(OffersACopy(second));
    EXPECT_EQ(secondData.record.get(rec::freq_band), 2);
    // Its normal end leaves the first one's copy alone.
    AnswerNextQuestion("NoBtn");
    second.close();
    EXPECT_EQ(FileBytes(firstCopy), firstBytes);

    // Once the first program is gone, its copy is offered.
    window.reset();
    openWindow();
    EXPECT_TRUE(OffersACopy(*window));
}

TEST_F(MainWindowFilesTest, ACopyThatIsNoRegularFileIsNotOffered)
{
    QDir().mkpath(dir.file("data/K3N"));
    // A FIFO would hang the reading of a copy restored from it.
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file("data/K3N/autosave.fse")).constData(), 0600), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file("fifo")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(dir.file("fifo"), dir.file("data/K3N/autosave-1.fse")));
    EXPECT_FALSE(OffersACopy(*window));
}

}   // namespace
}   // namespace k3n
