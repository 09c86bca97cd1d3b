// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The key assignment page: what each of the three side keys does on a short
// press, on a long press and when held at power-on, plus the long-press time
// and the emergency hold time. Every list writes its field of the key block
// when it loses the focus.
#include "editors/editor_controls.h"
#include "widgets/editor_window.h"
#include <array>

class QComboBox;

namespace k3n {

class TKeyAssignmentDlg : public EditorWindow {
    Q_OBJECT
public:
    explicit TKeyAssignmentDlg(RadioData& data, QWidget* parent = nullptr);
    void RefreshAll() override;

private:
    void storeKeyFunction(int key, int action);

    void cbKey1_PressExit() { storeKeyFunction(0, 0); }
    void cbKey1_HoldExit() { storeKeyFunction(0, 1); }
    void cbKey1_PowerOnExit() { storeKeyFunction(0, 2); }
    void cbKey2_PressExit() { storeKeyFunction(1, 0); }
    void cbKey2_HoldExit() { storeKeyFunction(1, 1); }
    void cbKey2_PowerOnExit() { storeKeyFunction(1, 2); }
    void cbKey3_PressExit() { storeKeyFunction(2, 0); }
    void cbKey3_HoldExit() { storeKeyFunction(2, 1); }
    void cbKey3_PowerOnExit() { storeKeyFunction(2, 2); }
    void cbHoldTimeExit();
    void cbEmgHoldTimeExit();

    CaptionTable captions_;
    // keyLists_[key][action]: cbKey1_Press, cbKey1_Hold, cbKey1_PowerOn, cbKey2_Press ...
    std::array<std::array<QComboBox*, 3>, 3> keyLists_{};
    QComboBox* cbHoldTime;
    QComboBox* cbEmgHoldTime;
};

}   // namespace k3n
