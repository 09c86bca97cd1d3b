// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts the settings pages' and the signalling editors' lists show, with
// the value each entry stores, and the names of the side-key functions:
// stated once for the editors and for everything that shows a stored setting
// as the editors show it (the printed report, the comparisons).
#include <QString>
#include <QStringList>
#include <cstdint>
#include <span>
#include <vector>

namespace k3n {

class TAppLang;

// One list entry: an interface text by number, two interface texts run
// together ("All " + "Rx "), or a text that is the same in every language.
struct OptionText {
    constexpr OptionText(int textNo) : text(textNo) {}
    constexpr OptionText(int textNo, int suffixNo) : text(textNo), suffix(suffixNo) {}
    constexpr OptionText(const char* fixedText) : fixed(fixedText) {}
    QString toString() const;   // in the current language
    QString toString(const TAppLang& lang) const;

    int text = -1;
    int suffix = -1;
    const char* fixed = nullptr;
};

QStringList OptionTexts(std::span<const OptionText> entries);
QStringList OptionTexts(const TAppLang& lang, std::span<const OptionText> entries);
// "first" .. "last" in steps, each number in its shortest decimal form ("0.5", "1", "1.5").
QStringList NumberTexts(double first, double last, double step = 1);

// The entries of a list and the value each entry stores.
struct ListEntries {
    QStringList texts;
    std::vector<int> values;

    // Entry i stores first + i.
    static ListEntries Positions(const QStringList& texts, int first = 0);
    // -1 when no entry stores value.
    int positionOf(int value) const;
};

// The lists of the settings pages (the position is the stored value) and of
// the signalling editors (each entry with its value).
enum class SettingsList {
    Tot,
    Toa,
    BurstTone,
    Voice,
    VoxLevel,
    VoxDelay,
    TalkAround,
    PowerSave,
    BatlowInterval,
    CtcssTail,
    KeyHoldTime,
    EmergencyKeyHoldTime,
    ScanResumeTimeRx,
    ScanResumeTimeTx,
    ScanBusyTime,
    ScanTxMode,
    ScanChannel,
    EmergencyMode,   // position = stored mode - 1
    EmergencyChannel,
    EmergencyDesignatedChannel,
    EmergencyActiveTime,
    EmergencyRxTxTime,
    EmergencySirenTime,
    EmergencySignalingType,
    EmergencyMinutes,   // reminder and response times
    // The signalling editors
    SignalAutoReset,   // OFF, then 1..75 s
    SignalAniLock,   // OFF, then 1..120 s
    SignalOnOff,   // a system's on/off cells
    SignalMark,   // a system's ticked cells: "" or "Y"
    SignalSequence,
    SignalAniMode,
    SignalDecodeType,
    DtmfToneSpeed,
    DtmfGroupTone,
    DtmfGapTone,
    DtmfPauseTone,
    DtmfPauseTime,
    FiveToneTone,
    FiveToneLastGapTone,
    FiveToneLastGapTime,
    FiveToneLast2ndGapTime,
    FiveToneTransDelay,
    FiveToneClearTransDelay,
    FiveToneAckRetry,
    FiveToneAckDecodeTime,
    FiveToneIdDecodeTime,
    FiveToneAutoTxTime,
    FiveToneExtension,   // OFF (the extension's box cleared), then the times
    FiveToneStandard,
    TwoToneTable,
    TwoToneAutoResetTime,
    TwoToneTone,   // Off (no tone), then 0..9
};

ListEntries SettingsListEntries(SettingsList list, const TAppLang& lang);
// The values the list's entries store: the same in every language.
std::vector<int> SettingsListValues(SettingsList list);
QStringList SettingsListTexts(SettingsList list, const TAppLang& lang);

// A code reference of the signalling blocks as its lists show it: "Off" for
// 255, "Enc- n" for the n-th encode code.
constexpr uint8_t kCodeReferenceOff = 255;
QString CodeReferenceText(uint8_t ref);

// The interface text naming a side-key function code (the three talk-around
// codes share one name); -1 for a code no key list offers.
int KeyFunctionTextNumber(uint8_t code);

}   // namespace k3n
