// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/several_radios.h"
#include "cli/interrupt.h"
#include "cli/radio_session.h"
#include "comm/port_list.h"
#include "programming/session_texts.h"
#include <QDir>
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
        for (std::size_t i = 0; i < targets.size(); ++i)
            lines_[i] = Line(targets[i].port, QString(), 0);
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
        lines_[radio] = portOf(radio).leftJustified(kPortWidth) + text;
        if (terminal_)
            redraw();
        else {
            Err() << lines_[radio] << "\n";
            Err().flush();
        }
    }

private:
    static constexpr int kPortWidth = 16;
    static QString Line(const QString& port, const QString& phase, int percent)
    {
        constexpr int kWidth = 30;
        return port.leftJustified(kPortWidth) + '[' + QString(percent * kWidth / 100, '#') +
               QString(kWidth - percent * kWidth / 100, '-') + "] " + QString::number(percent).rightJustified(3) +
               "% " + phase;
    }
    QString portOf(std::size_t radio) const { return lines_[radio].left(kPortWidth).trimmed(); }
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
    std::vector<QString> lines_;
    std::mutex mutex_;
};

} // namespace

int WriteSeveralRadios(const Command& self, const RadioData& data, const WriteLogContext& file,
                       const QStringList& ports, const SafeWriteOptions& options)
{
    const HalvexComm32::TCommSerialPortInfo portList;
    auto targets = ResolveRadioTargets(ports, portList);
    if (!targets)
        return UsageError(self, targets.error().message);

    SeveralRadiosWrite writes(data, LocalProgramTimeNow(), targets.value(), options);
    ProgressLines lines(writes.targets());
    std::vector<double> seconds(writes.targets().size(), 0.0);
    std::mutex logMutex;
    QStringList logErrors;   // said after the progress lines, which a terminal redraws
    const InterruptWatch interrupt([&] { writes.RequestCancel(); });
    writes.Run(
        [&](std::size_t radio, SafeWritePhase phase, int progress, int max) {
            lines.progress(radio, SafeWritePhaseText(phase), max > 0 ? progress * 100 / max : 0);
        },
        [&](std::size_t radio, const SafeWriteResult& result, double took) {
            seconds[radio] = took;
            QString message = WriteResultMessage(result);
            // The session's last notice, unless the message says it already (a port that would not open).
            if (result.outcome != SafeWriteOutcome::Written && !result.notices.isEmpty()
                && !IsPortOpenNotice(result.notices.constLast()))
                message += " - " + result.notices.constLast();
            lines.finished(radio, ResultText(result) + (message.isEmpty() ? QString() : ": " + message));
            WriteLogContext context = file;
            context.port = writes.targets()[radio].port;
            context.device = result.device.isEmpty() ? writes.targets()[radio].device : result.device;
            if (auto error = LogWrite(ProgrammingLogPath(), QDateTime::currentDateTime(), context, result)) {
                const std::lock_guard lock(logMutex);
                logErrors << context.port + ": " + error->message;
            }
        });

    for (const QString& error : logErrors)
        Err() << "k3n " << self.name << ": the programming log was not written for " << error << "\n";
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
    return SeveralRadiosExitCode(writes.results());
}

} // namespace k3n::cli
