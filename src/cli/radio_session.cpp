#include "cli/radio_session.h"
#include "comm/port_list.h"
#include "model/fse_file.h"
#include "programming/session_runner.h"
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

void ShowProgress(int progress, bool ended)
{
    constexpr int kWidth = 40;
    const int filled = progress * kWidth / kProgressMax;
    Err() << "\r[" << QString(filled, '#') << QString(kWidth - filled, '-') << "] "
          << QString::number(progress * 100 / kProgressMax).rightJustified(3) << "%";
    if (ended)
        Err() << "\n";
    Err().flush();
}

} // namespace

SessionOutcome RunSession(ProgrammingSession& session)
{
    const bool terminal = isatty(STDERR_FILENO);
    int shown = -1;
    SessionRunner runner(session);
    return runner.Run([&](const RunnerStep& step) {
        if (terminal && (session.progress() != shown || step.ended)) {
            shown = session.progress();
            ShowProgress(shown, step.ended);
        }
        for (const QString& notice : step.notices)
            Err() << (terminal && !step.ended ? "\n" : "") << notice << "\n";
        Err().flush();
    });
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
