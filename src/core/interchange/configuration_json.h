// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The whole configuration as JSON, both ways: every field of the record
// (reserved bytes, the unused channel slot and digits past a code's count
// included) as numbers, with texts for a reader beside them. The numbers
// alone give back the record byte for byte; on the way in a text that says
// otherwise than its number is reported.
#include "model/radio_record.h"
#include "text/error.h"
#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace k3n {

inline constexpr const char* kConfigurationJsonFormat = "k3n-configuration";
inline constexpr int kConfigurationJsonVersion = 1;

QJsonObject ConfigurationToJson(const RadioRecord& record);
QByteArray ConfigurationJsonText(const RadioRecord& record);   // indented, ends with a line break

struct JsonImage {
    RadioRecord record;
    // Each text key that says otherwise than its field's number, named by its
    // path; the number is what the record takes.
    QStringList contradictions;
};

// Reads the numeric keys onto the base: a key that is missing keeps the base's
// value, an unknown key or a value out of its range is an error naming it, and
// a file that is no JSON an error naming its line. A text key only has to agree
// with its number (in any case, or as the same number).
Result<JsonImage> ConfigurationFromJson(const QByteArray& json, const RadioRecord& base);

// Whether a file is JSON rather than CSV or a .fse file: by the name's suffix
// (.json), otherwise by text (no zero byte) that starts like a JSON object.
bool IsJsonFile(const QString& path, const QByteArray& bytes);

}   // namespace k3n
