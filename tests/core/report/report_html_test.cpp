// SPDX-License-Identifier: GPL-3.0-or-later
// The printable report's page: what it shows of a configuration, in which
// language, and what it leaves out.
#include "model/channel_cells.h"
#include "model/digit_code.h"
#include "model/editor_page.h"
#include "model/record_layout.h"
#include "model/value_codings.h"
#include "report/report_html.h"
#include "text/app_lang.h"
#include "text/lang_of_type.h"
#include "text/ui_text.h"
#include <gtest/gtest.h>

using namespace k3n;

namespace {

constexpr int kEncodeText = 274;   // "Encode"

// Band 2 with three channels in use; channel 4 holds a frequency but is not in use.
RadioData ThreeChannels()
{
    RadioData data;
    data.ResetForBand(2);
    const uint32_t frequencies[] = {410012500, 433125000, 469987500};
    for (int ch = 1; ch <= 3; ++ch) {
        data.record.set(rec::ch::in_use(ch), 1);
        data.record.set(rec::ch::rx_freq(ch), frequencies[ch - 1]);
        data.record.set(rec::ch::tx_freq(ch), frequencies[ch - 1] + 5000000);
    }
    data.record.set(rec::ch::in_use(4), 0);
    data.record.set(rec::ch::rx_freq(4), 455550000);
    return data;
}

}   // namespace

TEST(ReportHtml, ShowsTheChannelsInUseWithTheGridsTexts)
{
    const RadioData data = ThreeChannels();
    for (const uint8_t type : {kLangEnglish, kLangSimplified, kLangTraditional}) {
        const TAppLang lang = test::LangOfType(type);
        const QString html = ConfigurationReportHtml(lang, data, "fleet.fse");
        for (int ch = 1; ch <= 3; ++ch) {
            EXPECT_TRUE(html.contains(FormatFrequency(data.record.get(rec::ch::rx_freq(ch)))));
            EXPECT_TRUE(html.contains(FormatFrequency(data.record.get(rec::ch::tx_freq(ch)))));
        }
        EXPECT_FALSE(html.contains(FormatFrequency(455550000)));   // not in use
        for (int col = 1; col <= channel_col::kCount; ++col)
            EXPECT_TRUE(html.contains(ChannelHeader(lang, col).toHtmlEscaped())) << col;
        for (int page = 0; page < kEditorPages; ++page)
            EXPECT_TRUE(html.contains(PlainCaption(UiText(lang, EditorPageText(EditorPage(page)))).toHtmlEscaped()))
                << int(type) << " page " << page;
        EXPECT_TRUE(html.contains(QString::fromLatin1(BandName(2))));
    }
    // The Chinese report is in Chinese: its page titles are not the English ones.
    const QString simplified = ConfigurationReportHtml(test::LangOfType(kLangSimplified), data, "fleet.fse");
    EXPECT_FALSE(simplified.contains(UiText(test::LangOfType(kLangEnglish), EditorPageText(EditorPage::Scan))));
}

TEST(ReportHtml, ProgrammingFactsOnlyWhenTheRadioToldThem)
{
    const TAppLang lang = test::LangOfType(kLangEnglish);
    RadioData data = ThreeChannels();
    const QString fromFile = ConfigurationReportHtml(lang, data, "fleet.fse");
    EXPECT_FALSE(fromFile.contains(UiText(lang, 345).toHtmlEscaped()));
    EXPECT_FALSE(fromFile.contains(UiText(lang, 346).toHtmlEscaped()));

    data.last_program_time = {2026, 11, 30, 14, 5};
    data.radio_serial_number = {'K', '3', '0', '0', '1', '7', 0, 0};
    const QString afterRead = ConfigurationReportHtml(lang, data, "fleet.fse");
    EXPECT_TRUE(afterRead.contains(ProgramTimeText(data.last_program_time)));
    EXPECT_TRUE(afterRead.contains("K30017"));
}

TEST(ReportHtml, SignallingTablesListOnlyEntriesThatHoldSomething)
{
    const TAppLang lang = test::LangOfType(kLangEnglish);
    RadioData data = ThreeChannels();
    for (int i = 0; i < rec::dtmf::kEncodeCount; ++i)
        WriteDigitCode(data.record, {rec::dtmf::encode(i), rec::dtmf::kEncodeDigits}, QString());
    const QString none = ConfigurationReportHtml(lang, data, "fleet.fse");
    WriteDigitCode(data.record, {rec::dtmf::encode(6), rec::dtmf::kEncodeDigits}, "1234567890");
    const QString one = ConfigurationReportHtml(lang, data, "fleet.fse");
    EXPECT_FALSE(none.contains("1234567890"));
    // Entry 7 (stored at index 6) is listed under its number.
    EXPECT_TRUE(one.contains("<td class=\"num\">7</td><td>1234567890</td>")) << one.toStdString();
    // A table with no entry left is left out with its heading.
    const QString encodeHeading = QStringLiteral("<h3>%1</h3>").arg(PlainCaption(UiText(lang, kEncodeText)));
    EXPECT_EQ(one.count(encodeHeading), none.count(encodeHeading) + 1);
}

TEST(ReportHtml, TheFileNameIsTextNotMarkup)
{
    const QString html = ConfigurationReportHtml(test::LangOfType(kLangEnglish), ThreeChannels(), "<b>a&b</b>.fse");
    EXPECT_TRUE(html.contains("&lt;b&gt;a&amp;b&lt;/b&gt;.fse"));
    EXPECT_FALSE(html.contains("<b>a&b"));
}
