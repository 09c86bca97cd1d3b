// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/radio_data.h"
#include "model/record_layout.h"

namespace k3n {

namespace {
struct BandInfo {
    BandLimits limits;
    uint8_t radioCode;
    const char* name;
};
constexpr BandInfo kBands[kBandCount] = {
    {{136000000, 174000000}, 0x00, "K3N [136 - 174 MHz]"},
    {{150000000, 174000000}, 0x01, "K3N [150 - 174 MHz]"},
    {{400000000, 470000000}, 0x80, "K3N [400 - 470 MHz]"},
    {{410000000, 430000000}, 0x81, "K3N [410 - 430 MHz]"},
};
}   // namespace

bool IsKnownBand(int band)
{
    return band >= 0 && band < kBandCount;
}
// The band byte comes from files and radios: an unknown one must never index the table.
BandLimits BandLimitsOf(int band)
{
    return IsKnownBand(band) ? kBands[band].limits : BandLimits{};
}
uint8_t BandRadioCode(int band)
{
    return IsKnownBand(band) ? kBands[band].radioCode : kNoBandRadioCode;
}
const char* BandName(int band)
{
    return IsKnownBand(band) ? kBands[band].name : "unknown band";
}

RadioData::RadioData()
{
    ResetForBand(0);
}

void RadioData::ResetRecordDefaults()
{
    radio_serial_number.fill(0);
    record = RadioRecord{};
    RadioRecord& r = record;

    r.set(rec::user_ctcss_freq, 62.5);
    for (int i = 0; i < rec::kScrambleFreqCount; ++i)
        r.set(rec::scramble_freq(i), 2632);
    r.set(rec::emergency_mode, 1);

    using namespace rec;
    r.set(dtmf::lead_in, 100);
    r.set(dtmf::lead_out, 100);
    r.set(dtmf::call_1, 0xFF);
    r.set(dtmf::call_2, 0xFF);
    r.set(dtmf::group_tone, 10);
    for (int i = 1; i <= dtmf::kSystemCount; ++i) {
        r.set(dtmf::call_code(i), 0xFF);
        r.set(dtmf::id_code(i), 0xFF);
    }

    r.set(two_tone::lead_in, 100);
    r.set(two_tone::lead_out, 100);
    r.set(two_tone::call_1, 0xFF);
    r.set(two_tone::call_2, 0xFF);
    for (int i = 1; i <= two_tone::kSystemCount; ++i) {
        r.set(two_tone::call_code(i), 0xFF);
        r.set(two_tone::group_time(i), 1);
        r.set(two_tone::tone_a_time(i), 1);
        r.set(two_tone::tone_b_time(i), 1);
        r.set(two_tone::auto_reset_time(i), 1);
    }
    for (int i = 0; i < two_tone::kEncodeCount; ++i)
        r.set(two_tone::encode(i), 0xFF);
    for (int i = 0; i < two_tone::kDecodeCount; ++i)
        r.set(two_tone::decode(i), 0xFF);

    r.set(five_tone::lead_in, 100);
    r.set(five_tone::lead_out, 100);
    r.set(five_tone::call_1, 0xFF);
    r.set(five_tone::call_2, 0xFF);
    for (int i = 1; i <= five_tone::kSystemCount; ++i) {
        r.set(five_tone::repeat_code(i), 0xFF);
        r.set(five_tone::call_code(i), 0xFF);
        r.set(five_tone::id_code(i), 0xFF);
    }
    for (int i = 0; i < five_tone::kDecodeCount; ++i)
        r.set(five_tone::decode_transpond(i), 0xFF);
}

bool RadioData::SelectBandLimits()
{
    const int band = record.get(rec::freq_band);
    if (band >= kBandCount)
        return false;
    band_limits = BandLimitsOf(band);
    return true;
}

uint32_t RadioData::SnapFrequency(uint32_t hz) const
{
    if (hz < band_limits.lower)
        hz = band_limits.lower;
    else if (hz > band_limits.upper)
        hz = band_limits.upper;
    if (hz % 5000 != 0)
        hz -= hz % 6250;
    return hz;
}

void RadioData::ResetForBand(int band)
{
    ResetRecordDefaults();
    record.set(rec::freq_band, uint8_t(band));
    SelectBandLimits();
}

}   // namespace k3n
