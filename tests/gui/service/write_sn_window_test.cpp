// SPDX-License-Identifier: GPL-3.0-or-later
#include "service/write_sn_window.h"
#include "service_window_driver.h"
#include <QToolButton>

using namespace k3n;
using namespace k3n::test;

namespace {

SerialNumber serialOf(const char* digits)
{
    SerialNumber sn{};
    for (std::size_t i = 0; digits[i] && i < sn.size(); ++i)
        sn[i] = uint8_t(digits[i]);
    return sn;
}

class WriteSnWindow : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(ShowActive(dlg)); }

    void clickArrow(int direction, int times = 1)
    {
        QToolButton* arrow = direction > 0 ? dlg.udSn->upButton() : dlg.udSn->downButton();
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(arrow, Qt::LeftButton);
    }

    ServiceRun run;
    TWriteSnDlg dlg{run.context()};
};

}   // namespace

TEST_F(WriteSnWindow, StepsAsADecimalStringOfFixedLength)
{
    const struct {
        const char* from;
        int direction;
        const char* to;
    } cases[] = {{"00000199", +1, "00000200"}, {"10", -1, "09"},    {"999", +1, "000"},
                 {"000", -1, "999"},           {"", +1, ""},        {"", -1, ""},
                 {"99999998", +1, "99999999"}, {"1000", -1, "0999"}};
    for (const auto& c : cases)
        EXPECT_EQ(TWriteSnDlg::StepSerialText(c.from, c.direction), c.to) << c.from << " " << c.direction;
    // Something read from a radio that is not a number is left alone.
    EXPECT_EQ(TWriteSnDlg::StepSerialText(QString::fromLatin1("12\xff"), +1), QString::fromLatin1("12\xff"));
}

TEST_F(WriteSnWindow, OpeningClearsTheSerialNumber)
{
    ServiceRun run;
    run.radio.radio_serial_number = serialOf("00001234");
    TWriteSnDlg dlg(run.context());
    EXPECT_EQ(run.radio.radio_serial_number, SerialNumber{});
    EXPECT_TRUE(dlg.eSn->text().isEmpty());
}

TEST_F(WriteSnWindow, TypingTakesAtMostEightDigitsAndLeavingStoresThem)
{
    TypeInto(dlg.eSn, "12a34-5678 9");
    EXPECT_EQ(dlg.eSn->text(), "12345678");
    Leave(dlg.Button1);
    EXPECT_EQ(run.radio.radio_serial_number, serialOf("12345678"));

    TypeAndLeave(dlg.eSn, "77", dlg.Button1);
    EXPECT_EQ(run.radio.radio_serial_number, serialOf("77")) << "the rest is cleared to zero bytes";
}

TEST_F(WriteSnWindow, ArrowsStepWhatIsTyped)
{
    TypeInto(dlg.eSn, "00000199");
    clickArrow(+1);
    EXPECT_EQ(dlg.eSn->text(), "00000200");
    EXPECT_EQ(run.radio.radio_serial_number, serialOf("00000200"));

    TypeInto(dlg.eSn, "12");
    clickArrow(-1, 2);
    EXPECT_EQ(dlg.eSn->text(), "10");
    EXPECT_EQ(run.radio.radio_serial_number, serialOf("10"));

    TypeInto(dlg.eSn, "");
    clickArrow(+1);
    EXPECT_EQ(dlg.eSn->text(), "");
    EXPECT_EQ(run.radio.radio_serial_number, SerialNumber{});
}

TEST_F(WriteSnWindow, ASuccessfulWriteStepsUpForTheNextRadioAndReadShowsTheNumberRead)
{
    std::vector<SerialNumber> written;
    bool succeed = true;
    run.session = [&](const ServiceTransferRequest& r) {
        if (r.direction == Direction::Write)
            written.push_back(run.radio.radio_serial_number);
        else
            run.radio.radio_serial_number = serialOf("4711");
        return succeed;
    };
    TypeInto(dlg.eSn, "00000001");
    QTest::mouseClick(dlg.Button2, Qt::LeftButton);
    EXPECT_EQ(dlg.eSn->text(), "00000002");
    dlg.Button2->click();
    EXPECT_EQ(dlg.eSn->text(), "00000003");
    EXPECT_EQ(written, (std::vector<SerialNumber>{serialOf("00000001"), serialOf("00000002")}));

    // Failures keep what is shown.
    succeed = false;
    QTest::mouseClick(dlg.Button2, Qt::LeftButton);
    EXPECT_EQ(dlg.eSn->text(), "00000003");
    EXPECT_EQ(run.radio.radio_serial_number, serialOf("00000003"));
    QTest::mouseClick(dlg.Button1, Qt::LeftButton);
    EXPECT_EQ(dlg.eSn->text(), "00000003");

    succeed = true;
    QTest::mouseClick(dlg.Button1, Qt::LeftButton);
    EXPECT_EQ(dlg.eSn->text(), "4711");
    const ServiceTransferRequest write{TransferKind::SerialNumber, Direction::Write};
    const ServiceTransferRequest read{TransferKind::SerialNumber, Direction::Read};
    EXPECT_EQ(run.requests, (std::vector<ServiceTransferRequest>{write, write, write, read, read}));
}
