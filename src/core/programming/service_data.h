// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The radio's factory data as the service windows edit it, and how each item
// is laid out in the radio's memory. None of it is part of the radio data
// record or of a file: it lives for the run and starts at zero.
#include <array>
#include <cstddef>
#include <cstdint>

namespace k3n {

using Tuning3 = std::array<uint8_t, 3>;   // values at the low, middle and high test frequency

struct ServiceData {
    // Audio-path adjustment.
    uint16_t adj_mod_fine_output_gain = 0;   // 0..16383
    uint16_t adj_max_mod_limit = 0;   // 0..16383; the radio has no place for it
    uint16_t adj_ctcss_level = 0;   // 0..4095; the radio has no place for it
    uint8_t adj_mic_input = 0;
    uint8_t adj_mod_output = 0;
    uint8_t adj_ctcss_freq = 0;   // shown only
    uint8_t adj_disc_input = 0;
    uint8_t adj_audio_output = 0;

    // Power and deviation tuning.
    Tuning3 apc_low_power{};
    Tuning3 apc_high_power{};
    Tuning3 apc_max_dev{};
    uint16_t apc_vox_level_1 = 0;
    uint16_t apc_vox_level_6 = 0;
    Tuning3 apc_rx_tuning_voltage{};
    uint16_t apc_sq_level_1 = 0;
    uint16_t apc_sq_level_9 = 0;
    Tuning3 apc_ctcss_625{};
    Tuning3 apc_ctcss_1318{};
    Tuning3 apc_ctcss_2541{};
    Tuning3 apc_dcs_031{};

    // Firmware information, read only.
    uint16_t firmware_model = 0;
    uint16_t firmware_band = 0;
    uint16_t firmware_version = 0;

    // Whether the fields hold what the last read of this run brought from a
    // radio; false before any read and after a failed one. Writing fields that
    // were never read would replace the radio's factory values with zeros.
    bool apc_read_from_radio = false;
    bool adjustment_read_from_radio = false;

    bool operator==(const ServiceData&) const = default;
};

// Carries the bytes of one service transfer.
constexpr std::size_t kServiceBufferSize = 100;
using ServiceBuffer = std::array<uint8_t, kServiceBufferSize>;

using SerialNumber = std::array<uint8_t, 8>;   // up to 8 ASCII digits, padded with zero bytes

// Where an item lives in the radio and how many bytes one transfer moves.
struct ServiceArea {
    uint16_t address;
    uint8_t size;
};
constexpr ServiceArea kApcTuneArea{0x0E20, 32};
constexpr ServiceArea kFirmwareArea{0x0FD0, 16};
constexpr ServiceArea kSerialNumberArea{0x0FE0, 8};
constexpr ServiceArea kAdjustmentArea{0x0FF0, 6};
constexpr ServiceArea kFreqBandArea{0x0FFF, 1};

// Fill the buffer for a write: cleared first, then the item's bytes from the fields.
void GetAdjustmentData(const ServiceData& data, ServiceBuffer& buffer);
void GetApcTuneData(const ServiceData& data, ServiceBuffer& buffer);
void GetSnData(const SerialNumber& sn, ServiceBuffer& buffer);
// The band code of freq_band 0..3; false (and the buffer cleared) for any other value,
// so an unknown band is never sent to the radio.
bool GetFreqBandData(int freqBand, ServiceBuffer& buffer);

// Store the bytes of a completed read into the fields.
void SetAdjustmentData(const ServiceBuffer& buffer, ServiceData& data);
void SetApcTuneData(const ServiceBuffer& buffer, ServiceData& data);
void SetSnData(const ServiceBuffer& buffer, SerialNumber& sn);
void SetFirmWareInforData(const ServiceBuffer& buffer, ServiceData& data);

}   // namespace k3n
