// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/value_codings.h"
#include <gtest/gtest.h>

using namespace k3n;

TEST(FrequencyText, FormatDropsTheHertzDigitWithoutRoundingAndParseIsExactToSixDecimals)
{
    const std::pair<uint32_t, const char*> shown[] = {{0, "0"},
                                                      {136025000, "136.02500"},
                                                      {136012500, "136.01250"},
                                                      {446006250, "446.00625"},
                                                      {174000000, "174.00000"},
                                                      {136012345, "136.01234"},
                                                      {5000000, "005.00000"}};
    for (const auto& [hz, text] : shown)
        EXPECT_EQ(FormatFrequency(hz), text) << hz;

    const std::pair<const char*, uint32_t> parsed[] = {{"", 0},
                                                       {"136.025", 136025000},
                                                       {"136", 136000000},
                                                       {"136.", 136000000},
                                                       {"145.5", 145500000},
                                                       {".5", 500000},
                                                       {"136.0125678", 136012567},   // beyond six decimals: cut
                                                       {"999999999", UINT32_MAX}};   // saturates instead of wrapping
    for (const auto& [text, hz] : parsed)
        EXPECT_EQ(ParseFrequencyText(text), hz) << text;
    // Every 6.25 kHz channel of a band reads back exactly from its own text.
    for (uint32_t hz = 400000000; hz <= 401000000; hz += 6250)
        ASSERT_EQ(ParseFrequencyText(FormatFrequency(hz)), hz - hz % 10) << hz;
}

TEST(SubAudio, FormatCoversBothTablesAndMarksForeignCodes)
{
    const struct {
        int code;
        bool inverted;
        const char* text;
    } shown[] = {{0, true, "Off"},     {1, false, "62.5"},    {51, true, "254.1"}, {128, false, "D023N"},
                 {128, true, "D023I"}, {220, false, "D645N"}, {231, true, "D754I"}};
    for (const auto& c : shown)
        EXPECT_EQ(FormatSubAudio(uint8_t(c.code), c.inverted), c.text) << c.code;
    for (int code : {52, 100, 127, 232, 255})
        EXPECT_EQ(FormatSubAudio(uint8_t(code), false), "?") << code;
}

TEST(SubAudio, ListPositionsMapToCodesAndBackByText)
{
    const QStringList& list = SubAudioList();
    ASSERT_EQ(list.size(), 260);
    EXPECT_EQ(list[52], "D023N");
    EXPECT_EQ(list[155], "D754N");
    EXPECT_EQ(list[156], "D023I");
    EXPECT_EQ(list.indexOf("D645N") - list.indexOf("D632N"), 1);

    // Round trip: every list position's code shows as that entry's text;
    // a tone keeps the stored polarity, a DCS code sets it.
    for (int p = 0; p < 260; ++p) {
        const auto choice = SubAudioFromListPosition(p);
        EXPECT_EQ(FormatSubAudio(choice.code, choice.inverted), list[p]) << p;
        EXPECT_EQ(choice.keepPolarity, p < 52) << p;
    }
}

TEST(UserTones, CtcssClampsAndDcsReadsDigitsAsDecimal)
{
    EXPECT_DOUBLE_EQ(ParseUserCtcss("300"), 262.0);
    EXPECT_EQ(FormatUserCtcss(ParseUserCtcss("300")), "262");
    EXPECT_DOUBLE_EQ(ParseUserCtcss("50"), 62.5);
    EXPECT_DOUBLE_EQ(ParseUserCtcss("88.5"), 88.5);
    EXPECT_EQ(FormatUserCtcss(88.5), "88.5");
    EXPECT_DOUBLE_EQ(ParseUserCtcss(""), 62.5);
    EXPECT_DOUBLE_EQ(ParseUserCtcss("."), 62.5);
    EXPECT_EQ(FormatUserCtcss(100), "100");

    EXPECT_EQ(ParseUserDcs("754"), 754);
    EXPECT_EQ(ParseUserDcs("023"), 23);
    EXPECT_EQ(ParseUserDcs(""), 0);
}
