// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window as the GUI tests drive it: a fixture with its record,
// settings and user data folder of its own, a radio listed among the
// machine's ports, and the configuration files the tests open.
#include "app/main_window.h"
#include "comm/port_list.h"
#include "support/modal_answers.h"
#include "support/test_support.h"
#include "virtualradio/emulated_radio.h"
#include "virtualradio/virtual_radio.h"
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

class QMdiArea;
class QMenu;
class QTreeWidget;

namespace k3n {
class TProgramDialog;
}

namespace k3n::test {

// The page tree's row of the general settings.
constexpr int kGeneralPage = 1;

// Shows the window and waits until it is the active one.
inline bool ShowActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// The main window over a fresh record of band 0, in English, with a user data
// folder of its own. Its file dialogs answer chosenFile ("" cancels them) and
// its autosave reads the clock clockMs. SetUp opens it; a suite that needs
// another record, other settings or a window set up otherwise changes them
// and then calls openWindow(), or makeWindow() and showWindow().
class MainWindowFixture : public ::testing::Test {
protected:
    MainWindowFixture();
    void SetUp() override { openWindow(); }
    // The window goes before what a suite adds, as a window the suite made itself would.
    void TearDown() override { window.reset(); }

    void openWindow();
    void makeWindow();
    // Shows the window as the active one.
    void showWindow();

    QAction* item(const char* name) const;
    QMenu* menu(const char* name) const;
    QTreeWidget* tree() const;
    QMdiArea* mdi() const;
    // Opens a page with a click on its tree node, the main window active as after a user's click.
    EditorWindow* openPage(int page);
    // A shortcut, pressed on the main window as the window system gives it back its activation.
    void pressKey(int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier);
    void pressKey(QKeyCombination keys) { pressKey(keys.key(), keys.keyboardModifiers()); }
    // Saves the configuration as 'name' in the test's folder; its path.
    QString saveFile(const QString& name, const RadioData& configuration) const;
    // A configuration of band 'band' with channel 3 in use, saved as 'name' in the test's folder.
    QString fileOfBand(const QString& name, int band) const;
    // The settings choose this radio's port; false when its number is beyond what they hold.
    template <class Radio> bool chooseRadio(const Radio& listed)
    {
        settings.Port = listed.number;
        settings.AutoSeachPort = false;
        return listed.choosable();
    }

    ScratchDir dir;
    RadioData data;
    AppSettings settings;
    std::unique_ptr<TMainForm> window;
    QString chosenFile;
    std::vector<bool> fileQuestions;   // each time a configuration file's name was asked for: true to save
    qint64 clockMs = 1'000'000;
};

// The record a fresh configuration of this band has.
RadioRecord FreshRecordOfBand(int band);
// A fresh configuration of this band with one channel in use, receiving on rxHz.
RadioData ConfigurationWithChannel(int band, int channel, uint32_t rxHz);

// Presses Start in a programming window that is ready for it.
void StartWhenReady(TProgramDialog& program);

// A virtual radio (on a pseudo-terminal, real time) or an emulated one (on the
// simulated clock) listed among the machine's ports, as k3n-cps --virtual-radio lists it.
template <class Radio> struct ListedRadioOf {
    explicit ListedRadioOf(VirtualRadioOptions options = {}) : radio(std::make_unique<Radio>(std::move(options)))
    {
        if constexpr (std::is_same_v<Radio, VirtualRadio>)
            EXPECT_EQ(radio->Start(), std::nullopt);
        else
            emulated.emplace();
        HalvexComm32::TCommSerialPortInfo::AddExtraPort("virtual radio", path());
        for (const auto& p : HalvexComm32::TCommSerialPortInfo().Ports())
            if (p.devicePath == path())
                number = HalvexComm32::TCommSerialPortInfo::PortNo(p.name);
    }
    ~ListedRadioOf() { HalvexComm32::TCommSerialPortInfo::RemoveExtraPort(path()); }
    QString path() const { return radio->devicePath(); }
    // Whether the port's number is one the settings can hold.
    bool choosable() const { return number >= 1 && number <= 9; }
    std::unique_ptr<Radio> radio;
    std::optional<EmulatedSessions> emulated;
    int number = 0;
};
using ListedRadio = ListedRadioOf<VirtualRadio>;
using ListedEmulatedRadio = ListedRadioOf<EmulatedRadio>;

}   // namespace k3n::test
