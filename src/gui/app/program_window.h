#pragma once
// The programming window: every exchange with the radio runs through it. The
// caller sets up the request, the user presses "Start", and one single-shot
// timer steps the session until it ends with "SUCCESS" or a failure notice.
// The session's logic lives in the programming library; this window only
// drives it and shows its progress.
#include "app/app_settings.h"
#include "comm/port_list.h"
#include "programming/session.h"
#include "programming/session_runner.h"
#include <QDialog>
#include <memory>
#include <string>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace k3n {

// The ports a session tries: with AutoSeachPort every port of the list in its
// order, otherwise "COMn" of the Port setting, or of the remembered cable where
// it is now (the plan names it missing when it is gone).
PortPlan SessionPortPlan(const AppSettings& settings, const QList<HalvexComm32::TCommPortEntry>& ports);
// The same over the machine's current port list.
PortPlan SessionPortPlan(const AppSettings& settings);

class TProgramDialog : public QDialog {
    Q_OBJECT
public:
    // Closes with Accepted only when the session succeeded. The request lives
    // and dies with the window, so a band check or write-all chain never
    // reaches a later session.
    TProgramDialog(SessionRequest request, PortPlan ports, QWidget* parent = nullptr);
    ~TProgramDialog() override;

    // Outcome and, after a successful read, the received image or service reply.
    const ProgrammingSession& session() const { return *session_; }

    void ProgramStartClick();

    QPushButton* ProgramStart;
    QPushButton* CancelBtn;
    QProgressBar* ProgressBar1;
    QLabel* sPort;       // the port being tried
    QTimer* Timer_Tx;    // single-shot, armed for the session's next deadline

public slots:
    // Abandons a running transfer (no end frame) before the window goes.
    void done(int result) override;

private:
    void Timer_TxTimer();
    // Shows notices, progress and the end of the session; re-arms the timer while it runs.
    void Show(const RunnerStep& step);
    void ShowPort();

    std::unique_ptr<ProgrammingSession> session_;
    std::unique_ptr<SessionRunner> runner_;
    QString shownPort_;
};

} // namespace k3n
