// SPDX-License-Identifier: GPL-3.0-or-later
// Which writes ask before they replace factory data.
#include "service/service_requests.h"

#include <cstring>
#include <gtest/gtest.h>

namespace k3n {
namespace {

TEST(FactoryDataQuestion, AsksForWhatWouldBeOverwrittenWithoutHavingBeenRead)
{
    using K = TransferKind;
    const std::optional<OwnText> none;
    const struct {
        K kind;
        bool apcRead, adjustmentRead;
        std::optional<OwnText> question;
    } rows[] = {
        {K::PowerTuning, false, true, OwnText::AskWritePowerTuningNotRead},
        {K::PowerTuning, true, false, none},
        {K::Adjustment, true, false, OwnText::AskWriteAdjustmentNotRead},
        {K::Adjustment, false, true, none},
        {K::FrequencyBand, false, false, OwnText::AskWriteFactoryDataNotRead},
        {K::FrequencyBand, false, true, OwnText::AskWritePowerTuningNotRead},
        {K::FrequencyBand, true, false, OwnText::AskWriteAdjustmentNotRead},
        {K::FrequencyBand, true, true, none},
        {K::Configuration, false, false, none},
    };
    RadioData radio;
    for (const auto& row : rows) {
        ServiceData service;
        service.apc_read_from_radio = row.apcRead;
        service.adjustment_read_from_radio = row.adjustmentRead;
        EXPECT_EQ(FactoryDataQuestion({row.kind, Direction::Write}, service, radio), row.question) << int(row.kind);
        EXPECT_EQ(FactoryDataQuestion({row.kind, Direction::Read}, service, radio), none) << "reads never ask";
    }
}

TEST(FactoryDataQuestion, SerialNumbersThatAreEmptyOrAllZerosAsk)
{
    const std::pair<const char*, bool> rows[] = {{"", true},          {"0", true},         {"00000000", true},
                                                 {"00000001", false}, {"12345678", false}, {"10", false}};
    ServiceData service;
    for (const auto& [digits, asks] : rows) {
        RadioData radio;
        std::memcpy(radio.radio_serial_number.data(), digits, std::strlen(digits));
        EXPECT_EQ(FactoryDataQuestion({TransferKind::SerialNumber, Direction::Write}, service, radio).has_value(), asks)
            << digits;
    }
}

TEST(FactoryDataQuestion, OnlyASuccessfulReadMarksTheFieldsAsRead)
{
    ServiceData service;
    NoteServiceReadOutcome({TransferKind::PowerTuning, Direction::Read}, true, service);
    NoteServiceReadOutcome({TransferKind::Adjustment, Direction::Read}, true, service);
    EXPECT_TRUE(service.apc_read_from_radio && service.adjustment_read_from_radio);
    NoteServiceReadOutcome({TransferKind::PowerTuning, Direction::Write}, false, service);   // a write changes nothing
    EXPECT_TRUE(service.apc_read_from_radio);
    NoteServiceReadOutcome({TransferKind::PowerTuning, Direction::Read}, false, service);
    EXPECT_FALSE(service.apc_read_from_radio);
    EXPECT_TRUE(service.adjustment_read_from_radio);
}

}   // namespace
}   // namespace k3n
