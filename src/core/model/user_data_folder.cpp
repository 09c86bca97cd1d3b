// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/user_data_folder.h"
#include "model/native_path.h"
#include <QDir>

namespace k3n {

QString UserDataFolder()
{
    // Byte for byte: a folder named in another code page is still that folder.
    QString base = PathFromNative(qgetenv("XDG_DATA_HOME"));
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return base + QStringLiteral("/K3N");
}

}   // namespace k3n
