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

QString CaptionText(const TAppLang& lang, int text)
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

}   // namespace

TEST(SettingsPages, EachPageShowsTheEditorsCaptionsAndListTexts)
{
    const RadioData data = Configured();
    for (const uint8_t type : {kLangEnglish, kLangSimplified, kLangTraditional}) {
        const TAppLang lang = test::LangOfType(type);
        const std::vector<SettingsPageReport> pages = BuildSettingsPages(data.record, lang);
        const CaptionedValues& general = ValuesOf(pages, EditorPage::General);
        EXPECT_EQ(ValueOf(general, CaptionText(lang, kTotText)), "60");
        EXPECT_EQ(ValueOf(general, CaptionText(lang, kVoxLevelText)),
                  SettingsListTexts(SettingsList::VoxLevel, lang)[2]);
        EXPECT_EQ(ValueOf(general, CaptionText(lang, kVoiceText)), UiText(lang, kEnglishText).trimmed());
        EXPECT_EQ(ValueOf(general, CaptionText(lang, kBeepText)), CaptionText(lang, kOnText));

        const CaptionedValues& keys = ValuesOf(pages, EditorPage::Keys);
        EXPECT_EQ(ValueOf(keys, CaptionText(lang, kSideKey1Text) + ", " + CaptionText(lang, kPressText)),
                  CaptionText(lang, kKeyLockText));
        EXPECT_EQ(ValueOf(keys, CaptionText(lang, kHoldingSecondsText)), "2");

        const CaptionedValues& scan = ValuesOf(pages, EditorPage::Scan);
        EXPECT_EQ(ValueOf(scan, CaptionText(lang, kResumeRxText)), "0.25");
        EXPECT_EQ(ValueOf(scan, CaptionText(lang, kScanTxModeText)), CaptionText(lang, kHomeChannelText));
        EXPECT_EQ(ValueOf(scan, CaptionText(lang, kHomeChannelText)), "5");

        const CaptionedValues& emergency = ValuesOf(pages, EditorPage::Emergency);
        EXPECT_EQ(ValueOf(emergency, CaptionText(lang, kEmergencyModeText)), CaptionText(lang, kAlarmText));
        EXPECT_EQ(ValueOf(emergency, CaptionText(lang, kActiveTimeText)), CaptionText(lang, kInfinityText));
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
            EXPECT_TRUE(html.contains(CaptionText(lang, caption).toHtmlEscaped())) << int(type) << " " << caption;
    }
    // A Chinese page does not fall back to the English captions.
    const QString simplified = ConfigurationReportHtml(test::LangOfType(kLangSimplified), data, "fleet.fse");
    EXPECT_FALSE(simplified.contains(CaptionText(test::LangOfType(kLangEnglish), kResumeRxText)));
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
            if (table.title != CaptionText(lang, 274))
                continue;
            sawEncode = true;
            ASSERT_EQ(table.rows.size(), 1u);
            EXPECT_EQ(table.rows[0].first, 3);
            EXPECT_EQ(table.rows[0].second, QStringList{"12345"});
        }
        EXPECT_TRUE(sawEncode);
    }
}

namespace {

// The value a page shows under a caption, or in a table's column for an entry.
QString TableValue(const std::vector<SettingsPageReport>& pages, EditorPage page, const QString& table, int entry,
                   const QString& column)
{
    for (const SettingsPageReport& p : pages) {
        if (p.page != page)
            continue;
        for (const EntryTable& t : p.tables) {
            const qsizetype at = t.headers.indexOf(column);
            if (t.title != table || at < 1)
                continue;
            for (const auto& [number, texts] : t.rows)
                if (number == entry)
                    return texts.value(at - 1);
        }
    }
    return QStringLiteral("<missing>");
}

}   // namespace

TEST(SettingsPages, SignallingPagesShowTheTextsOfTheEditorsLists)
{
    RadioData data = Configured();
    RadioRecord& r = data.record;
    namespace dt = rec::dtmf;
    namespace ft = rec::five_tone;
    namespace tt = rec::two_tone;
    r.set(dt::call_1, 255);   // Off
    r.set(dt::call_2, 2);   // the third encode code
    r.set(dt::group_tone, 10);   // "A"
    r.set(dt::tone_speed, 0);   // "50"
    r.set(dt::gap_tone, 15);   // "*": the letters are coded one above their digits
    WriteDigitCode(r, {dt::encode(2), dt::kEncodeDigits}, "123");
    r.set(dt::call_code(1), 2);
    r.set(dt::decode_mask(1), 0b101);   // decode entries 1 and 3
    r.set(ft::last_gap_tone, 128);   // Mute
    r.set(ft::clear_trans_delay_time, 0);   // Diable
    r.set(ft::extended_1st, 0);   // the box cleared
    r.set(ft::extended_2nd, 3);   // the third time
    r.set(tt::tone_a_time(1), 25);   // tenths
    r.set(tt::auto_reset_time(1), 1);   // the list starts at 1
    r.set(tt::tone_table(1), 8);

    const TAppLang english = test::LangOfType(kLangEnglish);
    const std::vector<SettingsPageReport> pages = BuildSettingsPages(r, english);
    const CaptionedValues& dtmf = ValuesOf(pages, EditorPage::Dtmf);
    EXPECT_EQ(ValueOf(dtmf, "Call 1"), "Off");
    EXPECT_EQ(ValueOf(dtmf, "Call 2"), "Enc- 3");
    EXPECT_EQ(ValueOf(dtmf, "Group Tone"), "A");
    EXPECT_EQ(ValueOf(dtmf, "Tone Speed"), "50");
    EXPECT_EQ(ValueOf(dtmf, "Gap Tone"), "*");
    EXPECT_EQ(TableValue(pages, EditorPage::Dtmf, "System", 1, "Call"), "Enc- 3");
    EXPECT_EQ(TableValue(pages, EditorPage::Dtmf, "System", 1, "De-"), "1 3");

    const CaptionedValues& fiveTone = ValuesOf(pages, EditorPage::FiveTone);
    EXPECT_EQ(ValueOf(fiveTone, "Last Gap Tone"), "Mute");
    EXPECT_EQ(ValueOf(fiveTone, "Clear To Transpond (s)"), "Diable");
    EXPECT_EQ(ValueOf(fiveTone, "1st Extend Time (ms)"), "OFF");
    EXPECT_EQ(ValueOf(fiveTone, "2nd Extend Time (ms)"), "300");

    EXPECT_EQ(TableValue(pages, EditorPage::TwoTone, "System", 1, "Tone A Time"), "2.5");
    EXPECT_EQ(TableValue(pages, EditorPage::TwoTone, "System", 1, "Auto Reset Time"), "1");
    EXPECT_EQ(TableValue(pages, EditorPage::TwoTone, "System", 1, "Table"), "GE/99-A");

    // Each list text is the one the editor's list shows, in every language.
    for (const uint8_t type : {kLangEnglish, kLangSimplified, kLangTraditional}) {
        const TAppLang lang = test::LangOfType(type);
        const auto built = BuildSettingsPages(r, lang);   // the pages outlive the values read from them
        const CaptionedValues& page = ValuesOf(built, EditorPage::FiveTone);
        const ListEntries lastGap = SettingsListEntries(SettingsList::FiveToneLastGapTone, lang);
        EXPECT_EQ(ValueOf(page, CaptionText(lang, 325)), lastGap.texts[lastGap.positionOf(128)]) << int(type);
    }
}
