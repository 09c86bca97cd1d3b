// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/import_report_window.h"
#include "text/own_texts.h"
#include "text/ui_text.h"
#include "text/ui_text_ids.h"
#include "widgets/list_windows.h"
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace k3n {

ImportReportWindow::ImportReportWindow(const QString& fileName, const QStringList& report, const QString& summary,
                                       bool canApply, QWidget* parent)
    : QDialog(parent)
{
    setObjectName("ImportReportWindow");
    setWindowTitle(PlainCaption(Text(OwnText::MenuImportChannels)));
    auto* layout = new QVBoxLayout(this);
    sIntro = new QLabel(!report.isEmpty() ? Text(OwnText::ImportReportIntro).arg(fileName)
                            : canApply    ? Text(OwnText::ImportNothingToReport)
                                          : QString(),
                        this);
    sIntro->setObjectName("sIntro");
    sIntro->setVisible(!sIntro->text().isEmpty());
    layout->addWidget(sIntro);
    tReport = new QPlainTextEdit(report.join('\n'), this);
    tReport->setObjectName("tReport");
    tReport->setAccessibleName(windowTitle());
    tReport->setReadOnly(true);
    tReport->setLineWrapMode(QPlainTextEdit::NoWrap);
    tReport->setVisible(!report.isEmpty());
    layout->addWidget(tReport);
    sSummary = new QLabel(summary, this);
    sSummary->setObjectName("sSummary");
    sSummary->setWordWrap(true);
    layout->addWidget(sSummary);
    sQuestion = new QLabel(Text(OwnText::ImportAskApply), this);
    sQuestion->setObjectName("sQuestion");
    sQuestion->setVisible(canApply);
    layout->addWidget(sQuestion);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    bApply = new QPushButton(UiText(ui::kYes), this);
    bApply->setObjectName("bApply");
    bApply->setDefault(true);
    bApply->setVisible(canApply);
    bCancel = new QPushButton(UiText(canApply ? ui::kNo : ui::kOk), this);
    bCancel->setObjectName("bCancel");
    bCancel->setDefault(!canApply);
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

}   // namespace k3n
