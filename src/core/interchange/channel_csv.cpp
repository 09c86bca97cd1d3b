// SPDX-License-Identifier: GPL-3.0-or-later
#include "interchange/channel_csv.h"
#include "model/record_layout.h"
#include "model/value_codings.h"
#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <map>

namespace k3n {

namespace {

// One channel's values, as the record holds them.
struct Channel {
    uint32_t rx = 0, tx = 0;
    uint8_t rxTone = 0, txTone = 0;
    bool rxInverted = false, txInverted = false;
    bool high = true, narrow = false, scanAdd = true, xtalShift = false;
    uint8_t lockOut = 0, signalingSystem = 0, signalingNo = 0, squelch = 5, scrambleNo = 0;
};

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

// The whole entry is rewritten, so bits no column names stay 0 as the editor leaves them.
void WriteChannel(RadioRecord& r, int n, const Channel& c)
{
    using namespace rec::ch;
    r.fill(rec::channelOffset(n), rec::kChannelSize, 0);
    r.set(rx_freq(n), c.rx);
    r.set(tx_freq(n), c.tx);
    r.set(rx_subaudio(n), c.rxTone);
    r.set(tx_subaudio(n), c.txTone);
    r.set(in_use(n), 1);
    r.set(xtal_shift(n), c.xtalShift);
    r.set(tx_power(n), c.high);
    r.set(busy_lockout(n), c.lockOut);
    r.set(tx_dcs_inverted(n), c.txInverted);
    r.set(rx_dcs_inverted(n), c.rxInverted);
    r.set(bandwidth(n), c.narrow);
    r.set(scan_add(n), c.scanAdd);
    r.set(signaling_system(n), c.signalingSystem);
    r.set(signaling_no(n), c.signalingNo);
    r.set(squelch(n), c.squelch);
    r.set(scramble_no(n), c.scrambleNo);
}

const char* const kLockOutNames[] = {"----", "BCLO", "BTLO"};
const char* const kSignalingNames[] = {"OFF", "DTMF", "5-TONE", "2-TONE"};
constexpr int kMaxSquelch = 9;
constexpr int kMaxScrambleNo = 16;
constexpr uint32_t kHighPowerAboveMilliwatts = 2000;

// Exact MHz with six decimals, so every hertz survives the trip.
QString MHzText(uint32_t hz)
{
    return QStringLiteral("%1.%2").arg(hz / 1000000).arg(hz % 1000000, 6, 10, QChar('0'));
}

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

QString NameOrNumber(unsigned value, const char* const* names, unsigned count)
{
    return value < count ? QString::fromLatin1(names[value]) : QString::number(value);
}

QStringList ExportRow(const RadioRecord& record, int n, const QStringList& columns, QStringList& notes)
{
    const Channel c = ReadChannel(record, n);
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

    ToneKind txKind = KindOfTone(c.txTone), rxKind = KindOfTone(c.rxTone);
    for (auto [kind, code, direction] : {std::tuple{&txKind, c.txTone, "TX"}, std::tuple{&rxKind, c.rxTone, "RX"}}) {
        if (*kind == ToneKind::Foreign) {
            notes << QStringLiteral("channel %1: the %2 tone code %3 is not one the radio has; written as no tone")
                         .arg(n)
                         .arg(QLatin1String(direction))
                         .arg(code);
            *kind = ToneKind::None;
        }
    }
    v["rToneFreq"] = v["cToneFreq"] = QStringLiteral("88.5");
    v["DtcsCode"] = v["RxDtcsCode"] = QStringLiteral("023");
    v["CrossMode"] = QStringLiteral("Tone->Tone");
    if (txKind == ToneKind::Ctcss)
        v["rToneFreq"] = QString::fromLatin1(CtcssText(c.txTone));
    if (txKind == ToneKind::Dcs)
        v["DtcsCode"] = v["RxDtcsCode"] = DcsCodeText(c.txTone);
    if (rxKind == ToneKind::Ctcss)
        v["cToneFreq"] = QString::fromLatin1(CtcssText(c.rxTone));
    if (rxKind == ToneKind::Dcs)
        v["RxDtcsCode"] = DcsCodeText(c.rxTone);
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
    v["Power"] = c.high ? QStringLiteral("High") : QStringLiteral("Low");

    v["Squelch"] = QString::number(c.squelch);
    v["Scramble"] = c.scrambleNo != 0 ? QStringLiteral("ON") : QStringLiteral("OFF");
    v["ScrambleNo"] = c.scrambleNo != 0 ? QString::number(c.scrambleNo) : QString();
    v["LockOut"] = NameOrNumber(c.lockOut, kLockOutNames, 3);
    v["XtalShift"] = c.xtalShift ? QStringLiteral("ON") : QStringLiteral("OFF");
    v["Signaling"] = NameOrNumber(c.signalingSystem, kSignalingNames, 4);
    v["SignalingNo"] = c.signalingSystem != 0 || c.signalingNo != 0 ? QString::number(c.signalingNo + 1) : QString();

    QStringList row;
    for (const QString& column : columns)
        row << v[column];
    return row;
}

// ---- import ------------------------------------------------------------------

std::optional<int> ParseWhole(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

struct Table {
    QHash<QString, int> index;   // header name in lower case -> field position
    int width = 0;
};

class RowReader {
public:
    RowReader(const CsvRow& row, const Table& table, std::vector<ImportNote>& notes)
        : row_(row), table_(table), notes_(notes)
    {
        location_ = field(QStringLiteral("Location"));
    }

    bool has(const QString& column) const { return table_.index.contains(column.toLower()); }
    QString field(const QString& column) const
    {
        const int i = table_.index.value(column.toLower(), -1);
        return i >= 0 && i < row_.fields.size() ? row_.fields[i].trimmed() : QString();
    }
    int line() const { return row_.line; }
    const QString& location() const { return location_; }
    void setChannel(int channel) { channel_ = channel; }

    void note(ImportNote::Kind kind, const QString& text)
    {
        notes_.push_back({kind, row_.line, location_.isEmpty() ? QStringLiteral("none") : location_, channel_, text});
    }
    void skip(const QString& why) { note(ImportNote::Kind::Skipped, why + QStringLiteral(": row skipped")); }
    void changed(const QString& what) { note(ImportNote::Kind::Changed, what); }
    void unreadable(const QString& column, const QString& instead)
    {
        if (field(column).isEmpty())
            changed(QStringLiteral("no %1 given: %2").arg(column, instead));
        else
            changed(QStringLiteral("unreadable %1 '%2': %3").arg(column, field(column), instead));
    }

private:
    const CsvRow& row_;
    const Table& table_;
    std::vector<ImportNote>& notes_;
    QString location_;
    int channel_ = 0;
};

class ChannelBuilder {
public:
    ChannelBuilder(RowReader& row, const RadioData& data) : row_(row), data_(data) {}

    std::optional<Channel> build()
    {
        Channel c;
        if (!readFrequencies(c))
            return std::nullopt;
        readTones(c);
        readOptions(c);
        readRadioColumns(c);
        return c;
    }

private:
    QString limitsText() const
    {
        return QStringLiteral("%1-%2 MHz").arg(MHzText(data_.band_limits.lower), MHzText(data_.band_limits.upper));
    }

    // Band check and snapping, as the channel editor does; false when the row must be skipped.
    bool fitFrequency(uint32_t& hz, const QString& what)
    {
        if (hz < data_.band_limits.lower || hz > data_.band_limits.upper) {
            row_.skip(QStringLiteral("%1 %2 MHz is outside the band's limits %3").arg(what, MHzText(hz), limitsText()));
            return false;
        }
        const uint32_t snapped = data_.SnapFrequency(hz);
        if (snapped != hz)
            row_.changed(QStringLiteral("%1 %2 MHz snapped to %3 MHz").arg(what, MHzText(hz), MHzText(snapped)));
        hz = snapped;
        return true;
    }

    bool readFrequencies(Channel& c)
    {
        const QString rxText = row_.field(QStringLiteral("Frequency"));
        if (rxText.isEmpty()) {
            row_.skip(QStringLiteral("no Frequency"));
            return false;
        }
        const std::optional<uint32_t> rx = ReadFrequencyText(rxText);
        if (!rx) {
            row_.skip(QStringLiteral("unreadable Frequency '%1'").arg(rxText));
            return false;
        }
        const QString duplex = row_.field(QStringLiteral("Duplex")).toLower();
        int64_t tx = *rx;
        bool txIsRx = false;   // then the snapped RX, with one note for both
        if (duplex == "+" || duplex == "-" || duplex == "split") {
            const std::optional<uint32_t> offset = ReadFrequencyText(row_.field(QStringLiteral("Offset")));
            txIsRx = !offset;
            if (!offset)
                row_.unreadable(QStringLiteral("Offset"), QStringLiteral("TX = RX"));
            else if (duplex == "split")
                tx = *offset;
            else
                tx = duplex == "+" ? tx + *offset : tx - *offset;
        } else if (duplex == "off") {
            tx = 0;
        } else {
            txIsRx = true;
            if (!duplex.isEmpty())
                row_.unreadable(QStringLiteral("Duplex"), QStringLiteral("TX = RX"));
        }

        c.rx = *rx;
        if (!fitFrequency(c.rx, QStringLiteral("Frequency")))
            return false;
        if (txIsRx || duplex == "off") {
            c.tx = txIsRx ? c.rx : 0;
            return true;
        }
        if (tx <= 0 || tx > UINT32_MAX) {
            row_.skip(QStringLiteral("the TX frequency is outside the band's limits %1").arg(limitsText()));
            return false;
        }
        c.tx = uint32_t(tx);
        return fitFrequency(c.tx, QStringLiteral("TX frequency"));
    }

    uint8_t ctcss(const QString& column)
    {
        bool ok = false;
        const double hz = row_.field(column).toDouble(&ok);
        if (!ok) {
            row_.unreadable(column, QStringLiteral("no tone"));
            return 0;
        }
        for (int code = 1; code < kCtcssCount; ++code) {
            if (std::abs(QString::fromLatin1(CtcssText(code)).toDouble() - hz) < 0.05)
                return uint8_t(code);
        }
        row_.changed(QStringLiteral("%1 %2 Hz is not a tone the radio has: imported without it")
                         .arg(column, row_.field(column)));
        return 0;
    }

    uint8_t dcs(const QString& column)
    {
        static const QRegularExpression kOctal(QStringLiteral("^[0-7]{1,3}$"));
        const QString text = row_.field(column);
        if (!kOctal.match(text).hasMatch()) {
            row_.unreadable(column, QStringLiteral("no code"));
            return 0;
        }
        const int number = text.toInt();
        for (int i = 0; i < kDcsCodeCount; ++i) {
            if (DcsOctalCode(i) == number)
                return uint8_t(kDcsCodeBase + i);
        }
        row_.changed(QStringLiteral("%1 %2 is not a code the radio has: imported without it").arg(column, text));
        return 0;
    }

    void readTones(Channel& c)
    {
        const QString mode = row_.field(QStringLiteral("Tone"));
        const QString rTone = QStringLiteral("rToneFreq"), cTone = QStringLiteral("cToneFreq");
        const QString txCode = QStringLiteral("DtcsCode");
        // Files without a receive code come from tools that had one code for both directions.
        const QString rxCode =
            row_.field(QStringLiteral("RxDtcsCode")).isEmpty() ? txCode : QStringLiteral("RxDtcsCode");
        if (mode.compare("Tone", Qt::CaseInsensitive) == 0) {
            c.txTone = ctcss(rTone);
        } else if (mode.compare("TSQL", Qt::CaseInsensitive) == 0) {
            c.txTone = c.rxTone = ctcss(cTone);
        } else if (mode.compare("DTCS", Qt::CaseInsensitive) == 0) {
            c.txTone = c.rxTone = dcs(txCode);
        } else if (mode.compare("Cross", Qt::CaseInsensitive) == 0) {
            QString cross = row_.field(QStringLiteral("CrossMode"));
            if (cross.isEmpty())
                cross = QStringLiteral("Tone->Tone");
            const QStringList sides = cross.split(QStringLiteral("->"));
            auto known = [](const QString& side) { return side.isEmpty() || side == "Tone" || side == "DTCS"; };
            if (sides.size() != 2 || !known(sides[0]) || !known(sides[1]) || cross == "->") {
                row_.unreadable(QStringLiteral("CrossMode"), QStringLiteral("no tones"));
            } else {
                if (!sides[0].isEmpty())
                    c.txTone = sides[0] == "Tone" ? ctcss(rTone) : dcs(txCode);
                if (!sides[1].isEmpty())
                    c.rxTone = sides[1] == "Tone" ? ctcss(cTone) : dcs(rxCode);
            }
        } else if (!mode.isEmpty()) {
            row_.unreadable(QStringLiteral("Tone"), QStringLiteral("no tones"));
        }

        const QString polarity = row_.field(QStringLiteral("DtcsPolarity")).toUpper();
        static const QRegularExpression kPolarity(QStringLiteral("^[NR]{2}$"));
        if (kPolarity.match(polarity).hasMatch()) {
            c.txInverted = polarity[0] == 'R';
            c.rxInverted = polarity[1] == 'R';
        } else if (!polarity.isEmpty()) {
            row_.unreadable(QStringLiteral("DtcsPolarity"), QStringLiteral("NN"));
        }
    }

    void readOptions(Channel& c)
    {
        const QString mode = row_.field(QStringLiteral("Mode")).toUpper();
        if (mode == "NFM")
            c.narrow = true;
        else if (!mode.isEmpty() && mode != "FM")
            row_.changed(QStringLiteral("Mode '%1' is not one the radio has: FM (Wide)").arg(row_.field("Mode")));

        const QString skip = row_.field(QStringLiteral("Skip")).toUpper();
        if (skip == "S")
            c.scanAdd = false;
        else if (!skip.isEmpty())
            row_.changed(QStringLiteral("Skip '%1' is not one the radio has: scan ADD").arg(row_.field("Skip")));

        QString power = row_.field(QStringLiteral("Power"));
        if (power.compare("Low", Qt::CaseInsensitive) == 0) {
            c.high = false;
        } else if (!power.isEmpty() && power.compare("High", Qt::CaseInsensitive) != 0) {
            if (power.endsWith('W', Qt::CaseInsensitive))
                power.chop(1);
            bool ok = false;
            const double watts = power.toDouble(&ok);
            if (ok && watts >= 0)
                c.high = std::lround(watts * 1000) > long(kHighPowerAboveMilliwatts);
            else
                row_.unreadable(QStringLiteral("Power"), QStringLiteral("High"));
        }
    }

    // A number in 1..max, or the index of a name in the list; nullopt after a note.
    std::optional<int> choice(const QString& column, std::initializer_list<const char*> names, const QString& instead)
    {
        const QString text = row_.field(column);
        int i = 0;
        for (const char* name : names) {
            if (text.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                return i;
            ++i;
        }
        row_.unreadable(column, instead);
        return std::nullopt;
    }

    std::optional<int> number(const QString& column, int min, int max, const QString& instead)
    {
        const std::optional<int> value = ParseWhole(row_.field(column));
        if (value && *value >= min && *value <= max)
            return value;
        row_.unreadable(column, instead);
        return std::nullopt;
    }

    void readRadioColumns(Channel& c)
    {
        auto given = [&](const char* column) { return !row_.field(QLatin1String(column)).isEmpty(); };
        if (given("Squelch")) {
            if (auto v = number(QStringLiteral("Squelch"), 0, kMaxSquelch, QStringLiteral("5")))
                c.squelch = uint8_t(*v);
        }
        if (given("ScrambleNo")) {
            if (auto v = number(QStringLiteral("ScrambleNo"), 1, kMaxScrambleNo, QStringLiteral("OFF")))
                c.scrambleNo = uint8_t(*v);
        }
        if (given("Scramble")) {
            const std::optional<int> on =
                choice(QStringLiteral("Scramble"), {"OFF", "ON"}, QStringLiteral("as ScrambleNo says"));
            if (on == 0)
                c.scrambleNo = 0;
            else if (on == 1 && c.scrambleNo == 0)
                c.scrambleNo = 1;   // switching scrambling on selects scrambler 1, as the editor does
        }
        if (given("LockOut")) {
            if (auto v = choice(QStringLiteral("LockOut"), {"----", "BCLO", "BTLO"}, QStringLiteral("----")))
                c.lockOut = uint8_t(*v);
        }
        if (given("XtalShift")) {
            if (auto v = choice(QStringLiteral("XtalShift"), {"OFF", "ON"}, QStringLiteral("OFF")))
                c.xtalShift = *v == 1;
        }
        if (given("Signaling")) {
            if (auto v =
                    choice(QStringLiteral("Signaling"), {"OFF", "DTMF", "5-TONE", "2-TONE"}, QStringLiteral("OFF")))
                c.signalingSystem = uint8_t(*v);
        }
        if (given("SignalingNo")) {
            const int max = c.signalingSystem == 1 ? 8 : 16;
            if (auto v = number(QStringLiteral("SignalingNo"), 1, max, QStringLiteral("1")))
                c.signalingNo = uint8_t(*v - 1);
        }
    }

    RowReader& row_;
    const RadioData& data_;
};

// False (after a note) when the row holds values past the header's columns.
bool FitsHeader(RowReader& reader, const CsvRow& row, const Table& table)
{
    for (int i = table.width; i < row.fields.size(); ++i) {
        if (!row.fields[i].trimmed().isEmpty()) {
            reader.skip(QStringLiteral("%1 fields past the header's %2 columns hold values")
                            .arg(row.fields.size() - table.width)
                            .arg(table.width));
            return false;
        }
    }
    return true;
}

} // namespace

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

ChannelExport ExportChannelsCsv(const RadioRecord& record, ChannelColumnSet set)
{
    QStringList columns = StandardChannelColumns();
    if (set == ChannelColumnSet::StandardAndRadio)
        columns += RadioChannelColumns();
    ChannelExport result;
    std::vector<QStringList> rows{columns};
    for (int n = 1; n <= rec::kChannelCount; ++n) {
        if (record.get(rec::ch::in_use(n)) != 0)
            rows.push_back(ExportRow(record, n, columns, result.notes));
    }
    result.csv = WriteCsv(rows);
    return result;
}

QString ImportNote::describe() const
{
    if (line == 0)
        return text;
    QString where = QStringLiteral("line %1, Location %2").arg(line).arg(location);
    if (channel != 0 && location != QString::number(channel))
        where += QStringLiteral(" (channel %1)").arg(channel);
    return where + QStringLiteral(": ") + text;
}

bool ChannelImport::skippedOrChanged() const
{
    return std::any_of(notes.begin(), notes.end(),
                       [](const ImportNote& n) { return n.kind != ImportNote::Kind::Remark; });
}

Result<ChannelImport> ImportChannelsCsv(const QByteArray& csv, const RadioData& base,
                                        const ChannelImportOptions& options)
{
    Result<std::vector<CsvRow>> parsed = ParseCsv(csv);
    if (!parsed)
        return parsed.error();
    const std::vector<CsvRow>& rows = parsed.value();
    const CsvRow& header = rows.front();
    Table table;
    table.width = int(header.fields.size());
    for (int i = 0; i < table.width; ++i) {
        const QString name = header.fields[i].trimmed().toLower();
        if (!table.index.contains(name))
            table.index.insert(name, i);
    }
    if (!table.index.contains(QStringLiteral("frequency")))
        return Error{QStringLiteral("line %1: the header names no Frequency column, so this is not a channel list")
                         .arg(header.line)};

    ChannelImport result{base, {}};
    RadioRecord& record = result.data.record;
    if (options.replaceAll)
        record.fill(rec::channelOffset(1), std::size_t(rec::kChannelSize) * rec::kChannelCount, 0);
    std::vector<ImportNote>& notes = result.notes;

    // Locations first, so the rows without one fill what is still free.
    struct Pending {
        const CsvRow* row;
        std::optional<int> location;
    };
    std::vector<Pending> located, unlocated;
    bool fromZero = false;
    int rowsWithNames = 0, firstNamedLine = 0;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        RowReader reader(rows[i], table, notes);
        if (!FitsHeader(reader, rows[i], table))
            continue;
        if (!reader.field(QStringLiteral("Name")).isEmpty() || !reader.field(QStringLiteral("Comment")).isEmpty()) {
            if (rowsWithNames++ == 0)
                firstNamedLine = rows[i].line;
        }
        if (reader.location().isEmpty()) {
            unlocated.push_back({&rows[i], std::nullopt});
            continue;
        }
        const std::optional<int> location = ParseWhole(reader.location());
        if (!location) {
            reader.skip(QStringLiteral("unreadable Location"));
            continue;
        }
        fromZero = fromZero || *location == 0;
        located.push_back({&rows[i], location});
    }
    if (fromZero)
        notes.push_back({ImportNote::Kind::Remark,
                         0,
                         {},
                         0,
                         QStringLiteral("Locations start at 0: each row goes to the channel one higher")});

    std::map<int, int> lineOfChannel;
    for (const Pending& pending : located) {
        RowReader reader(*pending.row, table, notes);
        const int channel = *pending.location + (fromZero ? 1 : 0);
        if (channel < 1 || channel > rec::kChannelCount) {
            reader.skip(QStringLiteral("no channel %1 (the radio has 1..%2)").arg(channel).arg(rec::kChannelCount));
            continue;
        }
        reader.setChannel(channel);
        if (auto seen = lineOfChannel.find(channel); seen != lineOfChannel.end()) {
            reader.skip(QStringLiteral("channel %1 was already given on line %2").arg(channel).arg(seen->second));
            continue;
        }
        lineOfChannel[channel] = pending.row->line;
        if (std::optional<Channel> c = ChannelBuilder(reader, result.data).build())
            WriteChannel(record, channel, *c);
    }
    int nextFree = 1;
    for (const Pending& pending : unlocated) {
        RowReader reader(*pending.row, table, notes);
        while (nextFree <= rec::kChannelCount
               && (record.get(rec::ch::in_use(nextFree)) != 0 || lineOfChannel.contains(nextFree)))
            ++nextFree;
        if (nextFree > rec::kChannelCount) {
            reader.skip(QStringLiteral("more rows than channels, no free channel left"));
            continue;
        }
        reader.setChannel(nextFree);
        if (std::optional<Channel> c = ChannelBuilder(reader, result.data).build()) {
            WriteChannel(record, nextFree, *c);
            lineOfChannel[nextFree] = pending.row->line;
        }
    }
    if (rowsWithNames > 0)
        notes.push_back({ImportNote::Kind::Remark,
                         0,
                         {},
                         0,
                         QStringLiteral("Names and comments are not stored by this radio: dropped from %1 row(s), "
                                        "the first on line %2")
                             .arg(rowsWithNames)
                             .arg(firstNamedLine)});
    std::stable_sort(notes.begin(), notes.end(),
                     [](const ImportNote& a, const ImportNote& b) { return a.line < b.line; });
    return result;
}

} // namespace k3n
