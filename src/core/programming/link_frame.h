// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Frames of the programming link: what the program sends to the radio and
// the head of what the radio answers.
#include <cstdint>
#include <span>
#include <vector>

namespace k3n::link {

using Bytes = std::vector<uint8_t>;

constexpr uint8_t kFrameHead = 0x57;
constexpr uint8_t kReplyHead = 0x52;
constexpr uint8_t kAck[2] = {0x52, 0x00};   // answer to the greeting and to every write frame
constexpr int kMaxData = 32;   // bytes per write frame or read request
constexpr int kFrameOverhead = 7;   // head, length, command, address (2), count, checksum
constexpr int kReplyOverhead = 3;   // a read reply: head, one byte, the data, one byte

enum class Command : uint8_t {
    Greeting = 0x11,
    WriteMemory = 0x05,
    ReadMemory = 0x04,
    End = 0x12,
};

// Two's complement of the 8-bit sum, so that the summed bytes and the checksum add up to 0.
uint8_t Checksum(std::span<const uint8_t> bytes);

Bytes GreetingFrame();
Bytes EndFrame();
Bytes ReadRequest(uint16_t address, uint8_t count);
Bytes WriteFrame(uint16_t address, std::span<const uint8_t> data);   // 1..32 bytes

}   // namespace k3n::link
