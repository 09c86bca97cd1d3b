#include "app/program_window.h"
#include "comm/port_identity.h"
#include "widgets/message_windows.h"
#include "programming/session_texts.h"
#include "text/ui_text.h"
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace k3n {

using HalvexComm32::TCommPortEntry;
using HalvexComm32::TCommSerialPortInfo;

PortPlan SessionPortPlan(const AppSettings& settings, const QList<TCommPortEntry>& ports)
{
    PortPlan plan;
    plan.auto_search = settings.AutoSeachPort;
    if (plan.auto_search) {
        for (const TCommPortEntry& p : ports)
            plan.ports.push_back(p.name);
        return plan;
    }
    // The remembered cable, wherever it is now (also beyond COM9, which Port cannot
    // hold); when it is gone the session says so.
    const auto cable = HalvexComm32::FindRememberedCable(settings.PortId, settings.Port, ports);
    if (cable.where == HalvexComm32::CableLookup::Where::Gone)
        plan.missing_cable = settings.PortId;
    plan.ports.push_back(TCommSerialPortInfo::PortName(cable.port));
    return plan;
}

PortPlan SessionPortPlan(const AppSettings& settings)
{
    TCommSerialPortInfo info;
    return SessionPortPlan(settings, info.Ports());
}

namespace {
// "COM2 — /dev/pts/4 (virtual radio)" for a port name of the list, else the name or path as given.
QString PortDisplayText(const QString& name, const TCommSerialPortInfo& info)
{
    for (const TCommPortEntry& p : info.Ports())
        if (p.name.compare(name, Qt::CaseInsensitive) == 0)
            return TCommSerialPortInfo::DisplayText(p);
    return name;
}
} // namespace

TProgramDialog::TProgramDialog(SessionRequest request, PortPlan ports, QWidget* parent)
    : QDialog(parent),
      session_(std::make_unique<ProgrammingSession>(std::move(request), std::move(ports))),
      runner_(std::make_unique<SessionRunner>(*session_))
{
    setObjectName("TProgramDialog");
    setWindowTitle(PlainCaption(UiText(session_->request().direction == Direction::Read ? 7 : 8)));

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setRange(0, kProgressMax);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setMinimumWidth(320);
    sPort = new QLabel(this);
    sPort->setObjectName("sPort");
    ProgramStart = new QPushButton(ProgramDialogText(ProgramText::Start), this);
    ProgramStart->setObjectName("ProgramStart");
    ProgramStart->setDefault(true);
    CancelBtn = new QPushButton(ProgramDialogText(ProgramText::Cancel), this);
    CancelBtn->setObjectName("CancelBtn");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ProgramStart);
    buttons->addWidget(CancelBtn);
    buttons->addStretch();
    auto* column = new QVBoxLayout(this);
    column->addWidget(ProgressBar1);
    column->addWidget(sPort);
    column->addLayout(buttons);

    Timer_Tx = new QTimer(this);
    Timer_Tx->setObjectName("Timer_Tx");
    Timer_Tx->setSingleShot(true);
    Timer_Tx->setTimerType(Qt::PreciseTimer);   // the read tick is 2 ms

    ShowPort();

    connect(ProgramStart, &QPushButton::clicked, this, &TProgramDialog::ProgramStartClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(Timer_Tx, &QTimer::timeout, this, &TProgramDialog::Timer_TxTimer);
}

TProgramDialog::~TProgramDialog()
{
    Timer_Tx->stop();
    if (session_->running())
        runner_->Cancel();
}

void TProgramDialog::ProgramStartClick()
{
    if (session_->ended() || session_->running())
        return;
    ProgramStart->setEnabled(false);
    Show(runner_->Start());
}

void TProgramDialog::Timer_TxTimer()
{
    Show(runner_->Step());
}

void TProgramDialog::Show(const RunnerStep& step)
{
    ProgressBar1->setValue(session_->progress());
    ShowPort();
    for (const QString& notice : step.notices)
        ShowNotice(this, notice);
    if (step.ended) {
        if (auto text = OutcomeText(session_->outcome()))
            ShowNotice(this, ProgramDialogText(*text));
        done(session_->outcome() == SessionOutcome::Success ? Accepted : Rejected);
        return;
    }
    if (auto wake = runner_->NextWake()) {
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*wake - SessionRunner::Clock::now());
        Timer_Tx->start(std::max<int>(0, int(wait.count())));
    }
}

void TProgramDialog::ShowPort()
{
    const PortPlan& plan = session_->ports();
    if (session_->portIndex() >= std::size_t(plan.ports.size()))
        return;
    const QString& port = plan.ports[qsizetype(session_->portIndex())];
    if (port == shownPort_)
        return;
    shownPort_ = port;
    sPort->setText(PortDisplayText(port, TCommSerialPortInfo()));
}

void TProgramDialog::done(int result)
{
    Timer_Tx->stop();
    if (session_->running())
        runner_->Cancel();
    QDialog::done(result);
}

} // namespace k3n
