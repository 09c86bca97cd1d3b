// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The language object: which text table is read, the font that goes with it,
// and the GBK -> Big5 conversion of texts shown in Chinese (Traditional).
#include <QByteArray>
#include <QString>
#include <atomic>
#include <cstdint>

namespace k3n {

constexpr uint8_t kLangEnglish = 1;   // also any language other than Chinese
constexpr uint8_t kLangSimplified = 2;   // Chinese (Simplified), texts in GBK
constexpr uint8_t kLangTraditional = 3;   // Chinese (Traditional), texts shown in Big5

constexpr uint8_t kCharsetDefault = 0;
constexpr uint8_t kCharsetGb2312 = 134;
constexpr uint8_t kCharsetBig5 = 136;

// Windows-style language identifiers: primary language in bits 0-9, sub-language in bits 10-15.
constexpr uint16_t kLangIdEnglishUs = 0x0409;
constexpr uint16_t kLangIdChinesePrc = 0x0804;
constexpr uint16_t kLangIdChineseSingapore = 0x1004;
constexpr uint16_t kLangIdChineseTaiwan = 0x0404;
constexpr uint16_t kLangIdChineseHongKong = 0x0C04;
constexpr uint16_t kLangIdChineseMacau = 0x1404;

// Language type that follows from a system language identifier.
uint8_t LangTypeFromSystemLanguageId(uint16_t systemLanguageId);

// Changed on the user-interface thread only; langType() may be read from any thread.
class TAppLang {
public:
    explicit TAppLang(uint16_t systemLanguageId);
    TAppLang(const TAppLang& other);
    TAppLang& operator=(const TAppLang& other);

    void fSetLangType(uint8_t type);
    void fSetDetectType(uint8_t detect);
    // Same length as the input; converts only in Chinese (Traditional).
    QByteArray FromGBK(const QByteArray& gbk) const;

    uint8_t langType() const { return langType_.load(std::memory_order_relaxed); }
    uint8_t detectType() const { return detectType_; }
    uint8_t charset() const { return charset_; }
    QString fontName() const { return fontName_; }
    int fontSize() const { return fontSize_; }
    bool convertToBig5() const { return convertToBig5_; }
    uint16_t systemLanguageId() const { return systemLanguageId_; }
    // True when FromGBK turns texts into Big5, so they must be decoded as Big5.
    bool showsBig5() const { return langType() == kLangTraditional && convertToBig5_; }

private:
    void deriveFont();

    uint16_t systemLanguageId_;
    std::atomic<uint8_t> langType_{kLangEnglish};
    QString fontName_;
    uint8_t charset_ = kCharsetDefault;
    int fontSize_ = 8;
    uint8_t detectType_ = 0;
    bool convertToBig5_;
};

// Maps a locale name ("zh_TW", "en_US", "zh-Hant-HK") to a system language identifier.
uint16_t SystemLanguageIdFromLocale(const QString& localeName);

// The process-wide language object, created on first use from the user's locale.
TAppLang& appLang();

// Applies the Language setting: 0 English, 1 Simplified, 2 Traditional, anything else detects.
void ApplyLanguageSetting(TAppLang& lang, int languageSetting);
void ApplyLanguageSetting(int languageSetting);

}   // namespace k3n
