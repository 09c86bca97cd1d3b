// SPDX-License-Identifier: GPL-3.0-or-later
// k3n image: the 8192-byte memory image of a configuration, as the radio holds it after a write.
#include "cli/command.h"
#include "cli/command_files.h"
#include "model/record_layout.h"
#include "programming/memory_image.h"
#include <QDateTime>

namespace k3n::cli {

int RunImage(const Command& self, const Arguments& args)
{
    const Result<InputAndOutput> files = InputAndOutputOf(args, OutputKind::Binary, InputCheck::ByLoader);
    if (!files)
        return UsageError(self, files.error().message);
    const auto& [input, outPath] = files.value();

    ProgramTime programmed = LocalProgramTimeNow();
    if (args.isSet("time")) {
        const QDateTime t = QDateTime::fromString(args.value("time"), QStringLiteral("yyyy-MM-dd HH:mm"));
        if (!t.isValid())
            return UsageError(
                self, QStringLiteral("--time must look like \"2024-06-30 23:59\", not '%1'").arg(args.value("time")));
        programmed = {uint16_t(t.date().year()), uint8_t(t.date().month()), uint8_t(t.date().day()),
                      uint8_t(t.time().hour()), uint8_t(t.time().minute())};
    }

    RadioData data;
    if (auto error = LoadConfigurationInput(input, data))
        return BadInput(self, error->message);
    const int band = data.record.get(rec::freq_band);
    if (!IsKnownBand(band))
        return BadInput(self,
                        QStringLiteral("%1 holds band %2, which no radio has (0..3); set the band with the "
                                       "channel editor or 'k3n new --band'")
                            .arg(input)
                            .arg(band));
    MemoryImage image = GetDataForWrite(data, programmed);
    // The radio keeps its band code beside the configuration; with it the image
    // turns back into the same file ('k3n unimage'). A write never sends it.
    image[radio_addr::kBandCode] = BandRadioCode(band);
    return WriteOutput(self, outPath, QByteArray(reinterpret_cast<const char*>(image.data()), qsizetype(image.size())));
}

}   // namespace k3n::cli
