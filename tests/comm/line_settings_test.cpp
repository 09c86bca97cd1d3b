// Line settings turned into termios: what each setting becomes, and which
// settings this system refuses with a name the user can read.
#include "comm/comm_line_settings.h"
#include "text/app_lang.h"

#include <gtest/gtest.h>
#include <termios.h>

using namespace HalvexComm32;

namespace {

struct Built {
    TTermiosPlan plan;
    termios t{};
};

Built Build(const TCommLineSettings& s)
{
    Built b;
    b.t.c_lflag = ICANON | ECHO | ISIG | IEXTEN;  // a cooked tty as a pty starts
    b.t.c_oflag = OPOST | ONLCR;
    b.plan = MakeTermios(s, b.t);
    return b;
}

} // namespace

TEST(LineSettings, DefaultsGiveRaw8N1At115200)
{
    const Built b = Build(TCommLineSettings{});
    ASSERT_TRUE(b.plan.ok);
    EXPECT_EQ(b.t.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_EQ(b.t.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(b.t.c_cflag & (CLOCAL | CREAD), tcflag_t(CLOCAL | CREAD));
    EXPECT_EQ(b.t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(b.t.c_oflag & OPOST, 0u);
    EXPECT_EQ(b.t.c_iflag & (IXON | IXOFF | INPCK), 0u);
    EXPECT_EQ(b.t.c_cc[VMIN], 1);
    EXPECT_EQ(b.t.c_cc[VTIME], 0);
    EXPECT_EQ(cfgetospeed(&b.t), speed_t(B115200));
    EXPECT_EQ(b.plan.customBaud, 0u);
}

TEST(LineSettings, ParityCodes)
{
    const struct {
        uint8_t code;
        tcflag_t flags;
    } rows[] = {{kParityNone, 0}, {kParityOdd, PARENB | PARODD}, {kParityEven, PARENB},
                {kParityMark, PARENB | CMSPAR | PARODD}, {kParitySpace, PARENB | CMSPAR}};
    for (const auto& r : rows) {
        TCommLineSettings s;
        s.parity = r.code;
        s.parityCheck = true;
        const Built b = Build(s);
        ASSERT_TRUE(b.plan.ok) << int(r.code);
        EXPECT_EQ(b.t.c_cflag & (PARENB | PARODD | CMSPAR), r.flags) << int(r.code);
        EXPECT_EQ((b.t.c_iflag & INPCK) != 0, r.code != kParityNone) << int(r.code);
    }
    k3n::appLang().fSetLangType(k3n::kLangEnglish);
    TCommLineSettings bad;
    bad.parity = 5;
    const Built b = Build(bad);
    EXPECT_FALSE(b.plan.ok);
    EXPECT_EQ(b.plan.refused, "parity code 5");
}

TEST(LineSettings, ByteSizesAndStopBits)
{
    k3n::appLang().fSetLangType(k3n::kLangEnglish);
    const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    for (uint8_t bits = 5; bits <= 8; ++bits) {
        TCommLineSettings s;
        s.byteSize = bits;
        const Built b = Build(s);
        ASSERT_TRUE(b.plan.ok);
        EXPECT_EQ(b.t.c_cflag & CSIZE, sizes[bits - 5]);
    }
    for (uint8_t bits : {0, 4, 9, 255}) {
        TCommLineSettings s;
        s.byteSize = bits;
        const Built b = Build(s);
        EXPECT_FALSE(b.plan.ok) << int(bits);
        EXPECT_EQ(b.plan.refused, QString("%1 data bits (5 to 8 only)").arg(bits));
    }

    TCommLineSettings two;
    two.stopBits = kTwoStopBits;
    EXPECT_TRUE(Build(two).t.c_cflag & CSTOPB);

    TCommLineSettings oneAndHalf;
    oneAndHalf.stopBits = kOne5StopBits;
    const Built refused = Build(oneAndHalf);
    EXPECT_FALSE(refused.plan.ok);
    EXPECT_EQ(refused.plan.refused, "1.5 stop bits need 5 data bits");
    oneAndHalf.byteSize = 5;
    const Built fiveBits = Build(oneAndHalf);
    EXPECT_TRUE(fiveBits.plan.ok);
    EXPECT_TRUE(fiveBits.t.c_cflag & CSTOPB);

    TCommLineSettings bad;
    bad.stopBits = 3;
    EXPECT_EQ(Build(bad).plan.refused, "stop bits code 3");
}

TEST(LineSettings, FlowControlFlagsAndCharacters)
{
    TCommLineSettings cts;
    cts.ctsOutputFlow = true;
    EXPECT_TRUE(Build(cts).t.c_cflag & CRTSCTS);

    TCommLineSettings rtsHandshake;
    rtsHandshake.rtsControl = kRtsControlHandshake;
    EXPECT_TRUE(Build(rtsHandshake).t.c_cflag & CRTSCTS);

    TCommLineSettings xon;
    xon.xonXoffOutput = true;
    xon.xonChar = 0x21;
    xon.xoffChar = 0x23;
    const Built out = Build(xon);
    EXPECT_TRUE(out.t.c_iflag & IXON);
    EXPECT_FALSE(out.t.c_iflag & IXOFF);
    EXPECT_EQ(out.t.c_cc[VSTART], 0x21);
    EXPECT_EQ(out.t.c_cc[VSTOP], 0x23);

    TCommLineSettings xoffIn;
    xoffIn.xonXoffInput = true;
    EXPECT_TRUE(Build(xoffIn).t.c_iflag & IXOFF);
    EXPECT_FALSE(Build(xoffIn).t.c_cflag & CRTSCTS);
}

TEST(LineSettings, BaudRates)
{
    const struct {
        uint32_t rate;
        speed_t constant;
    } standard[] = {{110, B110}, {300, B300}, {600, B600}, {1200, B1200}, {2400, B2400}, {4800, B4800},
                    {9600, B9600}, {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}};
    for (const auto& r : standard) {
        TCommLineSettings s;
        s.baudRate = r.rate;
        const Built b = Build(s);
        EXPECT_EQ(cfgetospeed(&b.t), r.constant) << r.rate;
        EXPECT_EQ(cfgetispeed(&b.t), r.constant) << r.rate;
        EXPECT_EQ(b.plan.customBaud, 0u) << r.rate;
    }
    for (uint32_t rate : {14400u, 56000u, 128000u, 256000u}) {
        TCommLineSettings s;
        s.baudRate = rate;
        const Built b = Build(s);
        EXPECT_TRUE(b.plan.ok);
        EXPECT_EQ(b.plan.customBaud, rate);
    }
    k3n::appLang().fSetLangType(k3n::kLangEnglish);
    TCommLineSettings zero;
    zero.baudRate = 0;
    EXPECT_EQ(Build(zero).plan.refused, "baud rate 0");
}
