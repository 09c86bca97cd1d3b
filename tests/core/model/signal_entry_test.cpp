// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/signal_entry.h"
#include "model/text_rules.h"
#include <gtest/gtest.h>

using namespace k3n;

// The signalling editors' tests type the everyday values; these are the edges.
TEST(LeadTimeEntry, FilterKeepsFourDigitsAndTheValueIsClampedTo100Through3000)
{
    EXPECT_EQ(KeepDigits("12345", kLeadTimeDigits), "1234");
    EXPECT_EQ(KeepDigits("-5 0", kLeadTimeDigits), "50");
    const std::pair<const char*, std::optional<uint16_t>> cases[] = {
        {"50", 100},          {"", 100},      {"100", 100},
        {"3000", 3000},       {"9999", 3000}, {"65636", 3000},   // no wrap to a small value
        {"1x2", std::nullopt}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(LeadTimeFromText(text), value) << text;
}

TEST(TenthsEntry, FilterKeepsTheFirstPointAndFourCharactersAndTheValueIsClampedTo1Through250)
{
    EXPECT_EQ(KeepDecimalText("1.2.3", kTenthsTextLength), "1.23");
    EXPECT_EQ(KeepDecimalText(".", kTenthsTextLength), "");
    EXPECT_EQ(KeepDecimalText("12345", kTenthsTextLength), "1234");
    EXPECT_EQ(KeepDecimalText("2,5s", kTenthsTextLength), "25");
    EXPECT_EQ(KeepDecimalText(".5", kTenthsTextLength), ".5");
    const std::pair<const char*, uint8_t> cases[] = {{"2.5", 25}, {"0.05", 1}, {"30", 250}, {"1.23", 12},
                                                     {"", 1},     {".", 1},    {"5.", 50},  {".7", 7}};
    for (const auto& [text, tenths] : cases)
        EXPECT_EQ(TenthsFromText(text), tenths) << text;
    // Decimal digits are read exactly: no binary fraction shaves a tenth off.
    for (int tenths = 1; tenths <= 250; ++tenths)
        ASSERT_EQ(TenthsFromText(TenthsText(uint8_t(tenths))), tenths) << tenths;
}

TEST(TenthsEntry, TextIsTheShortestDecimal)
{
    const std::pair<uint8_t, const char*> cases[] = {{1, "0.1"}, {10, "1"}, {25, "2.5"}, {250, "25"}, {0, "0"}};
    for (const auto& [tenths, text] : cases)
        EXPECT_EQ(TenthsText(tenths), text) << int(tenths);
}
