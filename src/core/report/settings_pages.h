// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings pages and signalling blocks of a configuration as a person
// reads them on paper: each setting by the caption its editor shows and its
// value as the editor shows it, in the language given, and each table's
// entries that hold something. Built on the record's list of fields, the
// same one that names fields for the comparison and the JSON image.
#include "model/editor_page.h"
#include "model/radio_record.h"
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace k3n {

class TAppLang;

using CaptionedValues = std::vector<std::pair<QString, QString>>;   // caption, value text

struct EntryTable {
    QString title;   // "Encode"
    QStringList headers;   // the entry's number first, then one per value
    std::vector<std::pair<int, QStringList>> rows;   // entry number, value texts
};

struct SettingsPageReport {
    EditorPage page;
    QString title;   // the page's name
    CaptionedValues values;
    std::vector<EntryTable> tables;   // only tables with an entry left
};

// General, keys, scan, emergency, then the signalling blocks, in the editors' order.
std::vector<SettingsPageReport> BuildSettingsPages(const RadioRecord& record, const TAppLang& lang);

}   // namespace k3n
