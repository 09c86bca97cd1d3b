// SPDX-License-Identifier: GPL-3.0-or-later
// A whole task done from the keyboard alone, as a user without a mouse does it:
// open a file, change a channel, check, write with backup and read-back, read
// the radio back and save. The radio is emulated on a simulated clock.
#include "app/check_window.h"
#include "app/main_window.h"
#include "app/program_window.h"
#include "model/fse_file.h"
#include "model/record_layout.h"
#include "support/main_window_fixture.h"
#include "support/virtual_radio_memory.h"
#include "text/app_lang.h"
#include "virtualradio/emulated_radio.h"
#include "widgets/cell_grid.h"
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace k3n;

namespace {

QWidget* Focused()
{
    return QApplication::focusWidget();
}

void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* popup = QApplication::activePopupWidget();
    QWidget* target = popup ? (popup->focusWidget() ? popup->focusWidget() : popup) : Focused();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, Qt::Key(key), modifiers);
}

// Tabs to button, then presses Space; false when Tab never reaches it.
bool PressByKeys(QAbstractButton* button)
{
    for (int i = 0; i < 40 && !button->hasFocus(); ++i)
        QTest::keyClick(Focused(), Qt::Key_Tab);
    if (!button->hasFocus())
        return false;
    QTest::keyClick(button, Qt::Key_Space);
    return true;
}

// Answers the modal windows with keys: Start in the programming window, OK
// on notices and the default button of questions.
class KeyAnswers {
public:
    KeyAnswers()
    {
        answers.always<TProgramDialog>([this](TProgramDialog& program) {
            if (program.isActiveWindow() && program.ProgramStart->isEnabled() && &program != started_) {
                started_ = &program;
                unreached += !PressByKeys(program.ProgramStart);
            }
        });
        answers.always<QWidget>([this](QWidget& modal) {
            if (!modal.isActiveWindow())
                return;
            seen << modal.metaObject()->className();
            QTest::keyClick(Focused() ? Focused() : &modal, Qt::Key_Return);
        });
    }
    QStringList seen;
    int unreached = 0;

private:
    QPointer<QWidget> started_;
    test::ModalAnswers answers;
};

// Opens a menu of the menu bar with Alt and its letter, goes down to item and runs it.
void RunMenuItem(TMainForm& window, int menuKey, QAction* item)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));   // back from the last window
    QTest::keyClick(&window, Qt::Key(menuKey), Qt::AltModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr) << "Alt+" << QKeySequence(menuKey).toString().toStdString();
    for (int i = 0; i < 30 && menu->activeAction() != item; ++i)
        QTest::keyClick(menu, Qt::Key_Down);
    ASSERT_EQ(menu->activeAction(), item) << item->objectName().toStdString();
    QTest::keyClick(menu, Qt::Key_Return);
}

// An emulated radio of band 0 among the machine's ports, chosen in the settings.
class KeyboardOnly : public test::MainWindowFixture {
protected:
    void SetUp() override
    {
        ApplyLanguageSetting(0);
        if (!chooseRadio(radio))
            GTEST_SKIP() << "the virtual radio is beyond COM9 here";
        openWindow();
    }

    test::ListedEmulatedRadio radio{[] {
        VirtualRadioOptions options;
        options.band = 0;
        return options;
    }()};
};

TEST_F(KeyboardOnly, OpenChangeCheckWriteReadBackAndSaveWithKeysAlone)
{
    RadioData file = test::ConfigurationWithChannel(0, 1, 145000000);
    file.record.set(rec::ch::tx_freq(1), 145000000);
    const QString path = saveFile("hike.fse", file);
    ASSERT_TRUE(settings.BackupBeforeWrite && settings.VerifyAfterWrite);
    chosenFile = path;   // the file dialog's answer
    KeyAnswers answers;

    // Ctrl+O opens the file.
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(data.record, file.record);

    // The page tree: Enter on "Channel Settings" opens it; Tab reaches its grid.
    auto* tree = window->findChild<QTreeWidget*>("TreeView1");
    tree->setFocus();   // where the program starts
    ASSERT_TRUE(tree->hasFocus());
    tree->setCurrentItem(tree->topLevelItem(0));
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    ASSERT_NE(window->editorOfPage(0), nullptr);
    auto* grid = window->editorOfPage(0)->findChild<CellGrid*>("StringGrid1");
    for (int i = 0; i < 10 && Focused() != grid; ++i)
        Key(Qt::Key_Tab);
    ASSERT_EQ(Focused(), grid);

    // Channel 1: a new receive frequency, typed; its receive tone picked from the list.
    grid->setCurrentCell(1, 1);
    Key(Qt::Key_Return);
    QTest::keyClicks(Focused(), "146.52");
    Key(Qt::Key_Return);
    ASSERT_EQ(Focused(), grid);
    EXPECT_EQ(data.record.get(rec::ch::rx_freq(1)), 146520000u);
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);   // the receive tone
    Key(Qt::Key_Return);   // drops its list down
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    ASSERT_EQ(Focused(), grid) << Focused()->metaObject()->className() << " " << Focused()->objectName().toStdString();
    const uint8_t tone = data.record.get(rec::ch::rx_subaudio(1));
    EXPECT_NE(tone, file.record.get(rec::ch::rx_subaudio(1)));

    // Tab stays in the grid; F6 leaves it forwards, Shift+F6 backwards, and Shift+Tab comes back.
    Key(Qt::Key_Tab);
    EXPECT_EQ(Focused(), grid);
    Key(Qt::Key_F6);
    EXPECT_NE(Focused(), grid);
    Key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(Focused(), grid);
    Key(Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_NE(Focused(), grid);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Focused(), grid);

    // Edit > Check configuration: its list window takes the focus and reads the channel's state.
    RunMenuItem(*window, Qt::Key_E, window->findChild<QAction*>("MenuEdit_Check"));
    auto* check = window->findChild<CheckWindow*>();
    ASSERT_TRUE(check && check->isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowActive(check));
    QTest::keyClick(check->tvProblems, Qt::Key_Escape);
    EXPECT_FALSE(check->isVisible()) << "Escape closes the check";
    window->activateWindow();   // as the window manager does when a window closes

    // Edit > Write to radio: backup, write and read-back, started from the keyboard.
    RunMenuItem(*window, Qt::Key_E, window->findChild<QAction*>("MenuEdit_Write"));
    EXPECT_EQ(answers.unreached, 0);
    const MemoryImage inRadio = radio.radio->memory();
    const MemoryImage written = GetDataForWrite(data, ProgramTime{2025, 1, 2, 3, 4});
    int differing = 0;
    for (std::size_t i = 0; i < kMemoryImageSize; ++i)
        differing += ImageBytesFromRecord()[i] && inRadio[i] != written[i];
    EXPECT_EQ(differing, 0) << "the radio holds the configuration";
    window->activateWindow();

    // Edit > Read from radio brings back what was written, and Ctrl+S saves it.
    data.record.set(rec::ch::rx_freq(1), 145000000);   // so that the read shows
    RunMenuItem(*window, Qt::Key_E, window->findChild<QAction*>("MenuEdit_Read"));
    EXPECT_EQ(data.record.get(rec::ch::rx_freq(1)), 146520000u);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    RadioData saved;
    ASSERT_FALSE(LoadFseFile(path, saved));
    EXPECT_EQ(saved.record.get(rec::ch::rx_freq(1)), 146520000u);
    EXPECT_EQ(saved.record.get(rec::ch::rx_subaudio(1)), tone);
    EXPECT_EQ(answers.unreached, 0);
}

}   // namespace
