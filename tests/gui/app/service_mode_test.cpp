// SPDX-License-Identifier: GPL-3.0-or-later
// The service mode as the main window opens it: the password, the service
// windows, and their transfers through the programming window to a virtual
// radio on a pseudo-terminal, on the real clock.
#include "app/program_window.h"
#include "app/service_mode.h"
#include "comm/port_list.h"
#include "model/record_layout.h"
#include "service/adjustment_window.h"
#include "service/apc_tune_window.h"
#include "service/password_window.h"
#include "service/write_sn_window.h"
#include "support/main_window_fixture.h"
#include "virtualradio/virtual_radio.h"
#include "widgets/message_windows.h"
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace k3n {
namespace {

using HalvexComm32::TCommSerialPortInfo;
using Bytes = std::vector<uint8_t>;

// The virtual radio listed as one of the machine's COM ports, chosen in the
// settings; the main window only where a test opens it.
class ServiceModeOnRadio : public test::MainWindowFixture {
protected:
    void SetUp() override
    {
        settings.Port = 1;
        settings.AutoSeachPort = false;
    }
    void startRadio()
    {
        listed.emplace(options);
        radio = listed->radio.get();
        chooseRadio(*listed);   // the search is off; a number past 9 still names the port
        ASSERT_GT(settings.Port, 0);
    }

    // The user presses a button of a window of this class.
    template <class Window> static void press(test::ModalAnswers& user, const char* button)
    {
        user.then<Window>([button](Window& w) { w.template findChild<QPushButton*>(button)->click(); });
    }
    static void enterPassword(test::ModalAnswers& user, const char* typed)
    {
        user.then<TPasswordDlg>([typed](TPasswordDlg& w) {
            QTest::keyClicks(w.eInput, typed);
            w.OKBtn->click();
        });
    }
    // OK on a notice, whose text is kept.
    static void keepNotice(test::ModalAnswers& user, QStringList& notices)
    {
        user.then<TUserWarnDlg>([&notices](TUserWarnDlg& w) {
            notices << w.WarnDlgText->text();
            w.OKBtn->click();
        });
    }
    // Start in the programming window, then OK on the notice it ends with.
    static void session(test::ModalAnswers& user, QStringList& notices)
    {
        press<TProgramDialog>(user, "ProgramStart");
        keepNotice(user, notices);
    }

    VirtualRadioOptions options;
    std::optional<test::ListedRadio> listed;
    VirtualRadio* radio = nullptr;
    ServiceData service;
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
    test::ModalAnswers user;
    enterPassword(user, "482915");
    press<TAdjustmentDlg>(user, "Button1");
    session(user, notices);
    user.then<TAdjustmentDlg>([&firmwareShown](TAdjustmentDlg& dlg) {
        firmwareShown = {dlg.labModel->text(), dlg.labBand->text(), dlg.labVersion->text()};
        dlg.reject();
    });

    OpenServiceMode(nullptr, service, data, settings, {});

    EXPECT_TRUE(user.done());
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
    test::ModalAnswers user;
    press<TApcTuneDlg>(user, "bWriteAll");
    keepNotice(user, notices);
    user.then<TApcTuneDlg>([&](TApcTuneDlg&) { framesAfterWriteAll = radio->frames().size(); });
    press<TApcTuneDlg>(user, "bRead");
    session(user, notices);
    user.then<TApcTuneDlg>([](TApcTuneDlg& dlg) { dlg.reject(); });

    service.apc_sq_level_9 = 999;
    const ServiceData before = service;
    const auto commit = [&] {
        ++commits;
        data.record.set(rec::freq_band, 9);
    };
    TApcTuneDlg dlg({service, data, ProgramDialogTransfers(nullptr, service, data, settings, commit)});
    dlg.exec();

    EXPECT_TRUE(user.done());
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
    test::ModalAnswers user;
    const auto answer = [&questions, &user](const char* button) {
        user.then<TMyWarnDlg_3>([&questions, button](TMyWarnDlg_3& dlg) {
            questions << dlg.Label1->text();
            EXPECT_TRUE(dlg.NoBtn->isDefault());
            EXPECT_FALSE(dlg.CancelBtn->isVisible());
            dlg.findChild<QPushButton*>(button)->click();
        });
    };
    press<TApcTuneDlg>(user, "bWrite");
    answer("NoBtn");
    user.then<TApcTuneDlg>([&](TApcTuneDlg&) { framesAfterNo = radio->frames().size(); });
    press<TApcTuneDlg>(user, "bWrite");
    answer("OKBtn");   // Yes: the zeros go out as asked
    session(user, notices);
    press<TApcTuneDlg>(user, "bRead");
    session(user, notices);
    press<TApcTuneDlg>(user, "bWrite");   // read in this run: no question
    session(user, notices);
    user.then<TApcTuneDlg>([](TApcTuneDlg& dlg) { dlg.reject(); });

    TApcTuneDlg dlg({service, data, ProgramDialogTransfers(nullptr, service, data, settings, {})});
    dlg.exec();

    ASSERT_TRUE(user.done());
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
    const auto answer = [&questions](test::ModalAnswers& user, const char* button) {
        user.then<TMyWarnDlg_3>([&questions, button](TMyWarnDlg_3& dlg) {
            questions << dlg.Label1->text();
            dlg.findChild<QPushButton*>(button)->click();
        });
    };
    std::size_t framesAfterNo = 99;
    test::ModalAnswers user;
    press<TWriteSnDlg>(user, "Button2");
    answer(user, "NoBtn");
    user.then<TWriteSnDlg>([&](TWriteSnDlg& dlg) {
        framesAfterNo = radio->frames().size();
        dlg.reject();
    });
    TWriteSnDlg dlg({service, data, ProgramDialogTransfers(nullptr, service, data, settings, {})});
    dlg.exec();
    ASSERT_TRUE(user.done());
    EXPECT_EQ(framesAfterNo, 0u);
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].contains("serial number")) << questions[0].toStdString();

    // An adjustment read that fails leaves the fields unread: the write asks.
    service.adjustment_read_from_radio = true;
    test::ModalAnswers rest;
    press<TAdjustmentDlg>(rest, "bRead");
    session(rest, notices);
    press<TAdjustmentDlg>(rest, "bWrite");
    answer(rest, "NoBtn");
    rest.then<TAdjustmentDlg>([](TAdjustmentDlg& dlg) { dlg.reject(); });
    TAdjustmentDlg adjustment({service, data, ProgramDialogTransfers(nullptr, service, data, settings, {})});
    adjustment.exec();
    ASSERT_TRUE(rest.done());
    EXPECT_EQ(notices, QStringList{"Communication False"});
    EXPECT_FALSE(service.adjustment_read_from_radio);
    ASSERT_EQ(questions.size(), 2);
    EXPECT_TRUE(questions[1].contains("adjustment")) << questions[1].toStdString();
}

TEST_F(ServiceModeOnRadio, RadioTestMenuOpensThePasswordWindowAndTheFactoryDataOutlivesTheWindows)
{
    openWindow();
    QAction* radioTest = item("Menu_RadioTest");
    ASSERT_NE(radioTest, nullptr);

    QString shownAgain;
    test::ModalAnswers user;
    enterPassword(user, "482915");
    user.then<TAdjustmentDlg>([](TAdjustmentDlg& dlg) {
        dlg.eCtcssLevel->setFocus(Qt::TabFocusReason);
        dlg.eCtcssLevel->selectAll();
        QTest::keyClicks(dlg.eCtcssLevel, "100");
        dlg.eMaxModLimit->setFocus(Qt::TabFocusReason);
        dlg.reject();
    });
    enterPassword(user, "482915");
    user.then<TAdjustmentDlg>([&shownAgain](TAdjustmentDlg& dlg) {
        shownAgain = dlg.eCtcssLevel->text();
        dlg.reject();
    });
    enterPassword(user, "482951");
    for (int i = 0; i < 3; ++i)
        radioTest->trigger();
    EXPECT_TRUE(user.done());
    EXPECT_EQ(shownAgain, "100");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "a wrong password leaves nothing open";
}

}   // namespace
}   // namespace k3n
