// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The emergency page: how an emergency is signalled, the channel it switches
// to, its timing, the signalling system and code it sends, and the lone-worker
// timers. Every list writes its field of the emergency block when it loses the
// focus; the channel and signalling-type lists also act at once on a change.
#include "editors/editor_controls.h"
#include "widgets/editor_window.h"

class QComboBox;

namespace k3n {

class TEmergencySettingDlg : public EditorWindow {
    Q_OBJECT
public:
    explicit TEmergencySettingDlg(RadioData& data, QWidget* parent = nullptr);
    void RefreshAll() override;

private:
    void storeChannelSelect(int position);
    // Fills and enables the encode lists for a signalling type; any other type leaves them blank and disabled.
    void showEncodeLists(int signalingType, int systemPosition, int selectPosition);

    void cbModeExit();
    void cbChannelExit();
    void cbDesignatedChannelExit();
    void cbActiveTimeExit();
    void cbRxTimeExit();
    void cbTxTimeExit();
    void cbSirenTimeExit();
    void cbSignalingTypeExit();
    void cbEncodeSystemExit();
    void cbEncodeSelectExit();
    void cbReminderTimeExit();
    void cbResponseTimeExit();
    void cbChannelChange(int position);
    void cbSignalingTypeChange(int position);

    CaptionTable captions_;
    QComboBox* cbMode;
    QComboBox* cbChannel;
    QComboBox* cbDesignatedChannel;
    QComboBox* cbActiveTime;
    QComboBox* cbRxTime;
    QComboBox* cbTxTime;
    QComboBox* cbSirenTime;
    QComboBox* cbSignalingType;
    QComboBox* cbEncodeSystem;
    QComboBox* cbEncodeSelect;
    QComboBox* cbReminderTime;
    QComboBox* cbResponseTime;
};

}   // namespace k3n
