// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/service_mode.h"
#include "app/program_window.h"
#include "programming/memory_image.h"
#include "programming/session_texts.h"
#include "service/password_window.h"
#include "service/service_requests.h"
#include "widgets/message_windows.h"
#include <QApplication>

namespace k3n {

RunServiceTransfer ProgramDialogTransfers(QWidget* parent, ServiceData& service, RadioData& data,
                                          const AppSettings& settings, std::function<void()> commitEdits)
{
    return [parent, &service, &data, &settings, commitEdits](const ServiceTransferRequest& request) {
        if (request.kind == TransferKind::FrequencyBand && commitEdits)
            commitEdits();
        auto sessionRequest = MakeServiceSessionRequest(request, service, data, LocalProgramTimeNow());
        if (!sessionRequest) {
            // The record's band has no code in the radio: nothing is sent.
            ShowNotice(parent, ProgramDialogText(ProgramText::WrongFreqBand));
            return false;
        }
        // Over the service window that asked, which is modal itself.
        QWidget* asker = QApplication::activeModalWidget();
        QWidget* owner = asker ? asker : parent;
        if (const auto question = FactoryDataQuestion(request, service, data))
            if (!AskYesNoDefaultNo(owner, Text(*question)))
                return false;
        TProgramDialog dialog(std::move(*sessionRequest), SessionPortPlan(settings), owner);
        dialog.setPortsAtStart([&settings] { return SessionPortPlan(settings); });
        const bool succeeded = dialog.exec() == QDialog::Accepted;
        NoteServiceReadOutcome(request, succeeded, service);
        if (!succeeded)
            return false;
        StoreServiceReply(request, dialog.session().serviceReply(), service, data);
        return true;
    };
}

void OpenServiceMode(QWidget* parent, ServiceData& service, RadioData& data, const AppSettings& settings,
                     std::function<void()> commitEdits)
{
    TPasswordDlg password(
        {service, data, ProgramDialogTransfers(parent, service, data, settings, std::move(commitEdits))}, parent);
    password.exec();
}

}   // namespace k3n
