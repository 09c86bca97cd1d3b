// SPDX-License-Identifier: GPL-3.0-or-later
// The port list read from a fake sysfs tree: which ttys count as ports, their
// COM names in order, the USB maker and product, the fallback list and the
// devices the program adds itself.
#include "comm/comm_test_support.h"
#include "comm/fake_sysfs.h"
#include "comm/port_list.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using HalvexComm32::TCommPortEntry;
using HalvexComm32::TCommSerialPortInfo;

using k3n::test::FakeSysfs;

namespace {

QStringList Describe(const TCommSerialPortInfo& info)
{
    QStringList out;
    for (const TCommPortEntry& p : info.Ports())
        out << TCommSerialPortInfo::DisplayText(p);
    return out;
}

}   // namespace

TEST(PortList, ListsRealPortsUsbFirstThenUartsByNumber)
{
    FakeSysfs fs;
    fs.AddTty("ttyS10", "pnp0/00:05", "4");
    fs.AddTty("ttyS0", "pnp0/00:04", "4");
    fs.AddTty("ttyS1", "platform/serial8250/tty/ttyS1", "0");   // placeholder: no UART behind it
    fs.AddTty("ttyS4", "platform/serial8250/tty/ttyS4", "4", false);   // no /dev node
    fs.AddTty("ttyAMA0", "platform/uart0", "1");
    fs.AddUsbTty(
        "ttyUSB0", "pci0/usb1/1-2", "/1-2:1.0/ttyUSB0",
        {{"idVendor", "0403"}, {"idProduct", "6001"}, {"manufacturer", "FTDI"}, {"product", "FT232R USB UART"}});
    fs.AddUsbTty("ttyUSB1", "pci0/usb1/1-1", "/1-1:1.0/ttyUSB1", {{"idVendor", "067b"}, {"idProduct", "2303"}});
    fs.AddUsbTty("ttyACM0", "pci0/usb1/1-3", "/1-3:1.0",
                 {{"idVendor", "2341"}, {"idProduct", "0043"}, {"manufacturer", "Arduino"}, {"product", "Uno"}});
    QDir().mkpath(fs.Sys("class/tty/tty0"));   // a virtual console: no device link
    fs.Write(fs.Dev("tty0"), "");

    const TCommSerialPortInfo info(fs.Sys(), fs.Dev());
    EXPECT_TRUE(info.FromSystem());
    EXPECT_EQ(Describe(info),
              QStringList({
                  "COM1 \u2014 " + fs.Dev("ttyACM0") + " (Arduino Uno)",
                  "COM2 \u2014 " + fs.Dev("ttyUSB0") + " (FTDI FT232R USB UART)",
                  "COM3 \u2014 " + fs.Dev("ttyUSB1") + " (USB 067b:2303)",
                  "COM4 \u2014 " + fs.Dev("ttyS0"),
                  "COM5 \u2014 " + fs.Dev("ttyS10"),
                  "COM6 \u2014 " + fs.Dev("ttyAMA0"),
              }));
    EXPECT_EQ(info.DevicePathOf("com2"), fs.Dev("ttyUSB0"));
    EXPECT_EQ(info.DevicePathOf("COM7"), QString());
    EXPECT_EQ(info.DevicePathOf("/dev/ttyS0"), QString());
}

TEST(PortList, WithoutPortsTheFallbackIsCom1ToCom4)
{
    FakeSysfs fs;
    fs.AddTty("ttyS0", "platform/serial8250/tty/ttyS0", "0");
    const TCommSerialPortInfo info(fs.Sys(), fs.Dev());
    EXPECT_FALSE(info.FromSystem());
    EXPECT_EQ(info.PortList(), QStringList({"COM1", "COM2", "COM3", "COM4"}));
    EXPECT_EQ(info.DevicePathOf("COM4"), fs.Dev("ttyS3"));

    const TCommSerialPortInfo missingRoot(fs.Sys("nowhere"), fs.Dev());
    EXPECT_EQ(missingRoot.PortList().size(), 4);
    EXPECT_FALSE(missingRoot.FromSystem());
}

TEST(PortList, AddedDevicesFollowThePortsOfTheSystem)
{
    FakeSysfs fs;
    fs.AddTty("ttyS0", "pnp0/00:04", "4");
    TCommSerialPortInfo::AddExtraPort("virtual radio", "/dev/pts/77");
    TCommSerialPortInfo::AddExtraPort("virtual radio (K3N)", "/dev/pts/77");   // same device: relabelled
    TCommSerialPortInfo::AddExtraPort("second", fs.Dev("ttyS0"));   // already listed: not twice

    TCommSerialPortInfo info(fs.Sys(), fs.Dev());
    EXPECT_TRUE(info.FromSystem());
    EXPECT_EQ(Describe(info),
              QStringList({"COM1 \u2014 " + fs.Dev("ttyS0"), "COM2 \u2014 /dev/pts/77 (virtual radio (K3N))"}));
    EXPECT_EQ(info.DevicePathOf("COM2"), "/dev/pts/77");

    const TCommSerialPortInfo fallback(fs.Sys("nowhere"), fs.Dev());
    EXPECT_EQ(fallback.PortList(), QStringList({"COM1", "COM2", "COM3", "COM4", "COM5"}));
    EXPECT_FALSE(fallback.FromSystem());

    TCommSerialPortInfo::RemoveExtraPort("/dev/pts/77");
    TCommSerialPortInfo::RemoveExtraPort(fs.Dev("ttyS0"));
    info.Refresh();
    EXPECT_EQ(info.PortList(), QStringList({"COM1"}));
}

TEST(PortList, PortNumbersFromNames)
{
    const struct {
        const char* name;
        int number;
    } rows[] = {{"COM1", 1}, {"com7", 7}, {"Com12", 12}, {"COM12abc", 12}, {"COM", 0},        {"COM0", 0},
                {"COMx", 0}, {"LPT1", 0}, {"", 0},       {"CO", 0},        {"/dev/ttyS0", 0}, {"COM-3", 0}};
    for (const auto& r : rows)
        EXPECT_EQ(TCommSerialPortInfo::PortNo(r.name), r.number) << r.name;
    EXPECT_EQ(TCommSerialPortInfo::PortName(3), "COM3");
    EXPECT_EQ(TCommSerialPortInfo::PortNo(TCommSerialPortInfo::PortName(42)), 42);
}
