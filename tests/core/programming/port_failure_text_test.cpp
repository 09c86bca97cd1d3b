// SPDX-License-Identifier: GPL-3.0-or-later
// A refused port in the program's words: the reason with what the user can do
// next (the cable rule among it), in the interface language, after the
// serial library's numbered text.
#include "programming/port_failure_text.h"
#include "text/app_lang.h"
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

using namespace k3n;
using HalvexComm32::EComm32Error;
using HalvexComm32::PortFailureOf;
using HalvexComm32::TPortRefusal;

namespace {

struct LanguageGuard {
    explicit LanguageGuard(uint8_t type) { appLang().fSetLangType(type); }
    ~LanguageGuard() { appLang().fSetLangType(kLangEnglish); }
};

QString Reason(int err)
{
    return PortFailureReason(PortFailureOf(err));
}

}   // namespace

TEST(PortFailureText, EachReasonSaysWhatToDoAndPermissionNamesTheCableRule)
{
    LanguageGuard english(kLangEnglish);
    const struct {
        int err;
        const char* reason;
    } rows[] = {{ENOENT, "the device is not present - check the cable"},
                {ENODEV, "the device is not present - check the cable"},
                {ENXIO, "the device is not present - check the cable"},
                {EBUSY, "the port is in use by another program"},
                {EWOULDBLOCK, "the port is in use by another program"},
                {EIO, "the port does not respond"},
                {ENOTTY, "not a serial port"}};
    for (const auto& r : rows)
        EXPECT_EQ(Reason(r.err), r.reason) << r.err;
    for (int err : {EACCES, EPERM}) {
        EXPECT_TRUE(Reason(err).startsWith("permission denied")) << err;
        EXPECT_TRUE(Reason(err).contains("dialout group (sudo adduser $USER dialout)")) << err;
        EXPECT_TRUE(Reason(err).contains(CableRulePath() + " is installed")) << err;
    }
    const QString other = Reason(EMFILE);
    EXPECT_TRUE(other.contains(QString::number(EMFILE)));
    EXPECT_TRUE(other.contains(QString::fromLocal8Bit(std::strerror(EMFILE))));

    LanguageGuard simplified(kLangSimplified);
    EXPECT_TRUE(Reason(EACCES).startsWith(QString::fromUtf8("没有权限")));
    EXPECT_TRUE(Reason(EACCES).contains("sudo adduser $USER dialout"));
    EXPECT_TRUE(Reason(EACCES).contains(CableRulePath()));
}

TEST(PortFailureText, TheMessageIsTheNumberedTextThenThePortAndTheReason)
{
    LanguageGuard english(kLangEnglish);
    const EComm32Error busy(EComm32Error::ecOpenPort, TPortRefusal{"COM3 (/dev/ttyUSB0)", PortFailureOf(EBUSY), {}});
    EXPECT_EQ(PortErrorMessage(busy),
              "Cannot open COM port: COM3 (/dev/ttyUSB0): the port is in use by another program");
    EXPECT_EQ(PortErrorDetail(busy), "COM3 (/dev/ttyUSB0): the port is in use by another program");

    const EComm32Error settings(EComm32Error::ecSetParameters,
                                TPortRefusal{"COM3", PortFailureOf(EIO), "19200 baud 7E2"});
    EXPECT_EQ(PortErrorMessage(settings),
              "Cannot set COM port parameters: COM3: the port refused 19200 baud 7E2 (the port does not respond)");

    // What the library words itself, and a failure without a detail, pass as they are.
    const EComm32Error unsupported(EComm32Error::ecSetParameters, "COM3: 1.5 stop bits need 5 data bits");
    EXPECT_EQ(PortErrorMessage(unsupported), unsupported.Message());
    EXPECT_EQ(PortErrorDetail(unsupported), unsupported.Detail());
    EXPECT_EQ(PortErrorMessage(EComm32Error(EComm32Error::ecReadThread)), "Cannot create COM port read thread");
}
