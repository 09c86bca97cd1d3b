#pragma once
// What the DTMF, five-tone and two-tone editors have in common: four pages
// (Option, System, Decode, Encode), option controls bound to record fields,
// three grids edited in place, code references offered as lists of the codes
// in use, and RefreshAll on creation, on every page change and from the main
// window. Each editor supplies its tables, its columns and its differences.
#include "widgets/editor_window.h"
#include "editors/editor_controls.h"
#include "editors/signal_grid.h"
#include "model/digit_code.h"
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QHBoxLayout;
class QLineEdit;
class QTabWidget;

namespace k3n {

// Keeps what rule leaves of every text the user types or pastes; the caret goes to the end.
void FilterEditedText(QLineEdit* edit, std::function<QString(const QString&)> rule);

class SignalEditor : public EditorWindow {
    Q_OBJECT
public:
    void RefreshAll() final;
    QSize sizeHint() const override;
    void ShowSystemRow(int row) { sgSystem->ShowRow(row); }
    void ShowDecodeRow(int row) { sgDecode->ShowRow(row); }
    void ShowEncodeRow(int row) { sgEncode->ShowRow(row); }

protected:
    struct Shape {
        const char* pageControlName;
        int captionText;
        int systemRows, decodeRows, encodeRows;
    };
    SignalEditor(RadioData& data, QWidget* parent, const Shape& shape, CodeTable codes);

    RadioRecord& record() { return data_.record; }
    const CodeTable& codes() const { return codes_; }

    // ---- option page: forms side by side, filled top to bottom ----
    QFormLayout* optionForm(int column);
    // A labelled pick-only list storing the value of the chosen entry in field.
    QComboBox* addList(int column, const char* name, int labelText, U8Field field,
                       std::function<ListItems()> items);
    QCheckBox* addFlag(int column, const char* name, int text, BitField bit);
    // Also stores at once whenever the user picks an entry of a list made by addList.
    void commitOnPick(QComboBox* box);
    // Lead-in or lead-out: four digits, milliseconds clamped to 100..3000.
    QLineEdit* addLeadTime(int column, const char* name, int labelText, U16Field field);
    // The "Call Tone" group with the code lists cbCall_1 and cbCall_2.
    void addCallTone(int column, U8Field call1, U8Field call2);
    // "OFF", then "1" .. last; entry i stores i.
    static ListItems OffAndNumbers(int last);
    // Loads the editor's own controls after the bound ones, in RefreshAll.
    virtual void refreshOptions() {}

    // ---- grid columns ----
    using Header = std::function<QString()>;
    static Header TextNo(int textNo);
    static Header Fixed(const char* text);
    // "De- " followed by n.
    static Header DecodeHeader(int n);

    std::unique_ptr<GridColumn> codeRefColumn(SignalGrid* grid, Header header, const char* listName,
                                              std::function<U8Field(int row)> field);
    std::unique_ptr<GridColumn> listColumn(SignalGrid* grid, Header header, const char* listName,
                                           ListColumn::Binding binding);
    // A byte holding the value of an entry of items.
    std::unique_ptr<GridColumn> valueListColumn(SignalGrid* grid, Header header, const char* listName,
                                                std::function<ListItems()> items,
                                                std::function<U8Field(int row)> field);
    std::unique_ptr<GridColumn> decodeTypeColumn(SignalGrid* grid, std::function<U8Field(int row)> field);
    std::unique_ptr<GridColumn> digitCodeColumn(SignalGrid* grid, const char* editName,
                                                std::function<DigitCodeField(int row)> field);
    std::unique_ptr<GridColumn> tenthsColumn(SignalGrid* grid, Header header, const char* editName,
                                             std::function<U8Field(int row)> field);
    std::unique_ptr<GridColumn> onOffColumn(Header header, BitOfRow bit);
    // "Y" when the bit is set, else empty.
    std::unique_ptr<GridColumn> markColumn(Header header, BitOfRow bit);
    std::unique_ptr<GridColumn> sequenceColumn(BitOfRow field, std::function<unsigned(unsigned)> next);
    std::unique_ptr<GridColumn> aniColumn(BitOfRow field);
    // One "De- n" column per decode entry; bit(row, n) is the mask bit of entry n (0-based).
    void addDecodeMaskColumns(GridColumns& columns, int count, std::function<BitField(int row, int n)> bit);
    // Takes the columns and wires their cell editors' exits.
    void setGridColumns(SignalGrid* grid, GridColumns columns);

    CaptionTable captions_;
    QTabWidget* pageControl;
    QWidget *tsOption, *tsSystem, *tsDecode, *tsEncode;
    SignalGrid *sgSystem, *sgDecode, *sgEncode;

private:
    void PageChange();
    std::vector<SignalGrid*> grids() const { return {sgSystem, sgDecode, sgEncode}; }

    struct BoundList {
        QComboBox* box;
        U8Field field;
        std::function<ListItems()> items;   // empty for a code list
        ListItems shown;
    };
    struct BoundFlag {
        QCheckBox* box;
        BitField bit;
    };
    struct BoundLeadTime {
        QLineEdit* edit;
        U16Field field;
    };
    void commitList(BoundList& bound);
    void commitLeadTime(const BoundLeadTime& bound);

    int captionText_;
    CodeTable codes_;
    QHBoxLayout* optionColumns_;
    std::vector<QFormLayout*> optionForms_;
    std::vector<std::unique_ptr<BoundList>> lists_;
    std::vector<BoundFlag> flags_;
    std::vector<BoundLeadTime> leadTimes_;
};

} // namespace k3n
