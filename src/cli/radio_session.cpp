// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/radio_session.h"
#include "cli/check_report.h"
#include "cli/interrupt.h"
#include "comm/port_list.h"
#include "model/configuration_check.h"
#include "programming/port_name.h"
#include "programming/session_runner.h"
#include "programming/session_texts.h"
#include "text/own_texts.h"
#include <QDir>
#include <unistd.h>

namespace k3n::cli {

using HalvexComm32::TCommSerialPortInfo;

Result<PortPlan> PortPlanFromArgument(const QString& port)
{
    if (port.isEmpty())
        return Error{QStringLiteral("the port is missing (--port COMn, auto or a device path)")};
    if (auto error = CheckPortName(port))
        return *error;
    const TCommSerialPortInfo info;
    if (IsAutoPortName(port)) {
        PortPlan plan{true, {}};
        for (const QString& name : info.PortList())
            plan.ports.push_back(name);
        return plan;
    }
    if (!port.startsWith('/')) {   // COMn
        if (info.DevicePathOf(port).isEmpty())
            return Error{QStringLiteral("there is no port %1 on this computer ('k3n ports' lists them)").arg(port)};
        return PortPlan{false, {port.toUpper()}};
    }
    return PortPlan{false, {port}};
}

int PortRefused(const Command& self, const QString& port, const Error& error)
{
    if (port.isEmpty() || CheckPortName(port))
        return UsageError(self, error.message);
    return Failure(self, error.message);
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
        for (const QString& notice : step.notices) {
            if (IsPortOpenNotice(notice))   // the failure's message says why, without the component's name
                continue;
            Err() << (terminal_ && !step.ended ? "\n" : "") << notice << "\n";
        }
        Err().flush();
    }

private:
    const bool terminal_ = isatty(STDERR_FILENO);
    int shown_ = -1;
    QString shownPhase_;
};

}   // namespace

SessionOutcome RunSession(SessionRunner& runner)
{
    StepReporter report;
    return runner.Run([&](const RunnerStep& step) { report(step, runner.session().progress(), kProgressMax); });
}

SafeWriteOutcome RunSafeWrite(SafeWrite& chain)
{
    StepReporter report;
    return chain.Run([&](const RunnerStep& step) {
        report(step, chain.progress(), chain.progressMax(), SafeWritePhaseText(chain.phase()));
    });
}

std::optional<int> RefusedByCheck(const Command& self, const RadioRecord& record, bool force)
{
    // Warnings are shown and the write goes on; errors stop it unless forced.
    const std::vector<ConfigurationProblem> problems = CheckConfiguration(record);
    PrintProblems(Err(), problems);
    Err().flush();
    if (HasErrors(problems) && !force)
        return Failure(self,
                       QStringLiteral("the configuration has %1; nothing was written (--force writes it anyway)")
                           .arg(ProblemCounts(problems)));
    return std::nullopt;
}

std::optional<int> RefusedWithoutLog(const Command& self)
{
    if (auto error = CheckProgrammingLogWritable(ProgrammingLogPath()))
        return Failure(
            self,
            QStringLiteral("the programming log cannot be written (%1); nothing was written").arg(error->message));
    return std::nullopt;
}

SafeWriteOptions WriteOptionsOf(const Arguments& args)
{
    SafeWriteOptions options;
    options.backup = !args.isSet("no-backup");
    options.verify = !args.isSet("no-verify");
    options.changed_only = args.isSet("changed-only");
    return options;
}

int RunLoggedWrite(const Command& self, SafeWrite& chain, const WriteLogContext& context)
{
    WriteAttemptLog attempt(ProgrammingLogPath(), context, chain.result().band);
    // From the started line to the outcome line, a signal stops the radio's session, not the program.
    const InterruptWatch interrupt([&chain] { chain.RequestCancel(); });
    if (auto error = attempt.logStarted())
        return Failure(
            self,
            QStringLiteral("the programming log cannot be written (%1); nothing was written").arg(error->message));
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
        return Failure(self,
                       QStringLiteral("%1 could not be added to the programming log: %2").arg(what, logError->message));
    }
    if (outcome == SafeWriteOutcome::Written)
        return kExitOk;
    Failure(self, WriteResultMessage(result));
    return SafeWriteExitCode(outcome);
}

QString WriteResultMessage(const SafeWriteResult& result)
{
    // The port never opened: that, not the time-out that followed, is what the user needs.
    if (!result.port_open_failure.isEmpty() && result.failure == SessionFailure::NoAnswer)
        return QStringLiteral("cannot open %1; nothing was written").arg(result.port_open_failure);
    QString message = result.message;
    if (const char* detail = FailureDetail(result.failure);
        detail && *detail && result.failure != SessionFailure::Cancelled)
        message += QStringLiteral(" (%1)").arg(QString::fromUtf8(detail));
    return message;
}

QString FailureMessage(const ProgrammingSession& session)
{
    if (!session.portOpenFailure().isEmpty() && session.failure() == SessionFailure::NoAnswer)
        return QStringLiteral("cannot open %1").arg(session.portOpenFailure());
    const auto text = OutcomeText(session.outcome());
    QString message = text ? ProgramDialogText(*text) : QStringLiteral("cancelled");
    if (const char* detail = FailureDetail(session.failure());
        detail && *detail && session.failure() != SessionFailure::Cancelled)
        message += QStringLiteral(" (%1)").arg(QString::fromUtf8(detail));
    return message;
}

}   // namespace k3n::cli
