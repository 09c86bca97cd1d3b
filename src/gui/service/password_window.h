// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The door to the service mode: the right password opens the adjustment
// window; a wrong one simply closes this window without a word.
#include "service/service_context.h"
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace k3n {

class TPasswordDlg : public QDialog {
    Q_OBJECT
public:
    explicit TPasswordDlg(ServiceContext context, QWidget* parent = nullptr);

    static const QString kServicePassword;

    QLineEdit* eInput;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

private:
    void OKBtnClick();

    ServiceContext context_;
};

}   // namespace k3n
