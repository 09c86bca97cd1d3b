// The main window's commands that reach the radio: reading and writing the
// configuration, the communication-port dialog and the service mode. Each
// opens its modal window here; the settings and the record are reachable
// through appSettings() and radioData().
#include "app/main_window.h"
#include "app/port_window.h"
#include "app/program_window.h"
#include "app/service_mode.h"
#include "comm/port_list.h"

namespace k3n {

void TMainForm::MenuEdit_ReadClick()
{
    CommitPendingEdits();
    TProgramDialog dlg(ConfigurationReadRequest(), SessionPortPlan(settings_), this);
    // The record changes only after a successful read, once "SUCCESS" is closed.
    if (dlg.exec() == QDialog::Accepted && ApplyConfigurationRead(dlg.session(), data_))
        RefreshAllViews();
}

void TMainForm::MenuEdit_WriteClick()
{
    CommitPendingEdits();   // the image is built from what the editors hold now
    TProgramDialog dlg(ConfigurationWriteRequest(data_, LocalProgramTimeNow(), /*bandCheck=*/true),
                       SessionPortPlan(settings_), this);
    dlg.exec();
}

void TMainForm::MenuPortClick()
{
    TCommunicationPort dlg(settings_, HalvexComm32::TCommSerialPortInfo().Ports(), this);
    dlg.exec();
}

void TMainForm::Menu_RadioTestClick()
{
    // "Write All" sends the whole configuration: the editors' pending values go with it.
    OpenServiceMode(this, serviceData_, data_, settings_, [this] { CommitPendingEdits(); });
}

} // namespace k3n
