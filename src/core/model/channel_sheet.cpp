// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/channel_sheet.h"
#include "model/record_layout.h"
#include "text/app_lang.h"
#include "text/own_texts.h"
#include <algorithm>

namespace k3n {

namespace {

const QChar kTab = u'\t';

// The column a header names, in lang or in English; 0 when none.
int ColumnNamed(const QString& name, const TAppLang& lang)
{
    static const TAppLang english(kLangIdEnglishUs);
    for (int col = 1; col <= channel_col::kCount; ++col)
        for (const TAppLang* l : {&lang, &english})
            if (ChannelHeader(*l, col).compare(name.trimmed(), Qt::CaseInsensitive) == 0)
                return col;
    return 0;
}

// The columns a header line names, or none when the line is not a header.
std::optional<std::vector<int>> HeaderColumns(const QStringList& cells, const TAppLang& lang)
{
    std::vector<int> columns;
    bool named = false;
    for (const QString& cell : cells) {
        const int col = ColumnNamed(cell, lang);
        if (col == 0 && !cell.trimmed().isEmpty())
            return std::nullopt;
        named = named || col != 0;
        columns.push_back(col);
    }
    return named ? std::optional(columns) : std::nullopt;
}

QStringList Lines(const QString& text)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QStringList lines = plain.split(u'\n');
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();   // the line end after the last row
    return lines;
}

}   // namespace

QString ChannelSheetText(const RadioRecord& record, const std::vector<int>& channels, const TAppLang& lang)
{
    QStringList lines;
    QStringList header;
    for (int col = 1; col <= channel_col::kCount; ++col)
        header << ChannelHeader(lang, col);
    lines << header.join(kTab);
    for (int channel : channels) {
        QStringList cells;
        for (int col = 1; col <= channel_col::kCount; ++col)
            cells << ChannelCellText(record, channel, col, lang);
        lines << cells.join(kTab);
    }
    return lines.join(u'\n') + u'\n';
}

SheetPaste PasteChannelSheet(RadioData& data, const QString& text, int firstChannel, int firstColumn,
                             const TAppLang& lang)
{
    SheetPaste paste;
    QStringList lines = Lines(text);
    std::optional<std::vector<int>> named;
    int lineNumber = 1;
    if (!lines.isEmpty() && (named = HeaderColumns(lines.first().split(kTab), lang))) {
        lines.removeFirst();
        ++lineNumber;
    }
    int channel = firstChannel;
    for (const QString& line : lines) {
        const int thisLine = lineNumber++;
        if (channel > rec::kChannelCount) {
            paste.rowsBeyondLastChannel.push_back(thisLine);
            continue;
        }
        // Cells by column; RX first, as a channel starts from its RX frequency.
        std::vector<std::pair<int, QString>> cells;
        const QStringList texts = line.split(kTab);
        for (int i = 0; i < texts.size(); ++i) {
            const int col = named ? (i < int(named->size()) ? (*named)[std::size_t(i)] : 0) : firstColumn + i;
            if (col < 1 || col > channel_col::kCount)
                paste.cellsBeyondLastColumn += texts[i].trimmed().isEmpty() ? 0 : 1;
            else
                cells.emplace_back(col, texts[i]);
        }
        std::ranges::stable_sort(cells, {}, &std::pair<int, QString>::first);
        for (const auto& [col, cell] : cells) {
            const CellStore result = StoreChannelCell(data, channel, col, cell, lang);
            if (result == CellStore::Stored)
                continue;
            paste.problems.push_back({channel, col, cell.trimmed(), result});
            // An empty channel whose RX was refused takes no other cell: the RX reason is the row's one line.
            if (col == channel_col::Rx && !ChannelInUse(data.record, channel))
                break;
        }
        ++paste.rowsPasted;
        ++channel;
    }
    return paste;
}

QStringList SheetPaste::describe(const TAppLang& lang) const
{
    QStringList lines;
    if (!rowsBeyondLastChannel.empty())
        lines << CountedText(lang, qint64(rowsBeyondLastChannel.size()), OwnText::PasteRowsBeyondLastChannelOne,
                             OwnText::PasteRowsBeyondLastChannel)
                     .arg(rowsBeyondLastChannel.front());
    if (cellsBeyondLastColumn > 0)
        lines << CountedText(lang, cellsBeyondLastColumn, OwnText::PasteCellsBeyondLastColumnOne,
                             OwnText::PasteCellsBeyondLastColumn);
    for (const CellProblem& problem : problems)
        lines << problem.describe(lang);
    return lines;
}

}   // namespace k3n
