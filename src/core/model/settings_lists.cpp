// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/settings_lists.h"
#include "model/key_codes.h"
#include "model/offered_values.h"
#include "model/record_layout.h"
#include "text/app_lang.h"
#include "text/ui_text.h"
#include <algorithm>
#include <cmath>
#include <iterator>

namespace k3n {

namespace {

constexpr OptionText kBurstTones[] = {
    "1750", "400", "1000", "1050", "1150", "1250", "1350", "1450", "1550",
    "1650", "1850", "1950", "2050", "2100", "2135", "2175", "2800",
};
constexpr OptionText kVoices[] = {200, 201, 222};                          // Chinese, English, None
constexpr OptionText kTalkAroundModes[] = {295, {296, 297}, {296, 298}};   // Reverse, All Rx, All Tx
constexpr OptionText kSavingModes[] = {75, "1:1", "1:2", "1:3"};
constexpr OptionText kCtcTailModes[] = {75, "180"};

constexpr OptionText kResumeTimesRx[] = {"0.25", "0.5", "1.0", "2.0", "3.0", "4.0", "5.0", "10", "15", "20"};
constexpr OptionText kScanBusyTimes[] = {252, "2", "3", "4", "5", "10", "15", "20", "25", "30"};   // Diable first
// Scan Start, Designated, Last Busy, Home Channel, Priority Scan
constexpr OptionText kScanTxModes[] = {253, 254, 255, 250, 55};

constexpr OptionText kEmergencyModes[] = {199, 257, 258};          // Voice, Alarm, Both: mode 1..3
constexpr OptionText kChannelChoices[] = {55, 250, 339, 245};      // Priority Scan, Home Channel, Current, Designated Channel
constexpr OptionText kActiveTimes[] = {269, "1", "2", "3", "4", "5", "10", "15", "20",
                                       "25", "30", "35", "40", "45", "50", "55", "60"};
constexpr OptionText kSignalingTypes[] = {75, 187, 188};          // OFF, DTMF, 5-Tone

struct KeyFunctionName {
    uint8_t code;
    int text;
};
constexpr KeyFunctionName kKeyFunctionNames[] = {
    {0, 222}, {3, 230}, {4, 231}, {5, 232}, {6, 233}, {7, 234}, {8, 225}, {10, 226},
    {13, 229}, {kTalkAroundKeyCode, 202}, {17, 60}, {18, 68}, {19, 223}, {20, 224}, {21, 236},
    {22, 237}, {23, 238}, {24, 239}, {25, 69}, {26, 73}, {27, 235}, {28, 198},
};

} // namespace

QString OptionText::toString() const
{
    return toString(appLang());
}

QString OptionText::toString(const TAppLang& lang) const
{
    if (fixed)
        return QString::fromLatin1(fixed);
    QString s = UiText(lang, text);
    if (suffix >= 0)
        s += UiText(lang, suffix);
    return s;
}

QStringList OptionTexts(std::span<const OptionText> entries)
{
    return OptionTexts(appLang(), entries);
}

QStringList OptionTexts(const TAppLang& lang, std::span<const OptionText> entries)
{
    QStringList texts;
    texts.reserve(qsizetype(entries.size()));
    for (const OptionText& e : entries)
        texts << e.toString(lang);
    return texts;
}

QStringList NumberTexts(double first, double last, double step)
{
    QStringList texts;
    const int count = int(std::lround((last - first) / step)) + 1;
    for (int i = 0; i < count; ++i)
        texts << QString::number(first + i * step, 'g', 10);
    return texts;
}

QStringList SettingsListTexts(SettingsList list, const TAppLang& lang)
{
    using L = SettingsList;
    switch (list) {
    case L::Tot:
    case L::Toa: return NumberTexts(0, 300);
    case L::BurstTone: return OptionTexts(lang, kBurstTones);
    case L::Voice: return OptionTexts(lang, kVoices);
    case L::VoxLevel: return NumberTexts(1, 6);
    case L::VoxDelay:
    case L::KeyHoldTime: return NumberTexts(0.5, 3, 0.5);
    case L::TalkAround: return OptionTexts(lang, kTalkAroundModes);
    case L::PowerSave: return OptionTexts(lang, kSavingModes);
    case L::BatlowInterval: return NumberTexts(30, 270, 30);
    case L::CtcssTail: return OptionTexts(lang, kCtcTailModes);
    case L::EmergencyKeyHoldTime: return NumberTexts(2, 10);
    case L::ScanResumeTimeRx: return OptionTexts(lang, kResumeTimesRx);
    case L::ScanResumeTimeTx: return NumberTexts(2, 5) + NumberTexts(10, 60, 5);
    case L::ScanBusyTime: return OptionTexts(lang, kScanBusyTimes);
    case L::ScanTxMode: return OptionTexts(lang, kScanTxModes);
    case L::ScanChannel: return NumberTexts(1, kScanChannelCount);
    case L::EmergencyMode: return OptionTexts(lang, kEmergencyModes);
    case L::EmergencyChannel: return OptionTexts(lang, kChannelChoices);
    case L::EmergencyDesignatedChannel: return NumberTexts(1, rec::kChannelCount);
    case L::EmergencyActiveTime: return OptionTexts(lang, kActiveTimes);
    case L::EmergencyRxTxTime: return NumberTexts(5, 60, 5);
    case L::EmergencySirenTime: return NumberTexts(1, 10);
    case L::EmergencySignalingType: return OptionTexts(lang, kSignalingTypes);
    case L::EmergencyMinutes: return NumberTexts(0, 120);
    }
    return {};
}

int KeyFunctionTextNumber(uint8_t code)
{
    const uint8_t named = IsTalkAroundKeyCode(code) ? kTalkAroundKeyCode : code;
    const auto* it = std::find_if(std::begin(kKeyFunctionNames), std::end(kKeyFunctionNames),
                                  [named](const KeyFunctionName& n) { return n.code == named; });
    return it == std::end(kKeyFunctionNames) ? -1 : it->text;
}

} // namespace k3n
