// SPDX-License-Identifier: GPL-3.0-or-later
// k3n import: channels from a channel-list CSV onto a configuration, with a
// report on stderr of everything that did not fit and a summary line; or a
// whole configuration from its JSON image.
#include "cli/command.h"
#include "cli/command_files.h"
#include "cli/language_option.h"
#include "interchange/channel_csv.h"
#include "interchange/configuration_json.h"
#include "model/fse_file.h"
#include "model/record_layout.h"
#include "text/own_texts.h"
#include <QFile>

namespace k3n::cli {

int RunImport(const Command& self, const Arguments& args)
{
    // The base may be the output: it is read whole before the output replaces it.
    const Result<InputAndOutput> files = InputAndOutputOf(args, OutputKind::Binary, InputCheck::AtOnce);
    if (!files)
        return UsageError(self, files.error().message);
    const auto& [inPath, outPath] = files.value();
    // The report is English unless another language is asked for.
    const Result<TAppLang> langOption = LanguageOption(args.value("language"), args.isSet("language"));
    if (!langOption)
        return UsageError(self, langOption.error().message);
    const TAppLang* lang = &langOption.value();
    int bandNumber = 0;
    if (args.isSet("band")) {
        bool isNumber = false;
        bandNumber = args.value("band").toInt(&isNumber);
        if (!isNumber || !IsKnownBand(bandNumber))
            return UsageError(self, QStringLiteral("--band must be 0, 1, 2 or 3, not '%1'").arg(args.value("band")));
    }

    RadioData start;
    start.ResetForBand(bandNumber);
    if (args.isSet("base")) {
        if (auto error = LoadConfigurationInput(args.value("base"), start))
            return BadInput(self, error->message);
        const int baseBand = start.record.get(rec::freq_band);
        if (!IsKnownBand(baseBand))
            return BadInput(
                self,
                QStringLiteral("%1 holds band %2, which no radio has (0..3)").arg(args.value("base")).arg(baseBand));
        if (args.isSet("band") && baseBand != bandNumber)
            return UsageError(self,
                              QStringLiteral("--band %1 differs from the band of %2 (%3); leave --band out")
                                  .arg(bandNumber)
                                  .arg(args.value("base"))
                                  .arg(baseBand));
    }

    QFile in(inPath);
    if (!in.open(QIODevice::ReadOnly))
        return BadInput(self, QStringLiteral("%1: %2").arg(inPath, in.errorString()));
    const QByteArray bytes = in.readAll();
    if (IsJsonFile(inPath, bytes)) {
        if (args.isSet("replace-all"))
            return UsageError(self,
                              QStringLiteral("--replace-all is for channel lists; a JSON file holds every channel"));
        const Result<JsonImage> image = ConfigurationFromJson(bytes, start.record);
        if (!image)
            return BadInput(self, QStringLiteral("%1: %2").arg(inPath, image.error().message));
        for (const QString& contradiction : image.value().contradictions)
            Err() << inPath << ": " << contradiction << "\n";
        Err().flush();
        if (args.isSet("strict") && !image.value().contradictions.isEmpty())
            return Failure(
                self, QStringLiteral("texts say otherwise than their numbers (--strict); %1 not written").arg(outPath));
        return WriteOutput(self, outPath, FseFileBytes(image.value().record));
    }
    const QByteArray& csv = bytes;
    Result<ChannelImport> imported =
        ImportChannelsCsv(csv, start, {.replaceAll = args.isSet("replace-all"), .language = lang});
    if (!imported)
        return BadInput(self, QStringLiteral("%1: %2").arg(inPath, imported.error().message));

    const ChannelImport& result = imported.value();
    for (const ImportNote& note : result.notes)
        Err() << inPath << ": " << note.describe(*lang) << "\n";
    QString summary = result.summary;
    if (result.nothingImported() && result.fittingBand) {
        const int fitting = *result.fittingBand;
        summary += QStringLiteral(" \u2014 ")
            + (args.isSet("base")
                   ? Text(*lang, OwnText::ImportHintBandBase).arg(fitting).arg(QLatin1String(BandName(fitting)))
                   : Text(*lang, OwnText::ImportHintBandOption).arg(fitting));
    }
    Err() << inPath << ": " << summary << "\n";
    Err().flush();
    if (result.nothingImported())
        return kExitFailure;   // the summary says why; nothing is written
    if (args.isSet("strict") && result.skippedOrChanged())
        return Failure(self,
                       QStringLiteral("rows were skipped or values changed (--strict); %1 not written").arg(outPath));
    return WriteOutput(self, outPath, FseFileBytes(result.data.record));
}

}   // namespace k3n::cli
