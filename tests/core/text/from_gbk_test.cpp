// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/app_lang.h"
#include "text/ui_text.h"

#include <QByteArray>
#include <QString>
#include <gtest/gtest.h>
#include <iconv.h>
#include <random>

namespace k3n {
namespace {

// Straight glibc iconv, kept apart from the program's own converter so the
// expectations do not come from the code under test. Empty on any failure.
QByteArray Iconv(const char* to, const char* from, const QByteArray& input)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    QByteArray out(input.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(input.constData());
    size_t inLeft = input.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1) || inLeft != 0)
        return {};
    out.truncate(out.size() - static_cast<qsizetype>(outLeft));
    return out;
}

QByteArray Gbk(const QString& s)
{
    return Iconv("GBK", "UTF-8", s.toUtf8());
}
QByteArray Big5(const QString& s)
{
    return Iconv("BIG5", "UTF-8", s.toUtf8());
}
QString FromBig5(const QByteArray& b)
{
    return QString::fromUtf8(Iconv("UTF-8", "BIG5", b));
}

TAppLang Traditional()
{
    TAppLang lang(kLangIdEnglishUs);
    lang.fSetLangType(kLangTraditional);
    return lang;
}

TEST(FromGBK, EveryTextUnchangedUnlessTraditionalAndAsciiAlways)
{
    QByteArray ascii;
    for (int c = 1; c < 0x80; ++c)
        ascii.append(static_cast<char>(c));
    for (uint8_t type : {0, 1, 2, 3, 4, 200}) {
        TAppLang lang(kLangIdChineseTaiwan);
        lang.fSetLangType(type);
        EXPECT_EQ(lang.FromGBK(ascii), ascii) << int(type);
        EXPECT_EQ(lang.FromGBK(QByteArray()), QByteArray()) << int(type);
        if (type == kLangTraditional)
            continue;
        for (UiTextTable table : {UiTextTable::English, UiTextTable::Simplified, UiTextTable::Traditional}) {
            for (int n = 0; n < kUiTextCount; ++n) {
                const QByteArray stored = StoredUiText(table, n);
                ASSERT_EQ(lang.FromGBK(stored), stored) << int(type) << " text " << n;
            }
        }
    }
}

TEST(FromGBK, KnownTextsBecomeTheirTraditionalBig5FormWithAsciiKeptInPlace)
{
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"发", u"發"},         {u"频", u"頻"},
        {u"设", u"設"},         {u"确认", u"確認"},
        {u"简", u"簡"},         {u"中文", u"中文"},
        {u"體", u"體"},   // already Traditional in GBK
        {u"？，：", u"？，："}, {u"通讯端口(&C)", u"通訊端口(&C)"},
    };
    const TAppLang lang = Traditional();
    for (const auto& [simplified, traditional] : cases) {
        const QString text = QString::fromUtf16(simplified);
        const QByteArray gbk = Gbk(text);
        const QByteArray expected = Big5(QString::fromUtf16(traditional));
        ASSERT_FALSE(gbk.isEmpty()) << text.toStdString();
        ASSERT_EQ(expected.size(), gbk.size()) << text.toStdString();
        EXPECT_EQ(lang.FromGBK(gbk).toHex(), expected.toHex()) << text.toStdString();
    }
}

TEST(FromGBK, EveryGbkCodeGivesOneBig5Character)
{
    const TAppLang lang = Traditional();
    int placeholders = 0;
    for (int b1 = 0x81; b1 <= 0xFE; ++b1) {
        for (int b2 = 0x40; b2 <= 0xFE; ++b2) {
            QByteArray in;
            in.append(static_cast<char>(b1)).append(static_cast<char>(b2));
            const QString shown = FromBig5(lang.FromGBK(in));
            ASSERT_EQ(shown.size(), 1) << std::hex << b1 << ' ' << b2;
            if (shown == QStringLiteral(u"？"))
                ++placeholders;
        }
    }
    // Only codes that are not GBK characters or have no Big5 form become '？'.
    EXPECT_GT(placeholders, 0);
    EXPECT_LT(placeholders, 24066 / 2);
}

TEST(FromGBK, CodesOutsideGbkBecomeTheQuestionMarkAndBytesThatDoNotFormAPairAreCopied)
{
    const TAppLang lang = Traditional();
    const QByteArray questionMark = Big5(QStringLiteral(u"？"));
    EXPECT_EQ(lang.FromGBK(QByteArray("\x81\x7F")), questionMark);   // 0x7F is never a GBK trail byte
    EXPECT_EQ(lang.FromGBK(QByteArray("\xFE\xFE")), questionMark);   // last table position, unassigned

    const QByteArray zhong = Gbk(QStringLiteral(u"中"));
    const QByteArray zhongBig5 = Big5(QStringLiteral(u"中"));

    // A lone lead byte at the end.
    EXPECT_EQ(lang.FromGBK(QByteArray("AB\xB5")), QByteArray("AB\xB5"));
    EXPECT_EQ(lang.FromGBK(zhong + '\xB5'), zhongBig5 + '\xB5');
    // Lead byte followed by a byte below 0x40 or by 0xFF.
    EXPECT_EQ(lang.FromGBK(QByteArray("\xB5\x30")), QByteArray("\xB5\x30"));
    EXPECT_EQ(lang.FromGBK(QByteArray("\xB5\xFF")), QByteArray("\xB5\xFF"));
    // 0x80 and 0xFF are never lead bytes.
    EXPECT_EQ(lang.FromGBK(QByteArray("\x80\x41\xFF\x41")), QByteArray("\x80\x41\xFF\x41"));
    // A pair consumes both bytes, so the next pair starts right after it.
    const QByteArray next("\xD0\x41");
    EXPECT_EQ(lang.FromGBK(zhong + next), zhongBig5 + lang.FromGBK(next));
    EXPECT_NE(lang.FromGBK(next), next);
}

TEST(FromGBK, OutputLengthEqualsInputLength)
{
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(1, 255);
    std::uniform_int_distribution<int> length(0, 40);
    const TAppLang lang = Traditional();
    for (int round = 0; round < 2000; ++round) {
        QByteArray in;
        for (int i = length(random); i > 0; --i)
            in.append(static_cast<char>(byte(random)));
        ASSERT_EQ(lang.FromGBK(in).size(), in.size()) << in.toHex().toStdString();
    }
}

}   // namespace
}   // namespace k3n
