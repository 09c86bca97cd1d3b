// SPDX-License-Identifier: GPL-3.0-or-later
// The remembered cable over a fake /sys and /dev tree: what identifies a
// cable, finding it again under another COM number, and noticing it is gone.
#include "comm/fake_sysfs.h"
#include "comm/port_identity.h"

#include <gtest/gtest.h>

using HalvexComm32::CableLookup;
using HalvexComm32::FindRememberedCable;
using HalvexComm32::IdentityOfPort;
using HalvexComm32::TCommPortEntry;
using HalvexComm32::TCommSerialPortInfo;
using k3n::test::FakeSysfs;

namespace {

const QString kFtdiLink = "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";

void AddFtdiCable(FakeSysfs& fs, const QString& tty, const QString& usbPath, bool byIdLink = true)
{
    fs.AddUsbTty(tty, usbPath, "/" + QString(usbPath).section('/', -1) + ":1.0/" + tty,
                 {{"idVendor", "0403"},
                  {"idProduct", "6001"},
                  {"manufacturer", "FTDI"},
                  {"product", "FT232R USB UART"},
                  {"serial", "A50285BI"}});
    if (byIdLink)
        fs.AddByIdLink(kFtdiLink, tty);
}

void AddCh340Cable(FakeSysfs& fs, const QString& tty, const QString& usbPath)
{
    fs.AddUsbTty(tty, usbPath, "/" + QString(usbPath).section('/', -1) + ":1.0/" + tty,
                 {{"idVendor", "1a86"}, {"idProduct", "7523"}, {"product", "USB Serial"}});
}

}   // namespace

TEST(PortIdentity, UsbCablesCarryTheirSerialAndStableIdentity)
{
    FakeSysfs fs;
    AddFtdiCable(fs, "ttyUSB1", "pci0/usb1/1-2");
    AddCh340Cable(fs, "ttyUSB0", "pci0/usb1/1-1");
    fs.AddTty("ttyS0", "pnp0/00:04", "4");

    const TCommSerialPortInfo info(fs.Sys(), fs.Dev());
    const QList<TCommPortEntry> ports = info.Ports();
    ASSERT_EQ(ports.size(), 3);
    // No serial number and no by-id link: vendor and product alone.
    EXPECT_EQ(ports[0].serial, "");
    EXPECT_EQ(ports[0].identity, "1a86:7523:");
    EXPECT_EQ(ports[1].serial, "A50285BI");
    EXPECT_EQ(ports[1].identity, fs.Dev("serial/by-id/" + kFtdiLink));
    EXPECT_EQ(ports[1].usbIdentity, "0403:6001:A50285BI");
    EXPECT_EQ(ports[2].identity, "");   // a built-in port has none
    EXPECT_EQ(TCommSerialPortInfo::DisplayText(ports[1]),
              "COM2 \u2014 " + fs.Dev("ttyUSB1") + " (FTDI FT232R USB UART, serial A50285BI)");
    EXPECT_EQ(IdentityOfPort(2, ports), ports[1].identity);
    EXPECT_EQ(IdentityOfPort(3, ports), "");
    EXPECT_EQ(IdentityOfPort(7, ports), "");
}

TEST(PortIdentity, TheCableIsFoundAfterMovingFromCom1ToCom2)
{
    QString remembered;
    {
        FakeSysfs before;
        AddFtdiCable(before, "ttyUSB0", "pci0/usb1/1-2");
        const TCommSerialPortInfo info(before.Sys(), before.Dev());
        remembered = IdentityOfPort(1, info.Ports());
        ASSERT_FALSE(remembered.isEmpty());
        // Unchanged list: still COM1.
        const CableLookup same = FindRememberedCable(remembered, 1, info.Ports());
        EXPECT_EQ(same.where, CableLookup::Where::Present);
        EXPECT_EQ(same.port, 1);
    }
    // Replugged after another cable: the programming cable is now ttyUSB1, COM2.
    // The scratch folder differs, so the by-id path differs too; its
    // "vendor:product:serial" still finds it, as does the by-id link in place.
    FakeSysfs after;
    AddCh340Cable(after, "ttyUSB0", "pci0/usb1/1-1");
    AddFtdiCable(after, "ttyUSB1", "pci0/usb1/1-4");
    const TCommSerialPortInfo info(after.Sys(), after.Dev());
    const QString byId = after.Dev("serial/by-id/" + kFtdiLink);
    for (const QString& identity : {byId, QString("0403:6001:A50285BI")}) {
        const CableLookup moved = FindRememberedCable(identity, 1, info.Ports());
        EXPECT_EQ(moved.where, CableLookup::Where::Present) << qPrintable(identity);
        EXPECT_EQ(moved.port, 2) << qPrintable(identity);
    }
    EXPECT_EQ(FindRememberedCable(remembered, 1, info.Ports()).where, CableLookup::Where::Gone)
        << "a by-id link of another tree must not match";
}

TEST(PortIdentity, GoneCablesAndPortsWithoutIdentity)
{
    FakeSysfs fs;
    AddCh340Cable(fs, "ttyUSB0", "pci0/usb1/1-1");
    AddCh340Cable(fs, "ttyUSB1", "pci0/usb1/1-3");
    const TCommSerialPortInfo info(fs.Sys(), fs.Dev());

    const CableLookup gone = FindRememberedCable("0403:6001:A50285BI", 2, info.Ports());
    EXPECT_EQ(gone.where, CableLookup::Where::Gone);
    EXPECT_EQ(gone.port, 2);

    const CableLookup plain = FindRememberedCable("", 5, info.Ports());
    EXPECT_EQ(plain.where, CableLookup::Where::NotRemembered);
    EXPECT_EQ(plain.port, 5);

    // Two identical cables without serial numbers: the chosen number stays when it is one of them.
    EXPECT_EQ(FindRememberedCable("1a86:7523:", 2, info.Ports()).port, 2);
    EXPECT_EQ(FindRememberedCable("1a86:7523:", 7, info.Ports()).port, 1);
}
