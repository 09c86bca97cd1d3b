// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the channel grid shows: its column headers and the text of each cell,
// in the interface language. The grid and the printed report both read them.
#include "model/radio_data.h"
#include "model/radio_record.h"
#include <QString>
#include <array>

namespace k3n {

class TAppLang;

// Grid columns 1..14; column 0 holds the channel number and has no header.
namespace channel_col {
constexpr int Rx = 1, Tx = 2, RxTone = 3, TxTone = 4, Power = 5, Bandwidth = 6, Sql = 7, Scramble = 8, ScrambleNo = 9,
              Scan = 10, LockOut = 11, XtalShift = 12, SignalSys = 13, SignalNo = 14;
}
constexpr int kChannelGridColumns = 15;

// The grid shows the channels in groups of 16, each named by an interface text.
constexpr int kChannelGroups = 8;
constexpr int kChannelsPerGroup = 16;
constexpr int kFirstChannelGroupText = 349;   // "Group-1"

// Header text number of each grid column (-1: no header).
constexpr std::array<int, kChannelGridColumns> kChannelGridHeaderTexts = {-1, 16,  17, 18,  19,  20,  21, 44,
                                                                          73, 172, 22, 173, 174, 175, 176};

// Texts of a one-bit cell: shown for the bit set and for the bit clear.
struct TwoStateTexts {
    int set;
    int clear;
};
constexpr TwoStateTexts kPowerTexts{26, 27};   // High / Low
constexpr TwoStateTexts kBandwidthTexts{29, 28};   // Narrow / Wide
constexpr TwoStateTexts kOnOffTexts{177, 178};   // ON / OFF
constexpr TwoStateTexts kScanTexts{30, 31};   // ADD / DEL

constexpr std::array<const char*, 3> kLockOutTexts = {"----", "BCLO", "BTLO"};
// Signalling systems by stored number; 0 is the interface text "OFF".
constexpr int kSignalOffText = 178;
constexpr std::array<const char*, 4> kSignalSystemNames = {nullptr, "DTMF", "5-TONE", "2-TONE"};

// The text a cell shows for a value no list holds.
QString UnknownValueText();

QString SignalSystemText(const TAppLang& lang, unsigned system);

// The header of grid column col, and the text its cell shows for channel 1..kChannelCount.
QString ChannelGridHeader(const TAppLang& lang, int col);
QString ChannelCellText(const TAppLang& lang, const RadioRecord& record, int col, int channel);

// The radio's last programming time and serial number as the grid's displays show them.
QString ProgramTimeText(const ProgramTime& t);
QString SerialNumberText(const std::array<uint8_t, 8>& sn);

} // namespace k3n
