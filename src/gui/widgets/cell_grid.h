// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's grids: a header row and a header column of two-digit row
// numbers, striped cells, and cells edited in place. Rows and columns are
// counted as the user sees them: row 0 and column 0 are the headers (their
// texts are the items of row 0 and column 0, shown by header views that stay
// in place when the grid scrolls), row 1 and column 1 the first cells.
//
// A grid is described by its columns. Each column knows its header, the text
// of a row's cell and what opening the cell does: a cycle column writes the
// next value at once; a list or text column lays its pick-only list or edit
// box over the cell. The grid is the one place that knows the cell being
// edited: it opens the cell's editor, commits it (its exit, Enter) or closes
// it without storing, and redraws the row.
//
// The keyboard works every grid the same way: arrows and Tab move, Enter or
// F2 opens the cell (a list opened so drops down, and picking an entry with
// Enter stores it), Space or Enter toggles a cell that steps at once, Escape
// closes an open editor and leaves the cell as it was; F6 and Shift+F6 leave
// the grid for the next or previous control. Rows are selected by
// their header (click, Shift+click, Ctrl+click, Shift+arrows) and cells by
// dragging; a selection of more than one cell is shown highlighted.
#include "model/radio_record.h"
#include "model/settings_lists.h"
#include <QString>
#include <QStringList>
#include <QStyledItemDelegate>
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

// The light green of odd rows.
QColor OddRowColour();
// Paints one cell the way every grid looks: odd rows light green, even rows
// (the header row among them) the window colour, text centred on one line.
void PaintGridCell(QPainter& painter, const QRect& rect, int gridRow, const QString& text, const QPalette& palette);

// The entries of a pick-only list and the value each entry stores, put in a list box.
struct ListItems : ListEntries {
    ListItems() = default;
    ListItems(ListEntries entries) : ListEntries(std::move(entries)) {}
    ListItems(QStringList texts, std::vector<int> values) : ListEntries{std::move(texts), std::move(values)} {}

    // Entry i stores first + i.
    static ListItems Positions(const QStringList& texts, int first = 0) { return ListEntries::Positions(texts, first); }
    QString textOf(int value) const;   // ForeignValueText() when no entry stores value
    // Refills box (no change signals) and selects the entry of value, or nothing.
    void fill(QComboBox* box, int value) const;
    // The value of the chosen entry; none when nothing is chosen.
    std::optional<int> chosen(const QComboBox* box) const;
};

using HeaderText = std::function<QString()>;
using BitOfRow = std::function<BitField(int row)>;

// One column of a grid.
class CellColumn {
public:
    explicit CellColumn(HeaderText header) : header_(std::move(header)) {}
    virtual ~CellColumn() = default;

    QString header() const { return header_(); }
    // The cell of a row; may mend the record (a reference to an emptied entry).
    virtual QString text(int row) = 0;
    // Texts besides the header and the cells that the column must be wide enough for.
    QStringList widthSamples() const { return ownWidthSamples() + extraWidthSamples_; }
    void addWidthSamples(const QStringList& samples) { extraWidthSamples_ += samples; }
    // The editor laid over the cell; none when opening the cell acts at once.
    virtual QWidget* cellEditor() const { return nullptr; }
    // Cells of the column open only on rows where rule holds.
    void openOnlyWhen(std::function<bool(int row)> rule) { openRule_ = std::move(rule); }
    bool canOpen(int row) const { return !openRule_ || openRule_(row); }
    // Whether a key typed on a closed cell opens its editor and goes into it.
    virtual bool opensOnKey(const QString& /*typed*/) const { return false; }
    // Opening a column without an editor.
    virtual void act(int /*row*/) {}
    // Presets the editor for row; false when the cell cannot be edited now.
    virtual bool open(int /*row*/) { return false; }
    // Stores what the editor holds.
    virtual void commit(int /*row*/) {}

protected:
    virtual QStringList ownWidthSamples() const { return {}; }

private:
    HeaderText header_;
    QStringList extraWidthSamples_;
    std::function<bool(int)> openRule_;
};

using CellColumns = std::vector<std::unique_ptr<CellColumn>>;

// A value shown as one text per value; opening the cell writes next(value) at
// once (a toggle, or a step through a few values). Values without a text show
// ForeignValueText().
class CycleColumn : public CellColumn {
public:
    CycleColumn(HeaderText header, std::function<unsigned(int row)> load, std::function<void(int row, unsigned)> store,
                std::function<QStringList()> texts, std::function<unsigned(unsigned)> next);
    // A field of a few bits.
    CycleColumn(HeaderText header, RadioRecord& record, BitOfRow field, std::function<QStringList()> texts,
                std::function<unsigned(unsigned)> next);
    QString text(int row) override;
    void act(int row) override;

protected:
    QStringList ownWidthSamples() const override { return texts_(); }

private:
    std::function<unsigned(int)> load_;
    std::function<void(int, unsigned)> store_;
    std::function<QStringList()> texts_;
    std::function<unsigned(unsigned)> next_;
};

// A value picked from a list laid over the cell.
class ListColumn : public CellColumn {
public:
    struct Binding {
        std::function<ListItems(int row)> items;
        std::function<int(int row)> load;
        std::function<void(int row, int value)> store;
        std::function<QString(int row)> display = {};   // optional: the entry's text otherwise
    };
    ListColumn(HeaderText header, QComboBox* list, Binding binding);
    QString text(int row) override;
    QWidget* cellEditor() const override;
    bool open(int row) override;
    void commit(int row) override;

protected:
    QStringList ownWidthSamples() const override;

private:
    QComboBox* list_;
    Binding binding_;
    ListItems shown_;   // the entries the open list was filled with
};

// A text typed into an edit box laid over the cell.
class TextColumn : public CellColumn {
public:
    enum class Commit {
        Always,   // leaving the box stores its text
        WhenTyped,   // only typed text is stored: opening a cell and leaving it changes nothing
    };
    TextColumn(HeaderText header, QLineEdit* edit, std::function<QString(int row)> load,
               std::function<void(int row, const QString& text)> store, QString widestText, Commit commit);
    QString text(int row) override { return load_(row); }
    QWidget* cellEditor() const override;
    // Enter, or a character startsTyping accepts, opens the box of a closed
    // cell; the character replaces the preset text, as in a spreadsheet.
    void openOnTyping(std::function<bool(QChar)> startsTyping) { startsTyping_ = std::move(startsTyping); }
    bool opensOnKey(const QString& typed) const override;
    bool open(int row) override;
    void commit(int row) override;

protected:
    QStringList ownWidthSamples() const override { return {widestText_}; }

private:
    QLineEdit* edit_;
    std::function<QString(int)> load_;
    std::function<void(int, const QString&)> store_;
    QString widestText_;
    Commit commit_;
    std::function<bool(QChar)> startsTyping_;
};

class CellGrid : public QTableWidget {
    Q_OBJECT
public:
    // rows: the rows below the header row.
    CellGrid(const char* name, int rows, QWidget* parent);

    // Takes the columns (column 1 first); cornerHeader is the header of the row numbers.
    void setColumns(HeaderText cornerHeader, CellColumns columns);
    CellColumn* column(int col) const { return columns_.at(std::size_t(col - 1)).get(); }
    int columnTotal() const { return int(columns_.size()); }
    int rowTotal() const { return rowCount() - 1; }
    // Every column's editor, each once.
    std::vector<QWidget*> cellEditors() const;
    // A list column adds this much to its width, for the arrow of the list laid over it.
    void setListArrowRoom(int pixels) { listArrowRoom_ = pixels; }
    // The grid asks for room to show every cell without scrolling.
    void setSizeToWholeGrid(bool whole) { sizeToWholeGrid_ = whole; }
    QSize wholeGridSize() const;
    QSize sizeHint() const override;

    // Headers in the current language; row heights and column widths that fit
    // them, the width samples and the cells.
    void relabel();
    // Redraws a row: by the row display when one is set, else from the columns.
    void setRowDisplay(std::function<void(int row)> display) { rowDisplay_ = std::move(display); }
    void showRow(int row);
    void showAllRows();
    void showColumnTexts(int row);
    void clearRow(int row);
    QString cellText(int row, int col) const;

    // Opens a cell (a double-click): acts at once, or lays its editor over it.
    void openCell(int row, int col);
    // Opens a cell from the keyboard: as a double-click, but a list drops down.
    void openCellByKey(int row, int col);
    // Exit of a cell editor: stores its value, redraws the row, hides the editor.
    void commitCell(QWidget* editor);
    // Commits the open cell editor, if there is one.
    void commitOpenCell();
    // Hides the open cell editor without storing (the record may have been replaced).
    void closeCellEditor();
    // Escape: closes the open editor without storing and shows the cell as it was.
    void cancelCell();
    QWidget* openEditor() const { return openEditor_; }
    int editingRow() const { return editingRow_; }
    int editingColumn() const { return editingColumn_; }

    // Rows 1..rowTotal() whose every cell is selected, top to bottom.
    std::vector<int> selectedRows() const;
    void selectRows(int first, int last);
    // The selected cells when they are one column's rows first..last (at least two).
    struct ColumnRange {
        int col = 0, first = 0, last = 0;
    };
    std::optional<ColumnRange> selectedColumnRange() const;
    // More than one cell is selected: selected cells are painted highlighted.
    bool showsSelection() const;

signals:
    // A cell stored its value: a toggle acted, or an editor committed.
    void cellStored();
    // Delete was pressed on the grid (not in an open editor).
    void deletePressed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyboardSearch(const QString&) override {}   // the grid takes no typing

private:
    void fitToContents();
    // The model's header items and the grid's name, for screen readers.
    void labelHeadersForScreenReaders();
    // Tells a screen reader that a cell changed its value in place.
    void announceCell(int row, int col);
    // Lays the open cell's editor exactly over the cell.
    void PlaceCellEditor();
    void open(int row, int col, bool byKey);
    // Shift+Up or Shift+Down over selected rows: the row selection grows or shrinks.
    bool extendRowSelection(int by);

    HeaderText cornerHeader_;
    CellColumns columns_;
    std::function<void(int)> rowDisplay_;
    QAbstractButton* corner_ = nullptr;
    QWidget* openEditor_ = nullptr;
    bool openedByKey_ = false;   // a list opened from the keyboard stores what is picked at once
    int editingRow_ = 1;
    int editingColumn_ = 1;
    int listArrowRoom_ = 0;
    bool sizeToWholeGrid_ = false;
};

// A pick-only list or an edit box living on the grid's cells, hidden until a cell opens it.
QComboBox* NewCellList(CellGrid* grid, const char* name);
QLineEdit* NewCellEdit(CellGrid* grid, const char* name);

}   // namespace k3n
