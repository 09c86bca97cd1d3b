// SPDX-License-Identifier: GPL-3.0-or-later
// The settings pages on paper: the editors' captions and list texts in each
// language, no stored names or raw values, and only the table entries that
// hold something.
#include "model/digit_code.h"
#include "model/record_layout.h"
#include "model/settings_lists.h"
#include "report/report_html.h"
#include "report/settings_pages.h"
#include "text/app_lang.h"
#include "text/lang_of_type.h"
#include "text/ui_text.h"
#include <gtest/gtest.h>

using namespace k3n;

namespace {

// Interface texts the editors show.
constexpr int kTotText = 48, kVoxLevelText = 46, kVoiceText = 199, kBeepText = 68, kEnglishText = 201, kOnText = 177;
constexpr int kSideKey1Text = 213, kPressText = 217, kKeyLockText = 60, kHoldingSecondsText = 220;
constexpr int kResumeRxText = 241, kScanTxModeText = 244, kHomeChannelText = 250;
constexpr int kEmergencyModeText = 256, kAlarmText = 257, kActiveTimeText = 260, kInfinityText = 269;
constexpr uint8_t kKeyLockCode = 17;

QString Caption(const TAppLang& lang, int text)
{
    return PlainCaption(UiText(lang, text)).trimmed();
}

// A configuration whose settings differ from the defaults in ways each page shows.
RadioData Configured()
{
    RadioData data;
    data.ResetForBand(0);
    RadioRecord& r = data.record;
    r.set(rec::tot, 60);
    r.set(rec::vox, 2);   // the third level
    r.set(rec::voice, 1);   // English
    r.set(rec::beep, 1);
    r.set(rec::key_function(0, 0), kKeyLockCode);
    r.set(rec::key_hold_time, 3);   // 2 s
    r.set(rec::scan_tx_mode, 3);   // Home Channel
    r.set(rec::home_channel, 4);   // channel 5
    r.set(rec::emergency_mode_bits, 2);   // Alarm
    r.set(rec::emergency_active_time, 0);   // Infinity
    return data;
}

const CaptionedValues& ValuesOf(const std::vector<SettingsPageReport>& pages, EditorPage page)
{
    static const CaptionedValues none;
    for (const SettingsPageReport& p : pages)
        if (p.page == page)
            return p.values;
    return none;
}

QString ValueOf(const CaptionedValues& values, const QString& caption)
{
    for (const auto& [name, value] : values)
        if (name == caption)
            return value;
    return QStringLiteral("<missing>");
}

} // namespace

TEST(SettingsPages, EachPageShowsTheEditorsCaptionsAndListTexts)
{
    const RadioData data = Configured();
    for (const uint8_t type : {kLangEnglish, kLangSimplified, kLangTraditional}) {
        const TAppLang lang = test::LangOfType(type);
        const std::vector<SettingsPageReport> pages = BuildSettingsPages(data.record, lang);
        const CaptionedValues& general = ValuesOf(pages, EditorPage::General);
        EXPECT_EQ(ValueOf(general, Caption(lang, kTotText)), "60");
        EXPECT_EQ(ValueOf(general, Caption(lang, kVoxLevelText)), SettingsListTexts(SettingsList::VoxLevel, lang)[2]);
        EXPECT_EQ(ValueOf(general, Caption(lang, kVoiceText)), UiText(lang, kEnglishText).trimmed());
        EXPECT_EQ(ValueOf(general, Caption(lang, kBeepText)), Caption(lang, kOnText));

        const CaptionedValues& keys = ValuesOf(pages, EditorPage::Keys);
        EXPECT_EQ(ValueOf(keys, Caption(lang, kSideKey1Text) + ", " + Caption(lang, kPressText)),
                  Caption(lang, kKeyLockText));
        EXPECT_EQ(ValueOf(keys, Caption(lang, kHoldingSecondsText)), "2");

        const CaptionedValues& scan = ValuesOf(pages, EditorPage::Scan);
        EXPECT_EQ(ValueOf(scan, Caption(lang, kResumeRxText)), "0.25");
        EXPECT_EQ(ValueOf(scan, Caption(lang, kScanTxModeText)), Caption(lang, kHomeChannelText));
        EXPECT_EQ(ValueOf(scan, Caption(lang, kHomeChannelText)), "5");

        const CaptionedValues& emergency = ValuesOf(pages, EditorPage::Emergency);
        EXPECT_EQ(ValueOf(emergency, Caption(lang, kEmergencyModeText)), Caption(lang, kAlarmText));
        EXPECT_EQ(ValueOf(emergency, Caption(lang, kActiveTimeText)), Caption(lang, kInfinityText));
    }
    // The English texts as a reader sees them.
    const std::vector<SettingsPageReport> english = BuildSettingsPages(data.record, test::LangOfType(kLangEnglish));
    const CaptionedValues& general = ValuesOf(english, EditorPage::General);
    EXPECT_EQ(ValueOf(general, "VOX Level"), "3");
    EXPECT_EQ(ValueOf(general, "Beep Tone"), "ON");
}

TEST(SettingsPages, ThePrintedPagesHoldNoStoredNamesOrUnnamedBytes)
{
    const RadioData data = Configured();
    for (const uint8_t type : {kLangEnglish, kLangSimplified, kLangTraditional}) {
        const TAppLang lang = test::LangOfType(type);
        const QString html = ConfigurationReportHtml(lang, data, "fleet.fse");
        for (const char* name : {"tot", "toa", "key1_press", "scan_resume_time_rx", "reserved", "other_bits",
                                 "emergency", "systems", "decode_mask", " = "})
            EXPECT_FALSE(html.contains(QLatin1String(name))) << int(type) << " " << name;
        for (const int caption : {kTotText, kVoiceText, kSideKey1Text, kResumeRxText, kEmergencyModeText})
            EXPECT_TRUE(html.contains(Caption(lang, caption).toHtmlEscaped())) << int(type) << " " << caption;
    }
    // A Chinese page does not fall back to the English captions.
    const QString simplified = ConfigurationReportHtml(test::LangOfType(kLangSimplified), data, "fleet.fse");
    EXPECT_FALSE(simplified.contains(Caption(test::LangOfType(kLangEnglish), kResumeRxText)));
}

TEST(SettingsPages, CodeTablesListOnlyEntriesWithACode)
{
    RadioData data = Configured();
    for (int i = 0; i < rec::five_tone::kEncodeCount; ++i)
        WriteDigitCode(data.record, {rec::five_tone::encode(i), rec::five_tone::kEncodeDigits}, QString());
    WriteDigitCode(data.record, {rec::five_tone::encode(2), rec::five_tone::kEncodeDigits}, "12345");
    const TAppLang lang = test::LangOfType(kLangEnglish);
    for (const SettingsPageReport& page : BuildSettingsPages(data.record, lang)) {
        if (page.page != EditorPage::FiveTone)
            continue;
        bool sawEncode = false;
        for (const EntryTable& table : page.tables) {
            if (table.title != Caption(lang, 274))
                continue;
            sawEncode = true;
            ASSERT_EQ(table.rows.size(), 1u);
            EXPECT_EQ(table.rows[0].first, 3);
            EXPECT_EQ(table.rows[0].second, QStringList{"12345"});
        }
        EXPECT_TRUE(sawEncode);
    }
}
