// SPDX-License-Identifier: GPL-3.0-or-later
// The lock-free byte queue: its limits, wrapping, resizing, and one producer
// and one consumer thread running flat out against each other.
#include "comm/byte_queue.h"
#include "comm/comm_test_support.h"

#include <gtest/gtest.h>

#include <random>
#include <thread>

using HalvexComm32::TCommQueue;

TEST(CommQueue, HoldsOneByteLessThanItsSize)
{
    TCommQueue q(8192);
    const QByteArray data = commtest::Pattern(8191);
    EXPECT_EQ(q.In(data.constData(), int(data.size())), 8191);
    EXPECT_EQ(q.Room(), 0);
    EXPECT_EQ(q.In(uint8_t(1)), 0);   // the 8192nd byte

    TCommQueue small(8);
    EXPECT_EQ(small.In("abc", 3), 3);
    EXPECT_EQ(small.Room(), 4);
    EXPECT_EQ(small.In("0123456789", 10), 4);   // what fits, no more
    char out[16] = {};
    EXPECT_EQ(small.Out(out, sizeof out), 7);
    EXPECT_STREQ(out, "abc0123");
}

TEST(CommQueue, WrapsAroundTheEndInTwoPiecesAndKeepsTheOrder)
{
    TCommQueue q(10);
    char out[16] = {};
    ASSERT_EQ(q.In("1234567", 7), 7);
    ASSERT_EQ(q.Out(out, 6), 6);   // head at 6, tail at 7
    EXPECT_EQ(q.In("abcdefgh", 8), 8);   // 3 bytes to the end, 5 from the start
    EXPECT_EQ(q.Count(), 9);
    std::fill(std::begin(out), std::end(out), 0);
    EXPECT_EQ(q.Out(out, 4), 4);   // crosses the end
    EXPECT_STREQ(out, "7abc");
    uint8_t b = 0;
    EXPECT_EQ(q.Out(b), 1);
    EXPECT_EQ(b, 'd');
    std::fill(std::begin(out), std::end(out), 0);
    EXPECT_EQ(q.Out(out, sizeof out), 4);
    EXPECT_STREQ(out, "efgh");
    EXPECT_EQ(q.Out(b), 0);
}

TEST(CommQueue, BadArgumentsResizingAndDiscard)
{
    TCommQueue q(16);
    char c = 'x';
    EXPECT_EQ(q.In(nullptr, 4) + q.In(&c, 0) + q.In(&c, -3) + q.Out(nullptr, 4), 0);

    q.In("hello", 5);
    q.fSetBufSize(16);   // empties even at the same size
    EXPECT_EQ(q.Count(), 0);
    q.In("abcdef", 6);
    q.Discard();
    EXPECT_EQ(q.Count(), 0);
    EXPECT_EQ(q.In("xyz", 3), 3);   // the producer goes on
    char out[8] = {};
    EXPECT_EQ(q.Out(out, sizeof out), 3);
    EXPECT_STREQ(out, "xyz");

    for (int size : {0, -5}) {
        q.fSetBufSize(size);
        EXPECT_FALSE(q.HasBuffer()) << size;
        EXPECT_EQ(q.In(&c, 1), 0) << size;
        EXPECT_EQ(q.Room(), 0) << size;
    }
}

TEST(CommQueue, TwoThreadsPassFourMegabytesThroughASmallQueueUnchanged)
{
    TCommQueue q(97);   // small and odd, so that nearly every transfer wraps
    const QByteArray data = commtest::Pattern(4 * 1024 * 1024, 9);
    std::thread producer([&] {
        std::minstd_rand rng(1);
        for (qsizetype at = 0; at < data.size();) {
            const int n = q.In(data.constData() + at, int(std::min<qsizetype>(1 + rng() % 150, data.size() - at)));
            at += n;
            if (n == 0)
                std::this_thread::yield();
        }
    });
    QByteArray received;
    received.reserve(data.size());
    std::minstd_rand rng(2);
    char block[160];
    while (received.size() < data.size()) {
        const int n = q.Out(block, 1 + int(rng() % 150));
        received.append(block, n);
        if (n == 0)
            std::this_thread::yield();
    }
    producer.join();
    EXPECT_EQ(q.Count(), 0);
    EXPECT_TRUE(received == data) << "bytes lost, doubled or reordered";
}
