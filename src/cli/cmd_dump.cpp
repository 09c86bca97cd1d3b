// k3n dump: prints a configuration file as text or JSON.
#include "cli/command.h"
#include "cli/configuration_report.h"
#include "model/fse_file.h"
#include "model/radio_data.h"
#include <QJsonDocument>

namespace k3n::cli {

int RunDump(const Command& self, const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption json(QStringList{"json"});
    parser.addOption(json);
    if (auto done = ParseArguments(self, parser, args))
        return *done;
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1)
        return UsageError(self, files.isEmpty() ? QStringLiteral("the file to print is missing")
                                                : QStringLiteral("one file at a time"));
    const QString path = files.constFirst();

    RadioData data;
    if (auto error = LoadFseFile(path, data))
        return Failure(self, QStringLiteral("cannot read %1: %2").arg(path, error->message()));

    const ConfigurationReport report = BuildConfigurationReport(data.record);
    if (parser.isSet(json))
        Out() << QJsonDocument(ReportAsJson(report)).toJson(QJsonDocument::Indented);
    else
        Out() << ReportAsText(report);
    Out().flush();
    return kExitOk;
}

} // namespace k3n::cli
