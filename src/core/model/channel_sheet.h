// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Channels as a spreadsheet sees them: the channel grid's texts, one line per
// channel, cells separated by tabs, under a header line. Reading such text
// back stores every cell as editing it would; cells that cannot be stored
// keep their value and are reported.
#include "model/channel_fill.h"
#include <QString>
#include <vector>

namespace k3n {

QString ChannelSheetText(const RadioRecord& record, const std::vector<int>& channels, const TAppLang& lang);

struct SheetPaste {
    int rowsPasted = 0;
    std::vector<int> rowsBeyondLastChannel;   // the text's line numbers (1-based)
    int cellsBeyondLastColumn = 0;
    CellProblems problems;
    bool complete() const { return rowsBeyondLastChannel.empty() && cellsBeyondLastColumn == 0 && problems.empty(); }
    // One line per thing left out, in the language of lang.
    QStringList describe(const TAppLang& lang) const;
};

// Pastes the text's rows onto the channels from firstChannel on. With a
// header line (column names in lang or in English) each cell goes to its
// named column; without one the cells go to the columns from firstColumn on.
SheetPaste PasteChannelSheet(RadioData& data, const QString& text, int firstChannel, int firstColumn,
                             const TAppLang& lang);

}   // namespace k3n
