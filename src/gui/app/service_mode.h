// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's way into the service mode: the password window, with
// every service transfer run through the programming window.
#include "app/app_settings.h"
#include "service/service_context.h"
#include <functional>

class QWidget;

namespace k3n {

// Each transfer opens the programming window on the ports of 'settings'; a read
// stores its reply into the fields once the success message is closed. Before
// "Write All" sends the configuration, 'commitEdits' writes what the editors hold.
RunServiceTransfer ProgramDialogTransfers(QWidget* parent, ServiceData& service, RadioData& data,
                                          const AppSettings& settings, std::function<void()> commitEdits);

// "&Radio Test": the password window, shown modally.
void OpenServiceMode(QWidget* parent, ServiceData& service, RadioData& data, const AppSettings& settings,
                     std::function<void()> commitEdits);

}   // namespace k3n
