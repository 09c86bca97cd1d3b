// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/radio_record.h"
#include <algorithm>
#include <bit>
#include <cassert>
#include <cstring>

namespace k3n {

uint16_t RadioRecord::get(U16Field f) const
{
    return uint16_t(bytes_[f.offset] | bytes_[f.offset + 1] << 8);
}

uint32_t RadioRecord::get(U32Field f) const
{
    const uint8_t* p = &bytes_[f.offset];
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

double RadioRecord::get(F64Field f) const
{
    uint64_t raw = 0;
    for (int i = 7; i >= 0; --i)
        raw = raw << 8 | bytes_[f.offset + i];
    return std::bit_cast<double>(raw);
}

unsigned RadioRecord::get(BitField f) const
{
    return (bytes_[f.offset] >> f.shift) & ((1u << f.width) - 1);
}

void RadioRecord::set(U16Field f, uint16_t v)
{
    bytes_[f.offset] = uint8_t(v);
    bytes_[f.offset + 1] = uint8_t(v >> 8);
}

void RadioRecord::set(U32Field f, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        bytes_[f.offset + i] = uint8_t(v >> (8 * i));
}

void RadioRecord::set(F64Field f, double v)
{
    uint64_t raw = std::bit_cast<uint64_t>(v);
    for (int i = 0; i < 8; ++i)
        bytes_[f.offset + i] = uint8_t(raw >> (8 * i));
}

void RadioRecord::set(BitField f, unsigned v)
{
    const unsigned mask = ((1u << f.width) - 1) << f.shift;
    bytes_[f.offset] = uint8_t((bytes_[f.offset] & ~mask) | ((v << f.shift) & mask));
}

void RadioRecord::fill(std::size_t offset, std::size_t length, uint8_t value)
{
    assert(offset + length <= kSize);
    std::fill_n(bytes_.begin() + offset, length, value);
}

std::span<uint8_t> RadioRecord::slice(std::size_t offset, std::size_t length)
{
    assert(offset + length <= kSize);
    return std::span<uint8_t>(bytes_).subspan(offset, length);
}

std::span<const uint8_t> RadioRecord::slice(std::size_t offset, std::size_t length) const
{
    assert(offset + length <= kSize);
    return std::span<const uint8_t>(bytes_).subspan(offset, length);
}

}   // namespace k3n
