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
const QString kBackupKey = QStringLiteral("BackupBeforeWrite");
const QString kVerifyKey = QStringLiteral("VerifyAfterWrite");

// The integer values of section "config", as INI readers see them: names
// without regard to case, the first occurrence of a key counts, a value that
// is not a decimal integer is absent.
struct ConfigValues {
    std::optional<int> port, language, autoSearch, backup, verify;
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
        else if (key.compare(kBackupKey, Qt::CaseInsensitive) == 0)
            slot = &values.backup;
        else if (key.compare(kVerifyKey, Qt::CaseInsensitive) == 0)
            slot = &values.verify;
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
    settings.BackupBeforeWrite = values.backup ? *values.backup != 0 : defaults.BackupBeforeWrite;
    settings.VerifyAfterWrite = values.verify ? *values.verify != 0 : defaults.VerifyAfterWrite;
    settings.Port = CheckedPort(settings.Port, portNames);
}

QByteArray UpdatedSettingsText(const QByteArray& oldText, const AppSettings& settings)
{
    const AppSettings defaults;
    const std::pair<QString, int> wanted[] = {
        {kPortKey, settings.Port},
        {kLanguageKey, settings.Language},
        {kAutoSearchKey, settings.AutoSeachPort ? 1 : 0},
        {kBackupKey, settings.BackupBeforeWrite ? 1 : 0},
        {kVerifyKey, settings.VerifyAfterWrite ? 1 : 0},
    };
    // The write options are added only once switched off, so a file of
    // someone who never touched them keeps its three keys.
    const bool addWhenMissing[std::size(wanted)] = {true, true, true,
                                                    settings.BackupBeforeWrite != defaults.BackupBeforeWrite,
                                                    settings.VerifyAfterWrite != defaults.VerifyAfterWrite};
    bool written[std::size(wanted)] = {};
    QList<QByteArray> lines = oldText.isEmpty() ? QList<QByteArray>{} : oldText.split('\n');
    const bool endsWithNewline = oldText.endsWith('\n');
    if (endsWithNewline)
        lines.removeLast();
    const bool crlf = !lines.isEmpty() && lines.constFirst().endsWith('\r');
    const QByteArray eol = crlf ? "\r\n" : "\n";

    auto keyLine = [](const std::pair<QString, int>& kv) { return QStringLiteral("%1=%2").arg(kv.first).arg(kv.second).toUtf8(); };
    // Keys the section lacks go after its last line; a file without the section gets it at its end.
    auto missingLines = [&] {
        QList<QByteArray> added;
        for (std::size_t i = 0; i < std::size(wanted); ++i)
            if (!written[i] && addWhenMissing[i]) {
                added << keyLine(wanted[i]);
                written[i] = true;
            }
        return added;
    };

    QList<QByteArray> out;
    bool inSection = false, sawSection = false;
    int sectionEnd = -1;   // index in out after the section's last key or header
    for (QByteArray line : lines) {
        const QString text = QString::fromUtf8(line).trimmed();
        if (text.startsWith('[')) {
            const int close = text.indexOf(']');
            inSection = close > 0 && text.mid(1, close - 1).trimmed().compare(kSection, Qt::CaseInsensitive) == 0;
            sawSection = sawSection || inSection;
            out << line;
            if (inSection)
                sectionEnd = int(out.size());
            continue;
        }
        const int eq = line.indexOf('=');
        if (inSection && eq > 0 && !text.startsWith(';')) {
            const QString key = QString::fromUtf8(line.left(eq)).trimmed();
            for (std::size_t i = 0; i < std::size(wanted); ++i) {
                if (written[i] || key.compare(wanted[i].first, Qt::CaseInsensitive) != 0)
                    continue;
                // The key keeps its spelling and spacing; only the value changes.
                int valueStart = eq + 1;
                while (valueStart < line.size() && (line[valueStart] == ' ' || line[valueStart] == '\t'))
                    ++valueStart;
                const bool cr = line.endsWith('\r');
                line = line.left(valueStart) + QByteArray::number(wanted[i].second) + (cr ? "\r" : "");
                written[i] = true;
            }
        }
        out << line;
        if (inSection && !text.isEmpty())
            sectionEnd = int(out.size());
    }
    if (sawSection) {
        const QList<QByteArray> added = missingLines();
        for (int i = 0; i < added.size(); ++i)
            out.insert(sectionEnd + i, added[i] + (crlf ? "\r" : ""));
    } else {
        if (!out.isEmpty() && !QString::fromUtf8(out.constLast()).trimmed().isEmpty())
            out << (crlf ? QByteArray("\r") : QByteArray());
        out << (QStringLiteral("[%1]").arg(kSection).toUtf8() + (crlf ? "\r" : ""));
        for (const QByteArray& l : missingLines())
            out << l + (crlf ? "\r" : "");
    }
    QByteArray result;
    for (const QByteArray& l : out)
        result += (l.endsWith('\r') ? l.chopped(1) : l) + eol;
    return result;
}

bool SaveSettings(const AppSettings& settings, const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    // What a user or a later version added to the file is kept: only our three keys change.
    QByteArray oldText;
    QFile old(path);
    if (old.exists()) {
        if (!old.open(QIODevice::ReadOnly))
            return false;   // rewriting a file we cannot read would lose it
        oldText = old.readAll();
        old.close();
    }
    // Replaced in one step, so a failure half-way never leaves a damaged file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(UpdatedSettingsText(oldText, settings));
    return file.commit();
}

} // namespace k3n
