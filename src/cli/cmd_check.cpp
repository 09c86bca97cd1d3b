// SPDX-License-Identifier: GPL-3.0-or-later
// k3n check: the check before a write, on a configuration file.
#include "cli/check_report.h"
#include "cli/command.h"
#include "model/fse_file.h"
#include "model/radio_data.h"
#include <QJsonDocument>

namespace k3n::cli {

namespace {

constexpr int kExitUnreadable = 2;

} // namespace

int RunCheck(const Command& self, const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption json(QStringList{"json"});
    parser.addOption(json);
    if (auto done = ParseArguments(self, parser, args))
        return *done;
    const Result<QString> input = OneFileArgument(parser, "the file to check");
    if (!input)
        return UsageError(self, input.error().message);
    const QString path = input.value();

    RadioData data;
    if (auto error = LoadFseFile(path, data)) {
        Err() << "k3n " << self.name << ": cannot read " << path << ": " << error->message() << "\n";
        Err().flush();
        return kExitUnreadable;
    }

    const std::vector<ConfigurationProblem> problems = CheckConfiguration(data.record);
    if (parser.isSet(json)) {
        Out() << QJsonDocument(ProblemsAsJson(problems)).toJson(QJsonDocument::Indented);
    } else {
        PrintProblems(Out(), problems);
        Out() << ProblemCounts(problems) << "\n";
    }
    Out().flush();
    return HasErrors(problems) ? kExitFailure : kExitOk;
}

} // namespace k3n::cli
