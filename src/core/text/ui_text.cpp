// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/ui_text.h"

#include "text/app_lang.h"
#include "text/code_page.h"
#include "text/ui_text_tables.h"

#include <QRegularExpression>

#include <array>

namespace k3n {

namespace {

using StoredTable = std::array<QByteArray, kUiTextCount>;

struct StoredTables {
    StoredTable english;
    StoredTable simplified;
    StoredTable traditional;
};

// The tables in their stored byte form, built once.
const StoredTables& Tables()
{
    static const StoredTables tables = [] {
        StoredTables t;
        for (int n = 0; n < kUiTextCount; ++n) {
            t.english[n] = QByteArray(detail::kEnglishTexts[n]);
            t.simplified[n] = EncodeGbk(QString::fromUtf8(detail::kSimplifiedTexts[n]));
        }
        t.traditional = t.simplified;
        for (const detail::TextOverride& o : detail::kTraditionalOverrides)
            t.traditional[o.number] = EncodeGbk(QString::fromUtf8(o.text));
        return t;
    }();
    return tables;
}

}   // namespace

UiTextTable UiTextTableFor(uint8_t langType)
{
    switch (langType) {
    case kLangSimplified: return UiTextTable::Simplified;
    case kLangTraditional: return UiTextTable::Traditional;
    default: return UiTextTable::English;
    }
}

QByteArray StoredUiText(UiTextTable table, int n)
{
    if (n < 0 || n >= kUiTextCount)
        return {};
    const StoredTables& t = Tables();
    switch (table) {
    case UiTextTable::Simplified: return t.simplified[n];
    case UiTextTable::Traditional: return t.traditional[n];
    case UiTextTable::English: break;
    }
    return t.english[n];
}

QString DecodeForDisplay(const TAppLang& lang, const QByteArray& converted)
{
    return lang.showsBig5() ? DecodeBig5(converted) : DecodeGbk(converted);
}

QString UiText(const TAppLang& lang, int n)
{
    if (n < 0 || n >= kUiTextCount)
        return {};
    const QByteArray stored = StoredUiText(UiTextTableFor(lang.langType()), n);
    return DecodeForDisplay(lang, lang.FromGBK(stored));
}

QString UiText(int n)
{
    return UiText(appLang(), n);
}

QString PlainCaption(QString text)
{
    static const QRegularExpression mnemonicInBrackets(QStringLiteral("\\(&.\\)"));
    text.remove(mnemonicInBrackets);
    text.remove('&');
    if (text.endsWith(QLatin1String("...")))
        text.chop(3);
    else if (text.endsWith(u'\u2026'))
        text.chop(1);
    return text.trimmed();
}

QString Localized(const TAppLang& lang, const LocalText& t)
{
    const char* text = t.english;
    switch (UiTextTableFor(lang.langType())) {
    case UiTextTable::Simplified: text = t.simplified; break;
    case UiTextTable::Traditional: text = t.traditional; break;
    case UiTextTable::English: break;
    }
    if (!text)
        return {};
    const QByteArray stored = EncodeGbk(QString::fromUtf8(text));
    return DecodeForDisplay(lang, lang.FromGBK(stored));
}

QString Localized(const LocalText& t)
{
    return Localized(appLang(), t);
}

}   // namespace k3n
