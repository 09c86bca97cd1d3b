// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The programming window: every exchange with the radio runs through it. The
// caller sets up the request, the user presses "Start", and one single-shot
// timer steps the session until it ends with "SUCCESS" or a failure notice.
// The session's logic lives in the programming library; this window only
// drives it and shows its progress.
#include "app/app_settings.h"
#include "comm/port_list.h"
#include "programming/safe_write.h"
#include "programming/session.h"
#include "programming/session_runner.h"
#include <QDialog>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QCheckBox;
class QDialog;
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
    // Writing the configuration 'data': with the check boxes on, the radio is backed
    // up before and read back after the write, in one run with one progress bar.
    // The boxes start from, and are remembered in, 'settings'. Closes with
    // Accepted only when the configuration was written (and matched on read-back).
    TProgramDialog(const RadioData& data, AppSettings& settings, PortPlan ports, QWidget* parent = nullptr);
    ~TProgramDialog() override;

    // Where the ports come from when Start is pressed (the settings and the cables
    // present then), so a cable replugged while the window was open is found where it is now.
    void setPortsAtStart(std::function<PortPlan()> plan) { portsAtStart_ = std::move(plan); }
    // Writes a backup's radio bytes back exactly (programming time included) instead of the
    // configuration; a radio other than the one they came from is refused.
    void setExactRestore(const MemoryImage& read) { exactRestore_ = read; }

    // Outcome and, after a successful read, the received image or service reply.
    // Not for the configuration write, whose sessions safeWrite() holds.
    const ProgrammingSession& session() const { return *session_; }
    // A configuration write: its phases and result; null before Start and otherwise.
    const SafeWrite* safeWrite() const { return chain_.get(); }

    void ProgramStartClick();
    // Configuration write: asked when Start is pressed, before anything is sent;
    // false closes the window without starting (the programming log could not take the write).
    void setBeforeStart(std::function<bool()> beforeStart) { beforeStart_ = std::move(beforeStart); }
    // A read whose result the caller shows at once: no "SUCCESS" box before it.
    void setSuccessNoticeShown(bool shown) { successNoticeShown_ = shown; }

    QPushButton* ProgramStart;
    QPushButton* CancelBtn;
    QProgressBar* ProgressBar1;
    QLabel* sPort;   // the port being tried
    QLabel* sPhase = nullptr;   // configuration write: the running phase
    QCheckBox* cBackup = nullptr;   // configuration write: back the radio up first
    QCheckBox* cVerify = nullptr;   // configuration write: read the radio back afterwards
    QCheckBox* cShowChanges = nullptr;   // configuration write: after the backup, list the changes and ask
    QCheckBox* cChangedOnly = nullptr;   // configuration write: send only what differs from the backup
    QLabel* sExperimental = nullptr;   // beside cChangedOnly
    QTimer* Timer_Tx;   // single-shot, armed for the session's next deadline

public slots:
    // Abandons a running transfer (no end frame) before the window goes.
    void done(int result) override;

private:
    void Timer_TxTimer();
    // Shows notices, progress and the end of the session; re-arms the timer while it runs.
    void Show(const RunnerStep& step);
    void ShowPort();
    void BuildWindow(const QString& title);
    void ShowPhase();
    // Needs the backup (what the radio holds) and the read-back (what it missed).
    void EnableChangedOnly();
    bool Running() const;
    const ProgrammingSession* CurrentSession() const;
    // Between the backup and the write, on the timer's step: lists the changes and asks; true writes.
    bool AskToWriteChanges(const RadioData& radio, const RadioData& toWrite);

    std::unique_ptr<ProgrammingSession> session_;
    std::unique_ptr<SessionRunner> runner_;
    // Configuration write
    const RadioData* writeData_ = nullptr;
    AppSettings* settings_ = nullptr;
    PortPlan writePorts_;
    std::unique_ptr<SafeWrite> chain_;
    QDialog* changesQuestion_ = nullptr;   // open while the chain waits for the answer
    QString shownPort_;
    std::function<PortPlan()> portsAtStart_;
    std::optional<MemoryImage> exactRestore_;
    std::function<bool()> beforeStart_;
    bool successNoticeShown_ = true;
};

}   // namespace k3n
