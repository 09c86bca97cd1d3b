// The communication device component: Active in raw and package mode, the
// setters that close the port, property mapping, and notifications re-raised
// on the component's thread in order.
#include "comm/comm_device.h"
#include "comm/comm_error.h"
#include "comm/comm_test_support.h"
#include "text/app_lang.h"

#include <QThread>
#include <gtest/gtest.h>

#include <functional>

using namespace HalvexComm32;
using commtest::PtyPair;
using commtest::WaitUntil;

namespace {

QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

// What a listener on the GUI thread sees.
struct Listener {
    explicit Listener(TZebCustomCommDevice& device)
    {
        QObject::connect(&device, &TZebCustomCommDevice::OnCommNotify, &device,
                         [this](QObject*, quint32 mask) { Record(QStringLiteral("notify %1").arg(mask, 0, 16)); masks << mask; });
        QObject::connect(&device, &TZebCustomCommDevice::OnPackage, &device,
                         [this](QObject*, quint32 mask) { Record(QStringLiteral("package %1").arg(mask, 0, 16)); packageMasks << mask; });
        QObject::connect(&device, &TZebCustomCommDevice::AfterOpen, &device,
                         [this](QObject*) { Record("after open"); });
        QObject::connect(&device, &TZebCustomCommDevice::BeforeClose, &device,
                         [this](QObject*) { Record("before close"); });
    }
    void Record(const QString& what)
    {
        events << what;
        if (QThread::currentThread() != QCoreApplication::instance()->thread())
            offThread << what;
    }
    bool Saw(quint32 bit) const
    {
        return std::any_of(masks.begin(), masks.end(), [bit](quint32 m) { return (m & bit) != 0; });
    }
    bool SawPackage(quint32 bit) const
    {
        return std::any_of(packageMasks.begin(), packageMasks.end(), [bit](quint32 m) { return (m & bit) != 0; });
    }
    QStringList events;
    QStringList offThread;
    QList<quint32> masks;
    QList<quint32> packageMasks;
};

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        k3n::appLang().fSetLangType(k3n::kLangEnglish);
        ASSERT_TRUE(pty.Ok());
        device.fSetDeviceName(pty.SlavePath());
        device.fSetBaud(TBaudRate::br19200);
    }
    PtyPair pty;
    TZebCommDevice device;
};

} // namespace

TEST(DeviceDefaults, ANewComponentStartsWithTheEngineAndLayerDefaults)
{
    TZebCommDevice device;
    EXPECT_FALSE(device.fGetActive());
    EXPECT_EQ(device.fGetPortNo(), 2);
    EXPECT_EQ(device.fGetDeviceName(), "COM2");
    EXPECT_EQ(device.fGetBaud(), TBaudRate::br115200);
    EXPECT_EQ(device.fGetByteSize(), 8);
    EXPECT_EQ(device.fGetParity(), TParity::ptNoParity);
    EXPECT_EQ(device.fGetStopBits(), TStopBits::sbOneStopBit);
    EXPECT_EQ(device.fGetFlowControl(), TFlowControl::fcNone);
    EXPECT_EQ(device.fGetInBufSize(), 8192);
    EXPECT_EQ(device.fGetOutBufSize(), 8192);
    EXPECT_EQ(device.fGetHwInSize(), 1200);
    EXPECT_EQ(device.fGetQueueSize(), 16);
    EXPECT_EQ(device.fGetPackageSize(), 4096);
    EXPECT_EQ(device.fGetPackageType(), TCommPackageType::cptCompatiblePkg);
    EXPECT_EQ(device.fGetPackageInterval(), 50);
    EXPECT_FALSE(device.fGetUsePackage());
    EXPECT_TRUE(device.fGetSyncEvents());
    EXPECT_EQ(device.fGetFrameSettings()->fGetFrameHead(), 0xEB);
    EXPECT_EQ(device.fGetFrameSettings()->fGetFrameTail(), 0xEE);
    EXPECT_EQ(device.fGetFrameSettings()->fGetFrameCtrl(), 0xEC);
    EXPECT_TRUE(device.fGetFrameSettings()->fGetDblFrMark());
    EXPECT_EQ(device.fGetModemStatus(), 0);
    EXPECT_FALSE(device.fGetDTR());  // closed
}

TEST(DeviceProperties, OutOfRangeValuesAreReplacedOrClamped)
{
    TZebCommDevice device;
    const uint32_t rates[] = {110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};
    for (int i = 0; i < kBaudRateCount; ++i) {
        device.fSetBaud(TBaudRate(i));
        EXPECT_EQ(device.Engine()->LineSettings().baudRate, rates[i]);
        EXPECT_EQ(device.fGetBaud(), TBaudRate(i));
    }
    device.fSetBaud(TBaudRate(99));
    EXPECT_EQ(device.Engine()->LineSettings().baudRate, 115200u);
    device.Engine()->LineSettings().baudRate = 1234;
    EXPECT_EQ(device.fGetBaud(), TBaudRate::br115200);

    device.fSetParity(TParity::ptSpaceParity);
    EXPECT_EQ(device.Engine()->LineSettings().parity, kParitySpace);
    device.fSetParity(TParity(7));
    EXPECT_EQ(device.fGetParity(), TParity::ptNoParity);
    device.Engine()->LineSettings().parity = 9;
    EXPECT_EQ(device.fGetParity(), TParity::ptNoParity);

    device.fSetStopBits(TStopBits::sbOne_5_StopBits);
    EXPECT_EQ(device.Engine()->LineSettings().stopBits, kOne5StopBits);
    device.fSetStopBits(TStopBits(5));
    EXPECT_EQ(device.fGetStopBits(), TStopBits::sbOneStopBit);

    device.fSetByteSize(300);
    EXPECT_EQ(device.fGetByteSize(), 255);
    device.fSetByteSize(-4);
    EXPECT_EQ(device.fGetByteSize(), 0);
    device.fSetAutoAnswer(1000);
    EXPECT_EQ(device.fGetAutoAnswer(), 255);
    device.fSetAutoAnswer(-1);
    EXPECT_EQ(device.fGetAutoAnswer(), 0);

    const std::pair<TFlowControl, TFlowControl> flows[] = {
        {TFlowControl::fcNone, TFlowControl::fcNone}, {TFlowControl::fcRtsCts, TFlowControl::fcRtsCts},
        {TFlowControl::fcXonXoff, TFlowControl::fcXonXoff}, {TFlowControl::fcTranXonXoff, TFlowControl::fcXonXoff},
        {TFlowControl::fcRtsCtsXonXoff, TFlowControl::fcRtsCtsXonXoff}};
    for (const auto& [set, read] : flows) {
        device.fSetFlowControl(set);
        EXPECT_EQ(device.fGetFlowControl(), read) << int(set);
    }

    device.fSetQueueSize(-3);  // no huge allocation from a negative count
    EXPECT_EQ(device.fGetQueueSize(), 0);
    EXPECT_EQ(device.Package()->InQueue().SlotCount(), 2u);
    device.fSetPackageSize(-1);
    EXPECT_EQ(device.fGetPackageSize(), 0);
    device.fSetInBufSize(0);
    EXPECT_FALSE(device.fGetInQueue()->HasBuffer());
}

TEST(DeviceProperties, AssigningFrameSettingsKeepsTheDoubleFrameMark)
{
    TZebCommDevice source, target;
    source.fGetFrameSettings()->fSetFrameHead(0x01);
    source.fGetFrameSettings()->fSetFrameTail(0x02);
    source.fGetFrameSettings()->fSetFrameCtrl(0x03);
    source.fGetFrameSettings()->fSetDblFrMark(false);
    target.fSetFrameSettings(source.fGetFrameSettings());
    EXPECT_EQ(target.Package()->fGetFrameHead(), 0x01);
    EXPECT_EQ(target.Package()->fGetFrameTail(), 0x02);
    EXPECT_EQ(target.Package()->fGetFrameCtrl(), 0x03);
    EXPECT_TRUE(target.Package()->fGetDblFrameMark());
}

TEST_F(DeviceTest, RawModeOpensOnlyTheEngineAndPassesBytes)
{
    device.fSetActive(true);
    EXPECT_TRUE(device.fGetActive());
    EXPECT_TRUE(device.Engine()->fGetActive());
    EXPECT_FALSE(device.Package()->fGetActive());
    EXPECT_EQ(device.Engine()->LineSettings().baudRate, 19200u);

    EXPECT_EQ(device.Write("\x52\x00", 2), 2);
    EXPECT_EQ(pty.ReadExactly(2), QByteArray("\x52\x00", 2));

    ASSERT_TRUE(pty.WriteAll(Hex("52 00 AA")));
    char buffer[8192];
    ASSERT_TRUE(WaitUntil([&] { return device.fGetInQueue()->Count() == 3; }));
    EXPECT_EQ(device.Read(buffer, 2), 2);  // never more than asked
    EXPECT_EQ(device.Read(buffer, sizeof buffer), 1);
    EXPECT_EQ(device.Read(buffer, sizeof buffer), 0);
    device.fSetActive(false);
    EXPECT_FALSE(device.fGetActive());
}

TEST_F(DeviceTest, UsePackageSwitchesTheLayerWithoutReopening)
{
    Listener listener(device);
    device.fSetPackageType(TCommPackageType::cptFrameHeadTail);
    device.fSetActive(true);
    const int handle = device.fGetHandle();
    device.fSetUsePackage(true);
    EXPECT_TRUE(device.fGetActive());
    EXPECT_TRUE(device.Package()->fGetActive());
    EXPECT_EQ(device.fGetHandle(), handle);
    EXPECT_EQ(listener.events.count("after open"), 1);

    EXPECT_EQ(device.Write("\x01\xEB", 2), 2);  // now a package
    EXPECT_EQ(pty.ReadExactly(7), Hex("EB EB 01 EC EB EE EE"));
    ASSERT_TRUE(pty.WriteAll(Hex("EB 41 42 EE")));
    ASSERT_TRUE(WaitUntil([&] { return listener.SawPackage(PKG_RECEIVED); }));
    char buffer[16];
    EXPECT_EQ(device.Read(buffer, sizeof buffer), 2);
    EXPECT_EQ(QByteArray(buffer, 2), "AB");

    // The layer off alone makes the component inactive in package mode.
    device.Package()->fSetActive(false);
    EXPECT_FALSE(device.fGetActive());
    device.fSetActive(true);
    EXPECT_TRUE(device.fGetActive());

    device.fSetUsePackage(false);
    EXPECT_TRUE(device.fGetActive());
    EXPECT_FALSE(device.Package()->fGetActive());
    EXPECT_EQ(device.fGetHandle(), handle);
    EXPECT_EQ(device.Write("raw", 3), 3);
    EXPECT_EQ(pty.ReadExactly(3), "raw");

    device.fSetActive(false);
    device.fSetUsePackage(true);
    EXPECT_FALSE(device.fGetActive());  // switching the mode does not open the port
    device.fSetActive(true);
    EXPECT_TRUE(device.Package()->fGetActive());
    device.fSetActive(false);
    EXPECT_FALSE(device.Package()->fGetActive());
}

TEST_F(DeviceTest, SettersMarkedSoCloseThePortAndTheOthersDoNot)
{
    const QString path = pty.SlavePath();
    const std::pair<const char*, std::function<void()>> closing[] = {
        {"PortNo", [&] { device.fSetPortNo(2); device.fSetDeviceName(path); }},
        {"DeviceName", [&] { device.fSetDeviceName(path); }},
        {"Baud", [&] { device.fSetBaud(TBaudRate::br9600); }},
        {"Parity", [&] { device.fSetParity(TParity::ptNoParity); }},  // a pty refuses parity
        {"ByteSize", [&] { device.fSetByteSize(8); }},
        {"StopBits", [&] { device.fSetStopBits(TStopBits::sbTwoStopBit); }},
        {"FlowControl", [&] { device.fSetFlowControl(TFlowControl::fcNone); }},
        {"HwInSize", [&] { device.fSetHwInSize(2000); }},
        {"HwOutSize", [&] { device.fSetHwOutSize(2000); }},
        {"InBufSize", [&] { device.fSetInBufSize(8192); }},
        {"OutBufSize", [&] { device.fSetOutBufSize(8192); }},
    };
    for (const auto& [name, set] : closing) {
        device.fSetActive(true);
        set();
        EXPECT_FALSE(device.fGetActive()) << name;
        EXPECT_EQ(device.fGetHandle(), -1) << name;
    }
    const std::pair<const char*, std::function<void()>> keeping[] = {
        {"AutoAnswer", [&] { device.fSetAutoAnswer(3); }},
        {"SyncEvents", [&] { device.fSetSyncEvents(true); }},
        {"QueueSize", [&] { device.fSetQueueSize(8); }},
        {"PackageSize", [&] { device.fSetPackageSize(4096); }},
        {"PackageType", [&] { device.fSetPackageType(TCommPackageType::cptFrameTimeout); }},
        {"PackageInterval", [&] { device.fSetPackageInterval(20); }},
        {"DisableWrite", [&] { device.fSetDisableWrite(false); }},
    };
    device.fSetActive(true);
    for (const auto& [name, set] : keeping) {
        set();
        EXPECT_TRUE(device.fGetActive()) << name;
    }
    device.fSetActive(false);
}

TEST_F(DeviceTest, APortThatCannotBeOpenedRaisesAndStaysInactive)
{
    device.fSetUsePackage(true);
    device.fSetDeviceName("/dev/k3n-absent");
    try {
        device.fSetActive(true);
        FAIL() << "opened an absent port";
    } catch (const EComm32Error& e) {
        EXPECT_EQ(e.ErrorCode(), 4);
        EXPECT_TRUE(e.Message().startsWith("Cannot open COM port"));
    }
    EXPECT_FALSE(device.fGetActive());
    EXPECT_FALSE(device.Package()->fGetActive());
    EXPECT_NO_THROW(device.fSetActive(false));
}

TEST_F(DeviceTest, NotificationsArriveOnTheGuiThreadInOrder)
{
    Listener listener(device);
    device.fSetActive(true);
    EXPECT_EQ(listener.events, QStringList({"after open"}));  // direct; the line event is queued
    ASSERT_TRUE(WaitUntil([&] { return listener.events.size() == 2; }));
    EXPECT_EQ(listener.events.last(), "notify 38");

    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(pty.WriteAll(QByteArray(1, char(i))));
        char b;
        ASSERT_TRUE(WaitUntil([&] { return device.Read(&b, 1) == 1; }));
    }
    ASSERT_TRUE(WaitUntil([&] { return listener.Saw(EV_RXCHAR); }));
    device.fSetActive(false);
    ASSERT_TRUE(WaitUntil([&] { return listener.events.last() == "notify 38"; }));

    EXPECT_TRUE(listener.offThread.isEmpty()) << listener.offThread.join(", ").toStdString();
    const qsizetype beforeClose = listener.events.indexOf("before close");
    ASSERT_GT(beforeClose, 1);
    for (qsizetype i = 2; i < beforeClose; ++i)
        EXPECT_EQ(listener.events[i], "notify 1") << i;
    EXPECT_EQ(listener.events.indexOf("notify 38", 2), listener.events.size() - 1);
}

TEST_F(DeviceTest, WithoutSyncEventsNotificationsComeOnTheWorkerThreads)
{
    Listener listener(device);
    device.fSetSyncEvents(false);
    QObject::disconnect(&device, &TZebCustomCommDevice::OnCommNotify, nullptr, nullptr);
    std::atomic<bool> fromWorker{false};
    QObject::connect(&device, &TZebCustomCommDevice::OnCommNotify, &device,
                     [&](QObject*, quint32 mask) {
                         if ((mask & EV_RXCHAR) && QThread::currentThread() != QCoreApplication::instance()->thread())
                             fromWorker.store(true);
                     },
                     Qt::DirectConnection);
    device.fSetActive(true);
    ASSERT_TRUE(pty.WriteAll("x"));
    EXPECT_TRUE(WaitUntil([&] { return fromWorker.load(); }));
    device.fSetActive(false);
}

TEST_F(DeviceTest, AVanishedPortIsReportedForTheSessionToEnd)
{
    Listener listener(device);
    device.fSetActive(true);
    EXPECT_FALSE(device.HungUp());
    pty.CloseMaster();
    ASSERT_TRUE(WaitUntil([&] { return listener.Saw(EV_HANGUP); }));
    EXPECT_TRUE(device.HungUp());
    EXPECT_TRUE(listener.offThread.isEmpty());
    device.fSetActive(false);
    EXPECT_FALSE(device.fGetActive());
}

TEST_F(DeviceTest, TheProgrammingSessionsWayOfUse)
{
    // As restored from the session window, then started.
    device.fSetPortNo(1);
    device.fSetBaud(TBaudRate::br9600);
    device.fSetByteSize(8);
    device.fSetInBufSize(8192);
    device.fSetOutBufSize(8192);
    device.fSetHwInSize(1200);
    device.fSetHwOutSize(1200);
    device.fSetQueueSize(16);
    device.fSetPackageSize(4096);
    device.fSetDeviceName(pty.SlavePath());
    device.fSetBaud(TBaudRate::br19200);
    device.fSetActive(true);
    device.fSetPackageSize(4096);

    ASSERT_TRUE(pty.WriteAll("stale"));
    ASSERT_TRUE(WaitUntil([&] { return device.fGetInQueue()->Count() == 5; }));
    char buffer[8192];
    EXPECT_EQ(device.Read(buffer, 8192), 5);  // drop stale input

    const QByteArray greeting = Hex("02 4B 33 4E");
    EXPECT_EQ(device.Write(greeting.constData(), int(greeting.size())), 4);
    EXPECT_EQ(pty.ReadExactly(4), greeting);
    ASSERT_TRUE(pty.WriteAll(Hex("52 00")));
    ASSERT_TRUE(WaitUntil([&] { return device.fGetInQueue()->Count() == 2; }));
    EXPECT_EQ(device.Read(buffer, 8192), 2);
    EXPECT_EQ(QByteArray(buffer, 2), Hex("52 00"));
    device.fSetActive(false);
}

TEST(DeviceLifetime, DestroyingAnOpenComponentReleasesThePort)
{
    PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    {
        TZebCommDevice device;
        device.fSetDeviceName(pty.SlavePath());
        device.fSetActive(true);
        ASSERT_TRUE(pty.WriteAll("queued notifications die with the component"));
        ASSERT_TRUE(WaitUntil([&] { return device.fGetInQueue()->Count() > 0; }));
    }
    QCoreApplication::processEvents();  // nothing is left to deliver to the dead component
    TZebCommDevice next;
    next.fSetDeviceName(pty.SlavePath());
    EXPECT_NO_THROW(next.fSetActive(true));
}
