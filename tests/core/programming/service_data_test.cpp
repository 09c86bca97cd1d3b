// SPDX-License-Identifier: GPL-3.0-or-later
#include "programming/service_data.h"
#include <gtest/gtest.h>
#include <vector>

using namespace k3n;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Head(const ServiceBuffer& b, std::size_t n)
{
    return {b.begin(), b.begin() + n};
}

bool ZeroFrom(const ServiceBuffer& b, std::size_t from)
{
    return std::all_of(b.begin() + from, b.end(), [](uint8_t v) { return v == 0; });
}

// A buffer left dirty, so that a fill that does not clear it first is caught.
ServiceBuffer DirtyBuffer()
{
    ServiceBuffer b;
    b.fill(0xEE);
    return b;
}

TEST(ServiceData, AdjustmentBytesInWireOrderAndUntransferredFieldsIgnored)
{
    ServiceData d;
    d.adj_mic_input = 1;
    d.adj_mod_output = 2;
    d.adj_mod_fine_output_gain = 16383;
    d.adj_disc_input = 3;
    d.adj_audio_output = 4;
    // The limit, the CTCSS level and the CTCSS frequency have no place in the radio.
    d.adj_max_mod_limit = 16383;
    d.adj_ctcss_level = 4095;
    d.adj_ctcss_freq = 77;

    ServiceBuffer b = DirtyBuffer();
    GetAdjustmentData(d, b);
    EXPECT_EQ(Head(b, kAdjustmentArea.size), (Bytes{0x01, 0x02, 0xFF, 0x3F, 0x03, 0x04}));
    EXPECT_TRUE(ZeroFrom(b, kAdjustmentArea.size));

    // Reading the bytes back gives the transferred fields and leaves the others alone.
    ServiceData back;
    back.adj_max_mod_limit = 555;
    back.adj_ctcss_level = 66;
    back.adj_ctcss_freq = 5;
    SetAdjustmentData(b, back);
    ServiceData expected = d;
    expected.adj_max_mod_limit = 555;
    expected.adj_ctcss_level = 66;
    expected.adj_ctcss_freq = 5;
    EXPECT_EQ(back, expected);
}

TEST(ServiceData, PowerTuningLayoutOfAllThirtyTwoBytes)
{
    ServiceData d;
    d.apc_low_power = {1, 2, 3};
    d.apc_high_power = {4, 5, 6};
    d.apc_max_dev = {7, 8, 9};
    d.apc_vox_level_1 = 0x0123;
    d.apc_vox_level_6 = 0x03FF;
    d.apc_rx_tuning_voltage = {10, 11, 12};
    d.apc_sq_level_1 = 0x0201;
    d.apc_sq_level_9 = 0x0100;
    d.apc_ctcss_625 = {20, 30, 40};
    d.apc_ctcss_1318 = {21, 31, 41};
    d.apc_ctcss_2541 = {22, 32, 42};
    d.apc_dcs_031 = {23, 33, 43};

    ServiceBuffer b = DirtyBuffer();
    GetApcTuneData(d, b);
    EXPECT_EQ(Head(b, kApcTuneArea.size),
              (Bytes{1,    2,  3,  4,  5,    6,    7,    8,    9,  0x23, 0x01, 0xFF,
                     0x03, 10, 11, 12, 0x01, 0x02, 0x00, 0x01, 20, 21,   22,   23,   // low test frequency
                     30,   31, 32, 33,   // middle
                     40,   41, 42, 43}));   // high
    EXPECT_TRUE(ZeroFrom(b, kApcTuneArea.size));

    ServiceData back;
    SetApcTuneData(b, back);
    EXPECT_EQ(back, d);
}

TEST(ServiceData, SerialNumberFirmwareAndBandCode)
{
    ServiceBuffer b = DirtyBuffer();
    const SerialNumber shortSn{'1', '2', '3'};
    GetSnData(shortSn, b);
    EXPECT_EQ(Head(b, 8), (Bytes{0x31, 0x32, 0x33, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(ZeroFrom(b, 3));
    SerialNumber back;
    back.fill('x');
    SetSnData(b, back);
    EXPECT_EQ(back, shortSn);

    // Firmware numbers come most significant byte first; nothing else is touched.
    ServiceBuffer reply{};
    const uint8_t firmware[] = {0x00, 0x01, 0x00, 0x02, 0x01, 0x05, 0xAA, 0xBB};
    std::copy(std::begin(firmware), std::end(firmware), reply.begin());
    ServiceData d;
    d.adj_mic_input = 7;
    SetFirmWareInforData(reply, d);
    EXPECT_EQ(d.firmware_model, 1);
    EXPECT_EQ(d.firmware_band, 2);
    EXPECT_EQ(d.firmware_version, 0x0105);
    EXPECT_EQ(d.adj_mic_input, 7);

    const uint8_t codes[] = {0x00, 0x01, 0x80, 0x81};
    for (int band = 0; band < 4; ++band) {
        b = DirtyBuffer();
        ASSERT_TRUE(GetFreqBandData(band, b));
        EXPECT_EQ(b[0], codes[band]);
        EXPECT_TRUE(ZeroFrom(b, 1));
    }
    b = DirtyBuffer();
    EXPECT_FALSE(GetFreqBandData(4, b));
    EXPECT_FALSE(GetFreqBandData(-1, b));
    EXPECT_TRUE(ZeroFrom(b, 0));
}

}   // namespace
