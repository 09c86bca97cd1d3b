// SPDX-License-Identifier: GPL-3.0-or-later
// k3n report: the printable report of a configuration, as a PDF or an HTML page.
#include "cli/command.h"
#include "cli/language_option.h"
#include "model/fse_file.h"
#include "model/radio_data.h"
#include "printing/paged_report.h"
#include "report/report_html.h"
#include "text/app_lang.h"
#include "text/own_texts.h"
#include <QDateTime>
#include <QFileInfo>
#include <QSaveFile>

namespace k3n::cli {

namespace {

std::optional<Error> WriteHtml(const QString& path, const QString& html)
{
    QSaveFile file(path);   // replaced in one step, never left half-written
    const QByteArray bytes = html.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return Error{file.errorString()};
    return std::nullopt;
}

} // namespace

int RunReport(const Command& self, const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption output(QStringList{"o", "output"}, QString(), QStringLiteral("FILE"));
    const QCommandLineOption language(QStringList{"language"}, QString(), QStringLiteral("LANG"), QStringLiteral("en"));
    parser.addOption(output);
    parser.addOption(language);
    if (auto done = ParseArguments(self, parser, args))
        return *done;
    const Result<QString> input = OneFileArgument(parser, "the configuration file");
    if (!input)
        return UsageError(self, input.error().message);
    if (!parser.isSet(output))
        return UsageError(self, QStringLiteral("the output file (-o OUT.pdf or OUT.html) is missing"));
    const QString outPath = parser.value(output);
    const QString suffix = QFileInfo(outPath).suffix().toLower();
    const bool pdf = suffix == QLatin1String("pdf");
    if (!pdf && suffix != QLatin1String("html") && suffix != QLatin1String("htm"))
        return UsageError(self, QStringLiteral("'%1': the output must end in .pdf or .html").arg(outPath));
    const std::optional<TAppLang> lang = LanguageNamed(parser.value(language));
    if (!lang)
        return UsageError(self,
                          QStringLiteral("unknown language '%1' (en, zh-CN or zh-TW)").arg(parser.value(language)));

    RadioData data;
    if (auto error = LoadFseFile(input.value(), data)) {
        Err() << "k3n report: cannot read " << input.value() << ": " << error->message() << "\n";
        Err().flush();
        return kExitUsage;
    }
    const QString fileName = QFileInfo(input.value()).fileName();
    const QString html = ConfigurationReportHtml(*lang, data, fileName);
    const std::optional<Error> error = pdf
        ? WriteReportPdf(html, outPath, *lang, QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                         Text(*lang, OwnText::ReportTitle) + QStringLiteral(" \u2014 ") + fileName)
        : WriteHtml(outPath, html);
    if (error)
        return Failure(self, QStringLiteral("cannot write %1: %2").arg(outPath, error->message));
    return kExitOk;
}

} // namespace k3n::cli
