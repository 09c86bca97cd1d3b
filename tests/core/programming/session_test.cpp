// SPDX-License-Identifier: GPL-3.0-or-later
// The programming session over fake ports and a test clock: every byte the
// session sends goes to a radio emulator (or a script) and the answer is
// delivered at the session's next deadline.
#include "model/record_layout.h"
#include "programming/session.h"
#include "programming/write_verify.h"
#include "virtualradio/radio_emulator.h"
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

namespace k3n {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;

const ProgramTime kTime{2024, 5, 1, 12, 30};

struct SentFrame {
    SessionTime at;
    std::size_t port;
    Bytes bytes;
    link::Command command() const { return link::Command(bytes[2]); }
    uint16_t address() const { return uint16_t(bytes[3] << 8 | bytes[4]); }
    uint8_t count() const { return bytes[5]; }
};

struct FakePort {
    bool opens = true;
    std::optional<RadioEmulator> radio;   // none: nothing answers on this port
};

// Drives one session; what it sent, opened and showed is kept for the assertions.
struct Harness {
    Harness(SessionRequest request, std::vector<FakePort> fakePorts, bool autoSearch = false)
        : ports(std::move(fakePorts)), session(std::move(request), Plan(ports.size(), autoSearch))
    {}

    void Start() { Apply(session.Start(now)); }
    void Run()
    {
        Start();
        RunToEnd();
    }
    // Moves the clock to the session's next deadline and delivers what the radio answered.
    void Step()
    {
        now = *session.NextDeadline();
        for (auto it = later.begin(); it != later.end() && it->first <= now; it = later.erase(it))
            inbound.insert(inbound.end(), it->second.begin(), it->second.end());
        Bytes in = std::exchange(inbound, {});
        Apply(session.Advance(now, in));
    }
    // Bytes the radio sends at a time of its own, in the order they are due.
    void SendLater(SessionTime at, const Bytes& bytes)
    {
        auto it = std::upper_bound(later.begin(), later.end(), at,
                                   [](SessionTime t, const auto& entry) { return t < entry.first; });
        later.insert(it, {at, bytes});
    }
    void RunToEnd()
    {
        for (int guard = 0; session.running() && guard < 1000000; ++guard)
            Step();
        ASSERT_FALSE(session.running());
    }
    void RunUntilSent(std::size_t frames)
    {
        while (session.running() && sent.size() < frames)
            Step();
    }
    void Apply(const SessionOutput& out)
    {
        if (out.open_port) {
            opened.push_back(*out.open_port);
            open = *out.open_port;
            if (!ports[*open].opens) {
                open.reset();
                Apply(session.PortOpenFailed(now, "no such device"));
                return;
            }
        }
        if (out.discard_input)
            inbound.clear();
        if (open && !out.send.empty())
            Deliver(out.send);
        notices.insert(notices.end(), out.notices.begin(), out.notices.end());
        progress.push_back(session.progress());
        if (out.ended) {
            open.reset();
            ++ended_count;
        }
    }
    void Deliver(const Bytes& bytes)
    {
        for (std::size_t i = 0; i < bytes.size(); i += bytes[i + 1] + 3u)
            sent.push_back({now, *open, Bytes(bytes.begin() + i, bytes.begin() + i + bytes[i + 1] + 3)});
        const Bytes answer = script ? script(*open, bytes)
            : ports[*open].radio    ? ports[*open].radio->Receive(bytes)
                                    : Bytes{};
        inbound.insert(inbound.end(), answer.begin(), answer.end());
    }
    RadioEmulator& radio(std::size_t port = 0) { return *ports[port].radio; }
    static PortPlan Plan(std::size_t count, bool autoSearch)
    {
        PortPlan plan{autoSearch, {}};
        for (std::size_t i = 0; i < count; ++i)
            plan.ports.push_back(QStringLiteral("COM%1").arg(i + 1));
        return plan;
    }

    std::vector<FakePort> ports;
    ProgrammingSession session;
    // Replaces the radio: gets what the session sent on a port, returns the answer.
    std::function<Bytes(std::size_t port, const Bytes& sent)> script;
    SessionTime now{0};
    std::optional<std::size_t> open;
    Bytes inbound;
    std::vector<std::pair<SessionTime, Bytes>> later;
    std::vector<SentFrame> sent;
    std::vector<std::size_t> opened;
    std::vector<QString> notices;
    std::vector<int> progress;
    int ended_count = 0;
};

FakePort RadioPort(int band = 0)
{
    FakePort port;
    port.radio.emplace();
    port.radio->SetBand(band);
    return port;
}

RadioData SampleData(int band)
{
    RadioData data;
    data.ResetForBand(band);
    for (int n = 1; n <= rec::kChannelCount; ++n) {
        data.record.set(rec::ch::rx_freq(n), 136000000 + 12500u * n);
        data.record.set(rec::ch::tx_freq(n), 136000000 + 25000u * n);
        data.record.set(rec::ch::scramble_no(n), uint8_t(n));
    }
    data.record.set(rec::tot, 0x1234);
    return data;
}

// Addresses from 'from' up to 'to' in 32-byte blocks.
std::vector<std::pair<uint16_t, uint8_t>> Blocks(unsigned from, unsigned to)
{
    std::vector<std::pair<uint16_t, uint8_t>> blocks;
    for (unsigned a = from; a < to; a += 32)
        blocks.push_back({uint16_t(a), 32});
    return blocks;
}

// The write plan written out: the configuration blocks, the date, the radio state, the channels.
std::vector<std::pair<uint16_t, uint8_t>> ExpectedWriteFrames()
{
    auto frames = Blocks(0, 0x6A0);
    frames.insert(frames.end(), {{0x06A0, 6}, {0x0F28, 1}});
    const auto channels = Blocks(0x1000, 0x1800);
    frames.insert(frames.end(), channels.begin(), channels.end());
    return frames;
}

TEST(LinkFrames, BytesOnTheWireAndRefusedRequests)
{
    EXPECT_EQ(link::GreetingFrame(), (Bytes{0x57, 0x04, 0x11, 0x00, 0x00, 0x00, 0xEB}));
    EXPECT_EQ(link::EndFrame(), (Bytes{0x57, 0x04, 0x12, 0x00, 0x00, 0x00, 0xEA}));
    EXPECT_EQ(link::ReadRequest(0x0FFF, 1), (Bytes{0x57, 0x04, 0x04, 0x0F, 0xFF, 0x01, 0xE9}));
    const uint8_t state[1] = {0};
    EXPECT_EQ(link::WriteFrame(0x0F28, state), (Bytes{0x57, 0x05, 0x05, 0x0F, 0x28, 0x01, 0x00, 0xBE}));

    // Requests no caller makes are refused before anything is sent.
    SessionRequest bad = ConfigurationReadRequest();
    bad.band_check = true;
    EXPECT_THROW(TransferPlan(bad), std::invalid_argument);
    EXPECT_THROW(TransferPlan(ServiceWriteRequest(TransferKind::FirmwareInfo, {})), std::invalid_argument);
    SessionRequest noBuffer = ServiceWriteRequest(TransferKind::Adjustment, {});
    noBuffer.service_buffers.clear();
    EXPECT_THROW(TransferPlan(noBuffer), std::invalid_argument);
    EXPECT_THROW(ProgrammingSession(ConfigurationReadRequest(), PortPlan{true, {}}), std::invalid_argument);
}

TEST(Session, SilentRadioOnFixedPortGreetsEvery300msAndFailsAfter1000ms)
{
    Harness h(ConfigurationReadRequest(), {FakePort{}});
    h.Start();
    EXPECT_EQ(h.opened, (std::vector<std::size_t>{0}));
    EXPECT_TRUE(h.sent.empty());   // nothing before the start wait is over
    h.RunToEnd();

    std::vector<SessionTime> greetings;
    for (const SentFrame& f : h.sent) {
        EXPECT_EQ(f.bytes, link::GreetingFrame());
        greetings.push_back(f.at);
    }
    EXPECT_EQ(greetings, (std::vector<SessionTime>{300ms, 600ms, 900ms, 1200ms}));
    EXPECT_EQ(h.now, 1300ms);
    EXPECT_EQ(h.session.outcome(), SessionOutcome::CommunicationFalse);
    EXPECT_EQ(h.session.failure(), SessionFailure::NoAnswer);
    EXPECT_EQ(h.session.progress(), 0);
    EXPECT_EQ(h.ended_count, 1);
    EXPECT_FALSE(h.session.NextDeadline());
}

TEST(Session, ChainedSessionKeepsGreetingEvery300msForTenSeconds)
{
    // A radio still busy with the last end frame lets 20 greetings go unanswered.
    auto busyRadio = [] {
        FakePort port = RadioPort();
        port.radio->SetFault({RadioFault::SlowRestart, 20});
        port.radio->Receive(link::EndFrame());
        return port;
    };
    {   // a lone session's timing gives up after 1000 ms
        Harness h(ConfigurationReadRequest(), {busyRadio()});
        h.Run();
        EXPECT_EQ(h.session.outcome(), SessionOutcome::CommunicationFalse);
        EXPECT_EQ(h.sent.size(), 4u);
    }
    {   // after another session the patience is 10 s; the 21st greeting is answered
        Harness h(ConfigurationReadRequest(), {busyRadio()});
        h.session.SetGreetingTimeout(session_timing::kChainedGreetingTimeout);
        h.Run();
        EXPECT_EQ(h.session.outcome(), SessionOutcome::Success);
        ASSERT_GT(h.sent.size(), 21u);
        for (std::size_t i = 0; i < 21; ++i) {
            EXPECT_EQ(h.sent[i].command(), link::Command::Greeting) << i;
            EXPECT_EQ(h.sent[i].at, SessionTime(300 * (i + 1))) << i;
        }
        EXPECT_EQ(h.sent[21].command(), link::Command::ReadMemory);
    }
    {   // and it ends there: 34 greetings, 300 ms apart, then "Communication False" at 10.3 s
        Harness h(ConfigurationReadRequest(), {FakePort{}});
        h.session.SetGreetingTimeout(session_timing::kChainedGreetingTimeout);
        h.Run();
        EXPECT_EQ(h.session.outcome(), SessionOutcome::CommunicationFalse);
        EXPECT_EQ(h.sent.size(), 34u);
        EXPECT_EQ(h.sent.back().at, 10200ms);
        EXPECT_EQ(h.now, 10300ms);
    }
}

TEST(Session, GreetingAnswers)
{
    {   // a wrong answer on a fixed port fails at once
        Harness h(ConfigurationReadRequest(), {FakePort{}});
        h.script = [](std::size_t, const Bytes&) { return Bytes{0x52, 0x01}; };
        h.Run();
        EXPECT_EQ(h.session.outcome(), SessionOutcome::CommunicationFalse);
        EXPECT_EQ(h.now, 600ms);
        EXPECT_EQ(h.sent.size(), 1u);
    }
    {   // half an answer waits for the rest
        Harness h(ConfigurationReadRequest(), {RadioPort()});
        h.script = [&h](std::size_t, const Bytes& sent) {
            return link::Command(sent[2]) == link::Command::Greeting ? Bytes{0x52} : h.radio().Receive(sent);
        };
        h.Start();
        h.Step();   // greeting at 300
        h.Step();   // 600: one byte, wait
        EXPECT_EQ(h.sent.size(), 1u);
        h.inbound.push_back(0x00);
        h.Step();   // 900: answered, first read request
        ASSERT_EQ(h.sent.size(), 2u);
        EXPECT_EQ(h.sent[1].command(), link::Command::ReadMemory);
        EXPECT_EQ(h.session.progress(), 1);
    }
    {   // stale bytes before the greeting are thrown away
        Harness h(ConfigurationReadRequest(), {FakePort{}});
        h.Start();
        h.now = 100ms;
        h.Apply(h.session.Advance(h.now, Bytes{0x52, 0x00}));
        h.RunToEnd();
        EXPECT_EQ(h.session.outcome(), SessionOutcome::CommunicationFalse);
        EXPECT_EQ(h.sent.size(), 4u);
    }
}

TEST(Session, WriteSendsThePlanOneFramePerTickThenTheEndFrame)
{
    const SessionRequest request = ConfigurationWriteRequest(SampleData(1), kTime, true);
    Harness h(request, {RadioPort(1)});
    h.Run();
    ASSERT_EQ(h.session.outcome(), SessionOutcome::Success);

    const auto& sent = h.sent;
    const auto expected = ExpectedWriteFrames();
    ASSERT_EQ(sent.size(), 1 + 1 + expected.size() + 1);
    EXPECT_EQ(sent.front().bytes, link::GreetingFrame());
    EXPECT_EQ(sent[1].bytes, link::ReadRequest(0x0FFF, 1));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const SentFrame& f = sent[2 + i];
        ASSERT_EQ(f.command(), link::Command::WriteMemory) << i;
        EXPECT_EQ(std::pair(f.address(), f.count()), expected[i]) << i;
        EXPECT_EQ(f.at - sent[1 + i].at, 100ms) << "one frame per 100 ms tick, frame " << i;
    }
    EXPECT_EQ(sent.back().bytes, link::EndFrame());
    EXPECT_EQ(sent.back().at - sent[sent.size() - 2].at, 100ms);

    // The radio holds the image in the written areas, the radio-state byte 0, and its own band.
    const MemoryImage& memory = h.radio().memory();
    const MemoryImage& image = request.image;
    EXPECT_TRUE(std::equal(image.begin(), image.begin() + 0x06A6, memory.begin()));
    EXPECT_TRUE(std::equal(image.begin() + 0x1000, image.begin() + 0x1800, memory.begin() + 0x1000));
    EXPECT_EQ(memory[0x0F28], 0);
    EXPECT_EQ(memory[0x0FFF], 0x01);
    EXPECT_EQ(h.radio().frameErrors(), 0);
    EXPECT_TRUE(h.radio().endSeen());

    // Progress climbs to 172 before it is set to 260.
    const auto& progress = h.progress;
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress[progress.size() - 2], 172);
    EXPECT_EQ(progress.back(), kProgressMax);
}

// A write of only what changed, against a radio that holds 'held' written at an earlier time.
struct ChangedOnlyCase {
    const char* what;
    std::function<void(RadioData&)> change;
    std::vector<std::pair<uint16_t, uint8_t>> frames;   // the write frames, in order
};

TEST(ChangedOnlyWrite, SendsOnlyTheDifferingBlocksInThePlansOrderOnePerTick)
{
    const RadioData held = SampleData(0);
    const MemoryImage heldImage = GetDataForWrite(held, {2024, 4, 30, 8, 0});
    const auto setting = [](RadioData& d) { d.record.set(rec::tot, 0x4321); };   // at 0x0600
    const auto oneChannel = [](RadioData& d) { d.record.set(rec::ch::rx_freq(5), 137000000); };
    // Ten channels in ten blocks: a block holds channels 2k+1 and 2k+2.
    const int spread[] = {1, 14, 27, 40, 53, 66, 79, 92, 105, 128};
    const auto tenChannels = [&](RadioData& d) {
        for (int n : spread)
            d.record.set(rec::ch::tx_freq(n), 140000000u + 5000u * n);
    };
    const ChangedOnlyCase cases[] = {
        {"nothing changed", [](RadioData&) {}, {{0x06A0, 6}, {0x0F28, 1}}},
        {"one channel", oneChannel, {{0x06A0, 6}, {0x0F28, 1}, {0x1040, 32}}},
        {"ten channels",
         tenChannels,
         {{0x06A0, 6},
          {0x0F28, 1},
          {0x1000, 32},
          {0x10C0, 32},
          {0x11A0, 32},
          {0x1260, 32},
          {0x1340, 32},
          {0x1400, 32},
          {0x14E0, 32},
          {0x15A0, 32},
          {0x1680, 32},
          {0x17E0, 32}}},
        {"a setting", setting, {{0x0600, 32}, {0x06A0, 6}, {0x0F28, 1}}},
    };
    for (const ChangedOnlyCase& c : cases) {
        SCOPED_TRACE(c.what);
        RadioData next = held;
        c.change(next);
        const SessionRequest request = ChangedOnlyWriteRequest(ConfigurationWriteRequest(next, kTime, true), heldImage);
        Harness h(request, {RadioPort(0)});
        MemoryImage& memory = h.radio().memory();
        std::copy(heldImage.begin(), heldImage.begin() + 0x0FE0, memory.begin());
        std::copy(heldImage.begin() + 0x1000, heldImage.end(), memory.begin() + 0x1000);
        h.Run();
        ASSERT_EQ(h.session.outcome(), SessionOutcome::Success);

        // The greeting and the band check as always, the changed frames, then the end frame.
        ASSERT_EQ(h.sent.size(), 2 + c.frames.size() + 1);
        EXPECT_EQ(h.sent[0].bytes, link::GreetingFrame());
        EXPECT_EQ(h.sent[1].bytes, link::ReadRequest(0x0FFF, 1));
        std::vector<std::pair<uint16_t, uint8_t>> frames;
        for (std::size_t i = 2; i + 1 < h.sent.size(); ++i) {
            EXPECT_EQ(h.sent[i].command(), link::Command::WriteMemory);
            EXPECT_EQ(h.sent[i].at - h.sent[i - 1].at, 100ms) << "one frame per 100 ms tick, frame " << i;
            frames.push_back({h.sent[i].address(), h.sent[i].count()});
        }
        EXPECT_EQ(frames, c.frames);
        EXPECT_EQ(h.sent.back().bytes, link::EndFrame());
        EXPECT_EQ(h.session.stepsPlanned(), c.frames.size());
        EXPECT_EQ(h.session.stepsSent(), c.frames.size());
        EXPECT_EQ(h.session.progress(), kProgressMax);

        // The radio holds what a full write would have left in it.
        EXPECT_TRUE(CompareWrittenImage(request.image, h.radio().memory()).empty());
        EXPECT_TRUE(std::equal(request.image.begin(), request.image.begin() + 0x06A6, memory.begin()));
        EXPECT_TRUE(std::equal(request.image.begin() + 0x1000, request.image.end(), memory.begin() + 0x1000));
    }
}

TEST(ChangedOnlyWrite, EveryByteOfABlockCountsAndOnlyAConfigurationWriteLeavesBlocksOut)
{
    const RadioData data = SampleData(0);
    const SessionRequest full = ConfigurationWriteRequest(data, kTime, true);
    MemoryImage held = full.image;
    held[0x17FF] ^= 0x80;   // a reserved byte no record field holds: the block goes out all the same
    held[0x0F28] = 0x5A;   // the radio-state byte read back as anything: its frame goes out anyway
    const auto plan = TransferPlan(ChangedOnlyWriteRequest(full, held));
    ASSERT_EQ(plan.size(), 3u);
    EXPECT_EQ(plan[0].address, 0x06A0);
    EXPECT_EQ(plan[1].data, StepData::RadioState);
    EXPECT_EQ(plan[2].address, 0x17E0);
    // Without what the radio holds, the plan is the full one.
    EXPECT_EQ(TransferPlan(full).size(), ExpectedWriteFrames().size());
    // A radio that holds it all, the programming time too, still gets the time and the radio state.
    const auto same = TransferPlan(ChangedOnlyWriteRequest(full, full.image));
    ASSERT_EQ(same.size(), 2u);
    EXPECT_EQ(std::pair(same[0].address, same[0].size), std::pair(uint16_t(0x06A0), uint8_t(6)));
    EXPECT_EQ(same[1].address, 0x0F28);

    for (SessionRequest other : {ConfigurationReadRequest(), WriteAllRequest(data, kTime, {}, {}, {})}) {
        other.radio_holds = held;
        EXPECT_THROW(TransferPlan(other), std::invalid_argument);
    }
}

TEST(ChangedOnlyWrite, AnExactRestoreSendsOnlyTheBlocksTheRadioHoldsOtherwise)
{
    // The backup's bytes, 0xFF where no record field lies; since then one channel and the time were written.
    MemoryImage backup;
    backup.fill(0xFF);
    backup[0x0FFF] = BandRadioCode(1);
    MemoryImage now = backup;
    std::fill(now.begin() + 0x06A0, now.begin() + 0x06A6, 0x11);
    std::fill(now.begin() + 0x1100, now.begin() + 0x1110, 0x22);   // channel 17
    const SessionRequest request = ChangedOnlyWriteRequest(ExactRestoreWriteRequest(backup), now);
    Harness h(request, {RadioPort(1)});
    h.radio().memory() = now;
    h.Run();
    ASSERT_EQ(h.session.outcome(), SessionOutcome::Success);
    ASSERT_EQ(h.sent.size(), 2u + 3u + 1u);
    EXPECT_EQ(h.sent[2].bytes, link::WriteFrame(0x06A0, std::span(backup).subspan(0x06A0, 6)));
    EXPECT_EQ(h.sent[3].bytes, link::WriteFrame(0x0F28, std::vector<uint8_t>{0x00}));
    EXPECT_EQ(h.sent[4].bytes, link::WriteFrame(0x1100, std::span(backup).subspan(0x1100, 32)));
    EXPECT_TRUE(std::equal(backup.begin(), backup.begin() + 0x06A6, h.radio().memory().begin()));
    EXPECT_TRUE(std::equal(backup.begin() + 0x1000, backup.end(), h.radio().memory().begin() + 0x1000));
}

TEST(Session, WrongBandEndsBeforeAnythingIsWritten)
{
    Harness h(ConfigurationWriteRequest(SampleData(1), kTime, true), {RadioPort(2)});   // the radio says 0x80
    const MemoryImage before = h.radio().memory();
    h.Run();
    EXPECT_EQ(h.session.outcome(), SessionOutcome::WrongFreqBand);
    EXPECT_EQ(h.session.failure(), SessionFailure::WrongBand);
    EXPECT_EQ(OutcomeText(h.session.outcome()), ProgramText::WrongFreqBand);
    ASSERT_EQ(h.sent.size(), 2u);
    EXPECT_EQ(h.sent[0].bytes, link::GreetingFrame());
    EXPECT_EQ(h.sent[1].bytes, link::ReadRequest(0x0FFF, 1));
    EXPECT_EQ(h.radio().memory(), before);

    // A band code that belongs to no band matches nothing.
    Harness odd(ConfigurationWriteRequest(SampleData(0), kTime, true), {RadioPort(0)});
    odd.radio().memory()[0x0FFF] = 0x42;
    odd.Run();
    EXPECT_EQ(odd.session.outcome(), SessionOutcome::WrongFreqBand);
}

TEST(Session, ReadAsksThePlanAndConvertsOnlyAtSuccess)
{
    RadioData source = SampleData(2);
    source.radio_serial_number = {'2', '0', '2', '4', '0', '0', '0', '7'};
    Harness h(ConfigurationReadRequest(), {RadioPort(2)});
    GetDataForWrite(source, kTime, h.radio().memory());
    h.radio().SetBand(2);
    h.radio().SetSerialNumber(source.radio_serial_number);

    RadioData target = SampleData(0);
    const RadioData untouched = target;
    h.Start();
    h.RunUntilSent(60);
    EXPECT_FALSE(ApplyConfigurationRead(h.session, target));   // still running
    EXPECT_EQ(target.record, untouched.record);
    h.RunToEnd();
    ASSERT_EQ(h.session.outcome(), SessionOutcome::Success);

    // 32-byte blocks up to the date, the serial-number block, then the channels.
    auto expected = Blocks(0, 0x6C0);
    expected.push_back({0x0FE0, 32});
    const auto channels = Blocks(0x1000, 0x1800);
    expected.insert(expected.end(), channels.begin(), channels.end());
    std::vector<std::pair<uint16_t, uint8_t>> requests;
    for (std::size_t i = 1; i + 1 < h.sent.size(); ++i) {
        ASSERT_EQ(h.sent[i].command(), link::Command::ReadMemory);
        EXPECT_EQ(h.sent[i].at - h.sent[i - 1].at, i == 1 ? 300ms : 2ms);
        requests.push_back({h.sent[i].address(), h.sent[i].count()});
    }
    EXPECT_EQ(requests, expected);
    EXPECT_EQ(h.sent.back().bytes, link::EndFrame());
    // 118 replies bring the bar to 1 + 3776 / 22; the 119th (to 174) and the 260 come in one tick.
    EXPECT_EQ(h.progress[h.progress.size() - 2], 172);
    EXPECT_EQ(h.session.progress(), kProgressMax);

    ASSERT_TRUE(ApplyConfigurationRead(h.session, target));
    RadioData converted = untouched;
    SetDataToSoftware(h.radio().memory(), converted);
    EXPECT_EQ(target.record, converted.record);
    EXPECT_EQ(target.record.get(rec::freq_band), 2);
    EXPECT_EQ(target.band_limits, BandLimitsOf(2));
    EXPECT_EQ(target.radio_serial_number, source.radio_serial_number);
    EXPECT_EQ(target.last_program_time, kTime);
    EXPECT_EQ(target.record.get(rec::ch::rx_freq(128)), source.record.get(rec::ch::rx_freq(128)));
}

TEST(Session, ReadRepliesAreTakenByLengthAndHead)
{
    // 35 bytes starting with 0x52 are accepted whatever the second and last bytes, also in pieces.
    Harness h(ServiceReadRequest(TransferKind::PowerTuning), {RadioPort()});
    Bytes reply{0x52, 0xEE};
    for (int i = 0; i < 32; ++i)
        reply.push_back(uint8_t(i + 1));
    reply.push_back(0x99);
    h.script = [&](std::size_t, const Bytes& sent) {
        if (link::Command(sent[2]) == link::Command::Greeting)
            return Bytes{0x52, 0x00};
        if (link::Command(sent[2]) != link::Command::ReadMemory)
            return Bytes{};
        EXPECT_EQ(sent, link::ReadRequest(0x0E20, 32));
        return Bytes(reply.begin(), reply.begin() + 20);   // the rest arrives later
    };
    h.Start();
    h.RunUntilSent(2);
    h.Step();
    EXPECT_TRUE(h.session.running());
    h.inbound.assign(reply.begin() + 20, reply.end());
    h.RunToEnd();
    ASSERT_EQ(h.session.outcome(), SessionOutcome::Success);
    EXPECT_TRUE(std::equal(reply.begin() + 2, reply.begin() + 34, h.session.serviceReply().begin()));
    EXPECT_EQ(h.session.progress(), kProgressMax);
}

// A radio slow to wake answers every greeting 'delay' after it arrived; everything else at once.
void AnswerGreetingsLate(Harness& h, SessionTime delay)
{
    h.script = [&h, delay](std::size_t, const Bytes& sent) {
        const Bytes answer = h.radio().Receive(sent);
        if (link::Command(sent[2]) != link::Command::Greeting)
            return answer;
        h.SendLater(h.now + delay, answer);
        return Bytes{};
    };
}

TEST(Session, LateGreetingAnswersAreLetInAndDroppedBeforeTheFirstRequest)
{
    // Two greetings go out before the first answer is seen; the second answer arrives after
    // it and would shift the first block of a read, or be read as a write's band byte.
    {
        Harness h(ConfigurationReadRequest(), {RadioPort()});
        for (std::size_t a = 0; a < h.radio().memory().size(); ++a)
            h.radio().memory()[a] = uint8_t(a * 7 + 1);
        AnswerGreetingsLate(h, 350ms);
        h.Run();
        ASSERT_EQ(h.session.outcome(), SessionOutcome::Success);
        EXPECT_EQ(h.radio().frames().front().command, link::Command::Greeting);
        EXPECT_EQ(h.radio().frames()[1].command, link::Command::Greeting);
        // Seen at 900 ms; the first request waits for the second answer (due at 950 ms),
        // not for a quiet line (1200 ms).
        const auto request = std::find_if(h.sent.begin(), h.sent.end(),
                                          [](const SentFrame& f) { return f.command() == link::Command::ReadMemory; });
        ASSERT_NE(request, h.sent.end());
        EXPECT_EQ(request->at, 950ms);
        const MemoryImage& got = h.session.image();
        for (const PlanStep& step : TransferPlan(ConfigurationReadRequest()))
            EXPECT_TRUE(std::equal(got.begin() + step.address, got.begin() + step.address + step.size,
                                   h.radio().memory().begin() + step.address))
                << step.address;
    }
    {
        Harness h(ConfigurationWriteRequest(SampleData(0), kTime, true), {RadioPort()});
        AnswerGreetingsLate(h, 350ms);
        h.Run();
        EXPECT_EQ(h.session.outcome(), SessionOutcome::Success);
        EXPECT_TRUE(h.radio().endSeen());
    }
    {   // The radio slept through the first greeting and answered only the second: after a
        // quiet greeting interval the transfer begins.
        Harness h(ConfigurationReadRequest(), {RadioPort()});
        int greetings = 0;
        h.script = [&](std::size_t, const Bytes& sent) {
            const bool greeting = link::Command(sent[2]) == link::Command::Greeting;
            return greeting && ++greetings == 1 ? Bytes{} : h.radio().Receive(sent);
        };
        h.Run();
        ASSERT_EQ(h.session.outcome(), SessionOutcome::Success);
        ASSERT_GE(h.sent.size(), 3u);
        EXPECT_EQ(h.sent[1].at, 600ms);   // the second greeting, answered at once
        EXPECT_EQ(h.sent[2].at, 1200ms);   // seen at 900 ms, then 300 ms of quiet
        EXPECT_EQ(h.sent[2].command(), link::Command::ReadMemory);
    }
}

TEST(Session, ReadRepliesLongerThanAskedForFailAsGarbled)
{
    // Nothing of a garbled read is kept, and a write never reads extra bytes as the band byte.
    for (SessionRequest request : {ConfigurationReadRequest(), ConfigurationWriteRequest(SampleData(0), kTime, true),
                                   ServiceReadRequest(TransferKind::Adjustment)}) {
        Harness h(request, {RadioPort()});
        h.radio().SetFault({RadioFault::LongReplies, 1});   // from the first reply after the greeting
        RadioData target = SampleData(1);
        const RadioData before = target;
        h.Run();
        EXPECT_EQ(h.session.outcome(), SessionOutcome::CommunicationFalse);
        EXPECT_EQ(h.session.failure(), SessionFailure::GarbledReply);
        EXPECT_FALSE(ApplyConfigurationRead(h.session, target));
        EXPECT_EQ(target.record, before.record);
        EXPECT_EQ(std::count_if(h.sent.begin(), h.sent.end(),
                                [](const SentFrame& f) { return f.command() == link::Command::WriteMemory; }),
                  0);
    }
}

TEST(Session, TheIdentityReadAsksForTheBlockAt0FE0AloneAndConvertsNothing)
{
    Harness h(RadioIdentityReadRequest(), {RadioPort(2)});
    h.Run();
    ASSERT_EQ(h.session.outcome(), SessionOutcome::Success);
    ASSERT_EQ(h.sent.size(), 3u);
    EXPECT_EQ(h.sent[1].bytes, link::ReadRequest(0x0FE0, 32));
    EXPECT_EQ(h.sent[2].bytes, link::EndFrame());
    EXPECT_TRUE(SameRadio(h.session.image(), h.radio().memory()));
    RadioData data = SampleData(0);
    EXPECT_FALSE(ApplyConfigurationRead(h.session, data));
}

TEST(Session, FailuresDuringATransfer)
{
    // A wrong answer ends the session at the next tick, silence 5000 ms after the last good answer
    // (seen at the tick that sent the unanswered frame); no end frame, and a read converts nothing.
    const RadioData data = SampleData(0);
    const struct {
        SessionRequest request;
        FaultPlan fault;
        SessionFailure failure;
        SessionTime endsAfterLastFrame;
    } cases[] = {
        {ConfigurationWriteRequest(data, kTime, true),
         {RadioFault::WrongAnswer, 10},
         SessionFailure::WrongAnswer,
         100ms},
        {ConfigurationWriteRequest(data, kTime, false), {RadioFault::Silent, 20}, SessionFailure::NoAnswer, 5000ms},
        {ConfigurationReadRequest(), {RadioFault::WrongAnswer, 5}, SessionFailure::WrongAnswer, 2ms},
        {ConfigurationReadRequest(), {RadioFault::Silent, 100}, SessionFailure::NoAnswer, 5000ms},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault.after_frames);
        Harness h(c.request, {RadioPort()});
        h.radio().SetFault(c.fault);
        RadioData target = data;
        h.Run();
        EXPECT_EQ(h.session.outcome(), SessionOutcome::CommunicationFalse);
        EXPECT_EQ(h.session.failure(), c.failure);
        ASSERT_EQ(h.sent.size(), std::size_t(c.fault.after_frames + 1));
        EXPECT_EQ(h.now, h.sent.back().at + c.endsAfterLastFrame);
        EXPECT_FALSE(h.radio().endSeen());
        EXPECT_FALSE(ApplyConfigurationRead(h.session, target));
        EXPECT_EQ(target.record, data.record);
        EXPECT_EQ(target.band_limits, data.band_limits);
    }
}

TEST(Session, LinkLostAndCancelEndAtOnce)
{
    const RadioData data = SampleData(0);
    Harness h(ConfigurationWriteRequest(data, kTime, false), {RadioPort(2)});
    h.Start();
    h.RunUntilSent(30);
    // Without the band check the block at 0x0000 follows the greeting, whatever the radio's band.
    EXPECT_EQ(std::pair(h.sent[1].command(), h.sent[1].address()), std::pair(link::Command::WriteMemory, uint16_t(0)));
    const std::size_t sent = h.sent.size();
    h.Apply(h.session.LinkLost(h.now));
    EXPECT_EQ(h.session.outcome(), SessionOutcome::CommunicationFalse);
    EXPECT_EQ(h.session.failure(), SessionFailure::LinkLost);
    EXPECT_FALSE(h.session.running());
    EXPECT_FALSE(h.session.NextDeadline());
    EXPECT_EQ(h.ended_count, 1);
    h.Apply(h.session.Advance(h.now + 1000ms, {}));
    EXPECT_EQ(h.sent.size(), sent);

    Harness c(ConfigurationWriteRequest(data, kTime, false), {RadioPort()});
    c.Start();
    c.RunUntilSent(5);
    c.Apply(c.session.Cancel());
    EXPECT_EQ(c.session.outcome(), SessionOutcome::Cancelled);
    EXPECT_FALSE(OutcomeText(c.session.outcome()));
    EXPECT_FALSE(c.radio().endSeen());
    EXPECT_EQ(c.sent.size(), 5u);
}

TEST(Session, AutoSearchMovesOnePortPerUnansweredGreeting)
{
    Harness h(ConfigurationReadRequest(), {FakePort{}, FakePort{}, RadioPort()}, true);
    h.Start();
    h.RunUntilSent(4);
    ASSERT_EQ(h.sent.size(), 4u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(h.sent[i].bytes, link::GreetingFrame());
        EXPECT_EQ(h.sent[i].port, i);
        EXPECT_EQ(h.sent[i].at, 300ms * (i + 1));
    }
    EXPECT_EQ(h.sent[3].port, 2u);
    EXPECT_EQ(h.sent[3].command(), link::Command::ReadMemory);
    h.RunToEnd();
    EXPECT_EQ(h.session.outcome(), SessionOutcome::Success);
    EXPECT_EQ(h.session.portIndex(), 2u);
    EXPECT_EQ(h.opened, (std::vector<std::size_t>{0, 1, 2}));

    // A wrong answer also moves on; an exhausted list fails (no time-out while searching).
    Harness none(ConfigurationReadRequest(), {FakePort{}, FakePort{}}, true);
    none.script = [](std::size_t port, const Bytes&) { return port == 0 ? Bytes{0x00, 0x00} : Bytes{}; };
    none.Run();
    EXPECT_EQ(none.session.outcome(), SessionOutcome::CommunicationFalse);
    EXPECT_EQ(none.session.failure(), SessionFailure::NoRadioFound);
    EXPECT_EQ(none.opened, (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(none.now, 900ms);

    // A port that sends one byte and nothing more gets one tick of grace, then the search moves on.
    Harness lone(ConfigurationReadRequest(), {FakePort{}, RadioPort()}, true);
    lone.script = [&lone](std::size_t port, const Bytes& sent) {
        return port == 0 ? Bytes{0x52} : lone.radio(1).Receive(sent);
    };
    lone.Start();
    lone.RunUntilSent(3);
    EXPECT_EQ(lone.sent[1].port, 1u);
    EXPECT_EQ(lone.sent[1].at, 900ms);
    lone.RunToEnd();
    EXPECT_EQ(lone.session.outcome(), SessionOutcome::Success);
}

TEST(Session, PortsThatDoNotOpen)
{
    // Auto-search goes past a port it cannot open, keeping the start wait for the next one.
    Harness a(ConfigurationReadRequest(), {FakePort{false, {}}, RadioPort()}, true);
    a.Run();
    EXPECT_EQ(a.session.outcome(), SessionOutcome::Success);
    EXPECT_EQ(a.opened, (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(a.sent.front().port, 1u);
    EXPECT_EQ(a.sent.front().at, 300ms);
    EXPECT_TRUE(a.notices.empty());
    ASSERT_EQ(a.session.skippedPorts().size(), 1u);
    EXPECT_EQ(a.session.skippedPorts()[0].port, "COM1");

    // Unopenable ports in the middle and at the end: the search tries the rest, then
    // says which ports it skipped and why before "Communication False".
    Harness b(ConfigurationReadRequest(), {FakePort{}, FakePort{false, {}}, FakePort{}, FakePort{false, {}}}, true);
    b.Run();
    EXPECT_EQ(b.session.outcome(), SessionOutcome::CommunicationFalse);
    EXPECT_EQ(b.session.failure(), SessionFailure::NoRadioFound);
    EXPECT_EQ(b.opened, (std::vector<std::size_t>{0, 1, 2, 3}));
    EXPECT_EQ(b.sent.size(), 2u);   // greetings only on the ports that opened
    ASSERT_EQ(b.notices.size(), 1u);
    EXPECT_TRUE(b.notices[0].startsWith("The search skipped the ports it could not open:\n"));
    EXPECT_TRUE(b.notices[0].endsWith("\nCOM2: no such device\nCOM4: no such device"));
    EXPECT_EQ(OutcomeText(b.session.outcome()), ProgramText::CommunicationFalse);

    // A search that skips nothing and finds nothing shows no list.
    Harness c(ConfigurationReadRequest(), {FakePort{}}, true);
    c.Run();
    EXPECT_EQ(c.session.failure(), SessionFailure::NoRadioFound);
    EXPECT_TRUE(c.notices.empty());

    // Fixed port: the error is shown, the greeting goes unanswered and the time-out ends it.
    Harness f(ConfigurationReadRequest(), {FakePort{false, {}}});
    f.Start();
    EXPECT_EQ(f.notices, (std::vector<QString>{"ZebCommDevice1: no such device"}));
    f.RunToEnd();
    EXPECT_EQ(f.session.outcome(), SessionOutcome::CommunicationFalse);
    EXPECT_EQ(f.now, 1300ms);
}

TEST(Session, RememberedCableNotConnectedEndsBeforeAnythingIsOpened)
{
    PortPlan plan{false, {"COM1"}, "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"};
    ProgrammingSession session(ConfigurationReadRequest(), plan);
    const SessionOutput out = session.Start(0ms);
    EXPECT_FALSE(out.open_port.has_value());
    EXPECT_TRUE(out.send.empty());
    EXPECT_TRUE(out.ended);
    ASSERT_EQ(out.notices.size(), 1u);
    EXPECT_EQ(out.notices[0], "The chosen cable is not connected: " + plan.missing_cable);
    EXPECT_EQ(session.outcome(), SessionOutcome::CommunicationFalse);
    EXPECT_EQ(session.failure(), SessionFailure::CableMissing);

    // The search ignores it: it tries every port anyway.
    plan.auto_search = true;
    ProgrammingSession search(ConfigurationReadRequest(), plan);
    EXPECT_EQ(search.Start(0ms).open_port, 0u);
}

TEST(Session, WriteAllChainSendsThreeFactoryFramesAheadOfTheConfiguration)
{
    ServiceBuffer band{}, power{}, adjustment{};
    band[0] = 0x81;
    for (int i = 0; i < 32; ++i)
        power[i] = uint8_t(0x40 + i);
    for (int i = 0; i < 6; ++i)
        adjustment[i] = uint8_t(0x10 + i);
    Harness h(WriteAllRequest(SampleData(3), kTime, band, power, adjustment), {RadioPort(0)});
    h.Run();
    ASSERT_EQ(h.session.outcome(), SessionOutcome::Success);

    const auto& sent = h.sent;
    ASSERT_EQ(sent.size(), 1 + 3 + ExpectedWriteFrames().size() + 1);
    EXPECT_EQ(sent[1].bytes, link::WriteFrame(0x0FFF, std::span(band).first(1)));
    EXPECT_EQ(sent[2].bytes, link::WriteFrame(0x0E20, std::span(power).first(32)));
    EXPECT_EQ(sent[3].bytes, link::WriteFrame(0x0FF0, std::span(adjustment).first(6)));
    EXPECT_EQ(sent[4].address(), 0x0000);
    for (int i = 2; i <= 4; ++i)
        EXPECT_EQ(sent[i].at - sent[i - 1].at, 100ms);
    EXPECT_EQ(h.radio().memory()[0x0FFF], 0x81);
    EXPECT_TRUE(std::equal(power.begin(), power.begin() + 32, h.radio().memory().begin() + 0x0E20));
    EXPECT_EQ(h.radio().frameErrors(), 0);
}

TEST(Session, ServiceItemsMoveInOneFrame)
{
    ServiceBuffer adjustment{};
    const Bytes expected{0x01, 0x02, 0xFF, 0x3F, 0x03, 0x04};
    std::copy(expected.begin(), expected.end(), adjustment.begin());
    Harness w(ServiceWriteRequest(TransferKind::Adjustment, adjustment), {RadioPort()});
    w.Run();
    ASSERT_EQ(w.session.outcome(), SessionOutcome::Success);
    ASSERT_EQ(w.sent.size(), 3u);
    EXPECT_EQ(w.sent[1].bytes, link::WriteFrame(0x0FF0, expected));
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), w.radio().memory().begin() + 0x0FF0));

    Harness r(ServiceReadRequest(TransferKind::FirmwareInfo), {RadioPort()});
    r.radio().SetFirmware(1, 2, 0x0105);
    r.Run();
    ASSERT_EQ(r.session.outcome(), SessionOutcome::Success);
    EXPECT_EQ(r.sent[1].bytes, link::ReadRequest(0x0FD0, 16));
    const Bytes firmware{0x00, 0x01, 0x00, 0x02, 0x01, 0x05};
    EXPECT_TRUE(std::equal(firmware.begin(), firmware.end(), r.session.serviceReply().begin()));
}

}   // namespace
}   // namespace k3n
