// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The DTMF signalling editor (page 5): options, eight systems, eight decode
// entries and ten encode codes of the record's DTMF block.
#include "editors/signal_window.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace k3n {

class TDtmfDlg : public SignalEditor {
    Q_OBJECT
public:
    explicit TDtmfDlg(RadioData& data, QWidget* parent = nullptr);

private:
    void buildOptionPage();
    void buildGrids();
};

}   // namespace k3n
