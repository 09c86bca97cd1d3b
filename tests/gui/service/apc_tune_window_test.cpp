// SPDX-License-Identifier: GPL-3.0-or-later
#include "service/apc_tune_window.h"
#include "service_window_driver.h"
#include <QClipboard>

using namespace k3n;
using namespace k3n::test;

namespace {

// Every box's name and the field it shows, as the window's table says.
using BoxValue = std::pair<std::string, std::function<int(const ServiceData&)>>;

std::vector<BoxValue> allBoxes()
{
    std::vector<BoxValue> boxes;
    const std::pair<const char*, Tuning3 ServiceData::*> rows[] = {
        {"eLowPower_", &ServiceData::apc_low_power},    {"eHighPower_", &ServiceData::apc_high_power},
        {"eMaxDev_", &ServiceData::apc_max_dev},        {"eCTCSS_625_", &ServiceData::apc_ctcss_625},
        {"eCTCSS_1318_", &ServiceData::apc_ctcss_1318}, {"eCTCSS_2541_", &ServiceData::apc_ctcss_2541},
        {"eDCS_031_", &ServiceData::apc_dcs_031},       {"eRxTuningVoltage_", &ServiceData::apc_rx_tuning_voltage},
    };
    const char* columns[] = {"LowFreq", "MiddleFreq", "HighFreq"};
    for (auto [prefix, field] : rows)
        for (int f = 0; f < 3; ++f)
            boxes.emplace_back(std::string(prefix) + columns[f],
                               [field, f](const ServiceData& d) { return (d.*field)[f]; });
    const std::pair<const char*, uint16_t ServiceData::*> levels[] = {{"eSqLevel_1", &ServiceData::apc_sq_level_1},
                                                                      {"eSqLevel_9", &ServiceData::apc_sq_level_9},
                                                                      {"eVoxLevel_1", &ServiceData::apc_vox_level_1},
                                                                      {"eVoxLevel_6", &ServiceData::apc_vox_level_6}};
    for (auto [name, field] : levels)
        boxes.emplace_back(name, [field](const ServiceData& d) { return d.*field; });
    return boxes;
}

// Distinct values in every field, so a box bound to the wrong field shows.
void fillDistinct(ServiceData& d, int base)
{
    int v = base;
    for (Tuning3* t : {&d.apc_low_power, &d.apc_high_power, &d.apc_max_dev, &d.apc_ctcss_625, &d.apc_ctcss_1318,
                       &d.apc_ctcss_2541, &d.apc_dcs_031, &d.apc_rx_tuning_voltage})
        for (uint8_t& b : *t)
            b = uint8_t(v++);
    d.apc_sq_level_1 = uint16_t(700 + base);
    d.apc_sq_level_9 = uint16_t(800 + base);
    d.apc_vox_level_1 = uint16_t(900 + base);
    d.apc_vox_level_6 = uint16_t(1000 + base);
}

class ApcTuneWindow : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(ShowActive(dlg)); }
    QLineEdit* box(const std::string& name)
    {
        auto* found = dlg.findChild<QLineEdit*>(QString::fromStdString(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    ServiceRun run;
    TApcTuneDlg dlg{run.context()};
};

}   // namespace

TEST_F(ApcTuneWindow, TypingKeepsDigitsOnlyAndLeavingStoresAndClamps)
{
    TypeInto(box("eMaxDev_HighFreq"), "1a-2 b");
    EXPECT_EQ(box("eMaxDev_HighFreq")->text(), "12");
    TypeInto(box("eSqLevel_1"), "12345");
    EXPECT_EQ(box("eSqLevel_1")->text(), "1234");
    TypeInto(box("eVoxLevel_6"), "9x99");
    QTest::keyClick(box("eVoxLevel_6"), Qt::Key_Backspace);   // a control key: passes
    EXPECT_EQ(box("eVoxLevel_6")->text(), "99");

    const struct {
        const char* name;
        const char* typed;
        int stored;
    } rows[] = {
        {"eLowPower_LowFreq", "1234", 123}, {"eHighPower_MiddleFreq", "999", 255}, {"eDCS_031_HighFreq", "256", 255},
        {"eDCS_031_HighFreq", "007", 7},    {"eSqLevel_9", "1999", 1023},          {"eVoxLevel_1", "291", 291},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TypeAndLeave(box(row.name), row.typed, dlg.bRead);
        EXPECT_EQ(box(row.name)->text(), QString::number(row.stored));
    }
    // Each value went to its own field and nothing else moved.
    ServiceData expected;
    expected.apc_low_power[0] = 123;
    expected.apc_high_power[1] = 255;
    expected.apc_dcs_031[2] = 7;
    expected.apc_sq_level_9 = 1023;
    expected.apc_vox_level_1 = 291;
    expected.apc_max_dev[2] = 12;
    expected.apc_sq_level_1 = 1023;
    expected.apc_vox_level_6 = 99;
    EXPECT_EQ(run.service, expected);
}

TEST_F(ApcTuneWindow, LeavingAnEmptyBoxReportsItAndKeepsTheFieldButClosingIsNotLeaving)
{
    run.service.apc_max_dev[0] = 77;
    dlg.RefreshAll();
    QString notice;
    {
        ModalWatcher watcher([&notice](QDialog* d) {
            notice = NoticeText(d);
            d->accept();
        });
        TypeAndLeave(box("eMaxDev_LowFreq"), "", box("eLowPower_LowFreq"));
        EXPECT_EQ(watcher.opened, std::vector<std::string>{"k3n::TUserWarnDlg"});
    }
    EXPECT_EQ(notice, "'' is not a valid integer value");
    EXPECT_EQ(run.service.apc_max_dev[0], 77);
    EXPECT_EQ(box("eMaxDev_LowFreq")->text(), "77");

    ModalWatcher watcher;
    TypeInto(box("eMaxDev_LowFreq"), "");
    QTest::keyClick(&dlg, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(watcher.opened.empty()) << "no conversion message while the window goes";
    EXPECT_EQ(run.service.apc_max_dev[0], 77);
}

TEST_F(ApcTuneWindow, PastedTextIsCleanedLikeTypedText)
{
    QLineEdit* b = box("eCTCSS_1318_MiddleFreq");
    b->setFocus(Qt::TabFocusReason);
    b->selectAll();
    QApplication::clipboard()->setText("x2y5z7q9");
    QTest::keyClick(b, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(b->text(), "257");
    Leave(box("eLowPower_LowFreq"));
    EXPECT_EQ(run.service.apc_ctcss_1318[1], 255);
}

TEST_F(ApcTuneWindow, ButtonsAskForTheirTransfersWithWhatWasTypedAndReadShowsEveryFieldOnlyAfterSuccess)
{
    EXPECT_EQ(dlg.windowTitle(), "WriteAll");
    std::vector<uint16_t> voxSeenBySession;
    bool succeed = true;
    run.session = [&](const ServiceTransferRequest& r) {
        voxSeenBySession.push_back(run.service.apc_vox_level_1);
        if (r.direction == Direction::Read)
            fillDistinct(run.service, 40);
        return succeed;
    };
    // Typed but not left: the button still sends it (from the keyboard, no focus change).
    TypeInto(box("eVoxLevel_1"), "291");
    dlg.bWrite->click();
    TypeInto(box("eVoxLevel_1"), "300");
    dlg.bWriteAll->click();
    EXPECT_EQ(voxSeenBySession, (std::vector<uint16_t>{291, 300}));

    succeed = false;
    dlg.bRead->click();
    EXPECT_EQ(box("eLowPower_LowFreq")->text(), "0");
    succeed = true;
    QTest::mouseClick(dlg.bRead, Qt::LeftButton);
    ASSERT_EQ(allBoxes().size(), 28u);
    for (const auto& [name, value] : allBoxes())
        EXPECT_EQ(box(name)->text(), QString::number(value(run.service))) << name;
    EXPECT_EQ(box("eVoxLevel_6")->text(), "1040");
    EXPECT_EQ(run.requests,
              (std::vector<ServiceTransferRequest>{{TransferKind::PowerTuning, Direction::Write},
                                                   {TransferKind::FrequencyBand, Direction::Write},
                                                   {TransferKind::PowerTuning, Direction::Read},
                                                   {TransferKind::PowerTuning, Direction::Read}}));
}
