// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/offered_values.h"
#include "model/record_layout.h"
#include <algorithm>
#include <iterator>

namespace k3n {

namespace {

using P = EditorPage;

// Positions 0..count-1.
#define POSITIONS(name, count) constexpr ValueRange name[] = {{0, (count)-1}}

POSITIONS(kTimeOut, 301);   // 0 .. 300 s
POSITIONS(kBurstTones, 17);
POSITIONS(kThree, 3);
POSITIONS(kFour, 4);
POSITIONS(kFive, 5);
POSITIONS(kSix, 6);
POSITIONS(kNine, 9);
POSITIONS(kTen, 10);
POSITIONS(kTwelve, 12);
POSITIONS(kFifteen, 15);
POSITIONS(kSixteen, 16);
POSITIONS(kSeventeen, 17);
POSITIONS(kEighteen, 18);
POSITIONS(kTwentyFive, 25);
POSITIONS(kOffAndMinutes, 121);   // 0 .. 120
POSITIONS(kOffAnd75, 76);   // Off, 1 .. 75
POSITIONS(kOffAnd120, 121);   // Off, 1 .. 120
POSITIONS(kScanChannels, kScanChannelCount);
POSITIONS(kChannels, rec::kChannelCount);
#undef POSITIONS

constexpr ValueRange kScrambleFrequencies[] = {{2632, 3496}};
constexpr ValueRange kSubAudio[] = {{0, 51}, {128, 231}};   // off, CTCSS tones, DCS codes + 128
constexpr ValueRange kEmergencyModes[] = {{1, 3}};   // Voice, Alarm, Both
constexpr ValueRange kExtendTimes[] = {{0, 25}};   // off, 100 .. 2500 ms
constexpr ValueRange kDtmfGroupTones[] = {{10, 13}};   // A .. D
constexpr ValueRange kDtmfGapTones[] = {{0, 0}, {11, 16}};   // off, A .. D, *, #
constexpr ValueRange kFiveToneLastGap[] = {{0, 14}, {128, 128}, {255, 255}};   // tones, Mute, Off
constexpr ValueRange kTwoToneResetTimes[] = {{1, 120}};
constexpr ValueRange kTwoTones[] = {{0, 9}, {15, 15}};   // tones 0 .. 9, none
// Key functions; "Talk Around" is stored as 14 plus the talk-around mode.
constexpr ValueRange kKey1PressCodes[] = {{0, 0}, {19, 20}};
constexpr ValueRange kKey1PowerOnCodes[] = {{0, 0}, {17, 17}, {20, 20}};
constexpr ValueRange kSideKeyPressCodes[] = {{0, 0}, {3, 8}, {10, 10}, {14, 18}, {21, 28}};
constexpr ValueRange kSideKeyPowerOnCodes[] = {{0, 0}, {10, 10}, {13, 18}, {21, 21}, {25, 26}};

ListField Channel_squelch(int n)
{
    return rec::ch::squelch(n);
}
ListField Channel_rxSubAudio(int n)
{
    return rec::ch::rx_subaudio(n);
}
ListField Channel_txSubAudio(int n)
{
    return rec::ch::tx_subaudio(n);
}
ListField Channel_lockOut(int n)
{
    return rec::ch::busy_lockout(n);
}
ListField Channel_signalSystem(int n)
{
    return rec::ch::signaling_system(n);
}

template <auto Field> ListField Single(int)
{
    return Field;
}

// A two-tone code byte holds tone A in its low nibble and tone B in its high one.
BitField ToneA(U8Field code)
{
    return {code.offset, 0, 4};
}
BitField ToneB(U8Field code)
{
    return {code.offset, 4, 4};
}

ListField Key(int key, int action)
{
    return rec::key_function(key, action);
}

} // namespace

unsigned ValueOf(const RadioRecord& record, const ListField& field)
{
    return std::visit([&record](auto f) { return unsigned(record.get(f)); }, field);
}

bool IsOffered(std::span<const ValueRange> values, unsigned value)
{
    return std::any_of(values.begin(), values.end(),
                       [value](const ValueRange& r) { return value >= r.first && value <= r.last; });
}

std::span<const OfferedList> OfferedLists()
{
    namespace dt = rec::dtmf;
    namespace ft = rec::five_tone;
    namespace tt = rec::two_tone;
    static const OfferedList kLists[] = {
        // Channel grid (one row per channel; only channels in use are looked at).
        {P::Channels, 18, -1, nullptr, rec::kChannelCount, Channel_rxSubAudio, kSubAudio},
        {P::Channels, 19, -1, nullptr, rec::kChannelCount, Channel_txSubAudio, kSubAudio},
        {P::Channels, 44, -1, nullptr, rec::kChannelCount, Channel_squelch, kTen},
        {P::Channels, 173, -1, nullptr, rec::kChannelCount, Channel_lockOut, kThree},
        {P::Channels, 175, -1, nullptr, rec::kChannelCount, Channel_signalSystem, kFour},
        // General settings
        {P::General, 48, -1, nullptr, 1, Single<rec::tot>, kTimeOut},
        {P::General, 49, -1, nullptr, 1, Single<rec::toa>, kTimeOut},
        {P::General, 198, -1, nullptr, 1, Single<rec::burst_tone>, kBurstTones},
        {P::General, 199, -1, nullptr, 1, Single<rec::voice>, kThree},
        {P::General, 46, -1, nullptr, 1, Single<rec::vox>, kSix},
        {P::General, 47, -1, nullptr, 1, Single<rec::vox_delay>, kSix},
        {P::General, 202, -1, nullptr, 1, Single<rec::talk_around>, kThree},
        {P::General, 70, -1, nullptr, 1, Single<rec::saving>, kFour},
        {P::General, 203, -1, nullptr, 1, Single<rec::batlow_warning_time>, kNine},
        {P::General, 338, -1, nullptr, rec::kScrambleFreqCount,
         [](int row) -> ListField { return rec::scramble_freq(row - 1); }, kScrambleFrequencies},
        // Key assignment
        {P::Keys, 213, 217, nullptr, 1, [](int) { return Key(0, 0); }, kKey1PressCodes},
        {P::Keys, 213, 218, nullptr, 1, [](int) { return Key(0, 1); }, kKey1PressCodes},
        {P::Keys, 213, 219, nullptr, 1, [](int) { return Key(0, 2); }, kKey1PowerOnCodes},
        {P::Keys, 214, 217, nullptr, 1, [](int) { return Key(1, 0); }, kSideKeyPressCodes},
        {P::Keys, 214, 218, nullptr, 1, [](int) { return Key(1, 1); }, kSideKeyPressCodes},
        {P::Keys, 214, 219, nullptr, 1, [](int) { return Key(1, 2); }, kSideKeyPowerOnCodes},
        {P::Keys, 215, 217, nullptr, 1, [](int) { return Key(2, 0); }, kSideKeyPressCodes},
        {P::Keys, 215, 218, nullptr, 1, [](int) { return Key(2, 1); }, kSideKeyPressCodes},
        {P::Keys, 215, 219, nullptr, 1, [](int) { return Key(2, 2); }, kSideKeyPowerOnCodes},
        {P::Keys, 220, -1, nullptr, 1, Single<rec::key_hold_time>, kSix},
        {P::Keys, 221, -1, nullptr, 1, Single<rec::emergency_hold_time>, kNine},
        // Scan settings
        {P::Scan, 241, -1, nullptr, 1, Single<rec::scan_resume_time_rx>, kTen},
        {P::Scan, 242, -1, nullptr, 1, Single<rec::scan_resume_time_tx>, kFifteen},
        {P::Scan, 243, -1, nullptr, 1, Single<rec::scan_busy_time>, kTen},
        {P::Scan, 244, -1, nullptr, 1, Single<rec::scan_tx_mode>, kFive},
        {P::Scan, 245, -1, nullptr, 1, Single<rec::scan_designated_channel>, kScanChannels},
        {P::Scan, 250, -1, nullptr, 1, Single<rec::home_channel>, kScanChannels},
        {P::Scan, 55, -1, nullptr, 1, Single<rec::priority_channel>, kScanChannels},
        {P::Scan, 249, -1, nullptr, 1, Single<rec::dual_watch_channel>, kScanChannels},
        // Emergency settings
        {P::Emergency, 256, -1, nullptr, 1, Single<rec::emergency_mode_bits>, kEmergencyModes},
        {P::Emergency, 259, -1, nullptr, 1, Single<rec::emergency_channel_select>, kFour},
        {P::Emergency, 245, -1, nullptr, 1, Single<rec::emergency_designated_channel>, kChannels},
        {P::Emergency, 260, -1, nullptr, 1, Single<rec::emergency_active_time>, kSeventeen},
        {P::Emergency, 261, -1, nullptr, 1, Single<rec::emergency_rx_time>, kTwelve},
        {P::Emergency, 262, -1, nullptr, 1, Single<rec::emergency_tx_time>, kTwelve},
        {P::Emergency, 263, -1, nullptr, 1, Single<rec::emergency_siren_time>, kTen},
        {P::Emergency, 264, -1, nullptr, 1, Single<rec::emergency_signaling_type>, kThree},
        {P::Emergency, 267, -1, nullptr, 1, Single<rec::emergency_reminder_time>, kOffAndMinutes},
        {P::Emergency, 268, -1, nullptr, 1, Single<rec::emergency_response_time>, kOffAndMinutes},
        // DTMF
        {P::Dtmf, 280, -1, nullptr, 1, Single<dt::auto_reset>, kOffAnd75},
        {P::Dtmf, 281, -1, nullptr, 1, Single<dt::ani_lock>, kOffAnd120},
        {P::Dtmf, 284, -1, nullptr, 1, Single<dt::tone_speed>, kFour},
        {P::Dtmf, 285, -1, nullptr, 1, Single<dt::group_tone>, kDtmfGroupTones},
        {P::Dtmf, 286, -1, nullptr, 1, Single<dt::gap_tone>, kDtmfGapTones},
        {P::Dtmf, 287, -1, nullptr, 1, Single<dt::pause_tone>, kSixteen},
        {P::Dtmf, 288, -1, nullptr, 1, Single<dt::pause_time>, kFive},
        {P::Dtmf, 273, 299, nullptr, dt::kSystemCount, [](int row) -> ListField { return dt::sequence(row); }, kThree},
        {P::Dtmf, 275, 312, nullptr, dt::kDecodeCount, [](int row) -> ListField { return dt::decode_type(row - 1); },
         kFive},
        // Five-tone
        {P::FiveTone, 280, -1, nullptr, 1, Single<ft::auto_reset>, kOffAnd75},
        {P::FiveTone, 281, -1, nullptr, 1, Single<ft::ani_lock>, kOffAnd120},
        {P::FiveTone, 285, -1, nullptr, 1, Single<ft::group_tone>, kFifteen},
        {P::FiveTone, 324, -1, nullptr, 1, Single<ft::repeat_tone>, kFifteen},
        {P::FiveTone, 325, -1, nullptr, 1, Single<ft::last_gap_tone>, kFiveToneLastGap},
        {P::FiveTone, 326, -1, nullptr, 1, Single<ft::last_gap_time>, kTwentyFive},
        {P::FiveTone, 335, -1, nullptr, 1, Single<ft::last_2nd_gap_time>, kEighteen},
        {P::FiveTone, 327, -1, nullptr, 1, Single<ft::trans_delay_time>, kFifteen},
        {P::FiveTone, 328, -1, nullptr, 1, Single<ft::clear_trans_delay_time>, kSeventeen},
        {P::FiveTone, 329, -1, nullptr, 1, Single<ft::ack_retry>, kSixteen},
        {P::FiveTone, 330, -1, nullptr, 1, Single<ft::ack_decode_time>, kFifteen},
        {P::FiveTone, 331, -1, nullptr, 1, Single<ft::extended_1st>, kExtendTimes},
        {P::FiveTone, 332, -1, nullptr, 1, Single<ft::extended_2nd>, kExtendTimes},
        {P::FiveTone, 333, -1, nullptr, 1, Single<ft::id_decode_time>, kNine},
        {P::FiveTone, 334, -1, nullptr, 1, Single<ft::auto_tx_time>, kEighteen},
        {P::FiveTone, 273, 320, nullptr, ft::kSystemCount, [](int row) -> ListField { return ft::standard(row); },
         kSix},
        {P::FiveTone, 273, 299, nullptr, ft::kSystemCount, [](int row) -> ListField { return ft::sequence(row); },
         kThree},
        {P::FiveTone, 275, 312, nullptr, ft::kDecodeCount,
         [](int row) -> ListField { return ft::decode_type(row - 1); }, kFive},
        // Two-tone
        {P::TwoTone, 273, -1, "Table", tt::kSystemCount, [](int row) -> ListField { return tt::tone_table(row); },
         kSixteen},
        {P::TwoTone, 273, -1, "Auto Reset Time", tt::kSystemCount,
         [](int row) -> ListField { return tt::auto_reset_time(row); }, kTwoToneResetTimes},
        {P::TwoTone, 274, -1, "Tone A", tt::kEncodeCount,
         [](int row) -> ListField { return ToneA(tt::encode(row - 1)); }, kTwoTones},
        {P::TwoTone, 274, -1, "Tone B", tt::kEncodeCount,
         [](int row) -> ListField { return ToneB(tt::encode(row - 1)); }, kTwoTones},
        {P::TwoTone, 275, -1, "Tone A", tt::kDecodeCount,
         [](int row) -> ListField { return ToneA(tt::decode(row - 1)); }, kTwoTones},
        {P::TwoTone, 275, -1, "Tone B", tt::kDecodeCount,
         [](int row) -> ListField { return ToneB(tt::decode(row - 1)); }, kTwoTones},
    };
    return kLists;
}

} // namespace k3n
