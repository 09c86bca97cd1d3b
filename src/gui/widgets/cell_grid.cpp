// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/cell_grid.h"
#include "text/own_texts.h"
#include "widgets/spoken_names.h"
#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>

namespace k3n {

namespace {

// Room around a cell's widest text and above and below its line.
constexpr int kCellPadding = 8;
constexpr int kRowPadding = 8;

QColor GridLineColour(const QWidget& grid)
{
    QStyleOptionViewItem opt;
    opt.initFrom(&grid);
    return QColor::fromRgba(static_cast<QRgb>(grid.style()->styleHint(QStyle::SH_Table_GridLineColor, &opt, &grid)));
}

// A header cell: painted like the cells, with the grid's lines on its right and bottom.
void PaintHeaderCell(QPainter& p, const QRect& rect, int gridRow, const QString& text, const QWidget& grid)
{
    p.save();
    p.setFont(grid.font());
    // The text is centred in the cell without its lines, as in the cells.
    PaintGridCell(p, rect.adjusted(0, 0, -1, -1), gridRow, text, grid.palette());
    p.setPen(GridLineColour(grid));
    p.drawLine(rect.topRight(), rect.bottomRight());
    p.drawLine(rect.bottomLeft(), rect.bottomRight());
    p.restore();
}

bool IsEnterKey(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// A key that would type a visible character (not a shortcut or an editing key).
bool TypesCharacter(const QKeyEvent* key)
{
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = key->text();
    return !text.isEmpty() && text.at(0).isPrint();
}

// The header row and the header column: the texts of the grid's row 0 and
// column 0, fixed in place.
class HeaderCells : public QHeaderView {
public:
    HeaderCells(Qt::Orientation o, CellGrid* grid) : QHeaderView(o, grid), grid_(grid)
    {
        // A row number selects its row; the column headers select nothing.
        setSectionsClickable(o == Qt::Vertical);
        setHighlightSections(false);
    }

protected:
    void paintSection(QPainter* p, const QRect& rect, int logicalIndex) const override
    {
        const bool row = orientation() == Qt::Horizontal;
        PaintHeaderCell(*p, rect, row ? 0 : logicalIndex, text(logicalIndex), *grid_);
    }

    QSize sectionSizeFromContents(int logicalIndex) const override
    {
        const QFontMetrics metrics = grid_->fontMetrics();
        return {metrics.horizontalAdvance(text(logicalIndex)) + kCellPadding, metrics.height() + kRowPadding};
    }

private:
    QString text(int logicalIndex) const
    {
        return orientation() == Qt::Horizontal ? grid_->cellText(0, logicalIndex) : grid_->cellText(logicalIndex, 0);
    }

    CellGrid* grid_;
};

// The cells: striped, and the current cell framed, as the grid shows no selection colour.
class CellPainter : public QStyledItemDelegate {
public:
    explicit CellPainter(CellGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        painter->save();
        painter->setFont(option.font);
        const QString text = index.data(Qt::DisplayRole).toString();
        if ((option.state & QStyle::State_Selected) && grid_->showsSelection()) {
            painter->fillRect(option.rect, option.palette.color(QPalette::Highlight));
            painter->setPen(option.palette.color(QPalette::HighlightedText));
            painter->drawText(option.rect, Qt::AlignCenter | Qt::TextSingleLine, text);
        } else {
            PaintGridCell(*painter, option.rect, index.row(), text, option.palette);
        }
        if (option.state & QStyle::State_HasFocus) {
            painter->setPen(QPen(option.palette.color(QPalette::Highlight), 1, Qt::DotLine));
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        }
        painter->restore();
    }

private:
    CellGrid* grid_;
};

}   // namespace

QString ForeignValueText()
{
    return QStringLiteral("?");
}

QColor OddRowColour()
{
    return QColor(192, 220, 192);
}

void PaintGridCell(QPainter& painter, const QRect& rect, int gridRow, const QString& text, const QPalette& palette)
{
    const bool odd = gridRow % 2 == 1;
    painter.save();
    painter.fillRect(rect, odd ? OddRowColour() : palette.color(QPalette::Window));
    // Dark text on the light green whatever the theme; the palette's text on the window colour.
    painter.setPen(odd ? QColor(Qt::black) : palette.color(QPalette::WindowText));
    painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, text);
    painter.restore();
}

// ---- lists -----------------------------------------------------------------------

QString ListItems::textOf(int value) const
{
    const int position = positionOf(value);
    return position < 0 ? ForeignValueText() : texts.at(position);
}

void ListItems::fill(QComboBox* box, int value) const
{
    const QSignalBlocker blocker(box);
    box->setEditable(false);
    box->clear();
    box->addItems(texts);
    box->setCurrentIndex(positionOf(value));
}

std::optional<int> ListItems::chosen(const QComboBox* box) const
{
    const int position = box->currentIndex();
    if (position < 0 || position >= int(values.size()))
        return std::nullopt;
    return values[std::size_t(position)];
}

// ---- columns -----------------------------------------------------------------------

CycleColumn::CycleColumn(HeaderText header, std::function<unsigned(int)> load, std::function<void(int, unsigned)> store,
                         std::function<QStringList()> texts, std::function<unsigned(unsigned)> next)
    : CellColumn(std::move(header)), load_(std::move(load)), store_(std::move(store)), texts_(std::move(texts)),
      next_(std::move(next))
{}

CycleColumn::CycleColumn(HeaderText header, RadioRecord& record, BitOfRow field, std::function<QStringList()> texts,
                         std::function<unsigned(unsigned)> next)
    : CycleColumn(
        std::move(header), [&record, field](int row) { return record.get(field(row)); },
        [&record, field](int row, unsigned value) { record.set(field(row), value); }, std::move(texts), std::move(next))
{}

QString CycleColumn::text(int row)
{
    const QStringList texts = texts_();
    const unsigned value = load_(row);
    return value < unsigned(texts.size()) ? texts.at(int(value)) : ForeignValueText();
}

void CycleColumn::act(int row)
{
    store_(row, next_(load_(row)));
}

ListColumn::ListColumn(HeaderText header, QComboBox* list, Binding binding)
    : CellColumn(std::move(header)), list_(list), binding_(std::move(binding))
{}

QString ListColumn::text(int row)
{
    if (binding_.display)
        return binding_.display(row);
    return binding_.items(row).textOf(binding_.load(row));
}

QStringList ListColumn::ownWidthSamples() const
{
    return binding_.items(1).texts;
}

QWidget* ListColumn::cellEditor() const
{
    return list_;
}

bool ListColumn::open(int row)
{
    shown_ = binding_.items(row);
    if (shown_.texts.isEmpty())
        return false;   // nothing to offer
    shown_.fill(list_, binding_.load(row));
    return true;
}

void ListColumn::commit(int row)
{
    // Nothing chosen (a stored value the list lacks): the record keeps its value.
    if (const std::optional<int> value = shown_.chosen(list_))
        binding_.store(row, *value);
}

TextColumn::TextColumn(HeaderText header, QLineEdit* edit, std::function<QString(int)> load,
                       std::function<void(int, const QString&)> store, QString widestText, Commit commit)
    : CellColumn(std::move(header)), edit_(edit), load_(std::move(load)), store_(std::move(store)),
      widestText_(std::move(widestText)), commit_(commit)
{}

QWidget* TextColumn::cellEditor() const
{
    return edit_;
}

bool TextColumn::opensOnKey(const QString& typed) const
{
    return startsTyping_ && (typed.isEmpty() || (typed.size() == 1 && startsTyping_(typed.at(0))));
}

bool TextColumn::open(int row)
{
    edit_->setText(load_(row));
    edit_->selectAll();
    return true;
}

void TextColumn::commit(int row)
{
    if (commit_ == Commit::Always || edit_->isModified())
        store_(row, edit_->text());
}

// ---- grid ------------------------------------------------------------------------------

CellGrid::CellGrid(const char* name, int rows, QWidget* parent) : QTableWidget(1 + rows, 1, parent)
{
    setObjectName(name);
    setHorizontalHeader(new HeaderCells(Qt::Horizontal, this));
    setVerticalHeader(new HeaderCells(Qt::Vertical, this));
    setItemDelegate(new CellPainter(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // The corner cell (row 0, column 0) is a button of the view; it is painted like the headers.
    corner_ = findChild<QAbstractButton*>();
    if (corner_)
        corner_->installEventFilter(this);

    connect(this, &QTableWidget::cellDoubleClicked, this, &CellGrid::openCell);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &CellGrid::PlaceCellEditor);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &CellGrid::PlaceCellEditor);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, &CellGrid::PlaceCellEditor);
}

void CellGrid::setColumns(HeaderText cornerHeader, CellColumns columns)
{
    cornerHeader_ = std::move(cornerHeader);
    columns_ = std::move(columns);
    setColumnCount(1 + int(columns_.size()));
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c) {
            auto* item = new SpokenCell;
            const bool header = r == 0 || c == 0;
            item->setFlags(header ? Qt::NoItemFlags : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            setItem(r, c, item);
        }
    for (int row = 1; row < rowCount(); ++row)
        item(row, 0)->setText(QStringLiteral("%1").arg(row, 2, 10, QLatin1Char('0')));
    // The header views show row 0 and column 0.
    setRowHidden(0, true);
    setColumnHidden(0, true);
    for (QWidget* editor : cellEditors()) {
        editor->hide();
        editor->installEventFilter(this);
        // Picking an entry of a list opened from the keyboard stores it.
        if (auto* list = qobject_cast<QComboBox*>(editor))
            connect(list, &QComboBox::activated, this, [this, list] {
                if (list != openEditor_ || !openedByKey_)
                    return;
                list->hidePopup();
                commitCell(list);
            });
    }
    setCurrentCell(1, 1);
}

std::vector<QWidget*> CellGrid::cellEditors() const
{
    std::vector<QWidget*> editors;
    for (const auto& column : columns_)
        if (QWidget* editor = column->cellEditor(); editor && std::ranges::find(editors, editor) == editors.end())
            editors.push_back(editor);
    return editors;
}

void CellGrid::relabel()
{
    item(0, 0)->setText(cornerHeader_ ? cornerHeader_() : QString());
    for (int col = 1; col <= columnTotal(); ++col)
        item(0, col)->setText(column(col)->header());
    labelHeadersForScreenReaders();
    if (corner_)
        corner_->update();
    horizontalHeader()->viewport()->update();
    fitToContents();
}

void CellGrid::labelHeadersForScreenReaders()
{
    // The header views paint row 0 and column 0; what a screen reader reads
    // are the model's header items, so they carry the same texts.
    setAccessibleName(CaptionAround(this));
    for (int col = 0; col < columnCount(); ++col) {
        if (!horizontalHeaderItem(col))
            setHorizontalHeaderItem(col, new QTableWidgetItem);
        // The row numbers' column is called something even where its corner shows nothing.
        const QString header = cellText(0, col);
        horizontalHeaderItem(col)->setText(col == 0 && header.isEmpty() ? Text(OwnText::SpokenRowNumbers) : header);
    }
    for (int row = 0; row < rowCount(); ++row) {
        if (!verticalHeaderItem(row))
            setVerticalHeaderItem(row, new QTableWidgetItem);
        verticalHeaderItem(row)->setText(cellText(row, 0));
    }
}

void CellGrid::fitToContents()
{
    const QFontMetrics metrics = fontMetrics();
    verticalHeader()->setDefaultSectionSize(metrics.height() + kRowPadding);
    for (int col = 1; col <= columnTotal(); ++col) {
        CellColumn* c = column(col);
        int width = metrics.horizontalAdvance(c->header());
        for (const QString& sample : c->widthSamples())
            width = std::max(width, metrics.horizontalAdvance(sample));
        for (int row = 1; row <= rowTotal(); ++row)
            width = std::max(width, metrics.horizontalAdvance(cellText(row, col)));
        if (qobject_cast<QComboBox*>(c->cellEditor()))
            width += listArrowRoom_;
        setColumnWidth(col, width + kCellPadding);
    }
    const int numberWidth = std::max(metrics.horizontalAdvance(cellText(0, 0)), metrics.horizontalAdvance("00"));
    verticalHeader()->setFixedWidth(numberWidth + kCellPadding);
    horizontalHeader()->setFixedHeight(metrics.height() + kRowPadding);
    updateGeometry();
}

QSize CellGrid::wholeGridSize() const
{
    int width = 2 * frameWidth() + verticalHeader()->width();
    for (int c = 1; c < columnCount(); ++c)
        width += columnWidth(c);
    int height = 2 * frameWidth() + horizontalHeader()->height();
    for (int r = 1; r < rowCount(); ++r)
        height += rowHeight(r);
    return {width, height};
}

QSize CellGrid::sizeHint() const
{
    return sizeToWholeGrid_ ? wholeGridSize() : QTableWidget::sizeHint();
}

void CellGrid::showRow(int row)
{
    if (row < 1 || row > rowTotal())
        return;
    if (rowDisplay_)
        rowDisplay_(row);
    else
        showColumnTexts(row);
}

void CellGrid::showAllRows()
{
    for (int row = 1; row <= rowTotal(); ++row)
        showRow(row);
}

void CellGrid::showColumnTexts(int row)
{
    for (int col = 1; col <= columnTotal(); ++col)
        item(row, col)->setText(column(col)->text(row));
}

void CellGrid::clearRow(int row)
{
    for (int col = 1; col <= columnTotal(); ++col)
        item(row, col)->setText(QString());
}

QString CellGrid::cellText(int row, int col) const
{
    const QTableWidgetItem* cell = item(row, col);
    return cell ? cell->text() : QString();
}

void CellGrid::openCell(int row, int col)
{
    open(row, col, false);
}

void CellGrid::openCellByKey(int row, int col)
{
    open(row, col, true);
}

void CellGrid::open(int row, int col, bool byKey)
{
    if (row < 1 || row > rowTotal() || col < 1 || col > columnTotal())
        return;
    commitOpenCell();
    CellColumn* c = column(col);
    if (!c->canOpen(row))
        return;
    if (!c->cellEditor()) {
        c->act(row);
        showRow(row);
        announceCell(row, col);
        emit cellStored();
        return;
    }
    editingRow_ = row;
    editingColumn_ = col;
    if (!c->open(row))
        return;
    setCurrentCell(row, col);
    openEditor_ = c->cellEditor();
    openEditor_->setAccessibleName(Text(OwnText::SpokenCellEditor).arg(c->header(), cellText(row, 0)));
    openedByKey_ = byKey;
    scrollTo(model()->index(row, col));
    PlaceCellEditor();
    openEditor_->show();
    openEditor_->raise();
    openEditor_->setFocus(Qt::OtherFocusReason);
    if (auto* list = qobject_cast<QComboBox*>(openEditor_); list && byKey)
        list->showPopup();
}

void CellGrid::announceCell(int row, int col)
{
    // The cell keeps the focus while its value changes: say its new text.
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(this);
    if (!grid || !grid->tableInterface())
        return;
    AnnounceNameChange(grid->tableInterface()->cellAt(row, col));
}

void CellGrid::commitCell(QWidget* editor)
{
    // Opening its list moves the focus into the list: the cell stays open while it shows.
    if (editor != openEditor_)
        return;
    if (auto* list = qobject_cast<QComboBox*>(editor); list && list->view()->isVisible())
        return;
    openEditor_ = nullptr;   // cleared first: the exit that hiding may cause finds nothing to store
    column(editingColumn_)->commit(editingRow_);
    showRow(editingRow_);
    // Back to the grid only when the editor still holds the focus (Enter, a
    // commit); a click elsewhere keeps the focus where the user put it.
    if (editor->hasFocus())
        setFocus(Qt::OtherFocusReason);
    editor->hide();
    emit cellStored();
}

void CellGrid::commitOpenCell()
{
    if (openEditor_)
        commitCell(openEditor_);
}

void CellGrid::closeCellEditor()
{
    QWidget* editor = openEditor_;
    openEditor_ = nullptr;
    if (editor)
        editor->hide();
}

void CellGrid::cancelCell()
{
    QWidget* editor = openEditor_;
    if (!editor)
        return;
    openEditor_ = nullptr;   // first: the exit that moving the focus causes finds nothing to store
    if (editor->hasFocus())
        setFocus(Qt::OtherFocusReason);
    editor->hide();
    showRow(editingRow_);
}

std::vector<int> CellGrid::selectedRows() const
{
    std::vector<int> rows;
    for (int row = 1; row <= rowTotal(); ++row)
        if (selectionModel()->isRowSelected(row, QModelIndex()))
            rows.push_back(row);
    return rows;
}

void CellGrid::selectRows(int first, int last)
{
    first = std::clamp(first, 1, rowTotal());
    last = std::clamp(last, 1, rowTotal());
    const QItemSelection rows(model()->index(std::min(first, last), 1),
                              model()->index(std::max(first, last), columnTotal()));
    selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
    selectionModel()->setCurrentIndex(model()->index(last, std::max(currentColumn(), 1)),
                                      QItemSelectionModel::NoUpdate);
    viewport()->update();
}

std::optional<CellGrid::ColumnRange> CellGrid::selectedColumnRange() const
{
    const QModelIndexList cells = selectionModel()->selectedIndexes();
    if (cells.size() < 2)
        return std::nullopt;
    ColumnRange range{cells.first().column(), rowTotal() + 1, 0};
    for (const QModelIndex& cell : cells) {
        if (cell.column() != range.col || cell.column() < 1)
            return std::nullopt;
        range.first = std::min(range.first, cell.row());
        range.last = std::max(range.last, cell.row());
    }
    if (range.last - range.first + 1 != cells.size())
        return std::nullopt;   // not one unbroken range
    return range;
}

bool CellGrid::showsSelection() const
{
    return selectionModel()->selectedIndexes().size() > 1;
}

bool CellGrid::extendRowSelection(int by)
{
    const std::vector<int> rows = selectedRows();
    const int current = currentRow();
    if (std::ranges::find(rows, current) == rows.end())
        return false;
    // The unbroken block of selected rows around the current row; its other end stays.
    int top = current, bottom = current;
    while (std::ranges::find(rows, top - 1) != rows.end())
        --top;
    while (std::ranges::find(rows, bottom + 1) != rows.end())
        ++bottom;
    const int anchor = current == top ? bottom : top;
    selectRows(anchor, std::clamp(current + by, 1, rowTotal()));
    return true;
}

void CellGrid::PlaceCellEditor()
{
    // Editors live on the viewport, so the cell rectangle needs no offset; one
    // pixel more each way covers the grid lines around the cell.
    if (openEditor_)
        openEditor_->setGeometry(visualRect(model()->index(editingRow_, editingColumn_)).adjusted(0, 0, 1, 1));
}

void CellGrid::keyPressEvent(QKeyEvent* event)
{
    const int row = currentRow();
    const int col = currentColumn();
    const bool enter = IsEnterKey(event);
    const bool onCell = row >= 1 && row <= rowTotal() && col >= 1 && col <= columnTotal();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (onCell && TypesCharacter(event) && column(col)->opensOnKey(event->text())) {
        openCellByKey(row, col);
        if (openEditor_) {
            QKeyEvent typed(event->type(), event->key(), event->modifiers(), event->text());
            QCoreApplication::sendEvent(openEditor_, &typed);
        }
        return;
    }
    const bool space = event->key() == Qt::Key_Space;
    if (onCell && modifiers == Qt::NoModifier && (enter || event->key() == Qt::Key_F2 || space)) {
        // Space only toggles; Enter and F2 open whatever the cell has.
        if (!space || !column(col)->cellEditor())
            openCellByKey(row, col);
        return;
    }
    // Tab moves between cells; F6 (Shift+F6 back) leaves the grid for the
    // window's next control. Ctrl+Tab, the tables' usual way out, switches
    // the workspace's windows.
    if (event->key() == Qt::Key_F6 && (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier)) {
        QWidget::focusNextPrevChild(modifiers == Qt::NoModifier);
        return;
    }
    if (event->key() == Qt::Key_Delete && modifiers == Qt::NoModifier) {
        emit deletePressed();
        return;
    }
    if ((event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) && modifiers == Qt::ShiftModifier
        && extendRowSelection(event->key() == Qt::Key_Up ? -1 : 1))
        return;
    if (enter || TypesCharacter(event))
        return;   // the grid takes no typing
    QTableWidget::keyPressEvent(event);
}

bool CellGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == corner_ && event->type() == QEvent::Paint) {
        QPainter p(corner_);
        PaintHeaderCell(p, corner_->rect(), 0, cellText(0, 0), *this);
        return true;
    }
    // Enter in a cell editor commits the cell and hands the focus back to the
    // grid; Escape closes it without storing.
    if (watched == openEditor_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (IsEnterKey(key)) {
            commitCell(openEditor_);
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            cancelCell();
            return true;
        }
    }
    return QTableWidget::eventFilter(watched, event);
}

QComboBox* NewCellList(CellGrid* grid, const char* name)
{
    auto* list = new QComboBox(grid->viewport());
    list->setObjectName(name);
    list->setEditable(false);
    return list;
}

QLineEdit* NewCellEdit(CellGrid* grid, const char* name)
{
    auto* edit = new QLineEdit(grid->viewport());
    edit->setObjectName(name);
    edit->setAlignment(Qt::AlignCenter);
    edit->setFrame(false);
    return edit;
}

}   // namespace k3n
