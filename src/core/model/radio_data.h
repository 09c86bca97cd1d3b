// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one configuration of the program: the radio data record and the state
// that accompanies it but is never saved in the file.
#include "model/radio_record.h"
#include <array>
#include <cstdint>

namespace k3n {

struct BandLimits {
    uint32_t lower = 0;
    uint32_t upper = 0;
    bool operator==(const BandLimits&) const = default;
};

struct ProgramTime {
    uint16_t year = 0;
    uint8_t month = 0, day = 0, hour = 0, minute = 0;
    bool operator==(const ProgramTime&) const = default;
};

constexpr int kBandCount = 4;
// A radio code no band has: what BandRadioCode gives for an unknown band.
constexpr uint8_t kNoBandRadioCode = 0xFF;
bool IsKnownBand(int band);   // freq_band 0..3
// Limits and the radio's code for each freq_band value 0..3; an unknown band
// has limits 0..0, kNoBandRadioCode and the name "unknown band".
BandLimits BandLimitsOf(int band);
uint8_t BandRadioCode(int band);
const char* BandName(int band);   // "K3N [136 - 174 MHz]" ...

class RadioData {
public:
    RadioData();

    RadioRecord record;
    BandLimits band_limits;
    std::array<uint8_t, 8> radio_serial_number{};
    ProgramTime last_program_time;

    // Clears the serial number and the record, then applies the defaults; freq_band is 0.
    void ResetRecordDefaults();
    // Takes the limits of freq_band; a value outside 0..3 keeps the old limits and returns false.
    bool SelectBandLimits();
    // Clamps to the band limits and snaps to the channel grid (5 kHz or 6.25 kHz).
    uint32_t SnapFrequency(uint32_t hz) const;
    // Defaults, then the given band (used at start-up and on a band change).
    void ResetForBand(int band);
};

}   // namespace k3n
