// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What differs between two configurations, field by field, each difference
// named as a person would ("Channel 12 · TX Freq.") with the values as the
// editors show them, in the interface language.
#include "model/editor_page.h"
#include "model/radio_data.h"
#include <QJsonArray>
#include <QString>
#include <vector>

namespace k3n {

class TAppLang;

struct ConfigurationDifference {
    EditorPage page;
    QString pageName;   // "Channel Settings"
    int channel;   // 1..128 for a channel's field, else 0
    QString item;   // "Channel 12 · TX Freq."
    QString oldText;   // the value in the first configuration
    QString newText;   // and in the second

    // "Channel 12 · TX Freq.: 146.52000 → 147.12000"
    QString line() const;
};

// Every field whose bits differ, page by page, in layout order within a page.
std::vector<ConfigurationDifference> DiffConfigurations(const RadioRecord& a, const RadioRecord& b,
                                                        const TAppLang& lang);
std::vector<ConfigurationDifference> DiffConfigurations(const RadioData& a, const RadioData& b, const TAppLang& lang);

// The list as lines, "[page name]" before the first line of each page.
QStringList DifferenceLines(const std::vector<ConfigurationDifference>& differences);
QJsonArray DifferencesAsJson(const std::vector<ConfigurationDifference>& differences);

}   // namespace k3n
