// SPDX-License-Identifier: GPL-3.0-or-later
// Channels as CSV: the tone-mode table both ways, polarity, duplex, locations,
// every item of the import report and its summary, files of other locales, and
// export -> import giving back every byte, onto a fresh base or onto its own.
#include "interchange/channel_csv.h"
#include "model/channel_cells.h"
#include "model/record_layout.h"
#include "model/value_codings.h"
#include "text/app_lang.h"
#include "text/lang_of_type.h"
#include "text/own_texts.h"
#include "text/ui_text.h"
#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <set>

using namespace k3n;

namespace {

namespace ch = rec::ch;

RadioData Band(int band)
{
    RadioData data;
    data.ResetForBand(band);
    return data;
}

// A channel as the editor starts one, then the given tones.
void PutChannel(RadioRecord& r, int n, uint32_t rx, uint32_t tx, uint8_t txTone = 0, uint8_t rxTone = 0)
{
    r.set(ch::rx_freq(n), rx);
    r.set(ch::tx_freq(n), tx);
    r.set(ch::tx_subaudio(n), txTone);
    r.set(ch::rx_subaudio(n), rxTone);
    r.set(ch::in_use(n), 1);
    r.set(ch::squelch(n), 5);
}

// Header line, then rows; LF line ends as many tools write them.
QByteArray Csv(const QString& header, const QStringList& rows)
{
    return (QStringList{header} + rows).join('\n').toUtf8() + '\n';
}

ChannelImport Import(const QByteArray& csv, const RadioData& base = Band(0), ChannelImportOptions options = {})
{
    Result<ChannelImport> result = ImportChannelsCsv(csv, base, options);
    EXPECT_TRUE(result) << (result ? std::string() : result.error().message.toStdString());
    if (result)
        return std::move(result).value();
    ChannelImport failed;
    failed.data = base;
    return failed;
}

QStringList Report(const ChannelImport& import)
{
    QStringList lines;
    for (const ImportNote& note : import.notes)
        lines << note.describe();
    return lines;
}

// The second line of an export, split at its commas (the tests' values hold none).
QStringList ExportedRow(const RadioRecord& r, int row = 1)
{
    const QStringList lines = QString::fromUtf8(ExportChannelsCsv(r, ChannelColumnSet::StandardOnly).csv).split("\r\n");
    return lines.value(row).split(',');
}

QString Column(const QStringList& row, const char* name)
{
    return row.value(StandardChannelColumns().indexOf(QLatin1String(name)));
}

constexpr uint8_t kTone885 = 10, kTone1000 = 14;   // 88.5 Hz, 100.0 Hz
constexpr uint8_t kD023 = 128, kD754 = 231;
// What an import of one exported row always remarks: the common step column.
const QString kTStepIgnored =
    "Columns this radio does not store were ignored: TStep (values in 1 row(s), the first on line 2)";

}   // namespace

TEST(ChannelCsv, ToneModesExportTheSimplestModeAndImportBackTheSameCodes)
{
    const struct {
        uint8_t tx, rx;
        const char* tone;
        const char* cross;   // nullptr: the default the export writes
        const char *rTone, *cTone, *dtcs, *rxDtcs;
    } table[] = {
        {0, 0, "", nullptr, "88.5", "88.5", "023", "023"},
        {kTone1000, 0, "Tone", nullptr, "100.0", "88.5", "023", "023"},
        {kTone1000, kTone1000, "TSQL", nullptr, "100.0", "100.0", "023", "023"},
        {kD754, kD754, "DTCS", nullptr, "88.5", "88.5", "754", "754"},
        {kTone885, kTone1000, "Cross", "Tone->Tone", "88.5", "100.0", "023", "023"},
        {kTone1000, kD754, "Cross", "Tone->DTCS", "100.0", "88.5", "754", "754"},
        {kD754, kTone1000, "Cross", "DTCS->Tone", "88.5", "100.0", "754", "754"},
        {kD754, kD023, "Cross", "DTCS->DTCS", "88.5", "88.5", "754", "023"},
        {0, kTone1000, "Cross", "->Tone", "88.5", "100.0", "023", "023"},
        {0, kD754, "Cross", "->DTCS", "88.5", "88.5", "754", "754"},
        {kD754, 0, "Cross", "DTCS->", "88.5", "88.5", "754", "754"},
    };
    for (const auto& t : table) {
        RadioData data = Band(0);
        PutChannel(data.record, 1, 146520000, 146520000, t.tx, t.rx);
        const QStringList row = ExportedRow(data.record);
        const std::string context = std::string("tx ") + std::to_string(t.tx) + " rx " + std::to_string(t.rx);
        EXPECT_EQ(Column(row, "Tone"), t.tone) << context;
        EXPECT_EQ(Column(row, "CrossMode"), t.cross ? t.cross : "Tone->Tone") << context;
        EXPECT_EQ(Column(row, "rToneFreq"), t.rTone) << context;
        EXPECT_EQ(Column(row, "cToneFreq"), t.cTone) << context;
        EXPECT_EQ(Column(row, "DtcsCode"), t.dtcs) << context;
        EXPECT_EQ(Column(row, "RxDtcsCode"), t.rxDtcs) << context;

        const QByteArray csv = Csv(StandardChannelColumns().join(','), {row.join(',')});
        const ChannelImport back = Import(csv);
        EXPECT_EQ(back.data.record.get(ch::tx_subaudio(1)), t.tx) << context;
        EXPECT_EQ(back.data.record.get(ch::rx_subaudio(1)), t.rx) << context;
        EXPECT_EQ(Report(back), QStringList{kTStepIgnored}) << context;

        // A reader without RxDtcsCode (our import falls back to DtcsCode) gets the receive code too,
        // unless the two directions have codes of their own.
        if (t.tx >= kDcsCodeBase && t.rx >= kDcsCodeBase && t.tx != t.rx)
            continue;
        QStringList header = StandardChannelColumns(), older = row;
        older.removeAt(header.indexOf("RxDtcsCode"));
        header.removeAt(header.indexOf("RxDtcsCode"));
        const ChannelImport fromOlder = Import(Csv(header.join(','), {older.join(',')}));
        EXPECT_EQ(fromOlder.data.record.get(ch::rx_subaudio(1)), t.rx) << context;
        EXPECT_EQ(fromOlder.data.record.get(ch::tx_subaudio(1)), t.tx) << context;
    }

    // "Tone->" says the same as "Tone"; a mode the radio has no use for is reported.
    const QString header = "Location,Frequency,Tone,rToneFreq,cToneFreq,DtcsCode,CrossMode";
    const ChannelImport other = Import(Csv(
        header, {"1,146.52,Cross,100.0,88.5,023,Tone->", "2,146.52,DTCS-R,,,,", "3,146.52,Cross,,,,Tone->Nowhere"}));
    EXPECT_EQ(other.data.record.get(ch::tx_subaudio(1)), kTone1000);
    EXPECT_EQ(other.data.record.get(ch::rx_subaudio(1)), 0);
    EXPECT_EQ(other.data.record.get(ch::tx_subaudio(2)), 0);
    EXPECT_EQ(Report(other),
              (QStringList{"line 3, Location 2: unreadable Tone 'DTCS-R': no tones",
                           "line 4, Location 3: unreadable CrossMode 'Tone->Nowhere': no tones"}));
}

TEST(ChannelCsv, DcsPolaritySetsAndShowsBothBitsWhateverTheToneMode)
{
    const struct {
        const char* polarity;
        bool tx, rx;
    } table[] = {{"NN", false, false}, {"NR", false, true}, {"RN", true, false}, {"RR", true, true}};
    for (const auto& t : table) {
        for (const char* mode : {"", "DTCS", "TSQL"}) {
            const ChannelImport import = Import(Csv("Frequency,Tone,DtcsCode,cToneFreq,DtcsPolarity",
                                                    {QStringLiteral("146.52,%1,023,88.5,%2").arg(mode, t.polarity)}));
            const RadioRecord& r = import.data.record;
            EXPECT_EQ(r.get(ch::tx_dcs_inverted(1)) != 0, t.tx) << t.polarity << " " << mode;
            EXPECT_EQ(r.get(ch::rx_dcs_inverted(1)) != 0, t.rx) << t.polarity << " " << mode;
            EXPECT_EQ(Column(ExportedRow(r), "DtcsPolarity"), t.polarity) << mode;
        }
    }
    const ChannelImport bad = Import(Csv("Frequency,DtcsPolarity", {"146.52,XY"}));
    EXPECT_EQ(Report(bad), QStringList{"line 2, Location none (channel 1): unreadable DtcsPolarity 'XY': NN"});
    EXPECT_EQ(bad.data.record.get(ch::flags_2(1)) & 0x30, 0);
}

TEST(ChannelCsv, DuplexGivesTheTransmitFrequency)
{
    const QByteArray csv = Csv("Location,Frequency,Duplex,Offset",
                               {"1,146.940,-,0.600", "2,146.340,+,0.6", "3,146.52,split,147.000000", "4,146.52,off,0.6",
                                "5,146.52,,5.0", "6,146.52,+,xyz"});
    const ChannelImport import = Import(csv);
    const RadioRecord& r = import.data.record;
    EXPECT_EQ(r.get(ch::tx_freq(1)), 146340000u);
    EXPECT_EQ(r.get(ch::tx_freq(2)), 146940000u);
    EXPECT_EQ(r.get(ch::tx_freq(3)), 147000000u);
    EXPECT_EQ(r.get(ch::tx_freq(4)), 0u);
    EXPECT_EQ(r.get(ch::tx_freq(5)), 146520000u);
    EXPECT_EQ(r.get(ch::tx_freq(6)), 146520000u);
    EXPECT_EQ(Report(import),
              (QStringList{"line 6, Location 5: Offset '5.0' is not used by a row without Duplex: ignored",
                           "line 7, Location 6: unreadable Offset 'xyz': TX = RX"}));

    // Export: the sign of the difference, "off" for no transmit frequency.
    const std::pair<uint32_t, QStringList> exported[] = {{145920000, {"-", "0.600000"}},
                                                         {147120000, {"+", "0.600000"}},
                                                         {146520000, {"", "0.000000"}},
                                                         {0, {"off", "0.000000"}}};
    for (const auto& [tx, expected] : exported) {
        RadioData data = Band(0);
        PutChannel(data.record, 1, 146520000, tx);
        const QStringList row = ExportedRow(data.record);
        EXPECT_EQ((QStringList{Column(row, "Duplex"), Column(row, "Offset")}), expected) << tx;
    }
}

TEST(ChannelCsv, LocationsFromOneOrZeroAndRowsWithoutOneFillFreeChannels)
{
    RadioData base = Band(0);
    PutChannel(base.record, 2, 150000000, 150000000);
    const ChannelImport fromOne =
        Import(Csv("Location,Frequency", {"1,146.52", "3,146.54", ",146.56", ",146.58"}), base);
    const RadioRecord& a = fromOne.data.record;
    EXPECT_EQ(a.get(ch::rx_freq(1)), 146520000u);
    EXPECT_EQ(a.get(ch::rx_freq(2)), 150000000u);   // the base's own channel stays
    EXPECT_EQ(a.get(ch::rx_freq(3)), 146540000u);
    EXPECT_EQ(a.get(ch::rx_freq(4)), 146560000u);
    EXPECT_EQ(a.get(ch::rx_freq(5)), 146580000u);
    EXPECT_TRUE(fromOne.notes.empty()) << Report(fromOne).join('\n').toStdString();

    const ChannelImport fromZero = Import(Csv("Location,Frequency", {"0,146.52", "1,146.54"}), base);
    EXPECT_EQ(fromZero.data.record.get(ch::rx_freq(1)), 146520000u);
    EXPECT_EQ(fromZero.data.record.get(ch::rx_freq(2)), 146540000u);
    EXPECT_EQ(Report(fromZero), QStringList{"Locations start at 0: each row goes to the channel one higher"});
    EXPECT_FALSE(fromZero.skippedOrChanged());

    const ChannelImport replaced = Import(Csv("Location,Frequency", {"5,146.52"}), base, {.replaceAll = true});
    EXPECT_EQ(replaced.data.record.get(ch::in_use(2)), 0u);
    EXPECT_EQ(replaced.data.record.get(ch::rx_freq(5)), 146520000u);
}

TEST(ChannelCsv, ImportedChannelTakesTheDefaultsOfMissingColumns)
{
    // An older tool's file: no RxDtcsCode, CrossMode or Power; the code serves both directions.
    // Without Power the new channel keeps the grid's Low.
    const ChannelImport import =
        Import(Csv("Location,Frequency,Tone,DtcsCode,Mode,Skip", {"7,146.52,Cross,754,NFM,S"}));
    const RadioRecord& r = import.data.record;
    // Cross without CrossMode is Tone->Tone, and this file has no tone columns for it.
    EXPECT_EQ(r.get(ch::tx_subaudio(7)), 0);
    EXPECT_EQ(r.get(ch::rx_subaudio(7)), 0);
    EXPECT_EQ(r.get(ch::tx_power(7)), 0u);
    EXPECT_EQ(r.get(ch::bandwidth(7)), 1u);
    EXPECT_EQ(r.get(ch::scan_add(7)), 0u);
    EXPECT_EQ(r.get(ch::squelch(7)), 5);
    EXPECT_EQ(r.get(ch::tx_freq(7)), 146520000u);
    EXPECT_EQ(Report(import),
              (QStringList{"line 2, Location 7: no rToneFreq given: no tone",
                           "line 2, Location 7: no cToneFreq given: no tone",
                           "line 2, Location 7: DtcsCode '754' is not used by a Cross Tone->Tone row: ignored"}));

    const ChannelImport dtcs = Import(Csv("Frequency,Tone,DtcsCode", {"146.52,DTCS,754"}));
    EXPECT_EQ(dtcs.data.record.get(ch::rx_subaudio(1)), kD754);
    // Without RxDtcsCode the one code serves both directions.
    const ChannelImport oneCode = Import(Csv("Frequency,Tone,DtcsCode,CrossMode", {"146.52,Cross,754,DTCS->DTCS"}));
    EXPECT_EQ(oneCode.data.record.get(ch::tx_subaudio(1)), kD754);
    EXPECT_EQ(oneCode.data.record.get(ch::rx_subaudio(1)), kD754);
    EXPECT_TRUE(oneCode.notes.empty()) << Report(oneCode).join('\n').toStdString();
    const ChannelImport watts =
        Import(Csv("Frequency,Power", {"146.52,5.0W", "146.54,2.0W", "146.56,Low", "146.58,1"}));
    for (auto [n, high] : {std::pair{1, 1u}, {2, 0u}, {3, 0u}, {4, 0u}})
        EXPECT_EQ(watts.data.record.get(ch::tx_power(n)), high) << n;
}

TEST(ChannelCsv, ReportNamesEverythingThatDidNotFit)
{
    const QByteArray csv = Csv("Location,Name,Frequency,Tone,rToneFreq,DtcsCode,Mode,Power,Comment",
                               {"1,Home,146.52,Tone,88.5,,FM,High,",   // fits
                                "2,,180.0,,,,,,",   // outside the band
                                "3,,146.013,,,,,,",   // snapped
                                "4,,146.52,Tone,88.50,,,,",   // a tone the radio has
                                "5,,146.52,Tone,69.0,,,,",   // a tone it has not
                                "6,,146.52,DTCS,,036,,,",   // a code it has not
                                "1,,146.60,,,,,,",   // duplicate
                                "x,,146.60,,,,,,",   // unreadable location
                                "7,,146.52,,,,AM,lots,",   // unreadable values
                                "8,,146.52,,,,,,,,",   // trailing commas: fine
                                "9,,146.52,,,,,,,extra",   // values past the header
                                "200,,146.52,,,,,,",   // no such channel
                                "10,,146.52",   // short row: defaults
                                "11,,abc,,,,,,note"});
    const ChannelImport import = Import(csv);
    const QStringList expected{
        "Columns this radio does not store were ignored: Name, Comment (values in 2 row(s), the first on line 2)",
        "line 3, Location 2: Frequency 180.000000 MHz is outside the band's limits 136.000000-174.000000 MHz: row "
        "skipped",
        "line 4, Location 3: Frequency 146.013000 MHz snapped to 146.012500 MHz",
        "line 6, Location 5: rToneFreq 69.0 Hz is not a tone the radio has: imported without it",
        "line 7, Location 6: DtcsCode 036 is not a code the radio has: imported without it",
        "line 8, Location 1: channel 1 was already given on line 2: row skipped",
        "line 9, Location x: unreadable Location: row skipped",
        "line 10, Location 7: Mode 'AM' is not one the radio has: FM (Wide)",
        "line 10, Location 7: unreadable Power 'lots': High",
        "line 12, Location 9: 1 fields past the header's 9 columns hold values: row skipped",
        "line 13, Location 200: no channel 200 (the radio has 1..128): row skipped",
        "line 15, Location 11: unreadable Frequency 'abc': row skipped"};
    EXPECT_EQ(Report(import), expected);
    EXPECT_TRUE(import.skippedOrChanged());
    const RadioRecord& r = import.data.record;
    EXPECT_EQ(r.get(ch::in_use(2)), 0u);
    EXPECT_EQ(r.get(ch::rx_freq(3)), 146012500u);
    EXPECT_EQ(r.get(ch::tx_subaudio(4)), kTone885);
    EXPECT_EQ(r.get(ch::in_use(5)), 1u);
    EXPECT_EQ(r.get(ch::tx_subaudio(5)), 0);
    EXPECT_EQ(r.get(ch::rx_freq(1)), 146520000u);
    EXPECT_EQ(r.get(ch::in_use(8)), 1u);
    EXPECT_EQ(r.get(ch::in_use(9)), 0u);
    EXPECT_EQ(r.get(ch::in_use(10)), 1u);
    EXPECT_EQ(r.get(ch::in_use(11)), 0u);

    // More rows than channels: every channel is taken, so the rest are skipped.
    QStringList many;
    for (int i = 0; i < rec::kChannelCount + 2; ++i)
        many << QStringLiteral("146.52");
    const ChannelImport full = Import(Csv("Frequency", many));
    EXPECT_EQ(Report(full),
              (QStringList{"line 130, Location none: more rows than channels, no free channel left: row skipped",
                           "line 131, Location none: more rows than channels, no free channel left: row skipped"}));
}

TEST(ChannelCsv, FilesThatAreNoChannelListFailNamingTheLine)
{
    const RadioData base = Band(0);
    const Result<ChannelImport> noFrequency = ImportChannelsCsv("\n\nLocation,Name\n1,x\n", base);
    ASSERT_FALSE(noFrequency);
    EXPECT_EQ(noFrequency.error().message,
              "line 3: the header names no Frequency column, so this is not a channel list");
    EXPECT_FALSE(ImportChannelsCsv("", base));
    EXPECT_FALSE(ImportChannelsCsv("Frequency\n\"146.52\n", base));
}

TEST(ChannelCsv, ExportWritesTheStandardColumnsThenTheRadiosOwn)
{
    RadioData data = Band(2);
    PutChannel(data.record, 3, 446006250, 446006250, kTone885, kTone885);
    data.record.set(ch::scramble_no(3), 4);
    data.record.set(ch::busy_lockout(3), 2);
    data.record.set(ch::signaling_system(3), 3);
    data.record.set(ch::signaling_no(3), 15);
    const QString full = QString::fromUtf8(ExportChannelsCsv(data.record, ChannelColumnSet::StandardAndRadio).csv);
    EXPECT_EQ(full,
              "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,"
              "CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE,Squelch,Scramble,"
              "ScrambleNo,LockOut,XtalShift,Signaling,SignalingNo\r\n"
              "3,,446.006250,,0.000000,TSQL,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,S,Low,,,,,,5,ON,4,BTLO,OFF,"
              "2-TONE,16\r\n");
    const QString standard = QString::fromUtf8(ExportChannelsCsv(data.record, ChannelColumnSet::StandardOnly).csv);
    EXPECT_EQ(standard.section("\r\n", 0, 0).split(',').size(), 21);
    EXPECT_EQ(standard.section("\r\n", 1, 1), full.section("\r\n", 1, 1).section(',', 0, 20));

    // A tone code no table holds cannot be written: the export says so.
    data.record.set(ch::rx_subaudio(3), 60);
    EXPECT_EQ(ExportChannelsCsv(data.record, ChannelColumnSet::StandardAndRadio).notes,
              QStringList{"channel 3: the RX tone code 60 is not one the radio has; written as no tone"});
}

TEST(ChannelCsv, ExportThenImportGivesBackEveryByteOfRandomChannels)
{
    std::mt19937 random(15);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    auto tone = [&] {
        switch (pick(0, 2)) {
        case 0: return uint8_t(0);
        case 1: return uint8_t(pick(1, kCtcssCount - 1));
        default: return uint8_t(kDcsCodeBase + pick(0, kDcsCodeCount - 1));
        }
    };
    for (int round = 0; round < 40; ++round) {
        const int band = round % kBandCount;
        RadioData data = Band(band);
        // Settings outside the channels must come through untouched too.
        data.record.set(rec::tot, uint16_t(pick(0, 60)));
        auto frequency = [&] {
            const BandLimits l = data.band_limits;
            const uint32_t step = pick(0, 1) ? 5000 : 6250;
            return l.lower + step * uint32_t(pick(0, int((l.upper - l.lower) / step)));
        };
        for (int n = 1; n <= rec::kChannelCount; ++n) {
            if (pick(0, 3) == 0)
                continue;
            RadioRecord& r = data.record;
            const uint32_t rx = frequency();
            const int duplex = pick(0, 3);
            PutChannel(r, n, rx, duplex == 0 ? 0 : duplex == 1 ? rx : frequency(), tone(), tone());
            r.set(ch::tx_dcs_inverted(n), pick(0, 1));
            r.set(ch::rx_dcs_inverted(n), pick(0, 1));
            r.set(ch::tx_power(n), pick(0, 1));
            r.set(ch::bandwidth(n), pick(0, 1));
            r.set(ch::scan_add(n), pick(0, 1));
            r.set(ch::busy_lockout(n), pick(0, 2));
            r.set(ch::xtal_shift(n), pick(0, 1));
            r.set(ch::squelch(n), uint8_t(pick(0, 9)));
            r.set(ch::scramble_no(n), uint8_t(pick(0, 1) ? pick(1, 16) : 0));
            const int system = pick(0, 3);
            r.set(ch::signaling_system(n), system);
            r.set(ch::signaling_no(n), system == 0 ? 0 : pick(0, system == 1 ? 7 : 15));
        }
        const ChannelExport exported = ExportChannelsCsv(data.record, ChannelColumnSet::StandardAndRadio);
        EXPECT_TRUE(exported.notes.isEmpty()) << exported.notes.join('\n').toStdString();
        RadioData base = Band(band);
        base.record.set(rec::tot, data.record.get(rec::tot));
        const ChannelImport back = Import(exported.csv, base, {.replaceAll = true});
        ASSERT_EQ(back.data.record, data.record) << "round " << round;
        EXPECT_FALSE(back.skippedOrChanged()) << Report(back).join('\n').toStdString();
        ASSERT_EQ(back.notes.size(), 1u);   // the step column, which the radio has no use for
        EXPECT_TRUE(back.notes[0].text.contains("TStep"));
        // Onto the configuration itself the same: the rows replace what they name.
        ASSERT_EQ(Import(exported.csv, data).data.record, data.record) << "round " << round;
    }
}

TEST(ChannelCsv, ReportFollowsTheLanguageAskedFor)
{
    const QByteArray csv = Csv("Location,Name,Frequency,Tone,rToneFreq",
                               {"1,Home,146.52,,", "2,,146.013,,", "3,,99.0,,", "4,,146.52,Tone,69.0"});
    const TAppLang simplified = test::LangOfType(kLangSimplified);
    const ChannelImport chinese = Import(csv, Band(0), {.language = &simplified});
    const ChannelImport english = Import(csv);
    ASSERT_EQ(chinese.notes.size(), english.notes.size());
    EXPECT_TRUE(
        std::ranges::equal(chinese.data.record.bytes(), english.data.record.bytes()));   // only the words differ
    QStringList lines;
    for (const ImportNote& note : chinese.notes)
        lines << note.describe(simplified);
    const QString limits = QStringLiteral("136.000000-174.000000 MHz");
    EXPECT_EQ(
        lines,
        (QStringList{
            Text(simplified, OwnText::ImportColumnsIgnored).arg("Name").arg(1).arg(2),
            Text(simplified, OwnText::ImportNoteLine)
                .arg("3", "2", Text(simplified, OwnText::ImportSnapped).arg("Frequency", "146.013000", "146.012500")),
            Text(simplified, OwnText::ImportNoteLine)
                .arg("4", "3",
                     Text(simplified, OwnText::ImportRowSkipped)
                         .arg(Text(simplified, OwnText::ImportOutsideBand).arg("Frequency", "99.000000", limits))),
            Text(simplified, OwnText::ImportNoteLine)
                .arg("5", "4", Text(simplified, OwnText::ImportToneNotOffered).arg("rToneFreq", "69.0"))}));
    // Chinese through and through: the words of the English report are gone.
    for (const QString& line : lines) {
        EXPECT_FALSE(line.contains("line ")) << line.toStdString();
        EXPECT_FALSE(line.contains("skipped") || line.contains("snapped") || line.contains("stored"))
            << line.toStdString();
    }
    EXPECT_TRUE(lines[2].startsWith(QString::fromUtf8("第 4 行"))) << lines[2].toStdString();
}

TEST(ChannelCsv, ARowWithoutLocationIsNamedInTheReportsLanguage)
{
    QStringList rows;
    for (int i = 0; i <= rec::kChannelCount; ++i)
        rows << QStringLiteral("146.52");
    const TAppLang traditional = test::LangOfType(kLangTraditional);
    const ChannelImport full = Import(Csv("Frequency", rows), Band(0), {.language = &traditional});
    ASSERT_EQ(full.notes.size(), 1u);
    EXPECT_EQ(full.notes[0].location, Text(traditional, OwnText::ImportNoLocation));
    EXPECT_EQ(
        full.notes[0].describe(traditional),
        Text(traditional, OwnText::ImportNoteLine)
            .arg("130", Text(traditional, OwnText::ImportNoLocation),
                 Text(traditional, OwnText::ImportRowSkipped).arg(Text(traditional, OwnText::ImportNoFreeChannel))));
}

namespace {

// Band 0 with channels whose every field varies, bits no column holds set, and
// values beyond what the columns take; no foreign tone codes (no column can name them).
RadioData RichBase()
{
    RadioData data = Band(0);
    RadioRecord& r = data.record;
    const uint8_t tones[] = {0, kTone885, kTone1000, kD023, kD754, 51};
    for (int n = 1; n <= 40; ++n) {
        const uint32_t rx = 144000000 + uint32_t(n) * (n % 3 == 0 ? 5000 : 12500);
        const uint32_t txs[] = {rx, 0, rx + 600000, rx - 600000, 160006250};
        PutChannel(r, n + 8, rx, txs[n % 5], tones[n % 6], tones[(n / 6) % 6]);
        const int c = n + 8;
        r.set(ch::tx_dcs_inverted(c), n & 1);
        r.set(ch::rx_dcs_inverted(c), (n >> 1) & 1);
        r.set(ch::tx_power(c), (n >> 2) & 1);
        r.set(ch::bandwidth(c), (n >> 3) & 1);
        r.set(ch::scan_add(c), (n >> 4) & 1);
        r.set(ch::busy_lockout(c), n % 4);
        r.set(ch::xtal_shift(c), (n >> 1) & 1);
        r.set(ch::signaling_system(c), n % 8);
        r.set(ch::signaling_no(c), (n * 7) % 32);
        r.set(ch::squelch(c), uint8_t(n * 13));
        r.set(ch::scramble_no(c), uint8_t(n * 5 % 23));
        r.set(ch::flags_1(c), uint8_t(r.get(ch::flags_1(c)) | (n % 2 ? 0x84 : 0x10)));
        r.set(ch::flags_2(c), uint8_t(r.get(ch::flags_2(c)) | (n % 3 ? 0x02 : 0)));
        r.bytes()[rec::channelOffset(c) + 15] = uint8_t(n * 11);
    }
    r.bytes()[rec::channelOffset(100) + 13] = 0x77;   // a slot not in use that holds something
    r.set(rec::tot, 5);
    return data;
}

// The channels the export's notes name.
std::set<int> NotedChannels(const QStringList& notes)
{
    std::set<int> channels;
    for (const QString& note : notes)
        channels.insert(note.section(':', 0, 0).section(' ', 1).toInt());
    return channels;
}

}   // namespace

TEST(ChannelCsv, ExportThenImportOntoItsBaseGivesBackEveryByteOfARichConfiguration)
{
    const RadioData base = RichBase();
    // The common columns alone: whatever they do not say stays as the base holds it.
    const ChannelExport standard = ExportChannelsCsv(base.record, ChannelColumnSet::StandardOnly);
    const ChannelImport fromStandard = Import(standard.csv, base);
    EXPECT_TRUE(fromStandard.data.record == base.record);
    EXPECT_FALSE(fromStandard.skippedOrChanged()) << Report(fromStandard).join('\n').toStdString();
    EXPECT_EQ(fromStandard.counts.imported, 40);

    // All the columns: values beyond what an import takes are reported, kept from the base,
    // and the export names every such channel beforehand.
    const ChannelExport full = ExportChannelsCsv(base.record, ChannelColumnSet::StandardAndRadio);
    const ChannelImport fromFull = Import(full.csv, base);
    EXPECT_TRUE(fromFull.data.record == base.record);
    std::set<int> changed;
    for (const ImportNote& note : fromFull.notes) {
        EXPECT_NE(note.kind, ImportNote::Kind::Skipped) << note.describe().toStdString();
        if (note.kind == ImportNote::Kind::Changed)
            changed.insert(note.channel);
    }
    const std::set<int> noted = NotedChannels(full.notes);
    EXPECT_FALSE(changed.empty());
    EXPECT_TRUE(std::ranges::includes(noted, changed));
}

TEST(ChannelCsv, ARowSetsOnlyWhatItsColumnsSay)
{
    RadioData base = Band(0);
    RadioRecord& r = base.record;
    PutChannel(r, 1, 146520000, 147120000, kD023, kTone885);
    r.set(ch::tx_dcs_inverted(1), 1);
    r.set(ch::tx_power(1), 1);
    r.set(ch::bandwidth(1), 1);
    r.set(ch::busy_lockout(1), 2);
    r.set(ch::xtal_shift(1), 1);
    r.set(ch::signaling_system(1), 2);
    r.set(ch::signaling_no(1), 5);
    r.set(ch::squelch(1), 7);
    r.set(ch::scramble_no(1), 3);
    r.set(ch::flags_1(1), uint8_t(r.get(ch::flags_1(1)) | 0x80));
    r.bytes()[rec::channelOffset(1) + 15] = 0x5A;

    // Power alone: the rest stays, and without Duplex or Offset TX is RX.
    const ChannelImport power = Import(Csv("Location,Frequency,Power", {"1,146.52,Low"}), base);
    RadioRecord expected = base.record;
    expected.set(ch::tx_power(1), 0);
    expected.set(ch::tx_freq(1), 146520000);
    EXPECT_TRUE(power.data.record == expected);
    EXPECT_TRUE(power.notes.empty()) << Report(power).join('\n').toStdString();

    // The tone group replaces tones and polarity together; an empty own cell keeps its value.
    const ChannelImport tones = Import(Csv("Location,Frequency,Duplex,Offset,Tone,rToneFreq,Squelch,Scramble,LockOut",
                                           {"1,146.52,+,0.6,Tone,100.0,,OFF,"}),
                                       base);
    expected = base.record;
    expected.set(ch::tx_subaudio(1), kTone1000);
    expected.set(ch::rx_subaudio(1), 0);
    expected.set(ch::tx_dcs_inverted(1), 0);
    expected.set(ch::scramble_no(1), 0);
    EXPECT_TRUE(tones.data.record == expected);

    // A new system starts from its first entry; an unreadable own value keeps the channel's and says so.
    const ChannelImport own =
        Import(Csv("Location,Frequency,Signaling,Squelch,XtalShift", {"1,146.52,DTMF,12,maybe"}), base);
    EXPECT_EQ(own.data.record.get(ch::signaling_system(1)), 1u);
    EXPECT_EQ(own.data.record.get(ch::signaling_no(1)), 0u);
    EXPECT_EQ(own.data.record.get(ch::squelch(1)), 7);
    EXPECT_EQ(own.data.record.get(ch::xtal_shift(1)), 1u);
    EXPECT_EQ(Report(own),
              (QStringList{"line 2, Location 1: unreadable Squelch '12': 7",
                           "line 2, Location 1: unreadable XtalShift 'maybe': ON"}));

    // A row onto an empty channel starts from what the grid gives a new channel.
    r.bytes()[rec::channelOffset(2) + 15] = 0x33;   // leftovers of an empty slot do not survive
    const ChannelImport fresh = Import(Csv("Location,Frequency", {"2,146.54"}), base);
    expected = base.record;
    expected.fill(rec::channelOffset(2), rec::kChannelSize, 0);
    StartChannel(expected, 2, 146540000);
    EXPECT_TRUE(fresh.data.record == expected);
}

TEST(ChannelCsv, EveryAlterationIsANoteAndOnlyChangesCount)
{
    const QString header = "Location,Name,Frequency,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,RxDtcsCode,TStep,Power,"
                           "Comment,Squelch,Scramble,ScrambleNo,Signaling,SignalingNo";
    const ChannelImport import =
        Import(Csv(header,
                   {"1,Home,146.5200004,,Tone,69.25,88.5,023,023,5.00,5.0W,,,,,,",
                    "2,,146.54,,TSQL,100.0,88.5,023,023,5.00,High,,,OFF,4,OFF,3",
                    "3,,146.56,,DTCS,88.5,88.5,754,051,5.00,Low,note,,ON,20,,", "4,,146.58,,,,,,,,,,,,,,"}));
    EXPECT_EQ(
        Report(import),
        (QStringList{
            "Columns this radio does not store were ignored: Name, TStep, Comment (values in 3 row(s), the "
            "first on line 2)",
            "line 2, Location 1: Frequency '146.5200004' has digits past the sixth decimal: cut to 146.520000 MHz",
            "line 2, Location 1: rToneFreq 69.25 Hz taken as 69.3 Hz", "line 2, Location 1: Power '5.0W' taken as High",
            "line 3, Location 2: rToneFreq '100.0' is not used by a TSQL row: ignored",
            "line 3, Location 2: ScrambleNo 4 dropped: Scramble is OFF",
            "line 3, Location 2: SignalingNo 3 kept, but Signaling is OFF: the radio does not use it",
            "line 4, Location 3: RxDtcsCode '051' is not used by a DTCS row: ignored",
            "line 4, Location 3: unreadable ScrambleNo '20': 1"}));
    const RadioRecord& r = import.data.record;
    EXPECT_EQ(r.get(ch::rx_freq(1)), 146520000u);
    EXPECT_EQ(r.get(ch::tx_subaudio(1)), 3);   // 69.3 Hz
    EXPECT_EQ(r.get(ch::tx_power(1)), 1u);
    EXPECT_EQ(r.get(ch::scramble_no(2)), 0);
    EXPECT_EQ(r.get(ch::signaling_no(2)), 2u);
    EXPECT_EQ(r.get(ch::scramble_no(3)), 1);   // what the note says is stored
    EXPECT_EQ(import.counts.read, 4);
    EXPECT_EQ(import.counts.imported, 4);
    EXPECT_EQ(import.counts.changed, 3);
    EXPECT_EQ(import.summary, "4 row(s) read: 4 imported (3 with changed values), 0 skipped");

    // Remarks alone are no change.
    const ChannelImport remarks = Import(Csv(header, {"1,Home,146.54,,TSQL,100.0,88.5,023,023,5.00,High,,,,,,"}));
    EXPECT_EQ(remarks.notes.size(), 2u);
    EXPECT_FALSE(remarks.skippedOrChanged());
    EXPECT_EQ(remarks.counts.changed, 0);

    // An out-of-range scrambler onto a channel in use is reported as the value kept.
    RadioData base = Band(0);
    PutChannel(base.record, 5, 146520000, 146520000);
    base.record.set(ch::scramble_no(5), 5);
    EXPECT_EQ(Report(Import(Csv("Location,Frequency,ScrambleNo", {"5,146.52,20"}), base)),
              QStringList{"line 2, Location 5: unreadable ScrambleNo '20': 5"});
}

TEST(ChannelCsv, ExportNamesWhatTheColumnsCannotCarryOrAnImportWouldNotTakeBack)
{
    RadioData data = Band(0);
    RadioRecord& r = data.record;
    PutChannel(r, 1, 146520000, 146520000);
    r.set(ch::busy_lockout(1), 3);
    r.set(ch::squelch(1), 12);
    r.set(ch::scramble_no(1), 20);
    PutChannel(r, 2, 180000000, 146013000);
    r.set(ch::signaling_system(2), 5);
    r.set(ch::flags_1(2), uint8_t(r.get(ch::flags_1(2)) | 0x40));
    r.bytes()[rec::channelOffset(2) + 15] = 0x12;
    PutChannel(r, 3, 146520000, 146520000);
    r.set(ch::signaling_no(3), 3);   // with signalling OFF
    PutChannel(r, 4, 146540000, 146540000);
    r.set(ch::signaling_system(4), 1);
    r.set(ch::signaling_no(4), 9);   // DTMF offers 8

    EXPECT_EQ(
        ExportChannelsCsv(r, ChannelColumnSet::StandardAndRadio).notes,
        (QStringList{"channel 1: LockOut 3 is beyond what an import takes: it keeps the base's value and reports it",
                     "channel 1: Squelch 12 is beyond what an import takes: it keeps the base's value and reports it",
                     "channel 1: ScrambleNo 20 is beyond what an import takes: it keeps the base's value and "
                     "reports it",
                     "channel 2: Frequency 180.000000 MHz is outside the band's limits 136.000000-174.000000 MHz; "
                     "an import skips the row",
                     "channel 2: TX frequency 146.013000 MHz is off the channel raster; an import stores "
                     "146.012500 MHz",
                     "channel 2: Signaling 5 is beyond what an import takes: it keeps the base's value and "
                     "reports it",
                     "channel 2: bits no column holds are set (byte 10: 0x40, byte 15: 0x12): the CSV cannot "
                     "carry them, an import keeps them only from its base",
                     "channel 3: SignalingNo 4 with Signaling OFF: an import reports it as changed",
                     "channel 4: SignalingNo 10 is beyond what an import takes: it keeps the base's value and "
                     "reports it"}));
    // The common columns carry none of the radio's own settings, so only the rest is named.
    EXPECT_EQ(NotedChannels(ExportChannelsCsv(r, ChannelColumnSet::StandardOnly).notes), std::set<int>{2});

    const TAppLang simplified = test::LangOfType(kLangSimplified);
    const QStringList chinese = ExportChannelsCsv(r, ChannelColumnSet::StandardOnly, &simplified).notes;
    ASSERT_FALSE(chinese.isEmpty());
    EXPECT_TRUE(chinese[0].startsWith(Text(simplified, OwnText::ExportNoteChannel).arg(2).section(' ', 0, 0)));
    EXPECT_FALSE(chinese.join(' ').contains("import"));
}

TEST(ChannelCsv, SpreadsheetFilesOfOtherLocalesAndOldToolsRead)
{
    // Semicolons and a decimal comma, as many locales write them; a DOS end-of-file mark at the end.
    const QByteArray semicolons = "Location;Frequency;Duplex;Offset;Tone;rToneFreq;Power\r\n"
                                  "1;146,940000;-;0,600000;Tone;88,5;4,5W\r\n\x1A";
    const ChannelImport local = Import(semicolons);
    EXPECT_EQ(local.data.record.get(ch::rx_freq(1)), 146940000u);
    EXPECT_EQ(local.data.record.get(ch::tx_freq(1)), 146340000u);
    EXPECT_EQ(local.data.record.get(ch::tx_subaudio(1)), kTone885);
    EXPECT_EQ(Report(local), QStringList{"line 2, Location 1: Power '4,5W' taken as High"});
    EXPECT_EQ(local.counts.read, 1);

    // Tabs, and CrossMode in any case.
    const ChannelImport tabs = Import("Frequency\tTone\trToneFreq\tRxDtcsCode\tCrossMode\n"
                                      "146.52\tcross\t100.0\t754\ttone->dtcs\n");
    EXPECT_EQ(tabs.data.record.get(ch::tx_subaudio(1)), kTone1000);
    EXPECT_EQ(tabs.data.record.get(ch::rx_subaudio(1)), kD754);
    EXPECT_TRUE(tabs.notes.empty()) << Report(tabs).join('\n').toStdString();

    // UTF-16 behind its byte-order mark, either byte order.
    const QString text = "Location,Frequency\r\n7,146.52\r\n";
    QByteArray little("\xFF\xFE"), big("\xFE\xFF");
    for (QChar c : text) {
        little += char(c.unicode() & 0xFF), little += char(c.unicode() >> 8);
        big += char(c.unicode() >> 8), big += char(c.unicode() & 0xFF);
    }
    for (const QByteArray& bytes : {little, big})
        EXPECT_EQ(Import(bytes).data.record.get(ch::rx_freq(7)), 146520000u);

    // Wide text the reader does not take asks to be saved as UTF-8.
    for (const QByteArray& wide : {little.mid(2), big.mid(2), QByteArray("\xFF\xFE\0\0F\0\0\0", 8)}) {
        const Result<ChannelImport> refused = ImportChannelsCsv(wide, Band(0));
        ASSERT_FALSE(refused);
        EXPECT_TRUE(refused.error().message.endsWith("save the file as UTF-8"))
            << refused.error().message.toStdString();
    }
}

TEST(ChannelCsv, TheSummarySaysWhyNothingWasImported)
{
    const ChannelImport outside = Import(Csv("Location,Frequency", {"1,446.0", "2,439.5"}));
    EXPECT_TRUE(outside.nothingImported());
    EXPECT_EQ(outside.summary, "0 of 2 rows imported: all outside 136\u2013174 MHz");
    EXPECT_EQ(outside.fittingBand, 2);

    const ChannelImport narrowBand = Import(Csv("Location,Frequency", {"1,412.0", "2,425.0"}), Band(0));
    EXPECT_EQ(narrowBand.fittingBand, 2);   // the first band that holds them all

    const ChannelImport none = Import("Location,Frequency\r\n");
    EXPECT_EQ(none.summary, "0 of 0 rows imported: the file holds no rows below its header");
    EXPECT_FALSE(none.fittingBand);

    const ChannelImport mixed = Import(Csv("Location,Frequency", {"1,abc", "2,446.0"}));
    EXPECT_EQ(mixed.summary, "0 of 2 rows imported: every row was skipped");
    EXPECT_FALSE(mixed.fittingBand);
    EXPECT_EQ(mixed.counts.skipped, 2);

    const ChannelImport some = Import(Csv("Location,Frequency", {"1,146.013", "2,446.0", "3,146.52"}));
    EXPECT_EQ(some.summary, "3 row(s) read: 2 imported (1 with changed values), 1 skipped");
}

TEST(ChannelCsv, ReplacingEveryChannelNamesTheReferencesLeftOnEmptyOnes)
{
    RadioData base = Band(0);
    PutChannel(base.record, 5, 146520000, 146520000);
    PutChannel(base.record, 6, 146540000, 146540000);
    base.record.set(rec::home_channel, 4);   // channel 5
    base.record.set(rec::emergency_designated_channel, 5);   // channel 6, which the file fills again
    base.record.set(rec::priority_channel, 9);   // channel 10, empty before the import too
    const ChannelImport import = Import(Csv("Location,Frequency", {"6,146.56"}), base, {.replaceAll = true});
    ASSERT_EQ(import.notes.size(), 1u) << Report(import).join('\n').toStdString();
    EXPECT_EQ(import.notes[0].kind, ImportNote::Kind::Remark);
    EXPECT_TRUE(import.notes[0].text.contains(UiText(test::LangOfType(kLangEnglish), 250)));
    EXPECT_TRUE(import.notes[0].text.endsWith("channel 5, which is now empty."));
    // Without --replace-all no channel is emptied.
    EXPECT_TRUE(Import(Csv("Location,Frequency", {"6,146.56"}), base).notes.empty());
}

TEST(ChannelCsv, WholeFileErrorsFollowTheReportsLanguage)
{
    const TAppLang simplified = test::LangOfType(kLangSimplified);
    const std::pair<QByteArray, QString> refused[] = {
        {"", Text(simplified, OwnText::CsvEmpty)},
        {"Location,Name\n1,x\n", Text(simplified, OwnText::ImportNoFrequencyColumn).arg(1)},
        {"Frequency\n\"146.52\n", Text(simplified, OwnText::CsvUnclosedQuote).arg(2)},
        {QByteArray("Frequency\n\x01", 11), Text(simplified, OwnText::CsvBinary).arg(2)},
    };
    for (const auto& [bytes, message] : refused) {
        const Result<ChannelImport> result = ImportChannelsCsv(bytes, Band(0), {.language = &simplified});
        ASSERT_FALSE(result);
        EXPECT_EQ(result.error().message, message);
        EXPECT_FALSE(message.contains("line")) << message.toStdString();
    }
    const ChannelImport nothing = Import(Csv("Frequency", {"446.0"}), Band(0), {.language = &simplified});
    EXPECT_EQ(nothing.summary,
              Text(simplified, OwnText::ImportNothingImported)
                  .arg(1)
                  .arg(Text(simplified, OwnText::ImportReasonAllOutsideBand).arg("136\u2013174 MHz")));
}
