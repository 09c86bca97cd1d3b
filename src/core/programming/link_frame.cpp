// SPDX-License-Identifier: GPL-3.0-or-later
#include "programming/link_frame.h"
#include <cassert>

namespace k3n::link {

namespace {

// Layout: head, length (data + 4), command, address high, address low, count, data, checksum.
Bytes MakeFrame(Command command, uint16_t address, uint8_t count, std::span<const uint8_t> data)
{
    Bytes frame;
    frame.reserve(data.size() + kFrameOverhead);
    for (uint8_t b : {kFrameHead, uint8_t(data.size() + 4), uint8_t(command), uint8_t(address >> 8),
                      uint8_t(address & 0xFF), count})
        frame.push_back(b);
    for (uint8_t b : data)
        frame.push_back(b);
    frame.push_back(Checksum(std::span(frame).subspan(1)));
    return frame;
}

}   // namespace

uint8_t Checksum(std::span<const uint8_t> bytes)
{
    uint8_t sum = 0;
    for (uint8_t b : bytes)
        sum = uint8_t(sum + b);
    return uint8_t(-sum);
}

Bytes GreetingFrame()
{
    return MakeFrame(Command::Greeting, 0, 0, {});
}
Bytes EndFrame()
{
    return MakeFrame(Command::End, 0, 0, {});
}
Bytes ReadRequest(uint16_t address, uint8_t count)
{
    return MakeFrame(Command::ReadMemory, address, count, {});
}

Bytes WriteFrame(uint16_t address, std::span<const uint8_t> data)
{
    assert(!data.empty() && data.size() <= kMaxData);
    return MakeFrame(Command::WriteMemory, address, uint8_t(data.size()), data);
}

}   // namespace k3n::link
