// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/radio_session.h"
#include "cli/interrupt.h"
#include "comm/port_list.h"
#include "model/fse_file.h"
#include "programming/session_runner.h"
#include "text/own_texts.h"
#include <QDir>
#include <QRegularExpression>
#include <unistd.h>

namespace k3n::cli {

using HalvexComm32::TCommSerialPortInfo;

Result<PortPlan> PortPlanFromArgument(const QString& port)
{
    const TCommSerialPortInfo info;
    if (port.compare(QLatin1String("auto"), Qt::CaseInsensitive) == 0) {
        PortPlan plan{true, {}};
        for (const QString& name : info.PortList())
            plan.ports.push_back(name);
        return plan;
    }
    static const QRegularExpression comName(QStringLiteral("^COM[0-9]+$"), QRegularExpression::CaseInsensitiveOption);
    if (comName.match(port).hasMatch()) {
        if (info.DevicePathOf(port).isEmpty())
            return Error{QStringLiteral("there is no port %1 on this computer ('k3n ports' lists them)").arg(port)};
        return PortPlan{false, {port.toUpper()}};
    }
    if (port.isEmpty())
        return Error{QStringLiteral("the port is missing (--port COMn, auto or a device path)")};
    return PortPlan{false, {port}};
}

namespace {

void ShowProgress(int progress, int maximum, const QString& phase, bool ended)
{
    constexpr int kWidth = 40;
    const int filled = progress * kWidth / maximum;
    Err() << "\r[" << QString(filled, '#') << QString(kWidth - filled, '-') << "] "
          << QString::number(progress * 100 / maximum).rightJustified(3) << "%";
    if (!phase.isEmpty())
        Err() << " " << phase.leftJustified(24);
    if (ended)
        Err() << "\n";
    Err().flush();
}

// The progress bar (on a terminal) and the notices of each step.
class StepReporter {
public:
    void operator()(const RunnerStep& step, int progress, int maximum, const QString& phase = {})
    {
        if (terminal_ && (progress != shown_ || phase != shownPhase_ || step.ended)) {
            shown_ = progress;
            shownPhase_ = phase;
            ShowProgress(progress, maximum, phase, step.ended);
        }
        for (const QString& notice : step.notices)
            Err() << (terminal_ && !step.ended ? "\n" : "") << notice << "\n";
        Err().flush();
    }

private:
    const bool terminal_ = isatty(STDERR_FILENO);
    int shown_ = -1;
    QString shownPhase_;
};


} // namespace

SessionOutcome RunSession(ProgrammingSession& session)
{
    StepReporter report;
    SessionRunner runner(session);
    return runner.Run([&](const RunnerStep& step) { report(step, session.progress(), kProgressMax); });
}

SafeWriteOutcome RunSafeWrite(SafeWrite& chain)
{
    StepReporter report;
    return chain.Run([&](const RunnerStep& step) {
        report(step, chain.progress(), chain.progressMax(), SafeWritePhaseText(chain.phase()));
    });
}

int RunLoggedWrite(const Command& self, SafeWrite& chain, const WriteLogContext& context)
{
    WriteAttemptLog attempt(ProgrammingLogPath(), context, chain.result().band);
    // From the started line to the outcome line, a signal stops the radio's session, not the program.
    const InterruptWatch interrupt([&chain] { chain.RequestCancel(); });
    if (auto error = attempt.logStarted())
        return Failure(self, QStringLiteral("the programming log cannot be written (%1); nothing was written")
                                 .arg(error->message));
    const SafeWriteOutcome outcome = RunSafeWrite(chain);
    const SafeWriteResult& result = chain.result();
    const std::optional<Error> logError = attempt.logOutcome(result);
    if (!result.backup_path.isEmpty())
        Out() << "backup: " << QDir::toNativeSeparators(result.backup_path) << "\n";
    Out().flush();
    if (logError) {
        if (outcome != SafeWriteOutcome::Written)
            Err() << "k3n " << self.name << ": " << WriteResultMessage(result) << "\n";
        const QString what = result.frames_written > 0 ? QStringLiteral("the radio was written, but its outcome")
                                                       : QStringLiteral("the outcome of this attempt");
        return Failure(self, QStringLiteral("%1 could not be added to the programming log: %2").arg(what, logError->message));
    }
    if (outcome == SafeWriteOutcome::Written)
        return kExitOk;
    Failure(self, WriteResultMessage(result));
    return SafeWriteExitCode(outcome);
}

QString WriteResultMessage(const SafeWriteResult& result)
{
    QString message = result.message;
    if (const char* detail = FailureDetail(result.failure);
        detail && *detail && result.failure != SessionFailure::Cancelled)
        message += QStringLiteral(" (%1)").arg(QString::fromUtf8(detail));
    return message;
}

QString FailureMessage(const ProgrammingSession& session)
{
    const auto text = OutcomeText(session.outcome());
    QString message = text ? ProgramDialogText(*text) : QStringLiteral("cancelled");
    if (const char* detail = FailureDetail(session.failure()); detail && *detail)
        message += QStringLiteral(" (%1)").arg(QString::fromUtf8(detail));
    return message;
}

std::optional<Error> LoadWholeConfiguration(const QString& path, RadioData& data)
{
    if (auto error = LoadFseFile(path, data))
        return Error{QStringLiteral("cannot read %1: %2").arg(path, error->message())};
    return std::nullopt;
}

std::optional<Error> LoadBaseConfiguration(const QString& basePath, RadioData& data)
{
    data.ResetForBand(0);
    if (basePath.isEmpty())
        return std::nullopt;
    return LoadWholeConfiguration(basePath, data);
}

} // namespace k3n::cli
