// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Comma-separated text as RFC 4180 writes it, read as real files are: quoted
// fields with separators, quotes and line breaks inside, CRLF or LF, a UTF-8
// or UTF-16 byte-order mark, the old DOS end-of-file mark at the end, and the
// semicolons or tabs that spreadsheets write in many locales.
#include "text/error.h"
#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>
#include <vector>

namespace k3n {

class TAppLang;

struct CsvRow {
    int line = 0;   // the file's line (from 1) where the row starts
    QStringList fields;
};

struct CsvTable {
    std::vector<CsvRow> rows;   // blank lines and rows of empty fields are left out
    QChar separator = ',';   // ',', ';' or '\t'
};

// Every row, split at the separator its header line uses most: comma,
// semicolon or tab (a comma when none). Fails, naming the line in lang, on an
// empty file, on binary data, on UTF-16 without a byte-order mark or UTF-32
// (which the reader asks to save as UTF-8) and on a quoted field that is never closed.
Result<CsvTable> ReadCsvTable(const QByteArray& bytes, const TAppLang& lang);
// Comma-separated rows, failing in English: the program's own files.
Result<std::vector<CsvRow>> ParseCsv(const QByteArray& bytes);

// The field quoted when it holds a comma, a quote or a line break.
QString CsvField(const QString& value);
// UTF-8 rows ending in CRLF, without a BOM.
QByteArray WriteCsv(const std::vector<QStringList>& rows);

}   // namespace k3n
