// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's document: the file the configuration belongs to, whether
// it has changes that are not saved, the question before they would be lost,
// and what the caption and the status bar say about it.
#include "app/main_window.h"
#include "model/channel_cells.h"
#include "model/record_layout.h"
#include "text/own_texts.h"
#include "text/ui_text.h"
#include "text/ui_text_ids.h"
#include "widgets/message_windows.h"
#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>

namespace k3n {

namespace {
// How long a confirmation stays in the status bar.
constexpr int kConfirmationMs = 15000;
}   // namespace

QString TMainForm::currentFile() const
{
    return history_->document();
}

bool TMainForm::configurationModified() const
{
    const auto known = fileContents_.constFind(currentFile());
    return known != fileContents_.constEnd() && data_.record != *known;
}

void TMainForm::showDocumentState()
{
    QString title = UiText(ui::kProgramTitle);
    if (const QString file = currentFile(); !file.isEmpty()) {
        // A "[*]" in the name is shown as it is, not taken for the marker.
        title += QStringLiteral(" \u2014 ")
            + QFileInfo(file).fileName().replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    }
    setWindowTitle(title + QStringLiteral("[*]"));
    setWindowModified(configurationModified());
}

bool TMainForm::unsavedChangesMayGo()
{
    if (!configurationModified())
        return true;
    TMyWarnDlg_3 question(this);
    question.setObjectName("UnsavedChangesQuestion");
    question.Label1->setText(Text(OwnText::AskSaveUnsavedChanges));
    switch (question.exec()) {
    case TMyWarnDlg_3::Yes: return saveWithDialog();
    case TMyWarnDlg_3::No: return true;
    default: return false;
    }
}

void TMainForm::replaceConfiguration(const RadioData& replacement, StepName name, const QString& document)
{
    data_ = replacement;
    RefreshAllViews();
    history_->recordDocumentStep(std::move(name), document);
}

void TMainForm::confirm(const QString& text)
{
    statusBar()->showMessage(text, kConfirmationMs);
}

void TMainForm::showStartHint()
{
    bool empty = true;
    for (int channel = 1; channel <= rec::kChannelCount && empty; ++channel)
        empty = !ChannelInUse(data_.record, channel);
    startHint_->setText(empty ? Text(OwnText::StatusStartHint) : QString());
}

void TMainForm::showVirtualRadioNote(const QString& portName, const QString& devicePath)
{
    virtualRadioPort_ = portName;
    virtualRadioDevice_ = devicePath;
    if (!virtualRadioNote_) {
        // Kept in view: menu tips replace the status bar's plain messages, not its permanent part.
        virtualRadioNote_ = new QLabel(statusBar());
        virtualRadioNote_->setObjectName("VirtualRadioNote");
        statusBar()->addPermanentWidget(virtualRadioNote_);
    }
    virtualRadioNote_->setText(Text(OwnText::VirtualRadioAttached).arg(virtualRadioPort_, virtualRadioDevice_));
}

}   // namespace k3n
