#include "app/port_window.h"
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

} // namespace

TEST(PortDialog, AutoSearchDisablesEveryButtonAndSurvivesCancelWhileThePortChoiceDoesNot)
{
    AppSettings settings{3, 0, true};
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

TEST(PortDialog, ChoosingAPortWithOk)
{
    AppSettings settings{1, 0, false};
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

TEST(PortDialog, AbsentPortBecomesOneOnOpeningEvenWhenCancelled)
{
    AppSettings settings{7, 0, false};
    TCommunicationPort dlg(settings, kPorts);
    EXPECT_EQ(settings.Port, 1);
    EXPECT_TRUE(button(dlg, 1)->isChecked());
    showAndActivate(dlg);
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(settings.Port, 1);
}

TEST(PortDialog, ShowsTheDevicePathBesideEachPresentPort)
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
