// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/import_report_window.h"
#include "text/own_texts.h"
#include "text/ui_text.h"
#include "widgets/list_windows.h"
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace k3n {

namespace {
constexpr int kYesText = 343, kNoText = 344;
} // namespace

ImportReportWindow::ImportReportWindow(const QString& fileName, const QStringList& report, QWidget* parent)
    : QDialog(parent)
{
    setObjectName("ImportReportWindow");
    setWindowTitle(PlainCaption(Text(OwnText::MenuImportChannels)));
    auto* layout = new QVBoxLayout(this);
    sIntro = new QLabel(
        report.isEmpty() ? Text(OwnText::ImportNothingToReport) : Text(OwnText::ImportReportIntro).arg(fileName), this);
    sIntro->setObjectName("sIntro");
    layout->addWidget(sIntro);
    tReport = new QPlainTextEdit(report.join('\n'), this);
    tReport->setObjectName("tReport");
    tReport->setReadOnly(true);
    tReport->setLineWrapMode(QPlainTextEdit::NoWrap);
    tReport->setVisible(!report.isEmpty());
    layout->addWidget(tReport);
    sQuestion = new QLabel(Text(OwnText::ImportAskApply), this);
    sQuestion->setObjectName("sQuestion");
    layout->addWidget(sQuestion);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    bApply = new QPushButton(UiText(kYesText), this);
    bApply->setObjectName("bApply");
    bApply->setDefault(true);
    bCancel = new QPushButton(UiText(kNoText), this);
    bCancel->setObjectName("bCancel");
    buttons->addWidget(bApply);
    buttons->addWidget(bCancel);
    layout->addLayout(buttons);
    connect(bApply, &QPushButton::clicked, this, &QDialog::accept);
    connect(bCancel, &QPushButton::clicked, this, &QDialog::reject);
    if (report.isEmpty())
        adjustSize();
    else
        FitToListContent(*this, *tReport, TextListSize(*tReport));
    PlaceOver(*this, parent);
}

} // namespace k3n
