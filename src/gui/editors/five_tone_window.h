// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The five-tone signalling editor (page 6): options, sixteen systems, sixteen
// decode entries and thirty-two encode codes of the record's five-tone block.
#include "editors/signal_window.h"

class QCheckBox;
class QComboBox;

namespace k3n {

class TFiveToneDlg : public SignalEditor {
    Q_OBJECT
public:
    explicit TFiveToneDlg(RadioData& data, QWidget* parent = nullptr);

private:
    // A tone extension: its check box switches it on, its list gives the time.
    struct ToneExtension {
        QCheckBox* box;
        QComboBox* time;
        U8Field field;   // 0 off, n = 1..25 for n x 100 ms
    };
    void buildOptionPage();
    void buildGrids();
    void addToneExtension(const char* boxName, int boxText, const char* listName, int listText, U8Field field);
    void refreshOptions() override;
    void loadExtension(const ToneExtension& ext);
    void cExtendedClick(const ToneExtension& ext);
    void cbExtendedTimeExit(const ToneExtension& ext);
    void cbLast_gap_toneChange();

    std::vector<ToneExtension> extensions_;
    QComboBox* cbLast_gap_tone = nullptr;
    QComboBox* cbLast_gap_time = nullptr;
};

}   // namespace k3n
