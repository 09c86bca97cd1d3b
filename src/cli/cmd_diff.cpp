// SPDX-License-Identifier: GPL-3.0-or-later
// k3n diff: what differs between two configurations (.fse or JSON), one line
// per difference on stdout, the files compared and the count on stderr.
#include "cli/command.h"
#include "cli/language_option.h"
#include "interchange/configuration_diff.h"
#include "interchange/configuration_file.h"
#include "text/app_lang.h"
#include <QJsonDocument>

namespace k3n::cli {

int RunDiff(const Command& self, const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption json(QStringList{"json"});
    const QCommandLineOption language(QStringList{"language"}, QString(), QStringLiteral("LANG"));
    parser.addOption(json);
    parser.addOption(language);
    if (auto done = ParseArguments(self, parser, args))
        return *done;
    const QStringList files = parser.positionalArguments();
    if (files.size() != 2)
        return UsageError(self, QStringLiteral("two files to compare are needed, not %1").arg(files.size()));
    const Result<TAppLang> lang = LanguageOption(parser.value(language), parser.isSet(language));
    if (!lang)
        return UsageError(self, lang.error().message);

    RadioData sides[2];
    for (int i = 0; i < 2; ++i) {
        QStringList contradictions;
        if (auto error = LoadConfigurationFile(files[i], sides[i], &contradictions)) {
            Err() << "k3n " << self.name << ": cannot read " << files[i] << ": " << error->message << "\n";
            Err().flush();
            return kExitUsage;
        }
        for (const QString& contradiction : contradictions)
            Err() << files[i] << ": " << contradiction << "\n";
    }
    const std::vector<ConfigurationDifference> differences = DiffConfigurations(sides[0], sides[1], lang.value());
    if (parser.isSet(json))
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

} // namespace k3n::cli
