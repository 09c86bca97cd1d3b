// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The general settings page: time-out timer, burst tone, voice prompts, VOX,
// talk-around, battery saving and warnings, tone tails, keypad lock, beep,
// compandor, scrambling and the 16 scrambler frequencies. Every control
// writes its field of the general block when it loses the focus.
#include "editors/editor_controls.h"
#include "widgets/editor_window.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace k3n {

class CellGrid;

class TGeneralSettingsDlg : public EditorWindow {
    Q_OBJECT
public:
    explicit TGeneralSettingsDlg(RadioData& data, QWidget* parent = nullptr);
    void RefreshAll() override;

    static constexpr int kScrFreqMin = 2632;
    static constexpr int kScrFreqMax = 3496;

private:
    void buildScrambleGrid();
    void storeFlag(const QCheckBox* box, BitField bit);

    void cbTOTExit();
    void cbTOAExit();
    void cbBurst_toneExit();
    void cbVoiceExit();
    void cbVOXExit();
    void cbVOX_DELAYExit();
    void cbTalkAroundExit();
    void cbSavingExit();
    void cbBatlowWarningTimeExit();
    void cbCtcTailExit();
    void cKeyLockExit();
    void cBeepExit();
    void cCompandorExit();
    void cScramblingExit();
    void cBatlow_rxExit();
    void cBatlow_txExit();
    void cCtcss_extra_tailExit();
    void cCtcss_tailExit();
    void eUserCtcExit();
    void eUserDcsExit();

    // Stores the frequency typed into row (1..16) of the scrambler grid.
    void eScrFreqExit(int row, const QString& text);

    CaptionTable captions_;
    QComboBox* cbTOT;
    QComboBox* cbTOA;
    QComboBox* cbBurst_tone;
    QComboBox* cbVoice;
    QComboBox* cbVOX;
    QComboBox* cbVOX_DELAY;
    QComboBox* cbTalkAround;
    QComboBox* cbSaving;
    QComboBox* cbBatlowWarningTime;
    QCheckBox* cKeyLock;
    QCheckBox* cBeep;
    QCheckBox* cCompandor;
    QCheckBox* cScrambling;
    QCheckBox* cBatlow_rx;
    QCheckBox* cBatlow_tx;
    QCheckBox* cCtcss_extra_tail;
    QCheckBox* cCtcss_tail;
    QLabel* sScrambleSet;
    CellGrid* sgScrFreq;
    QLineEdit* eScrFreq;

    // Never shown: these fields are not edited on this page.
    QLabel* sCtcTail;
    QComboBox* cbCtcTail;
    QLabel* sUserCtc;
    QLineEdit* eUserCtc;
    QLabel* sUserDcs;
    QLineEdit* eUserDcs;
};

}   // namespace k3n
