#include "comm/port_list.h"

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
    QString name;  // ttyUSB0
    QString description;
    bool usb = false;
};

// USB cables first (ttyACM, then ttyUSB, then other USB), then built-in UARTs
// (ttyS, then ttyAMA), then anything else; by number inside each kind.
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

// Walks up from the tty's device folder to the USB device that carries it.
bool DescribeUsbParent(const QString& deviceDir, const QString& sysRoot, QString& description)
{
    const QString stop = QFileInfo(sysRoot).canonicalFilePath();
    QDir dir(deviceDir);
    while (!dir.path().isEmpty() && dir.path() != stop && !dir.isRoot()) {
        if (QFileInfo::exists(dir.filePath("idVendor")) && QFileInfo::exists(dir.filePath("idProduct"))) {
            const QString maker = ReadSysfsText(dir.filePath("manufacturer"));
            const QString product = ReadSysfsText(dir.filePath("product"));
            description = QStringList{maker, product}.join(' ').trimmed();
            if (description.isEmpty())
                description = QStringLiteral("USB %1:%2")
                                  .arg(ReadSysfsText(dir.filePath("idVendor")),
                                       ReadSysfsText(dir.filePath("idProduct")));
            return true;
        }
        if (!dir.cdUp())
            break;
    }
    return false;
}

} // namespace

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
            AppendPort(devRoot_ + QStringLiteral("/ttyS%1").arg(i), {});
    }
    std::lock_guard lock(ExtraPortsMutex());
    for (const ExtraPort& extra : ExtraPorts()) {
        const bool listed = std::any_of(ports_.cbegin(), ports_.cend(),
            [&](const TCommPortEntry& p) { return p.devicePath == extra.devicePath; });
        if (!listed)
            AppendPort(extra.devicePath, extra.description);
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
        FoundTty tty{name, {}, false};
        tty.usb = DescribeUsbParent(deviceLink.canonicalFilePath(), sysRoot_, tty.description);
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
    for (const FoundTty& tty : found)
        AppendPort(devRoot_ + '/' + tty.name, tty.description);
    fromSystem_ = true;
}

void TCommSerialPortInfo::AppendPort(const QString& devicePath, const QString& description)
{
    const QString name = PortName(ports_.size() + 1);
    ports_.append({name, devicePath, description});
    names_.append(name);
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
    if (!entry.description.isEmpty())
        text += QStringLiteral(" (") + entry.description + ')';
    return text;
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

} // namespace HalvexComm32
