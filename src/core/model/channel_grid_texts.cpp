// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/channel_grid_texts.h"
#include "model/record_layout.h"
#include "model/value_codings.h"
#include "text/ui_text.h"
#include <algorithm>

namespace k3n {

namespace {

QString TwoStateText(const TAppLang& lang, const TwoStateTexts& texts, unsigned bit)
{
    return UiText(lang, bit ? texts.set : texts.clear);
}

} // namespace

QString UnknownValueText()
{
    return QStringLiteral("?");
}

QString SignalSystemText(const TAppLang& lang, unsigned system)
{
    if (system == 0)
        return UiText(lang, kSignalOffText);
    if (system < kSignalSystemNames.size())
        return QString::fromLatin1(kSignalSystemNames[system]);
    return UnknownValueText();
}

QString ChannelGridHeader(const TAppLang& lang, int col)
{
    const int text = col >= 0 && col < kChannelGridColumns ? kChannelGridHeaderTexts[std::size_t(col)] : -1;
    return text < 0 ? QString() : UiText(lang, text);
}

QString ChannelCellText(const TAppLang& lang, const RadioRecord& r, int col, int ch)
{
    using namespace rec::ch;
    namespace c = channel_col;
    switch (col) {
    case 0: return QString::number(ch);
    case c::Rx: return FormatFrequency(r.get(rx_freq(ch)));
    case c::Tx: return FormatFrequency(r.get(tx_freq(ch)));
    case c::RxTone: return FormatSubAudio(r.get(rx_subaudio(ch)), r.get(rx_dcs_inverted(ch)));
    case c::TxTone: return FormatSubAudio(r.get(tx_subaudio(ch)), r.get(tx_dcs_inverted(ch)));
    case c::Power: return TwoStateText(lang, kPowerTexts, r.get(tx_power(ch)));
    case c::Bandwidth: return TwoStateText(lang, kBandwidthTexts, r.get(bandwidth(ch)));
    case c::Sql: return QString::number(r.get(squelch(ch)));
    // Scrambling on is scrambler 1 or above; off is 0.
    case c::Scramble: return TwoStateText(lang, kOnOffTexts, r.get(scramble_no(ch)) != 0);
    case c::ScrambleNo: return r.get(scramble_no(ch)) ? QString::number(r.get(scramble_no(ch))) : QString();
    case c::Scan: return TwoStateText(lang, kScanTexts, r.get(scan_add(ch)));
    case c::LockOut: {
        const unsigned v = r.get(busy_lockout(ch));
        return v < kLockOutTexts.size() ? QString::fromLatin1(kLockOutTexts[v]) : UnknownValueText();
    }
    case c::XtalShift: return TwoStateText(lang, kOnOffTexts, r.get(xtal_shift(ch)));
    case c::SignalSys: return SignalSystemText(lang, r.get(signaling_system(ch)));
    // The number means nothing while signalling is off.
    case c::SignalNo: return r.get(signaling_system(ch)) ? QString::number(r.get(signaling_no(ch)) + 1) : QString();
    default: return QString();
    }
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

} // namespace k3n
