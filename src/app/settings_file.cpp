#include "app/settings_file.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>

namespace k3n {

namespace {
const QString kSection = QStringLiteral("config");
const QString kPortKey = QStringLiteral("Port");
const QString kLanguageKey = QStringLiteral("Language");
const QString kAutoSearchKey = QStringLiteral("AutoSeachPort");

// The integer values of section "config", as INI readers see them: names
// without regard to case, the first occurrence of a key counts, a value that
// is not a decimal integer is absent.
struct ConfigValues {
    std::optional<int> port, language, autoSearch;
};

ConfigValues ParseConfigSection(const QByteArray& text)
{
    ConfigValues values;
    bool inSection = false;
    for (const QByteArray& rawLine : text.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith(';'))
            continue;
        if (line.startsWith('[')) {
            const int close = line.indexOf(']');
            inSection = close > 0 && line.mid(1, close - 1).trimmed().compare(kSection, Qt::CaseInsensitive) == 0;
            continue;
        }
        const int eq = line.indexOf('=');
        if (!inSection || eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        bool ok = false;
        const int value = line.mid(eq + 1).trimmed().toInt(&ok);
        std::optional<int>* slot = nullptr;
        if (key.compare(kPortKey, Qt::CaseInsensitive) == 0)
            slot = &values.port;
        else if (key.compare(kLanguageKey, Qt::CaseInsensitive) == 0)
            slot = &values.language;
        else if (key.compare(kAutoSearchKey, Qt::CaseInsensitive) == 0)
            slot = &values.autoSearch;
        if (slot && !slot->has_value() && ok)
            *slot = value;
    }
    return values;
}
} // namespace

QString SettingsFilePath()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    // A relative XDG_CONFIG_HOME is invalid and must be ignored.
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/K3N/config.ini");
}

int PortNumberOfName(const QString& portName)
{
    if (portName.size() < 4 || !portName.at(3).isDigit())
        return 0;
    return portName.at(3).digitValue();
}

bool PortIsPresent(int port, const QStringList& portNames)
{
    if (port < 1 || port > kLastChoosablePort)
        return false;
    for (const QString& name : portNames)
        if (PortNumberOfName(name) == port)
            return true;
    return false;
}

int CheckedPort(int port, const QStringList& portNames)
{
    return PortIsPresent(port, portNames) ? port : 1;
}

void LoadOrCreateSettings(AppSettings& settings, const QStringList& portNames, const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!QFileInfo::exists(path)) {
        SaveSettings(settings, path);
        return;
    }
    const AppSettings defaults;
    ConfigValues values;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        values = ParseConfigSection(file.readAll());
    settings.Port = values.port.value_or(defaults.Port);
    settings.Language = values.language.value_or(defaults.Language);
    settings.AutoSeachPort = values.autoSearch ? *values.autoSearch != 0 : defaults.AutoSeachPort;
    settings.Port = CheckedPort(settings.Port, portNames);
}

bool SaveSettings(const AppSettings& settings, const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray text = QStringLiteral("[%1]\n%2=%3\n%4=%5\n%6=%7\n")
                                .arg(kSection)
                                .arg(kPortKey).arg(settings.Port)
                                .arg(kLanguageKey).arg(settings.Language)
                                .arg(kAutoSearchKey).arg(settings.AutoSeachPort ? 1 : 0)
                                .toUtf8();
    // Replaced in one step, so a failure half-way never leaves a damaged file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text);
    return file.commit();
}

} // namespace k3n
