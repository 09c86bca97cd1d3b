// SPDX-License-Identifier: GPL-3.0-or-later
// The channel list written: one row per channel in use, and a note for each
// value the columns cannot carry or an import of the file would change.
#include "interchange/channel_csv.h"
#include "interchange/channel_csv_values.h"
#include "model/channel_cells.h"
#include "model/channel_options.h"
#include "model/record_fields.h"
#include "model/record_layout.h"
#include "model/value_codings.h"
#include "text/own_texts.h"
#include <map>

namespace k3n {

using namespace channel_list;

namespace {

enum class ToneKind { None, Ctcss, Dcs, Foreign };

ToneKind KindOfTone(uint8_t code)
{
    if (code == 0)
        return ToneKind::None;
    if (code < kCtcssCount)
        return ToneKind::Ctcss;
    if (code >= kDcsCodeBase && code < kDcsCodeBase + kDcsCodeCount)
        return ToneKind::Dcs;
    return ToneKind::Foreign;
}

QString DcsCodeText(uint8_t code)
{
    return QStringLiteral("%1").arg(DcsOctalCode(code - kDcsCodeBase), 3, 10, QChar('0'));
}

QString OnOff(bool on)
{
    return QString::fromLatin1(kOffOnNames[on ? 1 : 0]);
}

QStringList ExportRow(const Channel& c, int n, const QStringList& columns)
{
    std::map<QString, QString> v;
    v["Location"] = QString::number(n);
    v["Frequency"] = MHzText(c.rx);
    if (c.tx == 0) {
        v["Duplex"] = QStringLiteral("off");
        v["Offset"] = MHzText(0);
    } else if (c.tx == c.rx) {
        v["Offset"] = MHzText(0);
    } else {
        v["Duplex"] = c.tx > c.rx ? QStringLiteral("+") : QStringLiteral("-");
        v["Offset"] = MHzText(c.tx > c.rx ? c.tx - c.rx : c.rx - c.tx);
    }

    // A code no table holds is written as no tone (the notes say so).
    ToneKind txKind = KindOfTone(c.txTone), rxKind = KindOfTone(c.rxTone);
    txKind = txKind == ToneKind::Foreign ? ToneKind::None : txKind;
    rxKind = rxKind == ToneKind::Foreign ? ToneKind::None : rxKind;
    v["rToneFreq"] = v["cToneFreq"] = QStringLiteral("88.5");
    v["DtcsCode"] = v["RxDtcsCode"] = QStringLiteral("023");
    v["CrossMode"] = QStringLiteral("Tone->Tone");
    if (txKind == ToneKind::Ctcss)
        v["rToneFreq"] = QString::fromLatin1(CtcssText(c.txTone));
    if (txKind == ToneKind::Dcs)
        v["DtcsCode"] = v["RxDtcsCode"] = DcsCodeText(c.txTone);
    if (rxKind == ToneKind::Ctcss)
        v["cToneFreq"] = QString::fromLatin1(CtcssText(c.rxTone));
    if (rxKind == ToneKind::Dcs) {
        v["RxDtcsCode"] = DcsCodeText(c.rxTone);
        // A reader without RxDtcsCode takes the receive code from DtcsCode.
        if (txKind != ToneKind::Dcs)
            v["DtcsCode"] = v["RxDtcsCode"];
    }
    if (txKind == ToneKind::None && rxKind == ToneKind::None) {
        v["Tone"] = QString();
    } else if (txKind == ToneKind::Ctcss && rxKind == ToneKind::None) {
        v["Tone"] = QStringLiteral("Tone");
    } else if (txKind == ToneKind::Ctcss && c.rxTone == c.txTone) {
        v["Tone"] = QStringLiteral("TSQL");
    } else if (txKind == ToneKind::Dcs && c.rxTone == c.txTone) {
        v["Tone"] = QStringLiteral("DTCS");
    } else {
        auto side = [](ToneKind kind) {
            return kind == ToneKind::Ctcss ? QStringLiteral("Tone")
                : kind == ToneKind::Dcs    ? QStringLiteral("DTCS")
                                           : QString();
        };
        v["Tone"] = QStringLiteral("Cross");
        v["CrossMode"] = side(txKind) + QStringLiteral("->") + side(rxKind);
    }
    v["DtcsPolarity"] = QString(c.txInverted ? 'R' : 'N') + QChar(c.rxInverted ? 'R' : 'N');
    v["Mode"] = c.narrow ? QStringLiteral("NFM") : QStringLiteral("FM");
    v["TStep"] = c.rx % 5000 == 0 ? QStringLiteral("5.00") : QStringLiteral("6.25");
    v["Skip"] = c.scanAdd ? QString() : QStringLiteral("S");
    v["Power"] = QString::fromLatin1(OptionNames("tx_power")[c.high ? 1 : 0]);

    v["Squelch"] = QString::number(c.squelch);
    v["Scramble"] = OnOff(c.scrambleNo != 0);
    v["ScrambleNo"] = c.scrambleNo != 0 ? QString::number(c.scrambleNo) : QString();
    v["LockOut"] = NameOrNumber(c.lockOut, OptionNames("busy_lockout"));
    v["XtalShift"] = NameOrNumber(c.xtalShift, OptionNames("xtal_shift"));
    v["Signaling"] = NameOrNumber(c.signalingSystem, OptionNames("signaling_system"));
    v["SignalingNo"] = c.signalingSystem != 0 || c.signalingNo != 0 ? QString::number(c.signalingNo + 1) : QString();

    QStringList row;
    for (const QString& column : columns)
        row << v[column];
    return row;
}

// What of channel n the file cannot carry, or an import of it would change or refuse.
QStringList ExportNotes(const RadioRecord& r, int n, const RadioData* band, ChannelColumnSet set, const TAppLang& lang)
{
    const Channel c = ReadChannel(r, n);
    QStringList notes;
    auto note = [&](const QString& text) { notes << Text(lang, OwnText::ExportNoteChannel).arg(n).arg(text); };
    auto checkFrequency = [&](const QString& what, uint32_t hz) {
        if (hz < band->band_limits.lower || hz > band->band_limits.upper)
            note(Text(lang, OwnText::ExportOutsideBand).arg(what, MHzText(hz), LimitsText(band->band_limits)));
        else if (band->SnapFrequency(hz) != hz)
            note(Text(lang, OwnText::ExportOffRaster).arg(what, MHzText(hz), MHzText(band->SnapFrequency(hz))));
    };
    if (band) {
        checkFrequency(QStringLiteral("Frequency"), c.rx);
        if (c.tx != 0)   // no transmit frequency is "off"
            checkFrequency(Text(lang, OwnText::ImportTxFrequency), c.tx);
    }
    for (auto [code, direction] : {std::pair{c.txTone, "TX"}, std::pair{c.rxTone, "RX"}}) {
        if (KindOfTone(code) == ToneKind::Foreign)
            note(Text(lang, OwnText::ExportForeignTone).arg(QLatin1String(direction)).arg(code));
    }
    if (set == ChannelColumnSet::StandardAndRadio) {
        auto notTaken = [&](const char* column, unsigned value) {
            note(Text(lang, OwnText::ExportNotTaken).arg(QLatin1String(column)).arg(value));
        };
        if (!Offers("busy_lockout", c.lockOut))
            notTaken("LockOut", c.lockOut);
        if (!Offers("squelch", c.squelch))
            notTaken("Squelch", c.squelch);
        if (c.scrambleNo > kMaxScrambleNo)
            notTaken("ScrambleNo", c.scrambleNo);
        if (!Offers("signaling_system", c.signalingSystem))
            notTaken("Signaling", c.signalingSystem);
        else if (c.signalingSystem != 0 && c.signalingNo + 1 > SignalNumberCount(c.signalingSystem))
            notTaken("SignalingNo", c.signalingNo + 1u);
        else if (c.signalingSystem == 0 && c.signalingNo != 0)
            note(Text(lang, OwnText::ExportSignalingNoWithoutSystem).arg(c.signalingNo + 1));
    }
    // The bits of an entry no column holds: flag bits without a name and the reserved byte.
    QStringList unnamed;
    for (const RecordField& field : ChannelSlotFields(n)) {
        if (IsNamedField(field))
            continue;
        if (const uint64_t bits = FieldNumber(r, field))
            unnamed << QStringLiteral("byte %1: 0x%2")
                           .arg(field.offset - rec::channelOffset(n))
                           .arg(bits, 2, 16, QChar('0'));
    }
    if (!unnamed.isEmpty())
        note(Text(lang, OwnText::ExportUnnamedBits).arg(unnamed.join(QStringLiteral(", "))));
    return notes;
}

}   // namespace

const QStringList& StandardChannelColumns()
{
    static const QStringList columns{"Location",  "Name",      "Frequency", "Duplex",       "Offset",     "Tone",
                                     "rToneFreq", "cToneFreq", "DtcsCode",  "DtcsPolarity", "RxDtcsCode", "CrossMode",
                                     "Mode",      "TStep",     "Skip",      "Power",        "Comment",    "URCALL",
                                     "RPT1CALL",  "RPT2CALL",  "DVCODE"};
    return columns;
}

const QStringList& RadioChannelColumns()
{
    static const QStringList columns{"Squelch",   "Scramble",  "ScrambleNo", "LockOut",
                                     "XtalShift", "Signaling", "SignalingNo"};
    return columns;
}

ChannelExport ExportChannelsCsv(const RadioRecord& record, ChannelColumnSet set, const TAppLang* language)
{
    const TAppLang& lang = language ? *language : EnglishLanguage();
    QStringList columns = StandardChannelColumns();
    if (set == ChannelColumnSet::StandardAndRadio)
        columns += RadioChannelColumns();
    // The band's limits and raster, as an import onto this configuration uses them.
    std::optional<RadioData> band;
    if (const int number = record.get(rec::freq_band); IsKnownBand(number)) {
        band.emplace();
        band->ResetForBand(number);
    }
    ChannelExport result;
    std::vector<QStringList> rows{columns};
    for (int n = 1; n <= rec::kChannelCount; ++n) {
        if (!ChannelInUse(record, n))
            continue;
        rows.push_back(ExportRow(ReadChannel(record, n), n, columns));
        result.notes += ExportNotes(record, n, band ? &*band : nullptr, set, lang);
    }
    result.csv = WriteCsv(rows);
    return result;
}

}   // namespace k3n
