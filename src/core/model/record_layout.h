// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where every field of the radio data record lives. This file is the one
// statement of the layout; everything else reaches the bytes through it.
#include "model/radio_record.h"

namespace k3n::rec {

constexpr uint16_t u16(int v)
{
    return uint16_t(v);
}

// ---- top level -------------------------------------------------------------
constexpr U8Field channel_group{0};   // 0..7, group g shows channels 16g+1..16g+16
constexpr U8Field freq_band{3046};   // 0..3

// ---- channels (n = 1..128) ---------------------------------------------------
constexpr int kChannelCount = 128;
constexpr int kChannelSize = 16;
constexpr uint16_t channelOffset(int n)
{
    return u16(4 + kChannelSize * n);
}

namespace ch {
constexpr U32Field rx_freq(int n)
{
    return {channelOffset(n)};
}
constexpr U32Field tx_freq(int n)
{
    return {u16(channelOffset(n) + 4)};
}
constexpr U8Field rx_subaudio(int n)
{
    return {u16(channelOffset(n) + 8)};
}
constexpr U8Field tx_subaudio(int n)
{
    return {u16(channelOffset(n) + 9)};
}
constexpr U8Field flags_1(int n)
{
    return {u16(channelOffset(n) + 10)};
}
constexpr U8Field flags_2(int n)
{
    return {u16(channelOffset(n) + 11)};
}
constexpr U8Field signaling(int n)
{
    return {u16(channelOffset(n) + 12)};
}
constexpr U8Field squelch(int n)
{
    return {u16(channelOffset(n) + 13)};
}
constexpr U8Field scramble_no(int n)
{
    return {u16(channelOffset(n) + 14)};
}

constexpr BitField in_use(int n)
{
    return {flags_1(n).offset, 0, 1};
}
constexpr BitField xtal_shift(int n)
{
    return {flags_1(n).offset, 1, 1};
}
constexpr BitField tx_power(int n)
{
    return {flags_2(n).offset, 0, 1};
}   // 1 High
constexpr BitField busy_lockout(int n)
{
    return {flags_2(n).offset, 2, 2};
}   // 0 ----, 1 BCLO, 2 BTLO
constexpr BitField tx_dcs_inverted(int n)
{
    return {flags_2(n).offset, 4, 1};
}
constexpr BitField rx_dcs_inverted(int n)
{
    return {flags_2(n).offset, 5, 1};
}
constexpr BitField bandwidth(int n)
{
    return {flags_2(n).offset, 6, 1};
}   // 1 Narrow
constexpr BitField scan_add(int n)
{
    return {flags_2(n).offset, 7, 1};
}   // 1 ADD
constexpr BitField signaling_no(int n)
{
    return {signaling(n).offset, 0, 5};
}
constexpr BitField signaling_system(int n)
{
    return {signaling(n).offset, 5, 3};
}
}   // namespace ch

// ---- general block -----------------------------------------------------------
constexpr U16Field tot{2068};
constexpr U16Field toa{2070};
constexpr U8Field burst_tone{2072};
constexpr U8Field saving{2073};
constexpr U8Field batlow_warning_time{2074};
constexpr U8Field vox{2075};
constexpr U8Field vox_delay{2076};
constexpr U8Field general_flags_1{2077};
constexpr BitField ctcss_tail{2077, 0, 1};
constexpr BitField ctcss_extra_tail{2077, 3, 1};
constexpr BitField batlow_rx{2077, 4, 1};
constexpr BitField batlow_tx{2077, 5, 1};
constexpr U8Field general_flags_2{2078};
constexpr BitField compandor{2078, 0, 1};
constexpr BitField scrambling{2078, 1, 1};
constexpr BitField key_lock{2078, 2, 1};
constexpr BitField beep{2078, 3, 1};
constexpr F64Field user_ctcss_freq{2080};   // file only
constexpr U16Field user_dcs_code{2088};   // file only
constexpr U8Field voice{2090};
constexpr U8Field talk_around{2091};   // file only
constexpr int kScrambleFreqCount = 16;
constexpr U16Field scramble_freq(int i)
{
    return {u16(2092 + 2 * i)};
}   // i = 0..15

// ---- key block -----------------------------------------------------------------
constexpr U8Field key1_press{2124}, key1_hold{2125}, key1_power_on{2126};
constexpr U8Field key2_press{2127}, key2_hold{2128}, key2_power_on{2129};
constexpr U8Field key3_press{2130}, key3_hold{2131}, key3_power_on{2132};
// key = 0..2, action = 0 press, 1 hold, 2 power on
constexpr U8Field key_function(int key, int action)
{
    return {u16(2124 + 3 * key + action)};
}
constexpr U8Field key_hold_time{2133};
constexpr U8Field emergency_hold_time{2134};

// ---- scan block ------------------------------------------------------------------
constexpr U8Field scan_resume_time_rx{2135};
constexpr U8Field scan_resume_time_tx{2136};
constexpr U8Field scan_busy_time{2137};
constexpr U8Field scan_tx_mode{2138};
constexpr U8Field scan_designated_channel{2139};
constexpr U8Field home_channel{2140};
constexpr U8Field priority_channel{2141};
constexpr U8Field dual_watch_channel{2142};
constexpr U8Field scan_flags{2143};
constexpr BitField talk_back{2143, 0, 1};

// ---- emergency block -------------------------------------------------------------
constexpr U8Field emergency_channel_select{2144};
constexpr U8Field emergency_designated_channel{2145};
constexpr U8Field emergency_active_time{2146};
constexpr U8Field emergency_rx_time{2147};
constexpr U8Field emergency_tx_time{2148};
constexpr U8Field emergency_siren_time{2149};
constexpr U8Field emergency_response_time{2150};
constexpr U8Field emergency_reminder_time{2151};
constexpr U8Field emergency_signaling{2152};
constexpr BitField emergency_encode_select{2152, 0, 5};
constexpr BitField emergency_signaling_type{2152, 5, 2};
constexpr U8Field emergency_mode{2153};
constexpr BitField emergency_mode_bits{2153, 0, 2};
constexpr BitField emergency_current_channel{2153, 2, 1};   // set exactly when channel select is 2
constexpr BitField emergency_encode_system{2153, 4, 4};

// ---- two-tone block ----------------------------------------------------------------
namespace two_tone {
constexpr uint16_t kBlock = 2154, kBlockSize = 216;
constexpr U16Field lead_in{2154};
constexpr U16Field lead_out{2156};
constexpr U8Field call_1{2158};
constexpr U8Field call_2{2159};
constexpr int kSystemCount = 16, kSystemSize = 10;
constexpr uint16_t system(int i)
{
    return u16(2152 + kSystemSize * i);
}   // i = 1..16
constexpr U8Field tone_table(int i)
{
    return {system(i)};
}
constexpr U8Field call_code(int i)
{
    return {u16(system(i) + 1)};
}
constexpr U8Field group_time(int i)
{
    return {u16(system(i) + 2)};
}
constexpr U8Field tone_a_time(int i)
{
    return {u16(system(i) + 3)};
}
constexpr U8Field tone_b_time(int i)
{
    return {u16(system(i) + 4)};
}
constexpr U8Field auto_reset_time(int i)
{
    return {u16(system(i) + 5)};
}
constexpr U8Field options(int i)
{
    return {u16(system(i) + 6)};
}
constexpr BitField duty(int i)
{
    return {options(i).offset, 1, 1};
}
constexpr BitField auto_reset(int i)
{
    return {options(i).offset, 2, 1};
}
constexpr BitField subaudio(int i)
{
    return {options(i).offset, 4, 1};
}
constexpr BitField ptt_switch(int i)
{
    return {options(i).offset, 5, 1};
}
constexpr U16Field decode_mask(int i)
{
    return {u16(system(i) + 8)};
}
constexpr int kEncodeCount = 32, kDecodeCount = 16;
constexpr U8Field encode(int i)
{
    return {u16(2322 + i)};
}   // i = 0..31; low nibble tone A, high nibble tone B
constexpr U8Field decode(int i)
{
    return {u16(2354 + i)};
}   // i = 0..15
}   // namespace two_tone

// ---- five-tone block -----------------------------------------------------------------
namespace five_tone {
constexpr uint16_t kBlock = 2370, kBlockSize = 426;
constexpr U8Field group_tone{2370};
constexpr U8Field repeat_tone{2371};
constexpr U8Field last_gap_tone{2372};   // 0x80 and 0xFF are special values
constexpr U8Field trans_delay_time{2373};
constexpr U8Field clear_trans_delay_time{2374};
constexpr U8Field extended_1st{2375};
constexpr U8Field extended_2nd{2376};
constexpr U8Field last_gap_time{2377};
constexpr U8Field last_2nd_gap_time{2378};
constexpr U8Field ack_retry{2379};
constexpr U8Field ack_decode_time{2380};
constexpr U8Field id_decode_time{2381};
constexpr U8Field auto_tx_time{2382};
constexpr U8Field ani_lock{2383};
constexpr U8Field auto_reset{2384};
constexpr U16Field lead_in{2386};
constexpr U16Field lead_out{2388};
constexpr U8Field call_1{2390};
constexpr U8Field call_2{2391};
constexpr uint16_t header_extra = 2392;   // 2 bytes, carried unchanged
constexpr U8Field flags{2394};
constexpr BitField ptt_call{2394, 0, 1};
constexpr int kSystemCount = 16, kSystemSize = 8;
constexpr uint16_t system(int i)
{
    return u16(2388 + kSystemSize * i);
}   // i = 1..16
constexpr U8Field standard(int i)
{
    return {system(i)};
}
constexpr U8Field repeat_code(int i)
{
    return {u16(system(i) + 1)};
}
constexpr U8Field call_code(int i)
{
    return {u16(system(i) + 2)};
}
constexpr U8Field id_code(int i)
{
    return {u16(system(i) + 3)};
}
constexpr U8Field options(int i)
{
    return {u16(system(i) + 4)};
}
constexpr BitField duty(int i)
{
    return {options(i).offset, 1, 1};
}
constexpr BitField auto_reset_on(int i)
{
    return {options(i).offset, 2, 1};
}
constexpr BitField subaudio(int i)
{
    return {options(i).offset, 4, 1};
}
constexpr BitField ani_mode(int i)
{
    return {options(i).offset, 5, 2};
}
constexpr BitField ptt_switch(int i)
{
    return {options(i).offset, 7, 1};
}
constexpr BitField sequence(int i)
{
    return {u16(system(i) + 5), 1, 2};
}
constexpr U16Field decode_mask(int i)
{
    return {u16(system(i) + 6)};
}
constexpr int kEncodeCount = 32, kEncodeSize = 5, kEncodeDigits = 8;
constexpr uint16_t encode(int i)
{
    return u16(2524 + kEncodeSize * i);
}   // i = 0..31: count, 4 digit bytes
constexpr int kDecodeCount = 16, kDecodeSize = 7, kDecodeDigits = 8;
constexpr uint16_t decode(int i)
{
    return u16(2684 + kDecodeSize * i);
}   // i = 0..15
constexpr U8Field decode_type(int i)
{
    return {u16(decode(i) + 5)};
}
constexpr U8Field decode_transpond(int i)
{
    return {u16(decode(i) + 6)};
}
}   // namespace five_tone

// ---- DTMF block ------------------------------------------------------------------------
namespace dtmf {
constexpr uint16_t kBlock = 2796, kBlockSize = 250;
constexpr U16Field lead_in{2796};
constexpr U16Field lead_out{2798};
constexpr U8Field call_1{2800};
constexpr U8Field call_2{2801};
constexpr uint16_t header_extra = 2802;   // 2 bytes, carried unchanged
constexpr U8Field tone_speed{2804};
constexpr U8Field group_tone{2805};
constexpr U8Field gap_tone{2806};
constexpr U8Field ani_lock{2807};
constexpr U8Field auto_reset{2808};
constexpr U8Field pause_tone{2809};
constexpr U8Field pause_time{2810};
constexpr U8Field flags{2811};
constexpr BitField ptt_call{2811, 0, 1};
constexpr BitField pause_tone_enable{2811, 1, 1};
constexpr int kSystemCount = 8, kSystemSize = 6;
constexpr uint16_t system(int i)
{
    return u16(2806 + kSystemSize * i);
}   // i = 1..8
constexpr U8Field call_code(int i)
{
    return {u16(system(i) + 1)};
}
constexpr U8Field id_code(int i)
{
    return {u16(system(i) + 2)};
}
constexpr U8Field options(int i)
{
    return {u16(system(i) + 3)};
}
constexpr BitField duty(int i)
{
    return {options(i).offset, 1, 1};
}
constexpr BitField auto_reset_on(int i)
{
    return {options(i).offset, 2, 1};
}
constexpr BitField subaudio(int i)
{
    return {options(i).offset, 4, 1};
}
constexpr BitField ani_mode(int i)
{
    return {options(i).offset, 5, 2};
}
constexpr BitField ptt_switch(int i)
{
    return {options(i).offset, 7, 1};
}
constexpr BitField sequence(int i)
{
    return {u16(system(i) + 4), 1, 2};
}
constexpr U8Field decode_mask(int i)
{
    return {u16(system(i) + 5)};
}
constexpr int kDecodeCount = 8, kDecodeSize = 7, kDecodeDigits = 8;
constexpr uint16_t decode(int i)
{
    return u16(2860 + kDecodeSize * i);
}   // i = 0..7
constexpr U8Field decode_type(int i)
{
    return {u16(decode(i) + 5)};
}
constexpr int kEncodeCount = 10, kEncodeSize = 13, kEncodeDigits = 24;
constexpr uint16_t encode(int i)
{
    return u16(2916 + kEncodeSize * i);
}   // i = 0..9
}   // namespace dtmf

// Layout checks: the blocks follow each other without gaps.
static_assert(channelOffset(kChannelCount) + kChannelSize == tot.offset);
static_assert(two_tone::decode(15).offset + 1 == five_tone::kBlock);
static_assert(five_tone::decode(15) + five_tone::kDecodeSize == dtmf::kBlock);
static_assert(dtmf::encode(9) + dtmf::kEncodeSize == freq_band.offset);
static_assert(dtmf::system(1) == 2812 && five_tone::system(1) == 2396 && two_tone::system(1) == 2162);

}   // namespace k3n::rec
