// SPDX-License-Identifier: GPL-3.0-or-later
// Edit > Write to several radios, driven with the mouse against virtual radios
// offered in the port list.
#include "app/main_window.h"
#include "app/several_radios_window.h"
#include "editors/settings_editor_driver.h"
#include "model/record_layout.h"
#include "programming/programming_log.h"
#include "support/test_support.h"
#include "support/virtual_radio_memory.h"
#include "virtualradio/emulated_radio.h"
#include "widgets/spoken_names.h"
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>

namespace k3n {
namespace {

using namespace test;

// On the simulated clock (with EmulatedSessions alive): the writes take milliseconds.
std::unique_ptr<EmulatedRadio> OfferedRadio(char lastDigit, FaultPlan fault = {})
{
    VirtualRadioOptions options;
    options.band = 0;
    options.serial_number = {'8', '8', '0', uint8_t(lastDigit), 0, 0, 0, 0};
    options.fault = fault;
    auto radio = std::make_unique<EmulatedRadio>(options);
    HalvexComm32::TCommSerialPortInfo::AddExtraPort(QStringLiteral("virtual radio"), radio->devicePath());
    return radio;
}

int RowOf(const QTableWidget& grid, const QString& device)
{
    for (int row = 0; row < grid.rowCount(); ++row)
        if (grid.item(row, SeveralRadiosWindow::ColDevice)->text() == device)
            return row;
    return -1;
}

void Tick(QTableWidget& grid, int row)
{
    const QRect cell = grid.visualItemRect(grid.item(row, SeveralRadiosWindow::ColPort));
    // The check box sits at the cell's left edge.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(cell.left() + 10, cell.center().y()));
}

TEST(SeveralRadiosWindow, TickedRadiosAreWrittenAtOnceAndEachResultStaysOnScreen)
{
    ScratchDir dir;
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.file("data")));
    const EmulatedSessions emulated;
    auto good = OfferedRadio('1');
    auto silent = OfferedRadio('2', {RadioFault::Silent, 0});
    auto untouched = OfferedRadio('3');

    RadioData data;
    data.ResetForBand(0);
    data.record.set(rec::ch::in_use(1), 1);
    data.record.set(rec::ch::rx_freq(1), 145500000);
    data.record.set(rec::ch::tx_freq(1), 145500000);
    AppSettings settings;
    settings.VerifyAfterWrite = false;
    const QByteArray bytes(reinterpret_cast<const char*>(data.record.bytes().data()), int(data.record.bytes().size()));
    SeveralRadiosWindow window(data, {{}, {}, dir.file("club.fse"), bytes}, settings,
                               HalvexComm32::TCommSerialPortInfo());
    window.show();
    QTableWidget& grid = *window.grid;
    const int goodRow = RowOf(grid, good->devicePath());
    const int silentRow = RowOf(grid, silent->devicePath());
    ASSERT_GE(goodRow, 0);
    ASSERT_GE(silentRow, 0);
    ASSERT_GE(RowOf(grid, untouched->devicePath()), 0);

    // Nothing ticked: said, nothing started.
    AnswerNextQuestion("OKBtn");
    QTest::mouseClick(window.startButton, Qt::LeftButton);
    EXPECT_FALSE(window.running());

    Tick(grid, goodRow);
    Tick(grid, silentRow);
    ASSERT_EQ(grid.item(goodRow, SeveralRadiosWindow::ColPort)->checkState(), Qt::Checked);
    QSignalSpy ended(&window, &SeveralRadiosWindow::allEnded);
    QStringList said;   // what a screen reader hears wherever its focus is
    WatchAnnouncements(
        [&](QAccessibleInterface* object, QAccessible::Event) { said << object->text(QAccessible::Name); });
    QTest::mouseClick(window.startButton, Qt::LeftButton);
    EXPECT_EQ(window.cancelButton->text(), "Cancel");
    ASSERT_TRUE(ended.wait(60000));
    WatchAnnouncements({});

    EXPECT_EQ(grid.item(goodRow, SeveralRadiosWindow::ColSerial)->text(), "8801");
    EXPECT_TRUE(grid.item(goodRow, SeveralRadiosWindow::ColResult)->text().startsWith("Written"));
    // A radio that never answered is said so in words, not by the session's "Communication False".
    const QString silentResult = grid.item(silentRow, SeveralRadiosWindow::ColResult)->text();
    EXPECT_TRUE(silentResult.startsWith("Failed: no radio answered")) << silentResult.toStdString();
    EXPECT_FALSE(silentResult.contains("Communication False")) << silentResult.toStdString();
    EXPECT_EQ(window.summary->text(), "1 of 2 radios written");
    // Each radio's result is said as it ends, then the count; each bar is named after its radio and outcome.
    auto saidOf = [&](int row, const QString& what) {
        return grid.item(row, SeveralRadiosWindow::ColPort)->text() + ": " + what;
    };
    EXPECT_EQ(said.size(), 3) << said.join('|').toStdString();
    EXPECT_TRUE(said.contains(saidOf(goodRow, "Written")));
    EXPECT_TRUE(said.contains(saidOf(silentRow, grid.item(silentRow, SeveralRadiosWindow::ColResult)->toolTip())));
    EXPECT_EQ(said.constLast(), "1 of 2 radios written");
    EXPECT_EQ(grid.cellWidget(silentRow, SeveralRadiosWindow::ColProgress)->accessibleName(),
              saidOf(silentRow, "Failed"));
    EXPECT_EQ(window.cancelButton->text(), "Close");
    RadioData read;
    read.ResetForBand(0);
    SetDataToSoftware(good->memory(), read);
    EXPECT_EQ(read.record.get(rec::ch::rx_freq(1)), 145500000u);
    EXPECT_TRUE(untouched->frames().empty());

    const auto log = ReadProgrammingLog(ProgrammingLogPath());
    ASSERT_TRUE(log);
    ASSERT_EQ(log.value().entries.size(), 2u);
    for (const ProgrammingLogEntry& entry : log.value().entries)
        EXPECT_EQ(entry.fileName, "club.fse");

    for (const auto& radio : {good.get(), silent.get(), untouched.get()})
        HalvexComm32::TCommSerialPortInfo::RemoveExtraPort(radio->devicePath());
}

TEST(SeveralRadiosWindow, AddPortTakesADevicePathTheListDoesNotShowAndRefusesWhatIsNoPort)
{
    RadioData data;
    data.ResetForBand(0);
    AppSettings settings;
    SeveralRadiosWindow window(data, {}, settings, HalvexComm32::TCommSerialPortInfo());
    ASSERT_TRUE(ShowActive(window));
    QTableWidget& grid = *window.grid;
    const int listed = grid.rowCount();
    EXPECT_EQ(window.addPortButton->text(), "&Add port\u2026");

    // A relative name depends on where the program runs: refused, nothing added.
    ModalAnswers answers;
    QString notice;
    answers.type("ttyUSB0");
    answers.readNotice(&notice);
    QTest::mouseClick(window.addPortButton, Qt::LeftButton);
    EXPECT_TRUE(answers.done());
    EXPECT_EQ(notice, "\"ttyUSB0\" is not a port name: type COMn or an absolute device path such as /dev/ttyUSB0.");
    EXPECT_EQ(grid.rowCount(), listed);

    // A Bluetooth link that is not there yet: listed and ticked; its write will say what became of it.
    answers.type("/dev/rfcomm0");
    QTest::mouseClick(window.addPortButton, Qt::LeftButton);
    EXPECT_TRUE(answers.done());
    ASSERT_EQ(grid.rowCount(), listed + 1);
    EXPECT_EQ(grid.item(listed, SeveralRadiosWindow::ColPort)->text(), "/dev/rfcomm0");
    EXPECT_EQ(grid.item(listed, SeveralRadiosWindow::ColDevice)->text(), "/dev/rfcomm0");
    EXPECT_EQ(grid.item(listed, SeveralRadiosWindow::ColPort)->checkState(), Qt::Checked);

    // The same port again is not listed twice.
    answers.type("/dev/rfcomm0");
    QTest::mouseClick(window.addPortButton, Qt::LeftButton);
    EXPECT_TRUE(answers.done());
    EXPECT_EQ(grid.rowCount(), listed + 1);
}

TEST(SeveralRadiosWindow, AResultSaysWhetherTheReadBackConfirmedTheWrite)
{
    SafeWriteResult result;
    result.outcome = SafeWriteOutcome::Written;
    result.verified = true;
    EXPECT_EQ(SeveralRadiosResultText(result), "Written and verified");
    result.verified = false;   // the read-back was switched off
    EXPECT_EQ(SeveralRadiosResultText(result), "Written");

    // A radio that stopped answering part-way keeps the session's full account.
    result.outcome = SafeWriteOutcome::WriteFailed;
    result.failure = SessionFailure::NoAnswer;
    result.ended_in = SafeWritePhase::Write;
    result.frames_written = 12;
    result.message = "Communication False: the radio now holds only part of the new configuration";
    EXPECT_EQ(SeveralRadiosResultText(result), "Failed: " + result.message);
    result.frames_written = 0;
    EXPECT_EQ(SeveralRadiosResultText(result), "Failed: no radio answered");
}

TEST(SeveralRadiosWindow, WithOnlyWhatChangedEachRadioGetsWhatItsOwnBackupLacks)
{
    ScratchDir dir;
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.file("data")));
    const EmulatedSessions emulated;
    RadioData data;
    data.ResetForBand(0);
    auto first = OfferedRadio('4');
    auto second = OfferedRadio('5');
    RadioData other = data;
    other.record.set(rec::ch::in_use(7), 1);
    test::HoldConfiguration(*first, data);   // the time and the radio state only
    test::HoldConfiguration(*second, other);   // and channel 7's block
    AppSettings settings;
    settings.WriteChangedOnly = true;
    SeveralRadiosWindow window(data, {{}, {}, dir.file("club.fse"), {}}, settings, HalvexComm32::TCommSerialPortInfo());
    window.show();
    QTableWidget& grid = *window.grid;
    const int rows[] = {RowOf(grid, first->devicePath()), RowOf(grid, second->devicePath())};
    for (int row : rows) {
        ASSERT_GE(row, 0);
        Tick(grid, row);
    }
    QSignalSpy ended(&window, &SeveralRadiosWindow::allEnded);
    QTest::mouseClick(window.startButton, Qt::LeftButton);
    ASSERT_TRUE(ended.wait(60000));
    const QString firstResult = grid.item(rows[0], SeveralRadiosWindow::ColResult)->text();
    const QString secondResult = grid.item(rows[1], SeveralRadiosWindow::ColResult)->text();
    EXPECT_TRUE(firstResult.startsWith("Written and verified; changed only: 2 of 119 write frames ("))
        << firstResult.toStdString();
    EXPECT_TRUE(secondResult.startsWith("Written and verified; changed only: 3 of 119 write frames ("))
        << secondResult.toStdString();
    EXPECT_EQ(test::WriteFrameCount(*first), 2u);
    EXPECT_EQ(test::WriteFrameCount(*second), 3u);

    for (const auto& radio : {first.get(), second.get()})
        HalvexComm32::TCommSerialPortInfo::RemoveExtraPort(radio->devicePath());
}

}   // namespace
}   // namespace k3n
