// SPDX-License-Identifier: GPL-3.0-or-later
// The command line of one command, read by its option table: "--name value",
// "--name=value", "-o value", switches, "--" before operands that start with
// a dash. A long name may also be written with one dash ("-json").
#include "cli/command.h"
#include <algorithm>
#include <vector>

namespace k3n::cli {

namespace {

// The name options are kept under: the long one, or the letter of an option without one.
QString KeyOf(const Option& option)
{
    const QStringList names = NamesOf(option);
    return names.constLast();
}

const Option* FindOption(const Command& command, const QString& name, bool doubleDash)
{
    for (const Option& option : command.options) {
        for (const QString& known : NamesOf(option)) {
            // "--o" is no way to write -o; "-output" is, as the tool has always taken it.
            if (known == name && (known.size() > 1 || !doubleDash))
                return &option;
        }
    }
    return nullptr;
}

int EditDistance(const QString& a, const QString& b)
{
    std::vector<int> row(std::size_t(b.size()) + 1);
    for (std::size_t j = 0; j < row.size(); ++j)
        row[j] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int above = row[std::size_t(j)];
            row[std::size_t(j)] =
                std::min({above + 1, row[std::size_t(j - 1)] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row.back();
}

// "unknown option '--jsno'; did you mean '--json'?" for a slip of the keyboard.
QString UnknownOption(const Command& command, const QString& written, const QString& name)
{
    QString message = QStringLiteral("unknown option '%1'").arg(written);
    QString closest;
    int best = 3;   // at most two letters off
    for (const Option& option : command.options) {
        for (const QString& known : NamesOf(option)) {
            const int distance = known.size() > 1 ? EditDistance(name, known) : 3;
            if (distance < best) {
                best = distance;
                closest = Dashed(known);
            }
        }
    }
    if (!closest.isEmpty())
        message += QStringLiteral("; did you mean '%1'?").arg(closest);
    return message;
}

QString OperandsError(const Command& command, const QStringList& operands)
{
    const qsizetype expected = command.operandCount;
    const qsizetype given = operands.size();
    if (given == expected || (command.operandsOptional && given < expected))
        return {};
    if (expected == 0)
        return QStringLiteral("unexpected argument '%1'").arg(operands.constFirst());
    if (expected == 1 && given == 0)
        return QStringLiteral("%1 is missing").arg(QString::fromUtf8(command.operandWhat));
    if (expected == 1)
        return QStringLiteral("one file at a time: '%1' is one too many").arg(operands.at(1));
    return QStringLiteral("%1 are needed, not %2").arg(QString::fromUtf8(command.operandWhat)).arg(given);
}

// A required option, or a group of which one is required, that was not given.
QString MissingOption(const Command& command, const QHash<QString, QStringList>& values)
{
    for (const std::span<const Option> run : OptionRuns(command.options)) {
        bool required = false, given = false;
        QStringList choice;
        for (const Option& option : run) {
            required = required || option.required;
            given = given || values.contains(KeyOf(option));
            QString usage = Dashed(NamesOf(option).constFirst());
            if (option.value)
                usage += ' ' + QString::fromUtf8(option.value);
            choice << usage;
        }
        if (required && !given) {
            if (choice.size() == 1)
                return QStringLiteral("%1 is missing").arg(choice.constFirst());
            const QString last = choice.takeLast();
            return QStringLiteral("%1 or %2 is missing").arg(choice.join(QStringLiteral(", ")), last);
        }
    }
    return {};
}

}   // namespace

Result<Arguments> ParseArguments(const Command& command, const QStringList& args)
{
    Arguments parsed;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& argument = args[i];
        if (optionsEnded || argument == QLatin1String("-") || !argument.startsWith('-')) {
            parsed.operands_ << argument;
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        const bool doubleDash = argument.startsWith(QLatin1String("--"));
        QString name = argument.mid(doubleDash ? 2 : 1);
        std::optional<QString> attached;
        if (const qsizetype equals = name.indexOf('='); doubleDash && equals > 0) {
            attached = name.mid(equals + 1);
            name.truncate(equals);
        }
        if (name == QLatin1String("help") || (name == QLatin1String("h") && !doubleDash)) {
            parsed.helpAsked_ = true;
            continue;
        }
        const Option* option = FindOption(command, name, doubleDash);
        if (!option)
            return Error{UnknownOption(command, attached ? QStringLiteral("--") + name : argument, name)};
        QStringList& values = parsed.values_[KeyOf(*option)];
        if (!option->value) {
            if (attached)
                return Error{QStringLiteral("'%1' takes no value").arg(Dashed(name))};
            continue;
        }
        if (attached)
            values << *attached;
        else if (i + 1 < args.size())
            values << args[++i];
        else
            return Error{
                QStringLiteral("'%1' needs a value: %1 %2").arg(Dashed(name), QString::fromUtf8(option->value))};
    }
    if (parsed.helpAsked_)
        return parsed;
    if (const QString error = OperandsError(command, parsed.operands_); !error.isEmpty())
        return Error{error};
    if (const QString error = MissingOption(command, parsed.values_); !error.isEmpty())
        return Error{error};
    return parsed;
}

}   // namespace k3n::cli
