// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/several_radios.h"
#include "cli/interrupt.h"
#include "cli/radio_session.h"
#include "comm/port_list.h"
#include "model/record_layout.h"
#include "programming/session_texts.h"
#include "text/own_texts.h"
#include <QDir>
#include <algorithm>
#include <mutex>
#include <unistd.h>

namespace k3n::cli {

namespace {

QString ResultText(const SafeWriteResult& result)
{
    switch (result.outcome) {
    case SafeWriteOutcome::Written: return QStringLiteral("written");
    case SafeWriteOutcome::WrittenNotVerified: return QStringLiteral("written, not verified");
    case SafeWriteOutcome::Cancelled: return QStringLiteral("cancelled");
    default: return QStringLiteral("failed");
    }
}

// One line per radio, redrawn in place on a terminal; elsewhere only the
// lines of radios that ended are printed, once.
class ProgressLines {
public:
    explicit ProgressLines(const std::vector<RadioTarget>& targets) : lines_(targets.size())
    {
        // Whole port names, all lines aligned: /dev/serial/by-id/… names differ only at their end.
        for (const RadioTarget& target : targets) {
            ports_ << target.port;
            portWidth_ = std::max(portWidth_, int(target.port.size()) + 1);
        }
        for (std::size_t i = 0; i < targets.size(); ++i)
            lines_[i] = Line(ports_[qsizetype(i)], QString(), 0);
        if (terminal_) {
            for (const QString& line : lines_)
                Err() << line << "\n";
            Err().flush();
        }
    }
    void progress(std::size_t radio, const QString& phase, int percent)
    {
        std::lock_guard lock(mutex_);
        const QString line = Line(portOf(radio), phase, percent);
        if (line == lines_[radio])
            return;
        lines_[radio] = line;
        redraw();
    }
    void finished(std::size_t radio, const QString& text)
    {
        std::lock_guard lock(mutex_);
        lines_[radio] = portOf(radio).leftJustified(portWidth_) + text;
        if (terminal_)
            redraw();
        else {
            Err() << lines_[radio] << "\n";
            Err().flush();
        }
    }

private:
    QString Line(const QString& port, const QString& phase, int percent) const
    {
        constexpr int kWidth = 30;
        return port.leftJustified(portWidth_) + '[' + QString(percent * kWidth / 100, '#')
            + QString(kWidth - percent * kWidth / 100, '-') + "] " + QString::number(percent).rightJustified(3) + "% "
            + phase;
    }
    QString portOf(std::size_t radio) const { return ports_[qsizetype(radio)]; }
    void redraw()
    {
        if (!terminal_)
            return;
        Err() << "\x1b[" << lines_.size() << "A";   // back to the first line
        for (const QString& line : lines_)
            Err() << "\r\x1b[K" << line << "\n";
        Err().flush();
    }

    const bool terminal_ = isatty(STDERR_FILENO);
    QStringList ports_;
    int portWidth_ = 16;
    std::vector<QString> lines_;
    std::mutex mutex_;
};

}   // namespace

int WriteSeveralRadios(const Command& self, const RadioData& data, const WriteLogContext& file,
                       const QStringList& ports, const SafeWriteOptions& options)
{
    const HalvexComm32::TCommSerialPortInfo portList;
    auto targets = ResolveRadioTargets(ports, portList);
    if (!targets)
        return UsageError(self, targets.error().message);

    SeveralRadiosWrite writes(data, LocalProgramTimeNow(), targets.value(), options);
    const InterruptWatch interrupt([&] { writes.RequestCancel(); });
    // Every radio's started line first: a write that could not be logged is not started.
    std::vector<WriteAttemptLog> attempts;
    for (const RadioTarget& target : writes.targets()) {
        WriteLogContext context = file;
        context.port = target.port;
        context.device = target.device;
        attempts.emplace_back(ProgrammingLogPath(), context, data.record.get(rec::freq_band));
        if (auto error = attempts.back().logStarted()) {
            attempts.pop_back();
            SafeWriteResult notStarted;
            notStarted.outcome = SafeWriteOutcome::Cancelled;
            notStarted.message = Text(OwnText::SafeWriteCancelledNothingWritten);
            for (WriteAttemptLog& attempt : attempts)
                attempt.logOutcome(notStarted);
            return Failure(
                self,
                QStringLiteral("the programming log cannot be written (%1); nothing was written").arg(error->message));
        }
    }
    ProgressLines lines(writes.targets());
    std::vector<double> seconds(writes.targets().size(), 0.0);
    std::mutex logMutex;
    QStringList logErrors;   // said after the progress lines, which a terminal redraws
    writes.Run([&](std::size_t radio, SafeWritePhase phase, int progress,
                   int max) { lines.progress(radio, SafeWritePhaseText(phase), max > 0 ? progress * 100 / max : 0); },
               [&](std::size_t radio, const SafeWriteResult& result, double took) {
                   seconds[radio] = took;
                   QString message = WriteResultMessage(result);
                   // The session's last notice, unless the message says it already (a port that would not open).
                   if (result.outcome != SafeWriteOutcome::Written && !result.notices.isEmpty()
                       && !IsPortOpenNotice(result.notices.constLast()))
                       message += " - " + result.notices.constLast();
                   lines.finished(radio, ResultText(result) + (message.isEmpty() ? QString() : ": " + message));
                   if (auto error = attempts[radio].logOutcome(result)) {
                       const std::lock_guard lock(logMutex);
                       logErrors << attempts[radio].context().port + ": " + error->message;
                   }
               });

    for (const QString& error : logErrors)
        Err() << "k3n " << self.name << ": the outcome could not be added to the programming log for " << error << "\n";
    Err().flush();
    // The summary: port, serial number, result, seconds.
    for (std::size_t radio = 0; radio < writes.results().size(); ++radio) {
        const SafeWriteResult& result = writes.results()[radio];
        Out() << writes.targets()[radio].port.leftJustified(16) << " "
              << (result.serial_number.isEmpty() ? QStringLiteral("-") : result.serial_number).leftJustified(12) << " "
              << ResultText(result).leftJustified(22) << " " << QString::number(seconds[radio], 'f', 1) << " s";
        if (!result.backup_path.isEmpty())
            Out() << "  backup: " << QDir::toNativeSeparators(result.backup_path);
        Out() << "\n";
    }
    Out().flush();
    return logErrors.isEmpty() ? SeveralRadiosExitCode(writes.results()) : kExitFailure;
}

}   // namespace k3n::cli
