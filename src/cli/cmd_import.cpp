// SPDX-License-Identifier: GPL-3.0-or-later
// k3n import: channels from a channel-list CSV onto a configuration, with a
// report on stderr of everything that did not fit and a summary line; or a
// whole configuration from its JSON image.
#include "cli/command.h"
#include "cli/language_option.h"
#include "cli/radio_session.h"
#include "interchange/channel_csv.h"
#include "interchange/configuration_json.h"
#include "model/fse_file.h"
#include "model/record_layout.h"
#include "text/own_texts.h"
#include <QFile>

namespace k3n::cli {

namespace {

int BadInput(const Command& self, const QString& message)
{
    Err() << "k3n " << self.name << ": " << message << "\n";
    Err().flush();
    return kExitUsage;
}

} // namespace

int RunImport(const Command& self, const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption output(QStringList{"o", "output"}, QString(), QStringLiteral("OUT.fse"));
    const QCommandLineOption base(QStringList{"base"}, QString(), QStringLiteral("BASE.fse"));
    const QCommandLineOption band(QStringList{"band"}, QString(), QStringLiteral("N"));
    const QCommandLineOption replaceAll(QStringList{"replace-all"});
    const QCommandLineOption strict(QStringList{"strict"});
    const QCommandLineOption language(QStringList{"language"}, QString(), QStringLiteral("LANG"));
    for (const QCommandLineOption& option : {output, base, band, replaceAll, strict, language})
        parser.addOption(option);
    if (auto done = ParseArguments(self, parser, args))
        return *done;
    const Result<QString> input = OneFileArgument(parser, "the CSV or JSON file");
    if (!input)
        return UsageError(self, input.error().message);
    const QString outPath = parser.value(output);
    if (outPath.isEmpty())
        return UsageError(self, QStringLiteral("the output file is missing (-o OUT.fse)"));
    // The report is English unless another language is asked for.
    const std::optional<TAppLang> lang = LanguageNamed(parser.isSet(language) ? parser.value(language) : "en");
    if (!lang)
        return UsageError(self,
                          QStringLiteral("--language must be %1, not '%2'")
                              .arg(QLatin1String(kLanguageNames), parser.value(language)));
    int bandNumber = 0;
    if (parser.isSet(band)) {
        bool isNumber = false;
        bandNumber = parser.value(band).toInt(&isNumber);
        if (!isNumber || !IsKnownBand(bandNumber))
            return UsageError(self, QStringLiteral("--band must be 0, 1, 2 or 3, not '%1'").arg(parser.value(band)));
    }

    RadioData start;
    start.ResetForBand(bandNumber);
    if (parser.isSet(base)) {
        if (auto error = LoadWholeConfiguration(parser.value(base), start))
            return BadInput(self, error->message);
        const int baseBand = start.record.get(rec::freq_band);
        if (!IsKnownBand(baseBand))
            return BadInput(
                self,
                QStringLiteral("%1 holds band %2, which no radio has (0..3)").arg(parser.value(base)).arg(baseBand));
        if (parser.isSet(band) && baseBand != bandNumber)
            return UsageError(self,
                              QStringLiteral("--band %1 differs from the band of %2 (%3); leave --band out")
                                  .arg(bandNumber)
                                  .arg(parser.value(base))
                                  .arg(baseBand));
    }

    const QString inPath = input.value();
    QFile in(inPath);
    if (!in.open(QIODevice::ReadOnly))
        return BadInput(self, QStringLiteral("cannot read %1: %2").arg(inPath, in.errorString()));
    const QByteArray bytes = in.readAll();
    if (IsJsonFile(inPath, bytes)) {
        if (parser.isSet(replaceAll))
            return UsageError(self, QStringLiteral("--replace-all is for channel lists; a JSON file holds every channel"));
        const Result<JsonImage> image = ConfigurationFromJson(bytes, start.record);
        if (!image)
            return BadInput(self, QStringLiteral("%1: %2").arg(inPath, image.error().message));
        for (const QString& contradiction : image.value().contradictions)
            Err() << inPath << ": " << contradiction << "\n";
        Err().flush();
        if (parser.isSet(strict) && !image.value().contradictions.isEmpty())
            return Failure(
                self, QStringLiteral("texts say otherwise than their numbers (--strict); %1 not written").arg(outPath));
        if (auto error = SaveFseFile(outPath, image.value().record))
            return Failure(self, QStringLiteral("cannot write %1: %2").arg(outPath, error->message()));
        return kExitOk;
    }
    const QByteArray& csv = bytes;
    Result<ChannelImport> imported =
        ImportChannelsCsv(csv, start, {.replaceAll = parser.isSet(replaceAll), .language = &*lang});
    if (!imported)
        return BadInput(self, QStringLiteral("%1: %2").arg(inPath, imported.error().message));

    const ChannelImport& result = imported.value();
    for (const ImportNote& note : result.notes)
        Err() << inPath << ": " << note.describe(*lang) << "\n";
    QString summary = result.summary;
    if (result.nothingImported() && result.fittingBand) {
        const int fitting = *result.fittingBand;
        summary += QStringLiteral(" \u2014 ")
            + (parser.isSet(base)
                   ? Text(*lang, OwnText::ImportHintBandBase).arg(fitting).arg(QLatin1String(BandName(fitting)))
                   : Text(*lang, OwnText::ImportHintBandOption).arg(fitting));
    }
    Err() << inPath << ": " << summary << "\n";
    Err().flush();
    if (result.nothingImported())
        return kExitFailure;   // the summary says why; nothing is written
    if (parser.isSet(strict) && result.skippedOrChanged())
        return Failure(self,
                       QStringLiteral("rows were skipped or values changed (--strict); %1 not written").arg(outPath));
    if (auto error = SaveFseFile(outPath, result.data.record))
        return Failure(self, QStringLiteral("cannot write %1: %2").arg(outPath, error->message()));
    return kExitOk;
}

} // namespace k3n::cli
