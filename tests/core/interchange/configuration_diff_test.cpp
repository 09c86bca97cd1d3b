// SPDX-License-Identifier: GPL-3.0-or-later
// The comparison of two configurations: items named as a person would, in the
// three languages, one heading per page, bytes that only the raw form shows, and
// numbers counted as the dump, the report and the CSV count them.
#include "interchange/channel_csv.h"
#include "interchange/configuration_diff.h"
#include "model/channel_cells.h"
#include "model/digit_code.h"
#include "model/record_layout.h"
#include "report/configuration_report.h"
#include "text/app_lang.h"
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace k3n;

namespace {

TAppLang Language(int setting)
{
    TAppLang lang(kLangIdEnglishUs);
    ApplyLanguageSetting(lang, setting);
    return lang;
}

struct Pair {
    RadioData a, b;
};

// Channel 12's TX frequency and DTMF code 3 differ.
Pair TwoChanges()
{
    Pair pair;
    for (RadioData* data : {&pair.a, &pair.b}) {
        data->record.set(rec::ch::in_use(12), 1);
        data->record.set(rec::ch::rx_freq(12), 146520000);
    }
    pair.a.record.set(rec::ch::tx_freq(12), 146520000);
    pair.b.record.set(rec::ch::tx_freq(12), 147120000);
    WriteDigitCode(pair.a.record, {rec::dtmf::encode(2), rec::dtmf::kEncodeDigits}, "123");
    WriteDigitCode(pair.b.record, {rec::dtmf::encode(2), rec::dtmf::kEncodeDigits}, "124");
    return pair;
}

}   // namespace

TEST(DiffConfigurations, NamesItemsAsAPersonWouldInEachLanguage)
{
    const Pair pair = TwoChanges();
    const std::vector<std::pair<int, QStringList>> expected{
        {0,
         {"[Channel Settings]", "Channel 12 · TX Freq.: 146.52000 → 147.12000", "[DTMF]",
          "DTMF · Encode 3: 123 → 124"}},
        {1,
         {"[信道编辑]", "信道 12 · 发射频率: 146.52000 → 147.12000", "[双音多频(DTMF)]",
          "双音多频(DTMF) · 编码 3: 123 → 124"}},
    };
    for (const auto& [setting, lines] : expected) {
        const std::vector<ConfigurationDifference> differences = DiffConfigurations(pair.a, pair.b, Language(setting));
        ASSERT_EQ(differences.size(), 2u);
        EXPECT_EQ(differences[0].channel, 12);
        EXPECT_EQ(differences[0].page, EditorPage::Channels);
        EXPECT_EQ(differences[1].page, EditorPage::Dtmf);
        EXPECT_EQ(DifferenceLines(differences), lines);
    }
    // Traditional Chinese has texts of its own, not the English or Simplified ones.
    const QStringList traditional = DifferenceLines(DiffConfigurations(pair.a, pair.b, Language(2)));
    ASSERT_EQ(traditional.size(), 4);
    EXPECT_TRUE(traditional[1].endsWith(": 146.52000 → 147.12000"));
    EXPECT_NE(traditional[1], DifferenceLines(DiffConfigurations(pair.a, pair.b, Language(0)))[1]);
    EXPECT_FALSE(traditional[1].contains("Channel"));
}

TEST(DiffConfigurations, EqualRecordsHaveNoDifferencesAndEveryByteCounts)
{
    const Pair pair = TwoChanges();
    EXPECT_TRUE(DiffConfigurations(pair.a, pair.a, Language(0)).empty());

    // Every single byte of the record, even reserved ones, shows as one difference.
    for (std::size_t at = 0; at < RadioRecord::kSize; at += 7) {
        RadioData changed = pair.a;
        changed.record.bytes()[at] ^= 0x81;
        const auto differences = DiffConfigurations(pair.a, changed, Language(0));
        ASSERT_FALSE(differences.empty()) << "byte " << at;
        for (const ConfigurationDifference& d : differences)
            EXPECT_NE(d.oldText, d.newText) << d.item.toStdString();
    }
}

TEST(DiffConfigurations, ShowsTheBytesWhenTheTextsAreTheSame)
{
    RadioData a, b;
    WriteDigitCode(a.record, {rec::dtmf::encode(0), rec::dtmf::kEncodeDigits}, "12");
    b.record = a.record;
    b.record.bytes()[rec::dtmf::encode(0) + 2] = 0x00;   // a digit past the count
    a.record.set(rec::freq_band, 2);
    const auto differences = DiffConfigurations(a, b, Language(0));
    ASSERT_EQ(differences.size(), 2u);
    // The band sits at the end of the record but belongs to the first page.
    EXPECT_EQ(differences[0].item, "Channel Settings · Frequency Range");
    EXPECT_EQ(differences[0].oldText, "K3N [400 - 470 MHz]");
    EXPECT_EQ(differences[1].item, "DTMF · Encode 1");
    EXPECT_TRUE(differences[1].oldText.startsWith("12 [02 21 FF")) << differences[1].oldText.toStdString();
    EXPECT_TRUE(differences[1].newText.startsWith("12 [02 21 00")) << differences[1].newText.toStdString();

    const QJsonArray json = DifferencesAsJson(differences);
    ASSERT_EQ(json.size(), 2);
    EXPECT_EQ(json[1]["item"].toString(), "DTMF · Encode 1");
    EXPECT_FALSE(json[1].toObject().contains("channel"));
}

TEST(DiffConfigurations, SettingsReadAsTheEditorsListsShowThem)
{
    RadioData a, b;
    b.record.set(rec::vox_delay, 3);   // the list's fourth entry
    b.record.set(rec::saving, 2);
    b.record.set(rec::key_function(1, 1), 17);   // Key Lock
    b.record.set(rec::emergency_mode_bits, 3);   // stored from 1
    b.record.set(rec::scan_tx_mode, 200);   // a value no list holds
    const QStringList lines = DifferenceLines(DiffConfigurations(a, b, Language(0)));
    EXPECT_TRUE(lines.contains(QString::fromUtf8("General Settings \u00B7 VOX Hold Time (s): 0.5 \u2192 2")))
        << lines.join('\n').toStdString();
    EXPECT_TRUE(lines.contains(QString::fromUtf8("General Settings \u00B7 Battery Power Save: OFF \u2192 1:2")));
    EXPECT_TRUE(
        lines.contains(QString::fromUtf8("Key Assignment \u00B7 [Side]Key 2, Holding: None \u2192 Keypad Lock")));
    EXPECT_TRUE(lines.contains(QString::fromUtf8("Emergency Settings \u00B7 Mode: Voice \u2192 Both")));
    EXPECT_TRUE(lines.contains(QString::fromUtf8("Scan Settings \u00B7 Scan Tx Mode: Scan Start \u2192 200")));
}

TEST(DiffConfigurations, ChannelNumbersCountAsTheDumpTheReportAndTheCsvDo)
{
    RadioData a;
    a.record.set(rec::ch::in_use(1), 1);
    a.record.set(rec::ch::rx_freq(1), 146520000);
    a.record.set(rec::ch::signaling_system(1), 1);   // DTMF
    a.record.set(rec::ch::scramble_no(1), 1);
    RadioData b = a;
    b.record.set(rec::ch::signaling_no(1), 2);   // its entry 3
    b.record.set(rec::ch::scramble_no(1), 4);

    const std::vector<ConfigurationDifference> differences = DiffConfigurations(a, b, Language(0));
    const NamedValues dumped = BuildConfigurationReport(b.record).channels.at(0);
    auto dumpText = [&](const char* key) {
        const auto value = std::ranges::find(dumped, QLatin1String(key), &NamedValues::value_type::first);
        return value == dumped.end() ? QString() : ValueText(value->second);
    };
    const QStringList csv =
        QString::fromUtf8(ExportChannelsCsv(b.record, ChannelColumnSet::StandardAndRadio).csv).split("\r\n");
    const struct {
        int diffIndex;   // in layout order: scramble_no after signaling_no
        const char* dumpKey;
        int gridColumn;
        const char* csvColumn;
        const char* text;
    } numbers[] = {{0, "signaling_no", channel_col::SignalNo, "SignalingNo", "3"},
                   {1, "scramble", channel_col::ScrambleNo, "ScrambleNo", "4"}};
    ASSERT_EQ(differences.size(), 2u);
    for (const auto& n : numbers) {
        SCOPED_TRACE(n.csvColumn);
        EXPECT_EQ(differences[std::size_t(n.diffIndex)].newText, n.text);
        EXPECT_EQ(dumpText(n.dumpKey), n.text);
        EXPECT_EQ(ChannelCellText(b.record, 1, n.gridColumn, Language(0)), n.text);
        EXPECT_EQ(csv[1].split(',').value(csv[0].split(',').indexOf(QLatin1String(n.csvColumn))), n.text);
    }
}
