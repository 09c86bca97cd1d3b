// SPDX-License-Identifier: GPL-3.0-or-later
// The report on A4 pages: every table keeps to the page, however full the
// signalling tables and whatever the language.
#include "model/record_layout.h"
#include "printing/paged_report.h"
#include "report/report_html.h"
#include "text/app_lang.h"
#include "text/lang_of_type.h"
#include <gtest/gtest.h>
#include <random>

namespace k3n {
namespace {

// Every byte drawn at random: full tables, foreign values, the widest texts a page can get.
RadioData FilledAtRandom(unsigned seed)
{
    RadioData data;
    data.ResetForBand(0);
    std::mt19937 random(seed);
    for (uint8_t& byte : data.record.bytes())
        byte = uint8_t(random());
    data.record.set(rec::freq_band, 0);
    return data;
}

// A table that fills the line has its border just outside it, in the page's margin.
constexpr qreal kBorderRoom = 8;   // CSS pixels, about 2 mm

TEST(PagedReport, EveryTableKeepsToThePageInEveryLanguage)
{
    const QSizeF body = ReportBodySize(ReportPageLayout());
    ASSERT_GT(body.width(), 600);   // A4 less its margins, in CSS pixels
    for (const uint8_t type : {kLangEnglish, kLangSimplified, kLangTraditional}) {
        const TAppLang lang = test::LangOfType(type);
        for (unsigned seed : {1u, 2u, 3u}) {
            ReportLayout layout(ConfigurationReportHtml(lang, FilledAtRandom(seed), "fleet.fse"), body);
            EXPECT_LE(layout.tablesRightEdge(), body.width() + kBorderRoom)
                << "language " << int(type) << ", seed " << seed;
        }
    }
}

}   // namespace
}   // namespace k3n
