// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The radio's memory image: 8192 bytes laid out as the radio keeps them.
// Built from the record before every write, converted back after a read.
// Image offset and radio address are the same number.
#include "model/radio_data.h"
#include <array>
#include <bitset>
#include <cstdint>

namespace k3n {

constexpr std::size_t kMemoryImageSize = 8192;
using MemoryImage = std::array<uint8_t, kMemoryImageSize>;

// Radio addresses of the areas the program knows.
namespace radio_addr {
constexpr uint16_t kConfigEnd = 0x06A6;   // configuration: 0x0000 up to here
constexpr uint16_t kScramblerWords = 0x0680;
constexpr uint16_t kProgramTime = 0x06A0;   // 6 bytes
constexpr uint16_t kRadioState = 0x0F28;   // 1 byte, written 0 with every configuration
constexpr uint16_t kSerialNumber = 0x0FE0;   // 8 bytes
constexpr uint16_t kBandCode = 0x0FFF;   // 1 byte
constexpr uint16_t kChannels = 0x1000;   // 128 x 16 bytes
constexpr uint16_t kChannelsEnd = 0x1800;
}   // namespace radio_addr

// Record -> image. Clears the image, then fills the configuration and channel
// areas; 'now' is the programming time written at 0x06A0. The serial number and
// band code are left zero (they travel only by their own transfers).
void GetDataForWrite(const RadioData& data, const ProgramTime& now, MemoryImage& image);
MemoryImage GetDataForWrite(const RadioData& data, const ProgramTime& now);

// The image bytes GetDataForWrite fills from the record: not the programming time,
// nor the bytes it always leaves 0.
using ImageMask = std::bitset<kMemoryImageSize>;
const ImageMask& ImageBytesFromRecord();

// Image -> record and companion state (serial number, programming time), only
// the fields the radio holds. The caller selects the band limits afterwards.
void SetDataToSoftware(const MemoryImage& image, RadioData& data);

// The local date and time of the machine, as written into the radio.
ProgramTime LocalProgramTimeNow();

// Packed decimal frequencies: Hz / 100 as 8 digits, most significant first.
void EncodePackedFrequency(uint32_t hz, uint8_t* out4);
uint32_t DecodePackedFrequency(const uint8_t* in4);

// Scrambler frequency <-> the radio's scrambler word.
uint16_t ScramblerWordOf(uint16_t freq);
uint16_t ScramblerFreqOf(uint16_t word);

}   // namespace k3n
