// SPDX-License-Identifier: GPL-3.0-or-later
// The communication device component: Active in raw and package mode, the
// setters that close the port, property mapping, and notifications re-raised
// on the component's thread in order.
#include "comm/comm_component.h"
#include "comm/comm_error.h"
#include "comm/comm_test_support.h"
#include "text/app_lang.h"

#include <QThread>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

using namespace HalvexComm32;
using commtest::Hex;
using commtest::PtyPair;
using commtest::WaitUntil;
using k3n::kBaudRateCount;
using k3n::TBaudRate;
using k3n::TFlowControl;
using k3n::TParity;
using k3n::TStopBits;
using k3n::TZebCommDevice;
using k3n::TZebCustomCommDevice;

namespace {

bool OnGuiThread()
{
    return QThread::currentThread() == QCoreApplication::instance()->thread();
}

// What a listener on the GUI thread sees.
struct Listener {
    explicit Listener(TZebCustomCommDevice& device)
    {
        QObject::connect(&device, &TZebCustomCommDevice::OnCommNotify, &device, [this](QObject*, quint32 mask) {
            Record(QStringLiteral("notify %1").arg(mask, 0, 16));
            masks |= mask;
        });
        QObject::connect(&device, &TZebCustomCommDevice::OnPackage, &device, [this](QObject*, quint32 mask) {
            Record(QStringLiteral("package %1").arg(mask, 0, 16));
            packageMasks |= mask;
        });
        QObject::connect(&device, &TZebCustomCommDevice::AfterOpen, &device,
                         [this](QObject*) { Record("after open"); });
        QObject::connect(&device, &TZebCustomCommDevice::BeforeClose, &device,
                         [this](QObject*) { Record("before close"); });
    }
    void Record(const QString& what)
    {
        events << what;
        if (!OnGuiThread())
            offThread << what;
    }
    QStringList events;
    QStringList offThread;
    quint32 masks = 0;   // every bit seen
    quint32 packageMasks = 0;
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

}   // namespace

TEST(DeviceProperties, DefaultsMappingToTheEngineAndOutOfRangeValues)
{
    TZebCommDevice device;
    EXPECT_EQ(device.fGetDeviceName(), "COM2");
    EXPECT_EQ(device.fGetBaud(), TBaudRate::br115200);
    EXPECT_EQ(device.fGetInBufSize(), 8192);
    EXPECT_EQ(device.fGetHwInSize(), 1200);
    EXPECT_EQ(device.fGetQueueSize(), 16);
    EXPECT_EQ(device.fGetPackageType(), TCommPackageType::cptCompatiblePkg);
    EXPECT_EQ(device.fGetPackageInterval(), 50);
    EXPECT_TRUE(device.fGetSyncEvents());
    EXPECT_FALSE(device.fGetUsePackage());

    const uint32_t rates[] = {110,   300,   600,   1200,  2400,   4800,   9600,  14400,
                              19200, 38400, 56000, 57600, 115200, 128000, 256000};
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
    device.fSetStopBits(TStopBits::sbOne_5_StopBits);
    EXPECT_EQ(device.Engine()->LineSettings().stopBits, kOne5StopBits);
    device.fSetStopBits(TStopBits(5));
    EXPECT_EQ(device.fGetStopBits(), TStopBits::sbOneStopBit);
    device.fSetFlowControl(TFlowControl::fcTranXonXoff);
    EXPECT_EQ(device.fGetFlowControl(), TFlowControl::fcXonXoff);
    device.fSetFlowControl(TFlowControl::fcRtsCtsXonXoff);
    EXPECT_EQ(device.fGetFlowControl(), TFlowControl::fcRtsCtsXonXoff);

    device.fSetByteSize(300);
    EXPECT_EQ(device.fGetByteSize(), 255);
    device.fSetByteSize(-4);
    EXPECT_EQ(device.fGetByteSize(), 0);
    device.fSetAutoAnswer(1000);
    EXPECT_EQ(device.fGetAutoAnswer(), 255);
    device.fSetAutoAnswer(-1);
    EXPECT_EQ(device.fGetAutoAnswer(), 0);
    device.fSetQueueSize(-3);   // no huge allocation from a negative count
    EXPECT_EQ(device.fGetQueueSize(), 0);
    EXPECT_EQ(device.Package()->InQueue().SlotCount(), 2u);
    device.fSetPackageSize(-1);
    EXPECT_EQ(device.fGetPackageSize(), 0);

    TZebCommDevice source;   // assigning frame settings copies the bytes, not the double frame mark
    source.fGetFrameSettings()->fSetFrameHead(0x01);
    source.fGetFrameSettings()->fSetFrameCtrl(0x03);
    source.fGetFrameSettings()->fSetDblFrMark(false);
    device.fSetFrameSettings(source.fGetFrameSettings());
    EXPECT_EQ(device.Package()->fGetFrameHead(), 0x01);
    EXPECT_EQ(device.Package()->fGetFrameCtrl(), 0x03);
    EXPECT_TRUE(device.Package()->fGetDblFrameMark());
}

TEST_F(DeviceTest, ActiveInRawModeOpensOnlyTheEngineAndUsePackageSwitchesTheLayerWithoutReopening)
{
    Listener listener(device);
    device.fSetPackageType(TCommPackageType::cptFrameHeadTail);
    device.fSetActive(true);
    EXPECT_TRUE(device.fGetActive());
    EXPECT_TRUE(device.Engine()->fGetActive());
    EXPECT_FALSE(device.Package()->fGetActive());
    EXPECT_EQ(device.Engine()->LineSettings().baudRate, 19200u);
    EXPECT_EQ(device.Write("\x52\x00", 2), 2);
    EXPECT_EQ(pty.ReadExactly(2), QByteArray("\x52\x00", 2));
    ASSERT_TRUE(pty.WriteAll(Hex("52 00 AA")));
    ASSERT_TRUE(WaitUntil([&] { return device.fGetInQueue()->Count() == 3; }));
    char buffer[16];
    EXPECT_EQ(device.Read(buffer, 2), 2);   // never more than asked
    EXPECT_EQ(device.Read(buffer, sizeof buffer), 1);
    EXPECT_EQ(device.Read(buffer, sizeof buffer), 0);

    const int handle = device.fGetHandle();
    device.fSetUsePackage(true);
    EXPECT_TRUE(device.fGetActive());
    EXPECT_TRUE(device.Package()->fGetActive());
    EXPECT_EQ(device.fGetHandle(), handle);
    EXPECT_EQ(listener.events.count("after open"), 1);

    EXPECT_EQ(device.Write("\x01\xEB", 2), 2);   // now a package
    EXPECT_EQ(pty.ReadExactly(7), Hex("EB EB 01 EC EB EE EE"));
    ASSERT_TRUE(pty.WriteAll(Hex("EB 41 42 EE")));
    ASSERT_TRUE(WaitUntil([&] { return (listener.packageMasks & PKG_RECEIVED) != 0; }));
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
    EXPECT_FALSE(device.fGetActive());   // switching the mode does not open the port
    device.fSetActive(true);
    EXPECT_TRUE(device.Package()->fGetActive());
    device.fSetActive(false);
    EXPECT_FALSE(device.Package()->fGetActive());
}

TEST_F(DeviceTest, SettersMarkedSoCloseThePortAndTheOthersDoNot)
{
    const QString path = pty.SlavePath();
    const std::pair<const char*, std::function<void()>> closing[] = {
        {"PortNo",
         [&] {
             device.fSetPortNo(2);
             device.fSetDeviceName(path);
         }},
        {"DeviceName", [&] { device.fSetDeviceName(path); }},
        {"Baud", [&] { device.fSetBaud(TBaudRate::br9600); }},
        {"Parity", [&] { device.fSetParity(TParity::ptNoParity); }},   // a pty refuses parity
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
    const auto failure = commtest::ErrorOf([&] { device.fSetActive(true); });
    EXPECT_EQ(failure.first, 4);
    EXPECT_TRUE(failure.second.startsWith("Cannot open COM port")) << failure.second.toStdString();
    EXPECT_FALSE(device.fGetActive());
    EXPECT_FALSE(device.Package()->fGetActive());
    EXPECT_NO_THROW(device.fSetActive(false));
}

TEST_F(DeviceTest, NotificationsArriveOnTheGuiThreadInOrder)
{
    Listener listener(device);
    device.fSetActive(true);
    EXPECT_EQ(listener.events, QStringList({"after open"}));   // direct; the line event is queued
    ASSERT_TRUE(WaitUntil([&] { return listener.events.size() == 2; }));
    EXPECT_EQ(listener.events.last(), "notify 38");

    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(pty.WriteAll(QByteArray(1, char(i))));
        char b;
        ASSERT_TRUE(WaitUntil([&] { return device.Read(&b, 1) == 1; }));
    }
    ASSERT_TRUE(WaitUntil([&] { return (listener.masks & EV_RXCHAR) != 0; }));
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
    device.fSetSyncEvents(false);
    std::atomic<bool> fromWorker{false};
    QObject::connect(
        &device, &TZebCustomCommDevice::OnCommNotify, &device,
        [&](QObject*, quint32 mask) {
            if ((mask & EV_RXCHAR) && !OnGuiThread())
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
    ASSERT_TRUE(WaitUntil([&] { return (listener.masks & EV_HANGUP) != 0; }));
    EXPECT_TRUE(device.HungUp());
    EXPECT_TRUE(listener.offThread.isEmpty());
    device.fSetActive(false);
    EXPECT_FALSE(device.fGetActive());
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
    QCoreApplication::processEvents();   // nothing is left to deliver to the dead component
    TZebCommDevice next;
    next.fSetDeviceName(pty.SlavePath());
    EXPECT_NO_THROW(next.fSetActive(true));
}

TEST(DeviceLifetime, DestroyingWhileTheLayersTimerDeliversPackagesStopsThatThreadFirst)
{
    // Packages ended by pauses come from the layer's own timer thread; without synchronised
    // events its OnPackage runs right there while the component goes away.
    PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    auto device = std::make_unique<TZebCommDevice>();
    device->fSetDeviceName(pty.SlavePath());
    device->fSetSyncEvents(false);
    device->fSetPackageType(TCommPackageType::cptFrameTimeout);
    device->fSetPackageInterval(1);
    device->fSetUsePackage(true);
    std::atomic<int> delivered{0};
    QObject::connect(
        device.get(), &TZebCustomCommDevice::OnPackage, device.get(),
        [&](QObject*, quint32) { delivered.fetch_add(1); }, Qt::DirectConnection);
    device->fSetActive(true);

    std::atomic<bool> feeding{true};
    std::thread feeder([&] {
        while (feeding.load()) {
            pty.WriteAll("p");
            std::this_thread::sleep_for(std::chrono::milliseconds(2));   // a pause ends each package
        }
    });
    EXPECT_TRUE(WaitUntil([&] { return delivered.load() >= 5; }));
    device.reset();   // the thread sanitizer run reports a callback cleared under a running delivery
    const int after = delivered.load();
    feeding.store(false);
    feeder.join();
    EXPECT_EQ(delivered.load(), after) << "nothing is delivered once the component is gone";
}
