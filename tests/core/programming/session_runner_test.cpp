// SPDX-License-Identifier: GPL-3.0-or-later
// The session runner over real terminals: serial engine and virtual radio on
// pseudo-terminals, on the real clock. Timing is asserted only by the session
// tests with their test clock; the full write and read, a silent radio and the
// failures that end a read go through the same runner in the k3n tool's tests.
#include "comm/fake_sysfs.h"
#include "comm/port_list.h"
#include "model/record_layout.h"
#include "programming/session_runner.h"
#include "virtualradio/virtual_radio.h"
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>
#include <thread>

namespace k3n {
namespace {

using namespace std::chrono_literals;

std::unique_ptr<VirtualRadio> StartRadio(VirtualRadioOptions options = {})
{
    auto radio = std::make_unique<VirtualRadio>(std::move(options));
    EXPECT_EQ(radio->Start(), std::nullopt);
    return radio;
}

VirtualRadioOptions SilentRadio()
{
    VirtualRadioOptions options;
    options.fault = {RadioFault::Silent, 0};
    return options;
}

TEST(SessionRunner, AutoSearchFindsTheRadioOnTheThirdPort)
{
    auto first = StartRadio(SilentRadio());
    auto second = StartRadio(SilentRadio());
    VirtualRadioOptions answering;
    answering.band = 2;
    auto third = StartRadio(answering);

    ProgrammingSession session(ConfigurationReadRequest(),
                               {true, {first->devicePath(), second->devicePath(), third->devicePath()}});
    EXPECT_EQ(SessionRunner(session).Run(), SessionOutcome::Success);
    EXPECT_EQ(session.portIndex(), 2u);
    EXPECT_EQ(first->frames().size(), 1u);
    EXPECT_EQ(second->frames().size(), 1u);
    RadioData data;
    ASSERT_TRUE(ApplyConfigurationRead(session, data));
    EXPECT_EQ(data.record.get(rec::freq_band), 2);
}

TEST(SessionRunner, CancelFromAnotherThread)
{
    auto radio = StartRadio();
    RadioData data;
    ProgrammingSession session(ConfigurationWriteRequest(data, {2024, 6, 30, 23, 59}, false),
                               {false, {radio->devicePath()}});
    SessionRunner runner(session);
    std::thread canceller([&] {
        radio->WaitFor([](const RadioEmulator& e) { return e.frames().size() >= 5; }, 10000ms);
        runner.RequestCancel();
    });
    EXPECT_EQ(runner.Run(), SessionOutcome::Cancelled);
    canceller.join();
    EXPECT_FALSE(radio->WaitFor([](const RadioEmulator& e) { return e.endSeen(); }, 200ms));
}

TEST(SessionRunner, StepDrivenLikeAWindowTimer)
{
    auto radio = StartRadio();
    ServiceBuffer serial{};
    const std::string digits = "12345678";
    std::copy(digits.begin(), digits.end(), serial.begin());
    ProgrammingSession session(ServiceWriteRequest(TransferKind::SerialNumber, serial), {false, {radio->devicePath()}});
    SessionRunner runner(session);

    // What the programming window does: one precise single-shot timer, re-armed after each step.
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    auto arm = [&] {
        const auto wait =
            std::chrono::ceil<std::chrono::milliseconds>(*runner.NextWake() - std::chrono::steady_clock::now());
        timer.start(std::max<int>(0, int(wait.count())));
    };
    int steps = 0;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++steps;
        if (runner.Step().ended)
            loop.quit();
        else
            arm();
    });
    ASSERT_FALSE(runner.Start().ended);
    arm();
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);   // a guard, never reached when all is well
    loop.exec();
    EXPECT_GE(steps, 2);
    EXPECT_FALSE(runner.NextWake());
    EXPECT_EQ(session.outcome(), SessionOutcome::Success);
    const MemoryImage memory = radio->memory();
    EXPECT_TRUE(std::equal(digits.begin(), digits.end(), memory.begin() + 0x0FE0));
}

// A built-in placeholder port first in the machine's list (here a node that is
// no terminal; on a real machine often one the user may not open): the search
// goes past it to the cable, and says at the end why it skipped it.
TEST(SessionRunner, AutoSearchGoesPastAPortItCannotOpen)
{
    auto radio = StartRadio();
    test::FakeSysfs fs;
    fs.AddTty("ttyS0", "pnp0/00:04", "4");
    fs.AddUsbTty("ttyUSB0", "pci0/usb1/1-1", "/1-1:1.0/ttyUSB0", {{"idVendor", "1a86"}, {"idProduct", "7523"}});
    fs.LinkDevNode("ttyUSB0", radio->devicePath());
    PortPlan plan{true, {}};
    for (const auto& port : HalvexComm32::TCommSerialPortInfo(fs.Sys(), fs.Dev()).Ports())
        plan.ports.push_back(port.devicePath);
    ASSERT_EQ(plan.ports, QStringList({fs.Dev("ttyUSB0"), fs.Dev("ttyS0")}));
    std::reverse(plan.ports.begin(), plan.ports.end());   // the placeholder first

    ProgrammingSession found(ConfigurationReadRequest(), plan);
    EXPECT_EQ(SessionRunner(found).Run(), SessionOutcome::Success);
    ASSERT_EQ(found.skippedPorts().size(), 1u);
    EXPECT_EQ(found.skippedPorts()[0].port, fs.Dev("ttyS0"));
    EXPECT_EQ(found.skippedPorts()[0].reason, fs.Dev("ttyS0") + ": not a serial port");

    // Nothing answers: the notices end with the list of skipped ports, then "Communication False".
    radio->Stop();
    plan.ports.removeLast();
    plan.ports.push_back(fs.Dev("ttyS1"));   // absent
    ProgrammingSession none(ConfigurationReadRequest(), plan);
    std::vector<QString> notices;
    EXPECT_EQ(SessionRunner(none).Run([&](const RunnerStep& step) {
        notices.insert(notices.end(), step.notices.begin(), step.notices.end());
    }),
              SessionOutcome::CommunicationFalse);
    EXPECT_EQ(none.failure(), SessionFailure::NoRadioFound);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0],
              "The search skipped the ports it could not open:\n" + fs.Dev("ttyS0") + ": not a serial port\n"
                  + fs.Dev("ttyS1") + ": the device is not present - check the cable");
}

}   // namespace
}   // namespace k3n
