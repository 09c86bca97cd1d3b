// SPDX-License-Identifier: GPL-3.0-or-later
// The mailbox that brings the engine's notifications to the GUI thread.
#include "comm/thread_mailbox.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using HalvexComm32::TThreadMailbox;

namespace {

// Runs the event loop until done() or a generous limit, so a lost wake-up fails instead of hanging.
template <class Done> bool ProcessUntil(Done done)
{
    const QDeadlineTimer limit(10000);
    while (!done() && !limit.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return done();
}

TEST(ThreadMailbox, CallsFromAWorkerRunOnTheOwnersThreadInPostedOrder)
{
    TThreadMailbox mailbox;
    std::vector<int> seen;
    bool allOnOwner = true;
    QThread* owner = QThread::currentThread();
    constexpr int kCount = 5000;
    std::thread worker([&] {
        for (int i = 0; i < kCount; ++i)
            mailbox.Post([&, i] {
                allOnOwner = allOnOwner && QThread::currentThread() == owner;
                seen.push_back(i);
            });
    });
    worker.join();
    ASSERT_TRUE(ProcessUntil([&] { return int(seen.size()) == kCount; })) << seen.size();
    EXPECT_TRUE(allOnOwner);
    for (int i = 0; i < kCount; ++i)
        ASSERT_EQ(seen[i], i);
}

TEST(ThreadMailbox, ANestedEventLoopInACallGoesOnDeliveringTheRest)
{
    TThreadMailbox mailbox;
    std::vector<int> seen;
    mailbox.Post([&] {
        seen.push_back(1);
        // Like a modal window opened by a notification handler.
        EXPECT_TRUE(ProcessUntil([&] { return seen.size() == 3; }));
        seen.push_back(4);
    });
    mailbox.Post([&] { seen.push_back(2); });
    mailbox.Post([&] { seen.push_back(3); });
    ASSERT_TRUE(ProcessUntil([&] { return seen.size() == 4; }));
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4}));

    // Nothing is left over to be delivered twice, and the mailbox still wakes afterwards.
    mailbox.Post([&] { seen.push_back(5); });
    ASSERT_TRUE(ProcessUntil([&] { return seen.size() == 5; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(seen.back(), 5);
    EXPECT_EQ(seen.size(), 5u);
}

TEST(ThreadMailbox, CallsStillWaitingWhenTheMailboxGoesAreDropped)
{
    int delivered = 0;
    {
        TThreadMailbox mailbox;
        mailbox.Post([&] { ++delivered; });
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(delivered, 0);
}

TEST(ThreadMailbox, AMailboxOfAThreadWithoutEventLoopKeepsNoCalls)
{
    // A session driven by blocking waits on a plain thread owns such a mailbox:
    // it must neither complain nor pile up calls nobody can ever take.
    static std::atomic<int> warnings{0};
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString&) {
            if (type == QtWarningMsg)
                ++warnings;
        });
    int delivered = 0;
    std::thread plain([&] {
        TThreadMailbox mailbox;
        for (int i = 0; i < 1000; ++i)
            mailbox.Post([&] { ++delivered; });
    });
    plain.join();
    QCoreApplication::processEvents();
    qInstallMessageHandler(previous);
    EXPECT_EQ(delivered, 0);
    EXPECT_EQ(warnings, 0);
}

}   // namespace
