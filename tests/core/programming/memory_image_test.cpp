// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/record_layout.h"
#include "programming/memory_image.h"
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace k3n {
namespace {

const ProgramTime kTime{2024, 3, 7, 9, 5};

using Bytes = std::vector<uint8_t>;

Bytes ImageBytes(const MemoryImage& image, std::size_t offset, std::size_t count)
{
    return {image.begin() + offset, image.begin() + offset + count};
}

// A record whose every byte is noise, then made consistent where the radio
// applies rules (frequencies on the 100 Hz grid, scrambler frequencies in range,
// an emergency choice the radio can express).
RadioData CraftedData(unsigned seed)
{
    RadioData data;
    std::mt19937 rng(seed);
    for (uint8_t& b : data.record.bytes())
        b = uint8_t(rng());
    RadioRecord& r = data.record;
    for (int n = 1; n <= rec::kChannelCount; ++n) {
        r.set(rec::ch::rx_freq(n), 100 * (rng() % 9999999));
        r.set(rec::ch::tx_freq(n), 100 * (rng() % 9999999));
    }
    for (int i = 0; i < rec::kScrambleFreqCount; ++i)
        r.set(rec::scramble_freq(i), uint16_t(2000 + rng() % 2000));
    r.set(rec::talk_around, 1);
    for (U8Field key : {rec::key2_press, rec::key2_hold, rec::key3_press, rec::key3_hold})
        r.set(key, uint8_t(rng() % 14));
    r.set(rec::priority_channel, 10);
    r.set(rec::home_channel, 20);
    r.set(rec::emergency_channel_select, 3);
    r.set(rec::emergency_designated_channel, 30);
    r.set(rec::emergency_mode, uint8_t(r.get(rec::emergency_mode) & ~0x04));
    r.set(rec::freq_band, 2);
    return data;
}

TEST(MemoryImage, PackedDecimalFrequenciesAndChannelBytesInRadioOrder)
{
    const uint8_t bytes[4] = {0x04, 0x70, 0x00, 0x00};
    EXPECT_EQ(DecodePackedFrequency(bytes), 470000000u);
    // Nibbles above 9 are taken as they are: 0x1A reads as 1*10 + 10 = 20.
    const uint8_t odd[4] = {0x00, 0x00, 0x00, 0x1A};
    EXPECT_EQ(DecodePackedFrequency(odd), 2000u);

    RadioData data;
    RadioRecord& r = data.record;
    r.set(rec::ch::flags_1(3), 0x11);
    r.set(rec::ch::flags_2(3), 0x22);
    r.set(rec::ch::signaling(3), 0x33);
    r.set(rec::ch::rx_subaudio(3), 0x44);
    r.set(rec::ch::tx_subaudio(3), 0x55);
    r.set(rec::ch::squelch(3), 0x66);
    r.set(rec::ch::scramble_no(3), 0x77);
    r.set(rec::ch::rx_freq(3), 136025000);
    r.set(rec::ch::tx_freq(3), 136025050);   // loses its 50 Hz on the way to the radio and back
    r.set(rec::ch::rx_freq(128), 470000000);
    const MemoryImage image = GetDataForWrite(data, kTime);
    EXPECT_EQ(ImageBytes(image, 0x1020, 16),
              (Bytes{0x11, 0x01, 0x36, 0x02, 0x50, 0x01, 0x36, 0x02, 0x50, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x00}));
    EXPECT_EQ(ImageBytes(image, 0x17F1, 4), (Bytes{0x04, 0x70, 0x00, 0x00}));

    RadioData back;
    SetDataToSoftware(image, back);
    EXPECT_EQ(back.record.get(rec::ch::rx_freq(3)), 136025000u);
    EXPECT_EQ(back.record.get(rec::ch::tx_freq(3)), 136025000u);
}

TEST(MemoryImage, TalkAroundKeySubstitution)
{
    RadioData data;
    RadioRecord& r = data.record;
    r.set(rec::talk_around, 1);
    r.set(rec::key2_press, 16);
    r.set(rec::key2_hold, 14);
    r.set(rec::key3_press, 13);   // not a talk-around code: copied
    r.set(rec::key1_press, 16);   // key 1 is copied as it is
    r.set(rec::key2_power_on, 16);   // so are the power-on fields
    MemoryImage image = GetDataForWrite(data, kTime);
    EXPECT_EQ(ImageBytes(image, 0x623, 4), (Bytes{15, 15, 16, 13}));   // key 2 press, hold, power-on; key 3
    EXPECT_EQ(image[0x620], 16);

    RadioData back;
    SetDataToSoftware(image, back);
    EXPECT_EQ(back.record.get(rec::key2_press), 15);
    EXPECT_EQ(back.record.get(rec::key2_hold), 15);
    EXPECT_EQ(back.record.get(rec::key2_power_on), 16);

    r.set(rec::talk_around, 3);
    r.set(rec::key3_hold, 14);
    image = GetDataForWrite(data, kTime);
    EXPECT_EQ(image[0x627], 0xFF);
    EXPECT_EQ(image[0x623], 0xFF);
}

TEST(MemoryImage, EmergencyChannelByte)
{
    RadioData data;
    RadioRecord& r = data.record;
    r.set(rec::priority_channel, 4);
    r.set(rec::home_channel, 7);
    r.set(rec::emergency_designated_channel, 9);
    const struct {
        uint8_t select;
        uint8_t byte;
    } builds[] = {{0, 4}, {1, 7}, {2, 0}, {3, 9}};
    for (const auto& b : builds) {
        r.set(rec::emergency_channel_select, b.select);
        EXPECT_EQ(GetDataForWrite(data, kTime)[0x660], b.byte) << "select " << int(b.select);
    }

    // Choice 2 (byte 0, bit 2 of the mode byte) reads back as 2 while priority and home are not 0;
    // choice 3 brings the designated channel back, the others leave it alone.
    const struct {
        uint8_t priority, select, mode, readSelect, readDesignated;
    } reads[] = {{4, 2, 0x05, 2, 55}, {0, 2, 0x05, 0, 55}, {4, 3, 0x01, 3, 9}};
    for (const auto& c : reads) {
        SCOPED_TRACE(int(c.select));
        r.set(rec::priority_channel, c.priority);
        r.set(rec::emergency_channel_select, c.select);
        r.set(rec::emergency_mode, c.mode);
        const MemoryImage image = GetDataForWrite(data, kTime);
        EXPECT_EQ(image[0x66B], c.mode);
        RadioData back;
        back.record.set(rec::emergency_designated_channel, 55);
        SetDataToSoftware(image, back);
        EXPECT_EQ(back.record.get(rec::emergency_channel_select), c.readSelect);
        EXPECT_EQ(back.record.get(rec::emergency_designated_channel), c.readDesignated);
    }
}

TEST(MemoryImage, ScramblerWords)
{
    RadioData data;
    data.record.set(rec::scramble_freq(0), 2632);
    data.record.set(rec::scramble_freq(15), 3496);
    const MemoryImage image = GetDataForWrite(data, kTime);
    EXPECT_EQ(ImageBytes(image, 0x680, 2), (Bytes{0x13, 0x1C}));   // 7187 low byte first
    EXPECT_EQ(ImageBytes(image, 0x69E, 2), (Bytes{0x4A, 0x25}));   // 9546
    EXPECT_EQ(ScramblerFreqOf(9546), 3496);
    for (uint16_t f = 1000; f < 6000; ++f)
        ASSERT_EQ(ScramblerFreqOf(ScramblerWordOf(f)), f);
}

TEST(MemoryImage, DateSerialNumberAndBand)
{
    RadioData data;
    MemoryImage image = GetDataForWrite(data, kTime);
    EXPECT_EQ(ImageBytes(image, 0x6A0, 6), (Bytes{0x07, 0xE8, 0x03, 0x07, 0x09, 0x05}));
    // Nothing past the configuration and before the channels, not even serial number or band.
    const auto zero = [](uint8_t b) { return b == 0; };
    EXPECT_TRUE(std::all_of(image.begin() + 0x6A6, image.begin() + 0x1000, zero));
    EXPECT_TRUE(std::all_of(image.begin() + 0x1800, image.end(), zero));

    const uint8_t serial[8] = {'1', '2', '3', '4', '5', '6', '7', '8'};
    std::copy(serial, serial + 8, image.begin() + 0xFE0);
    image[0x6A0] = 0x07;
    image[0x6A1] = 0xE9;
    SetDataToSoftware(image, data);
    EXPECT_EQ(data.last_program_time, (ProgramTime{2025, 3, 7, 9, 5}));
    EXPECT_TRUE(std::equal(serial, serial + 8, data.radio_serial_number.begin()));

    const struct {
        uint8_t code;
        int band;
    } codes[] = {{0x00, 0}, {0x01, 1}, {0x80, 2}, {0x42, 2}, {0x81, 3}, {0xFF, 3}};
    for (const auto& c : codes) {
        image[0xFFF] = c.code;
        SetDataToSoftware(image, data);
        EXPECT_EQ(data.record.get(rec::freq_band), c.band) << "code " << int(c.code);
    }
}

TEST(MemoryImage, SignallingEntriesReordered)
{
    RadioData data;
    RadioRecord& r = data.record;
    const auto countUp = [&r](int offset, int size, uint8_t first) {
        for (int k = 0; k < size; ++k)
            r.bytes()[offset + k] = uint8_t(first + k);
    };
    countUp(rec::five_tone::system(2), rec::five_tone::kSystemSize, 0xA0);
    countUp(rec::dtmf::system(8), rec::dtmf::kSystemSize, 0xB0);
    countUp(rec::two_tone::system(16), rec::two_tone::kSystemSize, 0xC0);
    r.set(rec::five_tone::lead_in, 0x1234);
    r.set(rec::five_tone::flags, 0x5A);
    r.set(rec::dtmf::lead_out, 0xBEEF);
    r.set(rec::dtmf::flags, 0x3C);
    r.set(rec::tot, 0x0102);
    r.set(rec::channel_group, 6);
    r.set(rec::voice, 1);
    r.set(rec::scan_flags, 0x81);

    const MemoryImage image = GetDataForWrite(data, kTime);
    EXPECT_EQ(ImageBytes(image, 0x108, 8), (Bytes{0xA4, 0xA5, 0xA1, 0xA2, 0xA3, 0xA6, 0xA7, 0xA0}));
    EXPECT_EQ(ImageBytes(image, 0x338, 8), (Bytes{0xB3, 0xB4, 0xB0, 0xB1, 0xB2, 0xB5, 0x00, 0x00}));
    EXPECT_EQ(ImageBytes(image, 0x087, 9), (Bytes{0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC8, 0xC9}));
    EXPECT_EQ(ImageBytes(image, 0x2C0, 2), (Bytes{0x34, 0x12}));
    EXPECT_EQ(image[0x2D7], 0x5A);
    EXPECT_EQ(ImageBytes(image, 0x422, 2), (Bytes{0xEF, 0xBE}));
    EXPECT_EQ(image[0x42F], 0x3C);
    EXPECT_EQ(ImageBytes(image, 0x600, 2), (Bytes{0x02, 0x01}));
    EXPECT_EQ(image[0x615], 6);
    EXPECT_EQ(image[0x616], 1);
    EXPECT_EQ(image[0x648], 0x81);
}

TEST(MemoryImage, CraftedRecordsSurviveTheRoundTrip)
{
    for (unsigned seed : {1u, 2u, 3u}) {
        const RadioData source = CraftedData(seed);
        const MemoryImage image = GetDataForWrite(source, kTime);
        MemoryImage radio = image;   // the radio adds its band code
        radio[0xFFF] = 0x80;

        // The target differs in what the radio does not hold; a read must leave exactly that alone.
        RadioData target = source;
        RadioRecord& t = target.record;
        t.set(rec::user_ctcss_freq, 123.4);
        t.set(rec::user_dcs_code, 0x0177);
        t.set(rec::talk_around, 2);
        t.bytes()[rec::two_tone::system(5) + 7] ^= 0xFF;   // two-tone byte +7
        t.bytes()[rec::five_tone::auto_reset.offset + 1] ^= 0xFF;   // five-tone reserved
        t.bytes()[rec::ch::scramble_no(9).offset + 1] ^= 0xFF;   // channel reserved
        t.bytes()[rec::two_tone::call_2.offset + 1] ^= 0xFF;   // two-tone reserved
        const RadioRecord untouched = t;

        for (int n = 1; n <= rec::kChannelCount; ++n) {   // disturb what the read must restore
            t.set(rec::ch::rx_freq(n), 1);
            t.set(rec::ch::flags_2(n), uint8_t(~source.record.get(rec::ch::flags_2(n))));
        }
        t.set(rec::freq_band, 0);
        t.set(rec::emergency_channel_select, 0);
        t.fill(rec::five_tone::encode(0), 5 * 32, 0xEE);

        SetDataToSoftware(radio, target);
        EXPECT_EQ(target.record, untouched) << "seed " << seed;
        EXPECT_EQ(target.last_program_time, kTime);

        // Building again from what was read gives the same image.
        EXPECT_EQ(GetDataForWrite(target, kTime), image) << "seed " << seed;
    }
}

}   // namespace
}   // namespace k3n
