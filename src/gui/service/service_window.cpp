// SPDX-License-Identifier: GPL-3.0-or-later
#include "service/service_window.h"

namespace k3n {

ServiceWindow::ServiceWindow(ServiceContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)), exits_(this)
{}

bool ServiceWindow::runTransfer(TransferKind kind, Direction direction)
{
    exits_.commitFocused();
    const bool succeeded = context_.Run(kind, direction);
    if (succeeded && direction == Direction::Read)
        RefreshAll();
    return succeeded;
}

}   // namespace k3n
