// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/channel_window.h"
#include "model/record_layout.h"
#include "settings_editor_driver.h"
#include "text/app_lang.h"

#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTimer>

#include <array>
#include <memory>
#include <utility>

namespace k3n {
namespace {

using namespace test;
using Col = TChInforDlg::Col;
using ChannelBytes = std::array<uint8_t, rec::kChannelSize>;

class ChannelWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ApplyLanguageSetting(0);
        window = std::make_unique<TChInforDlg>(data);
        ASSERT_TRUE(ShowActive(*window));
        grid = Child<QTableWidget>(*window, "StringGrid1");
        freqBox = Child<QLineEdit>(*window, "Edit_ChFreq");
        ASSERT_TRUE(grid && freqBox);
    }

    QComboBox* list(const char* name) { return Child<QComboBox>(*window, name); }
    QString cell(int row, int col) const { return grid->item(row, col)->text(); }
    ChannelBytes bytesOf(int channel) const
    {
        ChannelBytes b;
        const auto s = data.record.slice(rec::channelOffset(channel), rec::kChannelSize);
        std::copy(s.begin(), s.end(), b.begin());
        return b;
    }
    void doubleClick(int row, int col)
    {
        DoubleClick(grid->viewport(), grid->visualRect(grid->model()->index(row, col)).center());
    }
    void leaveEditor() { LeaveControl(*window); }

    // Opens the frequency box of a cell, replaces its text and presses Enter,
    // which closes the box and leaves the same cell current.
    void typeFrequency(int row, int col, const QString& text)
    {
        doubleClick(row, col);
        ASSERT_TRUE(freqBox->isVisible());
        ASSERT_TRUE(freqBox->hasFocus());
        QTest::keyClick(freqBox, Qt::Key_Delete);   // the preset text is selected
        QTest::keyClicks(freqBox, text);
        QTest::keyClick(freqBox, Qt::Key_Return);
        ASSERT_FALSE(freqBox->isVisible());
        EXPECT_TRUE(grid->hasFocus());
        EXPECT_EQ(std::pair(grid->currentRow(), grid->currentColumn()), std::pair(row, col));
    }
    void newChannel(int row, const QString& rx) { typeFrequency(row, Col::Rx, rx); }

    // Steps through the open list with the keyboard to text, then leaves it.
    void pick(int row, int col, const char* listName, const QString& text)
    {
        doubleClick(row, col);
        QComboBox* box = list(listName);
        ASSERT_TRUE(box->isVisible() && box->hasFocus()) << listName;
        StepTo(box, text);
        leaveEditor();
        EXPECT_FALSE(box->isVisible());
    }

    RadioData data;
    std::unique_ptr<TChInforDlg> window;
    QTableWidget* grid = nullptr;
    QLineEdit* freqBox = nullptr;
};

// Answers the next modal question by pressing one of its buttons.
void answerNextQuestion(const char* buttonName)
{
    QTimer::singleShot(0, [buttonName] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        modal->findChild<QPushButton*>(buttonName)->click();
    });
}

TEST_F(ChannelWindowTest, OnAnEmptyRowOnlyRxOpensAndTypingThereStartsAChannelWithTheDefaults)
{
    for (int col = Col::Tx; col < TChInforDlg::kColumnCount; ++col) {
        doubleClick(3, col);
        EXPECT_EQ(QApplication::focusWidget(), grid) << "column " << col;
    }
    EXPECT_EQ(bytesOf(3), ChannelBytes{});

    newChannel(3, "145.5");
    const ChannelBytes expected = {0x60, 0x27, 0xac, 0x08, 0x60, 0x27, 0xac, 0x08,   // RX and TX 145500000
                                   0,    0,    1,    0,    0,    5,    0,    0};
    EXPECT_EQ(bytesOf(3), expected);
    const QStringList shown = {"145.50000", "145.50000", "Off", "Off",  "Low", "Wide", "5",
                               "OFF",       "",          "DEL", "----", "OFF", "OFF",  ""};
    for (int col = 1; col < TChInforDlg::kColumnCount; ++col)
        EXPECT_EQ(cell(3, col), shown[col - 1]) << "column " << col;

    // A digit typed on an RX cell opens the box with that digit in it.
    grid->setFocus();
    grid->setCurrentCell(5, Col::Rx);
    QTest::keyClick(grid, Qt::Key_1);
    ASSERT_TRUE(freqBox->isVisible());
    EXPECT_EQ(freqBox->text(), "1");
    QTest::keyClicks(freqBox, "46.52");
    QTest::keyClick(freqBox, Qt::Key_Enter);
    EXPECT_EQ(data.record.get(rec::ch::rx_freq(5)), 146520000u);
    EXPECT_EQ(data.record.get(rec::ch::in_use(5)), 1u);
    EXPECT_EQ(std::pair(grid->currentRow(), grid->currentColumn()), std::pair(5, int(Col::Rx)));

    // Enter on a TX cell opens the box with the cell's text; letters open nothing.
    grid->setCurrentCell(5, Col::Tx);
    QTest::keyClick(grid, Qt::Key_A);
    EXPECT_FALSE(freqBox->isVisible());
    QTest::keyClick(grid, Qt::Key_Return);
    ASSERT_TRUE(freqBox->isVisible());
    EXPECT_EQ(freqBox->text(), "146.52000");
    leaveEditor();
    EXPECT_EQ(data.record.get(rec::ch::tx_freq(5)), 146520000u);
}

TEST_F(ChannelWindowTest, FrequenciesAreBroughtIntoTheBandAndClearingThemDeletesOrZeroes)
{
    newChannel(1, "100");
    EXPECT_EQ(data.record.get(rec::ch::rx_freq(1)), 136000000u);
    EXPECT_EQ(cell(1, Col::Rx), "136.00000");
    typeFrequency(1, Col::Rx, "136.013");
    EXPECT_EQ(data.record.get(rec::ch::rx_freq(1)), 136012500u);
    EXPECT_EQ(cell(1, Col::Rx), "136.01250");
    typeFrequency(1, Col::Tx, "999");
    EXPECT_EQ(data.record.get(rec::ch::tx_freq(1)), 174000000u);

    // Clearing TX stores 0; clearing RX deletes the channel.
    typeFrequency(1, Col::Tx, "");
    EXPECT_EQ(data.record.get(rec::ch::tx_freq(1)), 0u);
    EXPECT_EQ(cell(1, Col::Tx), "0");
    EXPECT_EQ(data.record.get(rec::ch::in_use(1)), 1u);
    typeFrequency(1, Col::Rx, "");
    EXPECT_EQ(bytesOf(1), ChannelBytes{});
    for (int col = 1; col < TChInforDlg::kColumnCount; ++col)
        EXPECT_TRUE(cell(1, col).isEmpty()) << "column " << col;
}

TEST_F(ChannelWindowTest, FrequencyBoxTakesOnlyDigitsAndOnePoint)
{
    doubleClick(4, Col::Rx);
    QTest::keyClicks(freqBox, "1a4b5.x.5");
    EXPECT_EQ(freqBox->text(), "145.5");
    QTest::keyClicks(freqBox, "123456789");
    EXPECT_EQ(freqBox->text(), "145.51234");   // at most nine characters
    EXPECT_EQ(freqBox->cursorPosition(), 9);

    freqBox->clear();
    QTest::keyClick(freqBox, Qt::Key_Period);
    EXPECT_EQ(freqBox->text(), "");   // a lone point is emptied

    QApplication::clipboard()->setText("14x6.0.25");
    QTest::keyClick(freqBox, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(freqBox->text(), "146.025");
    QTest::keyClick(freqBox, Qt::Key_Return);
    EXPECT_EQ(data.record.get(rec::ch::rx_freq(4)), 146025000u);
}

TEST_F(ChannelWindowTest, SubAudioListsStoreCodeAndPolarity)
{
    newChannel(1, "145");
    pick(1, Col::RxTone, "cbChInforSubAudio", "D023I");
    EXPECT_EQ(data.record.get(rec::ch::rx_subaudio(1)), 128);
    EXPECT_EQ(data.record.get(rec::ch::rx_dcs_inverted(1)), 1u);
    EXPECT_EQ(cell(1, Col::RxTone), "D023I");

    // This time through the drop-down list: opening it is not leaving the cell.
    QComboBox* tones = list("cbChInforSubAudio");
    doubleClick(1, Col::RxTone);
    EXPECT_EQ(tones->currentText(), "D023I");   // preset from the cell
    PickEntry(tones, "88.5");
    ASSERT_TRUE(tones->isVisible());
    EXPECT_EQ(tones->currentText(), "88.5");
    leaveEditor();
    EXPECT_EQ(data.record.get(rec::ch::rx_subaudio(1)), 10);
    EXPECT_EQ(data.record.get(rec::ch::rx_dcs_inverted(1)), 1u);   // a tone keeps the bit
    EXPECT_EQ(cell(1, Col::RxTone), "88.5");

    pick(1, Col::TxTone, "cbChInforSubAudio", "D754N");
    EXPECT_EQ(data.record.get(rec::ch::tx_subaudio(1)), 231);
    EXPECT_EQ(data.record.get(rec::ch::tx_dcs_inverted(1)), 0u);
    EXPECT_EQ(data.record.get(rec::ch::rx_subaudio(1)), 10);
}

TEST_F(ChannelWindowTest, TwoStateCellsToggleAndLockOutCycles)
{
    newChannel(1, "145");
    using namespace rec::ch;
    struct Toggle {
        int col;
        BitField bit;
        const char* on;
        const char* off;
    };
    for (const Toggle& t :
         {Toggle{Col::Power, tx_power(1), "High", "Low"}, Toggle{Col::Bandwidth, bandwidth(1), "Narrow", "Wide"},
          Toggle{Col::Scan, scan_add(1), "ADD", "DEL"}, Toggle{Col::XtalShift, xtal_shift(1), "ON", "OFF"}}) {
        doubleClick(1, t.col);
        EXPECT_EQ(data.record.get(t.bit), 1u) << t.on;
        EXPECT_EQ(cell(1, t.col), t.on);
        doubleClick(1, t.col);
        EXPECT_EQ(data.record.get(t.bit), 0u) << t.off;
        EXPECT_EQ(cell(1, t.col), t.off);
    }
    for (const char* shown : {"BCLO", "BTLO", "----"}) {
        doubleClick(1, Col::LockOut);
        EXPECT_EQ(cell(1, Col::LockOut), shown);
    }
    EXPECT_EQ(data.record.get(flags_2(1)), 0);

    pick(1, Col::Sql, "cbChInforSql", "9");
    EXPECT_EQ(data.record.get(squelch(1)), 9);
}

TEST_F(ChannelWindowTest, NumberCellsOpenOnlyUnderScramblingOrASignallingSystem)
{
    newChannel(1, "145");
    doubleClick(1, Col::ScrambleNo);
    EXPECT_FALSE(list("cbChInforScrNo")->isVisible());   // closed while scrambling is off

    doubleClick(1, Col::Scramble);
    EXPECT_EQ(cell(1, Col::Scramble), "ON");
    EXPECT_EQ(cell(1, Col::ScrambleNo), "1");
    EXPECT_EQ(data.record.get(rec::ch::scramble_no(1)), 1);
    pick(1, Col::ScrambleNo, "cbChInforScrNo", "16");
    EXPECT_EQ(data.record.get(rec::ch::scramble_no(1)), 16);

    doubleClick(1, Col::Scramble);
    EXPECT_EQ(data.record.get(rec::ch::scramble_no(1)), 0);
    EXPECT_EQ(cell(1, Col::ScrambleNo), "");

    // Changing the signalling system resets the number.
    doubleClick(1, Col::SignalNo);
    EXPECT_FALSE(list("cbChInforSignalNo")->isVisible());   // system OFF

    pick(1, Col::SignalSys, "cbChInforSignalSys", "DTMF");
    pick(1, Col::SignalNo, "cbChInforSignalNo", "3");
    EXPECT_EQ(list("cbChInforSignalNo")->count(), 8);
    EXPECT_EQ(data.record.get(rec::ch::signaling(1)), (1 << 5) | 2);

    pick(1, Col::SignalSys, "cbChInforSignalSys", "DTMF");   // same system: number kept
    EXPECT_EQ(data.record.get(rec::ch::signaling_no(1)), 2u);

    pick(1, Col::SignalSys, "cbChInforSignalSys", "5-TONE");
    EXPECT_EQ(data.record.get(rec::ch::signaling(1)), 2 << 5);
    EXPECT_EQ(cell(1, Col::SignalNo), "1");
    pick(1, Col::SignalNo, "cbChInforSignalNo", "16");
    EXPECT_EQ(list("cbChInforSignalNo")->count(), 16);
    EXPECT_EQ(data.record.get(rec::ch::signaling_no(1)), 15u);
}

TEST_F(ChannelWindowTest, ValuesNoEditorWritesShowPlainlyAndListsOpenEmptyBesideTheRadioDetails)
{
    using namespace rec::ch;
    RadioRecord& r = data.record;
    r.set(rx_freq(1), 145000000);
    r.set(flags_1(1), 1);
    r.set(rx_subaudio(1), 60);
    r.set(squelch(1), 200);
    r.set(scramble_no(1), 40);
    r.set(signaling(1), (6 << 5) | 31);
    r.set(busy_lockout(1), 3);
    r.set(rec::channel_group, 9);
    data.last_program_time = {2009, 3, 7, 9, 5};
    data.radio_serial_number = {'A', 'B', '1', '2', 0, 'X', 0, 0};   // shown up to the first zero
    window->RefreshAll();
    EXPECT_EQ(Child<QLabel>(*window, "sLastWriteTime")->text(), "2009-3-7  9:5");
    EXPECT_EQ(Child<QLabel>(*window, "sDeviceSnDisp")->text(), "AB12");
    EXPECT_EQ(cell(1, Col::Rx), "145.00000");   // group 1 is shown for a group number past the last
    EXPECT_EQ(list("cbChInforGroup")->currentIndex(), 0);
    EXPECT_EQ(cell(1, Col::RxTone), "?");
    EXPECT_EQ(cell(1, Col::Sql), "200");
    EXPECT_EQ(cell(1, Col::ScrambleNo), "40");
    EXPECT_EQ(cell(1, Col::SignalSys), "?");
    EXPECT_EQ(cell(1, Col::SignalNo), "32");
    EXPECT_EQ(cell(1, Col::LockOut), "?");

    const ChannelBytes before = bytesOf(1);
    using Opening = std::pair<int, const char*>;
    for (auto [col, name] :
         {Opening{Col::RxTone, "cbChInforSubAudio"}, Opening{Col::Sql, "cbChInforSql"},
          Opening{Col::ScrambleNo, "cbChInforScrNo"}, Opening{Col::SignalSys, "cbChInforSignalSys"}}) {
        doubleClick(1, col);
        ASSERT_TRUE(list(name)->isVisible()) << name;
        EXPECT_EQ(list(name)->currentIndex(), -1) << name;
        leaveEditor();
    }
    EXPECT_EQ(bytesOf(1), before);   // leaving without a pick changes nothing
    doubleClick(1, Col::SignalNo);
    EXPECT_FALSE(list("cbChInforSignalNo")->isVisible());   // nothing to offer for system 6

    doubleClick(1, Col::LockOut);
    EXPECT_EQ(r.get(busy_lockout(1)), 0u);
    EXPECT_EQ(r.get(rec::channel_group), 9);

    data.radio_serial_number = {'K', '3', 'N', '1', '2', '3', '4', '5'};   // all eight, no zero
    window->RefreshAll();
    EXPECT_EQ(Child<QLabel>(*window, "sDeviceSnDisp")->text(), "K3N12345");
}

TEST_F(ChannelWindowTest, GroupThreeShowsChannels33To48)
{
    data.record.set(rec::ch::rx_freq(33), 150000000);
    data.record.set(rec::ch::flags_1(33), 1);
    data.record.set(rec::ch::rx_freq(48), 160000000);
    data.record.set(rec::ch::flags_1(48), 1);
    QComboBox* groups = list("cbChInforGroup");
    groups->setFocus();
    QTest::keyClick(groups, Qt::Key_Down);
    QTest::keyClick(groups, Qt::Key_Down);
    EXPECT_EQ(groups->currentText(), "Group-3");
    EXPECT_EQ(data.record.get(rec::channel_group), 2);
    EXPECT_EQ(cell(1, Col::Rx), "150.00000");
    EXPECT_EQ(cell(16, Col::Rx), "160.00000");
    EXPECT_EQ(cell(1, 0), "01");
    EXPECT_EQ(cell(16, 0), "16");

    newChannel(2, "155");
    EXPECT_EQ(data.record.get(rec::ch::rx_freq(34)), 155000000u);
    EXPECT_EQ(data.record.get(rec::ch::in_use(2)), 0u);
}

TEST_F(ChannelWindowTest, BandChangeClearsEverythingOnlyWhenConfirmed)
{
    newChannel(1, "145");
    newChannel(16, "170");
    const RadioRecord kept = data.record;
    QComboBox* bands = list("cbFreqRange");
    bands->setFocus();

    answerNextQuestion("CancelBtn");
    QTest::keyClick(bands, Qt::Key_Down);
    EXPECT_TRUE(data.record == kept);
    EXPECT_EQ(bands->currentIndex(), 0);
    EXPECT_EQ(cell(1, Col::Rx), "145.00000");

    int refreshRequests = 0;
    QObject::connect(window.get(), &EditorWindow::refreshAllViewsRequested, [&] { ++refreshRequests; });
    answerNextQuestion("OKBtn");
    QTest::keyClick(bands, Qt::Key_End);
    EXPECT_EQ(refreshRequests, 1);
    EXPECT_EQ(data.record.get(rec::freq_band), 3);
    EXPECT_EQ(data.band_limits, (BandLimits{410000000, 430000000}));
    for (int ch = 1; ch <= rec::kChannelCount; ++ch)
        ASSERT_EQ(bytesOf(ch), ChannelBytes{}) << "channel " << ch;
    window->RefreshAll();   // what the main window does on that request
    EXPECT_EQ(cell(1, Col::Rx), "");
    EXPECT_EQ(bands->currentIndex(), 3);
}

TEST_F(ChannelWindowTest, AnOpenCellIsCommittedInPlaceWhateverWindowIsActive)
{
    doubleClick(6, Col::Rx);
    QTest::keyClicks(freqBox, "147.3");
    ASSERT_TRUE(freqBox->hasFocus());
    window->CommitPendingEdits();
    EXPECT_EQ(data.record.get(rec::ch::rx_freq(6)), 147300000u);
    EXPECT_FALSE(freqBox->isVisible());

    // An open list is committed in place: the same cell stays current.
    pick(6, Col::Sql, "cbChInforSql", "9");
    doubleClick(6, Col::Sql);
    QTest::keyClick(list("cbChInforSql"), Qt::Key_Home);
    window->CommitPendingEdits();
    EXPECT_EQ(data.record.get(rec::ch::squelch(6)), 0);
    EXPECT_FALSE(list("cbChInforSql")->isVisible());
    EXPECT_EQ(grid->currentColumn(), Col::Sql);

    // The same when another window is active (Save from the main window's menu).
    doubleClick(6, Col::Tx);
    QTest::keyClicks(freqBox, "148");
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    window->CommitPendingEdits();
    EXPECT_EQ(data.record.get(rec::ch::tx_freq(6)), 148000000u);
    EXPECT_EQ(cell(6, Col::Tx), "148.00000");
}

TEST_F(ChannelWindowTest, EveryColumnIsReadableBesideThePageTreeInBothLanguages)
{
    for (int language : {0, 1}) {
        ApplyLanguageSetting(language);
        window->RefreshAll();
        const QFontMetrics metrics(grid->font());
        for (int col = 0; col < TChInforDlg::kColumnCount; ++col) {
            // Column 0, the row numbers, is the grid's row header.
            const int width = col == 0 ? grid->verticalHeader()->width() : grid->columnWidth(col);
            for (int row = 0; row < TChInforDlg::kRowCount; ++row)
                EXPECT_LE(metrics.horizontalAdvance(cell(row, col)), width)
                    << "language " << language << " row " << row << " column " << col;
        }
        // 1280 pixels less the page tree and the child window's frame.
        EXPECT_LE(window->sizeHint().width(), 1280 - 200 - 20) << "language " << language;
    }
    ApplyLanguageSetting(0);
    window->resize(window->sizeHint());
    QApplication::processEvents();
    const QImage shot = grid->viewport()->grab().toImage();
    const QRect odd = grid->visualRect(grid->model()->index(1, Col::Sql));
    EXPECT_EQ(shot.pixelColor(odd.topLeft() + QPoint(3, 3)), QColor(192, 220, 192));
    const QRect even = grid->visualRect(grid->model()->index(2, Col::Sql));
    EXPECT_NE(shot.pixelColor(even.topLeft() + QPoint(3, 3)), QColor(192, 220, 192));
}

}   // namespace
}   // namespace k3n
