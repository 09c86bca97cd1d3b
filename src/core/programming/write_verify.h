// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The comparison after a write: what the radio holds against what was sent.
// Only bytes a radio must keep count: those a write sends that come from the
// record, and the programming time. Reserved zeros and the radio-state byte may
// read back as anything.
#include "programming/memory_image.h"
#include <QString>
#include <vector>

namespace k3n {

struct ImageDifference {
    uint16_t address;
    uint8_t sent;
    uint8_t found;
    bool operator==(const ImageDifference&) const = default;
};

// The bytes compared: sent by a configuration write and kept by a radio.
const ImageMask& VerifiedImageBytes();

// Every compared byte that differs, in address order.
std::vector<ImageDifference> CompareWrittenImage(const MemoryImage& sent, const MemoryImage& readBack);

// The 32-byte block at 0x0FE0 (serial number, adjustment data, band code): the
// adjustment bytes tell two radios apart even when their serial numbers are empty.
constexpr uint16_t kRadioIdentityAddress = 0x0FE0;
constexpr std::size_t kRadioIdentitySize = 32;
bool SameRadio(const MemoryImage& a, const MemoryImage& b);
// The serial number of an identity block as a person reads it ("unknown" when empty).
QString RadioIdentityText(const MemoryImage& image);

// The bytes a configuration read returns but a write never sends (0x06A6-0x06BF
// and 0x0FE0-0x0FFF) that differ between a backup and a later read of the same
// radio, in address order: none when the backup can be trusted.
std::vector<ImageDifference> CompareUnwrittenBytes(const MemoryImage& backup, const MemoryImage& readBack);

// What an address holds, in the interface language: "Channel 12, RX Freq.", "Key assignment".
QString ImagePlaceName(uint16_t address);

// The first 'count' differences: "0x1001 (Channel 1, RX Freq.), 0x0600 (...)", and how many more.
QString DescribeDifferences(const std::vector<ImageDifference>& differences, std::size_t count = 3);

}   // namespace k3n
