// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two-tone signalling editor (page 7): lead times and calls, sixteen
// systems, sixteen decode codes and thirty-two encode codes of the record's
// two-tone block. A code is one byte: tone A in the low nibble, tone B in the high.
#include "editors/signal_window.h"

namespace k3n {

class TTwoToneDlg : public SignalEditor {
    Q_OBJECT
public:
    explicit TTwoToneDlg(RadioData& data, QWidget* parent = nullptr);

private:
    void buildOptionPage();
    void buildGrids();
    // The Tone A and Tone B columns of the encode or decode table.
    CellColumns tonePairColumns(CellGrid* grid, const char* listA, const char* listB,
                                std::function<U8Field(int row)> code);
};

}   // namespace k3n
