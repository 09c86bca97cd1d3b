// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/about_window.h"
#include "text/own_texts.h"
#include "text/ui_text.h"
#include "text/ui_text_ids.h"
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>

namespace k3n {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent)
{
    setObjectName("AboutBox");
    auto* picture = new QLabel(this);
    picture->setObjectName("ProgramIcon");
    picture->setPixmap(QIcon(":/icons/k3n.png").pixmap(64, 64));

    auto* lines = new QVBoxLayout;
    const std::array<std::pair<QLabel**, const char*>, 5> named{{{&ProductName, "ProductName"},
                                                                 {&Version, "Version"},
                                                                 {&Copyright, "Copyright"},
                                                                 {&Comments, "Comments"},
                                                                 {&Licence, "Licence"}}};
    for (auto [label, name] : named) {
        *label = new QLabel(this);
        (*label)->setObjectName(name);
        QFont f = (*label)->font();
        f.setPointSize(8);
        (*label)->setFont(f);
        (*label)->setTextInteractionFlags(Qt::TextSelectableByMouse);
        lines->addWidget(*label);
    }
    Licence->setWordWrap(true);   // a sentence, not a line: it must not widen the box

    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(lines, 1);

    OKButton = new QPushButton(this);
    OKButton->setObjectName("OKButton");
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addStretch();

    auto* column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addSpacing(8);
    column->addLayout(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);
    Relabel();
}

void TAboutBox::Relabel()
{
    setWindowTitle(UiText(ui::kAbout));
    ProductName->setText(UiText(ui::kProductName));
    Version->setText(UiText(ui::kVersion));
    Copyright->setText(UiText(ui::kCompany));
    Comments->setText(UiText(ui::kWebAddress));
    Comments->setVisible(!Comments->text().isEmpty());   // an empty line would only leave a gap
    Licence->setText(Text(OwnText::AboutLicence));
    OKButton->setText(UiText(ui::kOk));
}

}   // namespace k3n
