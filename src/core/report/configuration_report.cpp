// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/configuration_report.h"
#include "model/channel_options.h"
#include "model/digit_code.h"
#include "model/radio_data.h"
#include "model/record_layout.h"
#include "model/value_codings.h"
#include <algorithm>
#include <span>
#include <variant>

namespace k3n {

namespace {

using FieldRef = std::variant<U8Field, U16Field, U32Field, F64Field, BitField, DigitCodeField>;

QJsonValue ValueOf(const RadioRecord& r, const FieldRef& field)
{
    return std::visit(
        [&r](const auto& f) -> QJsonValue {
            using F = std::decay_t<decltype(f)>;
            if constexpr (std::is_same_v<F, DigitCodeField>)
                return ReadDigitCode(r, f);
            else if constexpr (std::is_same_v<F, F64Field>)
                return r.get(f);
            else
                return qint64(r.get(f));
        },
        field);
}

// ---- channels ------------------------------------------------------------

// The option's name, or its number when the stored value is outside the list.
QJsonValue OptionName(unsigned value, std::span<const char* const> names)
{
    if (value < names.size())
        return QString::fromLatin1(names[value]);
    return QString::number(value);
}

struct ChannelColumn {
    const char* key;
    const char* header;
    QJsonValue (*value)(const RadioRecord& r, int n);
};

const ChannelColumn kChannelColumns[] = {
    {"number", "No.", [](const RadioRecord&, int n) { return QJsonValue(n); }},
    {"rx_freq", "RX Freq.", [](const RadioRecord& r, int n) { return QJsonValue(FormatFrequency(r.get(rec::ch::rx_freq(n)))); }},
    {"tx_freq", "TX Freq.", [](const RadioRecord& r, int n) { return QJsonValue(FormatFrequency(r.get(rec::ch::tx_freq(n)))); }},
    {"rx_tone", "RX Tone",
     [](const RadioRecord& r, int n) {
         return QJsonValue(FormatSubAudio(r.get(rec::ch::rx_subaudio(n)), r.get(rec::ch::rx_dcs_inverted(n)) != 0));
     }},
    {"tx_tone", "TX Tone",
     [](const RadioRecord& r, int n) {
         return QJsonValue(FormatSubAudio(r.get(rec::ch::tx_subaudio(n)), r.get(rec::ch::tx_dcs_inverted(n)) != 0));
     }},
    {"power", "Power", [](const RadioRecord& r, int n) { return OptionName(r.get(rec::ch::tx_power(n)), kPowerNames); }},
    {"bandwidth", "Bandwidth",
     [](const RadioRecord& r, int n) { return OptionName(r.get(rec::ch::bandwidth(n)), kBandwidthNames); }},
    {"squelch", "SQL", [](const RadioRecord& r, int n) { return QJsonValue(r.get(rec::ch::squelch(n))); }},
    {"scramble", "Scramble", [](const RadioRecord& r, int n) { return QJsonValue(r.get(rec::ch::scramble_no(n))); }},
    {"scan", "Scan", [](const RadioRecord& r, int n) { return OptionName(r.get(rec::ch::scan_add(n)), kScanNames); }},
    {"lock_out", "Lock Out",
     [](const RadioRecord& r, int n) { return OptionName(r.get(rec::ch::busy_lockout(n)), kLockOutNames); }},
    {"xtal_shift", "Xtal Shift",
     [](const RadioRecord& r, int n) { return OptionName(r.get(rec::ch::xtal_shift(n)), kOffOnNames); }},
    {"signaling_system", "Signaling",
     [](const RadioRecord& r, int n) {
         return OptionName(r.get(rec::ch::signaling_system(n)), kSignalSystemNames);
     }},
    {"signaling_no", "Sig. No.",
     [](const RadioRecord& r, int n) {
         // The number means nothing while signalling is off.
         return r.get(rec::ch::signaling_system(n)) == 0 ? QJsonValue() : QJsonValue(int(r.get(rec::ch::signaling_no(n))) + 1);
     }},
};

// ---- settings blocks -----------------------------------------------------

struct NamedField {
    const char* name;
    FieldRef field;
};
struct EntryField {
    const char* name;
    FieldRef (*at)(int index);
};
struct GroupSpec {
    const char* key;
    const char* label;
    int firstIndex;   // the layout's index of entry 1
    int count;
    std::span<const EntryField> fields;
    bool (*holdsNothing)(const RadioRecord& r, int index);   // nullptr: every entry counts
};
struct SectionSpec {
    const char* key;
    const char* title;
    EditorPage page;
    std::span<const NamedField> fields;
    std::span<const GroupSpec> groups;
};

template <auto F>
FieldRef at(int i) { return F(i); }
template <auto Offset, int MaxDigits>
FieldRef digitsAt(int i) { return DigitCodeField{Offset(i), MaxDigits}; }
template <auto F, uint8_t Shift>
FieldRef nibbleAt(int i) { return BitField{F(i).offset, Shift, 4}; }
template <auto Offset, int MaxDigits>
bool noDigitsAt(const RadioRecord& r, int i) { return IsEmptyDigitCode(r, DigitCodeField{Offset(i), MaxDigits}); }
// Tone A and tone B both 15, "none".
constexpr uint8_t kNoTones = 0xFF;
template <auto F>
bool noTonesAt(const RadioRecord& r, int i) { return r.get(F(i)) == kNoTones; }

using namespace rec;

const NamedField kGeneralFields[] = {
    {"tot", tot}, {"toa", toa}, {"burst_tone", burst_tone}, {"saving", saving},
    {"batlow_warning_time", batlow_warning_time}, {"vox", vox}, {"vox_delay", vox_delay},
    {"ctcss_tail", ctcss_tail}, {"ctcss_extra_tail", ctcss_extra_tail}, {"batlow_rx", batlow_rx},
    {"batlow_tx", batlow_tx}, {"compandor", compandor}, {"scrambling", scrambling}, {"key_lock", key_lock},
    {"beep", beep}, {"user_ctcss_freq", user_ctcss_freq}, {"user_dcs_code", user_dcs_code}, {"voice", voice},
    {"talk_around", talk_around},
};
const EntryField kScrambleFields[] = {{"freq", at<scramble_freq>}};
const GroupSpec kGeneralGroups[] = {{"scramble", "scramble", 0, kScrambleFreqCount, kScrambleFields, nullptr}};

const NamedField kKeyFields[] = {
    {"key1_press", key1_press}, {"key1_hold", key1_hold}, {"key1_power_on", key1_power_on},
    {"key2_press", key2_press}, {"key2_hold", key2_hold}, {"key2_power_on", key2_power_on},
    {"key3_press", key3_press}, {"key3_hold", key3_hold}, {"key3_power_on", key3_power_on},
    {"key_hold_time", key_hold_time}, {"emergency_hold_time", emergency_hold_time},
};

const NamedField kScanFields[] = {
    {"scan_resume_time_rx", scan_resume_time_rx}, {"scan_resume_time_tx", scan_resume_time_tx},
    {"scan_busy_time", scan_busy_time}, {"scan_tx_mode", scan_tx_mode},
    {"scan_designated_channel", scan_designated_channel}, {"home_channel", home_channel},
    {"priority_channel", priority_channel}, {"dual_watch_channel", dual_watch_channel}, {"talk_back", talk_back},
};

const NamedField kEmergencyFields[] = {
    {"channel_select", emergency_channel_select}, {"designated_channel", emergency_designated_channel},
    {"active_time", emergency_active_time}, {"rx_time", emergency_rx_time}, {"tx_time", emergency_tx_time},
    {"siren_time", emergency_siren_time}, {"response_time", emergency_response_time},
    {"reminder_time", emergency_reminder_time}, {"encode_select", emergency_encode_select},
    {"signaling_type", emergency_signaling_type}, {"mode", emergency_mode_bits},
    {"current_channel", emergency_current_channel}, {"encode_system", emergency_encode_system},
};

const NamedField kDtmfFields[] = {
    {"lead_in", dtmf::lead_in}, {"lead_out", dtmf::lead_out}, {"call_1", dtmf::call_1}, {"call_2", dtmf::call_2},
    {"tone_speed", dtmf::tone_speed}, {"group_tone", dtmf::group_tone}, {"gap_tone", dtmf::gap_tone},
    {"ani_lock", dtmf::ani_lock}, {"auto_reset", dtmf::auto_reset}, {"pause_tone", dtmf::pause_tone},
    {"pause_time", dtmf::pause_time}, {"ptt_call", dtmf::ptt_call}, {"pause_tone_enable", dtmf::pause_tone_enable},
};
const EntryField kDtmfSystemFields[] = {
    {"call_code", at<dtmf::call_code>}, {"id_code", at<dtmf::id_code>}, {"duty", at<dtmf::duty>},
    {"auto_reset", at<dtmf::auto_reset_on>}, {"subaudio", at<dtmf::subaudio>}, {"ani_mode", at<dtmf::ani_mode>},
    {"ptt_switch", at<dtmf::ptt_switch>}, {"sequence", at<dtmf::sequence>}, {"decode_mask", at<dtmf::decode_mask>},
};
const EntryField kDtmfDecodeFields[] = {
    {"digits", digitsAt<dtmf::decode, dtmf::kDecodeDigits>}, {"type", at<dtmf::decode_type>},
};
const EntryField kDtmfEncodeFields[] = {{"digits", digitsAt<dtmf::encode, dtmf::kEncodeDigits>}};
const GroupSpec kDtmfGroups[] = {
    {"systems", "system", 1, dtmf::kSystemCount, kDtmfSystemFields, nullptr},
    {"decode", "decode", 0, dtmf::kDecodeCount, kDtmfDecodeFields, noDigitsAt<dtmf::decode, dtmf::kDecodeDigits>},
    {"encode", "encode", 0, dtmf::kEncodeCount, kDtmfEncodeFields, noDigitsAt<dtmf::encode, dtmf::kEncodeDigits>},
};

const NamedField kFiveToneFields[] = {
    {"group_tone", five_tone::group_tone}, {"repeat_tone", five_tone::repeat_tone},
    {"last_gap_tone", five_tone::last_gap_tone}, {"trans_delay_time", five_tone::trans_delay_time},
    {"clear_trans_delay_time", five_tone::clear_trans_delay_time}, {"extended_1st", five_tone::extended_1st},
    {"extended_2nd", five_tone::extended_2nd}, {"last_gap_time", five_tone::last_gap_time},
    {"last_2nd_gap_time", five_tone::last_2nd_gap_time}, {"ack_retry", five_tone::ack_retry},
    {"ack_decode_time", five_tone::ack_decode_time}, {"id_decode_time", five_tone::id_decode_time},
    {"auto_tx_time", five_tone::auto_tx_time}, {"ani_lock", five_tone::ani_lock},
    {"auto_reset", five_tone::auto_reset}, {"lead_in", five_tone::lead_in}, {"lead_out", five_tone::lead_out},
    {"call_1", five_tone::call_1}, {"call_2", five_tone::call_2}, {"ptt_call", five_tone::ptt_call},
};
const EntryField kFiveToneSystemFields[] = {
    {"standard", at<five_tone::standard>}, {"repeat_code", at<five_tone::repeat_code>},
    {"call_code", at<five_tone::call_code>}, {"id_code", at<five_tone::id_code>}, {"duty", at<five_tone::duty>},
    {"auto_reset", at<five_tone::auto_reset_on>}, {"subaudio", at<five_tone::subaudio>},
    {"ani_mode", at<five_tone::ani_mode>}, {"ptt_switch", at<five_tone::ptt_switch>},
    {"sequence", at<five_tone::sequence>}, {"decode_mask", at<five_tone::decode_mask>},
};
const EntryField kFiveToneEncodeFields[] = {{"digits", digitsAt<five_tone::encode, five_tone::kEncodeDigits>}};
const EntryField kFiveToneDecodeFields[] = {
    {"digits", digitsAt<five_tone::decode, five_tone::kDecodeDigits>}, {"type", at<five_tone::decode_type>},
    {"transpond", at<five_tone::decode_transpond>},
};
const GroupSpec kFiveToneGroups[] = {
    {"systems", "system", 1, five_tone::kSystemCount, kFiveToneSystemFields, nullptr},
    {"encode", "encode", 0, five_tone::kEncodeCount, kFiveToneEncodeFields,
     noDigitsAt<five_tone::encode, five_tone::kEncodeDigits>},
    {"decode", "decode", 0, five_tone::kDecodeCount, kFiveToneDecodeFields,
     noDigitsAt<five_tone::decode, five_tone::kDecodeDigits>},
};

const NamedField kTwoToneFields[] = {
    {"lead_in", two_tone::lead_in}, {"lead_out", two_tone::lead_out},
    {"call_1", two_tone::call_1}, {"call_2", two_tone::call_2},
};
const EntryField kTwoToneSystemFields[] = {
    {"tone_table", at<two_tone::tone_table>}, {"call_code", at<two_tone::call_code>},
    {"group_time", at<two_tone::group_time>}, {"tone_a_time", at<two_tone::tone_a_time>},
    {"tone_b_time", at<two_tone::tone_b_time>}, {"auto_reset_time", at<two_tone::auto_reset_time>},
    {"duty", at<two_tone::duty>}, {"auto_reset", at<two_tone::auto_reset>}, {"subaudio", at<two_tone::subaudio>},
    {"ptt_switch", at<two_tone::ptt_switch>}, {"decode_mask", at<two_tone::decode_mask>},
};
// Encode and decode bytes: tone A in the low nibble, tone B in the high one.
const EntryField kTwoToneEncodeFields[] = {
    {"tone_a", nibbleAt<two_tone::encode, 0>}, {"tone_b", nibbleAt<two_tone::encode, 4>},
};
const EntryField kTwoToneDecodeFields[] = {
    {"tone_a", nibbleAt<two_tone::decode, 0>}, {"tone_b", nibbleAt<two_tone::decode, 4>},
};
const GroupSpec kTwoToneGroups[] = {
    {"systems", "system", 1, two_tone::kSystemCount, kTwoToneSystemFields, nullptr},
    {"encode", "encode", 0, two_tone::kEncodeCount, kTwoToneEncodeFields, noTonesAt<two_tone::encode>},
    {"decode", "decode", 0, two_tone::kDecodeCount, kTwoToneDecodeFields, noTonesAt<two_tone::decode>},
};

const SectionSpec kSections[] = {
    {"general", "General settings", EditorPage::General, kGeneralFields, kGeneralGroups},
    {"keys", "Keys", EditorPage::Keys, kKeyFields, {}},
    {"scan", "Scan", EditorPage::Scan, kScanFields, {}},
    {"emergency", "Emergency", EditorPage::Emergency, kEmergencyFields, {}},
    {"dtmf", "DTMF", EditorPage::Dtmf, kDtmfFields, kDtmfGroups},
    {"five_tone", "Five-tone", EditorPage::FiveTone, kFiveToneFields, kFiveToneGroups},
    {"two_tone", "Two-tone", EditorPage::TwoTone, kTwoToneFields, kTwoToneGroups},
};

// ---- text layout -----------------------------------------------------------

void AppendChannelTable(QString& out, const ConfigurationReport& report)
{
    const std::size_t columns = report.channelHeaders.size();
    std::vector<qsizetype> width(columns);
    for (std::size_t c = 0; c < columns; ++c) {
        width[c] = report.channelHeaders[c].size();
        for (const NamedValues& row : report.channels)
            width[c] = std::max(width[c], ValueText(row[c].second).size());
    }
    auto appendLine = [&](auto cellOf) {
        QString line;
        for (std::size_t c = 0; c < columns; ++c) {
            const auto [text, alignRight] = cellOf(c);
            line += alignRight ? text.rightJustified(width[c]) : text.leftJustified(width[c]);
            line += QLatin1String("  ");
        }
        while (line.endsWith(' '))
            line.chop(1);
        out += line + '\n';
    };
    appendLine([&](std::size_t c) { return std::pair{report.channelHeaders[c], false}; });
    for (const NamedValues& row : report.channels)
        appendLine([&](std::size_t c) { return std::pair{ValueText(row[c].second), row[c].second.isDouble()}; });
}

QString EntryLine(const NamedValues& entry)
{
    QStringList parts;
    for (const auto& [name, value] : entry)
        parts << name + '=' + ValueText(value);
    return parts.join(' ');
}

} // namespace

QString ValueText(const QJsonValue& v)
{
    if (v.isDouble())
        return QString::number(v.toDouble(), 'g', 15);
    return v.toString();
}

ConfigurationReport BuildConfigurationReport(const RadioRecord& record)
{
    ConfigurationReport report;
    report.band = record.get(rec::freq_band);
    report.bandName = report.band < kBandCount ? QString::fromLatin1(BandName(report.band))
                                               : QStringLiteral("unknown band %1").arg(report.band);
    for (const ChannelColumn& column : kChannelColumns)
        report.channelHeaders.push_back(QString::fromLatin1(column.header));
    for (int n = 1; n <= rec::kChannelCount; ++n) {
        if (!record.get(rec::ch::in_use(n)))
            continue;
        NamedValues row;
        for (const ChannelColumn& column : kChannelColumns)
            row.emplace_back(QString::fromLatin1(column.key), column.value(record, n));
        report.channels.push_back(std::move(row));
    }
    for (const SectionSpec& layout : kSections) {
        ReportSection section{QString::fromLatin1(layout.key), QString::fromLatin1(layout.title), layout.page, {}, {}};
        for (const NamedField& f : layout.fields)
            section.values.emplace_back(QString::fromLatin1(f.name), ValueOf(record, f.field));
        for (const GroupSpec& g : layout.groups) {
            EntryGroup group{QString::fromLatin1(g.key), QString::fromLatin1(g.label), {}, {}};
            for (int i = g.firstIndex; i < g.firstIndex + g.count; ++i) {
                NamedValues entry;
                for (const EntryField& f : g.fields)
                    entry.emplace_back(QString::fromLatin1(f.name), ValueOf(record, f.at(i)));
                group.entries.push_back(std::move(entry));
                group.holdsNothing.push_back(g.holdsNothing && g.holdsNothing(record, i));
            }
            section.groups.push_back(std::move(group));
        }
        report.sections.push_back(std::move(section));
    }
    return report;
}

QString ReportAsText(const ConfigurationReport& report)
{
    QString out;
    out += QStringLiteral("Band: %1 (%2)\n\n").arg(report.bandName).arg(report.band);
    out += QStringLiteral("Channels in use: %1\n").arg(report.channels.size());
    if (!report.channels.empty())
        AppendChannelTable(out, report);
    for (const ReportSection& section : report.sections) {
        out += '\n' + section.title + '\n';
        qsizetype nameWidth = 0;
        for (const auto& [name, value] : section.values)
            nameWidth = std::max(nameWidth, name.size());
        for (const auto& [name, value] : section.values)
            out += QStringLiteral("  %1 = %2\n").arg(name.leftJustified(nameWidth), ValueText(value));
        for (const EntryGroup& group : section.groups) {
            int number = 0;
            for (const NamedValues& entry : group.entries)
                out += QStringLiteral("  %1 %2: %3\n").arg(group.label).arg(++number).arg(EntryLine(entry));
        }
    }
    return out;
}

} // namespace k3n
