// SPDX-License-Identifier: GPL-3.0-or-later
// The service windows against an emulated radio on the simulated clock: each
// button runs a real programming session, as the session window would.
#include "model/record_layout.h"
#include "programming/session.h"
#include "programming/session_runner.h"
#include "service/adjustment_window.h"
#include "service/apc_tune_window.h"
#include "service/service_requests.h"
#include "service/write_sn_window.h"
#include "service_window_driver.h"
#include "virtualradio/emulated_radio.h"
#include <QComboBox>

using namespace k3n;
using namespace k3n::test;

namespace {

using Bytes = std::vector<uint8_t>;
const ProgramTime kTime{2024, 5, 6, 7, 8};

// The windows' transfers run as blocking sessions against the radio.
class ServiceOnRadio : public ::testing::Test {
protected:
    void SetUp() override
    {
        run.session = [this](const ServiceTransferRequest& request) {
            const auto sessionRequest = MakeServiceSessionRequest(request, run.service, run.radio, kTime);
            if (!sessionRequest)
                return false;
            ProgrammingSession session(*sessionRequest, PortPlan{false, {radio.devicePath()}});
            outcomes.push_back(SessionRunner(session).Run());
            if (outcomes.back() != SessionOutcome::Success)
                return false;
            StoreServiceReply(request, session.serviceReply(), run.service, run.radio);
            return true;
        };
    }

    // The write frames the radio received, in order.
    std::vector<ReceivedFrame> writes() const
    {
        std::vector<ReceivedFrame> w;
        for (const ReceivedFrame& f : radio.frames())
            if (f.command == link::Command::WriteMemory)
                w.push_back(f);
        return w;
    }

    Bytes memoryAt(uint16_t address, std::size_t size) const
    {
        const MemoryImage m = radio.memory();
        return Bytes(m.begin() + address, m.begin() + address + size);
    }

    bool endFrameArrived() const
    {
        return radio.WaitFor([](const RadioEmulator& e) { return e.endFrames() == 1; }, std::chrono::seconds(5));
    }

    ServiceRun run;
    EmulatedSessions emulated;
    EmulatedRadio radio{VirtualRadioOptions{}};
    std::vector<SessionOutcome> outcomes;
};

}   // namespace

TEST_F(ServiceOnRadio, AdjustmentWriteSendsSixBytesOnlyAndReadBringsThemBack)
{
    run.service.adj_mic_input = 1;
    run.service.adj_mod_output = 2;
    run.service.adj_disc_input = 3;
    run.service.adj_audio_output = 4;
    TAdjustmentDlg dlg(run.context());
    ASSERT_TRUE(ShowActive(dlg));
    TypeAndLeave(dlg.eModFineOutputGain, "20000", dlg.eMaxModLimit);
    // These have no place in the radio: whatever they hold, the bytes are the same.
    TypeAndLeave(dlg.eMaxModLimit, "9999", dlg.eCtcssLevel);
    TypeAndLeave(dlg.eCtcssLevel, "4000", dlg.eModFineOutputGain);
    MemoryImage expected = radio.memory();

    QTest::mouseClick(dlg.bWrite, Qt::LeftButton);
    const auto w = writes();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].address, 0x0FF0);
    EXPECT_EQ(w[0].data, (Bytes{0x01, 0x02, 0xFF, 0x3F, 0x03, 0x04}));
    ASSERT_TRUE(endFrameArrived());
    std::copy(w[0].data.begin(), w[0].data.end(), expected.begin() + 0x0FF0);
    EXPECT_EQ(radio.memory(), expected) << "nothing but the adjustment area changed";

    run.service = ServiceData{};
    run.service.adj_max_mod_limit = 500;
    dlg.RefreshAll();
    QTest::mouseClick(dlg.bRead, Qt::LeftButton);
    EXPECT_EQ(outcomes, std::vector<SessionOutcome>(2, SessionOutcome::Success));
    EXPECT_EQ(dlg.cbMicInput->currentText(), "3.2 dB");
    EXPECT_EQ(dlg.cbAudioOutput->currentText(), "-9.6 dB");
    EXPECT_EQ(dlg.eModFineOutputGain->text(), "16383");
    EXPECT_EQ(dlg.eMaxModLimit->text(), "500") << "not in the radio, so not read";
}

TEST_F(ServiceOnRadio, PowerTuningWriteAndReadBack)
{
    {
        TApcTuneDlg dlg(run.context());
        ASSERT_TRUE(ShowActive(dlg));
        TypeAndLeave(dlg.findChild<QLineEdit*>("eVoxLevel_1"), "291", dlg.bWrite);
        TypeAndLeave(dlg.findChild<QLineEdit*>("eDCS_031_HighFreq"), "999", dlg.bWrite);
        QTest::mouseClick(dlg.bWrite, Qt::LeftButton);
    }
    const auto w = writes();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].address, 0x0E20);
    ASSERT_EQ(w[0].data.size(), 32u);
    EXPECT_EQ(w[0].data[9], 0x23);
    EXPECT_EQ(w[0].data[10], 0x01);
    EXPECT_EQ(w[0].data[31], 255);   // DCS 031 at the high test frequency

    // A fresh run of the program reads the same values back from the radio.
    run.service = ServiceData{};
    TApcTuneDlg dlg(run.context());
    ASSERT_TRUE(ShowActive(dlg));
    QTest::mouseClick(dlg.bRead, Qt::LeftButton);
    EXPECT_EQ(outcomes, std::vector<SessionOutcome>(2, SessionOutcome::Success));
    EXPECT_EQ(dlg.findChild<QLineEdit*>("eVoxLevel_1")->text(), "291");
    EXPECT_EQ(dlg.findChild<QLineEdit*>("eDCS_031_HighFreq")->text(), "255");
}

TEST_F(ServiceOnRadio, SerialNumberWriteStepsAndReadShows)
{
    TWriteSnDlg dlg(run.context());
    ASSERT_TRUE(ShowActive(dlg));
    TypeInto(dlg.eSn, "00000001");
    QTest::mouseClick(dlg.Button2, Qt::LeftButton);
    EXPECT_EQ(dlg.eSn->text(), "00000002");
    TypeInto(dlg.eSn, "123");
    QTest::mouseClick(dlg.Button2, Qt::LeftButton);
    EXPECT_EQ(dlg.eSn->text(), "124");

    const auto w = writes();
    ASSERT_EQ(w.size(), 2u);
    EXPECT_EQ(w[0].address, 0x0FE0);
    EXPECT_EQ(w[0].data, (Bytes{0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x31}));
    EXPECT_EQ(w[1].address, 0x0FE0);
    EXPECT_EQ(w[1].data, (Bytes{0x31, 0x32, 0x33, 0, 0, 0, 0, 0}));

    TypeInto(dlg.eSn, "999");
    QTest::mouseClick(dlg.Button1, Qt::LeftButton);
    EXPECT_EQ(dlg.eSn->text(), "123") << "what the radio holds";
}

TEST_F(ServiceOnRadio, WriteAllSendsBandPowerAdjustmentThenTheConfiguration)
{
    run.radio.ResetForBand(3);
    ASSERT_EQ(run.radio.record.get(rec::freq_band), 3);
    run.service.apc_vox_level_1 = 0x0123;
    run.service.adj_mod_fine_output_gain = 16383;
    TApcTuneDlg dlg(run.context());
    ASSERT_TRUE(ShowActive(dlg));

    QTest::mouseClick(dlg.bWriteAll, Qt::LeftButton);

    ASSERT_EQ(outcomes, std::vector<SessionOutcome>{SessionOutcome::Success});
    const auto w = writes();
    ASSERT_GE(w.size(), 4u);
    EXPECT_EQ(w[0].address, 0x0FFF);
    EXPECT_EQ(w[0].data, Bytes{0x81});
    EXPECT_EQ(w[1].address, 0x0E20);
    EXPECT_EQ(w[1].data[9], 0x23);
    EXPECT_EQ(w[2].address, 0x0FF0);
    EXPECT_EQ(w[2].data[2], 0xFF);
    EXPECT_EQ(w[2].data[3], 0x3F);
    EXPECT_EQ(w[3].address, 0x0000);
    EXPECT_EQ(w.back().address, 0x17E0);
    EXPECT_EQ(w.size(), 3u + 54u + 1u + 64u);   // chain, configuration, radio state, channels
    EXPECT_TRUE(endFrameArrived());
    EXPECT_EQ(memoryAt(0x0FFF, 1), Bytes{0x81});
    const MemoryImage image = GetDataForWrite(run.radio, kTime);
    EXPECT_EQ(memoryAt(0x1000, 0x800), Bytes(image.begin() + 0x1000, image.begin() + 0x1800));
}
