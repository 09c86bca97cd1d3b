// SPDX-License-Identifier: GPL-3.0-or-later
#include "comm/port_list.h"

#include "text/own_texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <mutex>

namespace HalvexComm32 {

namespace {

struct ExtraPort {
    QString description;
    QString devicePath;
};

std::mutex& ExtraPortsMutex()
{
    static std::mutex m;
    return m;
}

QList<ExtraPort>& ExtraPorts()
{
    static QList<ExtraPort> list;
    return list;
}

QString ReadSysfsText(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).trimmed();
}

struct FoundTty {
    QString name;   // ttyUSB0
    QString description;
    QString serial;
    QString usbIdentity;
    bool usb = false;
};

int KindRank(const FoundTty& t)
{
    static const QStringList usbKinds = {"ttyACM", "ttyUSB"};
    static const QStringList uartKinds = {"ttyS", "ttyAMA"};
    const QString prefix = t.name.section(QRegularExpression("\\d+$"), 0, 0);
    if (t.usb) {
        const int i = usbKinds.indexOf(prefix);
        return i >= 0 ? i : 2;
    }
    const int i = uartKinds.indexOf(prefix);
    return i >= 0 ? 3 + i : 5;
}

int TrailingNumber(const QString& name)
{
    const auto m = QRegularExpression("(\\d+)$").match(name);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// Walks up from the tty's device folder to the USB device that carries it and
// takes its maker, product, ids and serial number.
bool DescribeUsbParent(const QString& deviceDir, const QString& sysRoot, FoundTty& tty)
{
    const QString stop = QFileInfo(sysRoot).canonicalFilePath();
    QDir dir(deviceDir);
    while (!dir.path().isEmpty() && dir.path() != stop && !dir.isRoot()) {
        if (QFileInfo::exists(dir.filePath("idVendor")) && QFileInfo::exists(dir.filePath("idProduct"))) {
            const QString vendor = ReadSysfsText(dir.filePath("idVendor"));
            const QString product = ReadSysfsText(dir.filePath("idProduct"));
            tty.serial = ReadSysfsText(dir.filePath("serial"));
            tty.usbIdentity = QStringList{vendor, product, tty.serial}.join(':');
            tty.description =
                QStringList{ReadSysfsText(dir.filePath("manufacturer")), ReadSysfsText(dir.filePath("product"))}
                    .join(' ')
                    .trimmed();
            if (tty.description.isEmpty())
                tty.description = QStringLiteral("USB %1:%2").arg(vendor, product);
            return true;
        }
        if (!dir.cdUp())
            break;
    }
    return false;
}

}   // namespace

TCommSerialPortInfo::TCommSerialPortInfo() : TCommSerialPortInfo("/sys", "/dev") {}

TCommSerialPortInfo::TCommSerialPortInfo(const QString& sysRoot, const QString& devRoot)
    : sysRoot_(QDir::cleanPath(sysRoot)), devRoot_(QDir::cleanPath(devRoot))
{
    Refresh();
}

TCommSerialPortInfo::~TCommSerialPortInfo() = default;

void TCommSerialPortInfo::Refresh()
{
    ports_.clear();
    names_.clear();
    fromSystem_ = false;
    ListFromSystem();
    if (ports_.isEmpty()) {
        fromSystem_ = false;
        for (int i = 0; i < 4; ++i)
            AppendPort({{}, devRoot_ + QStringLiteral("/ttyS%1").arg(i), {}, {}, {}, {}});
    }
    std::lock_guard lock(ExtraPortsMutex());
    for (const ExtraPort& extra : ExtraPorts()) {
        const bool listed = std::any_of(ports_.cbegin(), ports_.cend(),
                                        [&](const TCommPortEntry& p) { return p.devicePath == extra.devicePath; });
        if (!listed)
            AppendPort({{}, extra.devicePath, extra.description, {}, {}, {}});
    }
}

void TCommSerialPortInfo::ListFromSystem()
{
    const QDir classTty(sysRoot_ + QStringLiteral("/class/tty"));
    QList<FoundTty> found;
    const QStringList entries = classTty.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System);
    for (const QString& name : entries) {
        const QString base = classTty.filePath(name);
        // Virtual consoles, pts and ptmx have no device link.
        const QFileInfo deviceLink(base + QStringLiteral("/device"));
        if (!deviceLink.exists())
            continue;
        // Type 0 is PORT_UNKNOWN: the placeholder ttyS ports most PCs show.
        const QString typePath = base + QStringLiteral("/type");
        if (QFileInfo::exists(typePath) && ReadSysfsText(typePath) == QLatin1String("0"))
            continue;
        if (!QFileInfo::exists(devRoot_ + '/' + name))
            continue;
        FoundTty tty{name, {}, {}, {}, false};
        tty.usb = DescribeUsbParent(deviceLink.canonicalFilePath(), sysRoot_, tty);
        found.append(tty);
    }
    std::sort(found.begin(), found.end(), [](const FoundTty& a, const FoundTty& b) {
        const int ra = KindRank(a), rb = KindRank(b);
        if (ra != rb)
            return ra < rb;
        const int na = TrailingNumber(a.name), nb = TrailingNumber(b.name);
        if (na != nb)
            return na < nb;
        return a.name < b.name;
    });
    for (const FoundTty& tty : found) {
        const QString devicePath = devRoot_ + '/' + tty.name;
        QString identity;
        if (tty.usb) {
            identity = ByIdLinkOf(devicePath);
            if (identity.isEmpty())
                identity = tty.usbIdentity;
        }
        AppendPort({{}, devicePath, tty.description, tty.serial, identity, tty.usbIdentity});
    }
    fromSystem_ = true;
}

void TCommSerialPortInfo::AppendPort(TCommPortEntry entry)
{
    entry.name = PortName(ports_.size() + 1);
    names_.append(entry.name);
    ports_.append(std::move(entry));
}

// The /dev/serial/by-id/ link that leads to the device; empty without one.
QString TCommSerialPortInfo::ByIdLinkOf(const QString& devicePath) const
{
    const QDir byId(devRoot_ + QStringLiteral("/serial/by-id"));
    const QString target = QFileInfo(devicePath).canonicalFilePath();
    if (target.isEmpty())
        return {};
    const QStringList links = byId.entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& link : links)
        if (QFileInfo(byId.filePath(link)).canonicalFilePath() == target)
            return byId.filePath(link);
    return {};
}

QString TCommSerialPortInfo::DevicePathOf(const QString& portName) const
{
    const int n = PortNo(portName);
    if (n <= 0)
        return {};
    for (const TCommPortEntry& p : ports_)
        if (PortNo(p.name) == n)
            return p.devicePath;
    return {};
}

QString TCommSerialPortInfo::DisplayText(const TCommPortEntry& entry)
{
    QString text = entry.name + QStringLiteral(" \u2014 ") + entry.devicePath;
    const QString details = Details(entry);
    if (!details.isEmpty())
        text += QStringLiteral(" (") + details + ')';
    return text;
}

QString TCommSerialPortInfo::Details(const TCommPortEntry& entry)
{
    QStringList details;
    if (!entry.description.isEmpty())
        details << entry.description;
    if (!entry.serial.isEmpty())
        details << k3n::Text(k3n::OwnText::PortSerialNumber).arg(entry.serial);
    return details.join(QStringLiteral(", "));
}

int TCommSerialPortInfo::PortNo(const QString& name)
{
    if (name.left(3).toUpper() != QLatin1String("COM"))
        return 0;
    int n = 0;
    for (qsizetype i = 3; i < name.size() && name[i].isDigit() && name[i].unicode() < 128; ++i) {
        n = n * 10 + (name[i].unicode() - '0');
        if (n > 1000000)
            return 0;
    }
    return n > 0 ? n : 0;
}

QString TCommSerialPortInfo::PortName(int n)
{
    return QStringLiteral("COM%1").arg(n);
}

void TCommSerialPortInfo::AddExtraPort(const QString& description, const QString& devicePath)
{
    std::lock_guard lock(ExtraPortsMutex());
    for (ExtraPort& p : ExtraPorts())
        if (p.devicePath == devicePath) {
            p.description = description;
            return;
        }
    ExtraPorts().append({description, devicePath});
}

void TCommSerialPortInfo::RemoveExtraPort(const QString& devicePath)
{
    std::lock_guard lock(ExtraPortsMutex());
    ExtraPorts().removeIf([&](const ExtraPort& p) { return p.devicePath == devicePath; });
}

}   // namespace HalvexComm32
