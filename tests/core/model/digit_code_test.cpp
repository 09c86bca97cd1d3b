// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/digit_code.h"
#include "model/radio_data.h"
#include "model/record_layout.h"
#include <gtest/gtest.h>

using namespace k3n;

using Bytes = std::vector<uint8_t>;

TEST(DigitCode, EverySixteenCharactersRoundTripAndNothingElseIsADigit)
{
    const QString all = "0123456789ABCD*#";
    for (int code = 0; code < 16; ++code) {
        EXPECT_EQ(DigitCodeOf(all[code]), code);
        EXPECT_EQ(DigitChar(uint8_t(code)), all[code]);
    }
    for (QChar c : QString("abcdEF xX-+.E\u00e9"))
        EXPECT_FALSE(IsDigitChar(c)) << int(c.unicode());
}

TEST(PackedDigits, PacksTwoPerByteFirstInTheLowNibbleWithUnusedNibblesF)
{
    EXPECT_EQ(PackDigits("12AB*#", 8), (Bytes{0x06, 0x21, 0xBA, 0xFE, 0xFF}));
    EXPECT_EQ(PackDigits("", 8), (Bytes{0x00, 0xFF, 0xFF, 0xFF, 0xFF}));
    // Too long a text keeps its first digits; a foreign character is stored as "#".
    EXPECT_EQ(PackDigits("123456789", 8), (Bytes{0x08, 0x21, 0x43, 0x65, 0x87}));
    EXPECT_EQ(PackDigits("1x2", 8), (Bytes{0x03, 0xF1, 0xF2, 0xFF, 0xFF}));
}

TEST(PackedDigits, UnpackShowsExactlyCountDigitsAndClipsACountBeyondTheField)
{
    EXPECT_EQ(UnpackDigits(Bytes{0x06, 0x21, 0xBA, 0xFE, 0xFF}, 8), "12AB*#");
    EXPECT_EQ(UnpackDigits(Bytes{0x03, 0xF1, 0xF2, 0xFF, 0xFF}, 8), "1#2");   // F is a digit too
    EXPECT_EQ(UnpackDigits(Bytes{0x00, 0x21, 0x43, 0x65, 0x87}, 8), "");
    // Counts from a foreign file.
    EXPECT_EQ(UnpackDigits(Bytes{0xFF, 0x21, 0x43, 0x65, 0x87}, 8), "12345678");
    EXPECT_EQ(UnpackDigits(Bytes{0x09, 0x21, 0x43, 0x65, 0x87}, 8), "12345678");
    // A span shorter than the capacity claims is never read past.
    EXPECT_EQ(UnpackDigits(Bytes{0x08, 0x21}, 8), "12");
    EXPECT_EQ(UnpackDigits(Bytes{}, 8), "");

    // In the record the last field sits right before the band byte: reading it
    // with a huge count must not reach that byte.
    RadioData data;
    const DigitCodeField last{rec::dtmf::encode(9), rec::dtmf::kEncodeDigits};
    data.record.set(U8Field{last.offset}, 200);
    data.record.set(rec::freq_band, 0x21);
    EXPECT_EQ(ReadDigitCode(data.record, last).size(), 24);
}

TEST(PackedDigits, WriteTouchesOnlyItsFieldAndReadsBack)
{
    RadioData data;
    const DigitCodeField second{rec::five_tone::encode(1), rec::five_tone::kEncodeDigits};
    const auto before = data.record;
    WriteDigitCode(data.record, second, "9D*");
    EXPECT_EQ(ReadDigitCode(data.record, second), "9D*");
    EXPECT_FALSE(IsEmptyDigitCode(data.record, second));
    for (std::size_t i = 0; i < RadioRecord::kSize; ++i)
        if (i < second.offset || i >= second.offset + 5u)
            ASSERT_EQ(data.record.bytes()[i], before.bytes()[i]) << i;
    WriteDigitCode(data.record, second, "");
    EXPECT_TRUE(IsEmptyDigitCode(data.record, second));
    EXPECT_EQ(data.record.get(U32Field{uint16_t(second.offset + 1)}), 0xFFFFFFFFu);
}

TEST(CodeTextFilter, KeepsOnlyDigitCharactersUpToTheCapacity)
{
    EXPECT_EQ(FilterDigitCodeText("1x2", 8), "12");   // not stored as 1#2
    EXPECT_EQ(FilterDigitCodeText("1a2bC*#d", 8), "12C*#");   // lower case is no digit
    EXPECT_EQ(FilterDigitCodeText(QString(25, '5'), 24), QString(24, '5'));
    EXPECT_EQ(FilterDigitCodeText("", 8), "");
}
