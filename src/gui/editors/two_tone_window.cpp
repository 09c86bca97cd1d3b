// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/two_tone_window.h"
#include "model/record_layout.h"
#include "text/ui_text_ids.h"

namespace k3n {

namespace two = rec::two_tone;

namespace {

using L = SettingsList;

constexpr uint8_t kNoTone = 0xF;
constexpr uint8_t kEmptyCode = 0xFF;

uint8_t ToneA(uint8_t code)
{
    return code & 0x0F;
}
uint8_t ToneB(uint8_t code)
{
    return code >> 4;
}

// "Off" is no tone (0xF); "0" .. "9" are the tone numbers.
ListItems Tones()
{
    return SignalEditor::Entries(L::TwoToneTone);
}
QString ToneText(uint8_t tone)
{
    if (tone == kNoTone)
        return QStringLiteral("---");
    return tone <= 9 ? QString::number(tone) : ForeignValueText();
}

}   // namespace

TTwoToneDlg::TTwoToneDlg(RadioData& data, QWidget* parent)
    : SignalEditor(data, parent,
                   {"PageControl1", ui::kTwoTone, two::kSystemCount, two::kDecodeCount, two::kEncodeCount},
                   CodeTable(two::kEncodeCount,
                             [&record = data.record](int k) { return ToneA(record.get(two::encode(k))) != kNoTone; }))
{
    setObjectName("TwoToneDlg");
    buildOptionPage();
    buildGrids();
    RefreshAll();
}

void TTwoToneDlg::buildOptionPage()
{
    addLeadTime(0, "eLeadIn", ui::kLeadIn, two::lead_in);
    addLeadTime(0, "eLeadOut", ui::kLeadOut, two::lead_out);
    addCallTone(0, two::call_1, two::call_2);
}

CellColumns TTwoToneDlg::tonePairColumns(CellGrid* grid, const char* listA, const char* listB,
                                         std::function<U8Field(int)> code)
{
    CellColumns columns;
    columns.push_back(listColumn(grid, Fixed("Tone A"), listA,
                                 {.items = [](int) { return Tones(); },
                                  .load = [this, code](int row) { return int(ToneA(record().get(code(row)))); },
                                  .store =
                                      [this, code](int row, int tone) {
                                          // Without tone A there is no code: the whole byte becomes empty.
                                          const uint8_t old = record().get(code(row));
                                          record().set(code(row),
                                                       tone == kNoTone ? kEmptyCode : uint8_t((old & 0xF0) | tone));
                                      },
                                  .display =
                                      [this, code](int row) {
                                          // A code without tone A is always stored as FF.
                                          if (ToneA(record().get(code(row))) == kNoTone)
                                              record().set(code(row), kEmptyCode);
                                          return ToneText(ToneA(record().get(code(row))));
                                      }}));
    auto toneB = listColumn(grid, Fixed("Tone B"), listB,
                            {.items = [](int) { return Tones(); },
                             .load = [this, code](int row) { return int(ToneB(record().get(code(row)))); },
                             .store =
                                 [this, code](int row, int tone) {
                                     const uint8_t old = record().get(code(row));
                                     record().set(code(row), uint8_t((old & 0x0F) | (tone << 4)));
                                 },
                             .display =
                                 [this, code](int row) {
                                     const uint8_t value = record().get(code(row));
                                     return ToneText(ToneA(value) == kNoTone ? kNoTone : ToneB(value));
                                 }});
    // A code without tone A cannot get a tone B.
    toneB->openOnlyWhen([this, code](int row) { return ToneA(record().get(code(row))) != kNoTone; });
    columns.push_back(std::move(toneB));
    return columns;
}

void TTwoToneDlg::buildGrids()
{
    CellColumns system;
    system.push_back(valueListColumn(
        sgSystem, Fixed("Table"), "cbSystemTable", [] { return Entries(L::TwoToneTable); }, two::tone_table));
    system.push_back(codeRefColumn(sgSystem, Fixed("Call Tone"), "cbSystemCall", two::call_code));
    system.push_back(tenthsColumn(sgSystem, Fixed("Tone A Time"), "eToneATime", two::tone_a_time));
    system.push_back(tenthsColumn(sgSystem, Fixed("Tone B Time"), "eToneBTime", two::tone_b_time));
    system.push_back(tenthsColumn(sgSystem, Fixed("Group Time"), "eGroupTime", two::group_time));
    system.push_back(valueListColumn(
        sgSystem, Fixed("Auto Reset Time"), "cbAutoResetTime", [] { return Entries(L::TwoToneAutoResetTime); },
        two::auto_reset_time));
    system.push_back(onOffColumn(Fixed("Auto Reset"), two::auto_reset));
    system.push_back(markColumn(Fixed("PTT SW"), two::ptt_switch));
    system.push_back(onOffColumn(Fixed("Duty"), two::duty));
    system.push_back(onOffColumn(Fixed("Subaudio"), two::subaudio));
    addDecodeMaskColumns(system, two::kDecodeCount, [](int row, int n) {
        return BitField{uint16_t(two::decode_mask(row).offset + n / 8), uint8_t(n % 8), 1};
    });
    setCellColumns(sgSystem, std::move(system));

    setCellColumns(sgEncode, tonePairColumns(sgEncode, "cbEncodeToneA", "cbEncodeToneB", [](int row) {
                       return two::encode(row - 1);
                   }));
    setCellColumns(sgDecode, tonePairColumns(sgDecode, "cbDecodeToneA", "cbDecodeToneB", [](int row) {
                       return two::decode(row - 1);
                   }));
}

}   // namespace k3n
