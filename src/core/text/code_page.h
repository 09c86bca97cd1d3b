// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Code-page conversions between Unicode and the GBK and Big5 byte forms of the texts.
#include <QByteArray>
#include <QString>

namespace k3n {

// One glibc iconv conversion (e.g. to "GBK" from "UTF-8"). Input that cannot be
// converted is replaced (U+FFFD when the target is UTF-8, '?' otherwise) and the
// conversion goes on, so a bad text never truncates what follows it.
// Not shareable between threads; use one per thread.
class CodePageConverter {
public:
    CodePageConverter(const char* toCode, const char* fromCode);
    ~CodePageConverter();
    CodePageConverter(const CodePageConverter&) = delete;
    CodePageConverter& operator=(const CodePageConverter&) = delete;

    bool isValid() const { return handle_ != nullptr; }
    // Sets *complete to false when anything had to be replaced.
    QByteArray convert(const QByteArray& input, bool* complete = nullptr);

private:
    void* handle_ = nullptr;   // iconv_t
    bool fromUtf8_ = false;
    QByteArray replacement_;
};

// Unicode -> GBK bytes.
QByteArray EncodeGbk(const QString& text, bool* complete = nullptr);
// GBK bytes -> Unicode; ASCII passes straight through.
QString DecodeGbk(const QByteArray& bytes, bool* complete = nullptr);
// Big5 bytes -> Unicode; ASCII passes straight through.
QString DecodeBig5(const QByteArray& bytes, bool* complete = nullptr);

}   // namespace k3n
