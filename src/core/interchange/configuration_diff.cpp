// SPDX-License-Identifier: GPL-3.0-or-later
#include "interchange/configuration_diff.h"
#include "model/record_fields.h"
#include <QJsonObject>
#include <algorithm>

namespace k3n {

QString ConfigurationDifference::line() const
{
    return QStringLiteral("%1: %2 \u2192 %3").arg(item, oldText, newText);
}

std::vector<ConfigurationDifference> DiffConfigurations(const RadioRecord& a, const RadioRecord& b,
                                                        const TAppLang& lang)
{
    std::vector<ConfigurationDifference> differences;
    for (const RecordField& field : RecordFields()) {
        if (FieldsEqual(a, b, field))
            continue;
        QString oldText = FieldValueText(a, field, lang);
        QString newText = FieldValueText(b, field, lang);
        if (oldText == newText) {
            // Digits past a code's count, or bits a text does not show: the bytes say what changed.
            oldText += QStringLiteral(" [%1]").arg(FieldRawText(a, field));
            newText += QStringLiteral(" [%1]").arg(FieldRawText(b, field));
        }
        const bool channel = QLatin1String(field.section) == QLatin1String("channels") && field.entry > 0;
        differences.push_back({field.page, EditorPageName(field.page, lang), channel ? field.entry : 0,
                               FieldItemName(field, lang), oldText, newText});
    }
    // The band and the group byte live at the ends of the record but belong to the first page.
    std::stable_sort(differences.begin(), differences.end(),
                     [](const auto& x, const auto& y) { return x.page < y.page; });
    return differences;
}

std::vector<ConfigurationDifference> DiffConfigurations(const RadioData& a, const RadioData& b, const TAppLang& lang)
{
    return DiffConfigurations(a.record, b.record, lang);
}

QStringList DifferenceLines(const std::vector<ConfigurationDifference>& differences)
{
    QStringList lines;
    std::vector<bool> headed(kEditorPages, false);
    for (const ConfigurationDifference& difference : differences) {
        if (!headed[std::size_t(difference.page)]) {
            headed[std::size_t(difference.page)] = true;
            lines << QStringLiteral("[%1]").arg(difference.pageName);
        }
        lines << difference.line();
    }
    return lines;
}

QJsonArray DifferencesAsJson(const std::vector<ConfigurationDifference>& differences)
{
    QJsonArray array;
    for (const ConfigurationDifference& difference : differences) {
        QJsonObject object;
        object.insert("page", difference.pageName);
        if (difference.channel > 0)
            object.insert("channel", difference.channel);
        object.insert("item", difference.item);
        object.insert("old", difference.oldText);
        object.insert("new", difference.newText);
        array.append(object);
    }
    return array;
}

}   // namespace k3n
