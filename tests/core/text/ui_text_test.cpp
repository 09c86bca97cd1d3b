// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/app_lang.h"
#include "text/code_page.h"
#include "text/lang_of_type.h"
#include "text/ui_text.h"
#include "text/ui_text_tables.h"

#include <climits>
#include <gtest/gtest.h>

namespace k3n {
namespace {

using test::LangOfType;

TEST(UiText, NumbersOutsideTheTableGiveEmptyText)
{
    for (uint8_t type : {kLangEnglish, kLangSimplified, kLangTraditional}) {
        const TAppLang lang = LangOfType(type);
        for (int n : {-1, kUiTextCount, kUiTextCount + 1, INT_MAX, INT_MIN}) {
            EXPECT_TRUE(UiText(lang, n).isEmpty()) << int(type) << ' ' << n;
            EXPECT_TRUE(StoredUiText(UiTextTableFor(type), n).isEmpty()) << n;
        }
        EXPECT_FALSE(UiText(lang, 0).isEmpty());
        EXPECT_FALSE(UiText(lang, kUiTextCount - 1).isEmpty());
    }
    EXPECT_TRUE(UiText(-1).isEmpty());
    EXPECT_TRUE(UiText(kUiTextCount).isEmpty());
}

TEST(UiText, EnglishTableIsAsciiAndShownAsWritten)
{
    const TAppLang lang = LangOfType(kLangEnglish);
    for (int n = 0; n < kUiTextCount; ++n) {
        const QByteArray stored = StoredUiText(UiTextTable::English, n);
        for (char c : stored)
            ASSERT_LT(static_cast<unsigned char>(c), 0x80) << "text " << n;
        EXPECT_EQ(UiText(lang, n), QString::fromLatin1(stored)) << n;
    }
    // Wording is kept as the program shows it, slips included.
    EXPECT_EQ(UiText(lang, 154), QStringLiteral("Cannel"));
    EXPECT_EQ(UiText(lang, 66), QStringLiteral("Clcok"));
    EXPECT_EQ(UiText(lang, 296), QStringLiteral("All "));
}

TEST(UiText, EverySimplifiedTextRoundTripsThroughGbk)
{
    const TAppLang lang = LangOfType(kLangSimplified);
    for (int n = 0; n < kUiTextCount; ++n) {
        const QString source = QString::fromUtf8(detail::kSimplifiedTexts[n]);
        bool encoded = false;
        const QByteArray gbk = EncodeGbk(source, &encoded);
        ASSERT_TRUE(encoded) << "text " << n;
        EXPECT_EQ(StoredUiText(UiTextTable::Simplified, n), gbk) << n;
        bool decoded = false;
        EXPECT_EQ(DecodeGbk(gbk, &decoded), source) << n;
        EXPECT_TRUE(decoded) << n;
        EXPECT_EQ(UiText(lang, n), source) << n;
    }
}

TEST(UiText, EveryTraditionalTextDecodesFromBig5AndTheTableDiffersFromSimplifiedAtFourNumbers)
{
    const TAppLang lang = LangOfType(kLangTraditional);
    int differences = 0;
    for (int n = 0; n < kUiTextCount; ++n) {
        const QByteArray stored = StoredUiText(UiTextTable::Traditional, n);
        differences += stored != StoredUiText(UiTextTable::Simplified, n);
        bool complete = false;
        const QString shown = DecodeBig5(lang.FromGBK(stored), &complete);
        EXPECT_TRUE(complete) << "text " << n;
        EXPECT_FALSE(shown.contains(QChar(0xFFFD))) << n;
        // Conversion is character for character; a '？' must come from the text itself.
        const QString simplified = DecodeGbk(stored);
        EXPECT_EQ(shown.size(), simplified.size()) << n;
        EXPECT_EQ(shown.count(QChar(0xFF1F)), simplified.count(QChar(0xFF1F))) << n;
        EXPECT_EQ(UiText(lang, n), shown) << n;
    }
    EXPECT_EQ(differences, 4);
    EXPECT_EQ(UiText(lang, 48), QStringLiteral(u"超時預警時間(秒)"));
    EXPECT_EQ(UiText(lang, 49), QStringLiteral(u"超時禁發時間(秒)"));
    EXPECT_EQ(UiText(lang, 60), QStringLiteral(u"提示鎖"));
    EXPECT_EQ(UiText(lang, 68), QStringLiteral(u"按鍵音"));
    EXPECT_EQ(UiText(lang, 155), QStringLiteral(u"清除所有數據？"));
    EXPECT_EQ(UiText(lang, 12), QStringLiteral(u"中文(繁體)(&T)"));
    EXPECT_EQ(UiText(lang, 120), QStringLiteral(u"10分鐘"));   // not the surname form 鍾
}

TEST(UiText, AboutBoxCompanyAndAddressAreTheSameInAllLanguages)
{
    for (int n : {164, 165}) {
        const QString english = UiText(LangOfType(kLangEnglish), n);
        EXPECT_EQ(UiText(LangOfType(kLangSimplified), n), english);
        EXPECT_EQ(UiText(LangOfType(kLangTraditional), n), english);
    }
    EXPECT_FALSE(UiText(LangOfType(kLangEnglish), 164).isEmpty());
    EXPECT_TRUE(UiText(LangOfType(kLangEnglish), 165).isEmpty()) << "no web address until the project has one";
}

TEST(UiText, TheAboutBoxShowsTheProjectsVersion)
{
    // The version is stated once, in the build; the about box's text must follow it.
    for (uint8_t type : {kLangEnglish, kLangSimplified, kLangTraditional})
        EXPECT_TRUE(UiText(LangOfType(type), 163).endsWith(QStringLiteral("V" K3N_VERSION))) << int(type);
}

TEST(Localized, ChoosesByLanguageAndConvertsLikeTheMainTable)
{
    const LocalText ok{"确认", "确认", "OK"};
    EXPECT_EQ(Localized(LangOfType(kLangEnglish), ok), QStringLiteral("OK"));
    EXPECT_EQ(Localized(LangOfType(kLangSimplified), ok), QStringLiteral(u"确认"));
    EXPECT_EQ(Localized(LangOfType(kLangTraditional), ok), QStringLiteral(u"確認"));
    EXPECT_EQ(Localized(LangOfType(7), ok), QStringLiteral("OK"));

    const LocalText port{"自动搜索端口", "自動搜索端口", "AutoSeachPort"};
    EXPECT_EQ(Localized(LangOfType(kLangTraditional), port), QStringLiteral(u"自動搜索端口"));

    const LocalText missing{nullptr, nullptr, nullptr};
    EXPECT_TRUE(Localized(LangOfType(kLangSimplified), missing).isEmpty());
}

TEST(CodePage, BadInputIsReplacedAndTheRestKept)
{
    bool complete = true;
    EXPECT_EQ(DecodeGbk(QByteArray("A\xFF"
                                   "B"),
                        &complete),
              QStringLiteral(u"A\uFFFDB"));
    EXPECT_FALSE(complete);
    complete = true;
    EXPECT_EQ(DecodeBig5(QByteArray("A\xA4"), &complete), QStringLiteral(u"A\uFFFD"));
    EXPECT_FALSE(complete);
    complete = true;
    EXPECT_EQ(EncodeGbk(QStringLiteral(u"a\U0001F600b"), &complete), QByteArray("a?b"));
    EXPECT_FALSE(complete);
    complete = false;
    EXPECT_EQ(DecodeGbk(EncodeGbk(QStringLiteral(u"频率"), &complete)), QStringLiteral(u"频率"));
    EXPECT_TRUE(complete);
}

}   // namespace
}   // namespace k3n
