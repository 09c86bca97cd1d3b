// SPDX-License-Identifier: GPL-3.0-or-later
// The framing layer fed random byte streams in random chunk sizes, with a fixed
// seed: every package type, package sizes from 0 to 4096, frame bytes that
// need escaping, stray head and tail bytes, broken frames and pauses. Checks
// that no package is longer than the package size, that every package arrives
// exactly once and in order, and (in the sanitizer runs) that no buffer is
// read or written past its end.
#include "comm/comm_test_support.h"
#include "comm/framing.h"

#include <gtest/gtest.h>

#include <deque>
#include <mutex>
#include <random>

using namespace HalvexComm32;
using commtest::ScriptedEngine;
using commtest::WaitUntil;

namespace {

using Rng = std::mt19937;

int Uniform(Rng& rng, int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(rng);
}

uint32_t RandomPackageSize(Rng& rng)
{
    switch (Uniform(rng, 0, 9)) {
    case 0: return uint32_t(Uniform(rng, 0, 3));
    case 1:
    case 2:
    case 3:
    case 4: return uint32_t(Uniform(rng, 4, 40));
    case 5:
    case 6:
    case 7: return uint32_t(Uniform(rng, 41, 600));
    default: return uint32_t(Uniform(rng, 601, 4096));
    }
}

// Data rich in the frame bytes, so that escapes are frequent.
QByteArray RandomData(Rng& rng, int length, const QByteArray& frameBytes)
{
    QByteArray data(length, Qt::Uninitialized);
    for (char& c : data)
        c = Uniform(rng, 0, 3) == 0 ? frameBytes[Uniform(rng, 0, 2)] : char(Uniform(rng, 0, 255));
    return data;
}

// Random bytes without the given ones.
QByteArray RandomBytesWithout(Rng& rng, int length, const QByteArray& excluded)
{
    QByteArray out;
    while (out.size() < length) {
        const char c = char(Uniform(rng, 0, 255));
        if (!excluded.contains(c))
            out += c;
    }
    return out;
}

class RandomFramingTest : public ::testing::Test {
protected:
    static constexpr unsigned kSeed = 20240611;

    // Reads every waiting package, checking its length against the package size.
    QList<QByteArray> TakePackages(TCommPackage& layer)
    {
        QList<QByteArray> out;
        const uint32_t size = layer.fGetPkgSz();
        while (layer.InQueue().Count() > 0) {
            if (layer.fGetPkgType() == TCommPackageType::cptCompatiblePkg) {
                std::vector<uint8_t> record(kPackageHeadSize + size);   // exactly one record
                EXPECT_EQ(layer.ReadPackage(record.data(), 0), 1);
                const uint32_t length = PackageLength(record.data());
                EXPECT_LE(length, size);
                out << QByteArray(reinterpret_cast<const char*>(record.data()) + kPackageHeadSize,
                                  qsizetype(std::min(length, size)));
            } else {
                const int peeked = layer.ReadPackage(nullptr, 0);
                EXPECT_LE(uint32_t(peeked), size);
                std::vector<char> buffer(std::max<uint32_t>(size, 1));
                const int n = layer.ReadPackage(buffer.data(), int(buffer.size()));
                EXPECT_EQ(n, peeked);
                out << QByteArray(buffer.data(), n);
            }
        }
        return out;
    }

    // The whole frame the layer hands the engine for one package, pumping on transmit-empty.
    static QByteArray Frame(TComm32& engine, TCommPackage& layer, const QByteArray& data)
    {
        const uint32_t size = layer.fGetPkgSz();
        if (layer.fGetPkgType() == TCommPackageType::cptCompatiblePkg) {
            std::vector<uint8_t> record(kPackageHeadSize + size);
            const uint32_t n = std::min(uint32_t(data.size()), size);
            SetPackageLength(record.data(), n);
            std::memcpy(record.data() + kPackageHeadSize, data.constData(), n);
            EXPECT_EQ(layer.WritePackage(record.data(), 0), 1);
        } else {
            layer.WritePackage(data.constData(), int(data.size()));
        }
        QByteArray frame;
        for (;;) {
            QByteArray part(engine.OutQueue().Count(), '\0');
            engine.OutQueue().Out(part.data(), int(part.size()));
            if (part.isEmpty())
                break;
            frame += part;
            engine.OnCommNotify(&engine, EV_TXEMPTY);
        }
        return frame;
    }
};

}   // namespace

TEST_F(RandomFramingTest, FramedStreamsInRandomChunksDeliverEveryPackageOnceCutToTheSize)
{
    Rng rng(kSeed);
    int packagesChecked = 0;
    for (int round = 0; round < 400; ++round) {
        TComm32 engine;
        TCommPackage layer(&engine);
        const auto type = Uniform(rng, 0, 1) ? TCommPackageType::cptFrameHeadTail : TCommPackageType::cptCompatiblePkg;
        const uint32_t size = RandomPackageSize(rng);
        layer.fSetPkgType(type);
        layer.fSetPkgSz(size);
        layer.fSetDblFrameMark(Uniform(rng, 0, 1) == 1);
        QByteArray frameBytes("\xEB\xEE\xEC", 3);
        if (Uniform(rng, 0, 1)) {
            frameBytes = RandomBytesWithout(rng, 1, {});
            frameBytes += RandomBytesWithout(rng, 1, frameBytes);
            frameBytes += RandomBytesWithout(rng, 1, frameBytes);
        }
        const char head = frameBytes[0], tail = frameBytes[1], ctrl = frameBytes[2];
        layer.fSetFrameHead(uint8_t(head));
        layer.fSetFrameTail(uint8_t(tail));
        layer.fSetFrameCtrl(uint8_t(ctrl));
        layer.fSetActive(true);
        SCOPED_TRACE(QStringLiteral("round %1: type %2, size %3").arg(round).arg(int(type)).arg(size).toStdString());

        QByteArray stream;
        QList<QByteArray> expected;
        const int packages = Uniform(rng, 1, 8);
        for (int p = 0; p < packages; ++p) {
            // Noise between frames: stray tails, but no head and no control byte (it would escape the head).
            stream += RandomBytesWithout(rng, Uniform(rng, 0, 20), QByteArray() + head + ctrl);
            if (Uniform(rng, 0, 3) == 0)   // a frame whose tail was lost: the next head discards it
                stream += head + RandomBytesWithout(rng, Uniform(rng, 0, 30), frameBytes);
            const int length = Uniform(rng, type == TCommPackageType::cptFrameHeadTail ? 1 : 0,
                                       int(std::min<uint32_t>(2 * size + 3, 3000)));
            const QByteArray data = RandomData(rng, length, frameBytes);
            stream += Frame(engine, layer, data);
            expected << data.left(qsizetype(size));
        }
        if (Uniform(rng, 0, 1))
            stream += tail;   // the second tail of a doubled mark falls between frames

        QList<QByteArray> received;
        for (qsizetype at = 0; at < stream.size();) {
            const int chunk = int(std::min<qsizetype>(Uniform(rng, 1, 2048), stream.size() - at));
            ASSERT_EQ(engine.InQueue().In(stream.constData() + at, chunk), chunk);
            engine.OnCommNotify(&engine, EV_RXCHAR);   // as the reader does after moving bytes
            at += chunk;
            received += TakePackages(layer);
        }
        ASSERT_EQ(received, expected);
        packagesChecked += int(received.size());
    }
    EXPECT_GT(packagesChecked, 1000);
}

TEST_F(RandomFramingTest, PauseEndedPackagesInRandomPiecesArriveOnceCutToTheSize)
{
    Rng rng(kSeed + 1);
    int packagesChecked = 0;
    for (int round = 0; round < 24; ++round) {
        ScriptedEngine engine;
        TCommPackage layer(&engine);
        const uint32_t size = RandomPackageSize(rng);
        layer.fSetPkgSz(size);
        layer.fSetPkgType(TCommPackageType::cptFrameTimeout);
        layer.fSetPkgInterval(1);
        SCOPED_TRACE(QStringLiteral("round %1: size %2").arg(round).arg(size).toStdString());

        QList<QByteArray> expected;
        std::deque<QByteArray> script;
        for (int p = Uniform(rng, 1, 10); p > 0; --p) {   // fewer than the 16 slots
            const QByteArray data = RandomData(rng, Uniform(rng, 1, int(std::min<uint32_t>(2 * size + 3, 5000))),
                                               QByteArray("\xEB\xEE\xEC", 3));
            for (qsizetype at = 0; at < data.size();) {   // one piece a pass, then a pass without bytes
                const qsizetype piece = std::min<qsizetype>(Uniform(rng, 1, 3000), data.size() - at);
                script.push_back(data.mid(at, piece));
                at += piece;
            }
            script.push_back(QByteArray());
            if (size > 0)
                expected << data.left(qsizetype(size));
        }
        {
            std::lock_guard lock(engine.m);
            engine.script = script;
        }
        layer.fSetActive(true);
        ASSERT_TRUE(
            WaitUntil([&] { return engine.ScriptDone() && layer.InQueue().Count() == uint32_t(expected.size()); }));
        QList<QByteArray> received = TakePackages(layer);
        EXPECT_EQ(received, expected);
        packagesChecked += int(received.size());
    }
    EXPECT_GT(packagesChecked, 40);
}
