#pragma once
// The channel grid: the radio's 128 memory channels, one group of 16 at a
// time. Cells are edited in place by a hidden edit box or pick-only list laid
// over the double-clicked cell; two-state cells toggle at once. Every edit is
// written straight into the record.
#include "widgets/editor_window.h"
#include <QStringList>
#include <array>
#include <functional>

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace k3n {

class TAppLang;

class TChInforDlg : public EditorWindow {
    Q_OBJECT
public:
    explicit TChInforDlg(RadioData& data, QWidget* parent = nullptr);

    // Grid columns; column 0 holds the row numbers, row 0 the headers.
    struct Col {
        static constexpr int Rx = 1, Tx = 2, RxTone = 3, TxTone = 4, Power = 5, Bandwidth = 6,
                             Sql = 7, Scramble = 8, ScrambleNo = 9, Scan = 10, LockOut = 11,
                             XtalShift = 12, SignalSys = 13, SignalNo = 14;
    };
    static constexpr int kColumnCount = 15;
    static constexpr int kRowCount = 17;
    static constexpr int kRowsPerGroup = 16;

    void RefreshAll() override;

    // Rows are 1..16; other values are ignored.
    void StringGridUpdataRow(int row);
    void StringGridCleanRow(int row);
    void CleanOneChData(int row);
    void StringGridAutoFullRow(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void fitColumnWidths();

    int shownGroup() const;
    int channelOfRow(int row) const;
    bool channelInUse(int channel) const;
    QString cellText(int row, int col) const;
    void setCell(int row, int col, const QString& text);

    // Grid events
    void StringGrid1DblClick(int row, int col);
    bool StringGrid1KeyPress(QKeyEvent* key);

    // In-place editors
    void placeOverCell(QWidget* editor);
    void presetList(QComboBox* list);
    void closeInPlaceEditor(QWidget* editor);
    void keepOpenEditorOverCell();
    void PlaceChFreqEditor();
    void PlacecbChInforSubAudioEditor();
    void PlaceChInforSqlCombo();
    void PlaceChInforScrNoCombo();
    void PlaceChInforSignalSysCombo();
    void PlaceChInforSignalNoCombo();
    void fillSignalNoList(unsigned system);

    bool Edit_ChFreqKeyPress(QKeyEvent* key);
    void Edit_ChFreqChange();
    void Edit_ChFreqExit();
    // Shared exit of the lists: stores the chosen position (if any), redraws, hides.
    void commitListEdit(QComboBox* list, const std::function<void(int position)>& store);
    void cbChInforSubAudioExit();
    void cbChInforSqlExit();
    void cbChInforScrNoExit();
    void cbChInforSignalSysExit();
    void cbChInforSignalNoExit();

    // Two-state cells
    void toggleBit(BitField field);
    void ProcChEdit_Power();
    void ProcChEdit_Bandwidth();
    void ProcChEdit_SCN();
    void ProcChEditXtalShift();
    void ProcChEditScr();
    void ProcChEditLockOut();

    void cbChInforGroupChange(int position);
    void cbFreqRangeChange(int position);
    void selectBandInList();

    QTableWidget* StringGrid1 = nullptr;
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
    std::array<QWidget*, 6> inPlaceEditors_{};

    // The cell being edited.
    int editingColumn_ = 0;
    int editingRow_ = 0;
    int editingChannel_ = 1;
};

} // namespace k3n
