// SPDX-License-Identifier: GPL-3.0-or-later
// k3n image: the 8192-byte memory image of a configuration, as the radio holds it after a write.
#include "cli/command.h"
#include "cli/radio_session.h"
#include "model/record_layout.h"
#include "programming/memory_image.h"
#include <QDateTime>
#include <QSaveFile>

namespace k3n::cli {

int RunImage(const Command& self, const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption output(QStringList{"o", "output"}, QString(), QStringLiteral("IMAGE.bin"));
    const QCommandLineOption time(QStringList{"time"}, QString(), QStringLiteral("YYYY-MM-DD HH:MM"));
    parser.addOption(output);
    parser.addOption(time);
    if (auto done = ParseArguments(self, parser, args))
        return *done;
    const Result<QString> input = OneFileArgument(parser, "the configuration file");
    if (!input)
        return UsageError(self, input.error().message);
    const QString outPath = parser.value(output);
    if (outPath.isEmpty())
        return UsageError(self, QStringLiteral("the output file is missing (-o IMAGE.bin)"));

    ProgramTime programmed = LocalProgramTimeNow();
    if (parser.isSet(time)) {
        const QDateTime t = QDateTime::fromString(parser.value(time), QStringLiteral("yyyy-MM-dd HH:mm"));
        if (!t.isValid())
            return UsageError(self, QStringLiteral("--time must look like \"2024-06-30 23:59\", not '%1'").arg(parser.value(time)));
        programmed = {uint16_t(t.date().year()), uint8_t(t.date().month()), uint8_t(t.date().day()),
                      uint8_t(t.time().hour()), uint8_t(t.time().minute())};
    }

    RadioData data;
    if (auto error = LoadWholeConfiguration(input.value(), data))
        return Failure(self, error->message);
    const int band = data.record.get(rec::freq_band);
    if (!IsKnownBand(band)) {
        Err() << "k3n " << self.name << ": " << input.value() << " holds band " << band
              << ", which no radio has (0..3); set the band with the channel editor or 'k3n new --band'\n";
        return kExitUsage;
    }
    MemoryImage image = GetDataForWrite(data, programmed);
    // The radio keeps its band code beside the configuration; with it the image
    // turns back into the same file ('k3n unimage'). A write never sends it.
    image[radio_addr::kBandCode] = BandRadioCode(band);

    QSaveFile file(outPath);   // replaced in one step, never left half-written
    if (!file.open(QIODevice::WriteOnly) || file.write(reinterpret_cast<const char*>(image.data()), qint64(image.size())) != qint64(image.size())
        || !file.commit())
        return Failure(self, QStringLiteral("cannot write %1: %2").arg(outPath, file.errorString()));
    return kExitOk;
}

} // namespace k3n::cli
