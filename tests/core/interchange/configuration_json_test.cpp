// SPDX-License-Identifier: GPL-3.0-or-later
// The whole configuration as JSON: every bit of the record has one field,
// dump -> import gives back every byte, and what the reader refuses.
#include "interchange/configuration_json.h"
#include "model/digit_code.h"
#include "model/radio_data.h"
#include "model/record_fields.h"
#include "model/record_layout.h"
#include "model/value_codings.h"
#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>
#include <random>

using namespace k3n;

namespace {

RadioRecord RandomRecord(unsigned seed)
{
    std::mt19937 random(seed);
    RadioRecord record;
    for (uint8_t& byte : record.bytes())
        byte = uint8_t(random());
    return record;
}

RadioRecord Complement(const RadioRecord& record)
{
    RadioRecord flipped = record;
    for (uint8_t& byte : flipped.bytes())
        byte = uint8_t(~byte);
    return flipped;
}

// The record read; every text must agree with its number.
RadioRecord Read(const QByteArray& json, const RadioRecord& base)
{
    const Result<JsonImage> read = ConfigurationFromJson(json, base);
    EXPECT_TRUE(read) << (read ? std::string() : read.error().message.toStdString());
    if (!read)
        return base;
    EXPECT_TRUE(read.value().contradictions.isEmpty()) << read.value().contradictions.join('\n').toStdString();
    return read.value().record;
}

QString ReadError(const QByteArray& json)
{
    const Result<JsonImage> read = ConfigurationFromJson(json, RadioData().record);
    return read ? QString() : read.error().message;
}

QByteArray Json(const QJsonObject& object)
{
    return QJsonDocument(object).toJson();
}

}   // namespace

TEST(RecordFields, EveryBitOfTheRecordBelongsToExactlyOneField)
{
    std::array<uint8_t, RadioRecord::kSize> owned{};
    for (const RecordField& field : RecordFields()) {
        const uint8_t mask = FieldByteMask(field);
        for (int i = 0; i < FieldByteCount(field); ++i) {
            const std::size_t at = std::size_t(field.offset + i);
            ASSERT_LT(at, owned.size()) << field.key.toStdString();
            EXPECT_EQ(owned[at] & mask, 0)
                << "byte " << at << " taken twice, again by " << field.section << "." << field.key.toStdString();
            owned[at] |= mask;
        }
    }
    for (std::size_t at = 0; at < owned.size(); ++at)
        EXPECT_EQ(owned[at], 0xFF) << "bits of byte " << at << " belong to no field";
}

TEST(ConfigurationJson, DumpThenImportGivesBackEveryByteOfAnyRecord)
{
    RadioData defaults;
    std::vector<RadioRecord> records{defaults.record};
    for (unsigned seed = 1; seed <= 6; ++seed)
        records.push_back(RandomRecord(seed));
    for (const RadioRecord& record : records) {
        // Read onto a base that differs in every bit, so no byte can come from the base.
        const RadioRecord read = Read(ConfigurationJsonText(record), Complement(record));
        EXPECT_TRUE(read == record);
    }
}

TEST(ConfigurationJson, HoldsNumbersBesideTextsForEverySlot)
{
    RadioData data;
    RadioRecord& r = data.record;
    r.set(rec::ch::rx_freq(12), 146520000);
    r.set(rec::ch::tx_subaudio(12), kDcsCodeBase);   // D023
    r.set(rec::ch::tx_dcs_inverted(12), 1);
    r.set(rec::user_ctcss_freq, 100.0);
    WriteDigitCode(r, {rec::dtmf::encode(2), rec::dtmf::kEncodeDigits}, "123");
    r.bytes()[rec::dtmf::encode(2) + 3] = 0x5A;   // digits past the count

    const QJsonObject root = ConfigurationToJson(r);
    EXPECT_EQ(root["format_version"].toInt(), kConfigurationJsonVersion);
    const QJsonArray channels = root["channels"].toArray();
    ASSERT_EQ(channels.size(), rec::kChannelCount + 1);   // the unused slot 0 too
    const QJsonObject twelve = channels[12].toObject();
    EXPECT_EQ(twelve["rx_freq"].toDouble(), 146520000.0);
    EXPECT_EQ(twelve["rx_freq_text"].toString(), "146.52000");
    EXPECT_EQ(twelve["tx_subaudio"].toInt(), kDcsCodeBase);
    EXPECT_EQ(twelve["tx_subaudio_text"].toString(), "D023I");
    EXPECT_TRUE(twelve.contains("reserved"));
    EXPECT_EQ(root["general"]["user_ctcss_freq_bits"].toString(), "4059000000000000");
    EXPECT_EQ(root["general"]["user_ctcss_freq_text"].toString(), "100");
    EXPECT_TRUE(root["general"]["reserved_2079"].isDouble());
    const QJsonObject encode3 = root["dtmf"]["encode"].toArray()[2].toObject();
    EXPECT_EQ(encode3["digits_count"].toInt(), 3);
    EXPECT_EQ(encode3["digits_text"].toString(), "123");
    const QJsonArray nibbles = encode3["digits_nibbles"].toArray();
    ASSERT_EQ(nibbles.size(), rec::dtmf::kEncodeDigits);
    EXPECT_EQ(nibbles[0].toInt(), 1);
    EXPECT_EQ(nibbles[2].toInt(), 3);
    EXPECT_EQ(nibbles[3].toInt(), 0xF);
    EXPECT_EQ(nibbles[4].toInt(), 0xA);
    EXPECT_EQ(nibbles[5].toInt(), 0x5);
    EXPECT_EQ(root["footer"]["freq_band_text"].toString(), "K3N [136 - 174 MHz]");
}

TEST(ConfigurationJson, MissingKeysKeepTheBaseAndATextThatSaysOtherwiseIsReported)
{
    RadioData base;
    base.record.set(rec::ch::rx_freq(3), 150000000);
    base.record.set(rec::tot, 120);
    // Texts that agree in another case or as the same number pass; the one that contradicts is named.
    const QJsonObject input{{"channels",
                             QJsonArray{QJsonObject{}, QJsonObject{}, QJsonObject{},
                                        QJsonObject{{"tx_freq", 151000000},
                                                    {"tx_freq_text", "151"},
                                                    {"rx_freq_text", "999.99"},
                                                    {"tx_power", 1},
                                                    {"tx_power_text", "high"}}}},
                            {"general", QJsonObject{{"toa", 30}, {"beep_text", "On"}}}};
    const Result<JsonImage> read = ConfigurationFromJson(Json(input), base.record);
    ASSERT_TRUE(read) << read.error().message.toStdString();
    RadioRecord expected = base.record;
    expected.set(rec::ch::tx_freq(3), 151000000);
    expected.set(rec::ch::tx_power(3), 1);
    expected.set(rec::toa, 30);
    EXPECT_TRUE(read.value().record == expected);   // the numbers rule
    EXPECT_EQ(read.value().contradictions,
              (QStringList{"channels[3].rx_freq_text: the text '999.99' says otherwise than the number, which reads "
                           "'150.00000'; the number is taken",
                           "general.beep_text: the text 'On' says otherwise than the number, which reads 'OFF'; the "
                           "number is taken"}));
}

TEST(ConfigurationJson, RefusesUnknownKeysValuesOutOfRangeAndTextThatIsNoJson)
{
    const std::vector<std::pair<QJsonObject, QString>> refused{
        {QJsonObject{{"general", QJsonObject{{"totx", 1}}}}, "general.totx: unknown key"},
        {QJsonObject{{"colour", 1}}, "colour: unknown key"},
        {QJsonObject{{"channels", QJsonArray{QJsonObject{}, QJsonObject{{"rx_frq", 1}}}}},
         "channels[1].rx_frq: unknown key"},
        {QJsonObject{{"general", QJsonObject{{"tot", 70000}}}}, "general.tot: expected a whole number from 0 to 65535"},
        {QJsonObject{{"general", QJsonObject{{"tot", 1.5}}}}, "general.tot"},
        {QJsonObject{{"general", QJsonObject{{"tot", "300"}}}}, "general.tot"},
        {QJsonObject{{"channels", QJsonArray{QJsonObject{{"in_use", 2}}}}}, "channels[0].in_use"},
        {QJsonObject{{"channels", QJsonArray{QJsonObject{{"flags_1_other_bits", 1}}}}}, "only the bits 0xfc"},
        {QJsonObject{{"general", QJsonObject{{"user_ctcss_freq_bits", "4059"}}}}, "16 hex digits"},
        {QJsonObject{{"dtmf", QJsonObject{{"encode", QJsonArray{QJsonObject{{"digits_nibbles", QJsonArray{1, 2}}}}}}}},
         "dtmf.encode[0].digits_nibbles: expected an array of 24 numbers from 0 to 15"},
        {QJsonObject{{"format_version", 2}}, "format_version 2 is newer"},
        {QJsonObject{{"format", "something-else"}}, "format"},
        {QJsonObject{{"general", 5}}, "general: expected an object"},
        {QJsonObject{{"dtmf", QJsonObject{{"systems", QJsonArray{{}, {}, {}, {}, {}, {}, {}, {}, {}}}}}},
         "dtmf.systems: 9 entries, but there are only 8"},
    };
    for (const auto& [input, expected] : refused) {
        const QString error = ReadError(Json(input));
        EXPECT_TRUE(error.contains(expected)) << error.toStdString() << " / " << expected.toStdString();
    }

    EXPECT_EQ(ReadError(""), "the file is empty");
    const QString trailingComma = ReadError("{\n  \"general\": {\n    \"tot\": 1,\n  }\n}");
    EXPECT_TRUE(trailingComma.startsWith("line 4:")) << trailingComma.toStdString();
    EXPECT_TRUE(ReadError("[1, 2]").contains("not an object"));
    EXPECT_TRUE(ReadError("\x01\x02\xFF garbage").startsWith("line 1:"));
    // A byte-order mark before the object is read.
    EXPECT_EQ(ReadError("\xEF\xBB\xBF{\"general\": {\"tot\": 5}}"), QString());
}

TEST(ConfigurationJson, TellsJsonFromOtherFilesBySuffixThenContent)
{
    EXPECT_TRUE(IsJsonFile("a.json", "Location,Frequency"));
    EXPECT_TRUE(IsJsonFile("a.JSON", ""));
    // Text that opens an object is JSON whatever its name; a configuration's bytes are not.
    EXPECT_TRUE(IsJsonFile("a.csv", "{}"));
    EXPECT_TRUE(IsJsonFile("a.fse", "{\"general\": {}}"));
    EXPECT_FALSE(IsJsonFile("a.fse", QByteArray("{\0\0\x12", 4)));
    EXPECT_TRUE(IsJsonFile("a.txt", "\xEF\xBB\xBF  \n{\"general\": {}}"));
    EXPECT_TRUE(IsJsonFile("channels", "{"));
    EXPECT_FALSE(IsJsonFile("channels", "Location,Frequency\n1,146.52\n"));
}
