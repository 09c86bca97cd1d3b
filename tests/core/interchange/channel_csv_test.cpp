// SPDX-License-Identifier: GPL-3.0-or-later
// Channels as CSV: the tone-mode table both ways, polarity, duplex, locations,
// every item of the import report, and export -> import giving back every byte.
#include "interchange/channel_csv.h"
#include "model/record_layout.h"
#include "model/value_codings.h"
#include <gtest/gtest.h>
#include <random>

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
    return result ? std::move(result).value() : ChannelImport{base, {}};
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

} // namespace

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
        {kTone1000, kD754, "Cross", "Tone->DTCS", "100.0", "88.5", "023", "754"},
        {kD754, kTone1000, "Cross", "DTCS->Tone", "88.5", "100.0", "754", "754"},
        {kD754, kD023, "Cross", "DTCS->DTCS", "88.5", "88.5", "754", "023"},
        {0, kTone1000, "Cross", "->Tone", "88.5", "100.0", "023", "023"},
        {0, kD754, "Cross", "->DTCS", "88.5", "88.5", "023", "754"},
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
        EXPECT_TRUE(back.notes.empty()) << context << ": " << Report(back).join('\n').toStdString();
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
    EXPECT_EQ(Report(import), QStringList{"line 7, Location 6: unreadable Offset 'xyz': TX = RX"});

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
    const ChannelImport import =
        Import(Csv("Location,Frequency,Tone,DtcsCode,Mode,Skip", {"7,146.52,Cross,754,NFM,S"}));
    const RadioRecord& r = import.data.record;
    // Cross without CrossMode is Tone->Tone, and this file has no tone columns for it.
    EXPECT_EQ(r.get(ch::tx_subaudio(7)), 0);
    EXPECT_EQ(r.get(ch::rx_subaudio(7)), 0);
    EXPECT_EQ(r.get(ch::tx_power(7)), 1u);
    EXPECT_EQ(r.get(ch::bandwidth(7)), 1u);
    EXPECT_EQ(r.get(ch::scan_add(7)), 0u);
    EXPECT_EQ(r.get(ch::squelch(7)), 5);
    EXPECT_EQ(r.get(ch::tx_freq(7)), 146520000u);
    EXPECT_EQ(Report(import),
              (QStringList{"line 2, Location 7: no rToneFreq given: no tone",
                           "line 2, Location 7: no cToneFreq given: no tone"}));

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
        "Names and comments are not stored by this radio: dropped from 2 row(s), the first on line 2",
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
        EXPECT_TRUE(exported.notes.isEmpty());
        RadioData base = Band(band);
        base.record.set(rec::tot, data.record.get(rec::tot));
        const ChannelImport back = Import(exported.csv, base, {.replaceAll = true});
        ASSERT_EQ(back.data.record, data.record) << "round " << round;
        EXPECT_TRUE(back.notes.empty()) << Report(back).join('\n').toStdString();
        // Onto the configuration itself the same: the rows replace what they name.
        ASSERT_EQ(Import(exported.csv, data).data.record, data.record) << "round " << round;
    }
}
