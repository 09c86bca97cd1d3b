// SPDX-License-Identifier: GPL-3.0-or-later
#include "virtualradio/radio_emulator.h"
#include "model/radio_data.h"
#include <algorithm>

namespace k3n {

namespace {

constexpr std::size_t kHeaderSize = 6;   // head, length, command, address (2), count

bool FitsMemory(uint16_t address, uint8_t count)
{
    return count >= 1 && count <= link::kMaxData && address + count <= int(kMemoryImageSize);
}

}   // namespace

RadioEmulator::RadioEmulator()
{
    SetBand(0);
}

void RadioEmulator::SetBand(int freqBand)
{
    memory_[radio_factory::kBandCode] = BandRadioCode(std::clamp(freqBand, 0, kBandCount - 1));
}

void RadioEmulator::SetSerialNumber(std::span<const uint8_t, 8> serial)
{
    std::copy(serial.begin(), serial.end(), memory_.begin() + radio_factory::kSerialNumber);
}

void RadioEmulator::SetFirmware(uint16_t model, uint16_t band, uint16_t version)
{
    uint8_t* info = &memory_[radio_factory::kFirmwareInfo];
    for (uint16_t value : {model, band, version}) {
        *info++ = uint8_t(value >> 8);
        *info++ = uint8_t(value & 0xFF);
    }
}

std::vector<uint8_t> RadioEmulator::Receive(std::span<const uint8_t> bytes)
{
    std::vector<uint8_t> out;
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    while (!pending_.empty() && !hungUp_) {
        if (pending_[0] != link::kFrameHead) {   // noise between frames
            const auto head = std::find(pending_.begin(), pending_.end(), link::kFrameHead);
            pending_.erase(pending_.begin(), head);
            if (!resyncing_)
                ++errors_;
            resyncing_ = true;
            continue;
        }
        std::size_t size = 0;
        ReceivedFrame frame;
        const Parse result = ParseFrame(size, frame);
        if (result == Parse::NeedMore)
            break;
        if (result == Parse::Bad) {   // drop the head byte and look for the next frame
            pending_.erase(pending_.begin());
            if (!resyncing_)
                ++errors_;
            resyncing_ = true;
            continue;
        }
        resyncing_ = false;
        pending_.erase(pending_.begin(), pending_.begin() + std::ptrdiff_t(size));
        frames_.push_back(frame);
        Answer(frame, out);
    }
    if (hungUp_)
        pending_.clear();
    if (pending_.empty())
        resyncing_ = false;
    return out;
}

void RadioEmulator::ClientGone()
{
    pending_.clear();
    resyncing_ = false;
    inSession_ = false;
}

RadioEmulator::Parse RadioEmulator::ParseFrame(std::size_t& frameSize, ReceivedFrame& frame) const
{
    if (pending_.size() < 2)
        return Parse::NeedMore;
    const uint8_t length = pending_[1];
    if (length < 4 || length > 4 + link::kMaxData)
        return Parse::Bad;
    frameSize = std::size_t(length) + 3;
    if (pending_.size() < frameSize)
        return Parse::NeedMore;
    const auto body = std::span(pending_).subspan(1, frameSize - 2);
    if (link::Checksum(body) != pending_[frameSize - 1])
        return Parse::Bad;

    frame.command = link::Command(pending_[2]);
    frame.address = uint16_t(pending_[3] << 8 | pending_[4]);
    frame.count = pending_[5];
    const std::size_t dataSize = length - 4u;
    frame.data.assign(pending_.begin() + kHeaderSize, pending_.begin() + std::ptrdiff_t(kHeaderSize + dataSize));

    switch (frame.command) {
    case link::Command::Greeting:
    case link::Command::End: return dataSize == 0 && frame.count == 0 && frame.address == 0 ? Parse::Good : Parse::Bad;
    case link::Command::ReadMemory:
        return dataSize == 0 && FitsMemory(frame.address, frame.count) ? Parse::Good : Parse::Bad;
    case link::Command::WriteMemory:
        return dataSize == frame.count && FitsMemory(frame.address, frame.count) ? Parse::Good : Parse::Bad;
    }
    return Parse::Bad;
}

bool RadioEmulator::FaultActive(RadioFault fault) const
{
    return fault_.fault == fault && answered_ >= fault_.after_frames
        && (fault_.session == 0 || fault_.session == sessions_);
}

void RadioEmulator::Answer(const ReceivedFrame& frame, std::vector<uint8_t>& out)
{
    if (frame.command == link::Command::Greeting && !inSession_) {
        inSession_ = true;
        ++sessions_;
    }
    if (frame.command == link::Command::End) {   // not answered
        ++endFrames_;
        inSession_ = false;
        if (fault_.fault == RadioFault::SlowRestart)
            greetingsToIgnore_ = fault_.after_frames;
        return;
    }
    if (frame.command == link::Command::Greeting && greetingsToIgnore_ > 0) {
        --greetingsToIgnore_;
        return;
    }
    if (FaultActive(RadioFault::HangUp)) {
        hungUp_ = true;
        return;
    }
    if (FaultActive(RadioFault::Silent))
        return;
    const bool wrong = FaultActive(RadioFault::WrongAnswer);
    ++answered_;

    switch (frame.command) {
    case link::Command::Greeting:
    case link::Command::WriteMemory:
        if (frame.command == link::Command::WriteMemory && !wrong && !FaultActive(RadioFault::AckWithoutStoring))
            std::copy(frame.data.begin(), frame.data.end(), memory_.begin() + frame.address);
        out.push_back(link::kAck[0]);
        out.push_back(wrong ? 0x01 : link::kAck[1]);
        return;
    case link::Command::ReadMemory: {
        // Head, the count, the data, and a checksum over count and data.
        const std::size_t start = out.size();
        out.push_back(wrong ? 0x00 : link::kReplyHead);
        out.push_back(frame.count);
        out.insert(out.end(), memory_.begin() + frame.address, memory_.begin() + frame.address + frame.count);
        out.push_back(link::Checksum(std::span(out).subspan(start + 1)));
        if (FaultActive(RadioFault::LongReplies))
            out.insert(out.end(), {0x52, 0x00});
        return;
    }
    case link::Command::End: return;
    }
}

}   // namespace k3n
