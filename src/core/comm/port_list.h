// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The serial ports of this computer, named "COM1", "COM2", ... in a stable
// order: USB cables first, then built-in UARTs, then devices added by the
// program itself (the virtual radio). Read from sysfs; the roots can point at
// a fake tree.
#include <QList>
#include <QString>
#include <QStringList>

namespace HalvexComm32 {

struct TCommPortEntry {
    QString name;   // "COM1"
    QString devicePath;   // "/dev/ttyUSB0"
    QString description;   // USB maker and product, or the label of an added device; may be empty
    QString serial = {};   // the USB cable's serial number; may be empty
    // What finds the same cable after replugging: its /dev/serial/by-id/ link,
    // or "vendor:product:serial" without one; empty for built-in ports.
    QString identity = {};
    QString usbIdentity = {};   // "vendor:product:serial" (serial may be empty); empty for built-in ports
};

class TCommSerialPortInfo {
public:
    TCommSerialPortInfo();   // this computer: /sys and /dev
    TCommSerialPortInfo(const QString& sysRoot, const QString& devRoot);
    virtual ~TCommSerialPortInfo();

    // Lists the ports again; when the system has none, the list is COM1..COM4
    // (/dev/ttyS0../dev/ttyS3) and FromSystem() is false.
    void Refresh();

    // By value (shared, cheap): safe on a temporary list.
    QStringList PortList() const { return names_; }
    QList<TCommPortEntry> Ports() const { return ports_; }
    bool FromSystem() const { return fromSystem_; }

    // The device path of a port name such as "COM3" (any case); empty when absent.
    QString DevicePathOf(const QString& portName) const;
    // "COM1 — /dev/ttyUSB0 (FTDI FT232R USB UART, serial A50285BI)" for the port dialog.
    static QString DisplayText(const TCommPortEntry& entry);
    // "FTDI FT232R USB UART, serial A50285BI": the description and the serial number.
    static QString Details(const TCommPortEntry& entry);

    // "COM12" and "com12" give 12; any other name, "COM", "COM0" and "COMx" give 0.
    static int PortNo(const QString& name);
    static QString PortName(int n);

    // A device that sysfs does not show (a pseudo-terminal), listed after the
    // ports of the system under the next free COM number.
    static void AddExtraPort(const QString& description, const QString& devicePath);
    static void RemoveExtraPort(const QString& devicePath);

protected:
    virtual void ListFromSystem();

private:
    void AppendPort(TCommPortEntry entry);
    QString ByIdLinkOf(const QString& devicePath) const;

    QString sysRoot_;
    QString devRoot_;
    QList<TCommPortEntry> ports_;
    QStringList names_;
    bool fromSystem_ = false;
};

}   // namespace HalvexComm32
