// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/several_radios_window.h"
#include "model/record_layout.h"
#include "programming/memory_image.h"
#include "programming/port_name.h"
#include "text/own_texts.h"
#include "text/ui_text.h"
#include "widgets/message_windows.h"
#include "widgets/spoken_names.h"
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace k3n {

namespace {

OwnText ResultText(const SafeWriteResult& result)
{
    switch (result.outcome) {
    case SafeWriteOutcome::Written:
        return result.verified ? OwnText::SeveralRadiosWrittenVerified : OwnText::SeveralRadiosWritten;
    case SafeWriteOutcome::WrittenNotVerified: return OwnText::SeveralRadiosNotVerified;
    case SafeWriteOutcome::Cancelled: return OwnText::SeveralRadiosCancelled;
    default: return OwnText::SeveralRadiosFailed;
    }
}

// Nothing was sent because no radio answered the greeting on the port.
bool NoRadioAnswered(const SafeWriteResult& result)
{
    const bool silent = result.failure == SessionFailure::NoAnswer || result.failure == SessionFailure::NoRadioFound;
    return silent && result.frames_written == 0 && result.ended_in != SafeWritePhase::Verify;
}

}   // namespace

QString SeveralRadiosResultText(const SafeWriteResult& result)
{
    QString text = Text(ResultText(result));
    if (result.outcome == SafeWriteOutcome::Written)
        return text;
    // The session's own word for a missing answer, "Communication False", is said plainly here.
    const QString reason = NoRadioAnswered(result) ? Text(OwnText::SeveralRadiosNoRadioAnswered) : result.message;
    if (!reason.isEmpty())
        text += QStringLiteral(": ") + reason;
    if (!result.notices.isEmpty())
        text += QStringLiteral(" - ") + result.notices.constLast();   // the port's own reason
    return text;
}

SeveralRadiosWindow::SeveralRadiosWindow(const RadioData& data, WriteLogContext logContext, const AppSettings& settings,
                                         const HalvexComm32::TCommSerialPortInfo& portList, QWidget* parent)
    : QDialog(parent), data_(data), logContext_(std::move(logContext)), settings_(settings)
{
    setObjectName("SeveralRadiosWindow");
    const QList<HalvexComm32::TCommPortEntry> ports = portList.Ports();

    grid = new QTableWidget(0, ColCount, this);
    grid->setObjectName("SeveralRadiosGrid");
    grid->verticalHeader()->hide();
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (const HalvexComm32::TCommPortEntry& port : ports)
        addRow(port);

    addPortButton = new QPushButton(this);
    addPortButton->setObjectName("AddPortButton");
    connect(addPortButton, &QPushButton::clicked, this, &SeveralRadiosWindow::addPort);
    startButton = new QPushButton(this);
    startButton->setObjectName("StartButton");
    cancelButton = new QPushButton(this);
    cancelButton->setObjectName("CancelButton");
    summary = new QLabel(this);
    summary->setObjectName("Summary");
    summary->setWordWrap(true);   // a long result wraps rather than widening the window
    MakeLiveLine(summary);   // each radio's result, then the count, said as they come
    connect(startButton, &QPushButton::clicked, this, &SeveralRadiosWindow::start);
    connect(cancelButton, &QPushButton::clicked, this, &SeveralRadiosWindow::cancelOrClose);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(addPortButton);
    buttons->addWidget(summary, 1);
    buttons->addWidget(startButton);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid);
    layout->addLayout(buttons);
    relabel();
    grid->resizeColumnsToContents();
    grid->setColumnWidth(ColProgress, 160);
    grid->horizontalHeader()->setStretchLastSection(true);
    resize(860, 360);
}

SeveralRadiosWindow::~SeveralRadiosWindow()
{
    if (writes_)
        writes_->RequestCancel();
    if (worker_.joinable())
        worker_.join();
}

void SeveralRadiosWindow::addRow(const HalvexComm32::TCommPortEntry& port)
{
    const int row = grid->rowCount();
    grid->insertRow(row);
    ports_.push_back(port);
    auto* pick = new SpokenCell(port.name);
    pick->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    pick->setCheckState(Qt::Unchecked);
    grid->setItem(row, ColPort, pick);
    grid->setItem(row, ColDevice, new SpokenCell(port.devicePath));
    grid->setItem(row, ColCable, new SpokenCell(port.description));
    auto* bar = new QProgressBar(grid);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setAccessibleName(port.name);
    grid->setCellWidget(row, ColProgress, bar);
    grid->setItem(row, ColProgress, new SpokenCell(bar->text()));   // under the bar: what a reader of the table hears
    grid->setItem(row, ColSerial, new SpokenCell());
    grid->setItem(row, ColResult, new SpokenCell());
}

void SeveralRadiosWindow::addPort()
{
    if (running())
        return;
    bool ok = false;
    const QString typed =
        QInputDialog::getText(this, PlainCaption(Text(OwnText::SeveralRadiosAddPort)),
                              Text(OwnText::SeveralRadiosAddPortPrompt), QLineEdit::Normal, QString(), &ok);
    if (!ok)
        return;
    const HalvexComm32::TCommSerialPortInfo list;
    const ReadPort read = ReadPortName(typed, list);
    if (read.error) {
        using Kind = PortNameError::Kind;
        if (read.error->kind == Kind::NotOnThisComputer)
            ShowNotice(this, Text(OwnText::PortNameNotOnThisComputer).arg(read.error->name));
        else if (read.error->kind == Kind::NotAPortName)
            ShowNotice(this, Text(OwnText::PortNameNotAPortName).arg(read.error->name));
        return;
    }
    // A port already listed under this name is ticked, not listed twice.
    int row = 0;
    while (row < grid->rowCount() && ports_[std::size_t(row)].name.compare(read.port, Qt::CaseInsensitive) != 0)
        ++row;
    if (row == grid->rowCount()) {
        const bool comName = HalvexComm32::TCommSerialPortInfo::PortNo(read.port) > 0;
        addRow({read.port, comName ? list.DevicePathOf(read.port) : read.port, QString()});
        grid->resizeColumnToContents(ColDevice);
    }
    grid->item(row, ColPort)->setCheckState(Qt::Checked);
}

void SeveralRadiosWindow::relabel()
{
    setWindowTitle(Text(OwnText::SeveralRadiosTitle));
    grid->setAccessibleName(windowTitle());
    const OwnText headers[ColCount] = {OwnText::SeveralRadiosColumnPort,   OwnText::SeveralRadiosColumnDevice,
                                       OwnText::SeveralRadiosColumnCable,  OwnText::SeveralRadiosColumnProgress,
                                       OwnText::SeveralRadiosColumnSerial, OwnText::SeveralRadiosColumnResult};
    QStringList labels;
    for (OwnText header : headers)
        labels << Text(header);
    grid->setHorizontalHeaderLabels(labels);
    addPortButton->setText(Text(OwnText::SeveralRadiosAddPort));
    startButton->setText(Text(OwnText::SeveralRadiosStart));
    cancelButton->setText(Text(running() ? OwnText::SeveralRadiosCancel : OwnText::SeveralRadiosClose));
}

void SeveralRadiosWindow::start()
{
    if (running())
        return;
    if (worker_.joinable())
        worker_.join();
    QStringList ports;
    runningRows_.clear();
    for (int row = 0; row < grid->rowCount(); ++row) {
        if (grid->item(row, ColPort)->checkState() != Qt::Checked)
            continue;
        ports << ports_[row].name;
        runningRows_.push_back(row);
        auto* bar = static_cast<QProgressBar*>(grid->cellWidget(row, ColProgress));
        bar->setValue(0);
        grid->item(row, ColProgress)->setText(bar->text());
        grid->item(row, ColSerial)->setText(QString());
        grid->item(row, ColResult)->setText(QString());
    }
    if (ports.isEmpty()) {
        ShowNotice(this, Text(OwnText::SeveralRadiosNoneChosen));
        return;
    }
    auto targets = ResolveRadioTargets(ports, HalvexComm32::TCommSerialPortInfo());
    if (!targets) {
        ShowNotice(this, targets.error().message);
        return;
    }
    if (!logStarted(targets.value()))
        return;
    SafeWriteOptions options;
    options.backup = settings_.BackupBeforeWrite;
    options.verify = settings_.VerifyAfterWrite;
    options.changed_only = settings_.WriteChangedOnly;   // each radio's own backup decides what it gets
    writes_ = std::make_unique<SeveralRadiosWrite>(data_, LocalProgramTimeNow(), targets.value(), options);
    ended_ = false;
    startButton->setEnabled(false);
    setTicksEditable(false);   // the grid stays readable while the radios are written
    summary->clear();
    // The writes run on their own threads; what they report reaches the grid
    // through the event loop, on this window's thread.
    worker_ = std::thread([this, writes = writes_.get()] {
        writes->Run(
            [this](std::size_t radio, SafeWritePhase phase, int progress, int max) {
                QMetaObject::invokeMethod(
                    this, [=, this] { showProgress(runningRows_[radio], phase, progress, max); }, Qt::QueuedConnection);
            },
            [this](std::size_t radio, const SafeWriteResult& result, double seconds) {
                // A line that cannot be added is said in the result; the write itself is done.
                const auto logError = attempts_[radio].logOutcome(result);
                SafeWriteResult shown = result;
                if (logError)
                    shown.message += QStringLiteral(" (") + logError->message + QStringLiteral(")");
                QMetaObject::invokeMethod(
                    this, [=, this] { showResult(runningRows_[radio], shown, seconds); }, Qt::QueuedConnection);
            });
        QMetaObject::invokeMethod(this, &SeveralRadiosWindow::runEnded, Qt::QueuedConnection);
    });
    relabel();   // Cancel now stops the run
}

bool SeveralRadiosWindow::logStarted(const std::vector<RadioTarget>& targets)
{
    // Every radio's started line before any frame: a write that could not be logged is not started.
    attempts_.clear();
    for (const RadioTarget& target : targets) {
        WriteLogContext context = logContext_;
        context.port = target.port;
        context.device = target.device;
        attempts_.emplace_back(ProgrammingLogPath(), context, data_.record.get(rec::freq_band));
        if (auto error = attempts_.back().logStarted()) {
            attempts_.pop_back();
            SafeWriteResult notStarted;
            notStarted.outcome = SafeWriteOutcome::Cancelled;
            notStarted.message = Text(OwnText::SafeWriteCancelledNothingWritten);
            for (WriteAttemptLog& attempt : attempts_)
                attempt.logOutcome(notStarted);
            attempts_.clear();
            ShowNotice(this, error->message);
            return false;
        }
    }
    return true;
}

void SeveralRadiosWindow::setTicksEditable(bool editable)
{
    for (int row = 0; row < grid->rowCount(); ++row)
        grid->item(row, ColPort)->setFlags(editable ? Qt::ItemIsEnabled | Qt::ItemIsUserCheckable : Qt::ItemIsEnabled);
    addPortButton->setEnabled(editable);
}

void SeveralRadiosWindow::showProgress(int row, SafeWritePhase phase, int progress, int max)
{
    auto* bar = static_cast<QProgressBar*>(grid->cellWidget(row, ColProgress));
    bar->setMaximum(std::max(max, 1));
    bar->setValue(progress);
    bar->setFormat(SafeWritePhaseText(phase) + QStringLiteral(" %p%"));
    bar->setAccessibleName(portAndText(row, SafeWritePhaseText(phase)));
    grid->item(row, ColProgress)->setText(bar->text());
}

void SeveralRadiosWindow::showResult(int row, const SafeWriteResult& result, double seconds)
{
    grid->item(row, ColSerial)->setText(result.serial_number);
    QString text = SeveralRadiosResultText(result);
    if (result.outcome == SafeWriteOutcome::Written && result.changed_only)   // each radio's own count
        text += QStringLiteral("; ") + ChangedOnlyNote(result);
    grid->item(row, ColResult)->setText(text + QStringLiteral(" (%1 s)").arg(seconds, 0, 'f', 1));
    grid->item(row, ColResult)->setToolTip(text);
    auto* bar = static_cast<QProgressBar*>(grid->cellWidget(row, ColProgress));
    bar->setFormat(Text(ResultText(result)));
    bar->setAccessibleName(portAndText(row, Text(ResultText(result))));
    grid->item(row, ColProgress)->setText(bar->text());
    SayOnLiveLine(summary, portAndText(row, text));
}

QString SeveralRadiosWindow::portAndText(int row, const QString& text) const
{
    return QStringLiteral("%1: %2").arg(ports_[std::size_t(row)].name, text);
}

void SeveralRadiosWindow::runEnded()
{
    ended_ = true;
    startButton->setEnabled(true);
    setTicksEditable(true);
    int written = 0;
    for (const SafeWriteResult& result : writes_->results())
        written += SafeWriteExitCode(result.outcome) == 0 ? 1 : 0;
    SayOnLiveLine(summary, Text(OwnText::SeveralRadiosSummary).arg(written).arg(writes_->results().size()));
    relabel();
    emit allEnded();
}

void SeveralRadiosWindow::cancelOrClose()
{
    if (running())
        writes_->RequestCancel();
    else
        accept();
}

void SeveralRadiosWindow::reject()
{
    // Escape or the title bar's close: radios being written are stopped first.
    if (running()) {
        writes_->RequestCancel();
        return;
    }
    QDialog::reject();
}

void SeveralRadiosWindow::closeEvent(QCloseEvent* event)
{
    if (running()) {
        writes_->RequestCancel();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

}   // namespace k3n
