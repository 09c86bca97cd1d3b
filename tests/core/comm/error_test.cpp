// SPDX-License-Identifier: GPL-3.0-or-later
// Failure texts: the numbered messages in the three languages, and the
// system's reason with what the user can do next.
#include "comm/comm_error.h"
#include "comm/port_errors.h"
#include "text/app_lang.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

using HalvexComm32::CableRulePath;
using HalvexComm32::EComm32Error;
using HalvexComm32::PortFailureDetail;
using HalvexComm32::PortFailureReason;

namespace {

struct LanguageGuard {
    explicit LanguageGuard(uint8_t type) { k3n::appLang().fSetLangType(type); }
    ~LanguageGuard() { k3n::appLang().fSetLangType(k3n::kLangEnglish); }
};

} // namespace

TEST(CommErrors, NumberedMessagesInTheThreeLanguages)
{
    LanguageGuard english(k3n::kLangEnglish);
    const char* expected[] = {"Unknown error", "Out of memory", "Cannot initialize read buffer",
                              "Cannot initialize write buffer", "Cannot open COM port", "Cannot set comm-mask",
                              "Cannot set COM port buffer size", "Cannot read COM port parameters",
                              "Cannot set COM port parameters", "Cannot create COM port asynchronize read event",
                              "Cannot create COM port asynchronize write event", "Cannot create COM port read thread",
                              "Cannot create COM port write thread", "Cannot close COM port read thread",
                              "Cannot close COM port write thread"};
    for (int code = 1; code <= 14; ++code) {
        const EComm32Error e(static_cast<EComm32Error::TErrorCode>(code));
        EXPECT_EQ(e.ErrorCode(), code);
        EXPECT_EQ(e.Message(), expected[code]) << code;
        EXPECT_STREQ(e.what(), expected[code]) << code;
    }
    for (int code : {0, 15, 255})
        EXPECT_EQ(EComm32Error(code).Message(), "Unknown error") << code;

    {
        LanguageGuard simplified(k3n::kLangSimplified);
        EXPECT_EQ(EComm32Error(4).Message(), QString::fromUtf8("不能打开端口"));
        EXPECT_EQ(EComm32Error(13).Message(), QString::fromUtf8("不能关闭端口读线程"));
        EXPECT_EQ(EComm32Error(99).Message(), QString::fromUtf8("未知错误"));
    }
    LanguageGuard traditional(k3n::kLangTraditional);
    EXPECT_EQ(EComm32Error(4).Message(), QString::fromUtf8("不能打開埠"));
    EXPECT_EQ(EComm32Error(1).Message(), QString::fromUtf8("記憶體不夠"));
    EXPECT_EQ(EComm32Error(99).Message(), QString::fromUtf8("未知錯誤"));
}

TEST(CommErrors, TheSystemsReasonSaysWhatToDoAndFollowsTheNumberedText)
{
    LanguageGuard english(k3n::kLangEnglish);
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
        EXPECT_EQ(PortFailureReason(r.err), r.reason) << r.err;
    for (int err : {EACCES, EPERM}) {
        EXPECT_TRUE(PortFailureReason(err).startsWith("permission denied")) << err;
        EXPECT_TRUE(PortFailureReason(err).contains("dialout group (sudo adduser $USER dialout)")) << err;
        EXPECT_TRUE(PortFailureReason(err).contains(CableRulePath() + " is installed")) << err;
    }
    const QString other = PortFailureReason(EMFILE);
    EXPECT_TRUE(other.contains(QString::number(EMFILE)));
    EXPECT_TRUE(other.contains(QString::fromLocal8Bit(std::strerror(EMFILE))));

    const EComm32Error e(4, PortFailureDetail("COM3 (/dev/ttyUSB0)", EBUSY));
    EXPECT_EQ(e.Message(), "Cannot open COM port: COM3 (/dev/ttyUSB0): the port is in use by another program");
    EXPECT_EQ(e.Detail(), "COM3 (/dev/ttyUSB0): the port is in use by another program");
    EXPECT_EQ(QString::fromUtf8(e.what()), e.Message());

    LanguageGuard simplified(k3n::kLangSimplified);
    EXPECT_TRUE(PortFailureReason(EACCES).startsWith(QString::fromUtf8("没有权限")));
    EXPECT_TRUE(PortFailureReason(EACCES).contains("sudo adduser $USER dialout"));
    EXPECT_TRUE(PortFailureReason(EACCES).contains(CableRulePath()));
}
