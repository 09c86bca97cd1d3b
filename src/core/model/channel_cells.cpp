// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/channel_cells.h"
#include "model/channel_options.h"
#include "model/record_layout.h"
#include "model/value_codings.h"
#include "text/app_lang.h"
#include "text/ui_text.h"
#include <algorithm>
#include <array>

namespace k3n {

namespace {

using namespace channel_col;

// Header text number of each column (column 0 holds the row numbers).
constexpr std::array<int, kCount + 1> kHeaderTexts = {-1, 16, 17, 18, 19, 20, 21, 44, 73, 172, 22, 173, 174, 175, 176};

// Texts of a one-bit cell: for the bit clear and for the bit set.
struct TwoStates {
    int clear;
    int set;
};
constexpr TwoStates kPowerTexts{27, 26};   // Low / High
constexpr TwoStates kBandwidthTexts{28, 29};   // Wide / Narrow
constexpr TwoStates kOnOffTexts{178, 177};   // OFF / ON
constexpr TwoStates kScanTexts{31, 30};   // DEL / ADD

// Signalling systems by stored number; 0 is the interface text "OFF".
constexpr int kSignalOffText = 178;
constexpr uint8_t kNewChannelSquelch = 5;

const TAppLang& English()
{
    static const TAppLang english(kLangIdEnglishUs);
    return english;
}

QStringList NumberRange(int first, int last)
{
    QStringList texts;
    for (int n = first; n <= last; ++n)
        texts << QString::number(n);
    return texts;
}

QString UnknownText()
{
    return QStringLiteral("?");
}

QString TextOf(const QStringList& texts, unsigned value)
{
    return value < unsigned(texts.size()) ? texts.at(int(value)) : UnknownText();
}

// The position of text among the texts of the column in lang, else in English; -1 when none.
int FindText(const QString& text, const QStringList& inLang, const QStringList& inEnglish)
{
    for (const QStringList* texts : {&inLang, &inEnglish})
        for (int i = 0; i < texts->size(); ++i)
            if (texts->at(i).compare(text, Qt::CaseInsensitive) == 0)
                return i;
    return -1;
}

// A whole number first..last, else none.
std::optional<int> ReadNumber(const QString& text, int first, int last)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && n >= first && n <= last ? std::optional<int>(n) : std::nullopt;
}

bool InBand(const RadioData& data, uint32_t hz)
{
    return hz >= data.band_limits.lower && hz <= data.band_limits.upper;
}

BitField TwoStateBit(int col, int channel)
{
    using namespace rec::ch;
    switch (col) {
    case Power: return tx_power(channel);
    case Bandwidth: return bandwidth(channel);
    case Scan: return scan_add(channel);
    default: return xtal_shift(channel);
    }
}

// Unlike a frequency typed into its cell (clamped silently, Edit_ChFreqExit), a pasted
// or filled one outside the band is refused and reported: many cells change at once.
CellStore StoreRx(RadioData& data, int channel, const QString& text)
{
    RadioRecord& r = data.record;
    if (text.isEmpty()) {
        r.fill(rec::channelOffset(channel), rec::kChannelSize, 0);
        return CellStore::Stored;
    }
    const std::optional<uint32_t> hz = ReadFrequencyText(text);
    if (!hz)
        return CellStore::Unreadable;
    if (!InBand(data, *hz))
        return CellStore::OutsideBand;
    if (ChannelInUse(r, channel))
        r.set(rec::ch::rx_freq(channel), data.SnapFrequency(*hz));
    else
        StartChannel(r, channel, data.SnapFrequency(*hz));
    return CellStore::Stored;
}

CellStore StoreTx(RadioData& data, int channel, const QString& text)
{
    const std::optional<uint32_t> hz = text.isEmpty() ? std::optional<uint32_t>(0) : ReadFrequencyText(text);
    if (!hz)
        return CellStore::Unreadable;
    if (*hz != 0 && !InBand(data, *hz))
        return CellStore::OutsideBand;
    data.record.set(rec::ch::tx_freq(channel), *hz ? data.SnapFrequency(*hz) : 0);
    return CellStore::Stored;
}

// Stores the column's settings other than the frequencies into a channel in use.
CellStore StoreSetting(RadioRecord& r, int channel, int col, const QString& text, const TAppLang& lang)
{
    using namespace rec::ch;
    switch (col) {
    case RxTone:
    case TxTone: {
        const int position = FindText(text, SubAudioList(), {});
        if (position < 0)
            return CellStore::Unreadable;
        const SubAudioChoice choice = SubAudioFromListPosition(position);
        const bool rx = col == RxTone;
        r.set(rx ? rx_subaudio(channel) : tx_subaudio(channel), choice.code);
        if (!choice.keepPolarity)
            r.set(rx ? rx_dcs_inverted(channel) : tx_dcs_inverted(channel), choice.inverted);
        return CellStore::Stored;
    }
    case Power:
    case Bandwidth:
    case Scan:
    case XtalShift:
    case Scramble: {
        const int state = FindText(text, TwoStateTexts(lang, col), TwoStateTexts(English(), col));
        if (state < 0)
            return CellStore::Unreadable;
        if (col != Scramble)
            r.set(TwoStateBit(col, channel), unsigned(state));
        else if (state == 0)
            r.set(scramble_no(channel), 0);
        else if (r.get(scramble_no(channel)) == 0)
            r.set(scramble_no(channel), 1);   // switching scrambling on selects scrambler 1
        return CellStore::Stored;
    }
    case Sql: {
        const std::optional<int> level = ReadNumber(text, 0, kSquelchLevels - 1);
        if (!level)
            return CellStore::Unreadable;
        r.set(squelch(channel), uint8_t(*level));
        return CellStore::Stored;
    }
    case ScrambleNo: {
        if (r.get(scramble_no(channel)) == 0)
            return text.isEmpty() ? CellStore::Stored : CellStore::NotOpen;
        const std::optional<int> number = ReadNumber(text, 1, kScramblerCount);
        if (!number)
            return CellStore::Unreadable;
        r.set(scramble_no(channel), uint8_t(*number));
        return CellStore::Stored;
    }
    case LockOut: {
        const int value = FindText(text, LockOutTexts(), {});
        if (value < 0)
            return CellStore::Unreadable;
        r.set(busy_lockout(channel), unsigned(value));
        return CellStore::Stored;
    }
    case SignalSys: {
        const int system = FindText(text, SignalSystemTexts(lang), SignalSystemTexts(English()));
        if (system < 0)
            return CellStore::Unreadable;
        if (r.get(signaling_system(channel)) != unsigned(system))
            r.set(signaling_no(channel), 0);
        r.set(signaling_system(channel), unsigned(system));
        return CellStore::Stored;
    }
    case SignalNo: {
        const unsigned system = r.get(signaling_system(channel));
        if (system == 0)
            return text.isEmpty() ? CellStore::Stored : CellStore::NotOpen;
        const std::optional<int> number = ReadNumber(text, 1, SignalNumberCount(system));
        if (!number)
            return CellStore::Unreadable;
        r.set(signaling_no(channel), unsigned(*number - 1));
        return CellStore::Stored;
    }
    default: return CellStore::Unreadable;
    }
}

}   // namespace

int ChannelHeaderTextNo(int col)
{
    return col >= 1 && col <= kCount ? kHeaderTexts[std::size_t(col)] : -1;
}

QString ChannelHeader(const TAppLang& lang, int col)
{
    const int text = ChannelHeaderTextNo(col);
    return text < 0 ? QString() : UiText(lang, text);
}

QStringList TwoStateTexts(const TAppLang& lang, int col)
{
    auto texts = [&lang](TwoStates t) { return QStringList{UiText(lang, t.clear), UiText(lang, t.set)}; };
    switch (col) {
    case Power: return texts(kPowerTexts);
    case Bandwidth: return texts(kBandwidthTexts);
    case Scramble:
    case XtalShift: return texts(kOnOffTexts);
    case Scan: return texts(kScanTexts);
    default: return {};
    }
}

QStringList LockOutTexts()
{
    return {kLockOutNames.begin(), kLockOutNames.end()};
}

QString SignalSystemText(const TAppLang& lang, unsigned system)
{
    if (system == 0)
        return UiText(lang, kSignalOffText);
    if (system < kSignalSystemNames.size())
        return QString::fromLatin1(kSignalSystemNames[system]);
    return UnknownText();
}

QStringList SignalSystemTexts(const TAppLang& lang)
{
    QStringList texts;
    for (unsigned s = 0; s < kSignalSystemNames.size(); ++s)
        texts << SignalSystemText(lang, s);
    return texts;
}

int SignalNumberCount(unsigned system)
{
    return system < unsigned(kSignalSystemCount) ? kSignalNumberCounts[system] : 0;
}

QStringList ChannelColumnTexts(const TAppLang& lang, int col)
{
    switch (col) {
    case Rx:
    case Tx: return {FormatFrequency(470000000)};
    case RxTone:
    case TxTone: return SubAudioList();
    case Sql: return NumberRange(0, kSquelchLevels - 1);
    case ScrambleNo: return NumberRange(1, kScramblerCount);
    case LockOut: return LockOutTexts();
    case SignalSys: return SignalSystemTexts(lang);
    case SignalNo: return NumberRange(1, kSignalNumberCounts[kSignalSystemCount - 1]);
    default: return TwoStateTexts(lang, col);
    }
}

bool ChannelInUse(const RadioRecord& record, int channel)
{
    return record.get(rec::ch::in_use(channel)) != 0;
}

QString ChannelCellText(const RadioRecord& r, int channel, int col, const TAppLang& lang)
{
    if (!ChannelInUse(r, channel))
        return {};
    using namespace rec::ch;
    switch (col) {
    case Rx: return FormatFrequency(r.get(rx_freq(channel)));
    case Tx: return FormatFrequency(r.get(tx_freq(channel)));
    case RxTone: return FormatSubAudio(r.get(rx_subaudio(channel)), r.get(rx_dcs_inverted(channel)));
    case TxTone: return FormatSubAudio(r.get(tx_subaudio(channel)), r.get(tx_dcs_inverted(channel)));
    case Sql: return QString::number(r.get(squelch(channel)));
    case Scramble: return TwoStateTexts(lang, col).at(r.get(scramble_no(channel)) != 0 ? 1 : 0);
    case ScrambleNo: return r.get(scramble_no(channel)) ? QString::number(r.get(scramble_no(channel))) : QString();
    case LockOut: return TextOf(LockOutTexts(), r.get(busy_lockout(channel)));
    case SignalSys: return SignalSystemText(lang, r.get(signaling_system(channel)));
    case SignalNo:
        return r.get(signaling_system(channel)) ? QString::number(r.get(signaling_no(channel)) + 1) : QString();
    case Power:
    case Bandwidth:
    case Scan:
    case XtalShift: return TextOf(TwoStateTexts(lang, col), r.get(TwoStateBit(col, channel)));
    default: return {};
    }
}

void StartChannel(RadioRecord& r, int channel, uint32_t rxHz)
{
    using namespace rec::ch;
    r.set(rx_freq(channel), rxHz);
    r.set(tx_freq(channel), rxHz);
    r.set(rx_subaudio(channel), 0);
    r.set(tx_subaudio(channel), 0);
    r.set(flags_2(channel), 0);
    r.set(signaling(channel), 0);
    r.set(squelch(channel), kNewChannelSquelch);
    r.set(scramble_no(channel), 0);
    r.set(flags_1(channel), 1);
}

CellStore StoreChannelCell(RadioData& data, int channel, int col, const QString& raw, const TAppLang& lang)
{
    const QString text = raw.trimmed();
    if (col == Rx)
        return StoreRx(data, channel, text);
    if (!ChannelInUse(data.record, channel))
        return text.isEmpty() ? CellStore::Stored : CellStore::ChannelEmpty;
    if (col == Tx)
        return StoreTx(data, channel, text);
    return StoreSetting(data.record, channel, col, text, lang);
}

QString ProgramTimeText(const ProgramTime& t)
{
    return QStringLiteral("%1-%2-%3  %4:%5")
        .arg(int(t.year))
        .arg(int(t.month))
        .arg(int(t.day))
        .arg(int(t.hour))
        .arg(int(t.minute));
}

QString SerialNumberText(const std::array<uint8_t, 8>& sn)
{
    const auto end = std::find(sn.begin(), sn.end(), uint8_t(0));
    return QString::fromLatin1(reinterpret_cast<const char*>(sn.data()), end - sn.begin());
}

}   // namespace k3n
