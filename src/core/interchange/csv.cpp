// SPDX-License-Identifier: GPL-3.0-or-later
#include "interchange/csv.h"
#include <QStringDecoder>

namespace k3n {

namespace {

// Text files hold no control characters but tab, line breaks and the old
// end-of-file mark; anything else means the file is not text.
bool IsBinaryByte(unsigned char c)
{
    return c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != 0x1A;
}

int LineOfOffset(const QByteArray& bytes, qsizetype offset)
{
    return int(bytes.left(offset).count('\n')) + 1;
}

// UTF-8 as it should be; a file from an older tool in a single-byte code page
// still reads, since every value this program uses is ASCII.
QString DecodeText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    return text;
}

// A spreadsheet writes a row it never filled as commas alone.
bool IsBlank(const QStringList& fields)
{
    for (const QString& field : fields) {
        if (!field.trimmed().isEmpty())
            return false;
    }
    return true;
}

} // namespace

Result<std::vector<CsvRow>> ParseCsv(const QByteArray& input)
{
    QByteArray bytes = input;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    if (bytes.trimmed().isEmpty())
        return Error{QStringLiteral("the file is empty")};
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (IsBinaryByte(static_cast<unsigned char>(bytes[i])))
            return Error{QStringLiteral("line %1: binary data, not a CSV text file").arg(LineOfOffset(bytes, i))};
    }

    const QString text = DecodeText(bytes);
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
        } else if (c == ',') {
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
        return Error{QStringLiteral("line %1: a quoted field starts here and is never closed").arg(quoteLine)};
    if (!field.isEmpty() || !row.fields.isEmpty() || fieldWasQuoted)
        endRow();
    if (rows.empty())
        return Error{QStringLiteral("the file is empty")};
    return rows;
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

} // namespace k3n
