// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the k3n tool shows the problems of the check before a write, as text
// lines and as JSON; shared by "check" and "write".
#include "model/configuration_check.h"
#include <QJsonArray>
#include <QTextStream>
#include <vector>

namespace k3n::cli {

// One line per problem: severity, [page] item: message.
void PrintProblems(QTextStream& stream, const std::vector<ConfigurationProblem>& problems);
// "2 errors, 1 warning"
QString ProblemCounts(const std::vector<ConfigurationProblem>& problems);
QJsonArray ProblemsAsJson(const std::vector<ConfigurationProblem>& problems);

}   // namespace k3n::cli
