// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/settings_lists.h"
#include "model/digit_code.h"
#include "model/key_codes.h"
#include "model/offered_values.h"
#include "model/record_layout.h"
#include "text/app_lang.h"
#include "text/ui_text.h"
#include "text/ui_text_ids.h"
#include <algorithm>
#include <cmath>
#include <iterator>

namespace k3n {

namespace {

constexpr OptionText kBurstTones[] = {
    "1750", "400",  "1000", "1050", "1150", "1250", "1350", "1450", "1550",
    "1650", "1850", "1950", "2050", "2100", "2135", "2175", "2800",
};
constexpr OptionText kVoices[] = {200, 201, 222};   // Chinese, English, None
constexpr OptionText kTalkAroundModes[] = {295, {296, 297}, {296, 298}};   // Reverse, All Rx, All Tx
constexpr OptionText kSavingModes[] = {75, "1:1", "1:2", "1:3"};
constexpr OptionText kCtcTailModes[] = {75, "180"};

constexpr OptionText kResumeTimesRx[] = {"0.25", "0.5", "1.0", "2.0", "3.0", "4.0", "5.0", "10", "15", "20"};
constexpr OptionText kScanBusyTimes[] = {252, "2", "3", "4", "5", "10", "15", "20", "25", "30"};   // Diable first
// Scan Start, Designated, Last Busy, Home Channel, Priority Scan
constexpr OptionText kScanTxModes[] = {253, 254, 255, 250, 55};

constexpr OptionText kEmergencyModes[] = {199, 257, 258};   // Voice, Alarm, Both: mode 1..3
constexpr OptionText kChannelChoices[] = {55, 250, 339,
                                          245};   // Priority Scan, Home Channel, Current, Designated Channel
constexpr OptionText kActiveTimes[] = {269,  "1",  "2",  "3",  "4",  "5",  "10", "15", "20",
                                       "25", "30", "35", "40", "45", "50", "55", "60"};
constexpr OptionText kSignalingTypes[] = {75, 187, 188};   // OFF, DTMF, 5-Tone

constexpr OptionText kSignalOnOff[] = {"Off", "On"};
constexpr OptionText kSignalMarks[] = {"", "Y"};
constexpr OptionText kSequences[] = {"Single", "ID-CALL", "CALL-ID"};
constexpr OptionText kAniModes[] = {"", 308, 309, 310};   // none, Press, Release, Both
constexpr OptionText kDecodeTypes[] = {313, 314, 316, 317, 318};   // "Emergency Off" is not offered
constexpr OptionText kDtmfToneSpeeds[] = {"50", "75", "100", "200"};
constexpr OptionText kDtmfPauseTimes[] = {"0.5", "1", "2", "3", "4"};
constexpr OptionText kFiveToneStandards[] = {"CCIR1", "CCOR2", "EIA", "EEA", "ZVEI1", "ZVEI2"};
constexpr OptionText kTwoToneTables[] = {
    "Motorola-1", "Motorola-2", "Motorola-3", "Motorola-4", "Motorola-5", "Motorola-6", "Motorola-10", "Motorola-11",
    "GE/99-A",    "GE/99-B",    "GE/99-C",    "REACH-A",    "REACH-B",    "REACH-C",    "REACH-D",     "REACH-E"};
// The DTMF gap tone's letters are coded one above their digit codes.
constexpr int kDtmfGapToneValues[] = {0, 11, 12, 13, 14, 15, 16};
constexpr int kDtmfGroupToneFirst = 10;   // "A"
constexpr int kLastGapMute = 128, kLastGapOff = 255;
constexpr int kNoTwoTone = 0xF;
constexpr int kTwoToneAutoResetFirst = 1;

ListEntries Positions(const QStringList& texts, int first = 0)
{
    return ListEntries::Positions(texts, first);
}

// OFF, then 1..last: entry i stores i.
ListEntries OffAndNumbers(const TAppLang& lang, int last)
{
    return Positions(QStringList{UiText(lang, ui::kOff)} + NumberTexts(1, last));
}

// The five-tone tones 0..14: "0" .. "9", "A" .. "E".
QStringList FiveToneTones()
{
    return NumberTexts(0, 9) + QStringList{"A", "B", "C", "D", "E"};
}

ListEntries Appended(ListEntries first, const ListEntries& then)
{
    first.texts += then.texts;
    first.values.insert(first.values.end(), then.values.begin(), then.values.end());
    return first;
}

ListEntries SignalListEntries(SettingsList list, const TAppLang& lang)
{
    using L = SettingsList;
    switch (list) {
    case L::SignalAutoReset: return OffAndNumbers(lang, 75);
    case L::SignalAniLock: return OffAndNumbers(lang, 120);
    case L::SignalOnOff: return Positions(OptionTexts(lang, kSignalOnOff));
    case L::SignalMark: return Positions(OptionTexts(lang, kSignalMarks));
    case L::SignalSequence: return Positions(OptionTexts(lang, kSequences));
    case L::SignalAniMode: return Positions(OptionTexts(lang, kAniModes));
    case L::SignalDecodeType: return Positions(OptionTexts(lang, kDecodeTypes));
    case L::DtmfToneSpeed: return Positions(OptionTexts(lang, kDtmfToneSpeeds));
    case L::DtmfGroupTone: return Positions({"A", "B", "C", "D"}, kDtmfGroupToneFirst);
    case L::DtmfGapTone:
        return {{UiText(lang, ui::kOff), "A", "B", "C", "D", "*", "#"},
                {std::begin(kDtmfGapToneValues), std::end(kDtmfGapToneValues)}};
    case L::DtmfPauseTone: {
        QStringList digits;
        for (uint8_t code = 0; code < 16; ++code)
            digits << DigitChar(code);
        return Positions(digits);
    }
    case L::DtmfPauseTime: return Positions(OptionTexts(lang, kDtmfPauseTimes));
    case L::FiveToneTone: return Positions(FiveToneTones());
    case L::FiveToneLastGapTone:
        return Appended({{UiText(lang, ui::kMute), UiText(lang, ui::kOff)}, {kLastGapMute, kLastGapOff}},
                        Positions(FiveToneTones()));
    case L::FiveToneLastGapTime: return Positions(NumberTexts(100, 2500, 100));
    case L::FiveToneLast2ndGapTime: return Positions(NumberTexts(10, 180, 10));
    case L::FiveToneTransDelay: return Positions(NumberTexts(100, 1500, 100));
    case L::FiveToneClearTransDelay:
        return Positions(QStringList{UiText(lang, ui::kDisable)} + NumberTexts(100, 1500, 100)
                         + QStringList{UiText(lang, ui::kNoLimit)});
    case L::FiveToneAckRetry: return Positions(NumberTexts(0, 15));
    case L::FiveToneAckDecodeTime: return Positions(NumberTexts(1, 15));
    case L::FiveToneIdDecodeTime: return Positions(NumberTexts(100, 500, 50));
    case L::FiveToneAutoTxTime: return Positions(NumberTexts(10, 180, 10));
    case L::FiveToneExtension: return Positions(QStringList{UiText(lang, ui::kOff)} + NumberTexts(100, 2500, 100));
    case L::FiveToneStandard: return Positions(OptionTexts(lang, kFiveToneStandards));
    case L::TwoToneTable: return Positions(OptionTexts(lang, kTwoToneTables));
    case L::TwoToneAutoResetTime: return Positions(NumberTexts(1, 120), kTwoToneAutoResetFirst);
    case L::TwoToneTone: return Appended({{"Off"}, {kNoTwoTone}}, Positions(NumberTexts(0, 9)));
    default: return {};
    }
}

struct KeyFunctionName {
    uint8_t code;
    int text;
};
constexpr KeyFunctionName kKeyFunctionNames[] = {
    {0, 222},  {3, 230},  {4, 231},  {5, 232},  {6, 233},
    {7, 234},  {8, 225},  {10, 226}, {13, 229}, {kTalkAroundKeyCode, 202},
    {17, 60},  {18, 68},  {19, 223}, {20, 224}, {21, 236},
    {22, 237}, {23, 238}, {24, 239}, {25, 69},  {26, 73},
    {27, 235}, {28, 198},
};

}   // namespace

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

ListEntries ListEntries::Positions(const QStringList& texts, int first)
{
    ListEntries entries{texts, {}};
    for (int i = 0; i < texts.size(); ++i)
        entries.values.push_back(first + i);
    return entries;
}

int ListEntries::positionOf(int value) const
{
    const auto it = std::find(values.begin(), values.end(), value);
    return it == values.end() ? -1 : int(it - values.begin());
}

ListEntries SettingsListEntries(SettingsList list, const TAppLang& lang)
{
    if (list >= SettingsList::SignalAutoReset)
        return SignalListEntries(list, lang);
    return Positions(SettingsListTexts(list, lang));
}

std::vector<int> SettingsListValues(SettingsList list)
{
    static const TAppLang english(kLangIdEnglishUs);
    return SettingsListEntries(list, english).values;
}

QString CodeReferenceText(uint8_t ref)
{
    return ref == kCodeReferenceOff ? QStringLiteral("Off") : QStringLiteral("Enc- %1").arg(int(ref) + 1);
}

QStringList SettingsListTexts(SettingsList list, const TAppLang& lang)
{
    using L = SettingsList;
    if (list >= L::SignalAutoReset)
        return SignalListEntries(list, lang).texts;
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
    default: return {};
    }
}

int KeyFunctionTextNumber(uint8_t code)
{
    const uint8_t named = IsTalkAroundKeyCode(code) ? kTalkAroundKeyCode : code;
    const auto* it = std::find_if(std::begin(kKeyFunctionNames), std::end(kKeyFunctionNames),
                                  [named](const KeyFunctionName& n) { return n.code == named; });
    return it == std::end(kKeyFunctionNames) ? -1 : it->text;
}

}   // namespace k3n
