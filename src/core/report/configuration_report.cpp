// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/configuration_report.h"
#include "model/digit_code.h"
#include "model/radio_data.h"
#include "model/record_fields.h"
#include "model/record_layout.h"
#include "model/value_codings.h"
#include "report/settings_sections.h"
#include <algorithm>
#include <span>

namespace k3n {

namespace {

// ---- channels ------------------------------------------------------------

// The option's name, or its number when the stored value is outside the list.
QJsonValue OptionName(uint64_t value, std::span<const char* const> names)
{
    if (value < names.size())
        return QString::fromLatin1(names[value]);
    return QString::number(value);
}

// A channel's value as its column shows it: formatted, named, or a number.
QJsonValue ChannelValue(const RadioRecord& r, const RecordField& field)
{
    const uint64_t number = FieldNumber(r, field);
    switch (field.style) {
    case ValueStyle::Frequency: return FormatFrequency(uint32_t(number));
    case ValueStyle::SubAudio: return FormatSubAudio(uint8_t(number), r.get(field.polarity) != 0);
    case ValueStyle::Options: return OptionName(number, field.fixedOptions);
    case ValueStyle::Ordinal: return qint64(number) + 1;
    default: return qint64(number);
    }
}

struct ChannelColumn {
    const char* key;
    const char* header;
    const char* field;   // the channel's field; nullptr for the channel's number
    bool onlyWithSignaling = false;   // the number means nothing while signalling is off
};

const ChannelColumn kChannelColumns[] = {
    {"number", "No.", nullptr},
    {"rx_freq", "RX Freq.", "rx_freq"},
    {"tx_freq", "TX Freq.", "tx_freq"},
    {"rx_tone", "RX Tone", "rx_subaudio"},
    {"tx_tone", "TX Tone", "tx_subaudio"},
    {"power", "Power", "tx_power"},
    {"bandwidth", "Bandwidth", "bandwidth"},
    {"squelch", "SQL", "squelch"},
    {"scramble", "Scramble", "scramble_no"},
    {"scan", "Scan", "scan_add"},
    {"lock_out", "Lock Out", "busy_lockout"},
    {"xtal_shift", "Xtal Shift", "xtal_shift"},
    {"signaling_system", "Signaling", "signaling_system"},
    {"signaling_no", "Sig. No.", "signaling_no", true},
};

NamedValues ChannelRow(const RadioRecord& r, int n)
{
    const std::span<const RecordField> slot = ChannelSlotFields(n);
    NamedValues row;
    for (const ChannelColumn& column : kChannelColumns) {
        QJsonValue value(n);
        if (column.field) {
            const RecordField& field = *FindField(slot, QLatin1String(column.field));
            const bool shown = !column.onlyWithSignaling || r.get(rec::ch::signaling_system(n)) != 0;
            value = shown ? ChannelValue(r, field) : QJsonValue();
        }
        row.emplace_back(QString::fromLatin1(column.key), value);
    }
    return row;
}

// ---- settings blocks -----------------------------------------------------

// The sections in the order the dump prints them, with their titles.
struct SectionTitle {
    const char* key;
    const char* title;
};
const SectionTitle kSectionTitles[] = {
    {"general", "General settings"}, {"keys", "Keys"}, {"scan", "Scan"},
    {"emergency", "Emergency"},      {"dtmf", "DTMF"}, {"five_tone", "Five-tone"},
    {"two_tone", "Two-tone"},
};

// A setting as it is stored: a number, the user CTCSS frequency, a code's digits.
QJsonValue StoredValue(const RadioRecord& r, const RecordField& field)
{
    switch (field.kind) {
    case FieldKind::Digits: return ReadDigitCode(r, {field.offset, field.length});
    case FieldKind::DoubleBits: return r.get(F64Field{field.offset});
    default: return qint64(FieldNumber(r, field));
    }
}

NamedValues StoredValues(const RadioRecord& r, const std::vector<const RecordField*>& fields)
{
    NamedValues values;
    for (const RecordField* field : fields)
        values.emplace_back(field->key, StoredValue(r, *field));
    return values;
}

// A table's entry reads in the singular: "system 3", "encode 12".
QString EntryLabel(const char* group)
{
    const QString name = QString::fromLatin1(group);
    return name == QLatin1String("systems") ? QStringLiteral("system") : name;
}

ReportSection BuildSection(const RadioRecord& r, const SectionTitle& title)
{
    const auto& sections = SettingsSections();
    const auto section = std::find_if(sections.begin(), sections.end(), [&title](const SettingsSection& s) {
        return QLatin1String(s.name) == QLatin1String(title.key);
    });
    ReportSection report{QString::fromLatin1(title.key),
                         QString::fromLatin1(title.title),
                         section->page,
                         StoredValues(r, section->fields),
                         {}};
    for (const FieldTable& table : section->tables) {
        EntryGroup group{QString::fromLatin1(table.group), EntryLabel(table.group), {}, {}};
        for (const FieldEntry& entry : table.entries) {
            group.entries.push_back(StoredValues(r, entry.fields));
            group.holdsNothing.push_back(HoldsNothing(r, entry));
        }
        report.groups.push_back(std::move(group));
    }
    return report;
}

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

}   // namespace

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
        if (record.get(rec::ch::in_use(n)))
            report.channels.push_back(ChannelRow(record, n));
    }
    for (const SectionTitle& title : kSectionTitles)
        report.sections.push_back(BuildSection(record, title));
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

}   // namespace k3n
