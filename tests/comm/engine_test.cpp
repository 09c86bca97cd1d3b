// The serial port engine over pseudo-terminal pairs: data both ways, the
// queues at their limits, the order of callbacks, failures to open, the
// writer's chunks, flow-control codes, modem texts, modem lines and hang-up.
#include "comm/comm32.h"
#include "comm/comm_error.h"
#include "comm/comm_port_info.h"
#include "comm/comm_test_support.h"
#include "text/app_lang.h"

#include <QFile>
#include <QTemporaryFile>
#include <gtest/gtest.h>

#include <mutex>
#include <vector>

using namespace HalvexComm32;
using commtest::PtyPair;
using commtest::WaitUntil;

namespace {

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        k3n::appLang().fSetLangType(k3n::kLangEnglish);
        ASSERT_TRUE(pty.Ok());
        engine.fSetDeviceName(pty.SlavePath());
        engine.LineSettings().baudRate = 19200;
    }

    QByteArray ReadAll(int expected)
    {
        QByteArray got;
        WaitUntil([&] {
            char block[4096];
            const int n = engine.Read(block, sizeof block);
            got.append(block, n);
            return got.size() >= expected;
        });
        return got;
    }

    PtyPair pty;
    TComm32 engine;
};

// Records every event of an engine, from whichever thread it comes.
struct EventLog {
    void Attach(TComm32& e)
    {
        e.OnCommNotify = [this](TComm32* sender, uint32_t mask) {
            Add(QStringLiteral("notify %1 active=%2").arg(mask, 0, 16).arg(sender->fGetActive()));
            std::lock_guard lock(m);
            masks.push_back(mask);
        };
        e.OnAfterOpen = [this](TComm32* sender) { Add(QStringLiteral("after open active=%1").arg(sender->fGetActive())); };
        e.OnBeforeClose = [this](TComm32* sender) { Add(QStringLiteral("before close active=%1").arg(sender->fGetActive())); };
    }
    void Add(const QString& s)
    {
        std::lock_guard lock(m);
        lines << s;
    }
    QStringList Lines()
    {
        std::lock_guard lock(m);
        return lines;
    }
    int CountWith(uint32_t bit)
    {
        std::lock_guard lock(m);
        return int(std::count_if(masks.begin(), masks.end(), [bit](uint32_t x) { return (x & bit) != 0; }));
    }
    uint32_t AllBits()
    {
        std::lock_guard lock(m);
        uint32_t all = 0;
        for (uint32_t x : masks)
            all |= x;
        return all;
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

    std::vector<size_t> WriteSizes()
    {
        std::lock_guard lock(m);
        return writeSizes;
    }

protected:
    ssize_t ReadFromPort(uint8_t* data, size_t length) override
    {
        readCalls.fetch_add(1);
        const ssize_t n = TComm32::ReadFromPort(data, length);
        if (n > 0)
            bytesRead.fetch_add(n);
        else
            bytesReadAtLastDrain.store(bytesRead.load());  // everything read so far is in the queue
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

} // namespace

TEST_F(EngineTest, BytesArriveInOrderBothWays)
{
    engine.Open();
    ASSERT_TRUE(engine.fGetActive());

    const QByteArray toEngine = commtest::Pattern(300, 1);
    ASSERT_TRUE(pty.WriteAll(toEngine));
    EXPECT_EQ(ReadAll(300), toEngine);

    const QByteArray fromEngine = commtest::Pattern(700, 2);
    EXPECT_EQ(engine.Write(fromEngine.constData(), int(fromEngine.size())), 700);
    EXPECT_EQ(pty.ReadExactly(700), fromEngine);
    engine.Close();
}

TEST_F(EngineTest, SendBurstOf64KiBWrapsTheSendQueueAndArrivesWhole)
{
    engine.Open();
    const QByteArray burst = commtest::Pattern(64 * 1024, 3);
    qsizetype queued = 0;
    QByteArray received;
    const bool done = WaitUntil([&] {
        if (queued < burst.size())
            queued += engine.Write(burst.constData() + queued, int(burst.size() - queued));
        received += pty.ReadAvailable(0);
        return received.size() >= burst.size();
    });
    ASSERT_TRUE(done) << "received " << received.size();
    EXPECT_EQ(received, burst);
    engine.Close();
}

TEST_F(EngineTest, ReceiveBurstOf64KiBWrapsTheReceiveQueueAndArrivesWhole)
{
    engine.Open();
    const QByteArray burst = commtest::Pattern(64 * 1024, 4);
    QByteArray received;
    // In pieces the queue can hold, so that nothing is dropped while the test reads.
    for (qsizetype at = 0; at < burst.size(); at += 4096) {
        ASSERT_TRUE(pty.WriteAll(burst.mid(at, 4096)));
        received += ReadAll(4096);
    }
    EXPECT_EQ(received, burst);
    engine.Close();
}

TEST_F(EngineTest, ReadNeverBlocksAndKeepsWhatArrivedAcrossClose)
{
    char block[64];
    EXPECT_EQ(engine.Read(block, sizeof block), 0);  // closed and empty
    engine.Open();
    EXPECT_EQ(engine.Read(block, sizeof block), 0);  // open, nothing arrived

    ASSERT_TRUE(pty.WriteAll("abcdef"));
    ASSERT_TRUE(WaitUntil([&] { return engine.InQueue().Count() == 6; }));
    EXPECT_EQ(engine.Read(block, 4), 4);
    EXPECT_EQ(QByteArray(block, 4), "abcd");
    engine.Close();
    EXPECT_EQ(engine.Read(block, sizeof block), 2);  // the queue outlives the port
    EXPECT_EQ(QByteArray(block, 2), "ef");
    EXPECT_EQ(engine.Read(block, sizeof block), 0);
}

TEST(EngineQueues, ReceiveQueueKeepsWhatFitsDropsTheRestAndReportsNothing)
{
    k3n::appLang().fSetLangType(k3n::kLangEnglish);
    PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    ObservedEngine engine;
    EventLog log;
    log.Attach(engine);
    engine.fSetDeviceName(pty.SlavePath());
    engine.Open();

    const QByteArray flood = commtest::Pattern(12000, 5);
    ASSERT_TRUE(pty.WriteAll(flood));
    ASSERT_TRUE(WaitUntil([&] { return engine.bytesReadAtLastDrain.load() == 12000; }));
    EXPECT_EQ(engine.InQueue().Count(), TComm32::kQueueSize - 1);

    QByteArray kept(TComm32::kQueueSize, '\0');
    EXPECT_EQ(engine.Read(kept.data(), int(kept.size())), TComm32::kQueueSize - 1);
    kept.truncate(TComm32::kQueueSize - 1);
    EXPECT_EQ(kept, flood.left(TComm32::kQueueSize - 1));
    EXPECT_EQ(log.AllBits() & ~(EV_RXCHAR | EV_MODEMLINES), 0u) << "only received-bytes events";

    // With room again, new bytes are taken as usual.
    ASSERT_TRUE(pty.WriteAll("next"));
    char block[16];
    ASSERT_TRUE(WaitUntil([&] { return engine.InQueue().Count() == 4; }));
    EXPECT_EQ(engine.Read(block, sizeof block), 4);
    EXPECT_EQ(QByteArray(block, 4), "next");
    EXPECT_NO_THROW(engine.Close());
}

TEST(EngineCallbacks, OpenAndCloseCallBackInTheirFixedOrder)
{
    PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    TComm32 engine;
    EventLog log;
    log.Attach(engine);
    engine.fSetDeviceName(pty.SlavePath());

    engine.Close();  // closed: no callback, nothing raised
    EXPECT_TRUE(log.Lines().isEmpty());

    engine.Open();
    engine.Open();  // already open: nothing happens
    EXPECT_EQ(log.Lines(), QStringList({"notify 38 active=1", "after open active=1"}));

    engine.Close();
    EXPECT_EQ(log.Lines(), QStringList({"notify 38 active=1", "after open active=1", "before close active=1",
                                        "notify 38 active=0"}));
    engine.Close();
    EXPECT_EQ(log.Lines().size(), 4);
}

TEST(EngineOpenFailure, MissingDeviceRaisesCode4AndLeavesNothingRunning)
{
    k3n::appLang().fSetLangType(k3n::kLangEnglish);
    TComm32 engine;
    EventLog log;
    log.Attach(engine);
    engine.fSetDeviceName("/dev/k3n-no-such-port");
    const int threads = commtest::ThreadCount();
    const int descriptors = commtest::OpenDescriptorCount();
    try {
        engine.Open();
        FAIL() << "Open succeeded on a missing device";
    } catch (const EComm32Error& e) {
        EXPECT_EQ(e.ErrorCode(), 4);
        EXPECT_TRUE(e.Message().startsWith("Cannot open COM port")) << e.Message().toStdString();
        EXPECT_TRUE(e.Message().contains("/dev/k3n-no-such-port")) << e.Message().toStdString();
        EXPECT_TRUE(e.Message().contains("not present")) << e.Message().toStdString();
    }
    EXPECT_FALSE(engine.fGetActive());
    EXPECT_EQ(engine.fGetHandle(), -1);
    EXPECT_EQ(commtest::ThreadCount(), threads);
    EXPECT_EQ(commtest::OpenDescriptorCount(), descriptors);
    EXPECT_TRUE(log.Lines().isEmpty());
}

TEST(EngineOpenFailure, PortInUseAndNonSerialFilesAreRefusedWithTheReason)
{
    k3n::appLang().fSetLangType(k3n::kLangEnglish);
    PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    TComm32 first, second;
    first.fSetDeviceName(pty.SlavePath());
    second.fSetDeviceName(pty.SlavePath());
    first.Open();
    try {
        second.Open();
        FAIL() << "a second engine opened a port in use";
    } catch (const EComm32Error& e) {
        EXPECT_EQ(e.ErrorCode(), 4);
        EXPECT_TRUE(e.Message().contains("in use by another program")) << e.Message().toStdString();
    }
    EXPECT_FALSE(second.fGetActive());
    first.Close();
    EXPECT_NO_THROW(second.Open());  // released by the first
    second.Close();

    QTemporaryFile plain;
    ASSERT_TRUE(plain.open());
    TComm32 onFile;
    onFile.fSetDeviceName(plain.fileName());
    try {
        onFile.Open();
        FAIL() << "opened a regular file as a port";
    } catch (const EComm32Error& e) {
        EXPECT_EQ(e.ErrorCode(), 4);
        EXPECT_TRUE(e.Message().contains("not a serial port")) << e.Message().toStdString();
    }
}

TEST_F(EngineTest, RefusedLineSettingRaisesCode8NamingIt)
{
    const int threads = commtest::ThreadCount();
    engine.LineSettings().stopBits = kOne5StopBits;  // needs 5 data bits
    try {
        engine.Open();
        FAIL() << "1.5 stop bits with 8 data bits accepted";
    } catch (const EComm32Error& e) {
        EXPECT_EQ(e.ErrorCode(), 8);
        EXPECT_TRUE(e.Message().startsWith("Cannot set COM port parameters"));
        EXPECT_TRUE(e.Message().contains("1.5 stop bits need 5 data bits")) << e.Message().toStdString();
    }
    EXPECT_FALSE(engine.fGetActive());
    EXPECT_EQ(engine.fGetHandle(), -1);
    EXPECT_EQ(commtest::ThreadCount(), threads);

    engine.LineSettings().byteSize = 5;
    EXPECT_NO_THROW(engine.Open());
    engine.Close();

    // A pseudo-terminal refuses parity and 7 data bits: the refusal names the whole setting.
    engine.LineSettings().stopBits = kTwoStopBits;
    engine.LineSettings().parity = kParityEven;
    engine.LineSettings().byteSize = 7;
    try {
        engine.Open();
        GTEST_SKIP() << "this kernel's pty takes 7 data bits";
    } catch (const EComm32Error& e) {
        EXPECT_EQ(e.ErrorCode(), 8);
        EXPECT_TRUE(e.Message().contains("the port refused 19200 baud 7E2")) << e.Message().toStdString();
    }
}

TEST_F(EngineTest, RatesWithoutAStandardConstantOpen)
{
    for (uint32_t rate : {14400u, 56000u, 128000u, 256000u}) {
        engine.LineSettings().baudRate = rate;
        EXPECT_NO_THROW(engine.Open()) << rate;
        engine.Close();
    }
}

TEST(EngineWriter, SendsInChunksOf256BytesOneAfterTheOther)
{
    PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    ObservedEngine engine;
    engine.fSetDeviceName(pty.SlavePath());
    engine.Open();
    const QByteArray data = commtest::Pattern(1000, 6);
    ASSERT_EQ(engine.Write(data.constData(), int(data.size())), 1000);
    EXPECT_EQ(pty.ReadExactly(1000), data);
    EXPECT_EQ(engine.WriteSizes(), (std::vector<size_t>{256, 256, 256, 232}));
    engine.Close();
}

TEST_F(EngineTest, BytesWrittenWhileClosedGoOutAfterTheNextOpen)
{
    EXPECT_EQ(engine.Write("abc", 3), 3);
    engine.Open();
    EXPECT_EQ(engine.Write("d", 1), 1);
    EXPECT_EQ(pty.ReadExactly(4), "abcd");
    engine.Close();
}

TEST_F(EngineTest, WriteDisabledRefusesWritesButNotCommands)
{
    engine.fSetDisableWrite(true);
    EXPECT_EQ(engine.Write("abc", 3), 0);
    EXPECT_EQ(engine.OutQueue().Count(), 0);
    EXPECT_EQ(engine.Command("AT\r"), 3);
    EXPECT_EQ(engine.OutQueue().Count(), 3);
    engine.Open();  // Open enables writing again
    EXPECT_FALSE(engine.fGetDisableWrite());
    EXPECT_EQ(engine.Write("x", 1), 1);
    EXPECT_EQ(pty.ReadExactly(4), "AT\rx");
    engine.Close();
}

TEST_F(EngineTest, PurgesDropQueuedBytesOnlyWhileOpen)
{
    engine.Write("queued", 6);
    engine.PurgeWrite(true);  // closed: nothing happens
    EXPECT_EQ(engine.OutQueue().Count(), 6);
    engine.OutQueue().Discard();

    engine.Open();
    ASSERT_TRUE(pty.WriteAll("stale input"));
    ASSERT_TRUE(WaitUntil([&] { return engine.InQueue().Count() == 11; }));
    engine.PurgeRead(false);
    char block[32];
    EXPECT_EQ(engine.Read(block, sizeof block), 0);
    ASSERT_TRUE(pty.WriteAll("fresh"));
    EXPECT_EQ(ReadAll(5), "fresh");
    engine.Close();
}

TEST(EngineSettings, FlowControlCodesWriteTheTableAndReadBack)
{
    struct Row {
        int code, readBack;
        uint8_t rtsControl;
        bool cts, xon;
    };
    const Row rows[] = {
        {0, 0, kRtsControlEnable, false, false},   {3, 3, kRtsControlHandshake, true, false},
        {4, 4, kRtsControlEnable, false, true},    {5, 4, kRtsControlEnable, false, true},
        {6, 6, kRtsControlHandshake, true, true},  {7, 0, kRtsControlEnable, false, false},
        {1, 0, kRtsControlEnable, false, false},
    };
    TComm32 engine;
    for (const Row& r : rows) {
        engine.LineSettings().dtrControl = kDtrControlDisable;
        engine.LineSettings().dsrOutputFlow = true;
        engine.fSetFCtrl(r.code);
        const TCommLineSettings& s = engine.LineSettings();
        EXPECT_EQ(engine.fGetFCtrl(), r.readBack) << r.code;
        EXPECT_EQ(s.rtsControl, r.rtsControl) << r.code;
        EXPECT_EQ(s.ctsOutputFlow, r.cts) << r.code;
        EXPECT_EQ(s.xonXoffInput, r.xon) << r.code;
        EXPECT_EQ(s.xonXoffOutput, r.xon) << r.code;
        EXPECT_EQ(s.dtrControl, kDtrControlEnable) << r.code;
        EXPECT_FALSE(s.dsrOutputFlow) << r.code;
    }
}

TEST_F(EngineTest, SettingTheFlowControlClosesAnOpenPort)
{
    engine.Open();
    engine.fSetFCtrl(TComm32::fcXonXoff);
    EXPECT_FALSE(engine.fGetActive());
    EXPECT_EQ(engine.fGetHandle(), -1);
}

TEST(EngineModem, InitModemAndResetModemSendTheirTexts)
{
    TComm32 engine;
    engine.fSetFCtrl(TComm32::fcRtsCts);
    engine.fSetAutoAnswer(2);
    engine.InitModem();
    char text[64] = {};
    EXPECT_EQ(engine.OutQueue().Out(text, sizeof text), 12);
    EXPECT_STREQ(text, "ATE0&K3S0=2\r");

    engine.fSetFCtrl(TComm32::fcTranXonXoff);  // reads back as 4
    engine.fSetAutoAnswer(255);
    engine.ResetModem();
    engine.InitModem();
    char both[64] = {};
    engine.OutQueue().Out(both, sizeof both);
    EXPECT_STREQ(both, "ATZ\rATE0&K4S0=255\r");
}

TEST_F(EngineTest, DtrSetWhileClosedIsAppliedAtOpenAndKeptAfterClose)
{
    engine.fSetDTR(false);
    EXPECT_FALSE(engine.fGetDTR());  // closed reads false
    engine.Open();
    EXPECT_EQ(engine.LineSettings().dtrControl, kDtrControlDisable);
    EXPECT_FALSE(engine.fGetDTR());
    EXPECT_TRUE(engine.fGetRTS());
    EXPECT_FALSE(engine.EscapeCommFunction(TComm32::SETDTR));  // a pty has no modem lines
    engine.Close();
    EXPECT_FALSE(engine.EscapeCommFunction(TComm32::SETDTR));  // closed
    engine.Open();
    EXPECT_EQ(engine.LineSettings().dtrControl, kDtrControlDisable);  // the state after close was DTR control != 0
    engine.Close();

    engine.fSetDTR(true);
    engine.Open();
    EXPECT_EQ(engine.LineSettings().dtrControl, kDtrControlEnable);
    EXPECT_TRUE(engine.fGetDTR());
    engine.Close();
}

TEST(EngineModem, RingsAreReportedOncePer15TicksAndNeverWithCarrier)
{
    ScriptedModemEngine engine;
    EventLog log;
    log.Attach(engine);

    engine.lines = MS_RING_ON;
    std::vector<int> ringTicks;
    for (int tick = 1; tick <= 48; ++tick) {
        const int before = log.CountWith(EV_RING);
        engine.fmsgCommTimer();
        if (log.CountWith(EV_RING) > before)
            ringTicks.push_back(tick);
    }
    EXPECT_EQ(ringTicks, (std::vector<int>{16, 32, 48}));

    // Carrier comes: reported as a carrier change, and no ring while it stays.
    engine.lines = MS_RING_ON | MS_RLSD_ON;
    for (int tick = 0; tick < 40; ++tick)
        engine.fmsgCommTimer();
    EXPECT_EQ(log.CountWith(EV_RING), 3);
    EXPECT_EQ(log.CountWith(EV_RLSD), 1);
    EXPECT_EQ(engine.fGetModemStatus(), MS_RING_ON | MS_RLSD_ON);

    // Carrier goes: the guard starts again from that change.
    engine.lines = MS_RING_ON;
    ringTicks.clear();
    for (int tick = 1; tick <= 16; ++tick) {
        const int before = log.CountWith(EV_RING);
        engine.fmsgCommTimer();
        if (log.CountWith(EV_RING) > before)
            ringTicks.push_back(tick);
    }
    EXPECT_EQ(log.CountWith(EV_RLSD), 2);
    EXPECT_EQ(ringTicks, (std::vector<int>{16}));
}

TEST(EngineModem, CtsRisingUnderRtsCtsFlowLetsTheWriterGoOn)
{
    ScriptedModemEngine engine;
    EventLog log;
    log.Attach(engine);
    engine.fSetFCtrl(TComm32::fcRtsCts);

    engine.lines = MS_DSR_ON;
    engine.fmsgCommTimer();
    engine.lines = MS_DSR_ON | MS_CTS_ON;
    engine.fmsgCommTimer();
    std::lock_guard lock(log.m);
    EXPECT_EQ(log.masks, (std::vector<uint32_t>{EV_DSR, EV_CTS | EV_TXEMPTY}));
}

TEST(EngineHangUp, AVanishedPortIsReportedOnceAndTheReaderStopsPolling)
{
    PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    ObservedEngine engine;
    EventLog log;
    log.Attach(engine);
    engine.fSetDeviceName(pty.SlavePath());
    engine.Open();
    EXPECT_FALSE(engine.HungUp());

    pty.CloseMaster();  // what a pulled cable looks like
    ASSERT_TRUE(WaitUntil([&] { return engine.HungUp(); }));
    const long readsAtHangUp = engine.readCalls.load();
    // Let the timer tick twice: a reader that kept polling the dead port would read thousands of times.
    const long ticks = engine.modemReads.load();
    ASSERT_TRUE(WaitUntil([&] { return engine.modemReads.load() >= ticks + 2; }));
    EXPECT_EQ(engine.readCalls.load(), readsAtHangUp);
    EXPECT_EQ(log.CountWith(EV_HANGUP), 1);
    EXPECT_TRUE(engine.fGetActive());  // until the owner closes it
    EXPECT_EQ(engine.Write("lost", 4), 4);  // accepted, goes nowhere, no failure

    const int threadsBefore = commtest::ThreadCount();
    EXPECT_NO_THROW(engine.Close());
    EXPECT_EQ(commtest::ThreadCount(), threadsBefore - 3);
    EXPECT_THROW(engine.Open(), EComm32Error);  // the device node is gone
}

TEST(EnginePortNames, ACommNameResolvesThroughThePortList)
{
    PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    TCommSerialPortInfo::AddExtraPort("test pty", pty.SlavePath());
    QString name;
    for (const TCommPortEntry& p : TCommSerialPortInfo().Ports())
        if (p.devicePath == pty.SlavePath())
            name = p.name;
    ASSERT_FALSE(name.isEmpty());

    TComm32 engine;
    engine.fSetDeviceName(name);
    EXPECT_EQ(engine.fGetPortNo(), TCommSerialPortInfo::PortNo(name));
    EXPECT_EQ(engine.ResolveDevicePath(), pty.SlavePath());
    engine.Open();
    engine.Write("via name", 8);
    EXPECT_EQ(pty.ReadExactly(8), "via name");
    engine.Close();
    TCommSerialPortInfo::RemoveExtraPort(pty.SlavePath());

    engine.fSetPortNo(999);
    EXPECT_EQ(engine.fGetDeviceName(), "COM999");
    try {
        engine.Open();
        FAIL();
    } catch (const EComm32Error& e) {
        EXPECT_EQ(e.ErrorCode(), 4);
        EXPECT_TRUE(e.Message().contains("COM999")) << e.Message().toStdString();
    }
}
