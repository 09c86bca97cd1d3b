// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/message_windows.h"
#include "text/ui_text.h"
#include "text/ui_text_ids.h"
#include "widgets/button_widths.h"
#include "widgets/spoken_names.h"
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace k3n {

namespace {
const LocalText kNoticeButton{"确认", "确认", "OK"};

QLabel* makeLabel(QWidget* parent, int pointSize, int pixelSize = 0)
{
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setMinimumSize(300, 60);
    QFont f = label->font();
    if (pixelSize)
        f.setPixelSize(pixelSize);
    else
        f.setPointSize(pointSize);
    label->setFont(f);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, QHBoxLayout* row)
{
    auto* b = new QPushButton(parent);
    b->setObjectName(name);
    SetButtonWidthAtLeast(b, 80);
    row->addWidget(b);
    return b;
}

QHBoxLayout* layoutFor(QDialog* dlg, QLabel* label)
{
    auto* column = new QVBoxLayout(dlg);
    column->addWidget(label);
    auto* row = new QHBoxLayout;
    row->addStretch();
    column->addLayout(row);
    return row;
}
}   // namespace

TMyWarnDlg_2::TMyWarnDlg_2(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(UiText(ui::kProgramTitle));
    Label1 = makeLabel(this, 10);
    Label1->setObjectName("Label1");
    SpeakAsMessage(this, Label1);
    auto* row = layoutFor(this, Label1);
    OKBtn = makeButton(this, "OKBtn", row);
    CancelBtn = makeButton(this, "CancelBtn", row);
    row->addStretch();
    OKBtn->setDefault(true);
    OKBtn->setText(UiText(ui::kOk));
    CancelBtn->setText(UiText(ui::kCancel));
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TMyWarnDlg_3::TMyWarnDlg_3(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(UiText(ui::kProgramTitle));
    Label1 = makeLabel(this, 10);
    Label1->setObjectName("Label1");
    SpeakAsMessage(this, Label1);
    auto* row = layoutFor(this, Label1);
    OKBtn = makeButton(this, "OKBtn", row);
    NoBtn = makeButton(this, "NoBtn", row);
    CancelBtn = makeButton(this, "CancelBtn", row);
    row->addStretch();
    OKBtn->setText(UiText(ui::kYes));
    NoBtn->setText(UiText(ui::kNo));
    CancelBtn->setText(UiText(ui::kCancel));
    connect(OKBtn, &QPushButton::clicked, this, [this] { done(Yes); });
    connect(NoBtn, &QPushButton::clicked, this, [this] { done(No); });
    connect(CancelBtn, &QPushButton::clicked, this, [this] { done(Cancel); });
}

TUserWarnDlg::TUserWarnDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(UiText(ui::kProgramTitle));
    WarnDlgText = makeLabel(this, 0, 16);
    WarnDlgText->setObjectName("WarnDlgText");
    SpeakAsMessage(this, WarnDlgText);
    auto* row = layoutFor(this, WarnDlgText);
    OKBtn = makeButton(this, "OKBtn", row);
    CancelBtn = makeButton(this, "CancelBtn", row);
    CancelBtn->hide();
    row->addStretch();
    OKBtn->setDefault(true);
    OKBtn->setText(Localized(kNoticeButton));
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
}

bool AskOkCancel(QWidget* parent, const QString& question)
{
    TMyWarnDlg_2 dlg(parent);
    dlg.Label1->setText(question);
    return dlg.exec() == QDialog::Accepted;
}

bool AskYesNoDefaultNo(QWidget* parent, const QString& question)
{
    TMyWarnDlg_3 dlg(parent);
    dlg.Label1->setText(question);
    dlg.CancelBtn->hide();
    dlg.NoBtn->setDefault(true);
    dlg.NoBtn->setFocus();
    return dlg.exec() == TMyWarnDlg_3::Yes;
}

void ShowNotice(QWidget* parent, const QString& text, const QString& caption)
{
    TUserWarnDlg dlg(parent);
    if (!caption.isEmpty())
        dlg.setWindowTitle(caption);
    dlg.WarnDlgText->setText(text);
    dlg.exec();
}

}   // namespace k3n
