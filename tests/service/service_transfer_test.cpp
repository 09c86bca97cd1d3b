// The service windows against the virtual radio on a pseudo-terminal: each
// button runs a real programming session, as the session window would.
#include "programming/session.h"
#include "programming/session_runner.h"
#include "model/record_layout.h"
#include "service/adjustment_dlg.h"
#include "service/apc_tune_dlg.h"
#include "service/service_requests.h"
#include "service/write_sn_dlg.h"
#include "service_window_driver.h"
#include "virtualradio/virtual_radio.h"
#include <QComboBox>
#include <QLabel>

using namespace k3n;
using namespace k3n::test;

namespace {

using Bytes = std::vector<uint8_t>;
const ProgramTime kTime{2024, 5, 6, 7, 8};

// The service fields and a radio on a pty, with the windows' transfers run as
// blocking sessions against it.
class RadioOnPty : public ::testing::Test {
protected:
    void SetUp() override { startRadio({}); }

    void startRadio(VirtualRadioOptions options)
    {
        radio = std::make_unique<VirtualRadio>(options);
        ASSERT_EQ(radio->Start(), std::nullopt);
        run.session = [this](const ServiceTransferRequest& r) { return runSession(r); };
    }

    bool runSession(const ServiceTransferRequest& request)
    {
        const auto sessionRequest = MakeServiceSessionRequest(request, run.service, run.radio, kTime);
        if (!sessionRequest)
            return false;
        ProgrammingSession session(*sessionRequest, PortPlan{false, {radio->device_path()}});
        SessionRunner runner(session);
        outcomes.push_back(runner.Run());
        if (outcomes.back() != SessionOutcome::Success)
            return false;
        StoreServiceReply(request, session.service_reply(), run.service, run.radio);
        return true;
    }

    // The write frames the radio received, in order.
    std::vector<ReceivedFrame> writes() const
    {
        std::vector<ReceivedFrame> w;
        for (const ReceivedFrame& f : radio->frames())
            if (f.command == link::Command::WriteMemory)
                w.push_back(f);
        return w;
    }

    Bytes memoryAt(uint16_t address, std::size_t size) const
    {
        const MemoryImage m = radio->memory();
        return Bytes(m.begin() + address, m.begin() + address + size);
    }

    // The radio serves on its own thread: give the end frame time to arrive.
    bool endFrameArrived() const
    {
        return radio->WaitFor([](const RadioEmulator& e) { return e.end_frames() == 1; },
                              std::chrono::seconds(5));
    }

    void seedMemory(uint16_t address, const Bytes& bytes)
    {
        MemoryImage m = radio->memory();
        std::copy(bytes.begin(), bytes.end(), m.begin() + address);
        radio->set_memory(m);
    }

    ServiceRun run;
    std::unique_ptr<VirtualRadio> radio;
    std::vector<SessionOutcome> outcomes;
};

} // namespace

TEST_F(RadioOnPty, AdjustmentWriteSendsSixBytesAndOnlyThem)
{
    TAdjustmentDlg dlg(run.context());
    ASSERT_TRUE(ShowActive(dlg));
    run.service.adj_mic_input = 1;
    run.service.adj_mod_output = 2;
    run.service.adj_disc_input = 3;
    run.service.adj_audio_output = 4;
    dlg.RefreshAll();
    TypeAndLeave(dlg.eModFineOutputGain, "20000", dlg.eMaxModLimit);
    // These have no place in the radio: whatever they hold, the bytes are the same.
    TypeAndLeave(dlg.eMaxModLimit, "9999", dlg.eCtcssLevel);
    TypeAndLeave(dlg.eCtcssLevel, "4000", dlg.eModFineOutputGain);
    const MemoryImage before = radio->memory();

    QTest::mouseClick(dlg.bWrite, Qt::LeftButton);

    ASSERT_EQ(outcomes, std::vector<SessionOutcome>{SessionOutcome::Success});
    const auto w = writes();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].address, 0x0FF0);
    EXPECT_EQ(w[0].data, (Bytes{0x01, 0x02, 0xFF, 0x3F, 0x03, 0x04}));
    MemoryImage expected = before;
    std::copy(w[0].data.begin(), w[0].data.end(), expected.begin() + 0x0FF0);
    EXPECT_EQ(radio->memory(), expected) << "nothing but the adjustment area changed";
    EXPECT_TRUE(endFrameArrived());
}

TEST_F(RadioOnPty, AdjustmentReadFillsTheWindow)
{
    seedMemory(0x0FF0, {0x05, 0x06, 0x34, 0x12, 0x07, 0x00});
    run.service.adj_max_mod_limit = 500;
    TAdjustmentDlg dlg(run.context());
    ASSERT_TRUE(ShowActive(dlg));
    QTest::mouseClick(dlg.bRead, Qt::LeftButton);
    ASSERT_EQ(outcomes, std::vector<SessionOutcome>{SessionOutcome::Success});
    EXPECT_EQ(run.service.adj_mod_fine_output_gain, 0x1234);
    EXPECT_EQ(dlg.cbMicInput->currentText(), "16 dB");
    EXPECT_EQ(dlg.cbModOutput->currentText(), "-3.2 dB");
    EXPECT_EQ(dlg.eModFineOutputGain->text(), "4660");
    EXPECT_EQ(dlg.cbDiscInput->currentText(), "22.4 dB");
    EXPECT_EQ(dlg.cbAudioOutput->currentText(), "mute");
    EXPECT_EQ(dlg.eMaxModLimit->text(), "500") << "not in the radio, so not read";
    EXPECT_TRUE(writes().empty());
}

TEST_F(RadioOnPty, PowerTuningWriteAndReadBack)
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
    EXPECT_EQ(run.service.apc_vox_level_1, 0x0123);
    EXPECT_EQ(dlg.findChild<QLineEdit*>("eVoxLevel_1")->text(), "291");
    EXPECT_EQ(dlg.findChild<QLineEdit*>("eDCS_031_HighFreq")->text(), "255");
    EXPECT_EQ(outcomes, (std::vector<SessionOutcome>{SessionOutcome::Success, SessionOutcome::Success}));
}

TEST_F(RadioOnPty, FirmwareInformationInUpperCaseHex)
{
    VirtualRadioOptions options;
    options.firmware_model = 1;
    options.firmware_band = 2;
    options.firmware_version = 0x0105;
    startRadio(options);
    TAdjustmentDlg dlg(run.context());
    ASSERT_TRUE(ShowActive(dlg));
    EXPECT_EQ(memoryAt(0x0FD0, 6), (Bytes{0x00, 0x01, 0x00, 0x02, 0x01, 0x05}));
    QTest::mouseClick(dlg.Button1, Qt::LeftButton);
    EXPECT_EQ(run.service.firmware_model, 1);
    EXPECT_EQ(run.service.firmware_band, 2);
    EXPECT_EQ(run.service.firmware_version, 0x0105);
    EXPECT_EQ(dlg.labModel->text(), "1");
    EXPECT_EQ(dlg.labBand->text(), "2");
    EXPECT_EQ(dlg.labVersion->text(), "105");
    EXPECT_TRUE(writes().empty()) << "the firmware information is only read";
}

TEST_F(RadioOnPty, SerialNumberWriteStepsAndReadShows)
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

TEST_F(RadioOnPty, WriteAllSendsBandPowerAdjustmentThenTheConfiguration)
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

TEST_F(RadioOnPty, WriteAllRefusesABandTheRadioHasNoCodeFor)
{
    run.radio.record.set(rec::freq_band, 7);
    TApcTuneDlg dlg(run.context());
    ASSERT_TRUE(ShowActive(dlg));
    QTest::mouseClick(dlg.bWriteAll, Qt::LeftButton);
    EXPECT_TRUE(outcomes.empty()) << "no session starts";
    EXPECT_TRUE(radio->frames().empty());
}

TEST_F(RadioOnPty, AFailedReadLeavesTheFieldsAsTheyWere)
{
    VirtualRadioOptions options;
    options.fault = {RadioFault::WrongAnswer, 1};   // greets, then answers read requests wrongly
    options.serial_number = {'9', '9', '9', '9', '9', '9', '9', '9'};
    startRadio(options);
    seedMemory(0x0FF0, {7, 7, 7, 7, 7, 7});

    run.service.adj_mic_input = 2;
    run.service.apc_vox_level_6 = 400;
    run.service.firmware_version = 0x0042;
    const ServiceData before = run.service;
    TAdjustmentDlg adjustment(run.context());
    ASSERT_TRUE(ShowActive(adjustment));
    QTest::mouseClick(adjustment.bRead, Qt::LeftButton);
    QTest::mouseClick(adjustment.Button1, Qt::LeftButton);
    EXPECT_EQ(adjustment.cbMicInput->currentText(), "6.4 dB");
    EXPECT_EQ(adjustment.labVersion->text(), "42");
    {
        TApcTuneDlg apc(run.context());
        QTest::mouseClick(apc.bRead, Qt::LeftButton);
        EXPECT_EQ(apc.findChild<QLineEdit*>("eVoxLevel_6")->text(), "400");
    }
    TWriteSnDlg sn(run.context());
    ASSERT_TRUE(ShowActive(sn));
    TypeInto(sn.eSn, "31");
    QTest::mouseClick(sn.Button1, Qt::LeftButton);
    EXPECT_EQ(sn.eSn->text(), "31");

    EXPECT_EQ(outcomes, std::vector<SessionOutcome>(4, SessionOutcome::CommunicationFalse));
    EXPECT_EQ(run.service, before);
    EXPECT_EQ(run.radio.radio_serial_number, (SerialNumber{'3', '1'}));
}
