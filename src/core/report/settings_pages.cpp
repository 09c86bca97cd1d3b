// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/settings_pages.h"
#include "model/record_fields.h"
#include "model/digit_code.h"
#include "text/ui_text.h"
#include <algorithm>
#include <map>

namespace k3n {

namespace {

// Reserved bytes and unnamed bits mean nothing to a reader.
bool IsShownSetting(const RecordField& field)
{
    return field.caption.own != OwnText::FieldReservedByte && field.caption.own != OwnText::FieldOtherBits;
}

bool IsSettingsPage(const RecordField& field)
{
    return field.page != EditorPage::Channels;
}

// A code table's entry without a code, or a tone table's entry without tones
// (every tone at its highest value, which stands for none).
bool HoldsNothing(const RadioRecord& record, const std::vector<const RecordField*>& entry)
{
    for (const RecordField* field : entry)
        if (field->kind == FieldKind::Digits)
            return IsEmptyDigitCode(record, {field->offset, field->length});
    return std::all_of(entry.begin(), entry.end(), [&record](const RecordField* field) {
        return field->kind == FieldKind::Bits && FieldNumber(record, *field) == FieldLimit(*field);
    });
}

EntryTable BuildTable(const RadioRecord& record, const TAppLang& lang,
                      const std::vector<std::vector<const RecordField*>>& entries)
{
    const RecordField& first = *entries.front().front();
    EntryTable table;
    table.title = PlainCaption(UiText(lang, first.entryCaption)).trimmed();
    table.headers << table.title;
    for (const RecordField* field : entries.front()) {
        table.headers << FieldCaption(*field, lang);   // empty over an entry's main value
    }
    for (const auto& entry : entries) {
        if (HoldsNothing(record, entry))
            continue;
        QStringList texts;
        for (const RecordField* field : entry)
            texts << FieldValueText(record, *field, lang);
        table.rows.emplace_back(entry.front()->entry, texts);
    }
    return table;
}

} // namespace

std::vector<SettingsPageReport> BuildSettingsPages(const RadioRecord& record, const TAppLang& lang)
{
    std::vector<SettingsPageReport> pages;
    // Per page, per table in layout order, per entry: the entry's shown fields.
    std::vector<std::vector<std::pair<QString, std::map<int, std::vector<const RecordField*>>>>> groups;
    for (const RecordField& field : RecordFields()) {
        if (!IsSettingsPage(field) || !IsShownSetting(field))
            continue;
        if (pages.empty() || pages.back().page != field.page) {
            pages.push_back({field.page, EditorPageName(field.page, lang), {}, {}});
            groups.emplace_back();
        }
        if (!field.group) {
            pages.back().values.emplace_back(FieldCaption(field, lang), FieldValueText(record, field, lang));
            continue;
        }
        auto& tables = groups.back();
        const QString group = QString::fromLatin1(field.group);
        if (tables.empty() || tables.back().first != group)
            tables.emplace_back(group, std::map<int, std::vector<const RecordField*>>{});
        tables.back().second[field.index].push_back(&field);
    }
    for (std::size_t i = 0; i < pages.size(); ++i) {
        for (const auto& [name, byIndex] : groups[i]) {
            std::vector<std::vector<const RecordField*>> entries;
            for (const auto& [index, fields] : byIndex)
                entries.push_back(fields);
            EntryTable table = BuildTable(record, lang, entries);
            if (!table.rows.empty())
                pages[i].tables.push_back(std::move(table));
        }
    }
    return pages;
}

} // namespace k3n
