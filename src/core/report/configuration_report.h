// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A configuration as a person reads it: the band, the channels in use with
// formatted values, then every settings block as named raw values, as text.
#include "model/editor_page.h"
#include "model/radio_record.h"
#include <QJsonValue>
#include <QString>
#include <utility>
#include <vector>

namespace k3n {

using NamedValues = std::vector<std::pair<QString, QJsonValue>>;

// Numbered entries of a block (systems, encode and decode tables).
struct EntryGroup {
    QString key;   // "systems"
    QString label;   // "system": an entry shows as "system 3"
    std::vector<NamedValues> entries;
    std::vector<bool> holdsNothing;   // per entry: a code table's entry without a code
};

struct ReportSection {
    QString key;   // "dtmf"
    QString title;   // "DTMF"
    EditorPage page;   // the page the block is edited on
    NamedValues values;
    std::vector<EntryGroup> groups;
};

struct ConfigurationReport {
    int band = 0;
    QString bandName;
    std::vector<QString> channelHeaders;   // one per channel value, in order
    std::vector<NamedValues> channels;   // channels in use
    std::vector<ReportSection> sections;
};

ConfigurationReport BuildConfigurationReport(const RadioRecord& record);
// A value as text: numbers without a trailing fraction, strings as they are.
QString ValueText(const QJsonValue& value);
QString ReportAsText(const ConfigurationReport& report);

}   // namespace k3n
