// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/report_html.h"
#include "model/channel_cells.h"
#include "model/editor_page.h"
#include "model/record_layout.h"
#include "report/settings_pages.h"
#include "text/own_texts.h"
#include "text/ui_text.h"
#include "text/ui_text_ids.h"
#include <algorithm>

namespace k3n {

namespace {
// The number column and the grid's value columns.
constexpr int kChannelGridColumns = channel_col::kCount + 1;
}

namespace {

constexpr int kSingleValueEntriesPerRow = 4;   // table entries of one value: up to four side by side
// Entries side by side share a line of about this many characters; an entry's number takes a few.
constexpr int kEntryLineCharacters = 72;
constexpr int kEntryNumberCharacters = 6;
constexpr int kValuePairsPerRow = 2;   // settings: two name-value pairs side by side
// A table's value longer than this may wrap at its spaces (the decode entries a
// system answers), so that a wide table keeps to the page; shorter ones stay on one line.
constexpr int kLongestUnwrappedValue = 12;
// A table whose entries have more columns is set in the channel grid's small type.
constexpr int kNormalTableColumns = 6;

// Qt's rich text understands this much CSS; a browser shows the same.
constexpr const char* kStyle = "body { font-size: 9pt; }\n"
                               "h1 { font-size: 16pt; margin-bottom: 6px; }\n"
                               "h2 { font-size: 12pt; margin-top: 18px; margin-bottom: 4px; }\n"
                               "h3 { font-size: 10pt; margin-top: 10px; margin-bottom: 3px; }\n"
                               "table { margin-bottom: 10px; }\n"
                               "th { background-color: #e4e4e4; font-weight: bold; text-align: left; }\n"
                               "th, td { padding: 2px 4px; }\n"
                               "td { white-space: nowrap; }\n"
                               "td.wrap { white-space: normal; }\n"
                               "table.grid { font-size: 7pt; }\n"
                               "table.grid th, table.grid td { padding: 1px; }\n"
                               "td.name { color: #444444; }\n"
                               "td.num { text-align: right; }\n";

QString Esc(const QString& text)
{
    return text.toHtmlEscaped();
}

QString Cell(const QString& tag, const QString& text, const char* cssClass = nullptr)
{
    const QString attr = cssClass ? QStringLiteral(" class=\"%1\"").arg(QLatin1String(cssClass)) : QString();
    return QStringLiteral("<%1%2>%3</%1>").arg(tag, attr, Esc(text));
}

QString TableStart(const char* cssClass = "values")
{
    return QStringLiteral("<table class=\"%1\" border=\"1\" cellspacing=\"0\" cellpadding=\"2\" "
                          "style=\"border-color: #999999;\">\n")
        .arg(QLatin1String(cssClass));
}

QString FactsTable(const TAppLang& lang, const RadioData& data, const QString& fileName)
{
    QString html = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\">\n");
    auto row = [&html](const QString& name, const QString& value) {
        html += QStringLiteral("<tr>") + Cell("td", name, "name") + Cell("td", value) + QStringLiteral("</tr>\n");
    };
    row(Text(lang, OwnText::ReportFile), fileName);
    const int band = data.record.get(rec::freq_band);
    row(UiText(lang, ui::kFrequencyRange), QString::fromLatin1(BandName(band)));
    if (data.last_program_time.year != 0)
        row(UiText(lang, ui::kLastProgramData), ProgramTimeText(data.last_program_time));
    const QString serial = SerialNumberText(data.radio_serial_number);
    if (!serial.isEmpty())
        row(UiText(lang, ui::kSerialNumber), serial);
    return html + QStringLiteral("</table>\n");
}

QString ChannelRows(const TAppLang& lang, const RadioRecord& record, int firstChannel, int& inUse)
{
    QString rows;
    for (int ch = firstChannel; ch < firstChannel + kChannelsPerGroup; ++ch) {
        if (!record.get(rec::ch::in_use(ch)))
            continue;
        ++inUse;
        rows += QStringLiteral("<tr>");
        for (int col = 0; col < kChannelGridColumns; ++col)
            rows += Cell("td", col == 0 ? QString::number(ch) : ChannelCellText(record, ch, col, lang),
                         col == 0 ? "num" : nullptr);
        rows += QStringLiteral("</tr>\n");
    }
    return rows;
}

// One table per group of the grid that has a channel in use: tables of a page's
// length or less are also what a text layout lays out fastest.
QString ChannelTables(const TAppLang& lang, const RadioRecord& record)
{
    QString header = QStringLiteral("<thead><tr>");
    for (int col = 0; col < kChannelGridColumns; ++col)
        header += Cell("th", ChannelHeader(lang, col));
    header += QStringLiteral("</tr></thead>\n");
    QString tables;
    int inUse = 0;
    for (int group = 0; group < kChannelGroups; ++group) {
        const QString rows = ChannelRows(lang, record, 1 + group * kChannelsPerGroup, inUse);
        if (rows.isEmpty())
            continue;
        tables += QStringLiteral("<h3>%1</h3>\n").arg(Esc(UiText(lang, kFirstChannelGroupText + group)));
        tables +=
            TableStart("grid") + header + QStringLiteral("<tbody>\n") + rows + QStringLiteral("</tbody></table>\n");
    }
    return QStringLiteral("<h2>%1</h2>\n<p>%2</p>\n")
               .arg(Esc(UiText(lang, EditorPageText(EditorPage::Channels))),
                    Esc(Text(lang, OwnText::ReportChannelsInUse).arg(inUse)))
        + tables;
}

QString ValuesTable(const CaptionedValues& values)
{
    QString html = TableStart();
    for (std::size_t i = 0; i < values.size(); i += kValuePairsPerRow) {
        html += QStringLiteral("<tr>");
        for (std::size_t j = i; j < i + kValuePairsPerRow; ++j) {
            const bool present = j < values.size();
            html += Cell("td", present ? values[j].first : QString(), "name");
            html += Cell("td", present ? values[j].second : QString());
        }
        html += QStringLiteral("</tr>\n");
    }
    return html + QStringLiteral("</table>\n");
}

// A table's entries numbered as the page numbers them. Entries of one value sit
// side by side, several to a row, so a long list stays short on paper.
QString EntryTableHtml(const EntryTable& table)
{
    int longest = 1;
    for (const auto& [number, texts] : table.rows)
        for (const QString& text : texts)
            longest = std::max(longest, int(text.size()));
    const int perRow = table.headers.size() == 2
        ? std::clamp(kEntryLineCharacters / (longest + kEntryNumberCharacters), 1, kSingleValueEntriesPerRow)
        : 1;
    QString rows;
    int inRow = 0;
    for (const auto& [number, texts] : table.rows) {
        if (inRow == 0)
            rows += QStringLiteral("<tr>");
        rows += Cell("td", QString::number(number), "num");
        for (const QString& text : texts)
            rows += Cell("td", text, text.size() > kLongestUnwrappedValue ? "wrap" : nullptr);
        if (++inRow == perRow) {
            rows += QStringLiteral("</tr>\n");
            inRow = 0;
        }
    }
    if (inRow != 0)
        rows += QStringLiteral("</tr>\n");
    const int headerRepeats = std::min<int>(perRow, int(table.rows.size()));
    const bool wide = table.headers.size() > kNormalTableColumns;
    QString html = QStringLiteral("<h3>%1</h3>\n").arg(Esc(table.title)) + TableStart(wide ? "grid" : "values")
        + QStringLiteral("<thead><tr>");
    for (int i = 0; i < headerRepeats; ++i)
        for (const QString& header : table.headers)
            html += Cell("th", header);
    return html + QStringLiteral("</tr></thead>\n<tbody>\n") + rows + QStringLiteral("</tbody></table>\n");
}

}   // namespace

QString ConfigurationReportHtml(const TAppLang& lang, const RadioData& data, const QString& fileName)
{
    const QString title = Text(lang, OwnText::ReportTitle);
    QString html = QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n<title>%1</title>\n"
                                  "<style>\n%2</style></head>\n<body>\n<h1>%3</h1>\n")
                       .arg(Esc(title + QStringLiteral(" \u2014 ") + fileName), QLatin1String(kStyle), Esc(title));
    html += FactsTable(lang, data, fileName);
    html += ChannelTables(lang, data.record);
    for (const SettingsPageReport& page : BuildSettingsPages(data.record, lang)) {
        html += QStringLiteral("<h2>%1</h2>\n").arg(Esc(page.title));
        html += ValuesTable(page.values);
        for (const EntryTable& table : page.tables)
            html += EntryTableHtml(table);
    }
    return html + QStringLiteral("</body></html>\n");
}

}   // namespace k3n
