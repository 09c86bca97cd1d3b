// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The scan settings page: resume and busy times, the transmit channel while
// scanning, the home, priority and dual-watch channels and talk-back. Every
// control writes its field of the scan block when it loses the focus.
#include "editors/editor_controls.h"
#include "widgets/editor_window.h"

class QCheckBox;
class QComboBox;

namespace k3n {

class TScanSettingsDlg : public EditorWindow {
    Q_OBJECT
public:
    explicit TScanSettingsDlg(RadioData& data, QWidget* parent = nullptr);
    void RefreshAll() override;

private:
    void cbResumeTime_rxExit();
    void cbResumeTime_txExit();
    void cbScanBusyTimeExit();
    void cbScanTxModeExit();
    void cbDesignatedChannelExit();
    void cbHomeChannelExit();
    void cbPriChannelExit();
    void cbDaulWatchChExit();
    void cTalkBackExit();

    CaptionTable captions_;
    QComboBox* cbResumeTime_rx;
    QComboBox* cbResumeTime_tx;
    QComboBox* cbScanBusyTime;
    QComboBox* cbScanTxMode;
    QComboBox* cbDesignatedChannel;
    QComboBox* cbHomeChannel;
    QComboBox* cbPriChannel;
    QComboBox* cbDaulWatchCh;
    QCheckBox* cTalkBack;
};

}   // namespace k3n
