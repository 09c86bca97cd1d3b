#pragma once
// A configuration as a person reads it: the band, the channels in use with
// formatted values, then every settings block as named raw values, as text.
#include "model/radio_record.h"
#include <QJsonValue>
#include <QString>
#include <utility>
#include <vector>

namespace k3n::cli {

using NamedValues = std::vector<std::pair<QString, QJsonValue>>;

// Numbered entries of a block (systems, encode and decode tables).
struct EntryGroup {
    QString key;       // "systems"
    QString label;     // "system": an entry shows as "system 3"
    std::vector<NamedValues> entries;
};

struct ReportSection {
    QString key;       // "dtmf"
    QString title;     // "DTMF"
    NamedValues values;
    std::vector<EntryGroup> groups;
};

struct ConfigurationReport {
    int band = 0;
    QString bandName;
    std::vector<QString> channelHeaders;   // one per channel value, in order
    std::vector<NamedValues> channels;     // channels in use
    std::vector<ReportSection> sections;
};

ConfigurationReport BuildConfigurationReport(const RadioRecord& record);
QString ReportAsText(const ConfigurationReport& report);

} // namespace k3n::cli
