// The whole path through real terminals: session runner, serial engine and the
// virtual radio on pseudo-terminals. These run on the real clock (the write
// takes its 12 s of 100 ms ticks); they assert on outcomes and bytes, and time
// only where a failure path must be far quicker than a time-out.
#include "programming/session_runner.h"
#include "model/record_layout.h"
#include "virtualradio/virtual_radio.h"
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>
#include <thread>

namespace k3n {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const ProgramTime kTime{2024, 6, 30, 23, 59};

RadioData SampleData(int band)
{
    RadioData data;
    data.ResetForBand(band);
    const uint32_t base = BandLimitsOf(band).lower;
    for (int n = 1; n <= rec::kChannelCount; ++n) {
        data.record.set(rec::ch::in_use(n), 1);
        data.record.set(rec::ch::rx_freq(n), base + 25000u * n);
        data.record.set(rec::ch::tx_freq(n), base + 25000u * n + 5000000);
        data.record.set(rec::ch::squelch(n), uint8_t(n % 10));
    }
    data.record.set(rec::tot, 180);
    data.record.set(rec::voice, 1);
    data.record.set(rec::dtmf::tone_speed, 3);
    return data;
}

std::unique_ptr<VirtualRadio> StartRadio(VirtualRadioOptions options)
{
    auto radio = std::make_unique<VirtualRadio>(std::move(options));
    const auto error = radio->Start();
    EXPECT_EQ(error, std::nullopt);
    return radio;
}

PortPlan FixedPort(const VirtualRadio& radio)
{
    return {false, {radio.device_path()}};
}

TEST(SessionRunner, WritesAConfigurationAndReadsItBack)
{
    VirtualRadioOptions options;
    options.band = 1;
    auto radio = StartRadio(options);
    const RadioData data = SampleData(1);
    const SessionRequest request = ConfigurationWriteRequest(data, kTime, true);

    ProgrammingSession write(request, FixedPort(*radio));
    SessionRunner writer(write);
    std::vector<int> progress;
    EXPECT_EQ(writer.Run([&](const RunnerStep&) { progress.push_back(write.progress()); }),
              SessionOutcome::Success);
    EXPECT_EQ(progress.back(), kProgressMax);
    ASSERT_TRUE(radio->WaitFor([](const RadioEmulator& e) { return e.end_seen(); }, 5000ms));

    // Every frame arrived whole, in plan order, and the memory holds the image.
    EXPECT_EQ(radio->frame_errors(), 0);
    const auto frames = radio->frames();
    const auto plan = TransferPlan(request);
    ASSERT_EQ(frames.size(), 1 + 1 + plan.size() + 1);
    EXPECT_EQ(frames[1].command, link::Command::ReadMemory);
    EXPECT_EQ(frames[1].address, 0x0FFF);
    for (std::size_t i = 0; i < plan.size(); ++i) {
        EXPECT_EQ(frames[2 + i].command, link::Command::WriteMemory);
        EXPECT_EQ(frames[2 + i].address, plan[i].address);
    }
    EXPECT_EQ(frames.back().command, link::Command::End);
    const MemoryImage memory = radio->memory();
    EXPECT_TRUE(std::equal(request.image.begin(), request.image.begin() + 0x06A6, memory.begin()));
    EXPECT_TRUE(std::equal(request.image.begin() + 0x1000, request.image.begin() + 0x1800, memory.begin() + 0x1000));

    // Reading it back gives the same configuration, band and programming time.
    ProgrammingSession read(ConfigurationReadRequest(), FixedPort(*radio));
    SessionRunner reader(read);
    EXPECT_EQ(reader.Run(), SessionOutcome::Success);
    RadioData back;
    ASSERT_TRUE(ApplyConfigurationRead(read, back));
    EXPECT_EQ(back.record.get(rec::freq_band), 1);
    EXPECT_EQ(back.band_limits, BandLimitsOf(1));
    EXPECT_EQ(back.last_program_time, kTime);
    EXPECT_EQ(back.record.get(rec::ch::rx_freq(77)), data.record.get(rec::ch::rx_freq(77)));
    EXPECT_EQ(GetDataForWrite(back, kTime), request.image);
}

TEST(SessionRunner, SilentRadioFailsAfterFourGreetings)
{
    VirtualRadioOptions options;
    options.fault = {RadioFault::Silent, 0};
    auto radio = StartRadio(options);
    ProgrammingSession session(ConfigurationReadRequest(), FixedPort(*radio));
    SessionRunner runner(session);
    const auto start = Clock::now();
    EXPECT_EQ(runner.Run(), SessionOutcome::CommunicationFalse);
    EXPECT_EQ(session.failure(), SessionFailure::NoAnswer);
    EXPECT_GE(Clock::now() - start, 1300ms);   // start wait, then the 1000 ms time-out
    ASSERT_TRUE(radio->WaitFor([](const RadioEmulator& e) { return e.frames().size() >= 4; }, 5000ms));
    const auto frames = radio->frames();
    EXPECT_EQ(frames.size(), 4u);
    for (const ReceivedFrame& f : frames)
        EXPECT_EQ(f.command, link::Command::Greeting);
}

TEST(SessionRunner, RadioHangingUpMidWriteEndsTheSessionAtOnce)
{
    VirtualRadioOptions options;
    options.fault = {RadioFault::HangUp, 20};
    auto radio = StartRadio(options);
    ProgrammingSession session(ConfigurationWriteRequest(SampleData(0), kTime, false), FixedPort(*radio));
    SessionRunner runner(session);
    const auto start = Clock::now();
    EXPECT_EQ(runner.Run(), SessionOutcome::CommunicationFalse);
    EXPECT_EQ(session.failure(), SessionFailure::LinkLost);
    EXPECT_TRUE(radio->hung_up());
    // 20 frames take about 2.6 s; waiting for the 5000 ms time-out would take 7.6 s.
    EXPECT_LT(Clock::now() - start, 6500ms);
}

TEST(SessionRunner, AutoSearchFindsTheRadioOnTheThirdPort)
{
    VirtualRadioOptions silent;
    silent.fault = {RadioFault::Silent, 0};
    auto first = StartRadio(silent);
    auto second = StartRadio(silent);
    VirtualRadioOptions answering;
    answering.band = 2;
    auto third = StartRadio(answering);

    ProgrammingSession session(ConfigurationReadRequest(),
                               {true, {first->device_path(), second->device_path(), third->device_path()}});
    SessionRunner runner(session);
    EXPECT_EQ(runner.Run(), SessionOutcome::Success);
    EXPECT_EQ(session.port_index(), 2u);
    EXPECT_EQ(first->frames().size(), 1u);
    EXPECT_EQ(second->frames().size(), 1u);
    RadioData data;
    ASSERT_TRUE(ApplyConfigurationRead(session, data));
    EXPECT_EQ(data.record.get(rec::freq_band), 2);
}

TEST(SessionRunner, PortThatDoesNotExist)
{
    ProgrammingSession session(ConfigurationReadRequest(), {false, {"/dev/k3n-no-such-port"}});
    SessionRunner runner(session);
    std::vector<QString> notices;
    EXPECT_EQ(runner.Run([&](const RunnerStep& s) { notices.insert(notices.end(), s.notices.begin(), s.notices.end()); }),
              SessionOutcome::CommunicationFalse);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_TRUE(notices[0].startsWith("ZebCommDevice1: ")) << notices[0].toStdString();
    EXPECT_TRUE(notices[0].contains("/dev/k3n-no-such-port")) << notices[0].toStdString();

    ProgrammingSession search(ConfigurationReadRequest(), {true, {"/dev/k3n-no-such-port"}});
    SessionRunner searcher(search);
    EXPECT_EQ(searcher.Run(), SessionOutcome::CommunicationFalse);
    EXPECT_EQ(search.failure(), SessionFailure::PortNotOpened);
}

TEST(SessionRunner, CancelFromAnotherThread)
{
    auto radio = StartRadio({});
    ProgrammingSession session(ConfigurationWriteRequest(SampleData(0), kTime, false), FixedPort(*radio));
    SessionRunner runner(session);
    std::thread canceller([&] {
        radio->WaitFor([](const RadioEmulator& e) { return e.frames().size() >= 5; }, 10000ms);
        runner.RequestCancel();
    });
    EXPECT_EQ(runner.Run(), SessionOutcome::Cancelled);
    canceller.join();
    EXPECT_FALSE(radio->WaitFor([](const RadioEmulator& e) { return e.end_seen(); }, 200ms));
}

TEST(SessionRunner, StepDrivenLikeAWindowTimer)
{
    auto radio = StartRadio({});
    ServiceBuffer serial{};
    const std::string digits = "12345678";
    std::copy(digits.begin(), digits.end(), serial.begin());
    ProgrammingSession session(ServiceWriteRequest(TransferKind::SerialNumber, serial), FixedPort(*radio));
    SessionRunner runner(session);

    // What the programming window does: one precise single-shot timer, re-armed after each step.
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    auto arm = [&] {
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*runner.NextWake() - Clock::now());
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

} // namespace
} // namespace k3n
