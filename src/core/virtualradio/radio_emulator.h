// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The radio's side of the programming link, without any I/O: takes the bytes
// the program sends and gives back what the radio answers. Its memory holds
// the configuration, channels and the factory areas at the radio's addresses.
#include "programming/link_frame.h"
#include "programming/memory_image.h"
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace k3n {

// How the radio misbehaves once it has answered 'after_frames' frames.
enum class RadioFault {
    None,
    Silent,   // answers nothing more (after_frames 0: never answers)
    WrongAnswer,   // acknowledges with 52 01, read replies start with 00; stores nothing
    HangUp,   // the link goes away (the pseudo-terminal closes)
    AckWithoutStoring,   // acknowledges write frames as usual but keeps nothing of them
    // Busy after each end frame: the next 'after_frames' greetings go unanswered
    // (counted from the end frame, not from the first frame).
    SlowRestart,
    LongReplies,   // every read reply carries two bytes more than asked for
};

struct FaultPlan {
    RadioFault fault = RadioFault::None;
    int after_frames = 0;
    // Only in this session (1 = the first; a session begins with the first greeting after
    // an end frame); 0: in every session.
    int session = 0;
};

// Radio addresses of the factory areas the emulator seeds.
namespace radio_factory {
constexpr uint16_t kFirmwareInfo = 0x0FD0;   // model, band, version: 16-bit each, high byte first
constexpr uint16_t kSerialNumber = radio_addr::kSerialNumber;
constexpr uint16_t kBandCode = radio_addr::kBandCode;
}   // namespace radio_factory

struct ReceivedFrame {
    link::Command command;
    uint16_t address;
    uint8_t count;
    std::vector<uint8_t> data;
    bool operator==(const ReceivedFrame&) const = default;
};

class RadioEmulator {
public:
    RadioEmulator();

    // Factory identity, kept in memory like the real radio keeps it.
    void SetBand(int freqBand);   // 0..3
    void SetSerialNumber(std::span<const uint8_t, 8> serial);
    void SetFirmware(uint16_t model, uint16_t band, uint16_t version);

    void SetFault(FaultPlan plan) { fault_ = plan; }

    // Bytes from the program; returns the radio's answer (possibly empty). Bytes of an
    // incomplete frame are kept for the next call.
    std::vector<uint8_t> Receive(std::span<const uint8_t> bytes);

    // The program let go of the port (or died): the frame it sent half is
    // dropped, and its next greeting begins a new session.
    void ClientGone();

    bool hungUp() const { return hungUp_; }
    bool endSeen() const { return endFrames_ > 0; }
    int endFrames() const { return endFrames_; }
    int sessions() const { return sessions_; }
    int framesAnswered() const { return answered_; }
    // Bad checksum, length, count or address, or noise: each run of dropped bytes counts once.
    int frameErrors() const { return errors_; }
    const std::vector<ReceivedFrame>& frames() const { return frames_; }   // every well-formed frame

    MemoryImage& memory() { return memory_; }
    const MemoryImage& memory() const { return memory_; }

private:
    enum class Parse { NeedMore, Bad, Good };
    Parse ParseFrame(std::size_t& frameSize, ReceivedFrame& frame) const;
    void Answer(const ReceivedFrame& frame, std::vector<uint8_t>& out);
    bool FaultActive(RadioFault fault) const;

    MemoryImage memory_{};
    std::vector<uint8_t> pending_;
    std::vector<ReceivedFrame> frames_;
    FaultPlan fault_;
    int answered_ = 0;
    int errors_ = 0;
    bool resyncing_ = false;
    bool hungUp_ = false;
    int endFrames_ = 0;
    int greetingsToIgnore_ = 0;
    int sessions_ = 0;
    bool inSession_ = false;
};

}   // namespace k3n
