// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/csv.h"
#include "text/app_lang.h"
#include "text/own_texts.h"
#include <QStringDecoder>
#include <array>

namespace k3n {

namespace {

constexpr QChar kDosEndOfFile(0x1A);

// Text files hold no control characters but tab, line breaks and the old
// end-of-file mark; anything else means the file is not text.
bool IsBinaryChar(QChar c)
{
    return c.unicode() < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != kDosEndOfFile;
}

int LineOfOffset(const QString& text, qsizetype offset)
{
    return int(QStringView(text).left(offset).count('\n')) + 1;
}

enum class WideText { None, Utf16Le, Utf16Be, Utf32 };

// Text of two or four bytes a character shows as zero bytes at fixed places
// among the ASCII of a header line.
WideText WideTextWithoutMark(const QByteArray& bytes)
{
    const qsizetype sample = std::min<qsizetype>(bytes.size(), 256) / 4 * 4;
    if (sample == 0)
        return WideText::None;
    std::array<int, 4> zeros{}, ascii{};
    for (qsizetype i = 0; i < sample; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        zeros[std::size_t(i % 4)] += byte == 0;
        ascii[std::size_t(i % 4)] += (byte >= 0x20 && byte < 0x7F) || byte == '\t' || byte == '\n' || byte == '\r';
    }
    const int quarter = int(sample / 4);
    auto mostly = [&](int count, int of) { return count * 4 >= of * 3; };
    if ((mostly(zeros[1] + zeros[2] + zeros[3], 3 * quarter) && mostly(ascii[0], quarter))
        || (mostly(zeros[0] + zeros[1] + zeros[2], 3 * quarter) && mostly(ascii[3], quarter)))
        return WideText::Utf32;
    if (mostly(zeros[1] + zeros[3], 2 * quarter) && mostly(ascii[0] + ascii[2], 2 * quarter))
        return WideText::Utf16Le;
    if (mostly(zeros[0] + zeros[2], 2 * quarter) && mostly(ascii[1] + ascii[3], 2 * quarter))
        return WideText::Utf16Be;
    return WideText::None;
}

// UTF-8 as it should be, or UTF-16 behind its byte-order mark; a file from an
// older tool in a single-byte code page still reads, since every value this
// program uses is ASCII.
Result<QString> DecodeText(const QByteArray& bytes, const TAppLang& lang)
{
    if (bytes.startsWith(QByteArray("\xFF\xFE\x00\x00", 4)) || bytes.startsWith(QByteArray("\x00\x00\xFE\xFF", 4)))
        return Error{Text(lang, OwnText::CsvUtf32)};
    for (auto [mark, encoding] :
         {std::pair{"\xFF\xFE", QStringDecoder::Utf16LE}, std::pair{"\xFE\xFF", QStringDecoder::Utf16BE}}) {
        if (bytes.startsWith(mark)) {
            QStringDecoder decoder(encoding);
            return QString(decoder.decode(bytes.mid(2)));
        }
    }
    switch (WideTextWithoutMark(bytes)) {
    case WideText::Utf32: return Error{Text(lang, OwnText::CsvUtf32)};
    case WideText::Utf16Le:
    case WideText::Utf16Be: return Error{Text(lang, OwnText::CsvUtf16WithoutMark)};
    case WideText::None: break;
    }
    const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(body);
    if (utf8.hasError())
        text = QString::fromLatin1(body);
    return text;
}

// A DOS end-of-file mark after the last row ends the text there.
void DropEndOfFileMark(QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && (text[end - 1].isSpace() || text[end - 1] == kDosEndOfFile))
        --end;
    if (QStringView(text).mid(end).contains(kDosEndOfFile))
        text.truncate(end);
}

// The separator the first line that holds anything uses most, a comma on a tie.
QChar SeparatorOf(const QString& text)
{
    const QChar candidates[] = {',', ';', '\t'};
    int counts[3] = {};
    bool quoted = false, seenValue = false;
    for (QChar c : text) {
        if (c == '"')
            quoted = !quoted;
        if (quoted)
            continue;
        if ((c == '\n' || c == '\r') && seenValue)
            break;
        for (int i = 0; i < 3; ++i)
            counts[i] += c == candidates[i];
        seenValue = seenValue || !c.isSpace();
    }
    int best = 0;
    for (int i = 1; i < 3; ++i)
        if (counts[i] > counts[best])
            best = i;
    return candidates[best];
}

// A spreadsheet writes a row it never filled as separators alone.
bool IsBlank(const QStringList& fields)
{
    for (const QString& field : fields) {
        if (!field.trimmed().isEmpty())
            return false;
    }
    return true;
}

Result<std::vector<CsvRow>> SplitRows(const QString& text, QChar separator, const TAppLang& lang)
{
    std::vector<CsvRow> rows;
    CsvRow row{1, {}};
    QString field;
    int line = 1;
    int quoteLine = 0;   // the line where the open quoted field started, 0 when none is open
    bool fieldWasQuoted = false;
    auto endField = [&] {
        row.fields << field;
        field.clear();
        fieldWasQuoted = false;
    };
    auto endRow = [&] {
        endField();
        if (!IsBlank(row.fields))
            rows.push_back(std::move(row));
        row = CsvRow{line, {}};
    };

    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoteLine != 0) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoteLine = 0;
                }
                continue;
            }
            if (c == '\n' || (c == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
                ++line;
            field += c;
            continue;
        }
        if (c == '"' && field.isEmpty() && !fieldWasQuoted) {
            quoteLine = line;
            fieldWasQuoted = true;
        } else if (c == separator) {
            endField();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            ++line;
            endRow();
        } else {
            field += c;
        }
    }
    if (quoteLine != 0)
        return Error{Text(lang, OwnText::CsvUnclosedQuote).arg(quoteLine)};
    if (!field.isEmpty() || !row.fields.isEmpty() || fieldWasQuoted)
        endRow();
    if (rows.empty())
        return Error{Text(lang, OwnText::CsvEmpty)};
    return rows;
}

Result<CsvTable> ReadTable(const QByteArray& bytes, const TAppLang& lang, std::optional<QChar> separator)
{
    Result<QString> decoded = DecodeText(bytes, lang);
    if (!decoded)
        return decoded.error();
    QString text = std::move(decoded).value();
    DropEndOfFileMark(text);
    if (text.trimmed().isEmpty())
        return Error{Text(lang, OwnText::CsvEmpty)};
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (IsBinaryChar(text[i]))
            return Error{Text(lang, OwnText::CsvBinary).arg(LineOfOffset(text, i))};
    }
    CsvTable table;
    table.separator = separator ? *separator : SeparatorOf(text);
    Result<std::vector<CsvRow>> rows = SplitRows(text, table.separator, lang);
    if (!rows)
        return rows.error();
    table.rows = std::move(rows).value();
    return table;
}

}   // namespace

Result<CsvTable> ReadCsvTable(const QByteArray& bytes, const TAppLang& lang)
{
    return ReadTable(bytes, lang, std::nullopt);
}

Result<std::vector<CsvRow>> ParseCsv(const QByteArray& bytes)
{
    const TAppLang english(kLangIdEnglishUs);
    Result<CsvTable> table = ReadTable(bytes, english, QChar(','));
    if (!table)
        return table.error();
    return std::move(table).value().rows;
}

QString CsvField(const QString& value)
{
    if (!value.contains(',') && !value.contains('"') && !value.contains('\n') && !value.contains('\r'))
        return value;
    QString quoted = value;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return '"' + quoted + '"';
}

QByteArray WriteCsv(const std::vector<QStringList>& rows)
{
    QString text;
    for (const QStringList& row : rows) {
        QStringList fields;
        for (const QString& value : row)
            fields << CsvField(value);
        text += fields.join(',') + QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

}   // namespace k3n
