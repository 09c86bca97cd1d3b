// SPDX-License-Identifier: GPL-3.0-or-later
// The dump's settings blocks are built from the record's field catalogue:
// every named field of every settings page appears once, under its section
// and entry, with what the record stores.
#include "model/digit_code.h"
#include "model/record_fields.h"
#include "report/configuration_report.h"
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace k3n {
namespace {

RadioRecord RandomRecord()
{
    RadioRecord record;
    QRandomGenerator random(2601);
    for (std::size_t i = 0; i < record.bytes().size(); ++i)
        record.set(U8Field{uint16_t(i)}, uint8_t(random.bounded(256)));
    return record;
}

QJsonValue StoredJson(const RadioRecord& record, const RecordField& field)
{
    if (field.kind == FieldKind::Digits)
        return ReadDigitCode(record, {field.offset, field.length});
    if (field.kind == FieldKind::DoubleBits)
        return record.get(F64Field{field.offset});
    return qint64(FieldNumber(record, field));
}

// The value named key in values; undefined when there is none.
QJsonValue Named(const NamedValues& values, const QString& key)
{
    for (const auto& [name, value] : values)
        if (name == key)
            return value;
    return QJsonValue(QJsonValue::Undefined);
}

TEST(ConfigurationReport, EveryNamedSettingOfTheCatalogueIsInItsSectionWithItsStoredValue)
{
    const RadioRecord record = RandomRecord();
    const ConfigurationReport report = BuildConfigurationReport(record);
    std::size_t expected = 0;
    for (const RecordField& field : RecordFields()) {
        if (field.page == EditorPage::Channels || !IsNamedField(field))
            continue;
        ++expected;
        const std::string what = QStringLiteral("%1/%2/%3/%4")
                                     .arg(QLatin1String(field.section), QLatin1String(field.group))
                                     .arg(field.entry)
                                     .arg(field.key)
                                     .toStdString();
        const auto section = std::find_if(report.sections.begin(), report.sections.end(), [&](const ReportSection& s) {
            return s.key == QLatin1String(field.section);
        });
        ASSERT_NE(section, report.sections.end()) << what;
        EXPECT_EQ(section->page, field.page) << what;
        if (!field.group) {
            EXPECT_EQ(Named(section->values, field.key), StoredJson(record, field)) << what;
            continue;
        }
        const auto group = std::find_if(section->groups.begin(), section->groups.end(),
                                        [&](const EntryGroup& g) { return g.key == QLatin1String(field.group); });
        ASSERT_NE(group, section->groups.end()) << what;
        ASSERT_LE(field.entry, int(group->entries.size())) << what;
        EXPECT_EQ(Named(group->entries[std::size_t(field.entry - 1)], field.key), StoredJson(record, field)) << what;
    }
    std::size_t reported = 0;
    for (const ReportSection& section : report.sections) {
        reported += section.values.size();
        for (const EntryGroup& group : section.groups)
            for (const NamedValues& entry : group.entries)
                reported += entry.size();
    }
    EXPECT_EQ(reported, expected);   // nothing twice, nothing that is not a field
}

}   // namespace
}   // namespace k3n
