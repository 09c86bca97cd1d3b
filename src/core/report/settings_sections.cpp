// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/settings_sections.h"
#include "model/digit_code.h"
#include "model/record_fields.h"
#include <QLatin1String>
#include <algorithm>

namespace k3n {

namespace {

bool SameName(const char* a, const char* b)
{
    return a && b && QLatin1String(a) == QLatin1String(b);
}

std::vector<SettingsSection> GatherSections()
{
    std::vector<SettingsSection> sections;
    for (const RecordField& field : RecordFields()) {
        if (field.page == EditorPage::Channels || !IsNamedField(field))
            continue;
        if (sections.empty() || !SameName(sections.back().name, field.section))
            sections.push_back({field.section, field.page, {}, {}});
        SettingsSection& section = sections.back();
        if (!field.group) {
            section.fields.push_back(&field);
            continue;
        }
        if (section.tables.empty() || !SameName(section.tables.back().group, field.group))
            section.tables.push_back({field.group, {}});
        std::vector<FieldEntry>& entries = section.tables.back().entries;
        if (entries.empty() || entries.back().fields.front()->index != field.index)
            entries.push_back({field.entry, {}});
        entries.back().fields.push_back(&field);
    }
    return sections;
}

}   // namespace

const std::vector<SettingsSection>& SettingsSections()
{
    static const std::vector<SettingsSection> sections = GatherSections();
    return sections;
}

bool HoldsNothing(const RadioRecord& record, const FieldEntry& entry)
{
    for (const RecordField* field : entry.fields)
        if (field->kind == FieldKind::Digits)
            return IsEmptyDigitCode(record, {field->offset, field->length});
    return std::all_of(entry.fields.begin(), entry.fields.end(), [&record](const RecordField* field) {
        return field->kind == FieldKind::Bits && FieldNumber(record, *field) == FieldLimit(*field);
    });
}

}   // namespace k3n
