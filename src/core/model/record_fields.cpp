// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/record_fields.h"
#include "model/channel_options.h"
#include "model/digit_code.h"
#include "model/radio_data.h"
#include "model/record_layout.h"
#include "model/signal_entry.h"
#include "model/value_codings.h"
#include "text/app_lang.h"
#include "text/ui_text.h"
#include "text/ui_text_ids.h"
#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>

namespace k3n {

namespace {

using P = EditorPage;

constexpr int kOffOn[] = {178, 177};
constexpr int kLowHigh[] = {27, 26};
constexpr int kWideNarrow[] = {28, 29};
constexpr int kDelAdd[] = {31, 30};

// What the lists offer where neither options nor a settings list say.
constexpr ValueRange kSubAudioCodes[] = {{0, 51}, {128, 231}};   // off, CTCSS tones, DCS codes + 128
constexpr ValueRange kSquelchValues[] = {{0, kSquelchLevels - 1}};
constexpr ValueRange kScrambleFrequencies[] = {{2632, 3496}};
// Side-key function codes, per key (key 1 first) and per action (press, hold, power on);
// "Talk Around" is stored as 14 plus the talk-around mode.
constexpr ValueRange kKey1PressCodes[] = {{0, 0}, {19, 20}};
constexpr ValueRange kKey1PowerOnCodes[] = {{0, 0}, {17, 17}, {20, 20}};
constexpr ValueRange kSideKeyPressCodes[] = {{0, 0}, {3, 8}, {10, 10}, {14, 18}, {21, 28}};
constexpr ValueRange kSideKeyPowerOnCodes[] = {{0, 0}, {10, 10}, {13, 18}, {21, 21}, {25, 26}};
constexpr std::span<const ValueRange> kKeyFunctionCodes[3][3] = {
    {kKey1PressCodes, kKey1PressCodes, kKey1PowerOnCodes},
    {kSideKeyPressCodes, kSideKeyPressCodes, kSideKeyPowerOnCodes},
    {kSideKeyPressCodes, kSideKeyPressCodes, kSideKeyPowerOnCodes},
};

Caption Ui(int n)
{
    return {n, nullptr, OwnText::Count};
}
Caption Fixed(const char* text)
{
    return {-1, text, OwnText::Count};
}
Caption Own(OwnText id)
{
    return {-1, nullptr, id};
}
constexpr Caption kNoCaption{};

RecordField& Listed(RecordField& field, SettingsList list, int first = 0)
{
    field.style = ValueStyle::Listed;
    field.list = list;
    field.listFirst = first;
    return field;
}

// A reference into a block's encode table, shown as its lists show it.
RecordField& CodeReference(RecordField& field)
{
    field.style = ValueStyle::CodeReference;
    return field;
}

// Adds fields in layout order; the place (section, array entry, page) is set
// before the fields that belong to it.
class FieldList {
public:
    std::vector<RecordField> fields;

    void section(const char* name, EditorPage page)
    {
        section_ = name;
        page_ = page;
        endEntry();
    }
    void entry(const char* group, int index, int number, int caption)
    {
        group_ = group;
        index_ = index;
        number_ = number;
        entryCaption_ = caption;
    }
    void endEntry() { entry(nullptr, -1, 0, -1); }

    RecordField& byte(const char* key, U8Field f, Caption c) { return add(key, FieldKind::Byte, f.offset, c); }
    RecordField& word(const char* key, U16Field f, Caption c) { return add(key, FieldKind::Word, f.offset, c); }
    RecordField& frequency(const char* key, U32Field f, Caption c)
    {
        RecordField& field = add(key, FieldKind::Long, f.offset, c);
        field.style = ValueStyle::Frequency;
        return field;
    }
    RecordField& bits(const char* key, BitField f, Caption c)
    {
        RecordField& field = add(key, FieldKind::Bits, f.offset, c);
        field.shift = f.shift;
        field.width = f.width;
        return field;
    }
    // The bits of a flag byte that no named field holds, kept as they are.
    void otherBits(const char* key, uint16_t offset, uint8_t mask)
    {
        RecordField& field = add(key, FieldKind::OtherBits, offset, Own(OwnText::FieldOtherBits));
        field.mask = mask;
    }
    void reserved(const char* key, uint16_t offset)
    {
        add(key, FieldKind::Byte, offset, Own(OwnText::FieldReservedByte));
    }
    void rawBytes(const char* key, uint16_t offset, int count)
    {
        RecordField& field = add(key, FieldKind::Bytes, offset, Own(OwnText::FieldReservedByte));
        field.length = count;
        field.style = ValueStyle::Bytes;
    }
    void digits(const char* key, uint16_t offset, int capacity)
    {
        RecordField& field = add(key, FieldKind::Digits, offset, kNoCaption);
        field.length = capacity;
        field.style = ValueStyle::Digits;
    }
    RecordField& doubleBits(const char* key, F64Field f, Caption c)
    {
        RecordField& field = add(key, FieldKind::DoubleBits, f.offset, c);
        field.style = ValueStyle::UserCtcss;
        return field;
    }

private:
    RecordField& add(const char* key, FieldKind kind, uint16_t offset, Caption caption)
    {
        RecordField field{.section = section_,
                          .group = group_,
                          .index = index_,
                          .key = QString::fromLatin1(key),
                          .kind = kind,
                          .offset = offset};
        field.page = page_;
        field.entry = number_;
        field.entryCaption = entryCaption_;
        field.caption = caption;
        fields.push_back(std::move(field));
        return fields.back();
    }

    const char* section_ = nullptr;
    const char* group_ = nullptr;
    int index_ = -1;
    int number_ = 0;
    int entryCaption_ = -1;
    EditorPage page_ = P::Channels;
};

// The field reads as one of these texts, by value.
template <std::size_t N> RecordField& WithOptions(RecordField& field, const int (&texts)[N])
{
    field.style = ValueStyle::Options;
    field.uiOptions = texts;
    return field;
}
template <std::size_t N> RecordField& WithOptions(RecordField& field, const std::array<const char*, N>& texts)
{
    field.style = ValueStyle::Options;
    field.fixedOptions = texts;
    return field;
}
// Interface texts for the editors, and names for files and the command line.
template <std::size_t N>
RecordField& WithOptions(RecordField& field, const int (&texts)[N], const std::array<const char*, N>& names)
{
    WithOptions(field, names);
    return WithOptions(field, texts);
}

RecordField& Offering(RecordField& field, std::span<const ValueRange> values)
{
    field.offered = values;
    return field;
}

void AddChannelSlot(FieldList& list, int n)
{
    namespace ch = rec::ch;
    list.entry(nullptr, n, n, ui::kChannel);
    list.frequency("rx_freq", ch::rx_freq(n), Ui(ui::kRxFreq));
    list.frequency("tx_freq", ch::tx_freq(n), Ui(ui::kTxFreq));
    RecordField& rxTone = Offering(list.byte("rx_subaudio", ch::rx_subaudio(n), Ui(18)), kSubAudioCodes);
    rxTone.style = ValueStyle::SubAudio;
    rxTone.polarity = ch::rx_dcs_inverted(n);
    RecordField& txTone = Offering(list.byte("tx_subaudio", ch::tx_subaudio(n), Ui(19)), kSubAudioCodes);
    txTone.style = ValueStyle::SubAudio;
    txTone.polarity = ch::tx_dcs_inverted(n);
    WithOptions(list.bits("in_use", ch::in_use(n), Own(OwnText::FieldInUse)), kOffOn);
    WithOptions(list.bits("xtal_shift", ch::xtal_shift(n), Ui(174)), kOffOn, kOffOnNames);
    list.otherBits("flags_1_other_bits", ch::flags_1(n).offset, 0xFC);
    WithOptions(list.bits("tx_power", ch::tx_power(n), Ui(20)), kLowHigh, kPowerNames);
    list.otherBits("flags_2_other_bits", ch::flags_2(n).offset, 0x02);
    WithOptions(list.bits("busy_lockout", ch::busy_lockout(n), Ui(173)), kLockOutNames);
    list.bits("tx_dcs_inverted", ch::tx_dcs_inverted(n), Own(OwnText::FieldTxDcsPolarity)).style = ValueStyle::Polarity;
    list.bits("rx_dcs_inverted", ch::rx_dcs_inverted(n), Own(OwnText::FieldRxDcsPolarity)).style = ValueStyle::Polarity;
    WithOptions(list.bits("bandwidth", ch::bandwidth(n), Ui(21)), kWideNarrow, kBandwidthNames);
    WithOptions(list.bits("scan_add", ch::scan_add(n), Ui(22)), kDelAdd, kScanNames);
    list.bits("signaling_no", ch::signaling_no(n), Ui(ui::kSignalingNo)).style = ValueStyle::Ordinal;
    WithOptions(list.bits("signaling_system", ch::signaling_system(n), Ui(175)), kSignalSystemNames);
    Offering(list.byte("squelch", ch::squelch(n), Ui(44)), kSquelchValues);
    list.byte("scramble_no", ch::scramble_no(n), Ui(ui::kScrambleNo));
    list.reserved("reserved", uint16_t(rec::channelOffset(n) + 15));
}

void AddGeneral(FieldList& list)
{
    list.section("general", P::General);
    using L = SettingsList;
    Listed(list.word("tot", rec::tot, Ui(48)), L::Tot);
    Listed(list.word("toa", rec::toa, Ui(49)), L::Toa);
    Listed(list.byte("burst_tone", rec::burst_tone, Ui(198)), L::BurstTone);
    Listed(list.byte("saving", rec::saving, Ui(70)), L::PowerSave);
    Listed(list.byte("batlow_warning_time", rec::batlow_warning_time, Ui(203)), L::BatlowInterval);
    Listed(list.byte("vox", rec::vox, Ui(46)), L::VoxLevel);
    Listed(list.byte("vox_delay", rec::vox_delay, Ui(47)), L::VoxDelay);
    WithOptions(list.bits("ctcss_tail", rec::ctcss_tail, Ui(348)), kOffOn);
    WithOptions(list.bits("ctcss_extra_tail", rec::ctcss_extra_tail, Ui(347)), kOffOn);
    WithOptions(list.bits("batlow_rx", rec::batlow_rx, Ui(207)), kOffOn);
    WithOptions(list.bits("batlow_tx", rec::batlow_tx, Ui(208)), kOffOn);
    list.otherBits("flags_1_other_bits", rec::general_flags_1.offset, 0xC6);
    WithOptions(list.bits("compandor", rec::compandor, Ui(69)), kOffOn);
    WithOptions(list.bits("scrambling", rec::scrambling, Ui(73)), kOffOn);
    WithOptions(list.bits("key_lock", rec::key_lock, Ui(60)), kOffOn);
    WithOptions(list.bits("beep", rec::beep, Ui(68)), kOffOn);
    list.otherBits("flags_2_other_bits", rec::general_flags_2.offset, 0xF0);
    list.reserved("reserved_2079", 2079);
    list.doubleBits("user_ctcss_freq", rec::user_ctcss_freq, Ui(205));
    list.word("user_dcs_code", rec::user_dcs_code, Ui(206)).style = ValueStyle::UserDcs;
    Listed(list.byte("voice", rec::voice, Ui(199)), L::Voice);
    Listed(list.byte("talk_around", rec::talk_around, Ui(202)), L::TalkAround);
    for (int i = 0; i < rec::kScrambleFreqCount; ++i) {
        list.entry("scramble", i, i + 1, ui::kScrambleSet);
        Offering(list.word("freq", rec::scramble_freq(i), kNoCaption), kScrambleFrequencies);
    }
}

void AddKeysAndScan(FieldList& list)
{
    list.section("keys", P::Keys);
    const char* const keys[3][3] = {{"key1_press", "key1_hold", "key1_power_on"},
                                    {"key2_press", "key2_hold", "key2_power_on"},
                                    {"key3_press", "key3_hold", "key3_power_on"}};
    constexpr int kKeyTexts[3] = {213, 214, 215}, kActionTexts[3] = {217, 218, 219};
    for (int key = 0; key < 3; ++key)
        for (int action = 0; action < 3; ++action)
            Offering(list.byte(keys[key][action], rec::key_function(key, action),
                               {.ui = kKeyTexts[key], .uiSub = kActionTexts[action]}),
                     kKeyFunctionCodes[key][action])
                .style = ValueStyle::KeyFunction;
    using L = SettingsList;
    Listed(list.byte("key_hold_time", rec::key_hold_time, Ui(220)), L::KeyHoldTime);
    Listed(list.byte("emergency_hold_time", rec::emergency_hold_time, Ui(221)), L::EmergencyKeyHoldTime);

    list.section("scan", P::Scan);
    Listed(list.byte("scan_resume_time_rx", rec::scan_resume_time_rx, Ui(241)), L::ScanResumeTimeRx);
    Listed(list.byte("scan_resume_time_tx", rec::scan_resume_time_tx, Ui(242)), L::ScanResumeTimeTx);
    Listed(list.byte("scan_busy_time", rec::scan_busy_time, Ui(243)), L::ScanBusyTime);
    Listed(list.byte("scan_tx_mode", rec::scan_tx_mode, Ui(244)), L::ScanTxMode);
    Listed(list.byte("scan_designated_channel", rec::scan_designated_channel, Ui(ui::kDesignatedChannel)),
           L::ScanChannel);
    Listed(list.byte("home_channel", rec::home_channel, Ui(ui::kHomeChannel)), L::ScanChannel);
    Listed(list.byte("priority_channel", rec::priority_channel, Ui(ui::kPriorityScan)), L::ScanChannel);
    Listed(list.byte("dual_watch_channel", rec::dual_watch_channel, Ui(ui::kDualWatchChannel)), L::ScanChannel);
    WithOptions(list.bits("talk_back", rec::talk_back, Ui(247)), kOffOn);
    list.otherBits("flags_other_bits", rec::scan_flags.offset, 0xFE);
}

void AddEmergency(FieldList& list)
{
    list.section("emergency", P::Emergency);
    using L = SettingsList;
    Listed(list.byte("channel_select", rec::emergency_channel_select, Ui(ui::kChannel)), L::EmergencyChannel);
    Listed(list.byte("designated_channel", rec::emergency_designated_channel, Ui(ui::kDesignatedChannel)),
           L::EmergencyDesignatedChannel);
    Listed(list.byte("active_time", rec::emergency_active_time, Ui(260)), L::EmergencyActiveTime);
    Listed(list.byte("rx_time", rec::emergency_rx_time, Ui(261)), L::EmergencyRxTxTime);
    Listed(list.byte("tx_time", rec::emergency_tx_time, Ui(262)), L::EmergencyRxTxTime);
    Listed(list.byte("siren_time", rec::emergency_siren_time, Ui(263)), L::EmergencySirenTime);
    Listed(list.byte("response_time", rec::emergency_response_time, Ui(268)), L::EmergencyMinutes);
    Listed(list.byte("reminder_time", rec::emergency_reminder_time, Ui(267)), L::EmergencyMinutes);
    list.bits("encode_select", rec::emergency_encode_select, Ui(ui::kEncodeSelect)).style = ValueStyle::Ordinal;
    Listed(list.bits("signaling_type", rec::emergency_signaling_type, Ui(264)), L::EmergencySignalingType);
    list.otherBits("signaling_other_bits", rec::emergency_signaling.offset, 0x80);
    Listed(list.bits("mode", rec::emergency_mode_bits, Ui(256)), L::EmergencyMode, 1);
    WithOptions(list.bits("current_channel", rec::emergency_current_channel, Ui(339)), kOffOn);
    list.otherBits("mode_other_bits", rec::emergency_mode.offset, 0x08);
    list.bits("encode_system", rec::emergency_encode_system, Ui(ui::kEncodeSystem)).style = ValueStyle::Ordinal;
}

// Lead times and call tones open each signalling block.
void AddLeadAndCalls(FieldList& list, U16Field leadIn, U16Field leadOut, U8Field call1, U8Field call2)
{
    list.word("lead_in", leadIn, Ui(ui::kLeadIn));
    list.word("lead_out", leadOut, Ui(ui::kLeadOut));
    CodeReference(list.byte("call_1", call1, Ui(ui::kCall1)));
    CodeReference(list.byte("call_2", call2, Ui(ui::kCall2)));
}

// The option bits that DTMF and five-tone systems share.
template <auto Options, auto Duty, auto AutoReset, auto Subaudio, auto AniMode, auto PttSwitch, auto Sequence>
void AddSignalSystemOptions(FieldList& list, int i)
{
    using L = SettingsList;
    Listed(list.bits("duty", Duty(i), Ui(301)), L::SignalOnOff);
    Listed(list.bits("auto_reset", AutoReset(i), Ui(305)), L::SignalOnOff);
    Listed(list.bits("subaudio", Subaudio(i), Ui(302)), L::SignalOnOff);
    Listed(list.bits("ani_mode", AniMode(i), Ui(304)), L::SignalAniMode);
    Listed(list.bits("ptt_switch", PttSwitch(i), Ui(300)), L::SignalMark);
    list.otherBits("options_other_bits", Options(i).offset, 0x09);
    Listed(list.bits("sequence", Sequence(i), Ui(299)), L::SignalSequence);
    list.otherBits("sequence_other_bits", Sequence(i).offset, 0xF9);
}

void AddTwoTone(FieldList& list)
{
    namespace tt = rec::two_tone;
    list.section("two_tone", P::TwoTone);
    AddLeadAndCalls(list, tt::lead_in, tt::lead_out, tt::call_1, tt::call_2);
    list.reserved("reserved_2160", 2160);
    list.reserved("reserved_2161", 2161);
    using L = SettingsList;
    for (int i = 1; i <= tt::kSystemCount; ++i) {
        list.entry("systems", i - 1, i, ui::kSystem);
        Listed(list.byte("tone_table", tt::tone_table(i), Fixed("Table")), L::TwoToneTable);
        CodeReference(list.byte("call_code", tt::call_code(i), Fixed("Call Tone")));
        list.byte("group_time", tt::group_time(i), Fixed("Group Time")).style = ValueStyle::Tenths;
        list.byte("tone_a_time", tt::tone_a_time(i), Fixed("Tone A Time")).style = ValueStyle::Tenths;
        list.byte("tone_b_time", tt::tone_b_time(i), Fixed("Tone B Time")).style = ValueStyle::Tenths;
        Listed(list.byte("auto_reset_time", tt::auto_reset_time(i), Fixed("Auto Reset Time")), L::TwoToneAutoResetTime);
        Listed(list.bits("duty", tt::duty(i), Fixed("Duty")), L::SignalOnOff);
        Listed(list.bits("auto_reset", tt::auto_reset(i), Fixed("Auto Reset")), L::SignalOnOff);
        Listed(list.bits("subaudio", tt::subaudio(i), Fixed("Subaudio")), L::SignalOnOff);
        Listed(list.bits("ptt_switch", tt::ptt_switch(i), Fixed("PTT SW")), L::SignalMark);
        list.otherBits("options_other_bits", tt::options(i).offset, 0xC9);
        list.reserved("reserved", uint16_t(tt::system(i) + 7));
        list.word("decode_mask", tt::decode_mask(i), Ui(303)).style = ValueStyle::DecodeMask;
    }
    for (int i = 0; i < tt::kEncodeCount; ++i) {
        list.entry("encode", i, i + 1, ui::kEncode);
        Listed(list.bits("tone_a", {tt::encode(i).offset, 0, 4}, Fixed("Tone A")), L::TwoToneTone);
        Listed(list.bits("tone_b", {tt::encode(i).offset, 4, 4}, Fixed("Tone B")), L::TwoToneTone);
    }
    for (int i = 0; i < tt::kDecodeCount; ++i) {
        list.entry("decode", i, i + 1, ui::kDecode);
        Listed(list.bits("tone_a", {tt::decode(i).offset, 0, 4}, Fixed("Tone A")), L::TwoToneTone);
        Listed(list.bits("tone_b", {tt::decode(i).offset, 4, 4}, Fixed("Tone B")), L::TwoToneTone);
    }
}

void AddFiveTone(FieldList& list)
{
    namespace ft = rec::five_tone;
    list.section("five_tone", P::FiveTone);
    using L = SettingsList;
    Listed(list.byte("group_tone", ft::group_tone, Ui(ui::kGroupTone)), L::FiveToneTone);
    Listed(list.byte("repeat_tone", ft::repeat_tone, Ui(324)), L::FiveToneTone);
    Listed(list.byte("last_gap_tone", ft::last_gap_tone, Ui(325)), L::FiveToneLastGapTone);
    Listed(list.byte("trans_delay_time", ft::trans_delay_time, Ui(327)), L::FiveToneTransDelay);
    Listed(list.byte("clear_trans_delay_time", ft::clear_trans_delay_time, Ui(328)), L::FiveToneClearTransDelay);
    Listed(list.byte("extended_1st", ft::extended_1st, Ui(331)), L::FiveToneExtension);
    Listed(list.byte("extended_2nd", ft::extended_2nd, Ui(332)), L::FiveToneExtension);
    Listed(list.byte("last_gap_time", ft::last_gap_time, Ui(326)), L::FiveToneLastGapTime);
    Listed(list.byte("last_2nd_gap_time", ft::last_2nd_gap_time, Ui(335)), L::FiveToneLast2ndGapTime);
    Listed(list.byte("ack_retry", ft::ack_retry, Ui(329)), L::FiveToneAckRetry);
    Listed(list.byte("ack_decode_time", ft::ack_decode_time, Ui(330)), L::FiveToneAckDecodeTime);
    Listed(list.byte("id_decode_time", ft::id_decode_time, Ui(333)), L::FiveToneIdDecodeTime);
    Listed(list.byte("auto_tx_time", ft::auto_tx_time, Ui(334)), L::FiveToneAutoTxTime);
    Listed(list.byte("ani_lock", ft::ani_lock, Ui(ui::kAniLock)), L::SignalAniLock);
    Listed(list.byte("auto_reset", ft::auto_reset, Ui(ui::kAutoReset)), L::SignalAutoReset);
    list.reserved("reserved_2385", 2385);
    AddLeadAndCalls(list, ft::lead_in, ft::lead_out, ft::call_1, ft::call_2);
    list.rawBytes("header_extra", ft::header_extra, 2);
    WithOptions(list.bits("ptt_call", ft::ptt_call, Ui(ui::kPttCall)), kOffOn);
    list.otherBits("flags_other_bits", ft::flags.offset, 0xFE);
    list.reserved("reserved_2395", 2395);
    for (int i = 1; i <= ft::kSystemCount; ++i) {
        list.entry("systems", i - 1, i, ui::kSystem);
        Listed(list.byte("standard", ft::standard(i), Ui(320)), L::FiveToneStandard);
        CodeReference(list.byte("repeat_code", ft::repeat_code(i), Ui(ui::kRepeat)));
        CodeReference(list.byte("call_code", ft::call_code(i), Ui(ui::kCall)));
        CodeReference(list.byte("id_code", ft::id_code(i), Ui(ui::kId)));
        AddSignalSystemOptions<ft::options, ft::duty, ft::auto_reset_on, ft::subaudio, ft::ani_mode, ft::ptt_switch,
                               ft::sequence>(list, i);
        list.word("decode_mask", ft::decode_mask(i), Ui(303)).style = ValueStyle::DecodeMask;
    }
    for (int i = 0; i < ft::kEncodeCount; ++i) {
        list.entry("encode", i, i + 1, ui::kEncode);
        list.digits("digits", ft::encode(i), ft::kEncodeDigits);
    }
    for (int i = 0; i < ft::kDecodeCount; ++i) {
        list.entry("decode", i, i + 1, ui::kDecode);
        list.digits("digits", ft::decode(i), ft::kDecodeDigits);
        Listed(list.byte("type", ft::decode_type(i), Ui(312)), L::SignalDecodeType);
        CodeReference(list.byte("transpond", ft::decode_transpond(i), Ui(ui::kTranspond)));
    }
}

void AddDtmf(FieldList& list)
{
    namespace dt = rec::dtmf;
    list.section("dtmf", P::Dtmf);
    AddLeadAndCalls(list, dt::lead_in, dt::lead_out, dt::call_1, dt::call_2);
    list.rawBytes("header_extra", dt::header_extra, 2);
    using L = SettingsList;
    Listed(list.byte("tone_speed", dt::tone_speed, Ui(284)), L::DtmfToneSpeed);
    Listed(list.byte("group_tone", dt::group_tone, Ui(ui::kGroupTone)), L::DtmfGroupTone);
    Listed(list.byte("gap_tone", dt::gap_tone, Ui(286)), L::DtmfGapTone);
    Listed(list.byte("ani_lock", dt::ani_lock, Ui(ui::kAniLock)), L::SignalAniLock);
    Listed(list.byte("auto_reset", dt::auto_reset, Ui(ui::kAutoReset)), L::SignalAutoReset);
    Listed(list.byte("pause_tone", dt::pause_tone, Ui(287)), L::DtmfPauseTone);
    Listed(list.byte("pause_time", dt::pause_time, Ui(288)), L::DtmfPauseTime);
    WithOptions(list.bits("ptt_call", dt::ptt_call, Ui(ui::kPttCall)), kOffOn);
    WithOptions(list.bits("pause_tone_enable", dt::pause_tone_enable, Ui(279)), kOffOn);
    list.otherBits("flags_other_bits", dt::flags.offset, 0xFC);
    for (int i = 1; i <= dt::kSystemCount; ++i) {
        list.entry("systems", i - 1, i, ui::kSystem);
        list.reserved("reserved", dt::system(i));
        CodeReference(list.byte("call_code", dt::call_code(i), Ui(ui::kCall)));
        CodeReference(list.byte("id_code", dt::id_code(i), Ui(ui::kId)));
        AddSignalSystemOptions<dt::options, dt::duty, dt::auto_reset_on, dt::subaudio, dt::ani_mode, dt::ptt_switch,
                               dt::sequence>(list, i);
        list.byte("decode_mask", dt::decode_mask(i), Ui(303)).style = ValueStyle::DecodeMask;
    }
    for (int i = 0; i < dt::kDecodeCount; ++i) {
        list.entry("decode", i, i + 1, ui::kDecode);
        list.digits("digits", dt::decode(i), dt::kDecodeDigits);
        Listed(list.byte("type", dt::decode_type(i), Ui(312)), L::SignalDecodeType);
        list.reserved("reserved", uint16_t(dt::decode(i) + 6));
    }
    for (int i = 0; i < dt::kEncodeCount; ++i) {
        list.entry("encode", i, i + 1, ui::kEncode);
        list.digits("digits", dt::encode(i), dt::kEncodeDigits);
    }
}

std::vector<RecordField> BuildRecordFields()
{
    FieldList list;
    list.section("header", P::Channels);
    list.byte("channel_group", rec::channel_group, Ui(212));
    list.reserved("reserved_1", 1);
    list.reserved("reserved_2", 2);
    list.reserved("reserved_3", 3);
    list.section("channels", P::Channels);
    for (int n = 0; n <= rec::kChannelCount; ++n)   // slot 0 comes before channel 1 and is never used
        AddChannelSlot(list, n);
    AddGeneral(list);
    AddKeysAndScan(list);
    AddEmergency(list);
    AddTwoTone(list);
    AddFiveTone(list);
    AddDtmf(list);
    list.section("footer", P::Channels);
    list.byte("freq_band", rec::freq_band, Ui(ui::kFrequencyRange)).style = ValueStyle::Band;
    list.reserved("reserved_3047", 3047);
    return std::move(list.fields);
}

QString CaptionText(const TAppLang& lang, int text)
{
    return PlainCaption(UiText(lang, text)).trimmed();
}

}   // namespace

const std::vector<RecordField>& RecordFields()
{
    static const std::vector<RecordField> fields = BuildRecordFields();
    return fields;
}

std::span<const RecordField> ChannelSlotFields(int n)
{
    // Each slot's fields stand together, slot after slot.
    static const std::vector<std::span<const RecordField>> bySlot = [] {
        const std::vector<RecordField>& fields = RecordFields();
        std::vector<std::span<const RecordField>> found(std::size_t(rec::kChannelCount) + 1);
        for (std::size_t i = 0; i < fields.size();) {
            std::size_t end = i + 1;
            if (QLatin1String(fields[i].section) == QLatin1String("channels")) {
                while (end < fields.size() && fields[end].section == fields[i].section
                       && fields[end].index == fields[i].index)
                    ++end;
                found[std::size_t(fields[i].index)] = std::span(fields).subspan(i, end - i);
            }
            i = end;
        }
        return found;
    }();
    return n >= 0 && n <= rec::kChannelCount ? bySlot[std::size_t(n)] : std::span<const RecordField>();
}

const RecordField* FindField(std::span<const RecordField> fields, QLatin1String key)
{
    const auto it = std::find_if(fields.begin(), fields.end(), [key](const RecordField& f) { return f.key == key; });
    return it == fields.end() ? nullptr : &*it;
}

bool IsNamedField(const RecordField& field)
{
    return field.caption.own != OwnText::FieldReservedByte && field.caption.own != OwnText::FieldOtherBits;
}

bool IsPickOnly(const RecordField& field)
{
    return field.style == ValueStyle::Options || field.style == ValueStyle::Listed || !field.offered.empty();
}

bool IsOfferedValue(const RecordField& field, uint64_t value)
{
    if (!field.offered.empty())
        return value <= UINT_MAX && IsOffered(field.offered, unsigned(value));
    if (field.style == ValueStyle::Options)
        return value < std::max(field.uiOptions.size(), field.fixedOptions.size());
    if (field.style == ValueStyle::Listed) {
        const std::vector<int> values = SettingsListValues(field.list);
        return std::find(values.begin(), values.end(), int64_t(value) - field.listFirst) != values.end();
    }
    return true;
}

int FieldByteCount(const RecordField& field)
{
    switch (field.kind) {
    case FieldKind::Word: return 2;
    case FieldKind::Long: return 4;
    case FieldKind::DoubleBits: return 8;
    case FieldKind::Digits: return 1 + DigitCodeBytes(field.length);
    case FieldKind::Bytes: return field.length;
    default: return 1;
    }
}

uint8_t FieldByteMask(const RecordField& field)
{
    if (field.kind == FieldKind::Bits)
        return uint8_t(((1u << field.width) - 1) << field.shift);
    if (field.kind == FieldKind::OtherBits)
        return field.mask;
    return 0xFF;
}

bool FieldsEqual(const RadioRecord& a, const RadioRecord& b, const RecordField& field)
{
    const int count = FieldByteCount(field);
    if (count == 1) {
        const uint8_t mask = FieldByteMask(field);
        return ((a.bytes()[field.offset] ^ b.bytes()[field.offset]) & mask) == 0;
    }
    return std::memcmp(&a.bytes()[field.offset], &b.bytes()[field.offset], std::size_t(count)) == 0;
}

uint64_t FieldNumber(const RadioRecord& record, const RecordField& field)
{
    switch (field.kind) {
    case FieldKind::Byte: return record.get(U8Field{field.offset});
    case FieldKind::Word: return record.get(U16Field{field.offset});
    case FieldKind::Long: return record.get(U32Field{field.offset});
    case FieldKind::Bits: return record.get(BitField{field.offset, field.shift, field.width});
    case FieldKind::OtherBits: return record.get(U8Field{field.offset}) & field.mask;
    case FieldKind::DoubleBits: return std::bit_cast<uint64_t>(record.get(F64Field{field.offset}));
    default: return 0;
    }
}

void SetFieldNumber(RadioRecord& record, const RecordField& field, uint64_t value)
{
    switch (field.kind) {
    case FieldKind::Byte: record.set(U8Field{field.offset}, uint8_t(value)); break;
    case FieldKind::Word: record.set(U16Field{field.offset}, uint16_t(value)); break;
    case FieldKind::Long: record.set(U32Field{field.offset}, uint32_t(value)); break;
    case FieldKind::Bits: record.set(BitField{field.offset, field.shift, field.width}, unsigned(value)); break;
    case FieldKind::OtherBits: {
        const uint8_t kept = record.get(U8Field{field.offset}) & uint8_t(~field.mask);
        record.set(U8Field{field.offset}, uint8_t(kept | (value & field.mask)));
        break;
    }
    case FieldKind::DoubleBits: record.set(F64Field{field.offset}, std::bit_cast<double>(value)); break;
    default: break;
    }
}

uint64_t FieldLimit(const RecordField& field)
{
    switch (field.kind) {
    case FieldKind::Word: return 0xFFFF;
    case FieldKind::Long: return 0xFFFFFFFFu;
    case FieldKind::Bits: return (1u << field.width) - 1;
    case FieldKind::OtherBits: return field.mask;
    case FieldKind::DoubleBits: return ~uint64_t(0);
    default: return 0xFF;
    }
}

QString EditorPageName(EditorPage page, const TAppLang& lang)
{
    return CaptionText(lang, EditorPageText(page));
}

QString FieldCaption(const RecordField& field, const TAppLang& lang)
{
    QString caption;
    if (field.caption.ui >= 0)
        caption = CaptionText(lang, field.caption.ui);
    if (field.caption.uiSub >= 0)
        caption += QStringLiteral(", ") + CaptionText(lang, field.caption.uiSub);
    else if (field.caption.fixed)
        caption = QString::fromLatin1(field.caption.fixed);
    else if (field.caption.own == OwnText::FieldReservedByte || field.caption.own == OwnText::FieldOtherBits)
        caption = Text(lang, field.caption.own).arg(field.offset);   // named by the byte's place
    else if (field.caption.own != OwnText::Count)
        caption = Text(lang, field.caption.own);
    return caption;
}

QString FieldItemName(const RecordField& field, const TAppLang& lang)
{
    const QString caption = FieldCaption(field, lang);

    const bool channel = QLatin1String(field.section) == QLatin1String("channels");
    const QString context = channel
        ? QStringLiteral("%1 %2").arg(CaptionText(lang, field.entryCaption)).arg(field.entry)
        : EditorPageName(field.page, lang);
    QString item;
    if (!channel && field.entryCaption >= 0) {
        item = QStringLiteral("%1 %2").arg(CaptionText(lang, field.entryCaption)).arg(field.entry);
        if (!caption.isEmpty())
            item += QStringLiteral(", ") + caption;
    } else {
        item = caption;
    }
    return context + QStringLiteral(" \u00B7 ") + item;
}

QString FieldRawText(const RadioRecord& record, const RecordField& field)
{
    QStringList bytes;
    for (int i = 0; i < FieldByteCount(field); ++i)
        bytes << QStringLiteral("%1").arg(record.bytes()[field.offset + i], 2, 16, QChar('0')).toUpper();
    return bytes.join(' ');
}

QString FieldValueText(const RadioRecord& record, const RecordField& field, const TAppLang& lang)
{
    const uint64_t number = FieldNumber(record, field);
    switch (field.style) {
    case ValueStyle::Frequency: return FormatFrequency(uint32_t(number));
    case ValueStyle::SubAudio: return FormatSubAudio(uint8_t(number), record.get(field.polarity) != 0);
    case ValueStyle::Options:
        if (number < field.uiOptions.size())
            return CaptionText(lang, field.uiOptions[number]);
        if (number < field.fixedOptions.size())
            return QString::fromLatin1(field.fixedOptions[number]);
        return QString::number(number);
    case ValueStyle::Polarity: return number ? QStringLiteral("I") : QStringLiteral("N");
    case ValueStyle::UserCtcss: return FormatUserCtcss(record.get(F64Field{field.offset}));
    case ValueStyle::UserDcs: return QStringLiteral("%1").arg(number, 3, 10, QChar('0'));
    case ValueStyle::Digits:
        return UnpackDigits(record.slice(field.offset, std::size_t(FieldByteCount(field))), field.length);
    case ValueStyle::Bytes: return FieldRawText(record, field);
    case ValueStyle::Band: return QString::fromLatin1(BandName(int(number)));
    case ValueStyle::Listed: {
        const ListEntries entries = SettingsListEntries(field.list, lang);
        const int position = entries.positionOf(int(int64_t(number) - field.listFirst));
        if (position >= 0)
            return entries.texts[position].trimmed();
        break;   // a value no list holds shows as the number it is
    }
    case ValueStyle::CodeReference: return CodeReferenceText(uint8_t(number));
    case ValueStyle::Tenths: return TenthsText(uint8_t(number));
    case ValueStyle::DecodeMask: {
        // The decode entries ticked in the system's "De- n" columns.
        QStringList ticked;
        for (int bit = 0; bit < 8 * FieldByteCount(field); ++bit)
            if (number & (uint64_t(1) << bit))
                ticked << QString::number(bit + 1);
        return ticked.join(u' ');
    }
    case ValueStyle::KeyFunction: {
        const int text = KeyFunctionTextNumber(uint8_t(number));
        if (text >= 0)
            return CaptionText(lang, text);
        break;
    }
    case ValueStyle::Ordinal: return QString::number(number + 1);
    case ValueStyle::Number: break;
    }
    if (field.kind == FieldKind::OtherBits)
        return QStringLiteral("0x%1")
            .arg(number, 2, 16, QChar('0'))
            .toUpper()
            .replace(QLatin1String("0X"), QLatin1String("0x"));
    return QString::number(number);
}

}   // namespace k3n
