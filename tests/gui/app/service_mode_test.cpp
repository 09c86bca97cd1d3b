// SPDX-License-Identifier: GPL-3.0-or-later
// The service mode as the main window opens it: the password, the service
// windows, and their transfers through the programming window to a virtual
// radio on a pseudo-terminal, on the real clock.
#include "widgets/message_windows.h"
#include "app/main_window.h"
#include "app/program_window.h"
#include "app/service_mode.h"
#include "comm/port_list.h"
#include "model/record_layout.h"
#include "service/adjustment_window.h"
#include "service/apc_tune_window.h"
#include "service/password_window.h"
#include "service/write_sn_window.h"
#include "virtualradio/virtual_radio.h"
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <deque>
#include <gtest/gtest.h>

namespace k3n {
namespace {

using HalvexComm32::TCommSerialPortInfo;
using Bytes = std::vector<uint8_t>;

// Plays a user's part: each step waits for a modal window of its class to be
// in front, then acts on it. Actions run from the event loop, never inside
// the poll, so a button that opens another modal window does not block it.
class UserScript {
public:
    struct Step {
        const char* windowClass;
        std::function<void(QWidget*)> act;
    };

    explicit UserScript(std::deque<Step> steps) : steps_(std::move(steps))
    {
        QObject::connect(&poll_, &QTimer::timeout, [this] { poll(); });
        poll_.start(5);
        // A step that never finds its window fails the test instead of hanging it.
        giveUp_.setSingleShot(true);
        giveUp_.start(60000);
    }
    bool finished() const { return steps_.empty(); }
    QStringList notices;

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!giveUp_.isActive()) {
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            return;
        }
        if (busy_ || steps_.empty() || !modal)
            return;
        if (std::string(modal->metaObject()->className()) != steps_.front().windowClass)
            return;
        busy_ = true;
        // Acted on from the event loop; by then a window that was closing when
        // the poll saw it may be gone, and its step waits for the next one.
        QTimer::singleShot(0, qApp, [this, modal = QPointer<QWidget>(modal)] {
            busy_ = false;
            if (!modal || modal != QApplication::activeModalWidget() || steps_.empty())
                return;
            Step step = std::move(steps_.front());
            steps_.pop_front();
            step.act(modal);
        });
    }

    std::deque<Step> steps_;
    QTimer poll_;
    QTimer giveUp_;
    bool busy_ = false;
};

template <class T>
T* As(QWidget* w)
{
    return qobject_cast<T*>(w);
}

// The virtual radio listed as one of the machine's COM ports, chosen in the settings.
class ServiceModeOnRadio : public ::testing::Test {
protected:
    void startRadio()
    {
        radio = std::make_unique<VirtualRadio>(options);
        ASSERT_EQ(radio->Start(), std::nullopt);
        const QString path = radio->devicePath();
        TCommSerialPortInfo::AddExtraPort("virtual radio", path);
        for (const auto& port : TCommSerialPortInfo().Ports())
            if (port.devicePath == path)
                settings.Port = TCommSerialPortInfo::PortNo(port.name);
        ASSERT_GT(settings.Port, 0);
    }
    void TearDown() override
    {
        if (radio)
            TCommSerialPortInfo::RemoveExtraPort(radio->devicePath());
    }

    static UserScript::Step press(const char* windowClass, const char* button)
    {
        return {windowClass, [button](QWidget* w) { w->findChild<QPushButton*>(button)->click(); }};
    }
    static UserScript::Step enterPassword(const char* typed)
    {
        return {"k3n::TPasswordDlg", [typed](QWidget* w) {
                    QTest::keyClicks(As<TPasswordDlg>(w)->eInput, typed);
                    As<TPasswordDlg>(w)->OKBtn->click();
                }};
    }
    // Start in the programming window, then OK on the notice it ends with.
    void session(std::deque<UserScript::Step>& steps, QStringList& notices)
    {
        steps.push_back(press("k3n::TProgramDialog", "ProgramStart"));
        steps.push_back({"k3n::TUserWarnDlg", [&notices](QWidget* w) {
                             notices << As<TUserWarnDlg>(w)->WarnDlgText->text();
                             As<TUserWarnDlg>(w)->OKBtn->click();
                         }});
    }

    VirtualRadioOptions options;
    std::unique_ptr<VirtualRadio> radio;
    AppSettings settings{.Port = 1, .Language = 0, .AutoSeachPort = false};
    ServiceData service;
    RadioData data;
};

TEST_F(ServiceModeOnRadio, PasswordThenFirmwareReadShownAfterTheSuccessNotice)
{
    options.firmware_model = 1;
    options.firmware_band = 2;
    options.firmware_version = 0x0105;
    startRadio();
    const MemoryImage before = radio->memory();
    ASSERT_EQ(Bytes(before.begin() + 0x0FD0, before.begin() + 0x0FD6), (Bytes{0x00, 0x01, 0x00, 0x02, 0x01, 0x05}));

    QStringList notices;
    QStringList firmwareShown;
    std::deque<UserScript::Step> steps{enterPassword("482915"), press("k3n::TAdjustmentDlg", "Button1")};
    session(steps, notices);
    steps.push_back({"k3n::TAdjustmentDlg", [&firmwareShown](QWidget* w) {
                         auto* dlg = As<TAdjustmentDlg>(w);
                         firmwareShown = {dlg->labModel->text(), dlg->labBand->text(), dlg->labVersion->text()};
                         dlg->reject();
                     }});
    UserScript user(std::move(steps));

    OpenServiceMode(nullptr, service, data, settings, {});

    EXPECT_TRUE(user.finished());
    EXPECT_EQ(notices, QStringList{"SUCCESS"});
    EXPECT_EQ(service.firmware_version, 0x0105);
    EXPECT_EQ(firmwareShown, (QStringList{"1", "2", "105"})) << "shown after the success message was closed";
}

// The editors are committed before the request is built: here the committed
// band has no code in the radio, so Write All sends nothing.
TEST_F(ServiceModeOnRadio, WriteAllCommitsTheEditorsFirstAndAFailedReadKeepsTheFields)
{
    options.fault = {RadioFault::WrongAnswer, 1};
    startRadio();
    data.ResetForBand(3);
    int commits = 0;
    std::size_t framesAfterWriteAll = 0;
    QStringList notices;
    std::deque<UserScript::Step> steps;
    steps.push_back(press("k3n::TApcTuneDlg", "bWriteAll"));
    steps.push_back({"k3n::TUserWarnDlg", [&notices](QWidget* w) {
                         notices << As<TUserWarnDlg>(w)->WarnDlgText->text();
                         As<TUserWarnDlg>(w)->OKBtn->click();
                     }});
    steps.push_back({"k3n::TApcTuneDlg", [&](QWidget*) { framesAfterWriteAll = radio->frames().size(); }});
    steps.push_back(press("k3n::TApcTuneDlg", "bRead"));
    session(steps, notices);
    steps.push_back({"k3n::TApcTuneDlg", [](QWidget* w) { As<TApcTuneDlg>(w)->reject(); }});
    UserScript user(std::move(steps));

    service.apc_sq_level_9 = 999;
    const ServiceData before = service;
    const auto commit = [&] {
        ++commits;
        data.record.set(rec::freq_band, 9);
    };
    TApcTuneDlg dlg({service, data, ProgramDialogTransfers(nullptr, service, data, settings, commit)});
    dlg.exec();

    EXPECT_TRUE(user.finished());
    EXPECT_EQ(commits, 1);
    EXPECT_EQ(notices, (QStringList{"Wrong Freq Band", "Communication False"}));
    EXPECT_EQ(framesAfterWriteAll, 0u);
    EXPECT_EQ(service, before);
}

// Factory calibration that was never read in this run is not overwritten
// with the empty fields unless the user says so; after a read nobody asks.
TEST_F(ServiceModeOnRadio, WritingFactoryDataThatWasNeverReadAsksFirstAndNoSendsNothing)
{
    startRadio();
    MemoryImage factory = radio->memory();
    for (int i = 0; i < kApcTuneArea.size; ++i)
        factory[kApcTuneArea.address + i] = uint8_t(0x40 + i);
    radio->setMemory(factory);
    const auto apcBytes = [this] {
        const MemoryImage m = radio->memory();
        return Bytes(m.begin() + kApcTuneArea.address, m.begin() + kApcTuneArea.address + kApcTuneArea.size);
    };
    const Bytes factoryApc = apcBytes();

    QStringList questions, notices;
    std::size_t framesAfterNo = 99;
    const auto answer = [&questions](const char* button) {
        return UserScript::Step{"k3n::TMyWarnDlg_3", [&questions, button](QWidget* w) {
                                    auto* dlg = As<TMyWarnDlg_3>(w);
                                    questions << dlg->Label1->text();
                                    EXPECT_TRUE(dlg->NoBtn->isDefault());
                                    EXPECT_FALSE(dlg->CancelBtn->isVisible());
                                    w->findChild<QPushButton*>(button)->click();
                                }};
    };
    std::deque<UserScript::Step> steps{press("k3n::TApcTuneDlg", "bWrite"), answer("NoBtn")};
    steps.push_back({"k3n::TApcTuneDlg", [&](QWidget*) { framesAfterNo = radio->frames().size(); }});
    steps.push_back(press("k3n::TApcTuneDlg", "bWrite"));
    steps.push_back(answer("OKBtn"));   // Yes: the zeros go out as asked
    session(steps, notices);
    steps.push_back(press("k3n::TApcTuneDlg", "bRead"));
    session(steps, notices);
    steps.push_back(press("k3n::TApcTuneDlg", "bWrite"));   // read in this run: no question
    session(steps, notices);
    steps.push_back({"k3n::TApcTuneDlg", [](QWidget* w) { As<TApcTuneDlg>(w)->reject(); }});
    UserScript user(std::move(steps));

    TApcTuneDlg dlg({service, data, ProgramDialogTransfers(nullptr, service, data, settings, {})});
    dlg.exec();

    ASSERT_TRUE(user.finished());
    EXPECT_EQ(framesAfterNo, 0u);
    const QString asked = QString::fromUtf8("The power-tuning values were not read from this radio. Writing them "
                                            "replaces its factory calibration. Write anyway?");
    EXPECT_EQ(questions, (QStringList{asked, asked}));
    EXPECT_EQ(notices, (QStringList{"SUCCESS", "SUCCESS", "SUCCESS"}));
    EXPECT_EQ(apcBytes(), Bytes(kApcTuneArea.size, 0)) << "Yes wrote the fields, zeros";
    EXPECT_TRUE(service.apc_read_from_radio);
}

TEST_F(ServiceModeOnRadio, AnEmptySerialNumberIsWrittenOnlyAfterAYesAndAFailedReadAsksAgain)
{
    options.fault = {RadioFault::WrongAnswer, 1};
    startRadio();
    QStringList questions, notices;
    const auto answer = [&questions](const char* button) {
        return UserScript::Step{"k3n::TMyWarnDlg_3", [&questions, button](QWidget* w) {
                                    questions << As<TMyWarnDlg_3>(w)->Label1->text();
                                    w->findChild<QPushButton*>(button)->click();
                                }};
    };
    std::size_t framesAfterNo = 99;
    std::deque<UserScript::Step> steps{press("k3n::TWriteSnDlg", "Button2"), answer("NoBtn")};
    steps.push_back({"k3n::TWriteSnDlg", [&](QWidget* w) {
                         framesAfterNo = radio->frames().size();
                         As<TWriteSnDlg>(w)->reject();
                     }});
    UserScript user(std::move(steps));
    TWriteSnDlg dlg({service, data, ProgramDialogTransfers(nullptr, service, data, settings, {})});
    dlg.exec();
    ASSERT_TRUE(user.finished());
    EXPECT_EQ(framesAfterNo, 0u);
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].contains("serial number")) << questions[0].toStdString();

    // An adjustment read that fails leaves the fields unread: the write asks.
    service.adjustment_read_from_radio = true;
    std::deque<UserScript::Step> more{press("k3n::TAdjustmentDlg", "bRead")};
    session(more, notices);
    more.push_back(press("k3n::TAdjustmentDlg", "bWrite"));
    more.push_back(answer("NoBtn"));
    more.push_back({"k3n::TAdjustmentDlg", [](QWidget* w) { As<TAdjustmentDlg>(w)->reject(); }});
    UserScript rest(std::move(more));
    TAdjustmentDlg adjustment({service, data, ProgramDialogTransfers(nullptr, service, data, settings, {})});
    adjustment.exec();
    ASSERT_TRUE(rest.finished());
    EXPECT_EQ(notices, QStringList{"Communication False"});
    EXPECT_FALSE(service.adjustment_read_from_radio);
    ASSERT_EQ(questions.size(), 2);
    EXPECT_TRUE(questions[1].contains("adjustment")) << questions[1].toStdString();
}

TEST_F(ServiceModeOnRadio, RadioTestMenuOpensThePasswordWindowAndTheFactoryDataOutlivesTheWindows)
{
    QApplication::setQuitOnLastWindowClosed(false);
    TMainForm window(data, settings);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QAction* radioTest = window.findChild<QAction*>("Menu_RadioTest");
    ASSERT_NE(radioTest, nullptr);

    QString shownAgain;
    UserScript user({
        enterPassword("482915"),
        {"k3n::TAdjustmentDlg", [](QWidget* w) {
             auto* dlg = As<TAdjustmentDlg>(w);
             dlg->eCtcssLevel->setFocus(Qt::TabFocusReason);
             dlg->eCtcssLevel->selectAll();
             QTest::keyClicks(dlg->eCtcssLevel, "100");
             dlg->eMaxModLimit->setFocus(Qt::TabFocusReason);
             dlg->reject();
         }},
        enterPassword("482915"),
        {"k3n::TAdjustmentDlg", [&shownAgain](QWidget* w) {
             shownAgain = As<TAdjustmentDlg>(w)->eCtcssLevel->text();
             As<TAdjustmentDlg>(w)->reject();
         }},
        enterPassword("482951"),
    });
    for (int i = 0; i < 3; ++i)
        radioTest->trigger();
    EXPECT_TRUE(user.finished());
    EXPECT_EQ(shownAgain, "100");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "a wrong password leaves nothing open";
}

} // namespace
} // namespace k3n
