// SPDX-License-Identifier: GPL-3.0-or-later
#include "programming/memory_image.h"
#include "model/key_codes.h"
#include "model/record_layout.h"
#include <ctime>
#include <initializer_list>
#include <vector>

namespace k3n {

namespace {

// One byte that is copied unchanged between the image and the record, in both
// directions. Everything the radio keeps verbatim is listed here once.
struct ByteRoute {
    uint16_t image;
    uint16_t record;
};

class RouteTable {
public:
    void run(uint16_t image, uint16_t record, int count)
    {
        for (int k = 0; k < count; ++k)
            routes_.push_back({uint16_t(image + k), uint16_t(record + k)});
    }
    // Image bytes image, image+1, ... take the record bytes recordBase + each offset.
    void ordered(uint16_t image, uint16_t recordBase, std::initializer_list<int> offsets)
    {
        for (int off : offsets)
            routes_.push_back({image++, uint16_t(recordBase + off)});
    }
    void fields(uint16_t image, std::initializer_list<uint16_t> recordOffsets)
    {
        for (uint16_t r : recordOffsets)
            routes_.push_back({image++, r});
    }
    std::vector<ByteRoute> take() { return std::move(routes_); }

private:
    std::vector<ByteRoute> routes_;
};

constexpr uint16_t kTwoToneSystems = 0x000, kTwoToneDecode = 0x090, kTwoToneEncode = 0x0A0, kTwoToneHeader = 0x0C0;
constexpr uint16_t kFiveToneSystems = 0x100, kFiveToneDecode = 0x180, kFiveToneEncode = 0x200, kFiveToneHeader = 0x2C0;
constexpr uint16_t kDtmfSystems = 0x300, kDtmfDecode = 0x340, kDtmfEncode = 0x380, kDtmfHeader = 0x420;
constexpr uint16_t kGeneralBlock = 0x600, kChannelGroup = 0x615, kVoice = 0x616;
constexpr uint16_t kKeyBlock = 0x620, kScanBlock = 0x640, kEmergencyBlock = 0x660;
constexpr int kImageChannelSize = 16;

constexpr uint16_t imageChannel(int n)
{
    return uint16_t(radio_addr::kChannels + kImageChannelSize * (n - 1));
}
// Image offset of a key block field (the block keeps the record's order).
constexpr uint16_t imageKey(U8Field f)
{
    return uint16_t(kKeyBlock + f.offset - rec::key1_press.offset);
}

std::vector<ByteRoute> BuildRoutes()
{
    using namespace rec;
    RouteTable t;

    for (int i = 1; i <= two_tone::kSystemCount; ++i)   // byte +7 is not carried
        t.ordered(uint16_t(kTwoToneSystems + 9 * (i - 1)), two_tone::system(i), {0, 1, 2, 3, 4, 5, 6, 8, 9});
    t.run(kTwoToneDecode, two_tone::decode(0).offset, two_tone::kDecodeCount);
    t.run(kTwoToneEncode, two_tone::encode(0).offset, two_tone::kEncodeCount);
    t.run(kTwoToneHeader, two_tone::lead_in.offset, 6);   // lead in, lead out, call 1, call 2

    for (int i = 1; i <= five_tone::kSystemCount; ++i)
        t.ordered(uint16_t(kFiveToneSystems + 8 * (i - 1)), five_tone::system(i), {4, 5, 1, 2, 3, 6, 7, 0});
    for (int i = 0; i < five_tone::kDecodeCount; ++i)
        t.run(uint16_t(kFiveToneDecode + 8 * i), five_tone::decode(i), five_tone::kDecodeSize);
    for (int i = 0; i < five_tone::kEncodeCount; ++i)
        t.run(uint16_t(kFiveToneEncode + 6 * i), five_tone::encode(i), five_tone::kEncodeSize);
    t.fields(kFiveToneHeader,
             {five_tone::lead_in.offset,
              uint16_t(five_tone::lead_in.offset + 1),
              five_tone::lead_out.offset,
              uint16_t(five_tone::lead_out.offset + 1),
              five_tone::call_1.offset,
              five_tone::call_2.offset,
              five_tone::header_extra,
              uint16_t(five_tone::header_extra + 1),
              five_tone::group_tone.offset,
              five_tone::repeat_tone.offset,
              five_tone::last_gap_tone.offset,
              five_tone::ani_lock.offset,
              five_tone::auto_reset.offset,
              five_tone::trans_delay_time.offset,
              five_tone::clear_trans_delay_time.offset,
              five_tone::extended_1st.offset,
              five_tone::extended_2nd.offset,
              five_tone::last_gap_time.offset,
              five_tone::last_2nd_gap_time.offset,
              five_tone::ack_retry.offset,
              five_tone::ack_decode_time.offset,
              five_tone::id_decode_time.offset,
              five_tone::auto_tx_time.offset,
              five_tone::flags.offset});

    for (int i = 1; i <= dtmf::kSystemCount; ++i)
        t.ordered(uint16_t(kDtmfSystems + 8 * (i - 1)), dtmf::system(i), {3, 4, 0, 1, 2, 5});
    for (int i = 0; i < dtmf::kDecodeCount; ++i)
        t.run(uint16_t(kDtmfDecode + 8 * i), dtmf::decode(i), dtmf::kDecodeSize);
    for (int i = 0; i < dtmf::kEncodeCount; ++i)
        t.run(uint16_t(kDtmfEncode + 14 * i), dtmf::encode(i), dtmf::kEncodeSize);
    t.fields(kDtmfHeader,
             {dtmf::lead_in.offset, uint16_t(dtmf::lead_in.offset + 1), dtmf::lead_out.offset,
              uint16_t(dtmf::lead_out.offset + 1), dtmf::call_1.offset, dtmf::call_2.offset, dtmf::header_extra,
              uint16_t(dtmf::header_extra + 1), dtmf::tone_speed.offset, dtmf::group_tone.offset, dtmf::gap_tone.offset,
              dtmf::ani_lock.offset, dtmf::auto_reset.offset, dtmf::pause_tone.offset, dtmf::pause_time.offset,
              dtmf::flags.offset});

    // tot (2), toa (2), burst tone ... general flags 2: 11 bytes in record order
    t.run(kGeneralBlock, tot.offset, general_flags_2.offset - tot.offset + 1);
    t.fields(kChannelGroup, {channel_group.offset});
    t.fields(kVoice, {voice.offset});

    t.run(kKeyBlock, key1_press.offset, emergency_hold_time.offset - key1_press.offset + 1);
    t.run(kScanBlock, scan_resume_time_rx.offset, scan_flags.offset - scan_resume_time_rx.offset + 1);

    // 0x660 is the emergency channel byte (built by rule); 0 marks reserved bytes.
    t.fields(kEmergencyBlock + 1, {emergency_active_time.offset});
    t.fields(kEmergencyBlock + 3,
             {emergency_rx_time.offset, emergency_tx_time.offset, emergency_siren_time.offset,
              emergency_response_time.offset});
    t.fields(kEmergencyBlock + 8, {emergency_reminder_time.offset});
    t.fields(kEmergencyBlock + 10, {emergency_signaling.offset, emergency_mode.offset});

    for (int n = 1; n <= kChannelCount; ++n) {
        const uint16_t base = imageChannel(n);
        t.fields(base, {ch::flags_1(n).offset});
        t.fields(uint16_t(base + 9),
                 {ch::flags_2(n).offset, ch::signaling(n).offset, ch::rx_subaudio(n).offset, ch::tx_subaudio(n).offset,
                  ch::squelch(n).offset, ch::scramble_no(n).offset});
    }
    return t.take();
}

const std::vector<ByteRoute>& Routes()
{
    static const std::vector<ByteRoute> routes = BuildRoutes();
    return routes;
}

// Key codes 14..16 all mean "talk around"; the radio takes the one the talk-around setting picks.
uint8_t KeyCodeForRadio(uint8_t code, uint8_t talkAround)
{
    return IsTalkAroundKeyCode(code) ? TalkAroundKeyCode(talkAround) : code;
}

uint8_t EmergencyChannelByte(const RadioRecord& r)
{
    switch (r.get(rec::emergency_channel_select)) {
    case 0: return r.get(rec::priority_channel);
    case 1: return r.get(rec::home_channel);
    case 2: return 0;
    default: return r.get(rec::emergency_designated_channel);   // 3, and values the editor never makes
    }
}

void ReadEmergencyChannelByte(uint8_t v, RadioRecord& r)
{
    if (v == r.get(rec::priority_channel))
        r.set(rec::emergency_channel_select, 0);
    else if (v == r.get(rec::home_channel))
        r.set(rec::emergency_channel_select, 1);
    else if (r.get(rec::emergency_mode) & 0x04)
        r.set(rec::emergency_channel_select, 2);
    else {
        r.set(rec::emergency_channel_select, 3);
        r.set(rec::emergency_designated_channel, v);
    }
}

}   // namespace

void EncodePackedFrequency(uint32_t hz, uint8_t* out4)
{
    uint32_t v = hz / 100;
    for (int i = 3; i >= 0; --i) {
        const uint8_t low = v % 10;
        v /= 10;
        const uint8_t high = v % 10;
        v /= 10;
        out4[i] = uint8_t(high << 4 | low);
    }
}

uint32_t DecodePackedFrequency(const uint8_t* in4)
{
    uint32_t v = 0;   // nibbles are taken as digits unchecked, as the radio's own software does
    for (int i = 0; i < 4; ++i)
        v = v * 100 + (in4[i] >> 4) * 10 + (in4[i] & 0x0F);
    return v * 100;
}

uint16_t ScramblerWordOf(uint16_t freq)
{
    constexpr long double kFactor = 1.3653741125068268L;   // 1 / 0.7324
    return uint16_t(2.0L * freq * kFactor);
}

uint16_t ScramblerFreqOf(uint16_t word)
{
    return uint16_t(word * 0.7324 * 0.5 + 0.5);
}

const ImageMask& ImageBytesFromRecord()
{
    static const ImageMask mask = [] {
        ImageMask m;
        for (const ByteRoute& route : Routes())
            m.set(route.image);
        m.set(kEmergencyBlock);
        for (int i = 0; i < 2 * rec::kScrambleFreqCount; ++i)
            m.set(radio_addr::kScramblerWords + i);
        for (int n = 1; n <= rec::kChannelCount; ++n)
            for (int i = 1; i <= 8; ++i)   // receive and transmit frequency
                m.set(imageChannel(n) + i);
        return m;
    }();
    return mask;
}

void GetDataForWrite(const RadioData& data, const ProgramTime& now, MemoryImage& image)
{
    const RadioRecord& r = data.record;
    image.fill(0);
    for (const ByteRoute& route : Routes())
        image[route.image] = r.bytes()[route.record];

    const uint8_t talkAround = r.get(rec::talk_around);
    for (U8Field key : {rec::key2_press, rec::key2_hold, rec::key3_press, rec::key3_hold})
        image[imageKey(key)] = KeyCodeForRadio(r.get(key), talkAround);

    image[kEmergencyBlock] = EmergencyChannelByte(r);

    for (int i = 0; i < rec::kScrambleFreqCount; ++i) {
        const uint16_t word = ScramblerWordOf(r.get(rec::scramble_freq(i)));
        image[radio_addr::kScramblerWords + 2 * i] = uint8_t(word & 0xFF);
        image[radio_addr::kScramblerWords + 2 * i + 1] = uint8_t(word >> 8);
    }

    uint8_t* time = &image[radio_addr::kProgramTime];
    time[0] = uint8_t(now.year >> 8);
    time[1] = uint8_t(now.year & 0xFF);
    time[2] = now.month;
    time[3] = now.day;
    time[4] = now.hour;
    time[5] = now.minute;

    for (int n = 1; n <= rec::kChannelCount; ++n) {
        EncodePackedFrequency(r.get(rec::ch::rx_freq(n)), &image[imageChannel(n) + 1]);
        EncodePackedFrequency(r.get(rec::ch::tx_freq(n)), &image[imageChannel(n) + 5]);
    }
}

MemoryImage GetDataForWrite(const RadioData& data, const ProgramTime& now)
{
    MemoryImage image;
    GetDataForWrite(data, now, image);
    return image;
}

void SetDataToSoftware(const MemoryImage& image, RadioData& data)
{
    RadioRecord& r = data.record;
    for (const ByteRoute& route : Routes())
        r.bytes()[route.record] = image[route.image];

    // Needs the scan block and the emergency mode byte taken above.
    ReadEmergencyChannelByte(image[kEmergencyBlock], r);

    for (int i = 0; i < rec::kScrambleFreqCount; ++i) {
        const uint16_t word =
            uint16_t(image[radio_addr::kScramblerWords + 2 * i] | image[radio_addr::kScramblerWords + 2 * i + 1] << 8);
        r.set(rec::scramble_freq(i), ScramblerFreqOf(word));
    }

    const uint8_t* time = &image[radio_addr::kProgramTime];
    data.last_program_time = {uint16_t(time[0] * 256 + time[1]), time[2], time[3], time[4], time[5]};

    for (std::size_t i = 0; i < data.radio_serial_number.size(); ++i)
        data.radio_serial_number[i] = image[radio_addr::kSerialNumber + i];

    for (int band = 0; band < kBandCount; ++band)
        if (image[radio_addr::kBandCode] == BandRadioCode(band))
            r.set(rec::freq_band, uint8_t(band));

    for (int n = 1; n <= rec::kChannelCount; ++n) {
        r.set(rec::ch::rx_freq(n), DecodePackedFrequency(&image[imageChannel(n) + 1]));
        r.set(rec::ch::tx_freq(n), DecodePackedFrequency(&image[imageChannel(n) + 5]));
    }
}

ProgramTime LocalProgramTimeNow()
{
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return {uint16_t(local.tm_year + 1900), uint8_t(local.tm_mon + 1), uint8_t(local.tm_mday), uint8_t(local.tm_hour),
            uint8_t(local.tm_min)};
}

}   // namespace k3n
