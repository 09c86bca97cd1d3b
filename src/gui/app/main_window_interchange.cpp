// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's File items for channels as CSV and for the comparison
// with a configuration file: the core does the work, these ask for the file,
// show the outcome and make an import one undo step.
#include "app/compare_window.h"
#include "app/import_report_window.h"
#include "app/main_window.h"
#include "interchange/channel_csv.h"
#include "interchange/configuration_file.h"
#include "model/channel_cells.h"
#include "model/fse_file.h"
#include "model/record_layout.h"
#include "model/whole_file.h"
#include "text/app_lang.h"
#include "text/own_texts.h"
#include "text/ui_text.h"
#include "widgets/message_windows.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace k3n {

namespace {

// File dialog filters; like the .fse filter, the same in every language.
const QString kCsvFilter = QStringLiteral("CSV (*.csv)");
const QString kConfigurationFilter = QStringLiteral("Marvane File, JSON (*.fse *.json)");

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

}   // namespace

QString TMainForm::askOtherFile(bool save, const QString& nameFilter, const QString& suffix)
{
    if (chooseOtherFile_)
        return chooseOtherFile_(save, nameFilter);
    return runFileDialog(save, nameFilter, suffix);
}

void TMainForm::FileImportChannelsClick()
{
    // The import is a step of its own: what was typed before it is one already.
    CommitPendingEdits();
    recordUnreportedEdits();
    const QString path = askOtherFile(false, kCsvFilter, QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ShowNotice(this, Text(OwnText::ImportFailed).arg(Shown(path), file.errorString()));
        return;
    }
    const Result<ChannelImport> imported = ImportChannelsCsv(file.readAll(), data_, {.language = &appLang()});
    if (!imported) {
        ShowNotice(this, Text(OwnText::ImportFailed).arg(Shown(path), imported.error().message));
        return;
    }
    const ChannelImport& result = imported.value();
    QStringList report;
    for (const ImportNote& note : result.notes)
        report << note.describe(appLang());
    QString summary = result.summary;
    if (result.nothingImported() && result.fittingBand)
        summary += QStringLiteral(" \u2014 ")
            + Text(OwnText::ImportHintBandChoose).arg(QLatin1String(BandName(*result.fittingBand)));
    // With no row to apply the report only says why.
    ImportReportWindow question(QFileInfo(path).fileName(), report, summary, !result.nothingImported(), this);
    if (question.exec() != QDialog::Accepted || result.nothingImported())
        return;
    data_.record = result.data.record;
    RefreshAllViews();
    history_->recordStep([] { return Text(OwnText::StepImportChannels); });
    confirm(Text(OwnText::StatusImported).arg(Shown(path)));
}

void TMainForm::FileExportChannelsClick()
{
    CommitPendingEdits();
    const QString path = askOtherFile(true, kCsvFilter, QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    const ChannelExport exported = ExportChannelsCsv(data_.record, ChannelColumnSet::StandardAndRadio, &appLang());
    if (auto error = WriteFileWhole(path, exported.csv)) {
        ShowNotice(this, Text(OwnText::CannotSaveFile).arg(Shown(path), error->message()));
        return;
    }
    int channels = 0;
    for (int channel = 1; channel <= rec::kChannelCount; ++channel)
        channels += ChannelInUse(data_.record, channel) ? 1 : 0;
    confirm(CountedText(channels, OwnText::StatusExportedChannel, OwnText::StatusExportedChannels).arg(Shown(path)));
    if (!exported.notes.isEmpty())
        ShowNotice(this,
                   Text(OwnText::ExportNotesIntro).arg(Shown(path)) + QStringLiteral("\n\n")
                       + exported.notes.join('\n'));
}

void TMainForm::FileCompareWithFileClick()
{
    CommitPendingEdits();   // the comparison sees what is being typed too
    const QString path = askOtherFile(false, kConfigurationFilter, QString::fromLatin1(kFseSuffix));
    if (path.isEmpty())
        return;
    RadioData other;
    QStringList contradictions;
    if (auto error = LoadConfigurationFile(path, other, &contradictions)) {
        ShowNotice(this, Text(OwnText::CannotOpenFile).arg(Shown(path), error->message));
        return;
    }
    if (!contradictions.isEmpty())   // the numbers are compared; the reader should know the texts said otherwise
        ShowNotice(this, Shown(path) + QStringLiteral(":\n") + contradictions.join('\n'));
    showCompareWindow(new CompareWindow(QFileInfo(path).fileName(), other.record, this));
}

void TMainForm::showCompareWindow(CompareWindow* window)
{
    if (compareWindow_)
        compareWindow_->close();
    compareWindow_ = window;
    compareWindow_->setAttribute(Qt::WA_DeleteOnClose);
    // A difference opens its page the way a problem of the check does.
    connect(compareWindow_, &CompareWindow::placeChosen, this, &TMainForm::openProblem);
    compareWindow_->compare(data_.record);
    compareWindow_->show();
    compareWindow_->raise();
    compareWindow_->activateWindow();
}

}   // namespace k3n
