// SPDX-License-Identifier: GPL-3.0-or-later
#include "programming/radio_configuration.h"
#include "model/record_layout.h"
#include "programming/session.h"

namespace k3n {

RadioData RadioConfigurationOf(const MemoryImage& image)
{
    RadioData radio;
    int band = 0;
    for (int b = 0; b < kBandCount; ++b)
        if (BandRadioCode(b) == image[radio_addr::kBandCode])
            band = b;
    radio.ResetForBand(band);
    SetDataToSoftware(image, radio);
    radio.SelectBandLimits();
    return radio;
}

std::optional<RadioData> RadioConfigurationRead(const ProgrammingSession& session)
{
    // Read from radio's own rule decides whether the session brought a configuration.
    if (RadioData probe; !ApplyConfigurationRead(session, probe))
        return std::nullopt;
    return RadioConfigurationOf(session.image());
}

RadioRecord AsTheRadioHoldsIt(const RadioRecord& record)
{
    RadioData data;
    data.record = record;
    // The programming time is not part of the record; any will do.
    MemoryImage image = GetDataForWrite(data, ProgramTime{});
    // The band travels by a transfer of its own; the radio reports the record's.
    image[radio_addr::kBandCode] = BandRadioCode(record.get(rec::freq_band));
    return RadioConfigurationOf(image).record;
}

}   // namespace k3n
