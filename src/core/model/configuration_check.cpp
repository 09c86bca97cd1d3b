// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/configuration_check.h"
#include "model/channel_options.h"
#include "model/digit_code.h"
#include "model/radio_data.h"
#include "model/record_fields.h"
#include "model/record_layout.h"
#include "model/signal_entry.h"
#include "model/value_codings.h"
#include "text/app_lang.h"
#include "text/own_texts.h"
#include "text/ui_text.h"
#include "text/ui_text_ids.h"
#include <algorithm>

namespace k3n {

namespace {

using P = EditorPage;

constexpr uint8_t kNoCode = 0xFF;
// The emergency block's signalling types: 1 DTMF, 2 five-tone.
constexpr int kEmergencyDtmf = 1, kEmergencyFiveTone = 2;
// Scan transmit mode 1 sends on the designated channel; emergency channel choice 3 uses its own.
constexpr unsigned kScanTxDesignated = 1, kEmergencyDesignated = 3;

// One signalling table of codes: where its entries are and how many digits they hold.
struct CodeTable {
    EditorPage page;
    int count;
    bool (*isEmpty)(const RadioRecord&, int index);
};

bool DtmfEncodeEmpty(const RadioRecord& r, int k)
{
    return IsEmptyDigitCode(r, {rec::dtmf::encode(k), rec::dtmf::kEncodeDigits});
}
bool FiveToneEncodeEmpty(const RadioRecord& r, int k)
{
    return IsEmptyDigitCode(r, {rec::five_tone::encode(k), rec::five_tone::kEncodeDigits});
}
// A two-tone code without tone A has no tones at all.
bool TwoToneEncodeEmpty(const RadioRecord& r, int k)
{
    return (r.get(rec::two_tone::encode(k)) & 0x0F) == 0x0F;
}

constexpr CodeTable kDtmfCodes{P::Dtmf, rec::dtmf::kEncodeCount, DtmfEncodeEmpty};
constexpr CodeTable kFiveToneCodes{P::FiveTone, rec::five_tone::kEncodeCount, FiveToneEncodeEmpty};
constexpr CodeTable kTwoToneCodes{P::TwoTone, rec::two_tone::kEncodeCount, TwoToneEncodeEmpty};

QString Trimmed(const TAppLang& lang, int text)
{
    return PlainCaption(UiText(lang, text)).trimmed();
}

class Checker {
public:
    Checker(const RadioRecord& record, const TAppLang& lang) : r_(record), lang_(lang) {}

    std::vector<ConfigurationProblem> run()
    {
        checkChannels();
        checkOfferedValues();
        checkScanChannels();
        checkEmergency();
        checkDtmf();
        checkFiveTone();
        checkTwoTone();
        std::stable_sort(problems_.begin(), problems_.end(),
                         [](const auto& a, const auto& b) { return a.page < b.page; });
        return std::move(problems_);
    }

private:
    const RadioRecord& r_;
    const TAppLang& lang_;
    std::vector<ConfigurationProblem> problems_;

    QString text(int n) const { return Trimmed(lang_, n); }
    QString own(OwnText id) const { return Text(lang_, id); }
    QString channelItem(int n, int caption) const
    {
        return QStringLiteral("%1 %2, %3").arg(text(ui::kChannel)).arg(n).arg(text(caption));
    }
    QString rowItem(int caption, int row, const QString& column) const
    {
        return QStringLiteral("%1 %2, %3").arg(text(caption)).arg(row).arg(column);
    }
    static QString mhz(uint32_t hz) { return FormatFrequency(hz); }

    void add(Severity severity, ProblemKind kind, EditorPage page, QString item, QString message, int channel = 0)
    {
        problems_.push_back({severity, kind, page, channel, std::move(item), std::move(message)});
    }
    void warn(ProblemKind kind, EditorPage page, QString item, QString message, int channel = 0)
    {
        add(Severity::Warning, kind, page, std::move(item), std::move(message), channel);
    }

    bool channelInUse(int n) const { return r_.get(rec::ch::in_use(n)) != 0; }
    bool anyChannelInUse() const
    {
        for (int n = 1; n <= rec::kChannelCount; ++n)
            if (channelInUse(n))
                return true;
        return false;
    }

    void checkFrequency(int n, int caption, uint32_t hz, int band)
    {
        if (!IsKnownBand(band))
            return;   // the band's own error says it; there are no limits to hold against
        const BandLimits limits = BandLimitsOf(band);
        if (hz < limits.lower || hz > limits.upper) {
            add(Severity::Error, ProblemKind::FrequencyOutsideBand, P::Channels, channelItem(n, caption),
                own(OwnText::CheckFrequencyOutsideBand)
                    .arg(mhz(hz), QString::fromLatin1(BandName(band)), mhz(limits.lower), mhz(limits.upper)),
                n);
        } else if (!IsOnChannelRaster(hz)) {
            warn(ProblemKind::FrequencyOffRaster, P::Channels, channelItem(n, caption),
                 own(OwnText::CheckFrequencyOffRaster).arg(mhz(hz)), n);
        }
    }

    void checkChannels()
    {
        const int band = r_.get(rec::freq_band);
        if (!IsKnownBand(band))
            add(Severity::Error, ProblemKind::UnknownBand, P::Channels, text(ui::kFrequencyRange),
                own(OwnText::CheckUnknownBand).arg(band));
        if (!anyChannelInUse()) {
            warn(ProblemKind::NoChannelInUse, P::Channels, text(ui::kChannel), own(OwnText::CheckNoChannelInUse));
            return;
        }
        for (int n = 1; n <= rec::kChannelCount; ++n) {
            if (!channelInUse(n))
                continue;
            const uint32_t rx = r_.get(rec::ch::rx_freq(n));
            if (rx == 0)
                add(Severity::Error, ProblemKind::RxFrequencyMissing, P::Channels, channelItem(n, ui::kRxFreq),
                    own(OwnText::CheckRxFrequencyMissing), n);
            else
                checkFrequency(n, ui::kRxFreq, rx, band);
            // TX 0 is the radio's receive-only channel.
            if (const uint32_t tx = r_.get(rec::ch::tx_freq(n)); tx != 0)
                checkFrequency(n, ui::kTxFreq, tx, band);

            const unsigned scrambler = r_.get(rec::ch::scramble_no(n));
            if (scrambler > unsigned(kScramblerCount))
                warn(ProblemKind::ScrambleNumberTooHigh, P::Channels, channelItem(n, ui::kScrambleNo),
                     own(OwnText::CheckScrambleNumberTooHigh).arg(scrambler).arg(kScramblerCount), n);

            const unsigned system = r_.get(rec::ch::signaling_system(n));
            const unsigned entry = r_.get(rec::ch::signaling_no(n));
            if (system > 0 && system < unsigned(kSignalSystemCount) && entry >= unsigned(kSignalNumberCounts[system]))
                warn(ProblemKind::SignalNumberBeyondSystem, P::Channels, channelItem(n, ui::kSignalingNo),
                     own(OwnText::CheckSignalNumberBeyondSystem)
                         .arg(entry + 1)
                         .arg(QString::fromLatin1(kSignalSystemNames[system]))
                         .arg(kSignalNumberCounts[system]),
                     n);
        }
    }

    // "Channel 12, CTCSS Dec.", "System 3, Table", "TOT Time (s)".
    QString fieldItem(const RecordField& field) const
    {
        const QString caption = FieldCaption(field, lang_);
        if (field.entryCaption < 0)
            return caption;
        QString item = QStringLiteral("%1 %2").arg(text(field.entryCaption)).arg(field.entry);
        if (!caption.isEmpty())
            item += QStringLiteral(", ") + caption;
        return item;
    }

    void checkOfferedValues()
    {
        for (const RecordField& field : RecordFields()) {
            if (!IsPickOnly(field))
                continue;
            const bool aChannel = QLatin1String(field.section) == QLatin1String("channels");
            if (aChannel && (field.entry < 1 || !channelInUse(field.entry)))
                continue;
            const uint64_t value = FieldNumber(r_, field);
            if (IsOfferedValue(field, value))
                continue;
            warn(ProblemKind::ValueNotOffered, field.page, fieldItem(field),
                 own(OwnText::CheckValueNotOffered).arg(value), aChannel ? field.entry : 0);
        }
    }

    // A channel list position (channel number - 1) that names an empty channel.
    void checkChannelReference(EditorPage page, int caption, U8Field field)
    {
        const int channel = r_.get(field) + 1;
        if (channel <= rec::kChannelCount && !channelInUse(channel))
            warn(ProblemKind::EmptyChannelReference, page, text(caption),
                 own(OwnText::CheckEmptyChannelReference).arg(channel));
    }

    void checkScanChannels()
    {
        if (!anyChannelInUse())
            return;   // "no channel in use" says it all
        if (r_.get(rec::scan_tx_mode) == kScanTxDesignated)
            checkChannelReference(P::Scan, ui::kDesignatedChannel, rec::scan_designated_channel);
        checkChannelReference(P::Scan, ui::kHomeChannel, rec::home_channel);
        checkChannelReference(P::Scan, ui::kPriorityScan, rec::priority_channel);
        checkChannelReference(P::Scan, ui::kDualWatchChannel, rec::dual_watch_channel);
    }

    void checkEmergency()
    {
        if (anyChannelInUse() && r_.get(rec::emergency_channel_select) == kEmergencyDesignated)
            checkChannelReference(P::Emergency, ui::kDesignatedChannel, rec::emergency_designated_channel);
        const int type = int(r_.get(rec::emergency_signaling_type));
        if (type != kEmergencyDtmf && type != kEmergencyFiveTone)
            return;
        const bool dtmf = type == kEmergencyDtmf;
        const int systems = dtmf ? rec::dtmf::kSystemCount : rec::five_tone::kSystemCount;
        const char* name = dtmf ? "DTMF" : "5-TONE";
        const unsigned system = r_.get(rec::emergency_encode_system);
        if (system >= unsigned(systems))
            warn(ProblemKind::SignalNumberBeyondSystem, P::Emergency, text(ui::kEncodeSystem),
                 own(OwnText::CheckSignalNumberBeyondSystem)
                     .arg(system + 1)
                     .arg(QString::fromLatin1(name))
                     .arg(systems));
        checkCodeReference(dtmf ? kDtmfCodes : kFiveToneCodes, P::Emergency, text(ui::kEncodeSelect),
                           r_.get(rec::emergency_encode_select));
    }

    // A reference to an encode code: 0xFF is off; others must name a code that exists and holds digits.
    void checkCodeReference(const CodeTable& codes, EditorPage page, const QString& item, unsigned ref)
    {
        if (ref == kNoCode)
            return;
        if (ref >= unsigned(codes.count))
            warn(ProblemKind::MissingCodeReference, page, item,
                 own(OwnText::CheckMissingCodeReference).arg(ref + 1).arg(codes.count));
        else if (codes.isEmpty(r_, int(ref)))
            warn(ProblemKind::EmptyCodeReference, page, item, own(OwnText::CheckEmptyCodeReference).arg(ref + 1));
    }

    void checkCallCodes(const CodeTable& codes, U8Field call1, U8Field call2)
    {
        checkCodeReference(codes, codes.page, text(ui::kCall1), r_.get(call1));
        checkCodeReference(codes, codes.page, text(ui::kCall2), r_.get(call2));
    }

    void checkLeadTimes(EditorPage page, U16Field leadIn, U16Field leadOut)
    {
        for (const auto& [caption, field] : {std::pair{ui::kLeadIn, leadIn}, std::pair{ui::kLeadOut, leadOut}}) {
            const unsigned ms = r_.get(field);
            if (ms < kLeadTimeMin || ms > kLeadTimeMax)
                warn(ProblemKind::LeadTimeOutOfRange, page, text(caption),
                     own(OwnText::CheckLeadTimeOutOfRange).arg(ms).arg(kLeadTimeMin).arg(kLeadTimeMax));
        }
    }

    void checkDigitCount(EditorPage page, int caption, int row, uint16_t offset, int capacity)
    {
        const int count = r_.get(U8Field{offset});
        if (count > capacity)
            warn(ProblemKind::DigitCountBeyondField, page, rowItem(caption, row, text(ui::kCode)),
                 own(OwnText::CheckDigitCountBeyondField).arg(count).arg(capacity));
    }

    void checkDtmf()
    {
        namespace dt = rec::dtmf;
        checkLeadTimes(P::Dtmf, dt::lead_in, dt::lead_out);
        checkCallCodes(kDtmfCodes, dt::call_1, dt::call_2);
        for (int i = 1; i <= dt::kSystemCount; ++i) {
            checkCodeReference(kDtmfCodes, P::Dtmf, rowItem(ui::kSystem, i, text(ui::kCall)), r_.get(dt::call_code(i)));
            checkCodeReference(kDtmfCodes, P::Dtmf, rowItem(ui::kSystem, i, text(ui::kId)), r_.get(dt::id_code(i)));
        }
        for (int k = 0; k < dt::kDecodeCount; ++k)
            checkDigitCount(P::Dtmf, ui::kDecode, k + 1, dt::decode(k), dt::kDecodeDigits);
        for (int k = 0; k < dt::kEncodeCount; ++k)
            checkDigitCount(P::Dtmf, ui::kEncode, k + 1, dt::encode(k), dt::kEncodeDigits);
    }

    void checkFiveTone()
    {
        namespace ft = rec::five_tone;
        checkLeadTimes(P::FiveTone, ft::lead_in, ft::lead_out);
        checkCallCodes(kFiveToneCodes, ft::call_1, ft::call_2);
        for (int i = 1; i <= ft::kSystemCount; ++i) {
            const std::pair<int, U8Field> refs[] = {
                {ui::kRepeat, ft::repeat_code(i)}, {ui::kCall, ft::call_code(i)}, {ui::kId, ft::id_code(i)}};
            for (const auto& [caption, field] : refs)
                checkCodeReference(kFiveToneCodes, P::FiveTone, rowItem(ui::kSystem, i, text(caption)), r_.get(field));
        }
        for (int k = 0; k < ft::kDecodeCount; ++k) {
            checkDigitCount(P::FiveTone, ui::kDecode, k + 1, ft::decode(k), ft::kDecodeDigits);
            checkCodeReference(kFiveToneCodes, P::FiveTone, rowItem(ui::kDecode, k + 1, text(ui::kTranspond)),
                               r_.get(ft::decode_transpond(k)));
        }
        for (int k = 0; k < ft::kEncodeCount; ++k)
            checkDigitCount(P::FiveTone, ui::kEncode, k + 1, ft::encode(k), ft::kEncodeDigits);
    }

    void checkTwoTone()
    {
        namespace tt = rec::two_tone;
        checkLeadTimes(P::TwoTone, tt::lead_in, tt::lead_out);
        checkCallCodes(kTwoToneCodes, tt::call_1, tt::call_2);
        for (int i = 1; i <= tt::kSystemCount; ++i) {
            checkCodeReference(kTwoToneCodes, P::TwoTone, rowItem(ui::kSystem, i, text(ui::kCall)),
                               r_.get(tt::call_code(i)));
            const std::pair<const char*, U8Field> times[] = {{"Tone A Time", tt::tone_a_time(i)},
                                                             {"Tone B Time", tt::tone_b_time(i)},
                                                             {"Group Time", tt::group_time(i)}};
            for (const auto& [caption, field] : times) {
                const unsigned tenths = r_.get(field);
                if (tenths < kTenthsMin || tenths > kTenthsMax)
                    warn(ProblemKind::ToneTimeOutOfRange, P::TwoTone,
                         rowItem(ui::kSystem, i, QString::fromLatin1(caption)),
                         own(OwnText::CheckToneTimeOutOfRange).arg(tenths).arg(kTenthsMin).arg(kTenthsMax));
            }
        }
    }
};

}   // namespace

bool IsOnChannelRaster(uint32_t hz)
{
    constexpr uint32_t k5kHz = 5000, k6250Hz = 6250, kReadStep = 100;
    if (hz % k5kHz == 0 || hz % k6250Hz == 0)
        return true;
    // A 6.25 kHz step ending in 50 Hz comes back from the radio 50 Hz lower.
    return hz % kReadStep == 0 && (hz + 50) % k6250Hz == 0;
}

std::vector<ConfigurationProblem> CheckConfiguration(const RadioRecord& record, const TAppLang& lang)
{
    return Checker(record, lang).run();
}

std::vector<ConfigurationProblem> CheckConfiguration(const RadioRecord& record)
{
    return CheckConfiguration(record, appLang());
}

bool HasErrors(const std::vector<ConfigurationProblem>& problems)
{
    return std::any_of(problems.begin(), problems.end(),
                       [](const ConfigurationProblem& p) { return p.severity == Severity::Error; });
}

}   // namespace k3n
