// SPDX-License-Identifier: GPL-3.0-or-later
// Line settings turned into termios: what each setting becomes, and which
// settings this system refuses with a name the user can read.
#include "comm/line_settings.h"
#include "text/app_lang.h"

#include <gtest/gtest.h>
#include <termios.h>

#include <functional>

using namespace HalvexComm32;

namespace {

struct Built {
    TTermiosPlan plan;
    termios t{};
};

Built Build(const std::function<void(TCommLineSettings&)>& change = {})
{
    TCommLineSettings s;
    if (change)
        change(s);
    Built b;
    b.t.c_lflag = ICANON | ECHO | ISIG | IEXTEN;   // a cooked tty as a pty starts
    b.t.c_oflag = OPOST | ONLCR;
    b.plan = MakeTermios(s, b.t);
    return b;
}

}   // namespace

TEST(LineSettings, DefaultsGiveRaw8N1At115200)
{
    const Built b = Build();
    ASSERT_TRUE(b.plan.ok);
    EXPECT_EQ(b.t.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS | CLOCAL | CREAD), tcflag_t(CS8 | CLOCAL | CREAD));
    EXPECT_EQ(b.t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(b.t.c_oflag & OPOST, 0u);
    EXPECT_EQ(b.t.c_iflag & (IXON | IXOFF | INPCK), 0u);
    EXPECT_EQ(b.t.c_cc[VMIN], 1);
    EXPECT_EQ(b.t.c_cc[VTIME], 0);
    EXPECT_EQ(cfgetospeed(&b.t), speed_t(B115200));
    EXPECT_EQ(b.plan.customBaud, 0u);
}

TEST(LineSettings, ParityCheckingLeftByAnotherProgramIsCleared)
{
    for (uint8_t parity : {kParityNone, kParityEven}) {
        TCommLineSettings s;
        s.parity = parity;   // parity checking off: nothing may check or drop bytes
        termios t{};
        t.c_iflag = INPCK | IGNPAR;
        ASSERT_TRUE(MakeTermios(s, t).ok);
        EXPECT_EQ(t.c_iflag & (INPCK | IGNPAR), 0u) << int(parity);
    }
}

TEST(LineSettings, EachSettingSetsItsFlags)
{
    const struct {
        const char* what;
        std::function<void(TCommLineSettings&)> change;
        tcflag_t cflagMask, cflag, iflagMask, iflag;
    } rows[] = {
        {"odd",
         [](auto& s) {
             s.parity = kParityOdd;
             s.parityCheck = true;
         },
         PARENB | PARODD | CMSPAR, PARENB | PARODD, INPCK, INPCK},
        {"even",
         [](auto& s) {
             s.parity = kParityEven;
             s.parityCheck = true;
         },
         PARENB | PARODD | CMSPAR, PARENB, INPCK, INPCK},
        {"mark", [](auto& s) { s.parity = kParityMark; }, PARENB | PARODD | CMSPAR, PARENB | CMSPAR | PARODD, INPCK, 0},
        {"space",
         [](auto& s) {
             s.parity = kParitySpace;
             s.parityCheck = true;
         },
         PARENB | PARODD | CMSPAR, PARENB | CMSPAR, INPCK, INPCK},
        {"none checked", [](auto& s) { s.parityCheck = true; }, PARENB, 0, INPCK, 0},
        {"5 bits", [](auto& s) { s.byteSize = 5; }, CSIZE, CS5, 0, 0},
        {"6 bits", [](auto& s) { s.byteSize = 6; }, CSIZE, CS6, 0, 0},
        {"7 bits", [](auto& s) { s.byteSize = 7; }, CSIZE, CS7, 0, 0},
        {"2 stop", [](auto& s) { s.stopBits = kTwoStopBits; }, CSTOPB, CSTOPB, 0, 0},
        {"1.5 stop, 5 bits",
         [](auto& s) {
             s.stopBits = kOne5StopBits;
             s.byteSize = 5;
         },
         CSTOPB | CSIZE, CSTOPB | CS5, 0, 0},
        {"cts", [](auto& s) { s.ctsOutputFlow = true; }, CRTSCTS, CRTSCTS, 0, 0},
        {"rts handshake", [](auto& s) { s.rtsControl = kRtsControlHandshake; }, CRTSCTS, CRTSCTS, 0, 0},
        {"xon out", [](auto& s) { s.xonXoffOutput = true; }, CRTSCTS, 0, IXON | IXOFF, IXON},
        {"xoff in", [](auto& s) { s.xonXoffInput = true; }, CRTSCTS, 0, IXON | IXOFF, IXOFF},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        const Built b = Build(r.change);
        ASSERT_TRUE(b.plan.ok);
        EXPECT_EQ(b.t.c_cflag & r.cflagMask, r.cflag);
        EXPECT_EQ(b.t.c_iflag & r.iflagMask, r.iflag);
    }
    const Built chars = Build([](auto& s) {
        s.xonChar = 0x21;
        s.xoffChar = 0x23;
    });
    EXPECT_EQ(chars.t.c_cc[VSTART], 0x21);
    EXPECT_EQ(chars.t.c_cc[VSTOP], 0x23);
}

TEST(LineSettings, BaudRates)
{
    const struct {
        uint32_t rate;
        speed_t constant;
    } standard[] = {{110, B110},   {300, B300},     {600, B600},     {1200, B1200},   {2400, B2400},    {4800, B4800},
                    {9600, B9600}, {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}};
    for (const auto& r : standard) {
        const Built b = Build([&](auto& s) { s.baudRate = r.rate; });
        EXPECT_EQ(cfgetospeed(&b.t), r.constant) << r.rate;
        EXPECT_EQ(cfgetispeed(&b.t), r.constant) << r.rate;
        EXPECT_EQ(b.plan.customBaud, 0u) << r.rate;
    }
    for (uint32_t rate : {14400u, 56000u, 128000u, 256000u}) {
        const Built b = Build([&](auto& s) { s.baudRate = rate; });
        EXPECT_TRUE(b.plan.ok) << rate;
        EXPECT_EQ(b.plan.customBaud, rate);
    }
}

TEST(LineSettings, RefusalsNameTheSetting)
{
    k3n::appLang().fSetLangType(k3n::kLangEnglish);
    const struct {
        std::function<void(TCommLineSettings&)> change;
        const char* refused;
    } rows[] = {
        {[](auto& s) { s.baudRate = 0; }, "baud rate 0"},
        {[](auto& s) { s.parity = 5; }, "parity code 5"},
        {[](auto& s) { s.stopBits = 3; }, "stop bits code 3"},
        {[](auto& s) { s.stopBits = kOne5StopBits; }, "1.5 stop bits need 5 data bits"},
        {[](auto& s) { s.byteSize = 0; }, "0 data bits (5 to 8 only)"},
        {[](auto& s) { s.byteSize = 4; }, "4 data bits (5 to 8 only)"},
        {[](auto& s) { s.byteSize = 9; }, "9 data bits (5 to 8 only)"},
        {[](auto& s) { s.byteSize = 255; }, "255 data bits (5 to 8 only)"},
    };
    for (const auto& r : rows) {
        const Built b = Build(r.change);
        EXPECT_FALSE(b.plan.ok) << r.refused;
        EXPECT_EQ(b.plan.refused, r.refused);
    }
}
