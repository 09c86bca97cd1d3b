// SPDX-License-Identifier: GPL-3.0-or-later
// Closing the serial port engine in the hard cases: output held by flow
// control, a close or destruction from one of the engine's own notifications,
// and giving the port back with the settings it had before.
#include "comm/comm_error.h"
#include "comm/comm_test_support.h"
#include "comm/serial_engine.h"
#include "text/app_lang.h"

#include <gtest/gtest.h>
#include <termios.h>

#include <atomic>
#include <mutex>

using namespace HalvexComm32;
using commtest::PtyPair;
using commtest::WaitUntil;

namespace {

// Output that never drains, as behind a CTS held low; records what Close drops.
class HeldOutputEngine : public TComm32 {
public:
    ~HeldOutputEngine() override { Close(); }
    std::atomic<bool> holdOutput{true};
    std::atomic<int> discards{0};
    std::atomic<bool> portOpenAtDiscard{false};

protected:
    bool OutputDrained() const override { return !holdOutput.load() && TComm32::OutputDrained(); }
    void DiscardPortOutput() override
    {
        discards.fetch_add(1);
        portOpenAtDiscard.store(fGetHandle() >= 0);
        TComm32::DiscardPortOutput();
    }
};

class EngineCloseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        k3n::appLang().fSetLangType(k3n::kLangEnglish);
        ASSERT_TRUE(pty.Ok());
    }
    PtyPair pty;
};

}   // namespace

TEST_F(EngineCloseTest, HeldOutputIsDroppedAfterTheDrainWaitAndDrainedOutputIsNot)
{
    HeldOutputEngine engine;
    engine.fSetDeviceName(pty.SlavePath());
    engine.Open();
    EXPECT_EQ(engine.Write("held", 4), 4);
    EXPECT_EQ(pty.ReadExactly(4), "held");
    EXPECT_NO_THROW(engine.Close());
    EXPECT_EQ(engine.discards.load(), 1) << "dropped, so that the kernel's closing wait has nothing to wait for";
    EXPECT_TRUE(engine.portOpenAtDiscard.load());

    engine.holdOutput.store(false);
    engine.Open();
    EXPECT_EQ(engine.Write("sent", 4), 4);
    EXPECT_EQ(pty.ReadExactly(4), "sent");
    engine.Close();
    EXPECT_EQ(engine.discards.load(), 1) << "drained output needs no discarding";
}

TEST_F(EngineCloseTest, CloseFromAnOwnNotificationRaisesCode13AndLeavesTheEngineWorking)
{
    TComm32 engine;
    engine.fSetDeviceName(pty.SlavePath());
    std::mutex m;
    int code = -1;
    QString message;
    bool activeAfter = false;
    std::atomic<bool> tried{false};
    engine.OnCommNotify = [&](TComm32* sender, uint32_t mask) {
        if (!(mask & EV_RXCHAR) || tried.load())
            return;
        std::lock_guard lock(m);
        std::tie(code, message) = commtest::ErrorOf([&] { sender->Close(); });
        activeAfter = sender->fGetActive();
        tried.store(true);
    };
    engine.Open();
    ASSERT_TRUE(pty.WriteAll("x"));
    ASSERT_TRUE(WaitUntil([&] { return tried.load(); }));
    {
        std::lock_guard lock(m);
        EXPECT_EQ(code, EComm32Error::ecCloseReadThread);
        EXPECT_EQ(message, "Cannot close COM port read thread");
        EXPECT_TRUE(activeAfter);
    }
    EXPECT_TRUE(engine.fGetActive());
    EXPECT_GE(engine.fGetHandle(), 0);

    // Still whole: bytes go both ways, and the owner's Close works.
    char block[8];
    ASSERT_TRUE(WaitUntil([&] { return engine.Read(block, sizeof block) == 1; }));
    ASSERT_TRUE(pty.WriteAll("yz"));
    ASSERT_TRUE(WaitUntil([&] { return engine.InQueue().Count() == 2; }));
    EXPECT_EQ(engine.Write("out", 3), 3);
    EXPECT_EQ(pty.ReadExactly(3), "out");
    const int threads = commtest::ThreadCount();
    EXPECT_NO_THROW(engine.Close());
    EXPECT_EQ(commtest::ThreadCount(), threads - 3);
    EXPECT_FALSE(engine.fGetActive());
}

TEST_F(EngineCloseTest, DestroyingTheEngineFromItsOwnNotificationStopsEveryThreadAndReleasesThePort)
{
    struct Done {
        std::atomic<bool> opened{false};   // orders Open before the deletion for the thread sanitizer
        std::atomic<bool> deleted{false};
    } done;
    auto* engine = new TComm32;
    engine->fSetDeviceName(pty.SlavePath());
    Done* state = &done;
    engine->OnCommNotify = [state](TComm32* sender, uint32_t mask) {
        if (!(mask & EV_RXCHAR) || !state->opened.load())
            return;
        Done* keep = state;   // this function object goes with the engine
        delete sender;
        keep->deleted.store(true);
    };
    engine->Open();
    // Counted with the engine running: a sanitizer starts a thread of its own
    // with the process's first thread, which must not count as left over.
    const int threads = commtest::ThreadCount() - 3;
    done.opened.store(true);
    ASSERT_TRUE(pty.WriteAll("x"));
    ASSERT_TRUE(WaitUntil([&] { return done.deleted.load(); }));
    EXPECT_TRUE(WaitUntil([&] { return commtest::ThreadCount() == threads; }));

    TComm32 next;   // the port is free again
    next.fSetDeviceName(pty.SlavePath());
    EXPECT_NO_THROW(next.Open());
    next.Close();
}

TEST_F(EngineCloseTest, ThePortGetsBackTheSettingsItHadBeforeOpenWithHangUpOnClose)
{
    termios before{};
    ASSERT_EQ(tcgetattr(pty.MasterFd(), &before), 0);   // the slave's, as a new pty is: cooked
    ASSERT_TRUE(before.c_lflag & ICANON);
    TComm32 engine;
    engine.fSetDeviceName(pty.SlavePath());
    engine.Open();
    termios open{};
    ASSERT_EQ(tcgetattr(pty.MasterFd(), &open), 0);
    EXPECT_FALSE(open.c_lflag & ICANON);   // raw while the engine has it
    engine.Close();

    termios after{};
    ASSERT_EQ(tcgetattr(pty.MasterFd(), &after), 0);
    EXPECT_EQ(after.c_lflag, before.c_lflag);
    EXPECT_EQ(after.c_iflag, before.c_iflag);
    EXPECT_EQ(after.c_oflag, before.c_oflag);
    EXPECT_EQ(after.c_cflag & ~HUPCL, before.c_cflag & ~HUPCL);
    EXPECT_TRUE(after.c_cflag & HUPCL) << "close still drops DTR and RTS";
}
