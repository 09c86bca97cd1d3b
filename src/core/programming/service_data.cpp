// SPDX-License-Identifier: GPL-3.0-or-later
#include "programming/service_data.h"
#include "model/radio_data.h"
#include <algorithm>

namespace k3n {

namespace {

// Power-tuning area: where each field sits among the 32 bytes.
constexpr std::size_t kLowPower = 0;
constexpr std::size_t kHighPower = 3;
constexpr std::size_t kMaxDev = 6;
constexpr std::size_t kVoxLevel1 = 9;
constexpr std::size_t kVoxLevel6 = 11;
constexpr std::size_t kRxTuningVoltage = 13;
constexpr std::size_t kSqLevel1 = 16;
constexpr std::size_t kSqLevel9 = 18;
// From byte 20, four deviation bytes per test frequency (low, middle, high).
constexpr std::size_t kDeviationTable = 20;
constexpr std::size_t kDeviationRow = 4;

void putLe16(ServiceBuffer& b, std::size_t at, uint16_t v)
{
    b[at] = static_cast<uint8_t>(v & 0xFF);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

uint16_t le16(const ServiceBuffer& b, std::size_t at)
{
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

uint16_t be16(const ServiceBuffer& b, std::size_t at)
{
    return static_cast<uint16_t>((b[at] << 8) | b[at + 1]);
}

void put3(ServiceBuffer& b, std::size_t at, const Tuning3& v)
{
    std::copy(v.begin(), v.end(), b.begin() + at);
}

void take3(const ServiceBuffer& b, std::size_t at, Tuning3& v)
{
    std::copy_n(b.begin() + at, v.size(), v.begin());
}

// The four deviation fields in the order of one row of the table.
template <typename Data> auto deviationFields(Data& d)
{
    return std::array{&d.apc_ctcss_625, &d.apc_ctcss_1318, &d.apc_ctcss_2541, &d.apc_dcs_031};
}

}   // namespace

void GetAdjustmentData(const ServiceData& d, ServiceBuffer& b)
{
    b.fill(0);
    b[0] = d.adj_mic_input;
    b[1] = d.adj_mod_output;
    putLe16(b, 2, d.adj_mod_fine_output_gain);
    b[4] = d.adj_disc_input;
    b[5] = d.adj_audio_output;
}

void SetAdjustmentData(const ServiceBuffer& b, ServiceData& d)
{
    d.adj_mic_input = b[0];
    d.adj_mod_output = b[1];
    d.adj_mod_fine_output_gain = le16(b, 2);
    d.adj_disc_input = b[4];
    d.adj_audio_output = b[5];
}

void GetApcTuneData(const ServiceData& d, ServiceBuffer& b)
{
    b.fill(0);
    put3(b, kLowPower, d.apc_low_power);
    put3(b, kHighPower, d.apc_high_power);
    put3(b, kMaxDev, d.apc_max_dev);
    putLe16(b, kVoxLevel1, d.apc_vox_level_1);
    putLe16(b, kVoxLevel6, d.apc_vox_level_6);
    put3(b, kRxTuningVoltage, d.apc_rx_tuning_voltage);
    putLe16(b, kSqLevel1, d.apc_sq_level_1);
    putLe16(b, kSqLevel9, d.apc_sq_level_9);
    const auto row = deviationFields(d);
    for (std::size_t freq = 0; freq < 3; ++freq)
        for (std::size_t i = 0; i < row.size(); ++i)
            b[kDeviationTable + freq * kDeviationRow + i] = (*row[i])[freq];
}

void SetApcTuneData(const ServiceBuffer& b, ServiceData& d)
{
    take3(b, kLowPower, d.apc_low_power);
    take3(b, kHighPower, d.apc_high_power);
    take3(b, kMaxDev, d.apc_max_dev);
    d.apc_vox_level_1 = le16(b, kVoxLevel1);
    d.apc_vox_level_6 = le16(b, kVoxLevel6);
    take3(b, kRxTuningVoltage, d.apc_rx_tuning_voltage);
    d.apc_sq_level_1 = le16(b, kSqLevel1);
    d.apc_sq_level_9 = le16(b, kSqLevel9);
    const auto row = deviationFields(d);
    for (std::size_t freq = 0; freq < 3; ++freq)
        for (std::size_t i = 0; i < row.size(); ++i)
            (*row[i])[freq] = b[kDeviationTable + freq * kDeviationRow + i];
}

void GetSnData(const SerialNumber& sn, ServiceBuffer& b)
{
    b.fill(0);
    std::copy(sn.begin(), sn.end(), b.begin());
}

void SetSnData(const ServiceBuffer& b, SerialNumber& sn)
{
    std::copy_n(b.begin(), sn.size(), sn.begin());
}

void SetFirmWareInforData(const ServiceBuffer& b, ServiceData& d)
{
    d.firmware_model = be16(b, 0);
    d.firmware_band = be16(b, 2);
    d.firmware_version = be16(b, 4);
}

bool GetFreqBandData(int freqBand, ServiceBuffer& b)
{
    b.fill(0);
    if (freqBand < 0 || freqBand >= kBandCount)
        return false;
    b[0] = BandRadioCode(freqBand);
    return true;
}

}   // namespace k3n
