// SPDX-License-Identifier: GPL-3.0-or-later
// k3n new: writes the reset defaults of a band to a file.
#include "cli/command.h"
#include "cli/command_files.h"
#include "model/fse_file.h"
#include "model/radio_data.h"

namespace k3n::cli {

int RunNew(const Command& self, const Arguments& args)
{
    const QString path = args.value("output");
    if (auto error = CheckOutputPath(path, {}, OutputKind::Binary))
        return UsageError(self, error->message);
    bool isNumber = false;
    const QString band = args.isSet("band") ? args.value("band") : QStringLiteral("0");
    const int bandNumber = band.toInt(&isNumber);
    if (!isNumber || !IsKnownBand(bandNumber))
        return UsageError(self, QStringLiteral("--band must be 0, 1, 2 or 3, not '%1'").arg(band));

    RadioData data;
    data.ResetForBand(bandNumber);
    return WriteOutput(self, path, FseFileBytes(data.record));
}

}   // namespace k3n::cli
