// The main window's commands that reach the radio: reading and writing the
// configuration, the communication-port dialog and the service mode. Each
// opens its modal window here; the settings and the record are reachable
// through appSettings() and radioData().
#include "app/main_window.h"

namespace k3n {

void TMainForm::MenuEdit_ReadClick()
{
    CommitPendingEdits();
}

void TMainForm::MenuEdit_WriteClick()
{
    CommitPendingEdits();
}

void TMainForm::MenuPortClick()
{
}

void TMainForm::Menu_RadioTestClick()
{
}

} // namespace k3n
