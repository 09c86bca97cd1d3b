#include "model/value_codings.h"
#include <gtest/gtest.h>

using namespace k3n;

TEST(FrequencyText, FormatDropsTheHertzDigitWithoutRounding)
{
    EXPECT_EQ(FormatFrequency(0), "0");
    EXPECT_EQ(FormatFrequency(136025000), "136.02500");
    EXPECT_EQ(FormatFrequency(136012500), "136.01250");
    EXPECT_EQ(FormatFrequency(446006250), "446.00625");
    EXPECT_EQ(FormatFrequency(174000000), "174.00000");
    EXPECT_EQ(FormatFrequency(136012345), "136.01234");
    EXPECT_EQ(FormatFrequency(5000000), "005.00000");
}

TEST(FrequencyText, ParseIsExactToSixDecimals)
{
    EXPECT_EQ(ParseFrequencyText(""), 0u);
    EXPECT_EQ(ParseFrequencyText("136.025"), 136025000u);
    EXPECT_EQ(ParseFrequencyText("136"), 136000000u);
    EXPECT_EQ(ParseFrequencyText("136."), 136000000u);
    EXPECT_EQ(ParseFrequencyText("145.5"), 145500000u);
    EXPECT_EQ(ParseFrequencyText(".5"), 500000u);
    EXPECT_EQ(ParseFrequencyText("136.0125678"), 136012567u);   // beyond six decimals: cut
    EXPECT_EQ(ParseFrequencyText("999999999"), UINT32_MAX);      // saturates instead of wrapping
    // Every 6.25 kHz channel of a band reads back exactly from its own text.
    for (uint32_t hz = 400000000; hz <= 401000000; hz += 6250)
        ASSERT_EQ(ParseFrequencyText(FormatFrequency(hz)), hz - hz % 10) << hz;
}

TEST(SubAudio, FormatCoversBothTablesAndMarksForeignCodes)
{
    EXPECT_EQ(FormatSubAudio(0, true), "Off");
    EXPECT_EQ(FormatSubAudio(1, false), "62.5");
    EXPECT_EQ(FormatSubAudio(51, true), "254.1");
    EXPECT_EQ(FormatSubAudio(128, false), "D023N");
    EXPECT_EQ(FormatSubAudio(128, true), "D023I");
    EXPECT_EQ(FormatSubAudio(220, false), "D645N");
    EXPECT_EQ(FormatSubAudio(231, true), "D754I");
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
