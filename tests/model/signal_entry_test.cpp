#include "model/signal_entry.h"
#include <gtest/gtest.h>

using namespace k3n;

TEST(LeadTimeEntry, FilterKeepsFourDigits)
{
    EXPECT_EQ(FilterDecimalText("12345", kLeadTimeDigits), "1234");
    EXPECT_EQ(FilterDecimalText("1x2", kLeadTimeDigits), "12");
    EXPECT_EQ(FilterDecimalText("-5 0", kLeadTimeDigits), "50");
}

TEST(LeadTimeEntry, ClampsTo100Through3000)
{
    EXPECT_EQ(LeadTimeFromText("50"), 100);
    EXPECT_EQ(LeadTimeFromText(""), 100);
    EXPECT_EQ(LeadTimeFromText("100"), 100);
    EXPECT_EQ(LeadTimeFromText("2500"), 2500);
    EXPECT_EQ(LeadTimeFromText("3000"), 3000);
    EXPECT_EQ(LeadTimeFromText("9999"), 3000);
    EXPECT_EQ(LeadTimeFromText("65636"), 3000);    // no wrap to a small value
    EXPECT_EQ(LeadTimeFromText("1x2"), std::nullopt);
}

TEST(TenthsEntry, FilterKeepsTheFirstPointAndFourCharacters)
{
    EXPECT_EQ(FilterTenthsText("1.2.3"), "1.23");
    EXPECT_EQ(FilterTenthsText("."), "");
    EXPECT_EQ(FilterTenthsText("12345"), "1234");
    EXPECT_EQ(FilterTenthsText("2,5s"), "25");
    EXPECT_EQ(FilterTenthsText(".5"), ".5");
}

TEST(TenthsEntry, TruncatesAndClampsTo1Through250)
{
    EXPECT_EQ(TenthsFromText("2.5"), 25);
    EXPECT_EQ(TenthsFromText("0.05"), 1);
    EXPECT_EQ(TenthsFromText("30"), 250);
    EXPECT_EQ(TenthsFromText("1.23"), 12);
    EXPECT_EQ(TenthsFromText(""), 1);
    EXPECT_EQ(TenthsFromText("."), 1);
    EXPECT_EQ(TenthsFromText("5."), 50);
    EXPECT_EQ(TenthsFromText(".7"), 7);
    // Decimal digits are read exactly: no binary fraction shaves a tenth off.
    for (int tenths = 1; tenths <= 250; ++tenths)
        ASSERT_EQ(TenthsFromText(TenthsText(uint8_t(tenths))), tenths) << tenths;
}

TEST(TenthsEntry, TextIsTheShortestDecimal)
{
    EXPECT_EQ(TenthsText(1), "0.1");
    EXPECT_EQ(TenthsText(10), "1");
    EXPECT_EQ(TenthsText(25), "2.5");
    EXPECT_EQ(TenthsText(250), "25");
    EXPECT_EQ(TenthsText(0), "0");
}
