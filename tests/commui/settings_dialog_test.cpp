// The port settings dialog, driven through its widgets: texts in the
// language, the component's values shown, the checks on OK with their
// messages, Enter walking through the fields, applying, and putting the old
// settings back when applying fails.
#include "comm/comm_device.h"
#include "comm/comm_port_info.h"
#include "comm/comm_test_support.h"
#include "comm/ui/comm_settings_dialog.h"
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

using HalvexComm32::TCommPortEntry;
using HalvexComm32::TCommSerialPortInfo;

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

class SettingsDialogTest : public ::testing::Test {
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

    std::unique_ptr<TForm_ZebCommDevice_Settings> Open(bool openAfterOk = false, bool designing = false)
    {
        auto dialog = std::make_unique<TForm_ZebCommDevice_Settings>(nullptr, openAfterOk, &device, designing);
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        return dialog;
    }
    template <class T>
    static T* Find(QWidget* dialog, const char* name)
    {
        T* w = dialog->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    static void Retype(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }
    static QString ClickOk(QWidget* dialog)
    {
        return AnswerMessageBox([&] { QTest::mouseClick(Find<QPushButton>(dialog, "BnOK"), Qt::LeftButton); });
    }

    commtest::PtyPair pty;
    QString ptyPort, missingPort;
    TZebCommDevice device;
};

} // namespace

TEST_F(SettingsDialogTest, ShowsItsTextsAndLists)
{
    auto dialog = Open();
    EXPECT_EQ(dialog->windowTitle(), "COM port Setup");
    EXPECT_EQ(Find<QGroupBox>(dialog.get(), "GbPort")->title(), "Port");
    EXPECT_EQ(Find<QGroupBox>(dialog.get(), "GbModem")->title(), "Modem");
    EXPECT_EQ(Find<QGroupBox>(dialog.get(), "GbBuffer")->title(), "Buffer");
    const std::pair<const char*, const char*> labels[] = {
        {"LbPort", "COM port"}, {"LbBaud", "Baud"}, {"LbParity", "Parity"}, {"LbByteSize", "Byte Size"},
        {"LbStopBits", "Stop Bits"}, {"LbFlow", "Flow Control"}, {"LbAutoAns", "Auto Answer"},
        {"LbInBufSize", "Input Buf."}, {"LbOutBufSize", "Output Buf."}};
    for (const auto& [name, text] : labels)
        EXPECT_EQ(Find<QLabel>(dialog.get(), name)->text(), text) << name;
    EXPECT_EQ(Find<QPushButton>(dialog.get(), "BnOK")->text(), "&OK");
    EXPECT_EQ(Find<QPushButton>(dialog.get(), "BnCancel")->text(), "&Cancel");
    EXPECT_TRUE(Find<QPushButton>(dialog.get(), "BnOK")->isDefault());
    EXPECT_FALSE(Find<QPushButton>(dialog.get(), "BnAbout")->isVisible());
    EXPECT_FALSE(Find<QPushButton>(dialog.get(), "BnDefault")->isVisible());

    EXPECT_EQ(Items(Find<QComboBox>(dialog.get(), "CbSelBaud")),
              QStringList({"110", "300", "600", "1200", "2400", "4800", "9600", "14400", "19200", "38400", "56000",
                           "57600", "115200", "128000", "256000"}));
    EXPECT_EQ(Items(Find<QComboBox>(dialog.get(), "CbByteSize")), QStringList({"5", "6", "7", "8"}));
    EXPECT_EQ(Items(Find<QComboBox>(dialog.get(), "CbStopBits")), QStringList({"1", "1.5", "2"}));
    EXPECT_EQ(Items(Find<QComboBox>(dialog.get(), "CbParity")),
              QStringList({"No parity", "Odd", "Even", "Mark", "Space Parity"}));
    EXPECT_EQ(Items(Find<QComboBox>(dialog.get(), "CbFlow")),
              QStringList({"None", "RTS/CTS", "Xon/Xoff", "RTS/CTS & Xon/Xoff"}));
    EXPECT_TRUE(Items(Find<QComboBox>(dialog.get(), "CbPort"))
                    .contains(ptyPort + " \u2014 " + pty.SlavePath() + " (virtual radio)"));

    k3n::appLang().fSetLangType(k3n::kLangSimplified);
    auto chinese = Open();
    EXPECT_EQ(chinese->windowTitle(), QString::fromUtf8("串口设置"));
    EXPECT_EQ(Find<QPushButton>(chinese.get(), "BnOK")->text(), QString::fromUtf8("确定(&O)"));
    EXPECT_EQ(chinese->font().pointSize(), 9);
    k3n::appLang().fSetLangType(k3n::kLangTraditional);
    auto traditional = Open();
    EXPECT_EQ(traditional->windowTitle(), QString::fromUtf8("串列埠設定"));
    EXPECT_EQ(Find<QComboBox>(traditional.get(), "CbParity")->itemText(0), QString::fromUtf8("無同位檢查"));
    k3n::appLang().fSetLangType(k3n::kLangEnglish);
}

TEST_F(SettingsDialogTest, ShowsTheComponentsCurrentValues)
{
    device.fSetBaud(TBaudRate::br19200);
    device.fSetParity(TParity::ptOddParity);
    device.fSetByteSize(7);
    device.fSetStopBits(TStopBits::sbTwoStopBit);
    device.fSetFlowControl(TFlowControl::fcTranXonXoff);
    device.fSetAutoAnswer(3);
    device.fSetInBufSize(9000);
    device.fSetOutBufSize(10000);
    auto dialog = Open();
    EXPECT_EQ(Find<QComboBox>(dialog.get(), "CbPort")->currentText().section(' ', 0, 0), ptyPort);
    EXPECT_EQ(Find<QComboBox>(dialog.get(), "CbSelBaud")->currentText(), "19200");
    EXPECT_EQ(Find<QComboBox>(dialog.get(), "CbParity")->currentText(), "Odd");
    EXPECT_EQ(Find<QComboBox>(dialog.get(), "CbByteSize")->currentText(), "7");
    EXPECT_EQ(Find<QComboBox>(dialog.get(), "CbStopBits")->currentText(), "2");
    EXPECT_EQ(Find<QComboBox>(dialog.get(), "CbFlow")->currentText(), "Xon/Xoff");
    EXPECT_EQ(Find<QLineEdit>(dialog.get(), "EditAutoAns")->text(), "3");
    EXPECT_EQ(Find<QLineEdit>(dialog.get(), "EditInBufSize")->text(), "9000");
    EXPECT_EQ(Find<QLineEdit>(dialog.get(), "EditOutBufSize")->text(), "10000");

    device.fSetPortNo(999);  // not in the list: nothing selected
    auto none = Open();
    EXPECT_EQ(Find<QComboBox>(none.get(), "CbPort")->currentIndex(), -1);
    EXPECT_EQ(ClickOk(none.get()), "Must select COM Port");
    EXPECT_TRUE(none->isVisible());
    EXPECT_EQ(none->focusWidget(), Find<QComboBox>(none.get(), "CbPort"));
}

TEST_F(SettingsDialogTest, ChecksEachFieldOnOkInOrder)
{
    auto dialog = Open();
    struct Case {
        const char* control;
        std::function<void()> spoil;
        const char* message;
    };
    auto* autoAns = Find<QLineEdit>(dialog.get(), "EditAutoAns");
    auto* inBuf = Find<QLineEdit>(dialog.get(), "EditInBufSize");
    auto* outBuf = Find<QLineEdit>(dialog.get(), "EditOutBufSize");
    const Case cases[] = {
        {"CbSelBaud", [&] { Find<QComboBox>(dialog.get(), "CbSelBaud")->setCurrentIndex(-1); }, "Must select baud rate"},
        {"CbByteSize", [&] { Find<QComboBox>(dialog.get(), "CbByteSize")->setCurrentIndex(-1); }, "Must select byte size"},
        {"CbParity", [&] { Find<QComboBox>(dialog.get(), "CbParity")->setCurrentIndex(-1); }, "Must select parity check"},
        {"CbStopBits", [&] { Find<QComboBox>(dialog.get(), "CbStopBits")->setCurrentIndex(-1); }, "Must select stop bits"},
        {"CbFlow", [&] { Find<QComboBox>(dialog.get(), "CbFlow")->setCurrentIndex(-1); }, "Must select flow control"},
        {"EditAutoAns", [&] { Retype(autoAns, "256"); }, "Auto Answer: 0 - 255"},
        {"EditAutoAns", [&] { Retype(autoAns, "x1"); }, "Auto Answer: 0 - 255"},
        {"EditAutoAns", [&] { Retype(autoAns, ""); }, "Auto Answer: 0 - 255"},
        {"EditInBufSize", [&] { Retype(inBuf, "4095"); }, "Input Buffer size error"},
        {"EditInBufSize", [&] { Retype(inBuf, "big"); }, "Input Buffer size error"},
        {"EditOutBufSize", [&] { Retype(outBuf, "4095"); }, "Output Buffer size error"},
    };
    for (const Case& c : cases) {
        auto fresh = Open();
        dialog.swap(fresh);
        autoAns = Find<QLineEdit>(dialog.get(), "EditAutoAns");
        inBuf = Find<QLineEdit>(dialog.get(), "EditInBufSize");
        outBuf = Find<QLineEdit>(dialog.get(), "EditOutBufSize");
        c.spoil();
        EXPECT_EQ(ClickOk(dialog.get()), c.message) << c.control;
        EXPECT_TRUE(dialog->isVisible()) << c.control;
        EXPECT_EQ(dialog->focusWidget(), dialog->findChild<QWidget*>(c.control)) << c.control;
        if (auto* edit = qobject_cast<QLineEdit*>(dialog->focusWidget())) {
            EXPECT_EQ(edit->selectedText(), edit->text()) << c.control;
        }
    }
    EXPECT_EQ(device.fGetInBufSize(), 8192);  // nothing applied

    // The smallest buffers that pass.
    Retype(Find<QLineEdit>(dialog.get(), "EditOutBufSize"), "4096");
    Retype(Find<QLineEdit>(dialog.get(), "EditInBufSize"), "4096");
    Retype(Find<QLineEdit>(dialog.get(), "EditAutoAns"), "255");
    Find<QComboBox>(dialog.get(), "CbSelBaud")->setCurrentIndex(8);
    Find<QComboBox>(dialog.get(), "CbByteSize")->setCurrentIndex(3);
    Find<QComboBox>(dialog.get(), "CbParity")->setCurrentIndex(0);
    Find<QComboBox>(dialog.get(), "CbStopBits")->setCurrentIndex(0);
    Find<QComboBox>(dialog.get(), "CbFlow")->setCurrentIndex(0);
    EXPECT_EQ(ClickOk(dialog.get()), QString());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(device.fGetOutBufSize(), 4096);
    EXPECT_EQ(device.fGetAutoAnswer(), 255);
}

TEST_F(SettingsDialogTest, OkAppliesEverythingAndOpensWhenAsked)
{
    device.fSetPortNo(999);
    auto dialog = Open(/*openAfterOk=*/true);
    auto* port = Find<QComboBox>(dialog.get(), "CbPort");
    port->setCurrentIndex(port->findText(ptyPort, Qt::MatchStartsWith));
    Find<QComboBox>(dialog.get(), "CbSelBaud")->setCurrentIndex(int(TBaudRate::br57600));
    Find<QComboBox>(dialog.get(), "CbByteSize")->setCurrentIndex(0);  // 5 data bits
    Find<QComboBox>(dialog.get(), "CbStopBits")->setCurrentIndex(1);  // 1.5
    Find<QComboBox>(dialog.get(), "CbFlow")->setCurrentIndex(2);
    Retype(Find<QLineEdit>(dialog.get(), "EditAutoAns"), "7");
    Retype(Find<QLineEdit>(dialog.get(), "EditInBufSize"), "16384");
    Retype(Find<QLineEdit>(dialog.get(), "EditOutBufSize"), "5000");
    EXPECT_EQ(ClickOk(dialog.get()), QString());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);

    EXPECT_EQ(device.fGetDeviceName(), ptyPort);
    EXPECT_EQ(device.fGetPortNo(), TCommSerialPortInfo::PortNo(ptyPort));
    EXPECT_EQ(device.fGetBaud(), TBaudRate::br57600);
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

TEST_F(SettingsDialogTest, EnterWalksThroughTheFieldsAndAppliesFromTheLast)
{
    auto dialog = Open();
    const char* order[] = {"CbPort", "CbSelBaud", "CbParity", "CbByteSize", "CbStopBits",
                           "CbFlow", "EditAutoAns", "EditInBufSize", "EditOutBufSize"};
    Find<QComboBox>(dialog.get(), "CbPort")->setFocus();
    for (size_t i = 0; i + 1 < std::size(order); ++i) {
        ASSERT_EQ(QApplication::focusWidget(), dialog->findChild<QWidget*>(order[i])) << order[i];
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_TRUE(dialog->isVisible()) << order[i];
    }
    ASSERT_EQ(QApplication::focusWidget(), Find<QLineEdit>(dialog.get(), "EditOutBufSize"));
    QTest::keyClicks(QApplication::focusWidget(), "0");  // 81920
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(device.fGetOutBufSize(), 81920);
    EXPECT_FALSE(device.fGetActive());  // not open before, not asked to open
}

TEST_F(SettingsDialogTest, AFailureToApplyPutsTheOldSettingsBack)
{
    device.fSetBaud(TBaudRate::br19200);
    device.fSetActive(true);
    auto dialog = Open();
    auto* port = Find<QComboBox>(dialog.get(), "CbPort");
    port->setCurrentIndex(port->findText(missingPort, Qt::MatchStartsWith));
    Find<QComboBox>(dialog.get(), "CbSelBaud")->setCurrentIndex(int(TBaudRate::br9600));
    const QString message = ClickOk(dialog.get());
    EXPECT_TRUE(message.startsWith("Cannot open COM port")) << message.toStdString();
    EXPECT_TRUE(message.contains("/dev/k3n-missing-port")) << message.toStdString();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->focusWidget(), port);

    EXPECT_EQ(device.fGetDeviceName(), ptyPort);
    EXPECT_EQ(device.fGetBaud(), TBaudRate::br19200);
    EXPECT_TRUE(device.fGetActive());  // reopened as it was
    device.Write("ok", 2);
    EXPECT_EQ(pty.ReadExactly(2), "ok");
    device.fSetActive(false);
}

TEST_F(SettingsDialogTest, CancelAppliesNothingAndDefaultOnlyFillsTheFields)
{
    auto dialog = Open(false, /*designing=*/true);
    EXPECT_TRUE(Find<QPushButton>(dialog.get(), "BnDefault")->isVisible());
    EXPECT_TRUE(Find<QPushButton>(dialog.get(), "BnAbout")->isVisible());
    Find<QComboBox>(dialog.get(), "CbSelBaud")->setCurrentIndex(0);
    Retype(Find<QLineEdit>(dialog.get(), "EditAutoAns"), "9");
    Retype(Find<QLineEdit>(dialog.get(), "EditInBufSize"), "5000");
    QTest::mouseClick(Find<QPushButton>(dialog.get(), "BnDefault"), Qt::LeftButton);
    EXPECT_EQ(Find<QComboBox>(dialog.get(), "CbSelBaud")->currentText(), "115200");
    EXPECT_EQ(Find<QComboBox>(dialog.get(), "CbByteSize")->currentText(), "8");
    EXPECT_EQ(Find<QComboBox>(dialog.get(), "CbParity")->currentIndex(), 0);
    EXPECT_EQ(Find<QComboBox>(dialog.get(), "CbStopBits")->currentIndex(), 0);
    EXPECT_EQ(Find<QComboBox>(dialog.get(), "CbFlow")->currentIndex(), 0);
    EXPECT_EQ(Find<QLineEdit>(dialog.get(), "EditAutoAns")->text(), "0");
    EXPECT_EQ(Find<QLineEdit>(dialog.get(), "EditInBufSize")->text(), "8192");
    EXPECT_EQ(Find<QLineEdit>(dialog.get(), "EditOutBufSize")->text(), "8192");
    EXPECT_TRUE(Find<QComboBox>(dialog.get(), "CbPort")->currentText().startsWith(ptyPort));

    device.fSetAutoAnswer(4);
    QTest::mouseClick(Find<QPushButton>(dialog.get(), "BnCancel"), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(device.fGetAutoAnswer(), 4);
    EXPECT_EQ(device.fGetBaud(), TBaudRate::br115200);
}

TEST_F(SettingsDialogTest, TheModalCallSaysWhetherOkClosedIt)
{
    const auto pressLater = [](const char* button) {
        QTimer::singleShot(0, [button] {
            commtest::WaitUntil([] { return QApplication::activeModalWidget() != nullptr; });
            QWidget* dialog = QApplication::activeModalWidget();
            QTest::mouseClick(dialog->findChild<QPushButton*>(button), Qt::LeftButton);
        });
    };
    pressLater("BnOK");
    EXPECT_TRUE(SettingsDialog(device, nullptr, false));
    pressLater("BnCancel");
    EXPECT_FALSE(SettingsDialog(device, nullptr, false));
}
