// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/editor_pages.h"
#include "editors/channel_window.h"
#include "editors/dtmf_window.h"
#include "editors/emergency_settings_window.h"
#include "editors/five_tone_window.h"
#include "editors/general_settings_window.h"
#include "editors/key_assignment_window.h"
#include "editors/scan_settings_window.h"
#include "editors/two_tone_window.h"

namespace k3n {

EditorWindow* CreateEditorForPage(int page, RadioData& data, QWidget* parent)
{
    switch (page) {
    // Each editor adds its page here.
    case 0: return new TChInforDlg(data, parent);
    case 1: return new TGeneralSettingsDlg(data, parent);
    case 2: return new TKeyAssignmentDlg(data, parent);
    case 3: return new TScanSettingsDlg(data, parent);
    case 4: return new TEmergencySettingDlg(data, parent);
    case 5: return new TDtmfDlg(data, parent);
    case 6: return new TFiveToneDlg(data, parent);
    case 7: return new TTwoToneDlg(data, parent);
    default:
        (void)data;
        (void)parent;
        return nullptr;
    }
}

}   // namespace k3n
