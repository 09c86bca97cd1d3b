// SPDX-License-Identifier: GPL-3.0-or-later
#include "programming/session.h"
#include "programming/link_frame.h"
#include "text/own_texts.h"
#include <algorithm>
#include <stdexcept>

namespace k3n {

using namespace session_timing;

namespace {

constexpr std::size_t kReceiveBufferSize = 8192;
constexpr std::size_t kBandReplySize = 1 + link::kReplyOverhead;
constexpr uint8_t kRadioStateByte[1] = {0x00};   // written with every configuration

void Append(std::vector<uint8_t>& to, const std::vector<uint8_t>& bytes)
{
    to.insert(to.end(), bytes.begin(), bytes.end());
}

bool IsAck(const std::vector<uint8_t>& buffer)
{
    return buffer.size() >= 2 && buffer[0] == link::kAck[0] && buffer[1] == link::kAck[1];
}

bool BandMatches(uint8_t code, int recordBand)
{
    return recordBand >= 0 && recordBand < kBandCount && code == BandRadioCode(recordBand);
}

}   // namespace

std::optional<ProgramText> OutcomeText(SessionOutcome outcome)
{
    switch (outcome) {
    case SessionOutcome::Success: return ProgramText::Success;
    case SessionOutcome::CommunicationFalse: return ProgramText::CommunicationFalse;
    case SessionOutcome::WrongFreqBand: return ProgramText::WrongFreqBand;
    case SessionOutcome::Pending:
    case SessionOutcome::Cancelled: break;
    }
    return std::nullopt;
}

bool ApplyConfigurationRead(const ProgrammingSession& session, RadioData& data)
{
    const SessionRequest& r = session.request();
    if (session.outcome() != SessionOutcome::Success || r.kind != TransferKind::Configuration
        || r.direction != Direction::Read || r.identity_only)
        return false;
    SetDataToSoftware(session.image(), data);
    data.SelectBandLimits();
    return true;
}

const char* FailureDetail(SessionFailure failure)
{
    switch (failure) {
    case SessionFailure::None: return "";
    case SessionFailure::NoAnswer: return "the radio did not answer in time";
    case SessionFailure::WrongAnswer: return "the radio gave an unexpected answer";
    case SessionFailure::NoRadioFound: return "no port answered the greeting";
    case SessionFailure::CableMissing: return "the chosen cable is not connected";
    case SessionFailure::WrongBand: return "the radio is of another frequency band";
    case SessionFailure::LinkLost: return "the port went away (cable pulled?)";
    case SessionFailure::Cancelled: return "cancelled";
    case SessionFailure::GarbledReply: return "the radio's answer was longer than asked for (garbled)";
    }
    return "";
}

ProgrammingSession::ProgrammingSession(SessionRequest request, PortPlan ports)
    : request_(std::move(request)), ports_(std::move(ports)), plan_(TransferPlan(request_))
{
    if (ports_.ports.isEmpty())
        throw std::invalid_argument("a session needs a port");
    if (!ports_.auto_search)
        ports_.ports.resize(1);
    image_ = request_.image;
}

bool ProgrammingSession::running() const
{
    return phase_ != Phase::Idle && phase_ != Phase::Ended;
}

std::optional<SessionTime> ProgrammingSession::NextDeadline() const
{
    if (!running())
        return std::nullopt;
    return timeoutAt_ ? std::min(nextTick_, *timeoutAt_) : nextTick_;
}

SessionOutput ProgrammingSession::Start(SessionTime now)
{
    SessionOutput out;
    if (phase_ != Phase::Idle)
        return out;
    phase_ = Phase::StartWait;
    portIndex_ = 0;
    if (!ports_.auto_search && !ports_.missing_cable.isEmpty()) {
        out.notices.push_back(Text(OwnText::CableNotConnected).arg(ports_.missing_cable));
        Fail(SessionFailure::CableMissing, out);
        return out;
    }
    out.open_port = portIndex_;
    nextTick_ = now + kStartWait;
    return out;
}

SessionOutput ProgrammingSession::PortOpenFailed(SessionTime, const QString& error, const QString& detail)
{
    SessionOutput out;
    if (!running())
        return out;
    const QString reason =
        detail.isEmpty() ? ports_.ports.at(qsizetype(portIndex_)) + QStringLiteral(": ") + error : detail;
    if (ports_.auto_search) {
        SkipPort(reason, out);
    } else {   // the greeting then goes unanswered and the time-out ends the session
        portOpenFailure_ = reason;
        out.notices.push_back(PortOpenNotice(error));
    }
    return out;
}

SessionOutput ProgrammingSession::LinkLost(SessionTime)
{
    SessionOutput out;
    if (running())
        Fail(SessionFailure::LinkLost, out);
    return out;
}

SessionOutput ProgrammingSession::Cancel()
{
    SessionOutput out;
    if (running())
        Fail(SessionFailure::Cancelled, out);
    return out;
}

SessionOutput ProgrammingSession::Advance(SessionTime now, std::span<const uint8_t> received)
{
    SessionOutput out;
    if (phase_ == Phase::Greeting || phase_ == Phase::Settle || phase_ == Phase::Transfer) {
        // Bytes during the start wait are stale and dropped; the buffer holds at most 8192.
        const std::size_t room = kReceiveBufferSize - std::min(kReceiveBufferSize, received_.size());
        received_.insert(received_.end(), received.begin(), received.begin() + std::min(room, received.size()));
        if (!received.empty())
            lastByteAt_ = now;
    }
    while (running()) {
        const bool tickDue = nextTick_ <= now;
        const bool timeoutDue = timeoutAt_ && *timeoutAt_ <= now;
        if (timeoutDue && (!tickDue || *timeoutAt_ < nextTick_)) {
            Fail(SessionFailure::NoAnswer, out);
            break;
        }
        if (!tickDue)
            break;
        RunTick(now, out);
    }
    return out;
}

void ProgrammingSession::SetInterval(SessionTime now, SessionTime interval)
{
    interval_ = interval;
    nextTick_ = now + interval;
    intervalChanged_ = true;
}

void ProgrammingSession::RunTick(SessionTime now, SessionOutput& out)
{
    const SessionTime due = nextTick_;
    intervalChanged_ = false;
    switch (phase_) {
    case Phase::StartWait:
        out.discard_input = true;
        SendGreeting(out);
        phase_ = Phase::Greeting;
        received_.clear();
        SetInterval(now, kGreetingTick);
        if (!ports_.auto_search)
            timeoutAt_ = now + greetingTimeout_;
        return;
    case Phase::Greeting: GreetingTick(now, out); break;
    case Phase::Settle: SettleTick(now, out); break;
    case Phase::Transfer: TransferTick(now, out); break;
    case Phase::Idle:
    case Phase::Ended: return;
    }
    if (!intervalChanged_) {   // a late tick runs once; the next keeps the pace from now
        nextTick_ = due + interval_;
        if (nextTick_ <= now)
            nextTick_ = now + interval_;
    }
}

void ProgrammingSession::GreetingTick(SessionTime now, SessionOutput& out)
{
    if (received_.size() == 1 && !(ports_.auto_search && loneByteWaited_)) {
        loneByteWaited_ = true;   // half an answer: wait for the rest
        return;
    }
    if (IsAck(received_)) {
        GreetingAnswered(now, out);
        return;
    }
    const bool unanswered = received_.size() <= 1;
    if (ports_.auto_search)
        NextPort(out);
    else if (unanswered)
        SendGreeting(out);
    else
        Fail(SessionFailure::WrongAnswer, out);   // a wrong answer on a fixed port
}

// A placeholder port the user may not open must not end the search: it goes on
// with the next port, at once, as no greeting went out on this one.
void ProgrammingSession::SkipPort(const QString& reason, SessionOutput& out)
{
    skipped_.push_back({ports_.ports.at(qsizetype(portIndex_)), reason});
    const bool lastPort = portIndex_ + 1 >= std::size_t(ports_.ports.size());
    if (phase_ == Phase::StartWait && !lastPort)
        out.open_port = ++portIndex_;   // before the first greeting: the start wait still runs
    else
        NextPort(out);
}

void ProgrammingSession::NextPort(SessionOutput& out)
{
    if (++portIndex_ >= std::size_t(ports_.ports.size())) {
        if (!skipped_.empty()) {
            QStringList lines;
            for (const SkippedPort& skipped : skipped_)
                lines << skipped.reason;
            out.notices.push_back(Text(OwnText::PortsSkippedBySearch).arg(lines.join('\n')));
        }
        Fail(SessionFailure::NoRadioFound, out);
        return;
    }
    out.open_port = portIndex_;
    out.discard_input = true;
    greetingsSent_ = 0;
    SendGreeting(out);
    received_.clear();
    loneByteWaited_ = false;
}

void ProgrammingSession::SendGreeting(SessionOutput& out)
{
    Append(out.send, link::GreetingFrame());
    ++greetingsSent_;
}

void ProgrammingSession::GreetingAnswered(SessionTime now, SessionOutput& out)
{
    progress_ = 1;
    received_.erase(received_.begin(), received_.begin() + 2);
    if (greetingsSent_ <= 1) {
        BeginTransfer(now, out);
        return;
    }
    // A radio slow to wake answers every greeting it saw, one interval apart. Each
    // late answer would otherwise sit in front of the first reply and shift it.
    phase_ = Phase::Settle;
    lateAnswerBytes_ = sizeof link::kAck * std::size_t(greetingsSent_ - 1);
    lastByteAt_ = now;
    timeoutAt_ = now + kAnswerTimeout;
    SetInterval(now, kReadTick);
    SettleTick(now, out);
}

// Until an answer has come for each extra greeting, or the line has been quiet for one greeting interval.
void ProgrammingSession::SettleTick(SessionTime now, SessionOutput& out)
{
    if (received_.size() >= lateAnswerBytes_ || now - lastByteAt_ >= kGreetingTick)
        BeginTransfer(now, out);
}

void ProgrammingSession::BeginTransfer(SessionTime now, SessionOutput& out)
{
    timeoutAt_ = now + kAnswerTimeout;
    SetInterval(now, request_.direction == Direction::Read ? kReadTick : kWriteTick);
    phase_ = Phase::Transfer;
    cursor_ = 0;
    inFlight_.reset();
    bandCheckPending_ = request_.band_check;
    received_.clear();
    SendNextStep(out);
}

void ProgrammingSession::SendNextStep(SessionOutput& out)
{
    if (bandCheckPending_) {
        bandCheckPending_ = false;
        bandReplyAwaited_ = true;
        Append(out.send, link::ReadRequest(radio_addr::kBandCode, 1));
        return;
    }
    const std::size_t index = cursor_++;
    const PlanStep& step = plan_[index];
    if (request_.direction == Direction::Read) {
        Append(out.send, link::ReadRequest(step.address, step.size));
    } else {
        Append(out.send, link::WriteFrame(step.address, StepBytes(step)));
        AddProgress(step.progress_bytes);
    }
    inFlight_ = step.await_answer ? std::optional(index) : std::nullopt;
}

std::span<const uint8_t> ProgrammingSession::StepBytes(const PlanStep& step) const
{
    switch (step.data) {
    case StepData::Image: return std::span(image_).subspan(step.address, step.size);
    case StepData::RadioState: return kRadioStateByte;
    case StepData::ServiceBuffer: return std::span(request_.service_buffers.at(step.service)).first(step.size);
    }
    return {};
}

void ProgrammingSession::TransferTick(SessionTime now, SessionOutput& out)
{
    if (!inFlight_ && !bandReplyAwaited_) {   // the write-all chain: one unanswered frame per tick
        SendNextStep(out);
        if (inFlight_)
            received_.clear();
        return;
    }
    if (received_.empty())
        return;

    if (bandReplyAwaited_) {
        if (received_.size() < kBandReplySize)
            return;
        if (received_.size() > kBandReplySize)
            return Fail(SessionFailure::GarbledReply, out);
        if (received_[0] != link::kReplyHead)
            return Fail(SessionFailure::WrongAnswer, out);
        const bool match =
            request_.band_code ? received_[2] == *request_.band_code : BandMatches(received_[2], request_.record_band);
        if (!match)
            return Fail(SessionFailure::WrongBand, out);
        bandReplyAwaited_ = false;
    } else if (request_.direction == Direction::Read) {
        const std::size_t expected = plan_[*inFlight_].size + link::kReplyOverhead;
        if (received_.size() < expected)
            return;
        // Bytes beyond the reply belong to nothing asked for: the data cannot be trusted.
        if (received_.size() > expected)
            return Fail(SessionFailure::GarbledReply, out);
        if (!TakeReadReply(out))
            return;
    } else {
        if (received_.size() < 2)
            return;
        if (!IsAck(received_))
            return Fail(SessionFailure::WrongAnswer, out);
    }

    timeoutAt_ = now + kAnswerTimeout;
    received_.clear();
    inFlight_.reset();
    if (cursor_ >= plan_.size())
        Succeed(out);
    else
        SendNextStep(out);
}

// The reply is head, one byte, the data, one byte; neither extra byte is examined.
bool ProgrammingSession::TakeReadReply(SessionOutput& out)
{
    if (received_[0] != link::kReplyHead) {
        Fail(SessionFailure::WrongAnswer, out);
        return false;
    }
    const PlanStep& step = plan_[*inFlight_];
    const auto data = std::span(received_).subspan(2, step.size);
    if (step.data == StepData::Image)
        std::copy(data.begin(), data.end(), image_.begin() + step.address);
    else
        std::copy(data.begin(), data.end(), serviceReply_.begin());
    AddProgress(step.progress_bytes);
    return true;
}

void ProgrammingSession::AddProgress(int bytes)
{
    progressAccumulator_ += bytes;
    progress_ += progressAccumulator_ / kProgressStep;
    progressAccumulator_ %= kProgressStep;
}

void ProgrammingSession::Succeed(SessionOutput& out)
{
    progress_ = kProgressMax;
    Append(out.send, link::EndFrame());
    outcome_ = SessionOutcome::Success;
    phase_ = Phase::Ended;
    out.ended = true;
}

void ProgrammingSession::Fail(SessionFailure reason, SessionOutput& out)
{
    failure_ = reason;
    switch (reason) {
    case SessionFailure::WrongBand: outcome_ = SessionOutcome::WrongFreqBand; break;
    case SessionFailure::Cancelled: outcome_ = SessionOutcome::Cancelled; break;
    default: outcome_ = SessionOutcome::CommunicationFalse; break;
    }
    phase_ = Phase::Ended;
    out.ended = true;
}

}   // namespace k3n
