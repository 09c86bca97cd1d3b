// SPDX-License-Identifier: GPL-3.0-or-later
#include "service/password_window.h"
#include "service/adjustment_window.h"
#include "text/own_texts.h"
#include "text/ui_text.h"
#include "text/ui_text_ids.h"
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace k3n {

const QString TPasswordDlg::kServicePassword = QStringLiteral("482915");

TPasswordDlg::TPasswordDlg(ServiceContext context, QWidget* parent) : QDialog(parent), context_(std::move(context))
{
    // Named after the menu that opens it: text 72 is the radio's power-on password.
    setWindowTitle(PlainCaption(UiText(ui::kMenuRadioTest)));

    eInput = new QLineEdit(this);
    eInput->setObjectName("eInput");
    eInput->setAccessibleName(Text(OwnText::SpokenPassword));
    eInput->setEchoMode(QLineEdit::Password);
    eInput->setStyleSheet("lineedit-password-character: 42");   // shown as "*"
    QFont f = eInput->font();
    f.setPointSize(12);
    eInput->setFont(f);
    eInput->setFixedHeight(28);
    eInput->setMinimumWidth(220);

    OKBtn = new QPushButton(UiText(ui::kOk), this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(UiText(ui::kCancel), this);
    CancelBtn->setObjectName("CancelBtn");

    auto* column = new QVBoxLayout(this);
    column->addWidget(eInput);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(OKBtn);
    row->addWidget(CancelBtn);
    row->addStretch();
    column->addLayout(row);

    connect(OKBtn, &QPushButton::clicked, this, &TPasswordDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TPasswordDlg::OKBtnClick()
{
    // An exact, case-sensitive comparison: no trimming of spaces.
    if (eInput->text() == kServicePassword) {
        TAdjustmentDlg adjustment(context_, this);
        adjustment.exec();
    }
    accept();
}

}   // namespace k3n
