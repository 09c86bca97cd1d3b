// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/configuration_check.h"
#include "model/digit_code.h"
#include "model/radio_data.h"
#include "model/record_fields.h"
#include "model/record_layout.h"
#include "programming/memory_image.h"
#include "text/app_lang.h"
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <tuple>

using namespace k3n;

namespace {

RadioData Fresh(int band)
{
    RadioData data;
    data.ResetForBand(band);
    return data;
}

// A channel as the channel editor fills it in.
void AddChannel(RadioData& data, int n, uint32_t rx, uint32_t tx)
{
    data.record.set(rec::ch::in_use(n), 1);
    data.record.set(rec::ch::rx_freq(n), rx);
    data.record.set(rec::ch::tx_freq(n), tx);
    data.record.set(rec::ch::squelch(n), 5);
}

// A band-0 configuration with channels 1 and 2 in use and no other problem.
RadioData TwoChannels()
{
    RadioData data = Fresh(0);
    AddChannel(data, 1, 145500000, 145500000);
    AddChannel(data, 2, 146000000, 146600000);
    return data;
}

std::vector<ConfigurationProblem> Check(const RadioData& data)
{
    return CheckConfiguration(data.record, TAppLang(kLangIdEnglishUs));
}

std::vector<ConfigurationProblem> OfKind(const std::vector<ConfigurationProblem>& problems, ProblemKind kind)
{
    std::vector<ConfigurationProblem> found;
    std::copy_if(problems.begin(), problems.end(), std::back_inserter(found),
                 [kind](const ConfigurationProblem& p) { return p.kind == kind; });
    return found;
}

}   // namespace

TEST(ConfigurationCheck, TheDefaultsOfEveryBandHaveNoErrorOnlyNoChannel)
{
    for (int band = 0; band < kBandCount; ++band) {
        const auto problems = Check(Fresh(band));
        EXPECT_FALSE(HasErrors(problems)) << band;
        ASSERT_EQ(problems.size(), 1u) << band << ' ' << problems.front().item.toStdString();
        EXPECT_EQ(problems.front().kind, ProblemKind::NoChannelInUse);
        EXPECT_EQ(problems.front().severity, Severity::Warning);
    }
}

TEST(ConfigurationCheck, ACleanConfigurationHasNoProblem)
{
    const auto problems = Check(TwoChannels());
    for (const auto& p : problems)
        ADD_FAILURE() << p.item.toStdString() << ": " << p.message.toStdString();
    EXPECT_TRUE(problems.empty());
}

// What an editor produces is never an error: every frequency the channel editor
// can enter (snapped into the band) passes.
TEST(ConfigurationCheck, SnappedFrequenciesOfEveryBandPass)
{
    for (int band = 0; band < kBandCount; ++band) {
        RadioData data = Fresh(band);
        const BandLimits limits = BandLimitsOf(band);
        const uint32_t typed[] = {0, limits.lower + 6250, limits.lower + 13000, limits.upper - 3125, 999999999};
        int n = 1;
        for (uint32_t hz : typed)
            AddChannel(data, n++, data.SnapFrequency(hz), data.SnapFrequency(hz + 12345));
        const auto problems = Check(data);
        EXPECT_FALSE(HasErrors(problems)) << band;
        EXPECT_TRUE(OfKind(problems, ProblemKind::FrequencyOffRaster).empty()) << band;
    }
}

TEST(ConfigurationCheck, ARecordReadBackWith6250HzChannelsHasNoError)
{
    RadioData sent = Fresh(2);
    const uint32_t steps[] = {400006250, 400018750, 433331250, 469993750};
    for (int n = 1; n <= 4; ++n)
        AddChannel(sent, n, steps[n - 1], steps[4 - n]);
    MemoryImage image = GetDataForWrite(sent, ProgramTime{2026, 1, 2, 3, 4});
    image[radio_addr::kBandCode] = BandRadioCode(2);   // the radio's own band, as a read finds it
    RadioData read = Fresh(2);
    SetDataToSoftware(image, read);
    // The radio keeps 100 Hz: the 50 Hz of the odd steps are gone.
    ASSERT_NE(read.record.get(rec::ch::rx_freq(1)), sent.record.get(rec::ch::rx_freq(1)));
    ASSERT_TRUE(read.record.get(rec::ch::in_use(4)));
    const auto problems = Check(read);
    for (const auto& p : problems)
        ADD_FAILURE() << p.item.toStdString() << ": " << p.message.toStdString();
    EXPECT_FALSE(HasErrors(problems));
    EXPECT_TRUE(OfKind(problems, ProblemKind::FrequencyOffRaster).empty());
}

TEST(ConfigurationCheck, ChannelRaster)
{
    const struct {
        uint32_t hz;
        bool onRaster;
    } cases[] = {
        {145500000, true}, {145505000, true},  {136006250, true},  {136006200, true},  {136012500, true},
        {136018700, true}, {136006300, false}, {136001000, false}, {136006249, false}, {136003125, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsOnChannelRaster(c.hz), c.onRaster) << c.hz;
}

// The closed list of errors, each on the channel page with the channel named.
TEST(ConfigurationCheck, Errors)
{
    const struct {
        const char* what;
        std::function<void(RadioData&)> spoil;
        ProblemKind kind;
        int channel;
    } cases[] = {
        {"RX 0", [](RadioData& d) { d.record.set(rec::ch::rx_freq(2), 0); }, ProblemKind::RxFrequencyMissing, 2},
        {"RX below", [](RadioData& d) { d.record.set(rec::ch::rx_freq(1), 135995000); },
         ProblemKind::FrequencyOutsideBand, 1},
        {"RX above", [](RadioData& d) { d.record.set(rec::ch::rx_freq(2), 174005000); },
         ProblemKind::FrequencyOutsideBand, 2},
        {"TX above", [](RadioData& d) { d.record.set(rec::ch::tx_freq(1), 435000000); },
         ProblemKind::FrequencyOutsideBand, 1},
        {"band 4", [](RadioData& d) { d.record.set(rec::freq_band, 4); }, ProblemKind::UnknownBand, 0},
    };
    for (const auto& c : cases) {
        RadioData data = TwoChannels();
        c.spoil(data);
        const auto problems = Check(data);
        ASSERT_EQ(problems.size(), 1u) << c.what;
        const ConfigurationProblem& p = problems.front();
        EXPECT_EQ(p.severity, Severity::Error) << c.what;
        EXPECT_EQ(p.kind, c.kind) << c.what;
        EXPECT_EQ(p.page, EditorPage::Channels) << c.what;
        EXPECT_EQ(p.channel, c.channel) << c.what;
        EXPECT_FALSE(p.message.isEmpty()) << c.what;
    }
}

TEST(ConfigurationCheck, TheItemNamesTheChannelAndTheColumn)
{
    RadioData data = TwoChannels();
    AddChannel(data, 12, 145500000, 180000000);
    const auto problems = Check(data);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems.front().item, QStringLiteral("Channel 12, TX Freq."));
    EXPECT_TRUE(problems.front().message.contains(QStringLiteral("180.000"))) << problems.front().message.toStdString();
}

TEST(ConfigurationCheck, NotErrors)
{
    const struct {
        const char* what;
        std::function<void(RadioData&)> change;
    } cases[] = {
        {"TX 0 is receive only", [](RadioData& d) { d.record.set(rec::ch::tx_freq(1), 0); }},
        {"an empty slot's bytes",
         [](RadioData& d) {
             d.record.set(rec::ch::rx_freq(9), 1);
             d.record.set(rec::ch::tx_freq(9), 999999999);
         }},
        {"the band edges",
         [](RadioData& d) {
             d.record.set(rec::ch::rx_freq(1), 136000000);
             d.record.set(rec::ch::tx_freq(1), 174000000);
         }},
    };
    for (const auto& c : cases) {
        RadioData data = TwoChannels();
        c.change(data);
        EXPECT_TRUE(Check(data).empty()) << c.what;
    }
}

TEST(ConfigurationCheck, Warnings)
{
    using rec::ch::signaling_no;
    using rec::ch::signaling_system;
    const struct {
        const char* what;
        std::function<void(RadioRecord&)> spoil;
        ProblemKind kind;
        EditorPage page;
    } cases[] = {
        {"off raster", [](RadioRecord& r) { r.set(rec::ch::rx_freq(1), 145501000); }, ProblemKind::FrequencyOffRaster,
         EditorPage::Channels},
        {"DTMF entry 9", [](RadioRecord& r) { r.set(signaling_system(1), 1), r.set(signaling_no(1), 8); },
         ProblemKind::SignalNumberBeyondSystem, EditorPage::Channels},
        {"two-tone entry 17", [](RadioRecord& r) { r.set(signaling_system(2), 3), r.set(signaling_no(2), 16); },
         ProblemKind::SignalNumberBeyondSystem, EditorPage::Channels},
        {"scrambler 17", [](RadioRecord& r) { r.set(rec::ch::scramble_no(1), 17); }, ProblemKind::ScrambleNumberTooHigh,
         EditorPage::Channels},
        {"home channel empty", [](RadioRecord& r) { r.set(rec::home_channel, 5); }, ProblemKind::EmptyChannelReference,
         EditorPage::Scan},
        {"emergency channel empty",
         [](RadioRecord& r) { r.set(rec::emergency_channel_select, 3), r.set(rec::emergency_designated_channel, 100); },
         ProblemKind::EmptyChannelReference, EditorPage::Emergency},
        {"DTMF call 1 empty", [](RadioRecord& r) { r.set(rec::dtmf::call_1, 0); }, ProblemKind::EmptyCodeReference,
         EditorPage::Dtmf},
        {"five-tone transpond missing", [](RadioRecord& r) { r.set(rec::five_tone::decode_transpond(3), 40); },
         ProblemKind::MissingCodeReference, EditorPage::FiveTone},
        {"two-tone system code empty", [](RadioRecord& r) { r.set(rec::two_tone::call_code(4), 2); },
         ProblemKind::EmptyCodeReference, EditorPage::TwoTone},
        {"emergency DTMF system 9",
         [](RadioRecord& r) {
             r.set(rec::emergency_signaling_type, 1), r.set(rec::emergency_encode_system, 8);
             WriteDigitCode(r, {rec::dtmf::encode(0), rec::dtmf::kEncodeDigits}, QStringLiteral("123"));
         },
         ProblemKind::SignalNumberBeyondSystem, EditorPage::Emergency},
        {"DTMF encode of 25 digits", [](RadioRecord& r) { r.set(U8Field{rec::dtmf::encode(2)}, 25); },
         ProblemKind::DigitCountBeyondField, EditorPage::Dtmf},
        {"five-tone decode of 9 digits", [](RadioRecord& r) { r.set(U8Field{rec::five_tone::decode(0)}, 9); },
         ProblemKind::DigitCountBeyondField, EditorPage::FiveTone},
        {"lead-in 99", [](RadioRecord& r) { r.set(rec::dtmf::lead_in, 99); }, ProblemKind::LeadTimeOutOfRange,
         EditorPage::Dtmf},
        {"lead-out 3001", [](RadioRecord& r) { r.set(rec::two_tone::lead_out, 3001); }, ProblemKind::LeadTimeOutOfRange,
         EditorPage::TwoTone},
        {"tone A time 0", [](RadioRecord& r) { r.set(rec::two_tone::tone_a_time(16), 0); },
         ProblemKind::ToneTimeOutOfRange, EditorPage::TwoTone},
        {"group time 251", [](RadioRecord& r) { r.set(rec::two_tone::group_time(1), 251); },
         ProblemKind::ToneTimeOutOfRange, EditorPage::TwoTone},
        {"TOT 301", [](RadioRecord& r) { r.set(rec::tot, 301); }, ProblemKind::ValueNotOffered, EditorPage::General},
        {"squelch 10", [](RadioRecord& r) { r.set(rec::ch::squelch(2), 10); }, ProblemKind::ValueNotOffered,
         EditorPage::Channels},
    };
    for (const auto& c : cases) {
        RadioData data = TwoChannels();
        c.spoil(data.record);
        const auto problems = Check(data);
        ASSERT_EQ(problems.size(), 1u) << c.what;
        EXPECT_EQ(problems.front().severity, Severity::Warning) << c.what;
        EXPECT_EQ(problems.front().kind, c.kind) << c.what;
        EXPECT_EQ(problems.front().page, c.page) << c.what;
        EXPECT_FALSE(problems.front().item.isEmpty()) << c.what;
    }
}

// Every list offers what a fresh configuration holds, and a value past its
// last entry is named on the list's page: tried on the last entry of each table.
TEST(ConfigurationCheck, EveryListNamesAValueItDoesNotOffer)
{
    std::map<std::tuple<QString, QString, QString>, const RecordField*> lastOfEach;
    for (const RecordField& field : RecordFields())
        if (IsPickOnly(field))
            lastOfEach[{QString::fromLatin1(field.section), QString::fromLatin1(field.group), field.key}] = &field;
    ASSERT_GT(lastOfEach.size(), 70u);
    for (const auto& [name, field] : lastOfEach) {
        const std::string what = FieldItemName(*field, TAppLang(kLangIdEnglishUs)).toStdString();
        RadioData data = TwoChannels();
        if (field->page == EditorPage::Channels)
            AddChannel(data, field->entry, 145500000, 0);
        ASSERT_TRUE(Check(data).empty()) << what;

        uint64_t foreign = 0;   // the first value the list does not offer
        while (foreign <= FieldLimit(*field) && IsOfferedValue(*field, foreign))
            ++foreign;
        if (foreign > FieldLimit(*field))
            continue;   // the list offers every value the field can hold
        SetFieldNumber(data.record, *field, foreign);
        const auto problems = OfKind(Check(data), ProblemKind::ValueNotOffered);
        ASSERT_EQ(problems.size(), 1u) << what;
        EXPECT_EQ(problems.front().page, field->page) << what;
        EXPECT_TRUE(problems.front().message.contains(QString::number(foreign)))
            << problems.front().message.toStdString();
    }
}

TEST(ConfigurationCheck, MessagesComeInTheInterfaceLanguage)
{
    RadioData data = TwoChannels();
    data.record.set(rec::ch::rx_freq(1), 0);
    const auto english = CheckConfiguration(data.record, TAppLang(kLangIdEnglishUs));
    const auto chinese = CheckConfiguration(data.record, TAppLang(kLangIdChinesePrc));
    ASSERT_EQ(english.size(), 1u);
    ASSERT_EQ(chinese.size(), 1u);
    EXPECT_NE(english.front().message, chinese.front().message);
    EXPECT_NE(english.front().item, chinese.front().item);
}
