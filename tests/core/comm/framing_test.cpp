// SPDX-License-Identifier: GPL-3.0-or-later
// The framing layer: frames on the wire, the receiver's states, package queue
// limits, the pause-ended packages of type 2, and the send pump feeding an
// engine whose queue is short.
#include "comm/comm_test_support.h"
#include "comm/framing.h"
#include "comm/framing_settings.h"

#include <gtest/gtest.h>

#include <deque>
#include <mutex>

using namespace HalvexComm32;
using commtest::Hex;
using commtest::ScriptedEngine;
using commtest::WaitUntil;
using k3n::TZebCommFrameSettings;

namespace {

class FramingTest : public ::testing::Test {
protected:
    FramingTest()
    {
        layer = std::make_unique<TCommPackage>(&engine);
        layer->OnPackage = [this](TCommPackage*, uint32_t mask) {
            std::lock_guard lock(m);
            packageMasks.push_back(mask);
        };
        layer->fSetPkgType(TCommPackageType::cptFrameHeadTail);
        layer->fSetActive(true);
    }

    // What the engine's reader does: bytes into the receive queue, then EV_RXCHAR.
    void Feed(const QByteArray& bytes)
    {
        ASSERT_EQ(engine.InQueue().In(bytes.constData(), int(bytes.size())), bytes.size());
        engine.OnCommNotify(&engine, EV_RXCHAR);
    }
    QByteArray Sent()
    {
        QByteArray out(engine.OutQueue().Count(), '\0');
        engine.OutQueue().Out(out.data(), int(out.size()));
        return out;
    }
    QByteArray Encode(const QByteArray& data)
    {
        EXPECT_EQ(layer->WritePackage(data.constData(), int(data.size())), data.size());
        return Sent();
    }
    QList<QByteArray> Received()
    {
        QList<QByteArray> out;
        while (layer->ReadPackage(nullptr, 0) > 0 || layer->InQueue().Count() > 0) {
            QByteArray p(int(layer->fGetPkgSz()), '\0');
            p.truncate(layer->ReadPackage(p.data(), int(p.size())));
            out << p;
        }
        return out;
    }

    std::mutex m;
    std::vector<uint32_t> packageMasks;
    TComm32 engine;
    std::unique_ptr<TCommPackage> layer;
};

}   // namespace

TEST_F(FramingTest, EncodesWithDoubledMarksAndEscapes)
{
    EXPECT_EQ(Encode(Hex("01 EB 02 EC")), Hex("EB EB 01 EC EB 02 EC EC EE EE"));
    EXPECT_EQ(layer->WritePackage("", 0), 0);   // no data: nothing queued
    EXPECT_EQ(Encode(Hex("EE")), Hex("EB EB EC EE EE EE"));
    EXPECT_EQ(Encode(Hex("00 11 FF")), Hex("EB EB 00 11 FF EE EE"));

    layer->fSetDblFrameMark(false);
    EXPECT_EQ(Encode(Hex("01 EB 02 EC")), Hex("EB 01 EC EB 02 EC EC EE"));

    TZebCommFrameSettings settings(layer.get());
    settings.fSetFrameHead(0x7E);
    settings.fSetFrameTail(0x7F);
    settings.fSetFrameCtrl(0x7D);
    settings.fSetDblFrMark(true);
    EXPECT_TRUE(layer->fGetDblFrameMark());
    EXPECT_EQ(Encode(Hex("7E 01 7D EB 7F")), Hex("7E 7E 7D 7E 01 7D 7D EB 7D 7F 7F 7F"));
}

TEST_F(FramingTest, ReceivesWhatItSendsForEveryByteValue)
{
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all += char(i);
    Feed(Encode(Hex("01 EB 02 EC")));
    const QByteArray frame = Encode(all);
    EXPECT_EQ(frame.size(), 256 + 3 + 4);   // three escapes, doubled marks
    Feed(frame.left(100));   // a frame may come in pieces
    Feed(frame.mid(100));
    EXPECT_EQ(Received(), QList<QByteArray>({Hex("01 EB 02 EC"), all}));
    std::lock_guard lock(m);
    // Reported after every piece while a package waits: three pieces, three reports.
    EXPECT_EQ(std::count(packageMasks.begin(), packageMasks.end(), PKG_RECEIVED), 3);
}

TEST_F(FramingTest, TheReceiverDropsNoiseAndRestartsOnEveryHead)
{
    Feed(Hex("01 02 EE EB 05 EE"));   // noise before the head, and a lone tail
    Feed(Hex("EC EB 01 EE"));   // an escaped head outside a frame is ordinary noise
    Feed(Hex("EB 01 02 EB 03 EE EE"));   // a second head starts again; the doubled tail is noise
    Feed(Hex("EB EC EE 09 EE"));   // an escaped tail is data
    Feed(Hex("EB 07 08"));   // the tail is lost ...
    Feed(Hex("EB 0A EE"));   // ... and the next head discards what was collected
    EXPECT_EQ(Received(), QList<QByteArray>({Hex("05"), Hex("03"), Hex("EE 09"), Hex("0A")}));
}

TEST_F(FramingTest, ReadPackageWithLengthZeroPeeksAndAShortBufferLosesTheRest)
{
    Feed(Hex("EB EB EE EE EB 01 02 03 04 EE"));
    char buffer[8] = {};
    EXPECT_EQ(layer->ReadPackage(nullptr, 0), 0);   // an empty frame is a package of length 0 ...
    EXPECT_EQ(layer->ReadPackage(buffer, sizeof buffer), 0);
    EXPECT_EQ(layer->InQueue().Count(), 1u);   // ... and reading takes it
    EXPECT_EQ(layer->ReadPackage(nullptr, 0), 4);
    EXPECT_EQ(layer->ReadPackage(buffer, 0), 4);
    EXPECT_EQ(layer->InQueue().Count(), 1u);
    EXPECT_EQ(layer->ReadPackage(buffer, 2), 2);
    EXPECT_EQ(QByteArray(buffer, 2), Hex("01 02"));
    EXPECT_EQ(layer->ReadPackage(buffer, sizeof buffer), 0);   // the other two bytes are gone
}

TEST_F(FramingTest, PackagesAreCutToThePackageSize)
{
    const QByteArray big = commtest::Unmarked(5000, 3);
    Feed(Hex("EB") + big + Hex("EE"));
    const QList<QByteArray> got = Received();
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0], big.left(4096));

    EXPECT_EQ(layer->WritePackage(big.constData(), int(big.size())), 4096);
    EXPECT_EQ(Sent(), Hex("EB EB") + big.left(4096) + Hex("EE EE"));

    layer->fSetPkgSz(40);   // small packages, 44-byte slots
    Feed(Hex("EB") + big.left(100) + Hex("EE"));
    EXPECT_EQ(Received(), QList<QByteArray>({big.left(40)}));
}

TEST_F(FramingTest, SixteenSlotsHoldFifteenPackages)
{
    for (int i = 0; i < 16; ++i)
        Feed(Hex("EB") + QByteArray(1, char(i)) + Hex("EE"));
    const QList<QByteArray> got = Received();
    ASSERT_EQ(got.size(), 15);   // the 16th was lost
    EXPECT_EQ(got.front(), Hex("00"));
    EXPECT_EQ(got.back(), Hex("0E"));

    // Send side: one frame sits in the engine's short queue, fifteen wait, the next is refused.
    engine.OutQueue().fSetBufSize(8);
    const QByteArray data(50, 'x');
    int accepted = 0;
    for (int i = 0; i < 17; ++i)
        accepted += layer->WritePackage(data.constData(), int(data.size())) > 0;
    EXPECT_EQ(accepted, 16);
    EXPECT_EQ(layer->OutQueue().Count(), 15u);
}

TEST_F(FramingTest, EverySwitchAndResizeEmptiesTheQueuesAndResetsTheReceiver)
{
    Feed(Hex("EB 01 EE EB 02"));   // one package and half a frame
    layer->fSetActive(false);
    EXPECT_EQ(layer->ReadPackage(nullptr, 0), 0);
    EXPECT_EQ(layer->WritePackage("x", 1), 0);
    layer->fSetActive(true);
    Feed(Hex("03 EE"));   // the half frame was dropped with the package
    EXPECT_EQ(layer->InQueue().Count(), 0u);

    Feed(Hex("EB 04 EE"));
    engine.OutQueue().fSetBufSize(4);
    layer->WritePackage("abcdefgh", 8);
    layer->WritePackage("ij", 2);
    layer->fSetPkgSz(1024);
    EXPECT_TRUE(layer->fGetActive());
    EXPECT_EQ(layer->InQueue().Count() + layer->OutQueue().Count(), 0u);
    EXPECT_EQ(layer->InQueue().SlotSize(), 1028u);
    layer->fSetQSize(0);
    EXPECT_EQ(layer->InQueue().SlotCount(), 2u);   // at least two
}

TEST_F(FramingTest, WholeSlotPackagesInCompatibleMode)
{
    layer->fSetPkgType(TCommPackageType::cptCompatiblePkg);
    layer->fSetPkgSz(64);
    std::vector<uint8_t> slot(68, 0);
    SetPackageLength(slot.data(), 3);
    slot[4] = 0x10;
    slot[5] = 0xEB;
    slot[6] = 0x20;
    EXPECT_EQ(layer->WritePackage(slot.data(), 12345), 1);   // the length argument is not used
    const QByteArray frame = Sent();
    EXPECT_EQ(frame, Hex("EB EB 10 EC EB 20 EE EE"));

    SetPackageLength(slot.data(), 0xFFFFFFFF);   // a length beyond the slot is cut to the package size
    EXPECT_EQ(layer->WritePackage(slot.data(), 0), 1);
    EXPECT_EQ(Sent().size(), 4 + 64 + 1);   // marks, 64 bytes, one escaped head
    SetPackageLength(slot.data(), 0);   // the only way to hand over an empty package
    EXPECT_EQ(layer->WritePackage(slot.data(), 0), 1);
    EXPECT_EQ(Sent(), Hex("EB EB EE EE"));

    Feed(frame);
    std::vector<uint8_t> got(68, 0xAA);
    EXPECT_EQ(layer->ReadPackage(got.data(), 0), 1);
    EXPECT_EQ(PackageLength(got.data()), 3u);
    EXPECT_EQ(got[5], 0xEB);
    EXPECT_EQ(layer->ReadPackage(got.data(), 0), 0);
}

TEST_F(FramingTest, CompatibleModeCopiesExactlyTheRecordEvenBelowTheSmallestSlot)
{
    layer->fSetPkgType(TCommPackageType::cptCompatiblePkg);
    layer->fSetPkgSz(8);   // records of 12 bytes in slots of 32
    std::vector<uint8_t> record(12, 0);
    SetPackageLength(record.data(), 3);
    record[4] = 0x01;
    record[5] = 0xEE;
    record[6] = 0x02;
    EXPECT_EQ(layer->WritePackage(record.data(), 0), 1);
    const QByteArray frame = Sent();
    EXPECT_EQ(frame, Hex("EB EB 01 EC EE 02 EE EE"));

    Feed(frame + Hex("EB 0A 0B 0C 0D 0E 0F 10 11 12 EE"));   // the second is cut to 8
    std::vector<uint8_t> got(12 + 20, 0xAA);   // a record, then a guard the layer must not touch
    ASSERT_EQ(layer->ReadPackage(got.data(), 0), 1);
    EXPECT_EQ(std::vector<uint8_t>(got.begin(), got.begin() + 7), std::vector<uint8_t>({3, 0, 0, 0, 0x01, 0xEE, 0x02}));
    ASSERT_EQ(layer->ReadPackage(got.data(), 0), 1);
    EXPECT_EQ(PackageLength(got.data()), 8u);
    EXPECT_EQ(got[11], 0x11);
    EXPECT_EQ(std::vector<uint8_t>(got.begin() + 12, got.end()), std::vector<uint8_t>(20, 0xAA));
}

TEST_F(FramingTest, APackageSizeThatCannotBeHadLeavesTheLayerAsItWas)
{
    layer->fSetPkgSz(16);
    Feed(Hex("EB 01 02"));   // a frame under way
    for (uint32_t size : {0xFFFFFFFFu, 0xFFFFFFFCu}) {
        EXPECT_THROW(layer->fSetPkgSz(size), std::bad_alloc) << size;
        EXPECT_EQ(layer->fGetPkgSz(), 16u);
        EXPECT_EQ(layer->InQueue().SlotSize(), 32u);
        EXPECT_EQ(layer->OutQueue().SlotSize(), 32u);
        EXPECT_TRUE(layer->fGetActive());
    }
    const QByteArray long20 = commtest::Unmarked(20, 7);
    Feed(long20 + Hex("EE"));   // the frame goes on and is cut to the size kept
    EXPECT_EQ(Received(), QList<QByteArray>({Hex("01 02") + long20.left(14)}));
    EXPECT_EQ(Encode(long20.left(16)), Hex("EB EB") + long20.left(16) + Hex("EE EE"));
}

TEST(FramingByPause, APassWithoutBytesEndsThePackageAndPackagesGoOutUnframed)
{
    ScriptedEngine engine;
    TCommPackage layer(&engine);
    layer.fSetPkgSz(8);
    // Bytes in passes 1, 2, 4 and 6 (cut to 8); passes 3, 5 and 7 bring nothing.
    engine.script = {"abc", "de", "", "xy", "", "0123456789", ""};
    layer.fSetPkgType(TCommPackageType::cptFrameTimeout);
    layer.fSetPkgInterval(1);
    layer.fSetActive(true);
    ASSERT_TRUE(WaitUntil([&] { return engine.ScriptDone() && layer.InQueue().Count() == 3; }));

    QList<QByteArray> got;
    char buffer[16];
    for (int n; (n = layer.ReadPackage(buffer, sizeof buffer)) > 0;)
        got << QByteArray(buffer, n);
    EXPECT_EQ(got, QList<QByteArray>({"abcde", "xy", "01234567"}));

    EXPECT_EQ(layer.WritePackage("\xEB\xEE\xEC", 3), 3);
    char out[8];
    EXPECT_EQ(engine.OutQueue().Out(out, sizeof out), 3);
    EXPECT_EQ(QByteArray(out, 3), "\xEB\xEE\xEC");
}

TEST(FramingOverPty, FramesCrossARealPortBothWays)
{
    commtest::PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    TComm32 engine;
    engine.fSetDeviceName(pty.SlavePath());
    engine.OutQueue().fSetBufSize(1000);   // every frame goes out in pieces, one per transmit-empty
    TCommPackage layer(&engine);
    std::atomic<uint32_t> reported{0};
    layer.OnPackage = [&](TCommPackage*, uint32_t mask) { reported.fetch_or(mask); };
    layer.fSetPkgType(TCommPackageType::cptFrameHeadTail);
    layer.fSetActive(true);
    engine.Open();

    ASSERT_TRUE(pty.WriteAll(Hex("00 EB EB 01 EC EB 02 EC EC EE EE EB 33 EE")));
    ASSERT_TRUE(WaitUntil([&] { return layer.InQueue().Count() == 2; }));
    char buffer[16];
    EXPECT_EQ(layer.ReadPackage(buffer, sizeof buffer), 4);
    EXPECT_EQ(QByteArray(buffer, 4), Hex("01 EB 02 EC"));
    EXPECT_EQ(layer.ReadPackage(buffer, sizeof buffer), 1);
    EXPECT_TRUE(reported.load() & PKG_RECEIVED);

    // Frames larger than the engine's queue: the rest follows on transmit-empty, and all-sent ends it.
    const QByteArray big = commtest::Unmarked(4096, 5);
    reported.store(0);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(layer.WritePackage(big.constData(), int(big.size())), 4096);
    const QByteArray frame = Hex("EB EB") + big + Hex("EE EE");
    EXPECT_EQ(pty.ReadExactly(3 * frame.size()), frame + frame + frame);
    EXPECT_TRUE(WaitUntil([&] { return (reported.load() & PKG_ALLSENT) != 0; }));
    engine.Close();
}
