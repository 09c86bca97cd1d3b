// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the service windows have in common: the factory data and radio data of
// the run they edit, the handlers that store a box when it is left, and the
// transfers their buttons run with the radio.
#include "service/service_boxes.h"
#include "service/service_context.h"
#include <QDialog>

namespace k3n {

class ServiceWindow : public QDialog {
    Q_OBJECT
public:
    // Shows every field the window edits.
    virtual void RefreshAll() = 0;

protected:
    ServiceWindow(ServiceContext context, QWidget* parent);

    // Stores what is being typed, then runs the transfer; after a read that
    // succeeded the window shows the fields again. True when it succeeded.
    bool runTransfer(TransferKind kind, Direction direction);

    ServiceContext context_;
    ExitHandlers exits_;
};

}   // namespace k3n
