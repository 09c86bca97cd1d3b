// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The programming session: greets the radio, moves one frame per tick and ends
// with success or a failure. It owns no timer, thread or port. Its driver
// (the programming window, the command line) calls it at NextDeadline() with the
// bytes received since the last call and the current time, and carries out what
// each call returns: open a port, drop stale input, send bytes, show notices,
// close the port when the session has ended.
#include "programming/session_texts.h"
#include "programming/transfer_plan.h"
#include <QString>
#include <QStringList>
#include <chrono>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace k3n {

// Time since any fixed origin the driver chooses (a steady clock, or a test clock).
using SessionTime = std::chrono::milliseconds;

namespace session_timing {
constexpr SessionTime kStartWait{300};   // after opening the port, before the first greeting
constexpr SessionTime kGreetingTick{300};   // one greeting (or one port) per tick
constexpr SessionTime kReadTick{2};
constexpr SessionTime kWriteTick{100};   // at most one frame per tick
constexpr SessionTime kGreetingTimeout{1000};   // fixed port only
constexpr SessionTime kAnswerTimeout{5000};   // during a transfer, from the last good answer
// A session chained right after another: the radio may still be busy with the end frame.
constexpr SessionTime kChainedGreetingTimeout{10000};
}   // namespace session_timing

constexpr int kProgressMax = 260;
constexpr int kProgressStep = 22;   // bytes per progress position

// Fixed port: one entry, a port name ("COM3") or a device path. Auto-search: the
// machine's ports in list order, tried one per unanswered greeting.
struct PortPlan {
    bool auto_search = false;
    QStringList ports;
    // Fixed port: the remembered cable (this identity) is not connected, so the
    // session says so and fails at Start without opening whatever took its place.
    QString missing_cable = {};
};

// Auto-search: a port that would not open, and why; the search goes past it.
struct SkippedPort {
    QString port;
    QString reason;   // "COM1 (/dev/ttyS0): permission denied ..."
};

enum class SessionOutcome {
    Pending,   // not started, or running
    Success,
    CommunicationFalse,
    WrongFreqBand,
    Cancelled,
};

// Why a session did not succeed (several reasons share one message).
enum class SessionFailure {
    None,
    NoAnswer,   // a time-out
    WrongAnswer,   // a wrong greeting answer, acknowledgement or reply head
    NoRadioFound,   // auto-search: every port tried
    CableMissing,   // the remembered cable is not connected
    WrongBand,
    LinkLost,
    Cancelled,
    GarbledReply,   // a read reply longer than asked for
};
// A short English explanation for logs and the command line.
const char* FailureDetail(SessionFailure failure);

// The message the window shows for an outcome; none while pending or after Cancel.
std::optional<ProgramText> OutcomeText(SessionOutcome outcome);

// What the driver does after a call, in this order.
struct SessionOutput {
    // Close any open port, then open ports[*open_port]; if that fails, skip 'send'
    // and report it with PortOpenFailed.
    std::optional<std::size_t> open_port;
    bool discard_input = false;   // throw away everything the port has received until now
    std::vector<uint8_t> send;   // write these bytes
    std::vector<QString> notices;   // show each to the user (TUserWarnDlg)
    bool ended = false;   // the session has just ended: let 'send' go out, then close the port
};

class ProgrammingSession {
public:
    // Throws std::invalid_argument for a request no caller makes (see TransferPlan)
    // or an empty port list.
    ProgrammingSession(SessionRequest request, PortPlan ports);

    // The user pressed Start: opens the first port; the greeting follows after kStartWait.
    SessionOutput Start(SessionTime now);
    // Call at NextDeadline() (earlier is harmless) with every byte received since the last call.
    SessionOutput Advance(SessionTime now, std::span<const uint8_t> received = {});
    // The port of the last open_port could not be opened. 'error' is the message
    // for the user; 'detail', when given, says why naming the port and its device.
    SessionOutput PortOpenFailed(SessionTime now, const QString& error, const QString& detail = {});
    // The open port went away (cable pulled, hang-up, read error): ends the session at once.
    SessionOutput LinkLost(SessionTime now);
    // The user closed the window: abandons the transfer, no end frame.
    SessionOutput Cancel();

    // Fixed port: how long the greeting is repeated before the session fails
    // (kGreetingTimeout unless set before Start).
    void SetGreetingTimeout(SessionTime timeout) { greetingTimeout_ = timeout; }

    // When Advance must next be called; none before Start and after the end.
    std::optional<SessionTime> NextDeadline() const;
    bool running() const;
    bool ended() const { return outcome_ != SessionOutcome::Pending; }
    SessionOutcome outcome() const { return outcome_; }
    SessionFailure failure() const { return failure_; }
    int progress() const { return progress_; }   // 0..kProgressMax
    std::size_t portIndex() const { return portIndex_; }
    const SessionRequest& request() const { return request_; }
    const PortPlan& ports() const { return ports_; }
    // Auto-search: the ports it went past because they would not open, in order.
    const std::vector<SkippedPort>& skippedPorts() const { return skipped_; }
    // Fixed port: why it would not open ("<port>: <reason>"); "" when it opened. The
    // session still runs to its time-out then, as the window's session has always done.
    const QString& portOpenFailure() const { return portOpenFailure_; }
    // Frames of the transfer plan sent so far (a write's band request is not one).
    std::size_t stepsSent() const { return cursor_; }
    // Frames of the transfer plan in all.
    std::size_t stepsPlanned() const { return plan_.size(); }
    // A configuration read's image: complete only once outcome() is Success.
    const MemoryImage& image() const { return image_; }
    // A service read's bytes (the item's area from offset 0): valid only at Success.
    const ServiceBuffer& serviceReply() const { return serviceReply_; }

private:
    // Settle: the greeting was answered after more than one went out; the answers
    // to the others are let in and dropped before the first request.
    enum class Phase { Idle, StartWait, Greeting, Settle, Transfer, Ended };

    void RunTick(SessionTime now, SessionOutput& out);
    void GreetingTick(SessionTime now, SessionOutput& out);
    void TransferTick(SessionTime now, SessionOutput& out);
    void GreetingAnswered(SessionTime now, SessionOutput& out);
    void SettleTick(SessionTime now, SessionOutput& out);
    void BeginTransfer(SessionTime now, SessionOutput& out);
    void SendGreeting(SessionOutput& out);
    void NextPort(SessionOutput& out);
    void SkipPort(const QString& reason, SessionOutput& out);
    void SendNextStep(SessionOutput& out);
    bool TakeReadReply(SessionOutput& out);
    void SetInterval(SessionTime now, SessionTime interval);
    void AddProgress(int bytes);
    void Succeed(SessionOutput& out);
    void Fail(SessionFailure reason, SessionOutput& out);
    std::span<const uint8_t> StepBytes(const PlanStep& step) const;

    SessionRequest request_;
    PortPlan ports_;
    std::vector<PlanStep> plan_;

    Phase phase_ = Phase::Idle;
    SessionOutcome outcome_ = SessionOutcome::Pending;
    SessionFailure failure_ = SessionFailure::None;
    std::size_t portIndex_ = 0;
    std::vector<SkippedPort> skipped_;
    QString portOpenFailure_;
    SessionTime greetingTimeout_ = session_timing::kGreetingTimeout;
    SessionTime interval_{0};
    SessionTime nextTick_{0};
    std::optional<SessionTime> timeoutAt_;
    bool intervalChanged_ = false;

    std::vector<uint8_t> received_;
    bool loneByteWaited_ = false;   // auto-search: a one-byte answer has had its one tick of grace
    int greetingsSent_ = 0;   // on the port now open
    std::size_t lateAnswerBytes_ = 0;   // Settle: the answers still owed for the extra greetings
    SessionTime lastByteAt_{0};   // Settle: when the line was last heard
    std::size_t cursor_ = 0;   // next plan step to send
    std::optional<std::size_t> inFlight_;   // answered step whose answer is awaited
    bool bandCheckPending_ = false;
    bool bandReplyAwaited_ = false;
    int progress_ = 0;
    int progressAccumulator_ = 0;

    MemoryImage image_{};
    ServiceBuffer serviceReply_{};
};

// After a configuration read: converts the received image into the record and
// selects the band limits, only when the session succeeded. A failed read leaves
// 'data' as it was. Returns whether it converted.
bool ApplyConfigurationRead(const ProgrammingSession& session, RadioData& data);

}   // namespace k3n
