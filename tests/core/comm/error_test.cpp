// SPDX-License-Identifier: GPL-3.0-or-later
// Failure texts: the numbered messages in the three languages, and a refused
// port's kind and errno, which the program words.
#include "comm/comm_error.h"
#include "comm/port_errors.h"
#include "text/app_lang.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

using HalvexComm32::EComm32Error;
using HalvexComm32::PortFailureOf;
using HalvexComm32::TPortFailureKind;
using HalvexComm32::TPortRefusal;

namespace {

struct LanguageGuard {
    explicit LanguageGuard(uint8_t type) { k3n::appLang().fSetLangType(type); }
    ~LanguageGuard() { k3n::appLang().fSetLangType(k3n::kLangEnglish); }
};

}   // namespace

TEST(CommErrors, NumberedMessagesInTheThreeLanguages)
{
    LanguageGuard english(k3n::kLangEnglish);
    const char* expected[] = {"Unknown error",
                              "Out of memory",
                              "Cannot initialize read buffer",
                              "Cannot initialize write buffer",
                              "Cannot open COM port",
                              "Cannot set comm-mask",
                              "Cannot set COM port buffer size",
                              "Cannot read COM port parameters",
                              "Cannot set COM port parameters",
                              "Cannot create COM port asynchronize read event",
                              "Cannot create COM port asynchronize write event",
                              "Cannot create COM port read thread",
                              "Cannot create COM port write thread",
                              "Cannot close COM port read thread",
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

TEST(CommErrors, ARefusedPortCarriesItsKindAndErrnoAndSaysTheSystemsText)
{
    LanguageGuard english(k3n::kLangEnglish);
    const struct {
        int err;
        TPortFailureKind kind;
    } rows[] = {{ENOENT, TPortFailureKind::NotPresent},      {ENODEV, TPortFailureKind::NotPresent},
                {ENXIO, TPortFailureKind::NotPresent},       {EACCES, TPortFailureKind::PermissionDenied},
                {EPERM, TPortFailureKind::PermissionDenied}, {EBUSY, TPortFailureKind::InUse},
                {EWOULDBLOCK, TPortFailureKind::InUse},      {EIO, TPortFailureKind::NoResponse},
                {ENOTTY, TPortFailureKind::NotSerial},       {EMFILE, TPortFailureKind::Other}};
    for (const auto& r : rows) {
        EXPECT_EQ(PortFailureOf(r.err).kind, r.kind) << r.err;
        EXPECT_EQ(PortFailureOf(r.err).err, r.err);
    }

    const EComm32Error e(4, TPortRefusal{"COM3 (/dev/ttyUSB0)", PortFailureOf(EBUSY), {}});
    const QString busy = QString::fromLocal8Bit(std::strerror(EBUSY));
    EXPECT_EQ(e.Message(), "Cannot open COM port: COM3 (/dev/ttyUSB0): " + busy);
    EXPECT_EQ(e.Detail(), "COM3 (/dev/ttyUSB0): " + busy);
    EXPECT_EQ(QString::fromUtf8(e.what()), e.Message());
    ASSERT_TRUE(e.Refusal().has_value());
    EXPECT_EQ(e.Refusal()->port, "COM3 (/dev/ttyUSB0)");
    EXPECT_EQ(e.Refusal()->failure.kind, TPortFailureKind::InUse);
    EXPECT_EQ(e.Refusal()->failure.err, EBUSY);
    EXPECT_FALSE(EComm32Error(8, "COM3: 1.5 stop bits need 5 data bits").Refusal().has_value());

    const EComm32Error settings(8, TPortRefusal{"COM3", PortFailureOf(EINVAL), "19200 baud 7E2"});
    EXPECT_EQ(settings.Detail(),
              "COM3: the port refused 19200 baud 7E2 (" + QString::fromLocal8Bit(std::strerror(EINVAL)) + ")");
}
