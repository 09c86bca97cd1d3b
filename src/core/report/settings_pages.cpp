// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/settings_pages.h"
#include "model/record_fields.h"
#include "report/settings_sections.h"
#include "text/ui_text.h"

namespace k3n {

namespace {

EntryTable BuildTable(const RadioRecord& record, const TAppLang& lang, const FieldTable& fields)
{
    const FieldEntry& first = fields.entries.front();
    EntryTable table;
    table.title = PlainCaption(UiText(lang, first.fields.front()->entryCaption)).trimmed();
    table.headers << table.title;
    for (const RecordField* field : first.fields) {
        table.headers << FieldCaption(*field, lang);   // empty over an entry's main value
    }
    for (const FieldEntry& entry : fields.entries) {
        if (HoldsNothing(record, entry))
            continue;
        QStringList texts;
        for (const RecordField* field : entry.fields)
            texts << FieldValueText(record, *field, lang);
        table.rows.emplace_back(entry.number, texts);
    }
    return table;
}

}   // namespace

std::vector<SettingsPageReport> BuildSettingsPages(const RadioRecord& record, const TAppLang& lang)
{
    std::vector<SettingsPageReport> pages;
    for (const SettingsSection& section : SettingsSections()) {
        SettingsPageReport page{section.page, EditorPageName(section.page, lang), {}, {}};
        for (const RecordField* field : section.fields)
            page.values.emplace_back(FieldCaption(*field, lang), FieldValueText(record, *field, lang));
        for (const FieldTable& fields : section.tables) {
            EntryTable table = BuildTable(record, lang, fields);
            if (!table.rows.empty())
                page.tables.push_back(std::move(table));
        }
        pages.push_back(std::move(page));
    }
    return pages;
}

}   // namespace k3n
