// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/five_tone_window.h"
#include "model/record_layout.h"
#include "text/app_lang.h"
#include "text/ui_text_ids.h"
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>

namespace k3n {

namespace five = rec::five_tone;

namespace {

using L = SettingsList;

constexpr int kLastGapOff = 255;

DigitCodeField EncodeField(int k)
{
    return {five::encode(k), five::kEncodeDigits};
}
DigitCodeField DecodeField(int k)
{
    return {five::decode(k), five::kDecodeDigits};
}

// The extension's time list; its first entry, OFF, is the cleared box instead.
QStringList ExtensionTimes()
{
    return SettingsListTexts(L::FiveToneExtension, appLang()).mid(1);
}
ListItems LastGapTones()
{
    return SignalEditor::Entries(L::FiveToneLastGapTone);
}

// A double-click steps through all three sequences; a foreign 3 goes back to Single.
unsigned NextSequence(unsigned v)
{
    return v >= 2 ? 0 : v + 1;
}

}   // namespace

TFiveToneDlg::TFiveToneDlg(RadioData& data, QWidget* parent)
    : SignalEditor(data, parent,
                   {"PageControl1", ui::kFiveTone, five::kSystemCount, five::kDecodeCount, five::kEncodeCount},
                   CodeTable(five::kEncodeCount,
                             [&record = data.record](int k) { return !IsEmptyDigitCode(record, EncodeField(k)); }))
{
    setObjectName("FiveToneDlg");
    buildOptionPage();
    buildGrids();
    RefreshAll();
}

void TFiveToneDlg::buildOptionPage()
{
    addFlag(0, "cPttCall", ui::kPttCall, five::ptt_call);
    addList(0, "cbAutoReset", ui::kAutoReset, five::auto_reset, [] { return Entries(L::SignalAutoReset); });
    addList(0, "cbANILock", ui::kAniLock, five::ani_lock, [] { return Entries(L::SignalAniLock); });
    addLeadTime(0, "eLeadIn", ui::kLeadIn, five::lead_in);
    addLeadTime(0, "eLeadOut", ui::kLeadOut, five::lead_out);
    addList(0, "cbGroupTone", ui::kGroupTone, five::group_tone, [] { return Entries(L::FiveToneTone); });
    addList(0, "cbRepeat_tone", ui::kRepeatTone, five::repeat_tone, [] { return Entries(L::FiveToneTone); });
    addCallTone(0, five::call_1, five::call_2);

    cbLast_gap_tone = addList(1, "cbLast_gap_tone", ui::kLastGapTone, five::last_gap_tone, LastGapTones);
    connect(cbLast_gap_tone, &QComboBox::activated, this, &TFiveToneDlg::cbLast_gap_toneChange);
    cbLast_gap_time = addList(1, "cbLast_gap_time", ui::kLastGapTime, five::last_gap_time,
                              [] { return Entries(L::FiveToneLastGapTime); });
    addList(1, "cbLast_2nd_gap_time", ui::kSecondLastGapTime, five::last_2nd_gap_time,
            [] { return Entries(L::FiveToneLast2ndGapTime); });
    commitOnPick(addList(1, "cbTrans_delay_time", ui::kTranspondDelay, five::trans_delay_time,
                         [] { return Entries(L::FiveToneTransDelay); }));
    addList(1, "cbClear_trans_delay_time", ui::kClearToTranspond, five::clear_trans_delay_time,
            [] { return Entries(L::FiveToneClearTransDelay); });
    addList(1, "cbAck_retry", ui::kAckRetry, five::ack_retry, [] { return Entries(L::FiveToneAckRetry); });
    addList(1, "cbAck_decode_time", ui::kAckDecodingTime, five::ack_decode_time,
            [] { return Entries(L::FiveToneAckDecodeTime); });

    addToneExtension("cExtended_1st", ui::kFirstToneExtend, "cbExtended_1st_time", ui::kFirstExtendTime,
                     five::extended_1st);
    addToneExtension("cExtended_2nd", ui::kSecondToneExtend, "cbExtended_2nd_time", ui::kSecondExtendTime,
                     five::extended_2nd);
    addList(2, "cbId_decode_time", ui::kDecodeTime, five::id_decode_time,
            [] { return Entries(L::FiveToneIdDecodeTime); });
    addList(2, "cbAuto_tx_time", ui::kAutoTxTime, five::auto_tx_time, [] { return Entries(L::FiveToneAutoTxTime); });
}

void TFiveToneDlg::addToneExtension(const char* boxName, int boxText, const char* listName, int listText, U8Field field)
{
    QFormLayout* form = optionForm(2);
    auto* box = new QCheckBox(tsOption);
    box->setObjectName(boxName);
    captions_.add(box, boxText);
    form->addRow(box);
    const QByteArray labelName = QByteArray("s") + (listName + 2);
    QComboBox* time = AddLabelledList(form, captions_, labelName.constData(), listText, listName);
    extensions_.push_back({box, time, field});
    const std::size_t i = extensions_.size() - 1;
    connect(box, &QCheckBox::clicked, this, [this, i] {
        cExtendedClick(extensions_[i]);
        emit recordWritten();
    });
    bindExit(time, [this, i] { cbExtendedTimeExit(extensions_[i]); });
}

void TFiveToneDlg::refreshOptions()
{
    for (const ToneExtension& ext : extensions_)
        loadExtension(ext);
    cbLast_gap_time->setEnabled(record().get(five::last_gap_tone) != kLastGapOff);
}

void TFiveToneDlg::loadExtension(const ToneExtension& ext)
{
    const int stored = record().get(ext.field);
    ext.box->setChecked(stored != 0);
    FillPickList(ext.time, ExtensionTimes(), stored == 0 ? 0 : stored - 1);
    ext.time->setEnabled(stored != 0);
}

void TFiveToneDlg::cExtendedClick(const ToneExtension& ext)
{
    if (!ext.box->isChecked()) {
        record().set(ext.field, 0);
        ext.time->setEnabled(false);
        return;
    }
    if (ext.time->currentIndex() < 0)   // a foreign time had no entry: start from the first
        ext.time->setCurrentIndex(0);
    record().set(ext.field, uint8_t(ext.time->currentIndex() + 1));
    ext.time->setEnabled(true);
}

void TFiveToneDlg::cbExtendedTimeExit(const ToneExtension& ext)
{
    // A time picked while the extension is on is the extension's time.
    if (ext.box->isChecked() && ext.time->currentIndex() >= 0)
        record().set(ext.field, uint8_t(ext.time->currentIndex() + 1));
}

void TFiveToneDlg::cbLast_gap_toneChange()
{
    cbLast_gap_time->setEnabled(LastGapTones().chosen(cbLast_gap_tone) != kLastGapOff);
}

void TFiveToneDlg::buildGrids()
{
    CellColumns system;
    system.push_back(valueListColumn(
        sgSystem, TextNo(ui::kSystemType), "cbSystemType", [] { return Entries(L::FiveToneStandard); },
        five::standard));
    system.push_back(codeRefColumn(sgSystem, TextNo(ui::kRepeat), "cbSystemRep", five::repeat_code));
    system.push_back(codeRefColumn(sgSystem, TextNo(ui::kCall), "cbSystemCall", five::call_code));
    system.push_back(codeRefColumn(sgSystem, TextNo(ui::kId), "cbSystemId", five::id_code));
    system.push_back(sequenceColumn(five::sequence, NextSequence));
    system.push_back(aniColumn(five::ani_mode));
    system.push_back(markColumn(TextNo(ui::kPttSwitch), five::ptt_switch));
    system.push_back(onOffColumn(TextNo(ui::kAutoResetOn), five::auto_reset_on));
    system.push_back(onOffColumn(TextNo(ui::kDuty), five::duty));
    system.push_back(onOffColumn(TextNo(ui::kSubaudio), five::subaudio));
    addDecodeMaskColumns(system, five::kDecodeCount, [](int row, int n) {
        return BitField{uint16_t(five::decode_mask(row).offset + n / 8), uint8_t(n % 8), 1};
    });
    setCellColumns(sgSystem, std::move(system));

    CellColumns decode;
    decode.push_back(digitCodeColumn(sgDecode, "eDecodeCode", [](int row) { return DecodeField(row - 1); }));
    decode.push_back(decodeTypeColumn(sgDecode, [](int row) { return five::decode_type(row - 1); }));
    decode.push_back(codeRefColumn(sgDecode, TextNo(ui::kTranspond), "cbDecodeTranspond",
                                   [](int row) { return five::decode_transpond(row - 1); }));
    setCellColumns(sgDecode, std::move(decode));

    CellColumns encode;
    encode.push_back(digitCodeColumn(sgEncode, "eEncodeCode", [](int row) { return EncodeField(row - 1); }));
    setCellColumns(sgEncode, std::move(encode));
}

}   // namespace k3n
