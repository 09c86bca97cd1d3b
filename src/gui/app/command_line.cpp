// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

namespace k3n {

std::optional<QString> InformationAskedFor(const QStringList& arguments)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QStringLiteral("--"))
            break;
        if (argument == QStringLiteral("--version"))
            return QStringLiteral("k3n-cps %1\n").arg(QStringLiteral(K3N_VERSION));
        if (argument == QStringLiteral("--help") || argument == QStringLiteral("-h"))
            return QStringLiteral("usage: k3n-cps [FILE.fse] [--virtual-radio [--virtual-radio-memory MEMORY]]\n"
                                  "       k3n-cps --help | --version\n\n"
                                  "The programming software for K3N radios: opens FILE.fse when it is given.\n"
                                  "  --virtual-radio         attach a virtual radio on a pseudo-terminal, to try\n"
                                  "                          reading and writing without a radio\n"
                                  "  --virtual-radio-memory MEMORY\n"
                                  "                          keep its 8192-byte memory in MEMORY between runs\n"
                                  "  -h, --help              print this help and exit\n"
                                  "  --version               print the version and exit\n"
                                  "See k3n-cps(1); the command-line tool is k3n(1).\n");
    }
    return std::nullopt;
}

QString ConfigurationFileArgument(const QStringList& arguments)
{
    // Options that take the next argument as their value.
    static const QStringList withValue = {QStringLiteral("--virtual-radio-memory")};
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (withValue.contains(argument)) {
            ++i;
            continue;
        }
        if (argument == QStringLiteral("--"))
            return arguments.value(i + 1);
        if (!argument.startsWith('-'))
            return argument;
    }
    return {};
}

}   // namespace k3n
