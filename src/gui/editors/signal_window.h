// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the DTMF, five-tone and two-tone editors have in common: four pages
// (Option, System, Decode, Encode), option controls bound to record fields,
// three grids edited in place, code references offered as lists of the codes
// in use, and RefreshAll on creation, on every page change and from the main
// window. Each editor supplies its tables, its columns and its differences.
#include "editors/editor_controls.h"
#include "model/digit_code.h"
#include "widgets/cell_grid.h"
#include "widgets/editor_window.h"
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

class SignalEditor : public EditorWindow {
    Q_OBJECT
public:
    void RefreshAll() final;
    QSize sizeHint() const override;
    void ShowSystemRow(int row) { sgSystem->showRow(row); }
    void ShowDecodeRow(int row) { sgDecode->showRow(row); }
    void ShowEncodeRow(int row) { sgEncode->showRow(row); }
    // A list of the signalling editors in the current language.
    static ListItems Entries(SettingsList list);

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
    QComboBox* addList(int column, const char* name, int labelText, U8Field field, std::function<ListItems()> items);
    QCheckBox* addFlag(int column, const char* name, int text, BitField bit);
    // Also stores at once whenever the user picks an entry of a list made by addList.
    void commitOnPick(QComboBox* box);
    // Lead-in or lead-out: four digits, milliseconds clamped to 100..3000.
    QLineEdit* addLeadTime(int column, const char* name, int labelText, U16Field field);
    // The "Call Tone" group with the code lists cbCall_1 and cbCall_2.
    void addCallTone(int column, U8Field call1, U8Field call2);
    // Loads the editor's own controls after the bound ones, in RefreshAll.
    virtual void refreshOptions() {}

    // ---- grid columns ----
    using Header = HeaderText;
    static Header TextNo(int textNo);
    static Header Fixed(const char* text);
    // "De- " followed by n.
    static Header DecodeHeader(int n);

    std::unique_ptr<CellColumn> codeRefColumn(CellGrid* grid, Header header, const char* listName,
                                              std::function<U8Field(int row)> field);
    std::unique_ptr<CellColumn> listColumn(CellGrid* grid, Header header, const char* listName,
                                           ListColumn::Binding binding);
    // A byte holding the value of an entry of items.
    std::unique_ptr<CellColumn> valueListColumn(CellGrid* grid, Header header, const char* listName,
                                                std::function<ListItems()> items,
                                                std::function<U8Field(int row)> field);
    std::unique_ptr<CellColumn> decodeTypeColumn(CellGrid* grid, std::function<U8Field(int row)> field);
    std::unique_ptr<CellColumn> digitCodeColumn(CellGrid* grid, const char* editName,
                                                std::function<DigitCodeField(int row)> field);
    std::unique_ptr<CellColumn> tenthsColumn(CellGrid* grid, Header header, const char* editName,
                                             std::function<U8Field(int row)> field);
    std::unique_ptr<CellColumn> onOffColumn(Header header, BitOfRow bit);
    // "Y" when the bit is set, else empty.
    std::unique_ptr<CellColumn> markColumn(Header header, BitOfRow bit);
    std::unique_ptr<CellColumn> sequenceColumn(BitOfRow field, std::function<unsigned(unsigned)> next);
    std::unique_ptr<CellColumn> aniColumn(BitOfRow field);
    // One "De- n" column per decode entry; bit(row, n) is the mask bit of entry n (0-based).
    void addDecodeMaskColumns(CellColumns& columns, int count, std::function<BitField(int row, int n)> bit);
    // Takes the columns and wires their cell editors' exits.
    void setCellColumns(CellGrid* grid, CellColumns columns);

    CaptionTable captions_;
    QTabWidget* pageControl;
    QWidget *tsOption, *tsSystem, *tsDecode, *tsEncode;
    CellGrid *sgSystem, *sgDecode, *sgEncode;

private:
    void PageChange();
    std::vector<CellGrid*> grids() const { return {sgSystem, sgDecode, sgEncode}; }

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

}   // namespace k3n
