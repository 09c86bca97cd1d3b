// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

namespace k3n {

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

} // namespace k3n
