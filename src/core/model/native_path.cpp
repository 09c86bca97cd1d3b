// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/native_path.h"

namespace k3n {

namespace {

constexpr char16_t kKeptByteBase = 0xDC00;   // U+DC80..U+DCFF hold the bytes 0x80..0xFF

// The length of the valid UTF-8 sequence at bytes[i] and its code point; 0 when none starts there.
int Utf8SequenceAt(const QByteArray& bytes, qsizetype i, char32_t& codePoint)
{
    const auto byte = [&](qsizetype k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = byte(i);
    int length = 0;
    char32_t value = 0;
    char32_t least = 0;
    if (lead < 0x80)
        return codePoint = lead, 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2, value = lead & 0x1F, least = 0x80;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, value = lead & 0x0F, least = 0x800;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, value = lead & 0x07, least = 0x10000;
    else
        return 0;
    if (i + length > bytes.size())
        return 0;
    for (int k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (byte(i + k) & 0x3F);
    }
    // Overlong forms, encoded surrogates and values beyond Unicode are no valid UTF-8.
    if (value < least || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF)
        return 0;
    codePoint = value;
    return length;
}

bool IsKeptByte(const QString& path, qsizetype i)
{
    const char16_t unit = path[i].unicode();
    return unit >= kKeptByteBase + 0x80 && unit <= kKeptByteBase + 0xFF && !(i > 0 && path[i - 1].isHighSurrogate());
}

}   // namespace

QString PathFromNative(const QByteArray& bytes)
{
    QString path;
    path.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        char32_t codePoint = 0;
        const int length = Utf8SequenceAt(bytes, i, codePoint);
        if (length == 0) {
            path += QChar(char16_t(kKeptByteBase + static_cast<unsigned char>(bytes[i])));
            ++i;
            continue;
        }
        path += QString::fromUcs4(&codePoint, 1);
        i += length;
    }
    return path;
}

QByteArray NativePath(const QString& path)
{
    QByteArray bytes;
    bytes.reserve(path.size());
    qsizetype runStart = 0;   // text without kept bytes is converted in runs
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (!IsKeptByte(path, i))
            continue;
        bytes += path.mid(runStart, i - runStart).toUtf8();
        bytes += char(path[i].unicode() - kKeptByteBase);
        runStart = i + 1;
    }
    bytes += path.mid(runStart).toUtf8();
    return bytes;
}

QString ShownPath(const QString& path)
{
    QString shown = path;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (IsKeptByte(path, i))
            shown[i] = QChar::ReplacementCharacter;
    }
    return shown;
}

}   // namespace k3n
