// SPDX-License-Identifier: GPL-3.0-or-later
#include "programming/port_name.h"
#include "text/app_lang.h"
#include <gtest/gtest.h>

using namespace k3n;

TEST(PortName, AutoComNumbersAndAbsolutePathsOnly)
{
    ApplyLanguageSetting(0);
    for (const char* name : {"auto", "AUTO", "COM1", "com12", "/dev/ttyUSB0", "/tmp/k3n-link"})
        EXPECT_FALSE(PortNameError(QString::fromLatin1(name))) << name;
    for (const char* name : {"ttyUSB0", "./ttyUSB0", "dev/ttyUSB0", "COM", "COMx", "automatic", ""}) {
        const auto error = PortNameError(QString::fromLatin1(name));
        ASSERT_TRUE(error) << name;
        EXPECT_EQ(error->message, "not a port name: use auto, COMn or an absolute device path such as /dev/ttyUSB0");
    }
    EXPECT_TRUE(IsAutoPortName("Auto"));
    EXPECT_FALSE(IsAutoPortName("COM1"));
}
