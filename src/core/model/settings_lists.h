// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts the settings pages' pick-only lists show, by list position, and
// the names of the side-key functions: stated once for the editors and for
// everything that shows a stored setting as the editors show it.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <span>

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

// The settings lists whose position is the stored value.
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
};

QStringList SettingsListTexts(SettingsList list, const TAppLang& lang);

// The interface text naming a side-key function code (the three talk-around
// codes share one name); -1 for a code no key list offers.
int KeyFunctionTextNumber(uint8_t code);

} // namespace k3n
