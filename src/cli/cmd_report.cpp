// SPDX-License-Identifier: GPL-3.0-or-later
// k3n report: the printable report of a configuration, as a PDF or an HTML page.
#include "cli/command.h"
#include "cli/command_files.h"
#include "cli/language_option.h"
#include "printing/paged_report.h"
#include "report/report_html.h"
#include "text/app_lang.h"
#include "text/own_texts.h"
#include <QDateTime>
#include <QFileInfo>

namespace k3n::cli {

int RunReport(const Command& self, const Arguments& args)
{
    const QString outPath = args.value("output");
    const QString suffix = QFileInfo(outPath).suffix().toLower();
    const bool pdf = suffix == QLatin1String("pdf");
    if (outPath != QLatin1String("-") && !pdf && suffix != QLatin1String("html") && suffix != QLatin1String("htm"))
        return UsageError(self,
                          QStringLiteral("'%1': the output must end in .pdf or .html (or be - for HTML on "
                                         "standard output)")
                              .arg(outPath));
    const Result<InputAndOutput> files = InputAndOutputOf(args, OutputKind::Text, InputCheck::ByLoader);
    if (!files)
        return UsageError(self, files.error().message);
    const QString& input = files.value().input;
    const Result<TAppLang> lang = LanguageOption(args.value("language"), args.isSet("language"));
    if (!lang)
        return UsageError(self, lang.error().message);

    RadioData data;
    if (auto error = LoadConfigurationInput(input, data))
        return BadInput(self, error->message);
    const QString fileName = QFileInfo(input).fileName();
    const QString html = ConfigurationReportHtml(lang.value(), data, fileName);
    if (!pdf)
        return WriteOutput(self, outPath, html.toUtf8());
    const QString printedOn = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    const QString title = Text(lang.value(), OwnText::ReportTitle) + QStringLiteral(" \u2014 ") + fileName;
    return WriteOutput(self, outPath, ReportPdf(html, lang.value(), printedOn, title));
}

}   // namespace k3n::cli
