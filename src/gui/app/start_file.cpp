// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/start_file.h"

namespace k3n {

QString FileNamedOnCommandLine(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--virtual-radio-memory"))
            ++i;
        else if (!arguments[i].startsWith('-'))
            return arguments[i];
    }
    return {};
}

} // namespace k3n
