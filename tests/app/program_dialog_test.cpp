// The programming window against a virtual radio on a pseudo-terminal: the
// whole path through the session runner and real terminals, on the real clock.
#include "app/base/message_windows.h"
#include "app/program_dialog.h"
#include "model/record_layout.h"
#include "virtualradio/virtual_radio.h"
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace k3n {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const ProgramTime kTime{2024, 6, 30, 23, 59};

// Answers every notice window as it opens, keeping its text.
class NoticeAnswerer {
public:
    NoticeAnswerer()
    {
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            if (auto* notice = qobject_cast<TUserWarnDlg*>(QApplication::activeModalWidget())) {
                texts << notice->WarnDlgText->text();
                notice->OKBtn->click();
            }
        });
        poll_.start(5);
    }
    QStringList texts;

private:
    QTimer poll_;
};

std::unique_ptr<VirtualRadio> StartRadio(VirtualRadioOptions options = {})
{
    auto radio = std::make_unique<VirtualRadio>(std::move(options));
    EXPECT_EQ(radio->Start(), std::nullopt);
    return radio;
}

PortPlan FixedPort(const VirtualRadio& radio)
{
    return {false, {radio.device_path()}};
}

RadioData SampleData()
{
    RadioData data;
    data.ResetForBand(0);
    for (int n = 1; n <= rec::kChannelCount; n += 3) {
        data.record.set(rec::ch::in_use(n), 1);
        data.record.set(rec::ch::rx_freq(n), 136000000u + 12500u * n);
        data.record.set(rec::ch::tx_freq(n), 137000000u + 12500u * n);
    }
    return data;
}

// Presses Start and waits (with a deadline) until the window has closed itself.
void RunToEnd(TProgramDialog& dlg, std::chrono::milliseconds deadline)
{
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    ASSERT_TRUE(dlg.ProgramStart->isEnabled());
    QTest::mouseClick(dlg.ProgramStart, Qt::LeftButton);
    EXPECT_FALSE(dlg.ProgramStart->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.isVisible(); }, int(deadline.count())));
}

TEST(ProgramDialog, ReadsTheRadioAndEndsWithSuccess)
{
    VirtualRadioOptions options;
    options.band = 2;
    auto radio = StartRadio(options);
    const RadioData sample = SampleData();
    MemoryImage memory = GetDataForWrite(sample, kTime);
    memory[radio_addr::kBandCode] = BandRadioCode(2);
    radio->set_memory(memory);

    NoticeAnswerer notices;
    TProgramDialog dlg(ConfigurationReadRequest(), FixedPort(*radio));
    EXPECT_EQ(dlg.ProgramStart->text(), "Start");
    EXPECT_EQ(dlg.CancelBtn->text(), "Cancel");
    EXPECT_EQ(dlg.ProgressBar1->maximum(), 260);
    RunToEnd(dlg, 10s);
    EXPECT_EQ(notices.texts, QStringList{"SUCCESS"});
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.ProgressBar1->value(), 260);
    EXPECT_TRUE(dlg.findChild<QLabel*>("sPort")->text().contains(QString::fromStdString(radio->device_path())));
    ASSERT_EQ(dlg.session().outcome(), SessionOutcome::Success);

    RadioData back;
    ASSERT_TRUE(ApplyConfigurationRead(dlg.session(), back));
    EXPECT_EQ(back.record.get(rec::ch::rx_freq(4)), sample.record.get(rec::ch::rx_freq(4)));
    EXPECT_EQ(back.record.get(rec::freq_band), 2);
}

TEST(ProgramDialog, SilentRadioEndsWithCommunicationFalse)
{
    VirtualRadioOptions options;
    options.fault = {RadioFault::Silent, 0};
    auto radio = StartRadio(options);
    NoticeAnswerer notices;
    TProgramDialog dlg(ConfigurationReadRequest(), FixedPort(*radio));
    RunToEnd(dlg, 5s);
    EXPECT_EQ(notices.texts, QStringList{"Communication False"});
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_LT(dlg.ProgressBar1->value(), 260);
    for (const ReceivedFrame& f : radio->frames())
        EXPECT_EQ(f.command, link::Command::Greeting);
}

TEST(ProgramDialog, PortThatCannotBeOpenedIsNamedThenTheSessionFails)
{
    NoticeAnswerer notices;
    TProgramDialog dlg(ConfigurationReadRequest(), {false, {"/dev/k3n-no-such-port"}});
    RunToEnd(dlg, 5s);
    ASSERT_EQ(notices.texts.size(), 2);
    EXPECT_TRUE(notices.texts[0].startsWith("ZebCommDevice1: ")) << notices.texts[0].toStdString();
    EXPECT_TRUE(notices.texts[0].contains("/dev/k3n-no-such-port"));
    EXPECT_EQ(notices.texts[1], "Communication False");
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

TEST(ProgramDialog, CablePulledMidReadEndsPromptly)
{
    VirtualRadioOptions options;
    options.fault = {RadioFault::HangUp, 30};
    auto radio = StartRadio(options);
    NoticeAnswerer notices;
    TProgramDialog dlg(ConfigurationReadRequest(), FixedPort(*radio));
    const auto start = Clock::now();
    // Far below the 5000 ms answer time-out: the hang-up itself ends the session.
    RunToEnd(dlg, 3s);
    EXPECT_LT(Clock::now() - start, 3s);
    EXPECT_EQ(notices.texts, QStringList{"Communication False"});
    EXPECT_EQ(dlg.session().failure(), SessionFailure::LinkLost);
}

TEST(ProgramDialog, CancelAbandonsTheTransferAndReleasesThePort)
{
    auto radio = StartRadio();
    NoticeAnswerer notices;
    std::size_t sentBeforeCancel = 0;
    {
        TProgramDialog dlg(ConfigurationWriteRequest(SampleData(), kTime, true), FixedPort(*radio));
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        QTest::mouseClick(dlg.ProgramStart, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return radio->frames().size() >= 5; }, 5000));
        QTest::mouseClick(dlg.CancelBtn, Qt::LeftButton);
        sentBeforeCancel = radio->frames().size();
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        EXPECT_EQ(dlg.session().outcome(), SessionOutcome::Cancelled);
        EXPECT_FALSE(dlg.Timer_Tx->isActive());
    }
    EXPECT_TRUE(notices.texts.isEmpty());

    // The port is free again for the next session.
    TProgramDialog again(ConfigurationReadRequest(), FixedPort(*radio));
    RunToEnd(again, 10s);
    EXPECT_EQ(notices.texts, QStringList{"SUCCESS"});

    // The abandoned write sent no end frame and nothing after the cancel but the
    // one frame that may have been on its way; then the new session's frames follow.
    ASSERT_TRUE(radio->WaitFor([](const RadioEmulator& e) { return e.end_seen(); }, 5000ms));
    const auto frames = radio->frames();
    const auto secondGreeting = std::find_if(frames.rbegin(), frames.rend(), [](const ReceivedFrame& f) {
        return f.command == link::Command::Greeting;
    });
    ASSERT_NE(secondGreeting, frames.rend());
    const std::size_t firstSessionFrames = std::size_t(frames.rend() - secondGreeting) - 1;
    EXPECT_GE(firstSessionFrames, sentBeforeCancel);
    EXPECT_LE(firstSessionFrames, sentBeforeCancel + 1);
    EXPECT_EQ(std::count_if(frames.begin(), frames.end(), [](const ReceivedFrame& f) { return f.command == link::Command::End; }), 1);
    EXPECT_EQ(frames.back().command, link::Command::End);
}

TEST(ProgramDialog, PortPlanFollowsTheSettings)
{
    const QList<HalvexComm32::TCommPortEntry> ports{{"COM1", "/dev/ttyUSB0", ""}, {"COM2", "/dev/pts/7", "virtual radio"}};
    const PortPlan search = SessionPortPlan(AppSettings{3, 1, true}, ports);
    EXPECT_TRUE(search.auto_search);
    EXPECT_EQ(search.ports, (std::vector<std::string>{"COM1", "COM2"}));
    const PortPlan fixed = SessionPortPlan(AppSettings{3, 1, false}, ports);
    EXPECT_FALSE(fixed.auto_search);
    EXPECT_EQ(fixed.ports, std::vector<std::string>{"COM3"});
}

} // namespace
} // namespace k3n
