#pragma once
// The grids of the signalling editors (systems, decode and encode tables).
// A grid is described by its columns: each column knows its header, the text
// of a row's cell (read from the record), and what a double-click does — a
// toggle written at once, or a hidden edit box or pick-only list laid over the
// cell and committed when it loses the focus.
#include "model/radio_record.h"
#include <QString>
#include <QStringList>
#include <QTableWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAbstractButton;
class QComboBox;
class QLineEdit;

namespace k3n {

// What a cell or list shows for a stored value that no entry stands for.
QString ForeignValueText();

// The entries of a pick-only list and the value each entry stores.
struct ListItems {
    QStringList texts;
    std::vector<int> values;

    // Entry i stores first + i.
    static ListItems Positions(const QStringList& texts, int first = 0);
    // -1 when no entry stores value.
    int positionOf(int value) const;
    QString textOf(int value) const;   // ForeignValueText() when no entry stores value
    // Refills box (no change signals) and selects the entry of value, or nothing.
    void fill(QComboBox* box, int value) const;
    // The value of the chosen entry; none when nothing is chosen.
    std::optional<int> chosen(const QComboBox* box) const;
};

// The encode codes that code references point into: references are 0-based
// indexes, 255 is Off, and only codes in use are offered.
class CodeTable {
public:
    static constexpr uint8_t kOff = 255;
    enum class Ref { Off, Listed, Emptied, Foreign };

    CodeTable(int size, std::function<bool(int)> inUse);

    // "Off", then "Enc- " k+1 for every code k in use.
    ListItems items() const;
    // The longest entry a list of this table can have.
    QString widestText() const;
    Ref stateOf(uint8_t ref) const;
    // A reference to a code no longer in use or past the table is turned into
    // Off: the radio must never receive a reference to a code it does not hold.
    static bool IsMended(Ref state) { return state == Ref::Emptied || state == Ref::Foreign; }
    // Fills list and selects the stored reference, or "Off" for one that is mended.
    Ref FillCodeList(QComboBox* list, uint8_t ref) const;
    // The reference of the chosen entry; none when nothing is chosen.
    std::optional<uint8_t> CodeFromList(const QComboBox* list) const;
    // The stored reference of field; one that is mended becomes Off in the
    // record, as it does wherever a list is built for it.
    uint8_t mendRef(RadioRecord& record, U8Field field) const;
    // FillCodeList for the mended reference of field.
    void loadRef(QComboBox* list, RadioRecord& record, U8Field field) const;

private:
    int size_;
    std::function<bool(int)> inUse_;
};

// One column of a grid.
class GridColumn {
public:
    explicit GridColumn(std::function<QString()> header) : header_(std::move(header)) {}
    virtual ~GridColumn() = default;

    QString header() const { return header_(); }
    // The cell of a row; may mend the record (a reference to an emptied code).
    virtual QString text(int row) = 0;
    // Texts besides the cells that the column should be wide enough for.
    virtual QStringList widthSamples() const { return {}; }
    // The editor laid over the cell, or nullptr when a double-click acts at once.
    virtual QWidget* cellEditor() const { return nullptr; }
    // Double-click on a column without an editor.
    virtual void toggle(int /*row*/) {}
    // Presets the editor for row; false when the cell cannot be edited now.
    virtual bool open(int /*row*/) { return false; }
    // Stores what the editor holds.
    virtual void commit(int /*row*/) {}

private:
    std::function<QString()> header_;
};

using GridColumns = std::vector<std::unique_ptr<GridColumn>>;
using BitOfRow = std::function<BitField(int row)>;

// A field of a few bits whose cell shows one text per value; a double-click
// writes next(value) at once. Values without a text show ForeignValueText().
class CycleColumn : public GridColumn {
public:
    CycleColumn(std::function<QString()> header, RadioRecord& record, BitOfRow field,
                std::function<QStringList()> texts, std::function<unsigned(unsigned)> next);
    QString text(int row) override;
    QStringList widthSamples() const override { return texts_(); }
    void toggle(int row) override;

private:
    RadioRecord& record_;
    BitOfRow field_;
    std::function<QStringList()> texts_;
    std::function<unsigned(unsigned)> next_;
};

// A value picked from a list laid over the cell.
class ListColumn : public GridColumn {
public:
    struct Binding {
        std::function<ListItems(int row)> items;
        std::function<int(int row)> load;
        std::function<void(int row, int value)> store;
        std::function<QString(int row)> display = {};   // optional: the entry's text otherwise
        std::function<bool(int row)> canOpen = {};      // optional: always otherwise
        QStringList widestTexts = {};                   // optional: more texts the column must fit
    };
    ListColumn(std::function<QString()> header, QComboBox* list, Binding binding);
    QString text(int row) override;
    QStringList widthSamples() const override;
    QWidget* cellEditor() const override;
    bool open(int row) override;
    void commit(int row) override;

private:
    QComboBox* list_;
    Binding binding_;
    ListItems shown_;   // the entries the open list was filled with
};

// A text typed into an edit box laid over the cell.
class TextColumn : public GridColumn {
public:
    TextColumn(std::function<QString()> header, QLineEdit* edit, std::function<QString(int row)> load,
               std::function<void(int row, const QString& text)> store, QString widestText);
    QString text(int row) override { return load_(row); }
    QStringList widthSamples() const override { return {widestText_}; }
    QWidget* cellEditor() const override;
    bool open(int row) override;
    void commit(int row) override;

private:
    QLineEdit* edit_;
    std::function<QString(int)> load_;
    std::function<void(int, const QString&)> store_;
    QString widestText_;
};

// A grid with a header row, a header column of two-digit row numbers, and
// cells painted like the channel grid. Rows and columns are counted as the
// user sees them: row 1 and column 1 are the first cells below and beside the headers.
class SignalGrid : public QTableWidget {
    Q_OBJECT
public:
    SignalGrid(const char* name, int rows, QWidget* parent);

    void setColumns(std::function<QString()> cornerHeader, GridColumns columns);
    GridColumn* column(int col) const { return columns_.at(std::size_t(col - 1)).get(); }
    int columnTotal() const { return int(columns_.size()); }
    std::vector<QWidget*> cellEditors() const;

    // Headers in the current language and widths that fit them and the cells.
    void relabel();
    void ShowRow(int row);
    void showAllRows();
    QString cellText(int row, int col) const;

    // Double-click on a cell: toggles it, or lays its editor over it.
    void openCell(int row, int col);
    // Exit of a cell editor: stores its value, redraws the row, hides the editor.
    void commitCell(QWidget* editor);
    // Hides the open cell editor without storing (the record may have been replaced).
    void closeCellEditor();
    // Commits the open cell editor, if there is one.
    void commitOpenCell();
    QWidget* openEditor() const { return openEditor_; }
    int editingRow() const { return editingRow_; }
    int editingColumn() const { return editingColumn_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitColumns();
    void keepEditorOverCell();

    std::function<QString()> cornerHeader_;
    GridColumns columns_;
    QAbstractButton* corner_ = nullptr;
    QWidget* openEditor_ = nullptr;
    int editingRow_ = 1;
    int editingColumn_ = 1;
};

// Lays editor exactly over the grid's cell being edited, shows it and gives it the focus.
void PlaceCellEditor(QWidget* editor, SignalGrid* grid);

} // namespace k3n
