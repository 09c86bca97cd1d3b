// SPDX-License-Identifier: GPL-3.0-or-later
// A typed port name: COMn of the list or an absolute device path, nothing else.
#include "comm/fake_sysfs.h"
#include "comm/port_list.h"
#include "programming/port_name.h"
#include "text/app_lang.h"
#include <gtest/gtest.h>

namespace k3n {
namespace {

using HalvexComm32::TCommSerialPortInfo;

TEST(PortName, ComNamesOfTheListAndAbsolutePathsAreReadAndNothingElse)
{
    test::FakeSysfs fs;
    fs.AddUsbTty("ttyUSB0", "pci0/usb1/1-2", "/1-2:1.0/ttyUSB0", {{"idVendor", "0403"}, {"idProduct", "6001"}});
    const TCommSerialPortInfo ports(fs.Sys(), fs.Dev());
    ASSERT_EQ(ports.PortList(), QStringList{"COM1"});

    struct Case {
        const char* typed;
        const char* port;   // nullptr: refused
        PortNameError::Kind kind = PortNameError::Kind::Missing;
    };
    using K = PortNameError::Kind;
    const Case cases[] = {
        {" com1 ", "COM1"},
        {"COM01", "COM1"},
        {"/dev/rfcomm0", "/dev/rfcomm0"},   // not listed, not even there yet: its write says so
        {"/tmp/k3n-link/../k3n-link/radio", "/tmp/k3n-link/radio"},
        {"COM7", nullptr, K::NotOnThisComputer},
        {"ttyUSB0", nullptr, K::NotAPortName},
        {"dev/ttyUSB0", nullptr, K::NotAPortName},
        {"auto", nullptr, K::NotAPortName},
        {"COM0", nullptr, K::NotAPortName},
        {"   ", nullptr, K::Missing},
    };
    for (const Case& c : cases) {
        const ReadPort read = ReadPortName(QString::fromLatin1(c.typed), ports);
        if (c.port) {
            EXPECT_EQ(read.port, QString::fromLatin1(c.port)) << c.typed;
            EXPECT_FALSE(read.error) << c.typed;
        } else {
            ASSERT_TRUE(read.error) << c.typed;
            EXPECT_EQ(read.error->kind, c.kind) << c.typed;
        }
    }
    // The command line's words.
    EXPECT_EQ(ReadPortName("ttyUSB0", ports).error->message(),
              "not a port name: use auto, COMn or an absolute device path such as /dev/ttyUSB0");
    EXPECT_EQ(ReadPortName("com7", ports).error->message(),
              "there is no port COM7 on this computer ('k3n ports' lists them)");
}

TEST(PortName, TheCommandLineTakesAutoComNumbersAndAbsolutePathsOnly)
{
    ApplyLanguageSetting(0);
    for (const char* name : {"auto", "AUTO", "COM1", "com12", "/dev/ttyUSB0", "/tmp/k3n-link"})
        EXPECT_FALSE(CheckPortName(QString::fromLatin1(name))) << name;
    for (const char* name : {"ttyUSB0", "./ttyUSB0", "dev/ttyUSB0", "COM", "COMx", "automatic", ""}) {
        const auto error = CheckPortName(QString::fromLatin1(name));
        ASSERT_TRUE(error) << name;
        EXPECT_EQ(error->message, "not a port name: use auto, COMn or an absolute device path such as /dev/ttyUSB0");
    }
    EXPECT_TRUE(IsAutoPortName("Auto"));
    EXPECT_FALSE(IsAutoPortName("COM1"));
}

}   // namespace
}   // namespace k3n
