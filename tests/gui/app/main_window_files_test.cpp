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
#include "support/test_support.h"
#include <QCheckBox>
#include <QFileDialog>
#include <QMenu>
#include <QTreeWidget>
#include <memory>

namespace k3n {
namespace {

using namespace test;

constexpr int kGeneralPage = 1;

QByteArray RecordBytes(const RadioRecord& record)
{
    return QByteArray(reinterpret_cast<const char*>(record.bytes().data()), int(record.bytes().size()));
}

TEST(CommandLine, TheConfigurationFileIsTheArgumentThatIsNoOption)
{
    EXPECT_EQ(ConfigurationFileArgument({"k3n-cps"}), "");
    EXPECT_EQ(ConfigurationFileArgument({"k3n-cps", "/tmp/a.fse"}), "/tmp/a.fse");
    EXPECT_EQ(ConfigurationFileArgument({"k3n-cps", "--virtual-radio", "--virtual-radio-memory", "m.bin", "b.fse"}), "b.fse");
    EXPECT_EQ(ConfigurationFileArgument({"k3n-cps", "--virtual-radio-memory", "m.bin"}), "");
    EXPECT_EQ(ConfigurationFileArgument({"k3n-cps", "--", "-odd name.fse"}), "-odd name.fse");
    EXPECT_EQ(ConfigurationFileArgument({"/usr/bin/k3n-cps.fse"}), "") << "the program's own name is no file to open";
}

class MainWindowFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("XDG_DATA_HOME", dir.file("data").toLocal8Bit());
        QApplication::setQuitOnLastWindowClosed(false);
        settings.Language = 0;
        data.ResetForBand(0);
        makeWindow();
    }
    void makeWindow()
    {
        window = std::make_unique<TMainForm>(data, settings);
        window->setFileNameChooser([this](bool) { return chosenFile; });
        window->setClock([this] { return clockMs; });
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    QAction* item(const QString& name) const { return window->findChild<QAction*>(name); }
    // A real edit: a box of the general settings, stored when the focus leaves it.
    void toggleKeyLock() { clickGeneralBox("cKeyLock"); }
    void clickGeneralBox(const char* name)
    {
        QTreeWidget* tree = window->findChild<QTreeWidget*>("TreeView1");
        const QRect node = tree->visualItemRect(tree->topLevelItem(0)->child(kGeneralPage));
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, node.center());
        QApplication::processEvents();
        EditorWindow* general = window->editorOfPage(kGeneralPage);
        ClickBox(Child<QCheckBox>(*general, name));
        LeaveControl(*general);
    }
    QString fileOfBand(const QString& name, int band)
    {
        RadioData other;
        other.ResetForBand(band);
        const QString path = dir.file(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        EXPECT_FALSE(SaveFseFile(path, other.record).has_value());
        return path;
    }
    QStringList shownRecentItems() const
    {
        QStringList shown;
        for (int i = 1; i <= kRecentFileCount; ++i)
            if (QAction* recent = item(QStringLiteral("FileRecentItem%1").arg(i)); recent->isVisible())
                shown << recent->text();
        return shown;
    }

    ScratchDir dir;
    RadioData data;
    AppSettings settings;
    std::unique_ptr<TMainForm> window;
    QString chosenFile;
    qint64 clockMs = 1'000'000;
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

    EXPECT_EQ(shownRecentItems(), QStringList({"&1 " + paths[3].replace('&', "&&"), "&2 " + chosenFile,
                                               "&3 " + QString(paths[5]).replace('&', "&&"),
                                               "&4 " + QString(paths[4]).replace('&', "&&"),
                                               "&5 " + QString(paths[2]).replace('&', "&&")}));
    // An item opens its file.
    item("FileRecentItem3")->trigger();
    RadioData expected;
    ASSERT_FALSE(LoadFseFile(settings.RecentFiles[0], expected).has_value());
    EXPECT_EQ(data.record, expected.record);
    EXPECT_EQ(settings.RecentFiles[0], dir.file("f5 & co.fse"));

    // The list outlives the run through the settings file.
    const QString ini = dir.file("config/K3N/config.ini");
    ASSERT_TRUE(SaveSettings(settings, ini));
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
    const QString copy = AutosaveFilePath();
    EXPECT_TRUE(copy.startsWith(dir.path()));
    toggleKeyLock();
    window->autosaveIfDue();
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
    window.reset();   // killed: no close, so the copy stays

    RadioData fresh;
    fresh.ResetForBand(0);
    data = fresh;
    makeWindow();
    AnswerNextQuestion("CancelBtn");   // not now: asked again next time
    window->offerAutosaveRestore();
    EXPECT_EQ(data.record, fresh.record);
    ASSERT_TRUE(QFileInfo::exists(AutosaveFilePath()));

    AnswerNextQuestion("OKBtn");
    window->offerAutosaveRestore();
    EXPECT_EQ(data.record, edited);
    EXPECT_EQ(item("EditUndoItem")->text(), "&Undo Restore unsaved configuration");
    item("EditUndoItem")->trigger();
    EXPECT_EQ(data.record, fresh.record);

    // A normal end (not saving) removes the copy; No at the start deletes it too.
    item("EditRedoItem")->trigger();
    window->autosaveIfDue();
    AnswerNextQuestion("NoBtn");
    window->close();
    EXPECT_FALSE(QFileInfo::exists(AutosaveFilePath()));
    ASSERT_FALSE(SaveFseFile(AutosaveFilePath(), edited).has_value());
    AnswerNextQuestion("NoBtn");
    window->offerAutosaveRestore();
    EXPECT_FALSE(QFileInfo::exists(AutosaveFilePath()));
}

} // namespace
} // namespace k3n
