// SPDX-License-Identifier: GPL-3.0-or-later
#include "interchange/configuration_json.h"
#include "model/digit_code.h"
#include "model/record_fields.h"
#include "text/app_lang.h"
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <map>

namespace k3n {

namespace {

const QString kFormatKey = QStringLiteral("format");
const QString kVersionKey = QStringLiteral("format_version");
const QString kTextSuffix = QStringLiteral("_text");
const QString kBitsSuffix = QStringLiteral("_bits");
const QString kCountSuffix = QStringLiteral("_count");
const QString kNibblesSuffix = QStringLiteral("_nibbles");

// What a key of the JSON holds for its field.
enum class Part { Number, Text, DoubleBits, DigitCount, DigitNibbles, Bytes };

struct KeyRef {
    int field;
    Part part;
};

QString ScopeOf(const RecordField& field)
{
    QString scope = QString::fromLatin1(field.section);
    if (field.group)
        scope += '/' + QString::fromLatin1(field.group);
    if (field.index >= 0)
        scope += '/' + QString::number(field.index);
    return scope;
}

// The keys of one field, each with what it holds.
std::vector<std::pair<QString, Part>> KeysOf(const RecordField& field)
{
    switch (field.kind) {
    case FieldKind::DoubleBits:
        return {{field.key + kBitsSuffix, Part::DoubleBits}, {field.key + kTextSuffix, Part::Text}};
    case FieldKind::Digits:
        return {{field.key + kCountSuffix, Part::DigitCount},
                {field.key + kNibblesSuffix, Part::DigitNibbles},
                {field.key + kTextSuffix, Part::Text}};
    case FieldKind::Bytes: return {{field.key, Part::Bytes}};
    default:
        if (field.style == ValueStyle::Number)
            return {{field.key, Part::Number}};
        return {{field.key, Part::Number}, {field.key + kTextSuffix, Part::Text}};
    }
}

// Every key the image can hold, by its path ("channels/12/rx_freq"), and the
// names of the sections and their arrays.
struct KeyIndex {
    QHash<QString, KeyRef> keys;
    QHash<QString, int> arrays;   // entries of each array: "channels" 129, "dtmf/encode" 10
    QSet<QString> sections;
};

const KeyIndex& Index()
{
    static const KeyIndex index = [] {
        KeyIndex built;
        const std::vector<RecordField>& fields = RecordFields();
        for (int i = 0; i < int(fields.size()); ++i) {
            const RecordField& field = fields[std::size_t(i)];
            const QString scope = ScopeOf(field);
            for (const auto& [key, part] : KeysOf(field))
                built.keys.insert(scope + '/' + key, {i, part});
            built.sections.insert(QString::fromLatin1(field.section));
            if (field.index >= 0) {
                int& entries = built.arrays[scope.section('/', 0, -2)];
                entries = std::max(entries, field.index + 1);
            }
        }
        return built;
    }();
    return index;
}

QJsonArray ByteArrayJson(const RadioRecord& record, int offset, int count)
{
    QJsonArray array;
    for (int i = 0; i < count; ++i)
        array.append(int(record.bytes()[std::size_t(offset + i)]));
    return array;
}

QJsonArray NibblesJson(const RadioRecord& record, const RecordField& field)
{
    QJsonArray nibbles;
    for (int i = 1; i < FieldByteCount(field); ++i) {
        const uint8_t byte = record.bytes()[std::size_t(field.offset + i)];
        nibbles.append(byte & 0x0F);
        nibbles.append(byte >> 4);
    }
    return nibbles;
}

void AddFieldKeys(QJsonObject& object, const RadioRecord& record, const RecordField& field, const TAppLang& lang)
{
    for (const auto& [key, part] : KeysOf(field)) {
        switch (part) {
        case Part::Number: object.insert(key, qint64(FieldNumber(record, field))); break;
        case Part::Text: object.insert(key, FieldValueText(record, field, lang)); break;
        case Part::DoubleBits:
            object.insert(key, QStringLiteral("%1").arg(FieldNumber(record, field), 16, 16, QChar('0')).toUpper());
            break;
        case Part::DigitCount: object.insert(key, int(record.bytes()[field.offset])); break;
        case Part::DigitNibbles: object.insert(key, NibblesJson(record, field)); break;
        case Part::Bytes: object.insert(key, ByteArrayJson(record, field.offset, field.length)); break;
        }
    }
}

// One section as it is built: its own fields, then its arrays of entries.
struct SectionImage {
    QJsonObject fields;
    std::map<QString, std::vector<QJsonObject>> arrays;   // by array name ("" for the section itself)
};

// ---- reading -------------------------------------------------------------

QString ReadablePath(const QString& path)
{
    // "dtmf/encode/3/digits_count" -> "dtmf.encode[3].digits_count"
    QString readable;
    for (const QString& part : path.split('/')) {
        bool isIndex = false;
        part.toInt(&isIndex);
        if (isIndex)
            readable += '[' + part + ']';
        else
            readable += (readable.isEmpty() ? QString() : QStringLiteral(".")) + part;
    }
    return readable;
}

Error KeyError(const QString& path, const QString& what)
{
    return Error{QStringLiteral("%1: %2").arg(ReadablePath(path), what)};
}

// A whole number 0..limit, or nothing.
std::optional<uint64_t> WholeNumber(const QJsonValue& value, uint64_t limit)
{
    if (!value.isDouble())
        return std::nullopt;
    const double d = value.toDouble();
    if (d < 0 || d > double(limit) || std::floor(d) != d)
        return std::nullopt;
    return uint64_t(d);
}

// A text agrees with its number's text when they differ only in case or
// spaces around, or are the same number ("146.52" and "146.52000").
bool SayTheSame(const QString& given, const QString& reads)
{
    if (given.trimmed().compare(reads.trimmed(), Qt::CaseInsensitive) == 0)
        return true;
    bool givenIsNumber = false, readsIsNumber = false;
    const double a = given.trimmed().toDouble(&givenIsNumber), b = reads.trimmed().toDouble(&readsIsNumber);
    return givenIsNumber && readsIsNumber && std::abs(a - b) < 1e-9;
}

class ImageReader {
public:
    explicit ImageReader(RadioRecord record) : record_(std::move(record)) {}

    std::optional<Error> readRoot(const QJsonObject& root)
    {
        if (root.contains(kFormatKey) && root.value(kFormatKey).toString() != QLatin1String(kConfigurationJsonFormat))
            return Error{QStringLiteral("format: not a %1 file").arg(QLatin1String(kConfigurationJsonFormat))};
        if (root.contains(kVersionKey)) {
            const std::optional<uint64_t> version = WholeNumber(root.value(kVersionKey), 1000000);
            if (!version || *version < 1)
                return Error{QStringLiteral("format_version: expected a whole number from 1")};
            if (*version > uint64_t(kConfigurationJsonVersion))
                return Error{QStringLiteral("format_version %1 is newer than this program reads (%2)")
                                 .arg(*version)
                                 .arg(kConfigurationJsonVersion)};
        }
        for (auto it = root.begin(); it != root.end(); ++it) {
            if (it.key() == kFormatKey || it.key() == kVersionKey)
                continue;
            if (auto error = readValue(it.key(), it.value()))
                return error;
        }
        return std::nullopt;
    }

    const RadioRecord& record() const { return record_; }

    // The texts that read otherwise than their field's number does now.
    QStringList contradictions() const
    {
        TAppLang english(kLangIdEnglishUs);
        english.fSetLangType(kLangEnglish);
        QStringList found;
        for (const auto& [path, field, value] : texts_) {
            const QString given = value.isString() ? value.toString() : value.toVariant().toString();
            const QString reads = FieldValueText(record_, RecordFields()[std::size_t(field)], english);
            if (!SayTheSame(given, reads))
                found << KeyError(path,
                                  QStringLiteral("the text '%1' says otherwise than the number, which reads "
                                                 "'%2'; the number is taken")
                                      .arg(given, reads))
                             .message;
        }
        return found;
    }

private:
    std::optional<Error> readValue(const QString& path, const QJsonValue& value)
    {
        const KeyIndex& index = Index();
        if (const auto key = index.keys.constFind(path); key != index.keys.constEnd())
            return readKey(path, *key, value);
        if (index.arrays.contains(path)) {
            if (!value.isArray())
                return KeyError(path, QStringLiteral("expected an array"));
            const QJsonArray entries = value.toArray();
            if (const int most = index.arrays.value(path); entries.size() > most)
                return KeyError(path,
                                QStringLiteral("%1 entries, but there are only %2").arg(entries.size()).arg(most));
            for (int i = 0; i < entries.size(); ++i) {
                const QString entryPath = path + '/' + QString::number(i);
                if (!entries[i].isObject())
                    return KeyError(entryPath, QStringLiteral("expected an object"));
                if (auto error = readObject(entryPath, entries[i].toObject()))
                    return error;
            }
            return std::nullopt;
        }
        if (index.sections.contains(path)) {
            if (!value.isObject())
                return KeyError(path, QStringLiteral("expected an object"));
            return readObject(path, value.toObject());
        }
        return KeyError(path, QStringLiteral("unknown key"));
    }

    std::optional<Error> readObject(const QString& path, const QJsonObject& object)
    {
        for (auto it = object.begin(); it != object.end(); ++it)
            if (auto error = readValue(path + '/' + it.key(), it.value()))
                return error;
        return std::nullopt;
    }

    std::optional<Error> readKey(const QString& path, KeyRef key, const QJsonValue& value)
    {
        const RecordField& field = RecordFields()[std::size_t(key.field)];
        switch (key.part) {
        case Part::Text:   // for readers; checked against the number once every key is read
            texts_.push_back({path, key.field, value});
            return std::nullopt;
        case Part::Number: {
            const std::optional<uint64_t> number = WholeNumber(value, FieldLimit(field));
            if (!number)
                return KeyError(path, QStringLiteral("expected a whole number from 0 to %1").arg(FieldLimit(field)));
            if (field.kind == FieldKind::OtherBits && (*number & ~uint64_t(field.mask)))
                return KeyError(path,
                                QStringLiteral("only the bits 0x%1 can be set").arg(field.mask, 2, 16, QChar('0')));
            SetFieldNumber(record_, field, *number);
            return std::nullopt;
        }
        case Part::DoubleBits: {
            const QString text = value.toString();
            bool ok = false;
            const uint64_t bits = text.toULongLong(&ok, 16);
            if (!value.isString() || !ok || text.size() != 16)
                return KeyError(path, QStringLiteral("expected the 64-bit pattern as 16 hex digits"));
            SetFieldNumber(record_, field, bits);
            return std::nullopt;
        }
        case Part::DigitCount: {
            const std::optional<uint64_t> count = WholeNumber(value, 0xFF);
            if (!count)
                return KeyError(path, QStringLiteral("expected a whole number from 0 to 255"));
            record_.bytes()[field.offset] = uint8_t(*count);
            return std::nullopt;
        }
        case Part::DigitNibbles: return readArray(path, value, field.offset + 1, FieldByteCount(field) - 1, true);
        case Part::Bytes: return readArray(path, value, field.offset, field.length, false);
        }
        return std::nullopt;
    }

    // Bytes, or digit nibbles two to a byte (the low one first).
    std::optional<Error> readArray(const QString& path, const QJsonValue& value, int offset, int bytes, bool nibbles)
    {
        const int count = nibbles ? 2 * bytes : bytes;
        const uint64_t limit = nibbles ? 0x0F : 0xFF;
        const QJsonArray array = value.toArray();
        if (!value.isArray() || array.size() != count)
            return KeyError(path, QStringLiteral("expected an array of %1 numbers from 0 to %2").arg(count).arg(limit));
        std::vector<uint8_t> read;
        for (const QJsonValue& item : array) {
            const std::optional<uint64_t> number = WholeNumber(item, limit);
            if (!number)
                return KeyError(path,
                                QStringLiteral("expected an array of %1 numbers from 0 to %2").arg(count).arg(limit));
            read.push_back(uint8_t(*number));
        }
        for (int i = 0; i < bytes; ++i)
            record_.bytes()[std::size_t(offset + i)] =
                nibbles ? uint8_t(read[std::size_t(2 * i)] | read[std::size_t(2 * i + 1)] << 4) : read[std::size_t(i)];
        return std::nullopt;
    }

    struct TextKey {
        QString path;
        int field;
        QJsonValue value;
    };
    RadioRecord record_;
    std::vector<TextKey> texts_;
};

int LineOfOffset(const QByteArray& bytes, int offset)
{
    return int(std::count(bytes.begin(), bytes.begin() + std::min<qsizetype>(offset, bytes.size()), '\n')) + 1;
}

}   // namespace

QJsonObject ConfigurationToJson(const RadioRecord& record)
{
    TAppLang english(kLangIdEnglishUs);
    english.fSetLangType(kLangEnglish);

    std::vector<std::pair<QString, SectionImage>> sections;
    for (const RecordField& field : RecordFields()) {
        const QString section = QString::fromLatin1(field.section);
        if (sections.empty() || sections.back().first != section)
            sections.emplace_back(section, SectionImage{});
        SectionImage& image = sections.back().second;
        if (field.index < 0) {
            AddFieldKeys(image.fields, record, field, english);
            continue;
        }
        std::vector<QJsonObject>& entries = image.arrays[field.group ? QString::fromLatin1(field.group) : QString()];
        if (int(entries.size()) <= field.index)
            entries.resize(std::size_t(field.index) + 1);
        AddFieldKeys(entries[std::size_t(field.index)], record, field, english);
    }

    QJsonObject root;
    root.insert(kFormatKey, QLatin1String(kConfigurationJsonFormat));
    root.insert(kVersionKey, kConfigurationJsonVersion);
    for (auto& [name, image] : sections) {
        for (auto& [arrayName, entries] : image.arrays) {
            QJsonArray array;
            for (const QJsonObject& entry : entries)
                array.append(entry);
            if (arrayName.isEmpty())
                root.insert(name, array);
            else
                image.fields.insert(arrayName, array);
        }
        if (!image.fields.isEmpty())
            root.insert(name, image.fields);
    }
    return root;
}

QByteArray ConfigurationJsonText(const RadioRecord& record)
{
    return QJsonDocument(ConfigurationToJson(record)).toJson(QJsonDocument::Indented);
}

Result<JsonImage> ConfigurationFromJson(const QByteArray& json, const RadioRecord& base)
{
    if (json.trimmed().isEmpty())
        return Error{QStringLiteral("the file is empty")};
    // A byte-order mark is no part of the JSON; it takes no line.
    const QByteArray text = json.startsWith("\xEF\xBB\xBF") ? json.mid(3) : json;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(text, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return Error{QStringLiteral("line %1: not valid JSON (%2)")
                         .arg(LineOfOffset(text, parseError.offset))
                         .arg(parseError.errorString())};
    if (!document.isObject())
        return Error{QStringLiteral("line 1: the JSON is not an object of a configuration")};
    ImageReader reader(base);
    if (auto error = reader.readRoot(document.object()))
        return *error;
    return JsonImage{reader.record(), reader.contradictions()};
}

bool IsJsonFile(const QString& path, const QByteArray& bytes)
{
    if (QFileInfo(path).suffix().compare(QLatin1String("json"), Qt::CaseInsensitive) == 0)
        return true;
    // Text that opens an object: a configuration's bytes hold zeros, and a JSON
    // file in the wrong name is read as JSON, whose reader says what is wrong with it.
    if (bytes.contains('\0'))
        return false;
    const QByteArray text = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    return text.trimmed().startsWith('{');
}

}   // namespace k3n
