// SPDX-License-Identifier: GPL-3.0-or-later
// k3n check: the check before a write, on a configuration file.
#include "cli/check_report.h"
#include "cli/command.h"
#include "cli/command_files.h"
#include <QJsonDocument>

namespace k3n::cli {

int RunCheck(const Command& self, const Arguments& args)
{
    RadioData data;
    if (auto error = LoadConfigurationInput(args.operands().constFirst(), data))
        return BadInput(self, error->message);

    const std::vector<ConfigurationProblem> problems = CheckConfiguration(data.record);
    if (args.isSet("json")) {
        Out() << QJsonDocument(ProblemsAsJson(problems)).toJson(QJsonDocument::Indented);
    } else {
        PrintProblems(Out(), problems);
        Out() << ProblemCounts(problems) << "\n";
    }
    return HasErrors(problems) ? kExitFailure : kExitOk;
}

}   // namespace k3n::cli
