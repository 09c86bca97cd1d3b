// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/app_lang.h"
#include "text/lang_of_type.h"
#include "text/own_texts.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace k3n {
namespace {

using test::LangOfType;

// Every text exists in the three languages, the Chinese ones survive the GBK
// (and Big5) round trip without replacement characters, and each language's
// text takes the same placeholders.
TEST(OwnTexts, EveryTextIsThereInEachLanguageWithTheSamePlaceholders)
{
    const TAppLang english = LangOfType(kLangEnglish);
    const TAppLang simplified = LangOfType(kLangSimplified);
    const TAppLang traditional = LangOfType(kLangTraditional);
    static const QRegularExpression placeholder(QStringLiteral("%[0-9]"));
    const auto placeholders = [](const QString& text) {
        QStringList found;
        for (auto it = placeholder.globalMatch(text); it.hasNext();)
            found << it.next().captured();
        found.sort();
        return found;
    };
    for (int n = 0; n < int(OwnText::Count); ++n) {
        const OwnText id = OwnText(n);
        const QString en = Text(english, id);
        ASSERT_FALSE(en.isEmpty()) << n;
        for (const TAppLang* lang : {&simplified, &traditional}) {
            const QString zh = Text(*lang, id);
            EXPECT_NE(zh, en) << n;
            EXPECT_FALSE(zh.contains(QChar::ReplacementCharacter) || zh.contains('?')) << n << ' ' << zh.toStdString();
            EXPECT_EQ(placeholders(zh), placeholders(en)) << n;
        }
    }
    // Traditional is the simplified text converted (a word can be the same in both).
    EXPECT_EQ(Text(traditional, OwnText::ReasonDiskFull), QString::fromUtf8("磁盤已滿"));
    EXPECT_TRUE(Text(english, OwnText::Count).isEmpty());
}

}   // namespace
}   // namespace k3n
