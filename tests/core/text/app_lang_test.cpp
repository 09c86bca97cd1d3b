// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/app_lang.h"
#include "text/ui_text.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace k3n {
namespace {

TEST(SystemLanguageIdFromLocale, MapsChineseRegionsAndFallsBackToEnglish)
{
    const std::pair<const char*, uint16_t> cases[] = {
        {"zh_CN", kLangIdChinesePrc},
        {"zh_SG", kLangIdChineseSingapore},
        {"zh_TW", kLangIdChineseTaiwan},
        {"zh_HK", kLangIdChineseHongKong},
        {"zh_MO", kLangIdChineseMacau},
        {"zh_TW.UTF-8", kLangIdChineseTaiwan},
        {"zh-Hant-HK", kLangIdChineseHongKong},
        {"zh_Hant", kLangIdChineseTaiwan},
        {"zh", kLangIdChinesePrc},
        {"en_US", kLangIdEnglishUs},
        {"de_DE", kLangIdEnglishUs},
        {"C", kLangIdEnglishUs},
        {"", kLangIdEnglishUs},
    };
    for (const auto& [locale, id] : cases)
        EXPECT_EQ(SystemLanguageIdFromLocale(QString::fromLatin1(locale)), id) << locale;
}

TEST(LangTypeFromSystemLanguageId, PrimaryLanguageBitsAndSubLanguage)
{
    // PRC and Singapore are Simplified; Taiwan, Hong Kong, Macau and neutral Chinese Traditional;
    // 0x0604 is not Chinese, as bits 8-9 belong to the primary language.
    const std::pair<uint16_t, uint8_t> cases[] = {
        {0x0804, kLangSimplified},  {0x1004, kLangSimplified},  {0x0404, kLangTraditional},
        {0x0C04, kLangTraditional}, {0x1404, kLangTraditional}, {0x0004, kLangTraditional},
        {0x0409, kLangEnglish},     {0x0411, kLangEnglish},     {0x0604, kLangEnglish},
    };
    for (const auto& [id, type] : cases)
        EXPECT_EQ(LangTypeFromSystemLanguageId(id), type) << std::hex << id;
}

// How a language type shows: charset, font and text table.
struct Looks {
    uint8_t type;
    uint8_t charset;
    const char16_t* font;
    int fontSize;
    UiTextTable table;
};
const Looks kEnglish{kLangEnglish, 0, u"MS Sans Serif", 8, UiTextTable::English};
const Looks kSimplified{kLangSimplified, 134, u"宋体", 9, UiTextTable::Simplified};
const Looks kTraditional{kLangTraditional, 136, u"細明體", 9, UiTextTable::Traditional};

void ExpectLooks(const TAppLang& lang, const Looks& looks)
{
    EXPECT_EQ(lang.langType(), looks.type);
    EXPECT_EQ(lang.charset(), looks.charset);
    EXPECT_EQ(lang.fontName(), QString::fromUtf16(looks.font));
    EXPECT_EQ(lang.fontSize(), looks.fontSize);
    EXPECT_EQ(UiTextTableFor(lang.langType()), looks.table);
    EXPECT_EQ(lang.showsBig5(), looks.type == kLangTraditional);
}

TEST(ApplyLanguageSetting, SettingsZeroToTwoOverrideTheSystemLanguageAndOthersDetectIt)
{
    const struct {
        const char* locale;
        const Looks& detected;
    } systems[] = {{"zh_TW", kTraditional}, {"zh_CN", kSimplified}, {"en_US", kEnglish}};
    const Looks* chosen[] = {&kEnglish, &kSimplified, &kTraditional};
    for (const auto& system : systems) {
        SCOPED_TRACE(system.locale);
        TAppLang lang(SystemLanguageIdFromLocale(QString::fromLatin1(system.locale)));
        EXPECT_EQ(lang.detectType(), 0);
        EXPECT_TRUE(lang.convertToBig5());
        ExpectLooks(lang, system.detected);
        for (int setting = 0; setting < 3; ++setting) {
            ApplyLanguageSetting(lang, setting);
            EXPECT_EQ(lang.detectType(), 1);
            ExpectLooks(lang, *chosen[setting]);
        }
        // After an explicit choice, any other setting must go back to detection.
        for (int unknown : {7, -1}) {
            ApplyLanguageSetting(lang, unknown);
            EXPECT_EQ(lang.detectType(), 0);
            ExpectLooks(lang, system.detected);
        }
    }
}

TEST(TAppLang, ExplicitTypeSticksUntilDetectionIsAskedForAndOtherTypesLookEnglish)
{
    TAppLang lang(kLangIdChinesePrc);
    lang.fSetLangType(kLangTraditional);
    lang.fSetDetectType(1);   // detect type 1 keeps the explicit choice
    ExpectLooks(lang, kTraditional);
    lang.fSetDetectType(0);
    ExpectLooks(lang, kSimplified);

    TAppLang other(kLangIdChineseTaiwan);
    other.fSetLangType(5);
    ExpectLooks(other, {5, 0, u"MS Sans Serif", 8, UiTextTable::English});
    EXPECT_EQ(UiText(other, 1), QStringLiteral("&File"));
}

TEST(AppLang, ProcessWideObjectFollowsTheLanguageSetting)
{
    TAppLang& lang = appLang();
    EXPECT_EQ(&lang, &appLang());
    EXPECT_EQ(lang.systemLanguageId(), SystemLanguageIdFromLocale(QLocale::system().name()));

    ApplyLanguageSetting(1);
    ExpectLooks(lang, kSimplified);
    EXPECT_EQ(UiText(9), QStringLiteral(u"通讯端口(&C)"));
    ApplyLanguageSetting(2);
    EXPECT_EQ(UiText(9), QStringLiteral(u"通訊端口(&C)"));
    ApplyLanguageSetting(0);
    EXPECT_EQ(UiText(9), QStringLiteral("&Communication Port"));
    ApplyLanguageSetting(9);
    EXPECT_EQ(lang.langType(), LangTypeFromSystemLanguageId(lang.systemLanguageId()));
}

}   // namespace
}   // namespace k3n
