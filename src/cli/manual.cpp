// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/manual.h"
#include "cli/command.h"
#include "cli/language_option.h"
#include <QMap>

namespace k3n::cli {

namespace {

// Text as roff reads it: backslashes and minus signs escaped, no line starting
// a request, and plain ASCII where the help has typographic characters.
QString Roff(QString text)
{
    text.replace('\\', QStringLiteral("\\e")).replace('-', QStringLiteral("\\-"));
    text.replace(QChar(0x2026), QStringLiteral("..."));
    QStringList lines = text.split('\n');
    for (QString& line : lines)
        if (line.startsWith('.') || line.startsWith('\''))
            line.prepend(QStringLiteral("\\&"));
    return lines.join('\n');
}

QString CommandSection(const Command& command)
{
    QString text =
        QStringLiteral(".SS \"%1\"\n").arg(Roff(UsageLine(command).mid(4)).replace('"', QStringLiteral("\\(dq")));
    text += Roff(QString::fromUtf8(command.summary)) + '\n';
    for (const Option& option : command.options)
        text += QStringLiteral(".TP\n.B \"%1\"\n%2\n")
                    .arg(Roff(OptionNames(option)).replace('"', QStringLiteral("\\(dq")),
                         Roff(QString::fromUtf8(option.help)));
    if (*command.notes)
        text += QStringLiteral(".PP\n") + Roff(QString::fromUtf8(command.notes)) + '\n';
    return text;
}

struct Entry {
    const char* name;
    const char* text;
};

constexpr Entry kEnvironment[] = {
    {"XDG_DATA_HOME",
     "Where the backups and the programming log are kept (K3N below it); ~/.local/share when it is unset or not "
     "an absolute path."},
    {"XDG_CONFIG_HOME",
     "Where k3n-cps keeps its settings (K3N/config.ini below it); ~/.config when it is unset or not an absolute "
     "path. k3n does not read them."},
    {"HOME", "The base of both when they are not set."},
};

constexpr Entry kFiles[] = {
    {"$XDG_DATA_HOME/K3N/backups/",
     "The radio read before each write, one file per write (k3n backups lists them, k3n restore writes one back)."},
    {"$XDG_DATA_HOME/K3N/programming-log.csv",
     "One line for every write attempt, from k3n and k3n-cps alike (k3n log prints it)."},
    {"$XDG_DATA_HOME/K3N/autosave.fse",
     "The copy k3n-cps keeps of a configuration that differs from its file, offered back after a crash."},
    {"$XDG_CONFIG_HOME/K3N/config.ini", "The settings of k3n-cps: port, language and the automatic port search."},
};

QString EntryList(std::span<const Entry> entries, const char* font)
{
    QString text;
    for (const Entry& entry : entries)
        text +=
            QStringLiteral(".TP\n.%1 %2\n%3\n")
                .arg(QLatin1String(font), Roff(QString::fromLatin1(entry.name)), Roff(QString::fromLatin1(entry.text)));
    return text;
}

QString Alternatives(const QStringList& patterns)
{
    QStringList quoted;
    for (const QString& pattern : patterns)
        quoted << '"' + pattern + '"';
    return quoted.join(QStringLiteral(" | "));
}

}   // namespace

QString ManPage()
{
    QString page = QStringLiteral(".TH K3N 1 \"\" \"K3N %1\" \"User Commands\"\n").arg(QLatin1String(kVersion));
    page += QStringLiteral(".SH NAME\nk3n \\- command-line tool for the configurations of K3N radios\n"
                           ".SH SYNOPSIS\n.B k3n\n.I command\n.RI [ arguments ]\n.br\n.B k3n help\n.RI [ command ]\n"
                           ".br\n.B k3n\n.BR \\-\\-help \" | \" \\-\\-version\n"
                           ".SH DESCRIPTION\nWorks with the configuration files (.fse) of K3N radios: makes, prints, "
                           "checks and converts them, and reads and writes radios over a programming cable.\n"
                           "Every command also takes\n.BR \\-\\-help ,\nwhich prints what this page says about it.\n"
                           ".SH COMMANDS\n");
    for (const Command& command : Commands())
        page += CommandSection(command);
    page += QStringLiteral(".SH EXIT STATUS\n");
    for (const ExitStatusMeaning& status : kExitStatusTable)
        page += QStringLiteral(".TP\n.B %1\n%2\n").arg(status.code).arg(Roff(QString::fromUtf8(status.meaning)));
    page += QStringLiteral(".SH ENVIRONMENT\n") + EntryList(kEnvironment, "B");
    page += QStringLiteral(".SH FILES\n") + EntryList(kFiles, "I");
    page += QStringLiteral(".SH SEE ALSO\n.BR k3n\\-cps (1)\n");
    return page;
}

QString BashCompletion()
{
    QStringList commandNames;
    QMap<ValueKind, QStringList> valuePatterns;   // "command --option" by what its value is
    QString optionCases;
    for (const Command& command : Commands()) {
        const QString name = QString::fromLatin1(command.name);
        commandNames << name;
        QStringList words;
        for (const Option& option : command.options) {
            for (const QString& optionName : NamesOf(option)) {
                words << Dashed(optionName);
                if (option.value)
                    valuePatterns[option.kind] << name + ' ' + Dashed(optionName);
            }
        }
        words << QStringLiteral("--help");
        optionCases += QStringLiteral("        %1) options=\"%2\" ;;\n").arg(name, words.join(' '));
    }

    QString valueCases;
    const auto valueCase = [&](ValueKind kind, const QString& body) {
        if (valuePatterns.contains(kind))
            valueCases +=
                QStringLiteral("    %1)\n%2        return\n        ;;\n").arg(Alternatives(valuePatterns[kind]), body);
    };
    valueCase(
        ValueKind::Port,
        QStringLiteral("        mapfile -t COMPREPLY < <(compgen -W \"auto $(\"$tool\" ports 2>/dev/null | awk '{ "
                       "print $1 }')\" -- \"$cur\")\n        [[ $cur == /* ]] && mapfile -t COMPREPLY < <(compgen "
                       "-f -- \"$cur\")\n"));
    valueCase(ValueKind::Band,
              QStringLiteral("        mapfile -t COMPREPLY < <(compgen -W \"0 1 2 3\" -- \"$cur\")\n"));
    valueCase(ValueKind::Language,
              QStringLiteral("        mapfile -t COMPREPLY < <(compgen -W \"%1\" -- \"$cur\")\n")
                  .arg(LanguageNames().join(' ')));
    valueCase(ValueKind::File,
              QStringLiteral("        compopt -o filenames 2>/dev/null\n        mapfile -t COMPREPLY < <(compgen -f -- "
                             "\"$cur\")\n"));
    valueCase(ValueKind::Text, QString());   // a date, a number, a list: nothing to offer

    return QStringLiteral(
               "# SPDX-License-Identifier: GPL-3.0-or-later\n"
               "# bash completion for k3n, made from the tool's command table when it was built.\n"
               "_k3n()\n{\n"
               "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} tool=${COMP_WORDS[0]}\n"
               "    local command=${COMP_WORDS[1]} options\n"
               "    COMPREPLY=()\n"
               "    if ((COMP_CWORD == 1)); then\n"
               "        mapfile -t COMPREPLY < <(compgen -W \"%1 --help --version\" -- \"$cur\")\n"
               "        return\n"
               "    fi\n"
               "    case \"$command $prev\" in\n"
               "%2"
               "    esac\n"
               "    if [[ $command == help ]]; then\n"
               "        ((COMP_CWORD == 2)) && mapfile -t COMPREPLY < <(compgen -W \"%1\" -- \"$cur\")\n"
               "        return\n"
               "    fi\n"
               "    if [[ $cur == -* ]]; then\n"
               "        case $command in\n"
               "%3"
               "        esac\n"
               "        mapfile -t COMPREPLY < <(compgen -W \"$options\" -- \"$cur\")\n"
               "        return\n"
               "    fi\n"
               "    compopt -o filenames 2>/dev/null\n"
               "    mapfile -t COMPREPLY < <(compgen -f -- \"$cur\")\n"
               "}\n"
               "complete -F _k3n k3n\n")
        .arg(commandNames.join(' '), valueCases, optionCases);
}

}   // namespace k3n::cli
