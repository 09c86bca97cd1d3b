// SPDX-License-Identifier: GPL-3.0-or-later
// Edit > Compare with radio: the radio is read like Read from radio, but into
// a configuration of its own; the open configuration, its band limits, the
// serial number and programming time shown and the editors stay as they are.
#include "app/compare_window.h"
#include "app/main_window.h"
#include "app/program_window.h"
#include "model/channel_cells.h"
#include "programming/radio_configuration.h"
#include "text/own_texts.h"
#include "text/ui_text.h"

namespace k3n {

void TMainForm::MenuEdit_CompareWithRadioClick()
{
    CommitPendingEdits();   // the comparison sees what is being typed too
    TProgramDialog dlg(ConfigurationReadRequest(), SessionPortPlan(settings_), this);
    dlg.setPortsAtStart([this] { return SessionPortPlan(settings_); });
    // The window says what it reads for; the comparison itself tells the success.
    dlg.setWindowTitle(PlainCaption(Text(OwnText::MenuCompareWithRadio)));
    dlg.setSuccessNoticeShown(false);
    // A failed read has said why in the window; nothing else happens.
    if (dlg.exec() != QDialog::Accepted)
        return;
    const std::optional<RadioData> radio = RadioConfigurationRead(dlg.session());
    if (!radio)
        return;
    showCompareWindow(
        new CompareWindow(CompareSide::Radio, SerialNumberText(radio->radio_serial_number), radio->record, this));
}

}   // namespace k3n
