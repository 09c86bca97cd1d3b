// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/signal_window.h"
#include "model/signal_entry.h"
#include "text/app_lang.h"
#include "text/ui_text.h"
#include "text/ui_text_ids.h"
#include "widgets/input_filters.h"
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace k3n {

namespace {

constexpr int kPageTexts[] = {ui::kOption, ui::kSystem, ui::kDecode, ui::kEncode};

// The texts of a list of the signalling editors, in the current language.
QStringList ListTexts(SettingsList list)
{
    return SettingsListTexts(list, appLang());
}

// A list laid over a cell needs room for its arrow besides the text.
constexpr int kListArrowRoom = 18;

CellGrid* NewSignalGrid(const char* name, int rows, QWidget* page)
{
    auto* grid = new CellGrid(name, rows, page);
    grid->setListArrowRoom(kListArrowRoom);
    return grid;
}

// The page's grid fills it.
void PutOnPage(QWidget* page, QWidget* content)
{
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(content);
}

}   // namespace

CodeTable::CodeTable(int size, std::function<bool(int)> inUse) : size_(size), inUse_(std::move(inUse)) {}

ListItems CodeTable::items() const
{
    ListItems items{{CodeReferenceText(kOff)}, {kOff}};
    for (int k = 0; k < size_; ++k)
        if (inUse_(k)) {
            items.texts << CodeReferenceText(uint8_t(k));
            items.values.push_back(k);
        }
    return items;
}

QString CodeTable::widestText() const
{
    return CodeReferenceText(uint8_t(size_ - 1));
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

SignalEditor::SignalEditor(RadioData& data, QWidget* parent, const Shape& shape, CodeTable codes)
    : EditorWindow(data, parent), captionText_(shape.captionText), codes_(std::move(codes))
{
    pageControl = new QTabWidget(this);
    pageControl->setObjectName(shape.pageControlName);
    // Every page's tab stays in view: the window's smallest width includes them all.
    pageControl->setUsesScrollButtons(false);
    tsOption = new QWidget;
    tsOption->setObjectName("tsOption");
    tsSystem = new QWidget;
    tsSystem->setObjectName("tsSystem");
    tsDecode = new QWidget;
    tsDecode->setObjectName("tsDecode");
    tsEncode = new QWidget;
    tsEncode->setObjectName("tsEncode");
    for (QWidget* page : {tsOption, tsSystem, tsDecode, tsEncode})
        pageControl->addTab(page, QString());

    auto* optionLayout = new QVBoxLayout(tsOption);
    optionColumns_ = new QHBoxLayout;
    optionColumns_->setSpacing(32);
    optionColumns_->addStretch();   // columns are inserted before it and stay packed to the left
    optionLayout->addLayout(optionColumns_);
    optionLayout->addStretch();

    sgSystem = NewSignalGrid("sgSystem", shape.systemRows, tsSystem);
    sgDecode = NewSignalGrid("sgDecode", shape.decodeRows, tsDecode);
    sgEncode = NewSignalGrid("sgEncode", shape.encodeRows, tsEncode);
    PutOnPage(tsSystem, sgSystem);
    PutOnPage(tsDecode, sgDecode);
    PutOnPage(tsEncode, sgEncode);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(pageControl);
    bHide->raise();

    connect(pageControl, &QTabWidget::currentChanged, this, &SignalEditor::PageChange);
}

QSize SignalEditor::sizeHint() const
{
    // The size the pages are laid out for; the System grid with its many columns scrolls sideways.
    return EditorWindow::sizeHint().expandedTo(QSize(820, 520));
}

void SignalEditor::PageChange()
{
    // What a cell editor holds belongs to the page being left; then the whole block is read again.
    for (CellGrid* grid : grids())
        grid->commitOpenCell();
    RefreshAll();
}

void SignalEditor::RefreshAll()
{
    setWindowTitle(UiText(captionText_));
    pageControl->setAccessibleName(windowTitle());
    captions_.apply();
    for (int page = 0; page < pageControl->count(); ++page)
        pageControl->setTabText(page, UiText(kPageTexts[page]));
    for (CellGrid* grid : grids())
        grid->closeCellEditor();

    for (auto& bound : lists_) {
        if (bound->items) {
            bound->shown = bound->items();
            bound->shown.fill(bound->box, record().get(bound->field));
        } else {
            bound->shown = codes_.items();
            codes_.loadRef(bound->box, record(), bound->field);
        }
    }
    for (const BoundFlag& bound : flags_)
        bound.box->setChecked(record().get(bound.bit) != 0);
    for (const BoundLeadTime& bound : leadTimes_)
        bound.edit->setText(QString::number(record().get(bound.field)));
    refreshOptions();

    for (CellGrid* grid : grids()) {
        grid->showAllRows();
        grid->relabel();
    }
}

// ---- option page ---------------------------------------------------------------------

QFormLayout* SignalEditor::optionForm(int column)
{
    while (int(optionForms_.size()) <= column) {
        auto* form = new QFormLayout;
        form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
        form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        form->setVerticalSpacing(8);
        optionColumns_->insertLayout(optionColumns_->count() - 1, form);
        optionForms_.push_back(form);
    }
    return optionForms_[std::size_t(column)];
}

QComboBox* SignalEditor::addList(int column, const char* name, int labelText, U8Field field,
                                 std::function<ListItems()> items)
{
    QFormLayout* form = optionForm(column);
    const QByteArray labelName = QByteArray("s") + (name + 2);   // cbAutoReset -> sAutoReset
    QComboBox* box = AddLabelledList(form, captions_, labelName.constData(), labelText, name);
    auto& bound = *lists_.emplace_back(std::make_unique<BoundList>(BoundList{box, field, std::move(items), {}}));
    bindExit(box, [this, &bound] { commitList(bound); });
    return box;
}

void SignalEditor::commitList(BoundList& bound)
{
    // Nothing chosen (a stored value the list lacks): the field keeps its value.
    if (const std::optional<int> value = bound.shown.chosen(bound.box))
        record().set(bound.field, uint8_t(*value));
}

void SignalEditor::commitOnPick(QComboBox* box)
{
    for (auto& bound : lists_)
        if (bound->box == box)
            connect(box, &QComboBox::activated, this, [this, b = bound.get()] {
                commitList(*b);
                emit recordWritten();
            });
}

ListItems SignalEditor::Entries(SettingsList list)
{
    return SettingsListEntries(list, appLang());
}

QCheckBox* SignalEditor::addFlag(int column, const char* name, int text, BitField bit)
{
    auto* box = new QCheckBox(tsOption);
    box->setObjectName(name);
    captions_.add(box, text);
    optionForm(column)->addRow(box);
    flags_.push_back({box, bit});
    connect(box, &QCheckBox::clicked, this, [this, box, bit] {
        record().set(bit, box->isChecked() ? 1 : 0);
        emit recordWritten();
    });
    return box;
}

QLineEdit* SignalEditor::addLeadTime(int column, const char* name, int labelText, U16Field field)
{
    auto* label = new QLabel(tsOption);
    label->setObjectName(QByteArray("s") + (name + 1));   // eLeadIn -> sLeadIn
    captions_.add(label, labelText);
    auto* edit = new QLineEdit(tsOption);
    edit->setObjectName(name);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    label->setBuddy(edit);
    optionForm(column)->addRow(label, edit);
    FilterInput(edit, DigitsInput(kLeadTimeDigits));
    leadTimes_.push_back({edit, field});
    bindExit(edit, [this, bound = leadTimes_.back()] { commitLeadTime(bound); });
    return edit;
}

void SignalEditor::commitLeadTime(const BoundLeadTime& bound)
{
    // Leaving the box without typing leaves the field alone, even a foreign value.
    if (!bound.edit->isModified())
        return;
    if (const std::optional<uint16_t> ms = LeadTimeFromText(bound.edit->text()))
        record().set(bound.field, *ms);
    bound.edit->setText(QString::number(record().get(bound.field)));
}

void SignalEditor::addCallTone(int column, U8Field call1, U8Field call2)
{
    auto* group = new QGroupBox(tsOption);
    group->setObjectName("gbCallTone");
    captions_.add(group, ui::kCallTone);
    auto* form = new QFormLayout(group);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    struct CallList {
        const char* labelName;
        const char* name;
        int text;
        U8Field field;
    };
    for (const CallList& call :
         {CallList{"sCall_1", "cbCall_1", ui::kCall1, call1}, CallList{"sCall_2", "cbCall_2", ui::kCall2, call2}}) {
        QComboBox* box = AddLabelledList(form, captions_, call.labelName, call.text, call.name);
        box->setMinimumContentsLength(7);
        auto& bound = *lists_.emplace_back(std::make_unique<BoundList>(BoundList{box, call.field, {}, {}}));
        bindExit(box, [this, &bound] { commitList(bound); });
    }
    group->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);
    optionForm(column)->addRow(group);
}

// ---- grid columns ----------------------------------------------------------------------

SignalEditor::Header SignalEditor::TextNo(int textNo)
{
    return [textNo] { return UiText(textNo); };
}

SignalEditor::Header SignalEditor::Fixed(const char* text)
{
    return [text] { return QString::fromLatin1(text); };
}

SignalEditor::Header SignalEditor::DecodeHeader(int n)
{
    return [n] { return UiText(ui::kDecodeNumber) + QString::number(n); };
}

std::unique_ptr<CellColumn> SignalEditor::codeRefColumn(CellGrid* grid, Header header, const char* listName,
                                                        std::function<U8Field(int)> field)
{
    auto column = listColumn(grid, std::move(header), listName,
                             {.items = [this](int) { return codes_.items(); },
                              .load = [this, field](int row) { return int(codes_.mendRef(record(), field(row))); },
                              .store = [this, field](int row, int ref) { record().set(field(row), uint8_t(ref)); }});
    column->addWidthSamples({codes_.widestText()});
    return column;
}

std::unique_ptr<CellColumn> SignalEditor::listColumn(CellGrid* grid, Header header, const char* listName,
                                                     ListColumn::Binding binding)
{
    return std::make_unique<ListColumn>(std::move(header), NewCellList(grid, listName), std::move(binding));
}

std::unique_ptr<CellColumn> SignalEditor::valueListColumn(CellGrid* grid, Header header, const char* listName,
                                                          std::function<ListItems()> items,
                                                          std::function<U8Field(int)> field)
{
    return listColumn(grid, std::move(header), listName,
                      {.items = [items](int) { return items(); },
                       .load = [this, field](int row) { return int(record().get(field(row))); },
                       .store = [this, field](int row, int value) { record().set(field(row), uint8_t(value)); }});
}

std::unique_ptr<CellColumn> SignalEditor::decodeTypeColumn(CellGrid* grid, std::function<U8Field(int)> field)
{
    return valueListColumn(
        grid, TextNo(ui::kType), "cbDecodeType", [] { return Entries(SettingsList::SignalDecodeType); },
        std::move(field));
}

std::unique_ptr<CellColumn> SignalEditor::digitCodeColumn(CellGrid* grid, const char* editName,
                                                          std::function<DigitCodeField(int)> field)
{
    QLineEdit* edit = NewCellEdit(grid, editName);
    // The capacity is the same for every row of a table.
    const int capacity = field(1).capacity;
    FilterInput(edit, DigitCodeInput(capacity));
    return std::make_unique<TextColumn>(
        TextNo(ui::kCode), edit, [this, field](int row) { return ReadDigitCode(record(), field(row)); },
        [this, field](int row, const QString& text) { WriteDigitCode(record(), field(row), text); },
        QString(capacity, u'8'), TextColumn::Commit::WhenTyped);
}

std::unique_ptr<CellColumn> SignalEditor::tenthsColumn(CellGrid* grid, Header header, const char* editName,
                                                       std::function<U8Field(int)> field)
{
    QLineEdit* edit = NewCellEdit(grid, editName);
    FilterInput(edit, DecimalInput(kTenthsTextLength));
    return std::make_unique<TextColumn>(
        std::move(header), edit, [this, field](int row) { return TenthsText(record().get(field(row))); },
        [this, field](int row, const QString& text) { record().set(field(row), TenthsFromText(text)); },
        QStringLiteral("25.5"), TextColumn::Commit::WhenTyped);
}

std::unique_ptr<CellColumn> SignalEditor::onOffColumn(Header header, BitOfRow bit)
{
    return std::make_unique<CycleColumn>(
        std::move(header), record(), std::move(bit), [] { return ListTexts(SettingsList::SignalOnOff); },
        [](unsigned v) { return v ^ 1u; });
}

std::unique_ptr<CellColumn> SignalEditor::markColumn(Header header, BitOfRow bit)
{
    return std::make_unique<CycleColumn>(
        std::move(header), record(), std::move(bit), [] { return ListTexts(SettingsList::SignalMark); },
        [](unsigned v) { return v ^ 1u; });
}

std::unique_ptr<CellColumn> SignalEditor::sequenceColumn(BitOfRow field, std::function<unsigned(unsigned)> next)
{
    return std::make_unique<CycleColumn>(
        TextNo(ui::kSequence), record(), std::move(field), [] { return ListTexts(SettingsList::SignalSequence); },
        std::move(next));
}

std::unique_ptr<CellColumn> SignalEditor::aniColumn(BitOfRow field)
{
    return std::make_unique<CycleColumn>(
        TextNo(ui::kAni), record(), std::move(field), [] { return ListTexts(SettingsList::SignalAniMode); },
        [](unsigned v) { return (v + 1) % 4; });
}

void SignalEditor::addDecodeMaskColumns(CellColumns& columns, int count, std::function<BitField(int, int)> bit)
{
    for (int n = 0; n < count; ++n)
        columns.push_back(markColumn(DecodeHeader(n + 1), [bit, n](int row) { return bit(row, n); }));
}

void SignalEditor::setCellColumns(CellGrid* grid, CellColumns columns)
{
    grid->setColumns(TextNo(ui::kNumberHeader), std::move(columns));
    bindCellEditors(grid);
}

}   // namespace k3n
