// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/port_window.h"
#include "app/program_window.h"
#include "text/app_lang.h"
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace k3n;
using HalvexComm32::TCommPortEntry;

namespace {

// COM12 counts as port 1 by the port name rule, so it adds no button of its own.
const QList<TCommPortEntry> kPorts{
    {"COM1", "/dev/ttyUSB0", "FTDI USB-Serial"},
    {"COM3", "/dev/ttyS0", ""},
    {"COM12", "/dev/ttyS9", ""},
};

QRadioButton* button(const TCommunicationPort& dlg, int n)
{
    return dlg.findChild<QRadioButton*>(QString("rbCOM%1").arg(n));
}

std::vector<int> enabledButtons(const TCommunicationPort& dlg)
{
    std::vector<int> on;
    for (int n = 1; n <= 9; ++n)
        if (button(dlg, n)->isEnabled())
            on.push_back(n);
    return on;
}

void showAndActivate(QDialog& dlg)
{
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
}

}   // namespace

TEST(PortWindow, AutoSearchDisablesEveryButtonAndSurvivesCancelWhileThePortChoiceDoesNot)
{
    AppSettings settings{.Port = 3, .Language = 0, .AutoSeachPort = true};
    TCommunicationPort dlg(settings, kPorts);
    showAndActivate(dlg);
    EXPECT_TRUE(dlg.cAutoSeachPort->isChecked());
    EXPECT_TRUE(enabledButtons(dlg).empty());
    EXPECT_TRUE(button(dlg, 3)->isChecked());   // checked although disabled

    QTest::mouseClick(dlg.cAutoSeachPort, Qt::LeftButton);
    EXPECT_FALSE(settings.AutoSeachPort);
    EXPECT_EQ(enabledButtons(dlg), (std::vector<int>{1, 3}));
    QTest::mouseClick(dlg.cAutoSeachPort, Qt::LeftButton);
    EXPECT_TRUE(settings.AutoSeachPort);
    EXPECT_TRUE(enabledButtons(dlg).empty());

    QTest::mouseClick(dlg.cAutoSeachPort, Qt::LeftButton);
    QTest::mouseClick(button(dlg, 1), Qt::LeftButton);
    QTest::mouseClick(dlg.CancelBtn, Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_FALSE(settings.AutoSeachPort);
    EXPECT_EQ(settings.Port, 3);
}

TEST(PortWindow, ChoosingAPortWithOk)
{
    AppSettings settings{.Port = 1, .Language = 0, .AutoSeachPort = false};
    TCommunicationPort dlg(settings, kPorts);
    showAndActivate(dlg);
    EXPECT_EQ(enabledButtons(dlg), (std::vector<int>{1, 3}));
    EXPECT_TRUE(button(dlg, 1)->isChecked());

    QTest::mouseClick(button(dlg, 2), Qt::LeftButton);   // absent: disabled, not chosen
    EXPECT_TRUE(button(dlg, 1)->isChecked());
    QTest::mouseClick(button(dlg, 3), Qt::LeftButton);
    QTest::mouseClick(dlg.OKBtn, Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(settings.Port, 3);
    EXPECT_FALSE(settings.AutoSeachPort);
}

TEST(PortWindow, AbsentPortBecomesOneOnOpeningEvenWhenCancelled)
{
    AppSettings settings{.Port = 7, .Language = 0, .AutoSeachPort = false};
    TCommunicationPort dlg(settings, kPorts);
    EXPECT_EQ(settings.Port, 1);
    EXPECT_TRUE(button(dlg, 1)->isChecked());
    showAndActivate(dlg);
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(settings.Port, 1);
}

TEST(PortWindow, ShowsTheDevicePathBesideEachPresentPort)
{
    AppSettings settings;
    ApplyLanguageSetting(0);
    TCommunicationPort dlg(settings, kPorts);
    EXPECT_EQ(dlg.findChild<QLabel*>("sCOM1Device")->text(), QString::fromUtf8("— /dev/ttyUSB0 (FTDI USB-Serial)"));
    EXPECT_EQ(dlg.findChild<QLabel*>("sCOM3Device")->text(), QString::fromUtf8("— /dev/ttyS0"));
    EXPECT_TRUE(dlg.findChild<QLabel*>("sCOM2Device")->text().isEmpty());
    EXPECT_EQ(button(dlg, 1)->text(), "COM1");
    EXPECT_EQ(dlg.cAutoSeachPort->text(), "Auto seach COM port");
}

// Two cables; the programming cable (serial A50285BI) was COM1 and is now COM2.
const QList<TCommPortEntry> kReplugged{
    {"COM1", "/dev/ttyUSB0", "USB Serial", "", "1a86:7523:", "1a86:7523:"},
    {"COM2", "/dev/ttyUSB1", "FTDI FT232R USB UART", "A50285BI", "/dev/serial/by-id/usb-FTDI_A50285BI",
     "0403:6001:A50285BI"},
    {"COM3", "/dev/ttyS0", ""},
};

TEST(PortWindow, TheRememberedCableIsCheckedUnderItsNewNumberAndShowsItsSerial)
{
    ApplyLanguageSetting(0);
    AppSettings settings{
        .Port = 1, .Language = 0, .AutoSeachPort = false, .PortId = "/dev/serial/by-id/usb-FTDI_A50285BI"};
    TCommunicationPort dlg(settings, kReplugged);
    EXPECT_EQ(settings.Port, 2);
    EXPECT_TRUE(button(dlg, 2)->isChecked());
    EXPECT_EQ(dlg.findChild<QLabel*>("sCOM2Device")->text(),
              QString::fromUtf8("— /dev/ttyUSB1 (FTDI FT232R USB UART, serial A50285BI)"));

    // OK remembers the chosen cable; a built-in port has nothing to remember.
    showAndActivate(dlg);
    QTest::mouseClick(button(dlg, 1), Qt::LeftButton);
    QTest::mouseClick(dlg.OKBtn, Qt::LeftButton);
    EXPECT_EQ(settings.PortId, "1a86:7523:");
    TCommunicationPort builtIn(settings, kReplugged);
    showAndActivate(builtIn);
    QTest::mouseClick(button(builtIn, 3), Qt::LeftButton);
    QTest::mouseClick(builtIn.OKBtn, Qt::LeftButton);
    EXPECT_EQ(settings.Port, 3);
    EXPECT_TRUE(settings.PortId.isEmpty());
}

TEST(ProgramWindowPorts, AFixedPortFollowsTheRememberedCableOrSaysItIsGone)
{
    const AppSettings moved{.Port = 1, .Language = 0, .AutoSeachPort = false, .PortId = "0403:6001:A50285BI"};
    const PortPlan found = SessionPortPlan(moved, kReplugged);
    EXPECT_EQ(found.ports, QStringList{"COM2"});
    EXPECT_TRUE(found.missing_cable.isEmpty());

    const QList<TCommPortEntry> without{kReplugged[0], kReplugged[2]};
    const PortPlan gone = SessionPortPlan(moved, without);
    EXPECT_EQ(gone.ports, QStringList{"COM1"});
    EXPECT_EQ(gone.missing_cable, "0403:6001:A50285BI");

    // Beyond COM9 the Port setting cannot follow, but the session still finds the cable.
    QList<TCommPortEntry> many;
    for (int n = 1; n <= 11; ++n)
        many.push_back({QString("COM%1").arg(n), QString("/dev/ttyUSB%1").arg(n - 1), ""});
    many.push_back(kReplugged[1]);
    many.back().name = "COM12";
    EXPECT_EQ(SessionPortPlan(moved, many).ports, QStringList{"COM12"});

    // The search tries every port whatever is remembered; a plain port number is used as it is.
    EXPECT_TRUE(
        SessionPortPlan(AppSettings{.Port = 1, .Language = 0, .AutoSeachPort = true, .PortId = "0403:6001:A50285BI"},
                        without)
            .missing_cable.isEmpty());
    EXPECT_EQ(SessionPortPlan(AppSettings{.Port = 3, .Language = 0, .AutoSeachPort = false}, without).ports,
              QStringList{"COM3"});
}
