// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The radio data record: the whole configuration of one radio in 3048 bytes,
// laid out exactly as the .fse file. Fields are reached through typed
// descriptors (see record_layout.h), never through a struct overlay.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace k3n {

struct U8Field {
    uint16_t offset;
};
struct U16Field {
    uint16_t offset;
};   // little-endian
struct U32Field {
    uint16_t offset;
};   // little-endian
struct F64Field {
    uint16_t offset;
};   // IEEE-754 double, little-endian
struct BitField {
    uint16_t offset;
    uint8_t shift;
    uint8_t width;
};   // bits within one byte

class RadioRecord {
public:
    static constexpr std::size_t kSize = 3048;

    uint8_t get(U8Field f) const { return bytes_[f.offset]; }
    uint16_t get(U16Field f) const;
    uint32_t get(U32Field f) const;
    double get(F64Field f) const;
    unsigned get(BitField f) const;

    void set(U8Field f, uint8_t v) { bytes_[f.offset] = v; }
    void set(U16Field f, uint16_t v);
    void set(U32Field f, uint32_t v);
    void set(F64Field f, double v);
    void set(BitField f, unsigned v);   // only the field's bits change

    void fill(std::size_t offset, std::size_t length, uint8_t value);
    std::span<uint8_t> slice(std::size_t offset, std::size_t length);
    std::span<const uint8_t> slice(std::size_t offset, std::size_t length) const;

    std::span<uint8_t, kSize> bytes() { return bytes_; }
    std::span<const uint8_t, kSize> bytes() const { return bytes_; }

    bool operator==(const RadioRecord&) const = default;

private:
    std::array<uint8_t, kSize> bytes_{};
};

}   // namespace k3n
