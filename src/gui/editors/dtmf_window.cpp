// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/dtmf_window.h"
#include "model/record_layout.h"
#include "text/ui_text_ids.h"

namespace k3n {

namespace dtmf = rec::dtmf;

namespace {

using L = SettingsList;

DigitCodeField EncodeField(int k)
{
    return {dtmf::encode(k), dtmf::kEncodeDigits};
}
DigitCodeField DecodeField(int k)
{
    return {dtmf::decode(k), dtmf::kDecodeDigits};
}

// A double-click switches between Single and CALL-ID; ID-CALL (and a foreign 3) go back to Single.
unsigned NextSequence(unsigned v)
{
    return v == 0 ? 2 : 0;
}

}   // namespace

TDtmfDlg::TDtmfDlg(RadioData& data, QWidget* parent)
    : SignalEditor(data, parent, {"PageDtmf", ui::kDtmf, dtmf::kSystemCount, dtmf::kDecodeCount, dtmf::kEncodeCount},
                   CodeTable(dtmf::kEncodeCount,
                             [&record = data.record](int k) { return !IsEmptyDigitCode(record, EncodeField(k)); }))
{
    setObjectName("DtmfDlg");
    buildOptionPage();
    buildGrids();
    RefreshAll();
}

void TDtmfDlg::buildOptionPage()
{
    addFlag(0, "cPttCall", ui::kPttCall, dtmf::ptt_call);
    addFlag(0, "cPauseTone", ui::kPauseTone, dtmf::pause_tone_enable);
    addList(0, "cbAutoReset", ui::kAutoReset, dtmf::auto_reset, [] { return Entries(L::SignalAutoReset); });
    addList(0, "cbANILock", ui::kAniLock, dtmf::ani_lock, [] { return Entries(L::SignalAniLock); });
    addLeadTime(0, "eLeadIn", ui::kLeadIn, dtmf::lead_in);
    addLeadTime(0, "eLeadOut", ui::kLeadOut, dtmf::lead_out);
    addList(1, "cbToneSpeed", ui::kToneSpeed, dtmf::tone_speed, [] { return Entries(L::DtmfToneSpeed); });
    addList(1, "cbGroupTone", ui::kGroupTone, dtmf::group_tone, [] { return Entries(L::DtmfGroupTone); });
    addList(1, "cbGapTone", ui::kGapTone, dtmf::gap_tone, [] { return Entries(L::DtmfGapTone); });
    addList(1, "cbPauseTone", ui::kPauseTone, dtmf::pause_tone, [] { return Entries(L::DtmfPauseTone); });
    addList(1, "cbPauseTime", ui::kPauseTime, dtmf::pause_time, [] { return Entries(L::DtmfPauseTime); });
    addCallTone(2, dtmf::call_1, dtmf::call_2);
}

void TDtmfDlg::buildGrids()
{
    CellColumns system;
    system.push_back(codeRefColumn(sgSystem, TextNo(ui::kCall), "cbSystemCall", dtmf::call_code));
    system.push_back(codeRefColumn(sgSystem, TextNo(ui::kId), "cbSystemId", dtmf::id_code));
    system.push_back(sequenceColumn(dtmf::sequence, NextSequence));
    system.push_back(aniColumn(dtmf::ani_mode));
    system.push_back(markColumn(TextNo(ui::kPttSwitch), dtmf::ptt_switch));
    system.push_back(onOffColumn(TextNo(ui::kAutoResetOn), dtmf::auto_reset_on));
    system.push_back(onOffColumn(TextNo(ui::kDuty), dtmf::duty));
    system.push_back(onOffColumn(TextNo(ui::kSubaudio), dtmf::subaudio));
    addDecodeMaskColumns(system, dtmf::kDecodeCount, [](int row, int n) {
        return BitField{dtmf::decode_mask(row).offset, uint8_t(n), 1};
    });
    setCellColumns(sgSystem, std::move(system));

    CellColumns decode;
    decode.push_back(digitCodeColumn(sgDecode, "eDecodeCode", [](int row) { return DecodeField(row - 1); }));
    decode.push_back(decodeTypeColumn(sgDecode, [](int row) { return dtmf::decode_type(row - 1); }));
    setCellColumns(sgDecode, std::move(decode));

    CellColumns encode;
    encode.push_back(digitCodeColumn(sgEncode, "eEncodeCode", [](int row) { return EncodeField(row - 1); }));
    setCellColumns(sgEncode, std::move(encode));
}

}   // namespace k3n
