// SPDX-License-Identifier: GPL-3.0-or-later
// The port settings dialog, driven through its widgets: texts in the
// language, the component's values shown, the checks on OK with their
// messages, Enter walking through the fields, applying, and putting the old
// settings back when applying fails.
#include "comm/comm_component.h"
#include "comm/comm_test_support.h"
#include "comm/port_list.h"
#include "commsettings/comm_settings_window.h"
#include "text/app_lang.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <string_view>

using HalvexComm32::TCommPortEntry;
using HalvexComm32::TCommSerialPortInfo;
using k3n::TBaudRate;
using k3n::TFlowControl;
using k3n::TForm_ZebCommDevice_Settings;
using k3n::TParity;
using k3n::TStopBits;
using k3n::TZebCommDevice;

namespace {

// Runs 'action' and answers the first message box it opens; returns the box's text (empty: none).
QString AnswerMessageBox(const std::function<void()>& action)
{
    QString text;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            text = box->text();
            box->accept();
            poll.stop();
        }
    });
    poll.start();
    action();
    poll.stop();
    return text;
}

QStringList Items(const QComboBox* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->itemText(i);
    return out;
}

template <class T> T* Find(QWidget* dialog, const char* name)
{
    T* w = dialog->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
}
QComboBox* Combo(QWidget* dialog, const char* name)
{
    return Find<QComboBox>(dialog, name);
}
QLineEdit* Edit(QWidget* dialog, const char* name)
{
    return Find<QLineEdit>(dialog, name);
}

void Retype(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

QString ClickOk(QWidget* dialog)
{
    return AnswerMessageBox([&] { QTest::mouseClick(Find<QPushButton>(dialog, "BnOK"), Qt::LeftButton); });
}

class CommSettingsWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        k3n::appLang().fSetLangType(k3n::kLangEnglish);
        ASSERT_TRUE(pty.Ok());
        TCommSerialPortInfo::AddExtraPort("virtual radio", pty.SlavePath());
        TCommSerialPortInfo::AddExtraPort("gone", "/dev/k3n-missing-port");
        for (const TCommPortEntry& p : TCommSerialPortInfo().Ports()) {
            if (p.devicePath == pty.SlavePath())
                ptyPort = p.name;
            if (p.devicePath == "/dev/k3n-missing-port")
                missingPort = p.name;
        }
        device.fSetDeviceName(ptyPort);
    }
    void TearDown() override
    {
        TCommSerialPortInfo::RemoveExtraPort(pty.SlavePath());
        TCommSerialPortInfo::RemoveExtraPort("/dev/k3n-missing-port");
    }

    std::unique_ptr<TForm_ZebCommDevice_Settings> Open(bool openAfterOk = false)
    {
        auto dialog = std::make_unique<TForm_ZebCommDevice_Settings>(nullptr, openAfterOk, &device);
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        return dialog;
    }
    void SelectPort(QWidget* dialog, const QString& name)
    {
        QComboBox* port = Combo(dialog, "CbPort");
        port->setCurrentIndex(port->findText(name, Qt::MatchStartsWith));
    }

    commtest::PtyPair pty;
    QString ptyPort, missingPort;
    TZebCommDevice device;
};

}   // namespace

TEST_F(CommSettingsWindowTest, ShowsItsTextsAndLists)
{
    auto dialog = Open();
    QWidget* d = dialog.get();
    EXPECT_EQ(d->windowTitle(), "COM port Setup");
    const std::pair<const char*, const char*> groups[] = {
        {"GbPort", "Port"}, {"GbModem", "Modem"}, {"GbBuffer", "Buffer"}};
    for (const auto& [name, text] : groups)
        EXPECT_EQ(Find<QGroupBox>(d, name)->title(), text) << name;
    const std::pair<const char*, const char*> labels[] = {{"LbPort", "COM port"},         {"LbBaud", "Baud"},
                                                          {"LbParity", "Parity"},         {"LbByteSize", "Byte Size"},
                                                          {"LbStopBits", "Stop Bits"},    {"LbFlow", "Flow Control"},
                                                          {"LbAutoAns", "Auto Answer"},   {"LbInBufSize", "Input Buf."},
                                                          {"LbOutBufSize", "Output Buf."}};
    for (const auto& [name, text] : labels)
        EXPECT_EQ(Find<QLabel>(d, name)->text(), text) << name;
    EXPECT_EQ(Find<QPushButton>(d, "BnOK")->text(), "&OK");
    EXPECT_EQ(Find<QPushButton>(d, "BnCancel")->text(), "&Cancel");
    EXPECT_TRUE(Find<QPushButton>(d, "BnOK")->isDefault());
    EXPECT_FALSE(Find<QPushButton>(d, "BnAbout")->isVisible());
    EXPECT_FALSE(Find<QPushButton>(d, "BnDefault")->isVisible());

    EXPECT_EQ(Items(Combo(d, "CbSelBaud")),
              QStringList({"110", "300", "600", "1200", "2400", "4800", "9600", "14400", "19200", "38400", "56000",
                           "57600", "115200", "128000", "256000"}));
    EXPECT_EQ(Items(Combo(d, "CbByteSize")), QStringList({"5", "6", "7", "8"}));
    EXPECT_EQ(Items(Combo(d, "CbStopBits")), QStringList({"1", "1.5", "2"}));
    EXPECT_EQ(Items(Combo(d, "CbParity")), QStringList({"No parity", "Odd", "Even", "Mark", "Space Parity"}));
    EXPECT_EQ(Items(Combo(d, "CbFlow")), QStringList({"None", "RTS/CTS", "Xon/Xoff", "RTS/CTS & Xon/Xoff"}));
    EXPECT_TRUE(Items(Combo(d, "CbPort")).contains(ptyPort + " \u2014 " + pty.SlavePath() + " (virtual radio)"));

    k3n::appLang().fSetLangType(k3n::kLangSimplified);
    auto chinese = Open();
    EXPECT_EQ(chinese->windowTitle(), QString::fromUtf8("串口设置"));
    EXPECT_EQ(Find<QPushButton>(chinese.get(), "BnOK")->text(), QString::fromUtf8("确定(&O)"));
    EXPECT_EQ(chinese->font().pointSize(), 9);
    k3n::appLang().fSetLangType(k3n::kLangTraditional);
    auto traditional = Open();
    EXPECT_EQ(traditional->windowTitle(), QString::fromUtf8("串列埠設定"));
    EXPECT_EQ(Combo(traditional.get(), "CbParity")->itemText(0), QString::fromUtf8("無同位檢查"));
    k3n::appLang().fSetLangType(k3n::kLangEnglish);
}

TEST_F(CommSettingsWindowTest, ShowsTheComponentsValuesAndOkAppliesThemAndOpensWhenAsked)
{
    device.fSetPortNo(999);   // not in the list: nothing selected
    device.fSetBaud(TBaudRate::br19200);
    device.fSetParity(TParity::ptOddParity);
    device.fSetByteSize(7);
    device.fSetStopBits(TStopBits::sbTwoStopBit);
    device.fSetFlowControl(TFlowControl::fcRtsCtsXonXoff);
    device.fSetAutoAnswer(3);
    device.fSetInBufSize(9000);
    device.fSetOutBufSize(10000);
    auto dialog = Open(/*openAfterOk=*/true);
    QWidget* d = dialog.get();
    EXPECT_EQ(Combo(d, "CbPort")->currentIndex(), -1);
    const std::pair<const char*, const char*> shown[] = {{"CbSelBaud", "19200"},
                                                         {"CbParity", "Odd"},
                                                         {"CbByteSize", "7"},
                                                         {"CbStopBits", "2"},
                                                         {"CbFlow", "RTS/CTS & Xon/Xoff"}};
    for (const auto& [name, text] : shown)
        EXPECT_EQ(Combo(d, name)->currentText(), text) << name;
    EXPECT_EQ(Edit(d, "EditAutoAns")->text(), "3");
    EXPECT_EQ(Edit(d, "EditInBufSize")->text(), "9000");
    EXPECT_EQ(Edit(d, "EditOutBufSize")->text(), "10000");

    SelectPort(d, ptyPort);
    Combo(d, "CbSelBaud")->setCurrentIndex(int(TBaudRate::br57600));
    Combo(d, "CbParity")->setCurrentIndex(0);   // a pty refuses parity
    Combo(d, "CbByteSize")->setCurrentIndex(0);   // 5 data bits
    Combo(d, "CbStopBits")->setCurrentIndex(1);   // 1.5
    Combo(d, "CbFlow")->setCurrentIndex(2);
    Retype(Edit(d, "EditAutoAns"), "7");
    Retype(Edit(d, "EditInBufSize"), "16384");
    Retype(Edit(d, "EditOutBufSize"), "5000");
    EXPECT_EQ(ClickOk(d), QString());
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);

    EXPECT_EQ(device.fGetDeviceName(), ptyPort);
    EXPECT_EQ(device.fGetPortNo(), TCommSerialPortInfo::PortNo(ptyPort));
    EXPECT_EQ(device.fGetBaud(), TBaudRate::br57600);
    EXPECT_EQ(device.fGetParity(), TParity::ptNoParity);
    EXPECT_EQ(device.fGetByteSize(), 5);
    EXPECT_EQ(device.fGetStopBits(), TStopBits::sbOne_5_StopBits);
    EXPECT_EQ(device.fGetFlowControl(), TFlowControl::fcXonXoff);
    EXPECT_EQ(device.fGetAutoAnswer(), 7);
    EXPECT_EQ(device.fGetInBufSize(), 16384);
    EXPECT_EQ(device.fGetOutBufSize(), 5000);
    EXPECT_TRUE(device.fGetActive());
    device.Write("hi", 2);
    EXPECT_EQ(pty.ReadExactly(2), "hi");
    device.fSetActive(false);
}

TEST_F(CommSettingsWindowTest, ChecksEachFieldOnOkInOrder)
{
    auto dialog = Open();
    QWidget* d = dialog.get();
    for (const char* list : {"CbPort", "CbSelBaud", "CbByteSize", "CbParity", "CbStopBits", "CbFlow"})
        Combo(d, list)->setCurrentIndex(-1);
    Retype(Edit(d, "EditAutoAns"), "256");
    Retype(Edit(d, "EditInBufSize"), "4095");
    Retype(Edit(d, "EditOutBufSize"), "4095");

    // Each OK reports the first field in error; mending it moves on to the next.
    const struct {
        const char* control;
        const char* message;
        std::function<void()> mend;
    } steps[] = {
        {"CbPort", "Must select COM Port", [&] { SelectPort(d, ptyPort); }},
        {"CbSelBaud", "Must select baud rate", [&] { Combo(d, "CbSelBaud")->setCurrentIndex(8); }},
        {"CbByteSize", "Must select byte size", [&] { Combo(d, "CbByteSize")->setCurrentIndex(3); }},
        {"CbParity", "Must select parity check", [&] { Combo(d, "CbParity")->setCurrentIndex(0); }},
        {"CbStopBits", "Must select stop bits", [&] { Combo(d, "CbStopBits")->setCurrentIndex(0); }},
        {"CbFlow", "Must select flow control", [&] { Combo(d, "CbFlow")->setCurrentIndex(0); }},
        {"EditAutoAns", "Auto Answer: 0 - 255", [&] { Retype(Edit(d, "EditAutoAns"), "x1"); }},
        {"EditAutoAns", "Auto Answer: 0 - 255", [&] { Retype(Edit(d, "EditAutoAns"), ""); }},
        {"EditAutoAns", "Auto Answer: 0 - 255", [&] { Retype(Edit(d, "EditAutoAns"), "255"); }},
        {"EditInBufSize", "Input Buffer size error", [&] { Retype(Edit(d, "EditInBufSize"), "big"); }},
        {"EditInBufSize", "Input Buffer size error", [&] { Retype(Edit(d, "EditInBufSize"), "4096"); }},
        {"EditOutBufSize", "Output Buffer size error", [&] { Retype(Edit(d, "EditOutBufSize"), "4096"); }},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.control);
        EXPECT_EQ(ClickOk(d), step.message);
        EXPECT_TRUE(d->isVisible());
        ASSERT_EQ(d->focusWidget(), d->findChild<QWidget*>(step.control));
        if (auto* edit = qobject_cast<QLineEdit*>(d->focusWidget())) {
            EXPECT_EQ(edit->selectedText(), edit->text());
        }
        EXPECT_EQ(device.fGetAutoAnswer(), 0);   // nothing applied
        step.mend();
    }
    // The limits themselves pass.
    EXPECT_EQ(ClickOk(d), QString());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(device.fGetInBufSize(), 4096);
    EXPECT_EQ(device.fGetOutBufSize(), 4096);
    EXPECT_EQ(device.fGetAutoAnswer(), 255);
}

TEST_F(CommSettingsWindowTest, EnterWalksThroughTheFieldsAndAppliesFromTheLast)
{
    auto dialog = Open();
    const char* order[] = {"CbPort", "CbSelBaud",   "CbParity",      "CbByteSize",    "CbStopBits",
                           "CbFlow", "EditAutoAns", "EditInBufSize", "EditOutBufSize"};
    Combo(dialog.get(), "CbPort")->setFocus();
    for (const char* field : order) {
        ASSERT_EQ(QApplication::focusWidget(), dialog->findChild<QWidget*>(field)) << field;
        if (field == std::string_view("EditOutBufSize"))
            QTest::keyClicks(QApplication::focusWidget(), "0");   // 81920
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(dialog->isVisible(), field != std::string_view("EditOutBufSize")) << field;
    }
    EXPECT_EQ(device.fGetOutBufSize(), 81920);
    EXPECT_FALSE(device.fGetActive());   // not open before, not asked to open
}

TEST_F(CommSettingsWindowTest, AFailureToApplyPutsTheOldSettingsBack)
{
    device.fSetBaud(TBaudRate::br19200);
    device.fSetActive(true);
    auto dialog = Open();
    SelectPort(dialog.get(), missingPort);
    Combo(dialog.get(), "CbSelBaud")->setCurrentIndex(int(TBaudRate::br9600));
    const QString message = ClickOk(dialog.get());
    EXPECT_TRUE(message.startsWith("Cannot open COM port")) << message.toStdString();
    EXPECT_TRUE(message.contains("/dev/k3n-missing-port")) << message.toStdString();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->focusWidget(), Combo(dialog.get(), "CbPort"));

    EXPECT_EQ(device.fGetDeviceName(), ptyPort);
    EXPECT_EQ(device.fGetBaud(), TBaudRate::br19200);
    EXPECT_TRUE(device.fGetActive());   // reopened as it was
    device.Write("ok", 2);
    EXPECT_EQ(pty.ReadExactly(2), "ok");
    device.fSetActive(false);
}

TEST_F(CommSettingsWindowTest, CancelAppliesNothing)
{
    auto dialog = Open();
    QWidget* d = dialog.get();
    SelectPort(d, missingPort);
    Combo(d, "CbSelBaud")->setCurrentIndex(0);
    Combo(d, "CbFlow")->setCurrentIndex(2);
    Retype(Edit(d, "EditAutoAns"), "9");
    Retype(Edit(d, "EditInBufSize"), "5000");
    QTest::mouseClick(Find<QPushButton>(d, "BnCancel"), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(device.fGetDeviceName(), ptyPort);
    EXPECT_EQ(device.fGetBaud(), TBaudRate::br115200);
    EXPECT_EQ(device.fGetFlowControl(), TFlowControl::fcNone);
    EXPECT_EQ(device.fGetAutoAnswer(), 0);
    EXPECT_EQ(device.fGetInBufSize(), 8192);
}
