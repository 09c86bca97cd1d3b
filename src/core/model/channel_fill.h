// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Filling a range of one column of the channel grid: the first cell's value
// copied down, or for a frequency column a series first + k·step.
#include "model/channel_cells.h"
#include <QString>
#include <optional>
#include <vector>

namespace k3n {

// A cell that kept its value, and why.
struct CellProblem {
    int channel = 0;
    int col = 0;
    QString text;   // what was to be stored
    CellStore why = CellStore::Unreadable;
    QString describe(const TAppLang& lang) const;
};
using CellProblems = std::vector<CellProblem>;

// Stores the text of the first channel's cell into the cells of the others, as editing them would.
CellProblems FillDown(RadioData& data, int col, const std::vector<int>& channels, const TAppLang& lang);

// A step in kHz ("12.5", "-6.25") in Hz; none for 0 or anything else.
std::optional<int64_t> ReadStepKhz(const QString& text);

struct SeriesFill {
    enum class Outcome {
        Filled,
        FirstCellEmpty,   // the first cell holds no frequency to start from
        LeavesBand,   // nothing stored: the series leaves the band at channel `leavingChannel`
    };
    Outcome outcome = Outcome::Filled;
    int leavingChannel = 0;
    uint32_t leavingHz = 0;
    CellProblems skipped;   // cells of empty channels that only an RX frequency can start
};
// Frequencies first + k·step for the channels first..last of a frequency column,
// snapped to the band's raster; an RX value starts an empty channel.
SeriesFill FillSeries(RadioData& data, int col, int first, int last, int64_t stepHz);

}   // namespace k3n
