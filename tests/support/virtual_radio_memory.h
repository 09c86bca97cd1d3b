// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Setting up what a virtual or emulated radio holds, and counting what was written into it.
#include "programming/memory_image.h"
#include "virtualradio/virtual_radio.h"

namespace k3n::test {

// The radio holds 'data' as a write leaves it; its factory areas (serial number, band) stay.
template <class Radio> void HoldConfiguration(Radio& radio, const RadioData& data)
{
    MemoryImage memory = radio.memory();
    const MemoryImage written = GetDataForWrite(data, ProgramTime{2025, 1, 2, 3, 4});
    for (std::size_t i = 0; i < kMemoryImageSize; ++i)
        if (ImageBytesFromRecord()[i])
            memory[i] = written[i];
    radio.setMemory(memory);
}

// The write frames the radio received.
template <class Radio> std::size_t WriteFrameCount(const Radio& radio)
{
    std::size_t n = 0;
    for (const ReceivedFrame& f : radio.frames())
        n += f.command == link::Command::WriteMemory;
    return n;
}

}   // namespace k3n::test
