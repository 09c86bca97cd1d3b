// SPDX-License-Identifier: GPL-3.0-or-later
#include "comm/line_settings.h"

#include "comm/custom_baud.h"
#include "comm/port_errors.h"
#include "text/own_texts.h"

#include <array>
#include <cerrno>
#include <termios.h>

namespace HalvexComm32 {

namespace {

struct StandardRate {
    uint32_t rate;
    speed_t constant;
};

constexpr std::array<StandardRate, 15> kStandardRates = {{
    {50, B50},
    {75, B75},
    {110, B110},
    {150, B150},
    {300, B300},
    {600, B600},
    {1200, B1200},
    {2400, B2400},
    {4800, B4800},
    {9600, B9600},
    {19200, B19200},
    {38400, B38400},
    {57600, B57600},
    {115200, B115200},
    {230400, B230400},
}};

QString Refused(k3n::OwnText text, int value)
{
    return k3n::Text(text).arg(value);
}

// "19200 baud 8N1"
QString LineSummary(const TCommLineSettings& s)
{
    static const char parityLetters[] = "NOEMS";
    static const char* const stopBits[] = {"1", "1.5", "2"};
    return QStringLiteral("%1 baud %2%3%4")
        .arg(s.baudRate)
        .arg(s.byteSize)
        .arg(QChar(s.parity <= kParitySpace ? parityLetters[s.parity] : '?'))
        .arg(QLatin1String(s.stopBits <= kTwoStopBits ? stopBits[s.stopBits] : "?"));
}

}   // namespace

TTermiosPlan MakeTermios(const TCommLineSettings& s, termios& t)
{
    TTermiosPlan plan;
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD | HUPCL;   // HUPCL: DTR drops at close, as when a port is released
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;

    if (s.baudRate == 0) {
        plan.refused = Refused(k3n::OwnText::PortRefusedBaud, 0);
        return plan;
    }
    speed_t speed = B38400;   // replaced through termios2 for a rate without a constant
    plan.customBaud = s.baudRate;
    for (const StandardRate& r : kStandardRates)
        if (r.rate == s.baudRate) {
            speed = r.constant;
            plan.customBaud = 0;
        }
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);

    t.c_cflag &= ~CSIZE;
    switch (s.byteSize) {
    case 5: t.c_cflag |= CS5; break;
    case 6: t.c_cflag |= CS6; break;
    case 7: t.c_cflag |= CS7; break;
    case 8: t.c_cflag |= CS8; break;
    default: plan.refused = Refused(k3n::OwnText::PortRefusedByteSize, s.byteSize); return plan;
    }

    t.c_cflag &= ~(PARENB | PARODD | CMSPAR);
    switch (s.parity) {
    case kParityNone: break;
    case kParityOdd: t.c_cflag |= PARENB | PARODD; break;
    case kParityEven: t.c_cflag |= PARENB; break;
    case kParityMark: t.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case kParitySpace: t.c_cflag |= PARENB | CMSPAR; break;
    default: plan.refused = Refused(k3n::OwnText::PortRefusedParity, s.parity); return plan;
    }
    // Left over from a previous owner of the port, these would check or drop bytes without parity.
    t.c_iflag &= ~(INPCK | IGNPAR);
    if (s.parityCheck && s.parity != kParityNone)
        t.c_iflag |= INPCK;

    t.c_cflag &= ~CSTOPB;
    switch (s.stopBits) {
    case kOneStopBit: break;
    case kOne5StopBits:
        // The UART sends 1.5 stop bits for CSTOPB only with 5 data bits.
        if (s.byteSize != 5) {
            plan.refused = k3n::Text(k3n::OwnText::PortOne5StopBitsNeedFive);
            return plan;
        }
        t.c_cflag |= CSTOPB;
        break;
    case kTwoStopBits: t.c_cflag |= CSTOPB; break;
    default: plan.refused = Refused(k3n::OwnText::PortRefusedStopBits, s.stopBits); return plan;
    }

    if (s.ctsOutputFlow || s.rtsControl == kRtsControlHandshake)
        t.c_cflag |= CRTSCTS;
    else
        t.c_cflag &= ~CRTSCTS;
    t.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (s.xonXoffOutput)
        t.c_iflag |= IXON;
    if (s.xonXoffInput)
        t.c_iflag |= IXOFF;
    t.c_cc[VSTART] = static_cast<cc_t>(s.xonChar);
    t.c_cc[VSTOP] = static_cast<cc_t>(s.xoffChar);

    plan.ok = true;
    return plan;
}

std::optional<TLineSettingsFailure> ApplyLineSettings(int fd, const TCommLineSettings& s)
{
    termios t{};
    if (tcgetattr(fd, &t) < 0)
        return TLineSettingsFailure{.failure = PortFailureOf(errno)};
    const TTermiosPlan plan = MakeTermios(s, t);
    if (!plan.ok)
        return TLineSettingsFailure{.refused = plan.refused};
    // A driver may drop flags it cannot do and still succeed: never verify by reading back.
    if (tcsetattr(fd, TCSANOW, &t) < 0)
        return TLineSettingsFailure{.failure = PortFailureOf(errno), .settings = LineSummary(s)};
    if (plan.customBaud != 0 && SetCustomBaudRate(fd, plan.customBaud) != 0)
        return TLineSettingsFailure{.refused =
                                        Refused(k3n::OwnText::PortRefusedBaud, static_cast<int>(plan.customBaud))};
    return std::nullopt;
}

}   // namespace HalvexComm32
