// k3n check: the check before a write, on a configuration file.
#include "cli/command.h"
#include "model/configuration_check.h"
#include "model/fse_file.h"
#include "model/radio_data.h"
#include "text/ui_text.h"
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace k3n::cli {

namespace {

constexpr int kExitUnreadable = 2;

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

} // namespace

int RunCheck(const Command& self, const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption json(QStringList{"json"});
    parser.addOption(json);
    if (auto done = ParseArguments(self, parser, args))
        return *done;
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1)
        return UsageError(self,
                          files.isEmpty() ? QStringLiteral("the file to check is missing")
                                          : QStringLiteral("one file at a time"));
    const QString path = files.constFirst();

    RadioData data;
    if (auto error = LoadFseFile(path, data)) {
        Err() << "k3n " << self.name << ": cannot read " << path << ": " << error->message() << "\n";
        Err().flush();
        return kExitUnreadable;
    }

    const std::vector<ConfigurationProblem> problems = CheckConfiguration(data.record);
    const auto errors = std::count_if(problems.begin(), problems.end(),
                                      [](const ConfigurationProblem& p) { return p.severity == Severity::Error; });
    if (parser.isSet(json)) {
        Out() << QJsonDocument(ProblemsAsJson(problems)).toJson(QJsonDocument::Indented);
    } else {
        for (const ConfigurationProblem& p : problems)
            Out() << SeverityName(p.severity).leftJustified(8) << "[" << PageName(p.page) << "] " << p.item << ": "
                  << p.message << "\n";
        Out() << Counted(errors, "error", "errors") << ", "
              << Counted(qsizetype(problems.size()) - errors, "warning", "warnings") << "\n";
    }
    Out().flush();
    return errors > 0 ? kExitFailure : kExitOk;
}

} // namespace k3n::cli
