#include "text/app_lang.h"
#include "text/ui_text.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace k3n {
namespace {

TEST(SystemLanguageIdFromLocale, MapsChineseRegionsAndFallsBackToEnglish)
{
    const struct {
        const char* locale;
        uint16_t id;
    } cases[] = {
        {"zh_CN", kLangIdChinesePrc},       {"zh_SG", kLangIdChineseSingapore},
        {"zh_TW", kLangIdChineseTaiwan},    {"zh_HK", kLangIdChineseHongKong},
        {"zh_MO", kLangIdChineseMacau},     {"zh_TW.UTF-8", kLangIdChineseTaiwan},
        {"zh-Hant-HK", kLangIdChineseHongKong}, {"zh_Hant", kLangIdChineseTaiwan},
        {"zh", kLangIdChinesePrc},          {"en_US", kLangIdEnglishUs},
        {"de_DE", kLangIdEnglishUs},        {"C", kLangIdEnglishUs},
        {"", kLangIdEnglishUs},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SystemLanguageIdFromLocale(QString::fromLatin1(c.locale)), c.id) << c.locale;
}

TEST(LangTypeFromSystemLanguageId, PrimaryLanguageBitsAndSubLanguage)
{
    EXPECT_EQ(LangTypeFromSystemLanguageId(0x0804), kLangSimplified); // PRC
    EXPECT_EQ(LangTypeFromSystemLanguageId(0x1004), kLangSimplified); // Singapore
    EXPECT_EQ(LangTypeFromSystemLanguageId(0x0404), kLangTraditional); // Taiwan
    EXPECT_EQ(LangTypeFromSystemLanguageId(0x0C04), kLangTraditional); // Hong Kong
    EXPECT_EQ(LangTypeFromSystemLanguageId(0x1404), kLangTraditional); // Macau
    EXPECT_EQ(LangTypeFromSystemLanguageId(0x0004), kLangTraditional); // neutral Chinese
    EXPECT_EQ(LangTypeFromSystemLanguageId(0x0409), kLangEnglish);
    EXPECT_EQ(LangTypeFromSystemLanguageId(0x0411), kLangEnglish);    // Japanese
    // Bits 8-9 belong to the primary language, so this is not Chinese.
    EXPECT_EQ(LangTypeFromSystemLanguageId(0x0604), kLangEnglish);
}

void ExpectEnglish(const TAppLang& lang)
{
    EXPECT_EQ(lang.langType(), kLangEnglish);
    EXPECT_EQ(lang.charset(), 0);
    EXPECT_EQ(lang.fontName(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(lang.fontSize(), 8);
    EXPECT_EQ(UiTextTableFor(lang.langType()), UiTextTable::English);
}

void ExpectSimplified(const TAppLang& lang)
{
    EXPECT_EQ(lang.langType(), kLangSimplified);
    EXPECT_EQ(lang.charset(), 134);
    EXPECT_EQ(lang.fontName(), QStringLiteral(u"宋体"));
    EXPECT_EQ(lang.fontSize(), 9);
    EXPECT_EQ(UiTextTableFor(lang.langType()), UiTextTable::Simplified);
}

void ExpectTraditional(const TAppLang& lang)
{
    EXPECT_EQ(lang.langType(), kLangTraditional);
    EXPECT_EQ(lang.charset(), 136);
    EXPECT_EQ(lang.fontName(), QStringLiteral(u"細明體"));
    EXPECT_EQ(lang.fontSize(), 9);
    EXPECT_EQ(UiTextTableFor(lang.langType()), UiTextTable::Traditional);
    EXPECT_TRUE(lang.showsBig5());
}

TEST(TAppLang, ConstructionDetectsFromTheSystemLanguage)
{
    TAppLang taiwan(SystemLanguageIdFromLocale(QStringLiteral("zh_TW")));
    EXPECT_EQ(taiwan.systemLanguageId(), kLangIdChineseTaiwan);
    EXPECT_EQ(taiwan.detectType(), 0);
    EXPECT_TRUE(taiwan.convertToBig5());
    ExpectTraditional(taiwan);

    TAppLang prc(SystemLanguageIdFromLocale(QStringLiteral("zh_CN")));
    EXPECT_EQ(prc.detectType(), 0);
    ExpectSimplified(prc);

    TAppLang us(SystemLanguageIdFromLocale(QStringLiteral("en_US")));
    EXPECT_EQ(us.detectType(), 0);
    EXPECT_TRUE(us.convertToBig5());
    EXPECT_FALSE(us.showsBig5());
    ExpectEnglish(us);
}

TEST(ApplyLanguageSetting, SettingsZeroToTwoOverrideTheSystemLanguage)
{
    for (const char* locale : {"zh_TW", "en_US"}) {
        SCOPED_TRACE(locale);
        TAppLang lang(SystemLanguageIdFromLocale(QString::fromLatin1(locale)));

        ApplyLanguageSetting(lang, 0);
        EXPECT_EQ(lang.detectType(), 1);
        ExpectEnglish(lang);

        ApplyLanguageSetting(lang, 1);
        EXPECT_EQ(lang.detectType(), 1);
        ExpectSimplified(lang);

        ApplyLanguageSetting(lang, 2);
        EXPECT_EQ(lang.detectType(), 1);
        ExpectTraditional(lang);
    }
}

TEST(ApplyLanguageSetting, UnknownSettingDetectsFromTheSystemLanguage)
{
    TAppLang taiwan(SystemLanguageIdFromLocale(QStringLiteral("zh_TW")));
    ApplyLanguageSetting(taiwan, 0); // an explicit choice first, so detection must undo it
    ApplyLanguageSetting(taiwan, 7);
    EXPECT_EQ(taiwan.detectType(), 0);
    ExpectTraditional(taiwan);
    EXPECT_EQ(UiText(taiwan, 9), QStringLiteral(u"通訊端口(&C)"));

    TAppLang us(SystemLanguageIdFromLocale(QStringLiteral("en_US")));
    ApplyLanguageSetting(us, 2);
    ApplyLanguageSetting(us, 7);
    EXPECT_EQ(us.detectType(), 0);
    ExpectEnglish(us);
    EXPECT_EQ(UiText(us, 9), QStringLiteral("&Communication Port"));

    ApplyLanguageSetting(us, -1);
    ExpectEnglish(us);
}

TEST(TAppLang, ExplicitTypeSticksUntilDetectionIsAskedFor)
{
    TAppLang lang(kLangIdChinesePrc);
    lang.fSetLangType(kLangTraditional);
    lang.fSetDetectType(1); // detect type 1 keeps the explicit choice
    ExpectTraditional(lang);
    lang.fSetDetectType(0);
    ExpectSimplified(lang);
}

TEST(TAppLang, OtherLanguageTypesUseEnglishTableAndFont)
{
    TAppLang lang(kLangIdChineseTaiwan);
    lang.fSetLangType(5);
    EXPECT_EQ(lang.langType(), 5);
    EXPECT_EQ(lang.charset(), 0);
    EXPECT_EQ(lang.fontName(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(lang.fontSize(), 8);
    EXPECT_FALSE(lang.showsBig5());
    EXPECT_EQ(UiText(lang, 1), QStringLiteral("&File"));
}

TEST(AppLang, ProcessWideObjectFollowsTheLanguageSetting)
{
    TAppLang& lang = appLang();
    EXPECT_EQ(&lang, &appLang());
    EXPECT_EQ(lang.systemLanguageId(), SystemLanguageIdFromLocale(QLocale::system().name()));

    ApplyLanguageSetting(1);
    ExpectSimplified(lang);
    EXPECT_EQ(UiText(9), QStringLiteral(u"通讯端口(&C)"));
    ApplyLanguageSetting(2);
    EXPECT_EQ(UiText(9), QStringLiteral(u"通訊端口(&C)"));
    ApplyLanguageSetting(0);
    EXPECT_EQ(UiText(9), QStringLiteral("&Communication Port"));
    ApplyLanguageSetting(9);
    EXPECT_EQ(lang.langType(), LangTypeFromSystemLanguageId(lang.systemLanguageId()));
}

} // namespace
} // namespace k3n
