// SPDX-License-Identifier: GPL-3.0-or-later
// k3n diff: what differs between two configurations (.fse or JSON), one line
// per difference on stdout, the files compared and the count on stderr.
#include "cli/command.h"
#include "cli/command_files.h"
#include "cli/language_option.h"
#include "interchange/configuration_diff.h"
#include <QJsonDocument>

namespace k3n::cli {

int RunDiff(const Command& self, const Arguments& args)
{
    const QStringList& files = args.operands();
    const Result<TAppLang> lang = LanguageOption(args.value("language"), args.isSet("language"));
    if (!lang)
        return UsageError(self, lang.error().message);

    RadioData sides[2];
    for (int i = 0; i < 2; ++i) {
        QStringList contradictions;
        if (auto error = LoadConfigurationInput(files[i], sides[i], &contradictions))
            return BadInput(self, error->message);
        for (const QString& contradiction : contradictions)
            Err() << files[i] << ": " << contradiction << "\n";
    }
    const std::vector<ConfigurationDifference> differences = DiffConfigurations(sides[0], sides[1], lang.value());
    if (args.isSet("json"))
        Out() << QJsonDocument(DifferencesAsJson(differences)).toJson(QJsonDocument::Indented);
    else
        for (const QString& line : DifferenceLines(differences))
            Out() << line << "\n";
    Out().flush();
    Err() << "--- " << files[0] << "\n+++ " << files[1] << "\n";
    if (differences.empty())
        Err() << "the configurations are the same\n";
    else
        Err() << differences.size() << (differences.size() == 1 ? " difference\n" : " differences\n");
    Err().flush();
    return differences.empty() ? kExitOk : kExitFailure;
}

}   // namespace k3n::cli
