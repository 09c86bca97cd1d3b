// SPDX-License-Identifier: GPL-3.0-or-later
#include "interchange/channel_csv_values.h"
#include "model/record_fields.h"
#include "model/record_layout.h"
#include "text/app_lang.h"

namespace k3n::channel_list {

const TAppLang& EnglishLanguage()
{
    static const TAppLang english = [] {
        TAppLang lang(kLangIdEnglishUs);
        ApplyLanguageSetting(lang, 0);
        return lang;
    }();
    return english;
}

Channel ReadChannel(const RadioRecord& r, int n)
{
    using namespace rec::ch;
    Channel c;
    c.rx = r.get(rx_freq(n));
    c.tx = r.get(tx_freq(n));
    c.rxTone = r.get(rx_subaudio(n));
    c.txTone = r.get(tx_subaudio(n));
    c.rxInverted = r.get(rx_dcs_inverted(n)) != 0;
    c.txInverted = r.get(tx_dcs_inverted(n)) != 0;
    c.high = r.get(tx_power(n)) != 0;
    c.narrow = r.get(bandwidth(n)) != 0;
    c.scanAdd = r.get(scan_add(n)) != 0;
    c.xtalShift = r.get(xtal_shift(n)) != 0;
    c.lockOut = uint8_t(r.get(busy_lockout(n)));
    c.signalingSystem = uint8_t(r.get(signaling_system(n)));
    c.signalingNo = uint8_t(r.get(signaling_no(n)));
    c.squelch = r.get(squelch(n));
    c.scrambleNo = r.get(scramble_no(n));
    return c;
}

namespace {

// A channel's field as the record's catalogue states it; every slot has the same.
const RecordField& ChannelField(const char* key)
{
    return *FindField(ChannelSlotFields(1), QLatin1String(key));
}

}   // namespace

std::span<const char* const> OptionNames(const char* key)
{
    return ChannelField(key).fixedOptions;
}

bool Offers(const char* key, int64_t value)
{
    return value >= 0 && IsOfferedValue(ChannelField(key), uint64_t(value));
}

QString MHzText(uint32_t hz)
{
    return QStringLiteral("%1.%2").arg(hz / 1000000).arg(hz % 1000000, 6, 10, QChar('0'));
}

QString LimitsText(const BandLimits& limits)
{
    return QStringLiteral("%1-%2 MHz").arg(MHzText(limits.lower), MHzText(limits.upper));
}

QString NameOrNumber(unsigned value, std::span<const char* const> names)
{
    return value < names.size() ? QString::fromLatin1(names[value]) : QString::number(value);
}

}   // namespace k3n::channel_list
