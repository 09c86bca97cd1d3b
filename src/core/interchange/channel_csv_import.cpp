// SPDX-License-Identifier: GPL-3.0-or-later
// The channel list read onto a configuration, in four steps: the file's
// table, its rows in the order they take channels, each row onto its
// channel, and the notes and counts of the whole file.
#include "interchange/channel_csv.h"
#include "interchange/channel_csv_values.h"
#include "model/channel_cells.h"
#include "model/channel_moves.h"
#include "model/channel_options.h"
#include "model/record_layout.h"
#include "model/value_codings.h"
#include "text/app_lang.h"
#include "text/own_texts.h"
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <span>

namespace k3n {

using namespace channel_list;

namespace {

// Only the named fields: the bits no column names keep what the entry holds.
void WriteChannel(RadioRecord& r, int n, const Channel& c)
{
    using namespace rec::ch;
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

// What the grid's list offers the system with the most entries.
constexpr int kMaxSignalingNo = *std::max_element(std::begin(kSignalNumberCounts), std::end(kSignalNumberCounts));
constexpr uint32_t kHighPowerAboveMilliwatts = 2000;

// "136", "410.5": MHz without the zeros a person leaves out.
QString ShortMHzText(uint32_t hz)
{
    QString text = MHzText(hz);
    while (text.endsWith('0'))
        text.chop(1);
    if (text.endsWith('.'))
        text.chop(1);
    return text;
}

std::optional<int> ParseWhole(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// Columns that say one thing together: a file without any of them keeps the channel's value.
const QStringList kTxColumns{"Duplex", "Offset"};
const QStringList kToneColumns{"Tone", "rToneFreq", "cToneFreq", "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode"};
const QString kDefaultCtcss = QStringLiteral("88.5");
constexpr int kDefaultDcs = 23;

// Every column the import reads, in lower case.
const QSet<QString>& ReadColumns()
{
    static const QSet<QString> columns = [] {
        QSet<QString> set;
        for (const QStringList& list : {QStringList{"Location", "Frequency", "Mode", "Skip", "Power"}, kTxColumns,
                                        kToneColumns, RadioChannelColumns()})
            for (const QString& column : list)
                set.insert(column.toLower());
        return set;
    }();
    return columns;
}

struct Table {
    QHash<QString, int> index;   // header name in lower case -> field position
    int width = 0;
    QChar separator = ',';
};

class RowReader {
public:
    RowReader(const CsvRow& row, const Table& table, const TAppLang& lang, std::vector<ImportNote>& notes)
        : row_(row), table_(table), lang_(lang), notes_(notes)
    {
        location_ = field(QStringLiteral("Location"));
    }

    bool has(const QString& column) const { return table_.index.contains(column.toLower()); }
    bool hasAny(const QStringList& columns) const
    {
        return std::any_of(columns.begin(), columns.end(), [this](const QString& c) { return has(c); });
    }
    QString field(const QString& column) const
    {
        const int i = table_.index.value(column.toLower(), -1);
        return i >= 0 && i < row_.fields.size() ? row_.fields[i].trimmed() : QString();
    }
    // A number as written; where semicolons or tabs separate the fields, a decimal comma too.
    QString decimal(const QString& column) const
    {
        QString text = field(column);
        if (table_.separator != ',')
            text.replace(',', '.');
        return text;
    }
    int line() const { return row_.line; }
    const QString& location() const { return location_; }
    void setChannel(int channel) { channel_ = channel; }
    QString text(OwnText id) const { return Text(lang_, id); }

    void note(ImportNote::Kind kind, const QString& what)
    {
        notes_.push_back(
            {kind, row_.line, location_.isEmpty() ? text(OwnText::ImportNoLocation) : location_, channel_, what});
    }
    void skip(const QString& why) { note(ImportNote::Kind::Skipped, text(OwnText::ImportRowSkipped).arg(why)); }
    void changed(const QString& what) { note(ImportNote::Kind::Changed, what); }
    void remark(const QString& what) { note(ImportNote::Kind::Remark, what); }
    void unreadable(const QString& column, const QString& instead)
    {
        if (field(column).isEmpty())
            changed(text(OwnText::ImportNoValueGiven).arg(column, instead));
        else
            changed(text(OwnText::ImportUnreadableValue).arg(column, field(column), instead));
    }

private:
    const CsvRow& row_;
    const Table& table_;
    const TAppLang& lang_;
    std::vector<ImportNote>& notes_;
    QString location_;
    int channel_ = 0;
};

// True when a digit other than 0 follows the sixth decimal.
bool HasDigitsPastSixthDecimal(const QString& text)
{
    const qsizetype point = text.indexOf('.');
    if (point < 0)
        return false;
    const QStringView past = QStringView(text).mid(point + 1 + 6);
    return std::any_of(past.begin(), past.end(), [](QChar c) { return c != '0'; });
}

class ChannelBuilder {
public:
    ChannelBuilder(RowReader& row, const RadioData& data) : row_(row), data_(data) {}

    // The channel as the row leaves it, from its value before; nullopt when the row is skipped.
    std::optional<Channel> build(Channel c)
    {
        if (!readFrequencies(c))
            return std::nullopt;
        if (row_.hasAny(kToneColumns))
            readTones(c);
        readModeSkipAndPower(c);
        readRadioColumns(c);
        return c;
    }

    // The row was skipped for frequencies outside the band: these.
    const std::vector<uint32_t>& outsideBand() const { return outsideBand_; }
    bool skippedForBand() const { return skippedForBand_; }

private:
    void skipForBand(const QString& why, std::initializer_list<int64_t> frequencies)
    {
        row_.skip(why);
        skippedForBand_ = true;
        for (int64_t hz : frequencies)
            if (hz > 0 && hz <= UINT32_MAX)
                outsideBand_.push_back(uint32_t(hz));
    }

    // A frequency in MHz; digits past the sixth decimal are cut, with a note.
    std::optional<uint32_t> frequency(const QString& column)
    {
        const QString text = row_.decimal(column);
        const std::optional<uint32_t> hz = ReadFrequencyText(text);
        if (hz && HasDigitsPastSixthDecimal(text))
            row_.changed(row_.text(OwnText::ImportDigitsCut).arg(column, row_.field(column), MHzText(*hz)));
        return hz;
    }

    bool inBand(uint32_t hz) const { return hz >= data_.band_limits.lower && hz <= data_.band_limits.upper; }

    // Snapping to the raster, as the channel editor does.
    void snap(uint32_t& hz, const QString& what)
    {
        const uint32_t snapped = data_.SnapFrequency(hz);
        if (snapped != hz)
            row_.changed(row_.text(OwnText::ImportSnapped).arg(what, MHzText(hz), MHzText(snapped)));
        hz = snapped;
    }

    bool readFrequencies(Channel& c)
    {
        const QString rxText = row_.field(QStringLiteral("Frequency"));
        if (rxText.isEmpty()) {
            row_.skip(row_.text(OwnText::ImportNoFrequency));
            return false;
        }
        const std::optional<uint32_t> rx = frequency(QStringLiteral("Frequency"));
        if (!rx) {
            row_.skip(row_.text(OwnText::ImportUnreadableFrequency).arg(rxText));
            return false;
        }
        const QString duplex = row_.field(QStringLiteral("Duplex")).toLower();
        int64_t tx = *rx;
        bool txIsRx = false;   // then the snapped RX, with one note for both
        if (duplex == "+" || duplex == "-" || duplex == "split") {
            const std::optional<uint32_t> offset = frequency(QStringLiteral("Offset"));
            txIsRx = !offset;
            if (!offset)
                row_.unreadable(QStringLiteral("Offset"), row_.text(OwnText::ImportInsteadTxIsRx));
            else if (duplex == "split")
                tx = *offset;
            else
                tx = duplex == "+" ? tx + *offset : tx - *offset;
        } else if (duplex == "off") {
            tx = 0;
        } else {
            txIsRx = true;
            if (!duplex.isEmpty())
                row_.unreadable(QStringLiteral("Duplex"), row_.text(OwnText::ImportInsteadTxIsRx));
            const QString offset = row_.field(QStringLiteral("Offset"));
            if (duplex.isEmpty() && !offset.isEmpty()
                && ReadFrequencyText(row_.decimal(QStringLiteral("Offset"))) != 0u)
                row_.remark(row_.text(OwnText::ImportOffsetUnused).arg(offset));
        }

        if (!inBand(*rx)) {
            skipForBand(row_.text(OwnText::ImportOutsideBand)
                            .arg(QStringLiteral("Frequency"), MHzText(*rx), LimitsText(data_.band_limits)),
                        {*rx, txIsRx ? 0 : tx});
            return false;
        }
        c.rx = *rx;
        snap(c.rx, QStringLiteral("Frequency"));
        if (txIsRx || duplex == "off") {
            c.tx = txIsRx ? c.rx : 0;
            return true;
        }
        if (tx <= 0 || tx > UINT32_MAX || !inBand(uint32_t(tx))) {
            const QString why = tx <= 0 || tx > UINT32_MAX
                ? row_.text(OwnText::ImportTxOutsideBand).arg(LimitsText(data_.band_limits))
                : row_.text(OwnText::ImportOutsideBand)
                      .arg(row_.text(OwnText::ImportTxFrequency), MHzText(uint32_t(tx)), LimitsText(data_.band_limits));
            skipForBand(why, {*rx, tx});
            return false;
        }
        c.tx = uint32_t(tx);
        snap(c.tx, row_.text(OwnText::ImportTxFrequency));
        return true;
    }

    uint8_t ctcss(const QString& column)
    {
        bool ok = false;
        const double hz = row_.decimal(column).toDouble(&ok);
        if (!ok) {
            row_.unreadable(column, row_.text(OwnText::ImportInsteadNoTone));
            return 0;
        }
        for (int code = 1; code < kCtcssCount; ++code) {
            const double offered = QString::fromLatin1(CtcssText(code)).toDouble();
            if (std::abs(offered - hz) > 0.05 + 1e-9)
                continue;
            if (std::abs(offered - hz) > 1e-9)
                row_.changed(row_.text(OwnText::ImportToneTaken)
                                 .arg(column, row_.field(column), QString::fromLatin1(CtcssText(code))));
            return uint8_t(code);
        }
        row_.changed(row_.text(OwnText::ImportToneNotOffered).arg(column, row_.field(column)));
        return 0;
    }

    uint8_t dcs(const QString& column)
    {
        static const QRegularExpression kOctal(QStringLiteral("^[0-7]{1,3}$"));
        const QString text = row_.field(column);
        if (!kOctal.match(text).hasMatch()) {
            row_.unreadable(column, row_.text(OwnText::ImportInsteadNoCode));
            return 0;
        }
        const int number = text.toInt();
        for (int i = 0; i < kDcsCodeCount; ++i) {
            if (DcsOctalCode(i) == number)
                return uint8_t(kDcsCodeBase + i);
        }
        row_.changed(row_.text(OwnText::ImportCodeNotOffered).arg(column, text));
        return 0;
    }

    // A tone value the row's mode does not read, unless it is the format's
    // default or the value the mode does read.
    void remarkUnused(const QString& mode, const QStringList& used)
    {
        const QString tones[] = {QStringLiteral("rToneFreq"), QStringLiteral("cToneFreq")};
        const QString codes[] = {QStringLiteral("DtcsCode"), QStringLiteral("RxDtcsCode")};
        auto number = [this](const QString& column) {
            bool ok = false;
            const double value = row_.decimal(column).toDouble(&ok);
            return ok ? std::optional<double>(value) : std::nullopt;
        };
        for (const auto& kind : {std::span<const QString>(tones), std::span<const QString>(codes)}) {
            const std::optional<double> fallback =
                kind.data() == tones ? kDefaultCtcss.toDouble() : double(kDefaultDcs);
            for (const QString& column : kind) {
                const QString text = row_.field(column);
                if (text.isEmpty() || used.contains(column))
                    continue;
                const std::optional<double> value = number(column);
                if (value == fallback)
                    continue;
                const bool sameAsUsed = std::any_of(kind.begin(), kind.end(), [&](const QString& other) {
                    return used.contains(other) && number(other) == value && value.has_value();
                });
                if (!sameAsUsed)
                    row_.remark(row_.text(OwnText::ImportToneValueUnused).arg(column, text, mode));
            }
        }
    }

    void readTones(Channel& c)
    {
        c.txTone = c.rxTone = 0;
        c.txInverted = c.rxInverted = false;
        const QString mode = row_.field(QStringLiteral("Tone"));
        const QString rTone = QStringLiteral("rToneFreq"), cTone = QStringLiteral("cToneFreq");
        const QString txCode = QStringLiteral("DtcsCode");
        // Files without a receive code come from tools that had one code for both directions.
        const QString rxCode =
            row_.field(QStringLiteral("RxDtcsCode")).isEmpty() ? txCode : QStringLiteral("RxDtcsCode");
        if (mode.compare("Tone", Qt::CaseInsensitive) == 0) {
            c.txTone = ctcss(rTone);
            remarkUnused(mode, {rTone});
        } else if (mode.compare("TSQL", Qt::CaseInsensitive) == 0) {
            c.txTone = c.rxTone = ctcss(cTone);
            remarkUnused(mode, {cTone});
        } else if (mode.compare("DTCS", Qt::CaseInsensitive) == 0) {
            c.txTone = c.rxTone = dcs(txCode);
            remarkUnused(mode, {txCode});
        } else if (mode.compare("Cross", Qt::CaseInsensitive) == 0) {
            QString cross = row_.field(QStringLiteral("CrossMode"));
            if (cross.isEmpty())
                cross = QStringLiteral("Tone->Tone");
            const QStringList sides = cross.split(QStringLiteral("->"));
            auto known = [](const QString& side) {
                return side.isEmpty() || side.compare("Tone", Qt::CaseInsensitive) == 0
                    || side.compare("DTCS", Qt::CaseInsensitive) == 0;
            };
            if (sides.size() != 2 || !known(sides[0]) || !known(sides[1]) || cross == "->") {
                row_.unreadable(QStringLiteral("CrossMode"), row_.text(OwnText::ImportInsteadNoTones));
            } else {
                auto isTone = [](const QString& side) { return side.compare("Tone", Qt::CaseInsensitive) == 0; };
                QStringList used;
                if (!sides[0].isEmpty()) {
                    used << (isTone(sides[0]) ? rTone : txCode);
                    c.txTone = isTone(sides[0]) ? ctcss(rTone) : dcs(txCode);
                }
                if (!sides[1].isEmpty()) {
                    used << (isTone(sides[1]) ? cTone : rxCode);
                    c.rxTone = isTone(sides[1]) ? ctcss(cTone) : dcs(rxCode);
                }
                remarkUnused(mode + ' ' + cross, used);
            }
        } else if (!mode.isEmpty()) {
            row_.unreadable(QStringLiteral("Tone"), row_.text(OwnText::ImportInsteadNoTones));
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

    void readModeSkipAndPower(Channel& c)
    {
        if (row_.has(QStringLiteral("Mode"))) {
            const QString mode = row_.field(QStringLiteral("Mode")).toUpper();
            c.narrow = mode == "NFM";
            if (!mode.isEmpty() && mode != "FM" && mode != "NFM")
                row_.changed(row_.text(OwnText::ImportModeNotOffered).arg(row_.field("Mode")));
        }
        if (row_.has(QStringLiteral("Skip"))) {
            const QString skip = row_.field(QStringLiteral("Skip")).toUpper();
            c.scanAdd = skip != "S";
            if (!skip.isEmpty() && skip != "S")
                row_.changed(row_.text(OwnText::ImportSkipNotOffered).arg(row_.field("Skip")));
        }
        if (row_.has(QStringLiteral("Power")))
            readPower(c);
    }

    void readPower(Channel& c)
    {
        const QString given = row_.field(QStringLiteral("Power"));
        const std::span<const char* const> names = OptionNames("tx_power");
        const QLatin1String low(names[0]), high(names[1]);
        c.high = given.compare(low, Qt::CaseInsensitive) != 0;
        if (given.isEmpty() || given.compare(low, Qt::CaseInsensitive) == 0
            || given.compare(high, Qt::CaseInsensitive) == 0)
            return;
        QString watts = row_.decimal(QStringLiteral("Power"));
        if (watts.endsWith('W', Qt::CaseInsensitive))
            watts.chop(1);
        bool ok = false;
        const double value = watts.trimmed().toDouble(&ok);
        if (ok && value >= 0) {
            c.high = std::lround(value * 1000) > long(kHighPowerAboveMilliwatts);
            row_.changed(row_.text(OwnText::ImportWattsTaken).arg(given, QString::fromLatin1(names[c.high ? 1 : 0])));
        } else {
            row_.unreadable(QStringLiteral("Power"), QString::fromLatin1(names[1]));
        }
    }

    // The index of a name in the list (any case); nullopt when it is none of them.
    std::optional<int> choice(const QString& column, std::span<const char* const> names)
    {
        const QString text = row_.field(column);
        int i = 0;
        for (const char* name : names) {
            if (text.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                return i;
            ++i;
        }
        return std::nullopt;
    }

    std::optional<int> number(const QString& column, int min, int max)
    {
        const std::optional<int> value = ParseWhole(row_.field(column));
        return value && *value >= min && *value <= max ? value : std::nullopt;
    }

    // The radio's own columns, each on its own: an empty or unreadable cell
    // keeps the channel's value, and the note says which.
    void readRadioColumns(Channel& c)
    {
        auto given = [&](const char* column) { return !row_.field(QLatin1String(column)).isEmpty(); };
        const QString squelch = QStringLiteral("Squelch"), lockOut = QStringLiteral("LockOut");
        const QString xtal = QStringLiteral("XtalShift");
        if (given("Squelch")) {
            if (auto v = ParseWhole(row_.field(squelch)); v && Offers("squelch", *v))
                c.squelch = uint8_t(*v);
            else
                row_.unreadable(squelch, QString::number(c.squelch));
        }
        readScrambling(c);
        if (given("LockOut")) {
            if (auto v = choice(lockOut, OptionNames("busy_lockout")))
                c.lockOut = uint8_t(*v);
            else
                row_.unreadable(lockOut, NameOrNumber(c.lockOut, OptionNames("busy_lockout")));
        }
        if (given("XtalShift")) {
            if (auto v = choice(xtal, OptionNames("xtal_shift")))
                c.xtalShift = *v == 1;
            else
                row_.unreadable(xtal, NameOrNumber(c.xtalShift, OptionNames("xtal_shift")));
        }
        readSignaling(c);
    }

    // Scramble and ScrambleNo say one thing between them; a note names what is stored.
    void readScrambling(Channel& c)
    {
        const QString onColumn = QStringLiteral("Scramble"), numberColumn = QStringLiteral("ScrambleNo");
        const bool onGiven = !row_.field(onColumn).isEmpty(), numberGiven = !row_.field(numberColumn).isEmpty();
        std::optional<int> on;
        if (onGiven)
            on = choice(onColumn, kOffOnNames);
        const std::optional<int> scrambler = numberGiven ? number(numberColumn, 1, kMaxScrambleNo) : std::nullopt;
        if (on == 0) {
            c.scrambleNo = 0;
            if (scrambler)
                row_.changed(row_.text(OwnText::ImportScrambleNoDropped).arg(*scrambler));
        } else if (scrambler) {
            c.scrambleNo = uint8_t(*scrambler);
        } else if (on == 1 && c.scrambleNo == 0) {
            c.scrambleNo = 1;   // switching scrambling on selects scrambler 1, as the editor does
        }
        const QString stored = c.scrambleNo == 0 ? QStringLiteral("OFF") : QString::number(c.scrambleNo);
        if (onGiven && !on)
            row_.unreadable(onColumn, stored);
        if (numberGiven && !scrambler)
            row_.unreadable(numberColumn, stored);
    }

    void readSignaling(Channel& c)
    {
        const QString systemColumn = QStringLiteral("Signaling"), numberColumn = QStringLiteral("SignalingNo");
        if (!row_.field(systemColumn).isEmpty()) {
            const std::span<const char* const> names = OptionNames("signaling_system");
            const std::optional<int> system = choice(systemColumn, names);
            if (!system) {
                row_.unreadable(systemColumn, NameOrNumber(c.signalingSystem, names));
            } else if (*system != c.signalingSystem) {
                c.signalingSystem = uint8_t(*system);
                c.signalingNo = 0;   // a new system starts from its first entry, as the editor does
            }
        }
        if (row_.field(numberColumn).isEmpty())
            return;
        const int offered = SignalNumberCount(c.signalingSystem);
        const std::optional<int> entry = number(numberColumn, 1, offered > 0 ? offered : kMaxSignalingNo);
        if (!entry) {
            row_.unreadable(numberColumn, QString::number(c.signalingNo + 1));
            return;
        }
        c.signalingNo = uint8_t(*entry - 1);
        if (c.signalingSystem == 0)
            row_.changed(row_.text(OwnText::ImportSignalingNoWithoutSystem).arg(*entry));
    }

    RowReader& row_;
    const RadioData& data_;
    std::vector<uint32_t> outsideBand_;
    bool skippedForBand_ = false;
};

// False (after a note) when the row holds values past the header's columns.
bool FitsHeader(RowReader& reader, const CsvRow& row, const Table& table)
{
    for (int i = table.width; i < row.fields.size(); ++i) {
        if (!row.fields[i].trimmed().isEmpty()) {
            reader.skip(
                reader.text(OwnText::ImportFieldsPastHeader).arg(row.fields.size() - table.width).arg(table.width));
            return false;
        }
    }
    return true;
}

// The columns the import does not read (other programs' names, comments,
// steps, a column given twice) that hold a value in some row, named once.
std::optional<ImportNote> IgnoredColumns(const std::vector<CsvRow>& rows, const Table& table, const TAppLang& lang)
{
    const CsvRow& header = rows.front();
    std::vector<int> ignored;
    for (int i = 0; i < table.width; ++i) {
        const QString name = header.fields[i].trimmed().toLower();
        if (!ReadColumns().contains(name) || table.index.value(name) != i)
            ignored.push_back(i);
    }
    QStringList named;
    int rowsWithValues = 0, firstLine = 0;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        bool any = false;
        for (int i : ignored) {
            if (i < rows[r].fields.size() && !rows[r].fields[i].trimmed().isEmpty()) {
                any = true;
                const QString name = header.fields[i].trimmed();
                if (!named.contains(name))
                    named << name;
            }
        }
        if (any && rowsWithValues++ == 0)
            firstLine = rows[r].line;
    }
    if (rowsWithValues == 0)
        return std::nullopt;
    // In the header's order, as the file shows them.
    QStringList ordered;
    for (int i : ignored)
        if (const QString name = header.fields[i].trimmed(); named.contains(name) && !ordered.contains(name))
            ordered << (name.isEmpty() ? QStringLiteral("#%1").arg(i + 1) : name);
    return ImportNote{ImportNote::Kind::Remark,
                      0,
                      {},
                      0,
                      Text(lang, OwnText::ImportColumnsIgnored)
                          .arg(ordered.join(QStringLiteral(", ")))
                          .arg(rowsWithValues)
                          .arg(firstLine)};
}

// The first band whose limits hold every frequency.
std::optional<int> BandHolding(const std::vector<uint32_t>& frequencies)
{
    if (frequencies.empty())
        return std::nullopt;
    for (int band = 0; band < kBandCount; ++band) {
        const BandLimits limits = BandLimitsOf(band);
        if (std::all_of(frequencies.begin(), frequencies.end(),
                        [&](uint32_t hz) { return hz >= limits.lower && hz <= limits.upper; }))
            return band;
    }
    return std::nullopt;
}

// ---- the four steps of an import --------------------------------------------

struct ChannelList {
    std::vector<CsvRow> rows;   // the header first
    Table table;
};

// The file's rows and its header's columns; fails when the file is no channel list.
Result<ChannelList> ReadChannelList(const QByteArray& csv, const TAppLang& lang)
{
    Result<CsvTable> parsed = ReadCsvTable(csv, lang);
    if (!parsed)
        return parsed.error();
    CsvTable csvTable = std::move(parsed).value();
    ChannelList list{std::move(csvTable.rows), {}};
    const CsvRow& header = list.rows.front();
    Table& table = list.table;
    table.width = int(header.fields.size());
    table.separator = csvTable.separator;
    for (int i = 0; i < table.width; ++i) {
        const QString name = header.fields[i].trimmed().toLower();
        if (!table.index.contains(name))
            table.index.insert(name, i);
    }
    if (!table.index.contains(QStringLiteral("frequency")))
        return Error{Text(lang, OwnText::ImportNoFrequencyColumn).arg(header.line)};
    return list;
}

struct PendingRow {
    const CsvRow* row;
    std::optional<int> location;
};

struct RowsByLocation {
    std::vector<PendingRow> located, unlocated;
    bool fromZero = false;   // a Location 0: the file counts from 0
};

// Locations first, so the rows without one fill what is still free; rows
// that cannot be placed at all are skipped with a note.
RowsByLocation SortRowsByLocation(const ChannelList& list, const TAppLang& lang, std::vector<ImportNote>& notes)
{
    RowsByLocation sorted;
    for (std::size_t i = 1; i < list.rows.size(); ++i) {
        RowReader reader(list.rows[i], list.table, lang, notes);
        if (!FitsHeader(reader, list.rows[i], list.table))
            continue;
        if (reader.location().isEmpty()) {
            sorted.unlocated.push_back({&list.rows[i], std::nullopt});
            continue;
        }
        const std::optional<int> location = ParseWhole(reader.location());
        if (!location) {
            reader.skip(reader.text(OwnText::ImportUnreadableLocation));
            continue;
        }
        sorted.fromZero = sorted.fromZero || *location == 0;
        sorted.located.push_back({&list.rows[i], location});
    }
    if (sorted.fromZero)
        notes.push_back({ImportNote::Kind::Remark, 0, {}, 0, Text(lang, OwnText::ImportLocationsFromZero)});
    return sorted;
}

struct Placement {
    std::set<int> importedLines;
    int skippedForBand = 0;
    std::vector<uint32_t> outsideBand;   // the frequencies of those rows
};

// Each row onto its channel: the located ones onto theirs, the others onto
// the channels still free.
Placement PlaceRows(const RowsByLocation& rows, const Table& table, const TAppLang& lang, ChannelImport& result)
{
    RadioRecord& record = result.data.record;
    std::vector<ImportNote>& notes = result.notes;
    Placement placement;
    std::map<int, int> lineOfChannel;
    // The row onto channel n: from the channel in use, or from a new channel as the grid starts it.
    auto importRow = [&](RowReader& reader, int channel) {
        ChannelBuilder builder(reader, result.data);
        Channel start;
        if (ChannelInUse(record, channel)) {
            start = ReadChannel(record, channel);
        } else {
            RadioRecord fresh;
            StartChannel(fresh, channel, 0);
            start = ReadChannel(fresh, channel);
        }
        const std::optional<Channel> built = builder.build(start);
        if (!built) {
            placement.skippedForBand += builder.skippedForBand();
            placement.outsideBand.insert(placement.outsideBand.end(), builder.outsideBand().begin(),
                                         builder.outsideBand().end());
            return false;
        }
        if (!ChannelInUse(record, channel))
            record.fill(rec::channelOffset(channel), rec::kChannelSize, 0);   // an empty slot holds nothing
        WriteChannel(record, channel, *built);
        placement.importedLines.insert(reader.line());
        return true;
    };
    for (const PendingRow& pending : rows.located) {
        RowReader reader(*pending.row, table, lang, notes);
        const int channel = *pending.location + (rows.fromZero ? 1 : 0);
        if (channel < 1 || channel > rec::kChannelCount) {
            reader.skip(reader.text(OwnText::ImportNoSuchChannel).arg(channel).arg(rec::kChannelCount));
            continue;
        }
        reader.setChannel(channel);
        if (auto seen = lineOfChannel.find(channel); seen != lineOfChannel.end()) {
            reader.skip(reader.text(OwnText::ImportChannelGivenTwice).arg(channel).arg(seen->second));
            continue;
        }
        lineOfChannel[channel] = pending.row->line;
        importRow(reader, channel);
    }
    int nextFree = 1;
    for (const PendingRow& pending : rows.unlocated) {
        RowReader reader(*pending.row, table, lang, notes);
        while (nextFree <= rec::kChannelCount && (ChannelInUse(record, nextFree) || lineOfChannel.contains(nextFree)))
            ++nextFree;
        if (nextFree > rec::kChannelCount) {
            reader.skip(reader.text(OwnText::ImportNoFreeChannel));
            continue;
        }
        reader.setChannel(nextFree);
        if (importRow(reader, nextFree))
            lineOfChannel[nextFree] = pending.row->line;
    }
    return placement;
}

// The notes about the whole file, every note in file order, the counts and the summary line.
void SumUp(const ChannelList& list, const RadioData& base, const Placement& placement, const TAppLang& lang,
           ChannelImport& result)
{
    std::vector<ImportNote>& notes = result.notes;
    if (std::optional<ImportNote> ignored = IgnoredColumns(list.rows, list.table, lang))
        notes.push_back(*ignored);
    for (const ReferenceNote& reference : EmptiedReferences(base.record, result.data.record))
        notes.push_back({ImportNote::Kind::Remark, 0, {}, 0, reference.describe(lang)});
    std::stable_sort(notes.begin(), notes.end(),
                     [](const ImportNote& a, const ImportNote& b) { return a.line < b.line; });

    ImportCounts& counts = result.counts;
    counts.read = int(list.rows.size()) - 1;
    counts.imported = int(placement.importedLines.size());
    counts.skipped = counts.read - counts.imported;
    std::set<int> changedLines;
    for (const ImportNote& note : notes)
        if (note.kind == ImportNote::Kind::Changed && placement.importedLines.contains(note.line))
            changedLines.insert(note.line);
    counts.changed = int(changedLines.size());
    if (counts.imported > 0) {
        result.summary = Text(lang, OwnText::ImportSummary)
                             .arg(counts.read)
                             .arg(counts.imported)
                             .arg(counts.changed)
                             .arg(counts.skipped);
        return;
    }
    QString why = Text(lang, OwnText::ImportReasonAllSkipped);
    if (counts.read == 0) {
        why = Text(lang, OwnText::ImportReasonNoRows);
    } else if (placement.skippedForBand == counts.read) {
        const BandLimits& limits = base.band_limits;
        why = Text(lang, OwnText::ImportReasonAllOutsideBand)
                  .arg(QStringLiteral("%1\u2013%2 MHz").arg(ShortMHzText(limits.lower), ShortMHzText(limits.upper)));
        result.fittingBand = BandHolding(placement.outsideBand);
    }
    result.summary = Text(lang, OwnText::ImportNothingImported).arg(counts.read).arg(why);
}

}   // namespace

QString ImportNote::describe() const
{
    return describe(EnglishLanguage());
}

QString ImportNote::describe(const TAppLang& lang) const
{
    if (line == 0)
        return text;
    if (channel != 0 && location != QString::number(channel))
        return Text(lang, OwnText::ImportNoteLineChannel)
            .arg(QString::number(line), location, QString::number(channel), text);
    return Text(lang, OwnText::ImportNoteLine).arg(QString::number(line), location, text);
}

bool ChannelImport::skippedOrChanged() const
{
    return std::any_of(notes.begin(), notes.end(),
                       [](const ImportNote& n) { return n.kind != ImportNote::Kind::Remark; });
}

Result<ChannelImport> ImportChannelsCsv(const QByteArray& csv, const RadioData& base,
                                        const ChannelImportOptions& options)
{
    const TAppLang& lang = options.language ? *options.language : EnglishLanguage();
    const Result<ChannelList> list = ReadChannelList(csv, lang);
    if (!list)
        return list.error();
    ChannelImport result{base, {}, {}, {}, {}};
    if (options.replaceAll)
        result.data.record.fill(rec::channelOffset(1), std::size_t(rec::kChannelSize) * rec::kChannelCount, 0);
    const RowsByLocation rows = SortRowsByLocation(list.value(), lang, result.notes);
    const Placement placement = PlaceRows(rows, list.value().table, lang, result);
    SumUp(list.value(), base, placement, lang, result);
    return result;
}

bool IsChannelList(const QString& path, const QByteArray& bytes)
{
    if (QFileInfo(path).suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0)
        return true;
    if (bytes.contains('\0'))   // a configuration's bytes, not text
        return false;
    const Result<CsvTable> table = ReadCsvTable(bytes, EnglishLanguage());
    if (!table)
        return false;
    const QStringList& header = table.value().rows.front().fields;
    return std::any_of(header.begin(), header.end(), [](const QString& name) {
        return name.trimmed().compare(QLatin1String("frequency"), Qt::CaseInsensitive) == 0;
    });
}

}   // namespace k3n
