// SPDX-License-Identifier: GPL-3.0-or-later
// k3n new: writes the reset defaults of a band to a file.
#include "cli/command.h"
#include "model/fse_file.h"
#include "model/radio_data.h"

namespace k3n::cli {

int RunNew(const Command& self, const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption output(QStringList{"o", "output"}, QString(), QStringLiteral("FILE.fse"));
    const QCommandLineOption band(QStringList{"band"}, QString(), QStringLiteral("N"), QStringLiteral("0"));
    parser.addOption(output);
    parser.addOption(band);
    if (auto done = ParseArguments(self, parser, args))
        return *done;
    if (!parser.positionalArguments().isEmpty())
        return UsageError(self, QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().constFirst()));
    const QString path = parser.value(output);
    if (path.isEmpty())
        return UsageError(self, QStringLiteral("the output file is missing (-o FILE.fse)"));

    bool isNumber = false;
    const int bandNumber = parser.value(band).toInt(&isNumber);
    if (!isNumber || bandNumber < 0 || bandNumber >= kBandCount)
        return UsageError(self, QStringLiteral("--band must be 0, 1, 2 or 3, not '%1'").arg(parser.value(band)));

    RadioData data;
    data.ResetForBand(bandNumber);
    if (auto error = SaveFseFile(path, data.record))
        return Failure(self, QStringLiteral("cannot write %1: %2").arg(path, error->message()));
    return kExitOk;
}

} // namespace k3n::cli
