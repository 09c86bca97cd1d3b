// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/app_lang.h"

#include "text/gbk_to_big5.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

namespace k3n {

namespace {

constexpr uint16_t kPrimaryChinese = 4;
constexpr uint16_t kSubLangPrc = 2;
constexpr uint16_t kSubLangSingapore = 4;

bool IsGbkLeadByte(unsigned char b)
{
    return b >= 0x81 && b <= 0xFE;
}
bool IsGbkTrailByte(unsigned char b)
{
    return b >= 0x40 && b <= 0xFE;
}

}   // namespace

uint8_t LangTypeFromSystemLanguageId(uint16_t systemLanguageId)
{
    const uint16_t primary = systemLanguageId & 0x03FF;
    const uint16_t sub = systemLanguageId >> 10;
    if (primary != kPrimaryChinese)
        return kLangEnglish;
    if (sub == kSubLangPrc || sub == kSubLangSingapore)
        return kLangSimplified;
    return kLangTraditional;
}

TAppLang::TAppLang(uint16_t systemLanguageId) : systemLanguageId_(systemLanguageId), convertToBig5_(true)
{
    fSetDetectType(0);
}

TAppLang::TAppLang(const TAppLang& other)
    : systemLanguageId_(other.systemLanguageId_), langType_(other.langType()), fontName_(other.fontName_),
      charset_(other.charset_), fontSize_(other.fontSize_), detectType_(other.detectType_),
      convertToBig5_(other.convertToBig5_)
{}

TAppLang& TAppLang::operator=(const TAppLang& other)
{
    systemLanguageId_ = other.systemLanguageId_;
    langType_.store(other.langType(), std::memory_order_relaxed);
    fontName_ = other.fontName_;
    charset_ = other.charset_;
    fontSize_ = other.fontSize_;
    detectType_ = other.detectType_;
    convertToBig5_ = other.convertToBig5_;
    return *this;
}

void TAppLang::fSetLangType(uint8_t type)
{
    langType_.store(type, std::memory_order_relaxed);
    detectType_ = 1;
    deriveFont();
}

void TAppLang::fSetDetectType(uint8_t detect)
{
    detectType_ = detect;
    if (detect != 1)
        langType_.store(LangTypeFromSystemLanguageId(systemLanguageId_), std::memory_order_relaxed);
    deriveFont();
}

void TAppLang::deriveFont()
{
    switch (langType()) {
    case kLangSimplified:
        charset_ = kCharsetGb2312;
        fontName_ = QStringLiteral(u"宋体");
        fontSize_ = 9;
        break;
    case kLangTraditional:
        charset_ = kCharsetBig5;
        fontName_ = QStringLiteral(u"細明體");
        fontSize_ = 9;
        break;
    default:
        charset_ = kCharsetDefault;
        fontName_ = QStringLiteral("MS Sans Serif");
        fontSize_ = 8;
        break;
    }
}

QByteArray TAppLang::FromGBK(const QByteArray& gbk) const
{
    if (!showsBig5())
        return gbk;
    QByteArray out(gbk.size(), Qt::Uninitialized);
    const qsizetype n = gbk.size();
    qsizetype i = 0;
    while (i < n) {
        const auto b1 = static_cast<unsigned char>(gbk[i]);
        const bool pair = IsGbkLeadByte(b1) && i + 1 < n && IsGbkTrailByte(static_cast<unsigned char>(gbk[i + 1]));
        if (!pair) {
            out[i] = gbk[i];
            ++i;
            continue;
        }
        const auto b2 = static_cast<unsigned char>(gbk[i + 1]);
        const uint16_t entry = kGbkToBig5Table[b1 * 191 + b2 - 24703];
        out[i] = static_cast<char>((entry & 0xFF) ^ 0x80);
        out[i + 1] = static_cast<char>(entry >> 8);
        i += 2;
    }
    return out;
}

uint16_t SystemLanguageIdFromLocale(const QString& localeName)
{
    // "zh_TW", "zh_TW.UTF-8", "zh-Hant-HK", "zh_Hans_CN@..."
    QString name = localeName;
    name = name.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    const QStringList parts = name.split(QRegularExpression(QStringLiteral("[_-]")), Qt::SkipEmptyParts);
    if (parts.isEmpty() || parts.first().compare(QLatin1String("zh"), Qt::CaseInsensitive) != 0)
        return kLangIdEnglishUs;
    bool traditionalScript = false;
    for (const QString& part : parts.mid(1)) {
        const QString p = part.toUpper();
        if (p == QLatin1String("CN"))
            return kLangIdChinesePrc;
        if (p == QLatin1String("SG"))
            return kLangIdChineseSingapore;
        if (p == QLatin1String("TW"))
            return kLangIdChineseTaiwan;
        if (p == QLatin1String("HK"))
            return kLangIdChineseHongKong;
        if (p == QLatin1String("MO"))
            return kLangIdChineseMacau;
        if (p == QLatin1String("HANT"))
            traditionalScript = true;
    }
    // Chinese without a known region: the script decides, Simplified by default.
    return traditionalScript ? kLangIdChineseTaiwan : kLangIdChinesePrc;
}

TAppLang& appLang()
{
    static TAppLang lang(SystemLanguageIdFromLocale(QLocale::system().name()));
    return lang;
}

void ApplyLanguageSetting(TAppLang& lang, int languageSetting)
{
    switch (languageSetting) {
    case 0: lang.fSetLangType(kLangEnglish); break;
    case 1: lang.fSetLangType(kLangSimplified); break;
    case 2: lang.fSetLangType(kLangTraditional); break;
    default: lang.fSetDetectType(0); break;
    }
}

void ApplyLanguageSetting(int languageSetting)
{
    ApplyLanguageSetting(appLang(), languageSetting);
}

}   // namespace k3n
