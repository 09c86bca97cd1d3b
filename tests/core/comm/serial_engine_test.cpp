// SPDX-License-Identifier: GPL-3.0-or-later
// The serial port engine over pseudo-terminal pairs: data both ways, the
// queues at their limits, the order of callbacks, failures to open, the
// writer's chunks, flow-control codes, modem texts, modem lines and hang-up.
#include "comm/comm_error.h"
#include "comm/comm_test_support.h"
#include "comm/serial_engine.h"
#include "text/app_lang.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <future>
#include <mutex>
#include <vector>

using namespace HalvexComm32;
using commtest::PtyPair;
using commtest::WaitUntil;

namespace {

// What the engine receives until 'expected' bytes are there (or the wait ends).
QByteArray ReadUntil(TComm32& engine, int expected)
{
    QByteArray got;
    WaitUntil([&] {
        char block[4096];
        got.append(block, engine.Read(block, sizeof block));
        return got.size() >= expected;
    });
    return got;
}

// Records every event of an engine, from whichever thread it comes.
struct EventLog {
    explicit EventLog(TComm32& e)
    {
        e.OnCommNotify = [this](TComm32* s, uint32_t mask) {
            Add(QStringLiteral("notify %1").arg(mask, 0, 16), s, mask);
        };
        e.OnAfterOpen = [this](TComm32* s) { Add("after open", s); };
        e.OnBeforeClose = [this](TComm32* s) { Add("before close", s); };
    }
    void Add(const QString& what, TComm32* sender, uint32_t mask = 0)
    {
        std::lock_guard lock(m);
        lines << what + QStringLiteral(" active=%1").arg(sender->fGetActive());
        if (mask != 0)
            masks.push_back(mask);
    }
    QStringList Lines()
    {
        std::lock_guard lock(m);
        return lines;
    }
    std::vector<uint32_t> Masks()
    {
        std::lock_guard lock(m);
        return masks;
    }
    int CountWith(uint32_t bit)
    {
        const std::vector<uint32_t> all = Masks();
        return int(std::count_if(all.begin(), all.end(), [bit](uint32_t x) { return (x & bit) != 0; }));
    }
    std::mutex m;
    QStringList lines;
    std::vector<uint32_t> masks;
};

// Sees what the threads do with the port.
class ObservedEngine : public TComm32 {
public:
    std::atomic<long> readCalls{0};
    std::atomic<long> bytesRead{0};
    std::atomic<long> bytesReadAtLastDrain{0};
    std::atomic<long> modemReads{0};
    std::mutex m;
    std::vector<size_t> writeSizes;

protected:
    ssize_t ReadFromPort(uint8_t* data, size_t length) override
    {
        readCalls.fetch_add(1);
        const ssize_t n = TComm32::ReadFromPort(data, length);
        if (n > 0)
            bytesRead.fetch_add(n);
        else
            bytesReadAtLastDrain.store(bytesRead.load());   // everything read so far is in the queue
        return n;
    }
    ssize_t WriteToPort(const uint8_t* data, size_t length) override
    {
        {
            std::lock_guard lock(m);
            writeSizes.push_back(length);
        }
        return TComm32::WriteToPort(data, length);
    }
    bool ReadModemLines(uint32_t& status) override
    {
        modemReads.fetch_add(1);
        return TComm32::ReadModemLines(status);
    }
};

// Modem lines played by the test, ticks driven by hand.
class ScriptedModemEngine : public TComm32 {
public:
    uint32_t lines = 0;
    using TComm32::fmsgCommTimer;

protected:
    bool ReadModemLines(uint32_t& status) override
    {
        status = lines;
        return true;
    }
};

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        k3n::appLang().fSetLangType(k3n::kLangEnglish);
        ASSERT_TRUE(pty.Ok());
        engine.fSetDeviceName(pty.SlavePath());
        engine.LineSettings().baudRate = 19200;
    }

    QByteArray ReadAll(int expected) { return ReadUntil(engine, expected); }

    PtyPair pty;
    ObservedEngine engine;
};

// Opens, which must fail with 'code'; returns the message.
QString OpenFailure(TComm32& engine, int code)
{
    const auto [raised, message] = commtest::ErrorOf([&] { engine.Open(); });
    EXPECT_EQ(raised, code) << message.toStdString();
    return message;
}

// Opens, which the system must refuse (code 4); returns the port and why.
TPortRefusal OpenRefusal(TComm32& engine)
{
    try {
        engine.Open();
    } catch (const EComm32Error& e) {
        EXPECT_EQ(e.ErrorCode(), 4) << e.Message().toStdString();
        if (e.Refusal())
            return *e.Refusal();
        ADD_FAILURE() << "no refusal: " << e.Message().toStdString();
        return {};
    }
    ADD_FAILURE() << "the port opened";
    return {};
}

}   // namespace

TEST_F(EngineTest, BytesArriveInOrderBothWaysInChunksOf256AndReadNeverBlocks)
{
    char block[64];
    EXPECT_EQ(engine.Read(block, sizeof block), 0);   // closed and empty
    engine.Open();
    ASSERT_TRUE(engine.fGetActive());
    EXPECT_EQ(engine.Read(block, sizeof block), 0);   // open, nothing arrived

    const QByteArray toEngine = commtest::Pattern(300, 1);
    ASSERT_TRUE(pty.WriteAll(toEngine));
    EXPECT_EQ(ReadAll(300), toEngine);
    const QByteArray fromEngine = commtest::Pattern(1000, 2);
    EXPECT_EQ(engine.Write(fromEngine.constData(), int(fromEngine.size())), 1000);
    EXPECT_EQ(pty.ReadExactly(1000), fromEngine);
    {
        std::lock_guard lock(engine.m);
        EXPECT_EQ(engine.writeSizes, (std::vector<size_t>{256, 256, 256, 232})) << "chunks of 256, one after the other";
    }

    ASSERT_TRUE(pty.WriteAll("abcdef"));
    ASSERT_TRUE(WaitUntil([&] { return engine.InQueue().Count() == 6; }));
    EXPECT_EQ(engine.Read(block, 4), 4);
    EXPECT_EQ(QByteArray(block, 4), "abcd");
    engine.Close();
    EXPECT_EQ(engine.Read(block, sizeof block), 2);   // the queue outlives the port
    EXPECT_EQ(QByteArray(block, 2), "ef");
}

TEST_F(EngineTest, BurstsOf64KiBWrapTheQueuesAndArriveWhole)
{
    engine.Open();
    const QByteArray out = commtest::Pattern(64 * 1024, 3);
    qsizetype queued = 0;
    QByteArray received;
    ASSERT_TRUE(WaitUntil([&] {
        if (queued < out.size())
            queued += engine.Write(out.constData() + queued, int(out.size() - queued));
        received += pty.ReadAvailable(0);
        return received.size() >= out.size();
    })) << "received "
        << received.size();
    EXPECT_EQ(received, out);

    const QByteArray in = commtest::Pattern(64 * 1024, 4);
    received.clear();
    for (qsizetype at = 0; at < in.size(); at += 4096) {   // in pieces the queue holds: nothing dropped
        ASSERT_TRUE(pty.WriteAll(in.mid(at, 4096)));
        received += ReadAll(4096);
    }
    EXPECT_EQ(received, in);
    engine.Close();
}

TEST_F(EngineTest, ReceiveQueueKeepsWhatFitsDropsTheRestAndSaysWhenItPasses80Percent)
{
    EventLog log(engine);
    engine.Open();
    const QByteArray flood = commtest::Pattern(12000, 5);
    ASSERT_TRUE(pty.WriteAll(flood));
    ASSERT_TRUE(WaitUntil([&] { return engine.bytesReadAtLastDrain.load() == 12000; }));
    EXPECT_EQ(engine.InQueue().Count(), TComm32::kQueueSize - 1);

    QByteArray kept(TComm32::kQueueSize, '\0');
    kept.truncate(engine.Read(kept.data(), int(kept.size())));
    EXPECT_EQ(kept, flood.left(TComm32::kQueueSize - 1));
    // The event is raised by the reader thread after it stored the bytes: wait for it, not for time.
    EXPECT_TRUE(WaitUntil([&] { return log.CountWith(EV_RX80FULL) >= 1; }));
    for (uint32_t mask : log.Masks())
        EXPECT_EQ(mask & ~(EV_RXCHAR | EV_RX80FULL | EV_MODEMLINES), 0u) << "only received-bytes events";
    EXPECT_EQ(log.CountWith(EV_RX80FULL), 1) << "once, as the queue passed 80 %";

    ASSERT_TRUE(pty.WriteAll("next"));   // with room again, new bytes are taken as usual
    EXPECT_EQ(ReadAll(4), "next");
    // Passing the mark again after the queue emptied is reported again.
    ASSERT_TRUE(pty.WriteAll(commtest::Pattern(7000, 6)));
    ASSERT_TRUE(WaitUntil([&] { return engine.InQueue().Count() == 7000; }));
    EXPECT_TRUE(WaitUntil([&] { return log.CountWith(EV_RX80FULL) == 2; }));
    EXPECT_NO_THROW(engine.Close());
}

TEST_F(EngineTest, OpenAndCloseCallBackInTheirFixedOrder)
{
    EventLog log(engine);
    engine.Close();   // closed: no callback, nothing raised
    EXPECT_TRUE(log.Lines().isEmpty());
    engine.Open();
    engine.Open();   // already open: nothing happens
    EXPECT_EQ(log.Lines(), QStringList({"notify 38 active=1", "after open active=1"}));
    engine.Close();
    engine.Close();
    EXPECT_EQ(
        log.Lines(),
        QStringList({"notify 38 active=1", "after open active=1", "before close active=1", "notify 38 active=0"}));
}

TEST_F(EngineTest, OpenFailuresRaiseCode4WithTheReasonAndLeaveNothingRunning)
{
    TComm32 other;
    EventLog log(other);
    other.fSetDeviceName("/dev/k3n-no-such-port");
    const int threads = commtest::ThreadCount();
    const int descriptors = commtest::OpenDescriptorCount();
    const QString message = OpenFailure(other, 4);
    EXPECT_TRUE(message.startsWith("Cannot open COM port: /dev/k3n-no-such-port: ")) << message.toStdString();
    EXPECT_EQ(OpenRefusal(other).failure.kind, TPortFailureKind::NotPresent);
    EXPECT_FALSE(other.fGetActive());
    EXPECT_EQ(other.fGetHandle(), -1);
    EXPECT_EQ(commtest::ThreadCount(), threads);
    EXPECT_EQ(commtest::OpenDescriptorCount(), descriptors);
    EXPECT_TRUE(log.Lines().isEmpty());

    other.fSetDeviceName(pty.SlavePath());
    engine.Open();
    EXPECT_EQ(OpenRefusal(other).failure.kind, TPortFailureKind::InUse);
    EXPECT_FALSE(other.fGetActive());
    engine.Close();
    EXPECT_NO_THROW(other.Open());   // released by the first
    other.Close();

    QTemporaryFile plain;
    ASSERT_TRUE(plain.open());
    other.fSetDeviceName(plain.fileName());
    EXPECT_EQ(OpenRefusal(other).failure.kind, TPortFailureKind::NotSerial);
    other.fSetPortNo(999);
    EXPECT_EQ(other.fGetDeviceName(), "COM999");
    EXPECT_EQ(OpenRefusal(other).port, "COM999");
}

TEST_F(EngineTest, NamesNeitherComNNorAbsoluteAreNotLookedUpInTheWorkingFolder)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(QFile::link(pty.SlavePath(), folder.filePath("ttyK3N")));
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    for (const char* name : {"ttyK3N", "./ttyK3N", "COM0"}) {
        engine.fSetDeviceName(name);
        EXPECT_EQ(engine.ResolveDevicePath(), QString()) << name;
        EXPECT_EQ(OpenRefusal(engine).failure.kind, TPortFailureKind::NotPresent) << name;
        EXPECT_FALSE(engine.fGetActive());
    }
    engine.fSetDeviceName(folder.filePath("ttyK3N"));   // the same link by its absolute path
    EXPECT_NO_THROW(engine.Open());
    engine.Close();
    QDir::setCurrent(before);
}

TEST_F(EngineTest, LineSettingsAtOpenRefusedWithCode8OrTakenWithoutAStandardConstant)
{
    const int threads = commtest::ThreadCount();
    engine.LineSettings().stopBits = kOne5StopBits;   // needs 5 data bits
    const QString message = OpenFailure(engine, 8);
    EXPECT_EQ(message, "Cannot set COM port parameters: " + pty.SlavePath() + ": 1.5 stop bits need 5 data bits");
    EXPECT_FALSE(engine.fGetActive());
    EXPECT_EQ(engine.fGetHandle(), -1);
    EXPECT_EQ(commtest::ThreadCount(), threads);

    engine.LineSettings().byteSize = 5;
    EXPECT_NO_THROW(engine.Open());
    engine.Close();

    // A pseudo-terminal here refuses parity and 7 data bits: the refusal names the whole setting.
    engine.LineSettings().stopBits = kTwoStopBits;
    engine.LineSettings().parity = kParityEven;
    engine.LineSettings().byteSize = 7;
    const auto [code, text] = commtest::ErrorOf([&] { engine.Open(); });
    if (code != 0) {   // otherwise this kernel's pty takes them
        EXPECT_EQ(code, 8);
        EXPECT_TRUE(text.contains(pty.SlavePath() + ": the port refused 19200 baud 7E2 (")) << text.toStdString();
    }
    engine.Close();

    engine.LineSettings() = TCommLineSettings{};
    for (uint32_t rate : {14400u, 56000u, 128000u, 256000u}) {
        engine.LineSettings().baudRate = rate;
        EXPECT_NO_THROW(engine.Open()) << rate;
        engine.Close();
    }
}

TEST_F(EngineTest, SettingsMadeWhileClosedTakeEffectAtOpenAndPurgesActOnlyWhileOpen)
{
    engine.fSetDTR(false);
    EXPECT_FALSE(engine.fGetDTR());   // closed reads false
    EXPECT_EQ(engine.Write("ab", 2), 2);
    engine.fSetDisableWrite(true);
    EXPECT_EQ(engine.Write("xyz", 3), 0);
    EXPECT_EQ(engine.Command("AT\r"), 3);   // commands still go
    engine.PurgeWrite(true);   // closed: nothing happens
    EXPECT_EQ(engine.OutQueue().Count(), 5);
    engine.Open();   // Open enables writing again
    EXPECT_FALSE(engine.fGetDisableWrite());
    EXPECT_EQ(engine.LineSettings().dtrControl, kDtrControlDisable);
    EXPECT_FALSE(engine.fGetDTR());
    EXPECT_TRUE(engine.fGetRTS());
    EXPECT_EQ(engine.Write("c", 1), 1);
    EXPECT_EQ(pty.ReadExactly(6), "abAT\rc");

    ASSERT_TRUE(pty.WriteAll("stale input"));
    ASSERT_TRUE(WaitUntil([&] { return engine.InQueue().Count() == 11; }));
    engine.PurgeRead(false);
    EXPECT_EQ(engine.InQueue().Count(), 0);
    ASSERT_TRUE(pty.WriteAll("fresh"));
    EXPECT_EQ(ReadAll(5), "fresh");

    engine.fSetFCtrl(TComm32::fcXonXoff);   // closes the port
    EXPECT_FALSE(engine.fGetActive());
    EXPECT_EQ(engine.fGetHandle(), -1);
}

TEST(EngineSettings, FlowControlCodesWriteTheTableAndReadBack)
{
    const struct {
        int code, readBack;
        uint8_t rtsControl;
        bool cts, xon;
    } rows[] = {
        {0, 0, kRtsControlEnable, false, false},  {3, 3, kRtsControlHandshake, true, false},
        {4, 4, kRtsControlEnable, false, true},   {5, 4, kRtsControlEnable, false, true},
        {6, 6, kRtsControlHandshake, true, true}, {7, 0, kRtsControlEnable, false, false},
        {1, 0, kRtsControlEnable, false, false},
    };
    TComm32 engine;
    for (const auto& r : rows) {
        SCOPED_TRACE(r.code);
        engine.LineSettings().dtrControl = kDtrControlDisable;
        engine.LineSettings().dsrOutputFlow = true;
        engine.fSetFCtrl(TComm32::TFlowControl(r.code));
        const TCommLineSettings& s = engine.LineSettings();
        EXPECT_EQ(engine.fGetFCtrl(), r.readBack);
        EXPECT_EQ(s.rtsControl, r.rtsControl);
        EXPECT_EQ(s.ctsOutputFlow, r.cts);
        EXPECT_EQ(s.xonXoffInput, r.xon);
        EXPECT_EQ(s.xonXoffOutput, r.xon);
        EXPECT_EQ(s.dtrControl, kDtrControlEnable);
        EXPECT_FALSE(s.dsrOutputFlow);
    }
}

TEST(EngineModem, InitModemAndResetModemSendTheirTexts)
{
    TComm32 engine;
    const auto sent = [&] {
        char text[64] = {};
        engine.OutQueue().Out(text, sizeof text);
        return QByteArray(text);
    };
    engine.fSetFCtrl(TComm32::fcRtsCts);
    engine.fSetAutoAnswer(2);
    engine.InitModem();
    EXPECT_EQ(sent(), "ATE0&K3S0=2\r");
    engine.fSetFCtrl(TComm32::fcTranXonXoff);   // reads back as 4
    engine.fSetAutoAnswer(255);
    engine.ResetModem();
    engine.InitModem();
    EXPECT_EQ(sent(), "ATZ\rATE0&K4S0=255\r");
}

TEST(EngineModem, RingsOncePer15TicksNeverWithCarrierAndCtsUnderFlowControl)
{
    ScriptedModemEngine engine;
    EventLog log(engine);
    const auto ringTicks = [&](uint32_t lines, int ticks) {
        engine.lines = lines;
        std::vector<int> at;
        for (int tick = 1; tick <= ticks; ++tick) {
            const int before = log.CountWith(EV_RING);
            engine.fmsgCommTimer();
            if (log.CountWith(EV_RING) > before)
                at.push_back(tick);
        }
        return at;
    };
    EXPECT_EQ(ringTicks(MS_RING_ON, 48), (std::vector<int>{16, 32, 48}));

    // Carrier comes: reported as a carrier change, and no ring while it stays.
    EXPECT_EQ(ringTicks(MS_RING_ON | MS_RLSD_ON, 40), std::vector<int>{});
    EXPECT_EQ(log.CountWith(EV_RLSD), 1);
    EXPECT_EQ(engine.fGetModemStatus(), MS_RING_ON | MS_RLSD_ON);

    // Carrier goes: the guard starts again from that change.
    EXPECT_EQ(ringTicks(MS_RING_ON, 16), (std::vector<int>{16}));
    EXPECT_EQ(log.CountWith(EV_RLSD), 2);

    // Under RTS/CTS flow a rising CTS lets the writer go on.
    ScriptedModemEngine flow;
    EventLog flowLog(flow);
    flow.fSetFCtrl(TComm32::fcRtsCts);
    flow.lines = MS_DSR_ON;
    flow.fmsgCommTimer();
    flow.lines = MS_DSR_ON | MS_CTS_ON;
    flow.fmsgCommTimer();
    EXPECT_EQ(flowLog.Masks(), (std::vector<uint32_t>{EV_DSR, EV_CTS | EV_TXEMPTY}));
}

TEST_F(EngineTest, AVanishedPortIsReportedOnceAndTheReaderStopsPolling)
{
    EventLog log(engine);
    engine.Open();
    EXPECT_FALSE(engine.HungUp());

    pty.CloseMaster();   // what a pulled cable looks like
    ASSERT_TRUE(WaitUntil([&] { return engine.HungUp(); }));
    const long readsAtHangUp = engine.readCalls.load();
    // Let the timer tick twice: a reader that kept polling the dead port would read thousands of times.
    const long ticks = engine.modemReads.load();
    ASSERT_TRUE(WaitUntil([&] { return engine.modemReads.load() >= ticks + 2; }));
    EXPECT_EQ(engine.readCalls.load(), readsAtHangUp);
    EXPECT_EQ(log.CountWith(EV_HANGUP), 1);
    EXPECT_TRUE(engine.fGetActive());   // until the owner closes it
    EXPECT_EQ(engine.Write("lost", 4), 4);   // accepted, goes nowhere, no failure

    const int threadsBefore = commtest::ThreadCount();
    EXPECT_NO_THROW(engine.Close());
    EXPECT_EQ(commtest::ThreadCount(), threadsBefore - 3);
    EXPECT_THROW(engine.Open(), EComm32Error);   // the device node is gone
}

namespace {

// Plays the port's hard cases: polls that fail, output held by flow control,
// writes taken by a vanished port, and a received block held between the read
// and the queue. Records the reader's waits (the reader polls three descriptors).
class HardCaseEngine : public TComm32 {
public:
    ~HardCaseEngine() override { Close(); }

    std::atomic<bool> failPolls{false};
    std::atomic<int> failedPolls{0};
    std::atomic<bool> holdOutput{false};
    std::atomic<bool> pretendWrites{false};
    std::atomic<bool> holdNextBlock{false};
    std::atomic<bool> blockHeld{false};
    std::promise<void> releaseBlock;

    std::vector<int> ReaderTimeouts()
    {
        std::lock_guard lock(m_);
        return readerTimeouts_;
    }
    // Positions in ReaderTimeouts() of the waits that came right after a write was done.
    std::vector<size_t> WaitsAfterWriteDone()
    {
        std::lock_guard lock(m_);
        return afterTxDone_;
    }

protected:
    int PollPort(pollfd* fds, nfds_t count, int timeoutMs) override
    {
        if (failPolls.load()) {
            failedPolls.fetch_add(1);
            errno = ENOMEM;
            return -1;
        }
        if (count == 3) {
            std::lock_guard lock(m_);
            readerTimeouts_.push_back(timeoutMs);
        }
        const int r = TComm32::PollPort(fds, count, timeoutMs);
        if (count == 3 && r > 0 && (fds[2].revents & POLLIN)) {
            std::lock_guard lock(m_);
            afterTxDone_.push_back(readerTimeouts_.size());
        }
        return r;
    }
    bool OutputDrained() const override { return !holdOutput.load() && TComm32::OutputDrained(); }
    ssize_t WriteToPort(const uint8_t* data, size_t length) override
    {
        return pretendWrites.load() ? ssize_t(length) : TComm32::WriteToPort(data, length);
    }
    ssize_t ReadFromPort(uint8_t* data, size_t length) override
    {
        const ssize_t n = TComm32::ReadFromPort(data, length);
        if (n > 0 && holdNextBlock.exchange(false)) {
            blockHeld.store(true);
            releaseBlock.get_future().wait();
        }
        return n;
    }

private:
    std::mutex m_;
    std::vector<int> readerTimeouts_;
    std::vector<size_t> afterTxDone_;
};

class EngineHardCaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        k3n::appLang().fSetLangType(k3n::kLangEnglish);
        ASSERT_TRUE(pty.Ok());
        engine.fSetDeviceName(pty.SlavePath());
    }
    QByteArray ReadAll(int expected) { return ReadUntil(engine, expected); }

    PtyPair pty;
    HardCaseEngine engine;
};

}   // namespace

TEST_F(EngineHardCaseTest, RtsCtsWhereTheModemLinesCannotBeReadStillSendsEverything)
{
    // A pty has no modem lines: CTS reads as off, and the kernel's CRTSCTS is what holds output.
    std::mutex m;
    std::vector<int> queuedAtTxEmpty;
    engine.OnCommNotify = [&](TComm32* sender, uint32_t mask) {
        if (mask & EV_TXEMPTY) {
            std::lock_guard lock(m);
            queuedAtTxEmpty.push_back(sender->OutQueue().Count());
        }
    };
    engine.fSetFCtrl(TComm32::fcRtsCts);
    engine.Open();
    const QByteArray data = commtest::Pattern(2000, 3);
    EXPECT_EQ(engine.Write(data.constData(), int(data.size())), 2000);
    EXPECT_EQ(pty.ReadExactly(2000), data);
    ASSERT_TRUE(WaitUntil([&] {
        std::lock_guard lock(m);
        return !queuedAtTxEmpty.empty() && engine.OutQueue().Count() == 0;
    }));
    engine.Close();
    for (int queued : queuedAtTxEmpty)
        EXPECT_EQ(queued, 0) << "transmit-empty only with nothing left to send";
}

TEST_F(EngineHardCaseTest, PurgeReadAlsoDropsTheBlockTheReaderIsMoving)
{
    engine.Open();
    engine.holdNextBlock.store(true);
    ASSERT_TRUE(pty.WriteAll("stale"));
    ASSERT_TRUE(WaitUntil([&] { return engine.blockHeld.load(); }));   // read, not yet queued
    engine.PurgeRead(false);
    engine.releaseBlock.set_value();
    ASSERT_TRUE(pty.WriteAll("fresh"));
    EXPECT_EQ(ReadAll(5), "fresh");
    char rest[16];
    EXPECT_EQ(engine.Read(rest, sizeof rest), 0);
}

TEST_F(EngineHardCaseTest, FailingPollsAreReportedOnceAndRetriedATickApartWithTheEngineWorking)
{
    EventLog log(engine);
    engine.failPolls.store(true);
    engine.Open();
    const auto start = std::chrono::steady_clock::now();
    // Three threads: the ninth failure is at least each thread's third, two pauses in.
    ASSERT_TRUE(WaitUntil([&] { return engine.failedPolls.load() >= 9; }));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2 * TComm32::kTimerIntervalMs - 50))
        << "a failing poll must not spin";
    EXPECT_EQ(log.CountWith(EV_ERR), 1);
    EXPECT_EQ(log.CountWith(EV_HANGUP), 0) << "the port is still there";

    engine.failPolls.store(false);
    EXPECT_TRUE(engine.fGetActive());
    EXPECT_EQ(engine.Write("after", 5), 5);   // the writer is still there
    EXPECT_EQ(pty.ReadExactly(5), "after");
    ASSERT_TRUE(pty.WriteAll("in"));
    EXPECT_EQ(ReadAll(2), "in");

    const int threadsBefore = commtest::ThreadCount();
    EXPECT_NO_THROW(engine.Close());
    EXPECT_EQ(commtest::ThreadCount(), threadsBefore - 3);
}

TEST_F(EngineHardCaseTest, TheReaderStopsItsQuickDrainLooksWhenOutputIsHeldOrThePortIsGone)
{
    EventLog log(engine);
    engine.holdOutput.store(true);   // as CTS low or XOFF would
    engine.Open();
    EXPECT_EQ(engine.Write("held", 4), 4);
    EXPECT_EQ(pty.ReadExactly(4), "held");
    // After a tick of quick looks the reader looks once a tick.
    EXPECT_TRUE(WaitUntil([&] {
        const std::vector<int> waits = engine.ReaderTimeouts();
        return std::any_of(waits.begin(), waits.end(), [](int ms) { return ms >= TComm32::kTimerIntervalMs; });
    }));
    engine.holdOutput.store(false);
    EXPECT_TRUE(WaitUntil([&] { return log.CountWith(EV_TXEMPTY) >= 1; })) << "still noticed once it drains";

    pty.CloseMaster();
    ASSERT_TRUE(WaitUntil([&] { return engine.HungUp(); }));
    engine.pretendWrites.store(true);   // a write done after the hang-up
    const size_t doneBefore = engine.WaitsAfterWriteDone().size();
    EXPECT_EQ(engine.Write("x", 1), 1);
    ASSERT_TRUE(WaitUntil([&] {
        const std::vector<size_t> after = engine.WaitsAfterWriteDone();
        return after.size() > doneBefore && engine.ReaderTimeouts().size() > after.back();
    }));
    const std::vector<size_t> after = engine.WaitsAfterWriteDone();
    EXPECT_EQ(engine.ReaderTimeouts()[after.back()], -1) << "a vanished port never drains: wait without limit";
    engine.Close();
}
