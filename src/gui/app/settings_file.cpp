// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/settings_file.h"
#include "model/own_files.h"
#include "model/whole_file.h"
#include "text/own_texts.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <optional>
#include <vector>

namespace k3n {

namespace {
const QString kSection = QStringLiteral("config");
const QString kPortKey = QStringLiteral("Port");
const QString kLanguageKey = QStringLiteral("Language");
const QString kAutoSearchKey = QStringLiteral("AutoSeachPort");
// Beside the port number: which cable it was, to find it again after a replug.
const QString kPortIdKey = QStringLiteral("PortId");
const QString kBackupKey = QStringLiteral("BackupBeforeWrite");
const QString kVerifyKey = QStringLiteral("VerifyAfterWrite");
const QString kShowChangesKey = QStringLiteral("ShowChangesBeforeWrite");
const QString kChangedOnlyKey = QStringLiteral("WriteChangedOnly");

// The values of section "config" as INI readers see them: names without
// regard to case (keys are stored lower-cased), the first occurrence of a key counts.
using ConfigValues = QHash<QString, QString>;

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
        const QString key = line.left(eq).trimmed().toLower();
        if (!values.contains(key))
            values.insert(key, line.mid(eq + 1).trimmed());
    }
    return values;
}

// A value that is not a decimal integer is absent.
std::optional<int> IntegerValue(const ConfigValues& values, const QString& key)
{
    bool ok = false;
    const int value = values.value(key.toLower()).toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// Any integer but 0 is true.
std::optional<bool> BoolValue(const ConfigValues& values, const QString& key)
{
    const std::optional<int> value = IntegerValue(values, key);
    return value ? std::optional<bool>(*value != 0) : std::nullopt;
}

QString RecentFileKey(int index)
{
    return QStringLiteral("RecentFile%1").arg(index + 1);
}

// A key the program writes. Beyond the three first ones, a key is added to a
// file only when its value says something (a cable, a recent file, an option
// switched off), so the file of someone who never used them keeps three keys;
// one already in the file is always updated (emptied, if need be).
struct WrittenKey {
    QString name;
    QByteArray value;
    bool addWhenMissing = true;
};

QByteArray BoolText(bool value)
{
    return value ? "1" : "0";
}

std::vector<WrittenKey> KeysToWrite(const AppSettings& settings)
{
    const AppSettings defaults;
    std::vector<WrittenKey> keys = {
        {kPortKey, QByteArray::number(settings.Port)},
        {kLanguageKey, QByteArray::number(settings.Language)},
        {kAutoSearchKey, BoolText(settings.AutoSeachPort)},
        {kPortIdKey, settings.PortId.toUtf8(), !settings.PortId.isEmpty()},
        {kBackupKey, BoolText(settings.BackupBeforeWrite), settings.BackupBeforeWrite != defaults.BackupBeforeWrite},
        {kVerifyKey, BoolText(settings.VerifyAfterWrite), settings.VerifyAfterWrite != defaults.VerifyAfterWrite},
        {kShowChangesKey, BoolText(settings.ShowChangesBeforeWrite),
         settings.ShowChangesBeforeWrite != defaults.ShowChangesBeforeWrite},
        {kChangedOnlyKey, BoolText(settings.WriteChangedOnly), settings.WriteChangedOnly != defaults.WriteChangedOnly},
    };
    for (int i = 0; i < kRecentFileCount; ++i) {
        const QString file = settings.RecentFiles.value(i);
        keys.push_back({RecentFileKey(i), file.toUtf8(), !file.isEmpty()});
    }
    return keys;
}
}   // namespace

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
    // Anything but a regular file (a FIFO would never answer) reads as the defaults, without a word.
    if (QByteArray text; !ReadRegularFile(path, text))
        values = ParseConfigSection(text);
    settings.Port = IntegerValue(values, kPortKey).value_or(defaults.Port);
    settings.Language = IntegerValue(values, kLanguageKey).value_or(defaults.Language);
    settings.AutoSeachPort = BoolValue(values, kAutoSearchKey).value_or(defaults.AutoSeachPort);
    settings.BackupBeforeWrite = BoolValue(values, kBackupKey).value_or(defaults.BackupBeforeWrite);
    settings.VerifyAfterWrite = BoolValue(values, kVerifyKey).value_or(defaults.VerifyAfterWrite);
    settings.ShowChangesBeforeWrite = BoolValue(values, kShowChangesKey).value_or(defaults.ShowChangesBeforeWrite);
    settings.WriteChangedOnly = BoolValue(values, kChangedOnlyKey).value_or(defaults.WriteChangedOnly);
    settings.PortId = values.value(kPortIdKey.toLower());
    settings.Port = CheckedPort(settings.Port, portNames);
    settings.RecentFiles.clear();
    for (int i = 0; i < kRecentFileCount; ++i) {
        const QString file = values.value(RecentFileKey(i).toLower());
        if (!file.isEmpty())
            settings.RecentFiles << file;
    }
}

QByteArray UpdatedSettingsText(const QByteArray& oldText, const AppSettings& settings)
{
    const std::vector<WrittenKey> wanted = KeysToWrite(settings);
    std::vector<bool> written(wanted.size(), false);
    QList<QByteArray> lines = oldText.isEmpty() ? QList<QByteArray>{} : oldText.split('\n');
    const bool endsWithNewline = oldText.endsWith('\n');
    if (endsWithNewline)
        lines.removeLast();
    const bool crlf = !lines.isEmpty() && lines.constFirst().endsWith('\r');
    const QByteArray eol = crlf ? "\r\n" : "\n";

    auto keyLine = [](const WrittenKey& key) { return key.name.toUtf8() + '=' + key.value; };
    // Keys the section lacks go after its last line; a file without the section gets it at its end.
    auto missingLines = [&] {
        QList<QByteArray> added;
        for (std::size_t i = 0; i < wanted.size(); ++i)
            if (!written[i]) {
                if (wanted[i].addWhenMissing)
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
            for (std::size_t i = 0; i < wanted.size(); ++i) {
                if (written[i] || key.compare(wanted[i].name, Qt::CaseInsensitive) != 0)
                    continue;
                // The key keeps its spelling and spacing; only the value changes.
                int valueStart = eq + 1;
                while (valueStart < line.size() && (line[valueStart] == ' ' || line[valueStart] == '\t'))
                    ++valueStart;
                const bool cr = line.endsWith('\r');
                line = line.left(valueStart) + wanted[i].value + (cr ? "\r" : "");
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

std::optional<Error> SaveSettings(const AppSettings& settings, const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    // What a user or a later version added to the file is kept: only our keys change.
    QByteArray oldText;
    std::optional<FileError> failure;
    // Rewriting a file we cannot read would lose it; one that is no regular file is not ours to replace.
    if (QFileInfo(path).exists())
        failure = ReadRegularFile(path, oldText);
    // Written whole or not at all, so a full disk never leaves a damaged file.
    if (!failure)
        failure = WriteFileWhole(path, UpdatedSettingsText(oldText, settings));
    if (failure)
        return Error{Text(OwnText::CannotSaveFile).arg(path, failure->message())};
    return std::nullopt;
}

}   // namespace k3n
