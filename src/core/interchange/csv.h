// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Comma-separated text as RFC 4180 writes it, read as real files are: quoted
// fields with commas, quotes and line breaks inside, CRLF or LF, a UTF-8 BOM.
#include "text/error.h"
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace k3n {

struct CsvRow {
    int line = 0;   // the file's line (from 1) where the row starts
    QStringList fields;
};

// Every row; blank lines and rows of empty fields are left out. Fails, naming the line, on an empty file,
// on binary data and on a quoted field that is never closed.
Result<std::vector<CsvRow>> ParseCsv(const QByteArray& bytes);

// The field quoted when it holds a comma, a quote or a line break.
QString CsvField(const QString& value);
// UTF-8 rows ending in CRLF, without a BOM.
QByteArray WriteCsv(const std::vector<QStringList>& rows);

} // namespace k3n
