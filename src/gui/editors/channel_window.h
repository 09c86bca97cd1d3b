// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The channel grid: the radio's 128 memory channels, one group of 16 at a
// time. Cells are edited in place by an edit box or pick-only list laid over
// the double-clicked cell; two-state cells toggle at once. Every edit is
// written straight into the record.
#include "widgets/cell_grid.h"
#include "widgets/editor_window.h"
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;

namespace k3n {

class TChInforDlg : public EditorWindow {
    Q_OBJECT
public:
    explicit TChInforDlg(RadioData& data, QWidget* parent = nullptr);

    // Grid columns; column 0 holds the row numbers, row 0 the headers.
    struct Col {
        static constexpr int Rx = 1, Tx = 2, RxTone = 3, TxTone = 4, Power = 5, Bandwidth = 6, Sql = 7, Scramble = 8,
                             ScrambleNo = 9, Scan = 10, LockOut = 11, XtalShift = 12, SignalSys = 13, SignalNo = 14;
    };
    static constexpr int kColumnCount = 15;
    static constexpr int kRowCount = 17;
    static constexpr int kRowsPerGroup = 16;

    void RefreshAll() override;
    // Shows the group of channel 1..128 and selects its row (a problem of the check leads here).
    void showChannel(int channel);

    // Rows are 1..16; other values are ignored.
    void StringGridUpdataRow(int row);
    void StringGridCleanRow(int row);
    void CleanOneChData(int row);
    void StringGridAutoFullRow(int row);

    // The Edit menu's commands on the grid's selected rows or cells (channel_window_commands.cpp).
    bool hasCommand(EditCommand command) const override;
    bool commandApplies(EditCommand command) const override;
    void runCommand(EditCommand command) override;

private:
    std::vector<int> selectedChannels() const;
    // Where a paste, an insertion or a removal starts: the first selected row, else the current row.
    int targetChannel() const;
    // The rows of one selected column, or of the selected rows in the current column.
    std::optional<CellGrid::ColumnRange> fillRange() const;
    void copyChannels() const;
    void clearChannels(bool cut);
    void pasteChannels();
    void insertChannel();
    void removeChannels();
    void moveChannels(int by);
    void fillDown();
    void fillSeries();
    // Redraws the rows, shows the group holding channel, ends the command as
    // one step and lists what was left out.
    void endCommand(StepName name, int channel, const QStringList& leftOut);

    void buildControls();
    void buildGrid();
    std::unique_ptr<CellColumn> frequencyColumn(int col);
    std::unique_ptr<CellColumn> listColumn(int col, QComboBox* list, std::function<QStringList(int channel)> texts,
                                           std::function<void(int channel, int position)> store);
    std::unique_ptr<CellColumn> bitColumn(int col, BitField (*field)(int channel));

    int shownGroup() const;
    int channelOfRow(int row) const;
    bool channelInUse(int channel) const;

    // What leaving an in-place editor stores for a channel.
    void Edit_ChFreqExit(int row, int col, const QString& text);
    void cbChInforSubAudioExit(int channel, int col, int position);
    void cbChInforSqlExit(int channel, int position);
    void cbChInforScrNoExit(int channel, int position);
    void cbChInforSignalSysExit(int channel, int position);
    void cbChInforSignalNoExit(int channel, int position);
    // The lock-out cell's step: "----" -> "BCLO" -> "BTLO" -> "----"; a stored 3 also goes to "----".
    static unsigned ProcChEditLockOut(unsigned lockOut);

    void cbChInforGroupChange(int position);
    void cbFreqRangeChange(int position);
    void selectBandInList();

    CellGrid* StringGrid1 = nullptr;
    QLineEdit* Edit_ChFreq = nullptr;
    QComboBox* cbChInforSubAudio = nullptr;
    QComboBox* cbChInforSql = nullptr;
    QComboBox* cbChInforScrNo = nullptr;
    QComboBox* cbChInforSignalSys = nullptr;
    QComboBox* cbChInforSignalNo = nullptr;
    QComboBox* cbChInforGroup = nullptr;
    QComboBox* cbFreqRange = nullptr;
    QLabel* sFreqRange = nullptr;
    QLabel* sLastWrite = nullptr;
    QLabel* sLastWriteTime = nullptr;
    QLabel* sDeviceSn = nullptr;
    QLabel* sDeviceSnDisp = nullptr;
};

}   // namespace k3n
