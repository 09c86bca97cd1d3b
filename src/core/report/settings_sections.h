// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The record's settings as a reader meets them, gathered from the field
// catalogue: section by section (one editor page each), the section's own
// values, then its tables, each entry with its fields. Reserved bytes and the
// bits no named field holds are left out. The dump and the printed report
// both read it, so neither can leave out a field the other shows.
#include "model/editor_page.h"
#include "model/radio_record.h"
#include <vector>

namespace k3n {

struct RecordField;

struct FieldEntry {
    int number;   // the entry's number for a person (system 3, encode 12)
    std::vector<const RecordField*> fields;
};

struct FieldTable {
    const char* group;   // "systems", "encode", ...
    std::vector<FieldEntry> entries;
};

struct SettingsSection {
    const char* name;   // "general", "dtmf", ...
    EditorPage page;
    std::vector<const RecordField*> fields;
    std::vector<FieldTable> tables;
};

// Every section of the settings pages and signalling editors, in layout order; built once.
const std::vector<SettingsSection>& SettingsSections();

// A code table's entry without a code, or a tone table's entry without tones
// (every tone at its highest value, which stands for none).
bool HoldsNothing(const RadioRecord& record, const FieldEntry& entry);

}   // namespace k3n
