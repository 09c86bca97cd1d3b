// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cells of the channel grid as texts: what each column shows for a
// channel, and storing a typed or pasted text into a channel by the rules of
// editing that cell. The grid, its clipboard and its fill commands share them.
#include "model/offered_values.h"
#include "model/radio_data.h"
#include <QString>
#include <QStringList>

namespace k3n {

class TAppLang;

namespace channel_col {
constexpr int Rx = 1, Tx = 2, RxTone = 3, TxTone = 4, Power = 5, Bandwidth = 6, Sql = 7, Scramble = 8, ScrambleNo = 9,
              Scan = 10, LockOut = 11, XtalShift = 12, SignalSys = 13, SignalNo = 14;
constexpr int kCount = 14;
inline bool IsFrequency(int col)
{
    return col == Rx || col == Tx;
}
}   // namespace channel_col

// The grid shows the channels in groups of 16, each named by an interface text.
constexpr int kChannelGroups = 8;
constexpr int kChannelsPerGroup = 16;
constexpr int kFirstChannelGroupText = 349;   // "Group-1"

// The radio's last programming time and serial number as the grid's displays show them.
QString ProgramTimeText(const ProgramTime& t);
QString SerialNumberText(const std::array<uint8_t, 8>& sn);

// The interface text number of a column's header.
int ChannelHeaderTextNo(int col);
QString ChannelHeader(const TAppLang& lang, int col);
// The two texts of a two-state column, the cleared state first; empty for other columns.
QStringList TwoStateTexts(const TAppLang& lang, int col);
QStringList LockOutTexts();
QString SignalSystemText(const TAppLang& lang, unsigned system);
QStringList SignalSystemTexts(const TAppLang& lang);
// How many numbers a signalling system offers (0 for none or an unknown system).
int SignalNumberCount(unsigned system);
// Every text a column can show in lang (what the column must be wide enough for).
QStringList ChannelColumnTexts(const TAppLang& lang, int col);

bool ChannelInUse(const RadioRecord& record, int channel);
// What the cell of channel 1..128 shows; empty for a channel not in use.
QString ChannelCellText(const RadioRecord& record, int channel, int col, const TAppLang& lang);
// A channel started from its RX frequency gets these defaults: TX = RX, no
// tones, Low, Wide, squelch 5, no scrambling, DEL, no lock-out, signalling OFF.
void StartChannel(RadioRecord& record, int channel, uint32_t rxHz);

enum class CellStore {
    Stored,
    Unreadable,   // no text of the column in the language or in English
    OutsideBand,   // a frequency beyond the band's limits
    ChannelEmpty,   // only the RX cell of an empty channel takes a value
    NotOpen,   // the number cells take a value only under scrambling or a signalling system
};
// Stores text, read as the column's texts in lang or in English, as editing
// the cell would: an RX text starts an empty channel, an empty RX text clears
// the channel, an empty TX text stores 0. Frequencies are snapped to the
// band's raster. Nothing changes unless the result is Stored.
CellStore StoreChannelCell(RadioData& data, int channel, int col, const QString& text, const TAppLang& lang);

}   // namespace k3n
