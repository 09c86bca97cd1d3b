#include "editors/signal_grid.h"
#include "editors/editor_controls.h"
#include <QAbstractButton>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <algorithm>

namespace k3n {

namespace {

constexpr int kCellPadding = 14;
constexpr int kRowPadding = 8;
constexpr int kListArrowRoom = 18;

QColor GridLineColour(const QWidget& w)
{
    QStyleOptionViewItem opt;
    opt.initFrom(&w);
    return QColor::fromRgba(static_cast<QRgb>(w.style()->styleHint(QStyle::SH_Table_GridLineColor, &opt, &w)));
}

void DrawGridLines(QPainter& p, const QRect& rect, const QWidget& grid)
{
    p.save();
    p.setPen(GridLineColour(grid));
    p.drawLine(rect.topRight(), rect.bottomRight());
    p.drawLine(rect.bottomLeft(), rect.bottomRight());
    p.restore();
}

// The header row and the header column, painted like the cells and fixed in place.
class HeaderCells : public QHeaderView {
public:
    HeaderCells(Qt::Orientation o, QWidget* parent) : QHeaderView(o, parent)
    {
        setSectionsClickable(false);
        setHighlightSections(false);
    }

protected:
    void paintSection(QPainter* p, const QRect& rect, int logicalIndex) const override
    {
        const int gridRow = orientation() == Qt::Horizontal ? 0 : logicalIndex + 1;
        PaintGridCell(*p, rect, gridRow, model()->headerData(logicalIndex, orientation()).toString(),
                      parentWidget()->palette());
        DrawGridLines(*p, rect, *parentWidget());
    }

    QSize sectionSizeFromContents(int logicalIndex) const override
    {
        const QString text = model()->headerData(logicalIndex, orientation()).toString();
        return {fontMetrics().horizontalAdvance(text) + kCellPadding, fontMetrics().height() + kRowPadding};
    }
};

bool IsEnterKey(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

QString ForeignValueText()
{
    return QStringLiteral("?");
}

// ---- lists -----------------------------------------------------------------------

ListItems ListItems::Positions(const QStringList& texts, int first)
{
    ListItems items{texts, {}};
    for (int i = 0; i < texts.size(); ++i)
        items.values.push_back(first + i);
    return items;
}

int ListItems::positionOf(int value) const
{
    const auto it = std::find(values.begin(), values.end(), value);
    return it == values.end() ? -1 : int(it - values.begin());
}

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

CodeTable::CodeTable(int size, std::function<bool(int)> inUse) : size_(size), inUse_(std::move(inUse)) {}

ListItems CodeTable::items() const
{
    ListItems items{{QStringLiteral("Off")}, {kOff}};
    for (int k = 0; k < size_; ++k)
        if (inUse_(k)) {
            items.texts << QStringLiteral("Enc- %1").arg(k + 1);
            items.values.push_back(k);
        }
    return items;
}

QString CodeTable::widestText() const
{
    return QStringLiteral("Enc- %1").arg(size_);
}

CodeTable::Ref CodeTable::stateOf(uint8_t ref) const
{
    if (ref == kOff)
        return Ref::Off;
    if (ref >= size_)
        return Ref::Foreign;
    return inUse_(ref) ? Ref::Listed : Ref::Emptied;
}

CodeTable::Ref CodeTable::FillCodeList(QComboBox* list, uint8_t ref) const
{
    const Ref state = stateOf(ref);
    items().fill(list, IsMended(state) ? kOff : ref);
    return state;
}

std::optional<uint8_t> CodeTable::CodeFromList(const QComboBox* list) const
{
    // Entry i >= 1 is the i-th code in use, counted in table order.
    const std::optional<int> ref = items().chosen(list);
    return ref ? std::optional<uint8_t>(uint8_t(*ref)) : std::nullopt;
}

uint8_t CodeTable::mendRef(RadioRecord& record, U8Field field) const
{
    if (IsMended(stateOf(record.get(field))))
        record.set(field, kOff);
    return record.get(field);
}

void CodeTable::loadRef(QComboBox* list, RadioRecord& record, U8Field field) const
{
    FillCodeList(list, mendRef(record, field));
}

// ---- columns -----------------------------------------------------------------------

CycleColumn::CycleColumn(std::function<QString()> header, RadioRecord& record, BitOfRow field,
                         std::function<QStringList()> texts, std::function<unsigned(unsigned)> next)
    : GridColumn(std::move(header)), record_(record), field_(std::move(field)), texts_(std::move(texts)),
      next_(std::move(next))
{
}

QString CycleColumn::text(int row)
{
    const QStringList texts = texts_();
    const unsigned value = record_.get(field_(row));
    return value < unsigned(texts.size()) ? texts.at(int(value)) : ForeignValueText();
}

void CycleColumn::toggle(int row)
{
    record_.set(field_(row), next_(record_.get(field_(row))));
}

ListColumn::ListColumn(std::function<QString()> header, QComboBox* list, Binding binding)
    : GridColumn(std::move(header)), list_(list), binding_(std::move(binding))
{
}

QString ListColumn::text(int row)
{
    if (binding_.display)
        return binding_.display(row);
    return binding_.items(row).textOf(binding_.load(row));
}

QStringList ListColumn::widthSamples() const
{
    return binding_.items(1).texts + binding_.widestTexts;
}

QWidget* ListColumn::cellEditor() const
{
    return list_;
}

bool ListColumn::open(int row)
{
    if (binding_.canOpen && !binding_.canOpen(row))
        return false;
    shown_ = binding_.items(row);
    shown_.fill(list_, binding_.load(row));
    return true;
}

void ListColumn::commit(int row)
{
    // Nothing chosen (a stored value the list lacks): the record keeps its value.
    if (const std::optional<int> value = shown_.chosen(list_))
        binding_.store(row, *value);
}

TextColumn::TextColumn(std::function<QString()> header, QLineEdit* edit, std::function<QString(int)> load,
                       std::function<void(int, const QString&)> store, QString widestText)
    : GridColumn(std::move(header)), edit_(edit), load_(std::move(load)), store_(std::move(store)),
      widestText_(std::move(widestText))
{
}

QWidget* TextColumn::cellEditor() const
{
    return edit_;
}

bool TextColumn::open(int row)
{
    edit_->setText(load_(row));
    edit_->selectAll();
    return true;
}

void TextColumn::commit(int row)
{
    // Only typed text is stored: opening a cell and leaving it changes nothing.
    if (edit_->isModified())
        store_(row, edit_->text());
}

// ---- grid ------------------------------------------------------------------------------

SignalGrid::SignalGrid(const char* name, int rows, QWidget* parent) : QTableWidget(rows, 0, parent)
{
    setObjectName(name);
    setHorizontalHeader(new HeaderCells(Qt::Horizontal, this));
    setVerticalHeader(new HeaderCells(Qt::Vertical, this));
    setItemDelegate(new StripedGridDelegate(this, 1));   // row 0 is the header view
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + kRowPadding);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QStringList rowNumbers;
    for (int row = 1; row <= rows; ++row)
        rowNumbers << QStringLiteral("%1").arg(row, 2, 10, QLatin1Char('0'));
    setVerticalHeaderLabels(rowNumbers);
    // The corner cell (row 0, column 0) is a button of the view; it is painted like the headers.
    corner_ = findChild<QAbstractButton*>();
    if (corner_)
        corner_->installEventFilter(this);

    connect(this, &QTableWidget::cellDoubleClicked, this, [this](int r, int c) { openCell(r + 1, c + 1); });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &SignalGrid::keepEditorOverCell);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &SignalGrid::keepEditorOverCell);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, &SignalGrid::keepEditorOverCell);
}

void SignalGrid::setColumns(std::function<QString()> cornerHeader, GridColumns columns)
{
    cornerHeader_ = std::move(cornerHeader);
    columns_ = std::move(columns);
    setColumnCount(int(columns_.size()));
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c) {
            auto* item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            setItem(r, c, item);
        }
    for (QWidget* editor : cellEditors()) {
        editor->hide();
        editor->installEventFilter(this);
    }
    setCurrentCell(0, 0);
}

std::vector<QWidget*> SignalGrid::cellEditors() const
{
    std::vector<QWidget*> editors;
    for (const auto& column : columns_)
        if (QWidget* editor = column->cellEditor())
            editors.push_back(editor);
    return editors;
}

void SignalGrid::relabel()
{
    QStringList headers;
    for (const auto& column : columns_)
        headers << column->header();
    setHorizontalHeaderLabels(headers);
    if (corner_)
        corner_->update();
    fitColumns();
}

void SignalGrid::fitColumns()
{
    const QFontMetrics cells = fontMetrics();
    const QFontMetrics headers = horizontalHeader()->fontMetrics();
    for (int col = 1; col <= columnTotal(); ++col) {
        GridColumn* c = column(col);
        int width = headers.horizontalAdvance(c->header());
        for (const QString& sample : c->widthSamples())
            width = std::max(width, cells.horizontalAdvance(sample));
        for (int row = 1; row <= rowCount(); ++row)
            width = std::max(width, cells.horizontalAdvance(cellText(row, col)));
        // A list laid over the cell needs room for its arrow besides the text.
        if (qobject_cast<QComboBox*>(c->cellEditor()))
            width += kListArrowRoom;
        setColumnWidth(col - 1, width + kCellPadding);
    }
    const int numberWidth = std::max(headers.horizontalAdvance(cornerHeader_ ? cornerHeader_() : QString()),
                                     headers.horizontalAdvance(QStringLiteral("00")));
    verticalHeader()->setFixedWidth(numberWidth + kCellPadding);
}

void SignalGrid::ShowRow(int row)
{
    if (row < 1 || row > rowCount())
        return;
    for (int col = 1; col <= columnTotal(); ++col)
        item(row - 1, col - 1)->setText(column(col)->text(row));
}

void SignalGrid::showAllRows()
{
    for (int row = 1; row <= rowCount(); ++row)
        ShowRow(row);
}

QString SignalGrid::cellText(int row, int col) const
{
    const QTableWidgetItem* cell = item(row - 1, col - 1);
    return cell ? cell->text() : QString();
}

void SignalGrid::openCell(int row, int col)
{
    if (row < 1 || row > rowCount() || col < 1 || col > columnTotal())
        return;
    commitOpenCell();
    GridColumn* c = column(col);
    if (!c->cellEditor()) {
        c->toggle(row);
        ShowRow(row);
        return;
    }
    editingRow_ = row;
    editingColumn_ = col;
    if (!c->open(row))
        return;
    setCurrentCell(row - 1, col - 1);
    openEditor_ = c->cellEditor();
    PlaceCellEditor(openEditor_, this);
}

void SignalGrid::commitCell(QWidget* editor)
{
    if (editor != openEditor_)
        return;
    openEditor_ = nullptr;
    column(editingColumn_)->commit(editingRow_);
    ShowRow(editingRow_);
    const bool hadFocus = editor->hasFocus();
    editor->hide();
    if (hadFocus)
        setFocus(Qt::OtherFocusReason);
}

void SignalGrid::commitOpenCell()
{
    if (openEditor_)
        commitCell(openEditor_);
}

void SignalGrid::closeCellEditor()
{
    // Cleared first, so the exit that hiding may cause finds nothing to store.
    QWidget* editor = openEditor_;
    openEditor_ = nullptr;
    if (editor)
        editor->hide();
}

void SignalGrid::keepEditorOverCell()
{
    if (openEditor_)
        openEditor_->setGeometry(visualRect(model()->index(editingRow_ - 1, editingColumn_ - 1))
                                     .adjusted(0, 0, 1, 1));
}

bool SignalGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == corner_ && event->type() == QEvent::Paint) {
        QPainter p(corner_);
        PaintGridCell(p, corner_->rect(), 0, cornerHeader_ ? cornerHeader_() : QString(), palette());
        DrawGridLines(p, corner_->rect(), *this);
        return true;
    }
    // Enter in a cell editor hands the focus back to the grid, which commits the cell.
    if (watched == openEditor_ && IsEnterKey(event)) {
        setFocus(Qt::OtherFocusReason);
        return true;
    }
    return QTableWidget::eventFilter(watched, event);
}

void PlaceCellEditor(QWidget* editor, SignalGrid* grid)
{
    // Editors live on the grid's viewport, so the cell rectangle needs no offset;
    // one pixel more each way covers the grid lines around the cell.
    const QModelIndex cell = grid->model()->index(grid->editingRow() - 1, grid->editingColumn() - 1);
    grid->scrollTo(cell);
    editor->setGeometry(grid->visualRect(cell).adjusted(0, 0, 1, 1));
    editor->show();
    editor->raise();
    editor->setFocus(Qt::OtherFocusReason);
}

} // namespace k3n
