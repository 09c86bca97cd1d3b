// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/code_page.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace k3n {

namespace {

constexpr const char kUtf8[] = "UTF-8";
const QByteArray kUtf8Replacement = QByteArrayLiteral("\xEF\xBF\xBD");

bool IsAscii(const QByteArray& bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// Length of the UTF-8 sequence starting at 'p' as far as it is well formed, at least 1.
size_t Utf8SkipLength(const char* p, size_t left)
{
    size_t n = 1;
    while (n < left && (static_cast<unsigned char>(p[n]) & 0xC0) == 0x80)
        ++n;
    return n;
}

}   // namespace

CodePageConverter::CodePageConverter(const char* toCode, const char* fromCode)
    : fromUtf8_(std::strcmp(fromCode, kUtf8) == 0),
      replacement_(std::strcmp(toCode, kUtf8) == 0 ? kUtf8Replacement : QByteArray("?"))
{
    iconv_t cd = iconv_open(toCode, fromCode);
    if (cd != reinterpret_cast<iconv_t>(-1))
        handle_ = cd;
}

CodePageConverter::~CodePageConverter()
{
    if (handle_)
        iconv_close(static_cast<iconv_t>(handle_));
}

QByteArray CodePageConverter::convert(const QByteArray& input, bool* complete)
{
    if (complete)
        *complete = true;
    if (!handle_) {
        if (complete)
            *complete = input.isEmpty();
        return {};
    }
    auto cd = static_cast<iconv_t>(handle_);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);   // reset shift state

    QByteArray out;
    char buffer[256];
    char* in = const_cast<char*>(input.constData());
    size_t inLeft = static_cast<size_t>(input.size());
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<qsizetype>(outPtr - buffer));
        if (rc != static_cast<size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        // EILSEQ or EINVAL (a truncated sequence at the end): replace and step over it.
        if (complete)
            *complete = false;
        out.append(replacement_);
        size_t skip = fromUtf8_ ? Utf8SkipLength(in, inLeft) : 1;
        in += skip;
        inLeft -= skip;
    }
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);   // flush
    out.append(buffer, static_cast<qsizetype>(outPtr - buffer));
    return out;
}

QByteArray EncodeGbk(const QString& text, bool* complete)
{
    thread_local CodePageConverter toGbk("GBK", kUtf8);
    return toGbk.convert(text.toUtf8(), complete);
}

QString DecodeGbk(const QByteArray& bytes, bool* complete)
{
    if (IsAscii(bytes)) {
        if (complete)
            *complete = true;
        return QString::fromLatin1(bytes);
    }
    thread_local CodePageConverter fromGbk(kUtf8, "GBK");
    return QString::fromUtf8(fromGbk.convert(bytes, complete));
}

QString DecodeBig5(const QByteArray& bytes, bool* complete)
{
    if (IsAscii(bytes)) {
        if (complete)
            *complete = true;
        return QString::fromLatin1(bytes);
    }
    thread_local CodePageConverter fromBig5(kUtf8, "BIG5");
    return QString::fromUtf8(fromBig5.convert(bytes, complete));
}

}   // namespace k3n
