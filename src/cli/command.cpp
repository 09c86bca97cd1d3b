// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command.h"
#include <QLocale>
#include <cstdio>

namespace k3n::cli {

QTextStream& Out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& Err()
{
    static QTextStream stream(stderr);
    return stream;
}

void PrintCommandHelp(const Command& self, QTextStream& stream)
{
    stream << "usage: k3n " << self.usage << "\n\n" << self.summary << "\n";
    if (self.options && *self.options)
        stream << "\n" << self.options;
    stream.flush();
}

int UsageError(const Command& self, const QString& message)
{
    Err() << "k3n " << self.name << ": " << message << "\n"
          << "usage: k3n " << self.usage << "\n";
    Err().flush();
    return kExitUsage;
}

int Failure(const Command& self, const QString& message)
{
    Err() << "k3n " << self.name << ": " << message << "\n";
    Err().flush();
    return kExitFailure;
}

std::optional<int> ParseArguments(const Command& self, QCommandLineParser& parser, const QStringList& args)
{
    const QCommandLineOption help(QStringList{"h", "help"});
    parser.addOption(help);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (!parser.parse(QStringList{QStringLiteral("k3n")} + args))
        return UsageError(self, parser.errorText());
    if (parser.isSet(help)) {
        PrintCommandHelp(self, Out());
        return kExitOk;
    }
    return std::nullopt;
}

Result<QString> OneFileArgument(const QCommandLineParser& parser, const char* what)
{
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        return Error{QStringLiteral("%1 is missing").arg(QLatin1String(what))};
    if (files.size() > 1)
        return Error{QStringLiteral("one file at a time")};
    return files.constFirst();
}


} // namespace k3n::cli
