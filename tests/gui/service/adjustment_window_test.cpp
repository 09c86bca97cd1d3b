// SPDX-License-Identifier: GPL-3.0-or-later
#include "service/adjustment_window.h"
#include "service_window_driver.h"
#include <QComboBox>
#include <QToolButton>

using namespace k3n;
using namespace k3n::test;

namespace {

class AdjustmentWindow : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(ShowActive(dlg)); }

    // Picks the entry with the keyboard while the list has the focus, then tabs on.
    void pickAndLeave(QComboBox* list, int position)
    {
        list->setFocus(Qt::TabFocusReason);
        QTest::keyClick(list, Qt::Key_Home);
        for (int i = 0; i < position; ++i)
            QTest::keyClick(list, Qt::Key_Down);
        ASSERT_EQ(list->currentIndex(), position);
        Leave(dlg.eModFineOutputGain);
    }

    ServiceRun run;
    TAdjustmentDlg dlg{run.context()};
};

}   // namespace

TEST_F(AdjustmentWindow, OpeningShowsEveryFieldInItsList)
{
    EXPECT_EQ(TAdjustmentDlg::InputGainTexts(),
              (QStringList{"0 dB", "3.2 dB", "6.4 dB", "9.6 dB", "12.8 dB", "16 dB", "19.2 dB", "22.4 dB"}));
    EXPECT_EQ(TAdjustmentDlg::OutputGainTexts(),
              (QStringList{"mute", "-19.2 dB", "-16 dB", "-12.8 dB", "-9.6 dB", "-6.4 dB", "-3.2 dB", "0 dB"}));

    ServiceRun run;
    ServiceData& s = run.service;
    s.adj_mic_input = 1;
    s.adj_mod_output = 2;
    s.adj_ctcss_freq = 60;
    s.adj_disc_input = 3;
    s.adj_audio_output = 7;
    s.adj_mod_fine_output_gain = 16383;
    s.adj_max_mod_limit = 42;
    s.adj_ctcss_level = 4095;
    s.firmware_model = 0x00AB;
    s.firmware_band = 2;
    s.firmware_version = 0x0105;
    TAdjustmentDlg dlg(run.context());
    EXPECT_EQ(dlg.cbMicInput->currentText(), "3.2 dB");
    EXPECT_EQ(dlg.cbModOutput->currentText(), "-16 dB");
    EXPECT_EQ(dlg.cbSubAudio->currentText(), "D053N");
    EXPECT_EQ(dlg.cbDiscInput->currentText(), "9.6 dB");
    EXPECT_EQ(dlg.cbAudioOutput->currentText(), "0 dB");
    EXPECT_EQ(dlg.eModFineOutputGain->text(), "16383");
    EXPECT_EQ(dlg.eMaxModLimit->text(), "42");
    EXPECT_EQ(dlg.eCtcssLevel->text(), "4095");
    // Upper-case hexadecimal without leading zeros.
    EXPECT_EQ(dlg.labModel->text(), "AB");
    EXPECT_EQ(dlg.labBand->text(), "2");
    EXPECT_EQ(dlg.labVersion->text(), "105");
    // The CTCSS tones with "Off" first, then the normal-polarity DCS codes.
    ASSERT_EQ(dlg.cbSubAudio->count(), 156);
    for (auto [index, text] : {std::pair{0, "Off"}, {1, "62.5"}, {51, "254.1"}, {52, "D023N"}, {155, "D754N"}})
        EXPECT_EQ(dlg.cbSubAudio->itemText(index), text);
}

TEST_F(AdjustmentWindow, LeavingAListStoresItsPositionButTheCtcssListStoresNothing)
{
    // A value the list lacks selects nothing, and leaving the list keeps it.
    run.service.adj_mic_input = 9;
    dlg.RefreshAll();
    EXPECT_EQ(dlg.cbMicInput->currentIndex(), -1);
    dlg.cbMicInput->setFocus(Qt::TabFocusReason);
    Leave(dlg.eCtcssLevel);
    EXPECT_EQ(run.service.adj_mic_input, 9);

    pickAndLeave(dlg.cbMicInput, 5);
    pickAndLeave(dlg.cbModOutput, 7);
    pickAndLeave(dlg.cbDiscInput, 1);
    pickAndLeave(dlg.cbAudioOutput, 3);
    pickAndLeave(dlg.cbSubAudio, 20);
    ServiceData expected;
    expected.adj_mic_input = 5;
    expected.adj_mod_output = 7;
    expected.adj_disc_input = 1;
    expected.adj_audio_output = 3;
    EXPECT_EQ(run.service, expected);
}

TEST_F(AdjustmentWindow, NumberBoxesFilterTrimClampAndKeepTheFieldWhenLeftEmpty)
{
    TypeInto(dlg.eMaxModLimit, "123456");
    EXPECT_EQ(dlg.eMaxModLimit->text(), "12345");
    Leave(dlg.eCtcssLevel);
    EXPECT_EQ(run.service.adj_max_mod_limit, 12345);

    TypeAndLeave(dlg.eModFineOutputGain, "20000", dlg.eCtcssLevel);
    EXPECT_EQ(run.service.adj_mod_fine_output_gain, 16383);
    EXPECT_EQ(dlg.eModFineOutputGain->text(), "16383");

    TypeAndLeave(dlg.eCtcssLevel, "5000", dlg.eModFineOutputGain);
    EXPECT_EQ(run.service.adj_ctcss_level, 4095);
    EXPECT_EQ(dlg.eCtcssLevel->text(), "4095");

    TypeAndLeave(dlg.eCtcssLevel, "4a0-9", dlg.eModFineOutputGain);
    EXPECT_EQ(run.service.adj_ctcss_level, 409);

    QString notice;
    ModalWatcher watcher([&notice](QDialog* d) {
        notice = NoticeText(d);
        d->accept();
    });
    TypeAndLeave(dlg.eCtcssLevel, "", dlg.eModFineOutputGain);
    EXPECT_EQ(notice, "'' is not a valid integer value");
    EXPECT_EQ(run.service.adj_ctcss_level, 409);
    EXPECT_EQ(dlg.eCtcssLevel->text(), "409");
}

TEST_F(AdjustmentWindow, ArrowsStepByOneFromWhatIsTypedWithinTheRangeAndStore)
{
    QToolButton* up = dlg.udCtcssLevel->upButton();
    QTest::mouseClick(dlg.udCtcssLevel->downButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.eCtcssLevel->text(), "0");
    QTest::mouseClick(up, Qt::LeftButton);
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(run.service.adj_ctcss_level, 2);
    EXPECT_EQ(dlg.eCtcssLevel->text(), "2");

    TypeInto(dlg.eCtcssLevel, "4094");
    QTest::mouseClick(up, Qt::LeftButton);
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(dlg.eCtcssLevel->text(), "4095");
    EXPECT_EQ(run.service.adj_ctcss_level, 4095);

    TypeInto(dlg.eModFineOutputGain, "99999");
    QTest::mouseClick(dlg.udModFineOutputGain->downButton(), Qt::LeftButton);
    EXPECT_EQ(run.service.adj_mod_fine_output_gain, 16382);
    QTest::mouseClick(dlg.udMaxModLimit->upButton(), Qt::LeftButton);
    EXPECT_EQ(run.service.adj_max_mod_limit, 1);
}

TEST_F(AdjustmentWindow, TransfersAndWhatTheWindowShowsAfterwards)
{
    bool succeed = false;
    run.session = [&](const ServiceTransferRequest& r) {
        if (succeed && r.kind == TransferKind::FirmwareInfo) {
            run.service.firmware_model = 1;
            run.service.firmware_band = 0x2C;
            run.service.firmware_version = 0x0105;
        }
        if (r == ServiceTransferRequest{TransferKind::Adjustment, Direction::Read}) {
            run.service.adj_mic_input = 6;
            run.service.adj_mod_fine_output_gain = 777;
        }
        return succeed;
    };
    // A failed read changes nothing shown.
    QTest::mouseClick(dlg.bRead, Qt::LeftButton);
    EXPECT_EQ(dlg.cbMicInput->currentText(), "0 dB");
    EXPECT_EQ(dlg.eModFineOutputGain->text(), "0");

    succeed = true;
    TypeInto(dlg.eModFineOutputGain, "321");
    dlg.bWrite->click();
    EXPECT_EQ(run.service.adj_mod_fine_output_gain, 321) << "typed text is stored before the write";

    QTest::mouseClick(dlg.Button1, Qt::LeftButton);
    EXPECT_EQ(dlg.labModel->text(), "1");
    EXPECT_EQ(dlg.labBand->text(), "2C");
    EXPECT_EQ(dlg.labVersion->text(), "105");

    QTest::mouseClick(dlg.bRead, Qt::LeftButton);
    EXPECT_EQ(dlg.cbMicInput->currentText(), "19.2 dB");
    EXPECT_EQ(dlg.eModFineOutputGain->text(), "777");

    EXPECT_EQ(run.requests,
              (std::vector<ServiceTransferRequest>{{TransferKind::Adjustment, Direction::Read},
                                                   {TransferKind::Adjustment, Direction::Write},
                                                   {TransferKind::FirmwareInfo, Direction::Read},
                                                   {TransferKind::Adjustment, Direction::Read}}));
}

TEST_F(AdjustmentWindow, OpensThePowerTuningAndSerialNumberWindows)
{
    ModalWatcher watcher;
    QTest::mouseClick(dlg.bApcTune, Qt::LeftButton);
    QTest::mouseClick(dlg.bWriteSn, Qt::LeftButton);
    EXPECT_EQ(watcher.opened, (std::vector<std::string>{"k3n::TApcTuneDlg", "k3n::TWriteSnDlg"}));
}
