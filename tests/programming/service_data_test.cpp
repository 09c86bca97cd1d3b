#include "programming/service_data.h"
#include <gtest/gtest.h>
#include <vector>

using namespace k3n;

namespace {

std::vector<uint8_t> head(const ServiceBuffer& b, std::size_t n)
{
    return {b.begin(), b.begin() + n};
}

bool tailIsZero(const ServiceBuffer& b, std::size_t from)
{
    for (std::size_t i = from; i < b.size(); ++i)
        if (b[i] != 0)
            return false;
    return true;
}

ServiceBuffer dirtyBuffer()
{
    ServiceBuffer b;
    b.fill(0xEE);
    return b;
}

} // namespace

TEST(ServiceData, FreshFieldsSendOnlyZeroBytes)
{
    const ServiceData fresh;
    ServiceBuffer b = dirtyBuffer();
    GetAdjustmentData(fresh, b);
    EXPECT_TRUE(tailIsZero(b, 0));
    b = dirtyBuffer();
    GetApcTuneData(fresh, b);
    EXPECT_TRUE(tailIsZero(b, 0));
    EXPECT_EQ(fresh.firmware_model + fresh.firmware_band + fresh.firmware_version, 0);
}

TEST(ServiceData, AdjustmentBytesInWireOrderAndUntransferredFieldsIgnored)
{
    ServiceData d;
    d.adj_mic_input = 1;
    d.adj_mod_output = 2;
    d.adj_mod_fine_output_gain = 16383;
    d.adj_disc_input = 3;
    d.adj_audio_output = 4;

    ServiceBuffer b = dirtyBuffer();
    GetAdjustmentData(d, b);
    EXPECT_EQ(head(b, kAdjustmentArea.size), (std::vector<uint8_t>{0x01, 0x02, 0xFF, 0x3F, 0x03, 0x04}));
    EXPECT_TRUE(tailIsZero(b, kAdjustmentArea.size)) << "the buffer is cleared before it is filled";

    // The limit, the CTCSS level and the CTCSS frequency have no place in the radio.
    ServiceData other = d;
    other.adj_max_mod_limit = 16383;
    other.adj_ctcss_level = 4095;
    other.adj_ctcss_freq = 77;
    ServiceBuffer b2;
    GetAdjustmentData(other, b2);
    EXPECT_EQ(b2, b);

    // Reading the bytes back gives the transferred fields and leaves the others alone.
    ServiceData back;
    back.adj_max_mod_limit = 555;
    back.adj_ctcss_level = 66;
    SetAdjustmentData(b, back);
    EXPECT_EQ(back.adj_mic_input, 1);
    EXPECT_EQ(back.adj_mod_output, 2);
    EXPECT_EQ(back.adj_mod_fine_output_gain, 16383);
    EXPECT_EQ(back.adj_disc_input, 3);
    EXPECT_EQ(back.adj_audio_output, 4);
    EXPECT_EQ(back.adj_max_mod_limit, 555);
    EXPECT_EQ(back.adj_ctcss_level, 66);
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

    ServiceBuffer b = dirtyBuffer();
    GetApcTuneData(d, b);
    EXPECT_EQ(head(b, kApcTuneArea.size), (std::vector<uint8_t>{
        1, 2, 3, 4, 5, 6, 7, 8, 9,
        0x23, 0x01, 0xFF, 0x03,
        10, 11, 12,
        0x01, 0x02, 0x00, 0x01,
        20, 21, 22, 23,    // low test frequency
        30, 31, 32, 33,    // middle
        40, 41, 42, 43})); // high
    EXPECT_TRUE(tailIsZero(b, kApcTuneArea.size));

    ServiceData back;
    SetApcTuneData(b, back);
    EXPECT_EQ(back, d);
}

TEST(ServiceData, SerialNumberIsCopiedAsStored)
{
    SerialNumber sn{'0', '0', '0', '0', '0', '0', '0', '1'};
    ServiceBuffer b = dirtyBuffer();
    GetSnData(sn, b);
    EXPECT_EQ(head(b, 8), (std::vector<uint8_t>{0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x31}));
    EXPECT_TRUE(tailIsZero(b, 8));

    SerialNumber shortSn{'1', '2', '3'};
    GetSnData(shortSn, b);
    EXPECT_EQ(head(b, 8), (std::vector<uint8_t>{0x31, 0x32, 0x33, 0, 0, 0, 0, 0}));

    SerialNumber back;
    back.fill('x');
    SetSnData(b, back);
    EXPECT_EQ(back, shortSn);
}

TEST(ServiceData, FirmwareNumbersAreMostSignificantByteFirst)
{
    ServiceBuffer b{};
    const uint8_t reply[] = {0x00, 0x01, 0x00, 0x02, 0x01, 0x05, 0xAA, 0xBB};
    std::copy(std::begin(reply), std::end(reply), b.begin());
    ServiceData d;
    d.adj_mic_input = 7;
    SetFirmWareInforData(b, d);
    EXPECT_EQ(d.firmware_model, 1);
    EXPECT_EQ(d.firmware_band, 2);
    EXPECT_EQ(d.firmware_version, 0x0105);
    EXPECT_EQ(d.adj_mic_input, 7);
}

TEST(ServiceData, BandCodeForEachBandAndNoneForAnUnknownBand)
{
    const uint8_t codes[] = {0x00, 0x01, 0x80, 0x81};
    for (int band = 0; band < 4; ++band) {
        ServiceBuffer b = dirtyBuffer();
        ASSERT_TRUE(GetFreqBandData(band, b));
        EXPECT_EQ(b[0], codes[band]);
        EXPECT_TRUE(tailIsZero(b, 1));
    }
    ServiceBuffer b = dirtyBuffer();
    EXPECT_FALSE(GetFreqBandData(4, b));
    EXPECT_FALSE(GetFreqBandData(-1, b));
    EXPECT_TRUE(tailIsZero(b, 0));
}
