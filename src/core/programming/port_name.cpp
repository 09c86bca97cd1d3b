// SPDX-License-Identifier: GPL-3.0-or-later
#include "programming/port_name.h"
#include "text/own_texts.h"
#include <QRegularExpression>

namespace k3n {

bool IsAutoPortName(const QString& name)
{
    return name.compare(QLatin1String("auto"), Qt::CaseInsensitive) == 0;
}

std::optional<Error> PortNameError(const QString& name)
{
    static const QRegularExpression comName(QStringLiteral("^COM[0-9]+$"), QRegularExpression::CaseInsensitiveOption);
    if (IsAutoPortName(name) || comName.match(name).hasMatch() || name.startsWith('/'))
        return std::nullopt;
    return Error{Text(OwnText::NotAPortName)};
}

} // namespace k3n
