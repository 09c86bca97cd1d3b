// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/check_report.h"
#include "text/ui_text.h"
#include <QJsonObject>
#include <algorithm>

namespace k3n::cli {

namespace {

QString SeverityName(Severity severity)
{
    return severity == Severity::Error ? "error" : "warning";
}

QString PageName(EditorPage page)
{
    return PlainCaption(UiText(EditorPageText(page)));
}

QString Counted(qsizetype n, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromLatin1(n == 1 ? one : many));
}

}   // namespace

void PrintProblems(QTextStream& stream, const std::vector<ConfigurationProblem>& problems)
{
    for (const ConfigurationProblem& p : problems)
        stream << SeverityName(p.severity).leftJustified(8) << "[" << PageName(p.page) << "] " << p.item << ": "
               << p.message << "\n";
}

QString ProblemCounts(const std::vector<ConfigurationProblem>& problems)
{
    const auto errors = std::count_if(problems.begin(), problems.end(),
                                      [](const ConfigurationProblem& p) { return p.severity == Severity::Error; });
    return Counted(errors, "error", "errors") + ", "
        + Counted(qsizetype(problems.size()) - errors, "warning", "warnings");
}

QJsonArray ProblemsAsJson(const std::vector<ConfigurationProblem>& problems)
{
    QJsonArray list;
    for (const ConfigurationProblem& p : problems) {
        QJsonObject o{{"severity", SeverityName(p.severity)},
                      {"page", int(p.page)},
                      {"pageName", PageName(p.page)},
                      {"item", p.item},
                      {"message", p.message}};
        if (p.channel > 0)
            o.insert("channel", p.channel);
        list.append(o);
    }
    return list;
}

}   // namespace k3n::cli
