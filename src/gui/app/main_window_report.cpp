// SPDX-License-Identifier: GPL-3.0-or-later
// File > Print… and Export PDF…: the configuration's printable report, printed
// through Qt's print dialog with a preview, or written as a PDF file.
#include "app/main_window.h"
#include "model/whole_file.h"
#include "printing/paged_report.h"
#include "report/report_html.h"
#include "text/app_lang.h"
#include "text/own_texts.h"
#include "text/ui_text.h"
#include "widgets/message_windows.h"
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace k3n {

namespace {

QString TodayText()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

}   // namespace

QString TMainForm::reportHtml()
{
    CommitPendingEdits();   // what is being typed belongs in the report
    const QString name = QFileInfo(currentFile()).fileName();
    return ConfigurationReportHtml(appLang(), data_, name.isEmpty() ? QStringLiteral("\u2014") : name);
}

void TMainForm::MenuFile_PrintClick()
{
    const QString html = reportHtml();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(Text(OwnText::ReportTitle));
    QPrintPreviewDialog preview(&printer, this);
    preview.setWindowTitle(PlainCaption(Text(OwnText::MenuPrint)));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [&html](QPrinter* target) { PaintPagedReport(html, *target, appLang(), TodayText()); });
    preview.exec();
}

void TMainForm::MenuFile_ExportPdfClick()
{
    const QString html = reportHtml();
    const QString suggested =
        QDir(lastFolder_)
            .filePath((currentFile().isEmpty() ? QStringLiteral("report") : QFileInfo(currentFile()).completeBaseName())
                      + QStringLiteral(".pdf"));
    QString path = chooseFileName_ ? chooseFileName_(true) : askPdfFileName(suggested);
    if (path.isEmpty())
        return;
    // A name without a suffix gets one, as Save gives its files ".fse".
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    if (auto error = WriteFileWhole(path, ReportPdf(html, appLang(), TodayText(), Text(OwnText::ReportTitle)))) {
        ShowNotice(this, Text(OwnText::CannotSaveFile).arg(QDir::toNativeSeparators(path), error->message()));
        return;
    }
    confirm(Text(OwnText::StatusExportedReport).arg(QDir::toNativeSeparators(path)));
}

QString TMainForm::askPdfFileName(const QString& suggested)
{
    QFileDialog dialog(this, PlainCaption(Text(OwnText::MenuExportPdf)));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("PDF (*.pdf)"));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));   // asked about overwriting under its full name
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

}   // namespace k3n
