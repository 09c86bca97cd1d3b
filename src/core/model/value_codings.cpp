// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/value_codings.h"
#include <QRegularExpression>
#include <cmath>

namespace k3n {

namespace {
constexpr const char* kCtcss[kCtcssCount] = {
    "Off",   "62.5",  "67.0",  "69.3",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",
    "91.5",  "94.8",  "97.4",  "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3",
    "131.8", "136.5", "141.3", "146.2", "151.4", "156.7", "159.8", "162.2", "165.5", "167.9", "171.3",
    "173.8", "177.3", "179.9", "183.5", "186.2", "189.9", "192.8", "196.6", "199.5", "203.5", "206.5",
    "210.7", "218.1", "225.7", "229.1", "233.6", "241.8", "250.3", "254.1"};

constexpr uint16_t kDcsCodes[kDcsCodeCount] = {
    23,  25,  26,  31,  32,  43,  47,  51,  53,  54,  65,  71,  72,  73,  74,  114, 115, 116, 122, 125, 131,
    132, 134, 143, 145, 152, 155, 156, 162, 165, 172, 174, 205, 212, 223, 225, 226, 243, 244, 245, 246, 251,
    252, 255, 261, 263, 265, 266, 271, 274, 306, 311, 315, 325, 331, 332, 343, 346, 351, 356, 364, 365, 371,
    411, 412, 413, 423, 431, 432, 445, 446, 452, 454, 455, 462, 464, 465, 466, 503, 506, 516, 523, 526, 532,
    546, 565, 606, 612, 624, 627, 631, 632, 645, 654, 662, 664, 703, 712, 723, 731, 732, 734, 743, 754};

constexpr double kUserCtcssMin = 62.5;
constexpr double kUserCtcssMax = 262.0;
}   // namespace

QString FormatFrequency(uint32_t hz)
{
    if (hz == 0)
        return QStringLiteral("0");
    QString text;
    text.reserve(9);
    for (uint32_t div = 100000000; div >= 1000000; div /= 10)
        text += QChar('0' + int(hz / div % 10));
    text += '.';
    for (uint32_t div = 100000; div >= 10; div /= 10)
        text += QChar('0' + int(hz / div % 10));
    return text;
}

std::optional<uint32_t> ReadFrequencyText(const QString& text)
{
    static const QRegularExpression kNumber(QStringLiteral("^(\\d{1,4}(\\.\\d*)?|\\.\\d+)$"));
    if (!kNumber.match(text).hasMatch())
        return std::nullopt;
    return ParseFrequencyText(text);
}

uint32_t ParseFrequencyText(const QString& text)
{
    // Decimal arithmetic on the digits themselves, so 136.025 is exactly 136025000.
    uint64_t hz = 0;
    uint64_t fractionScale = 0;   // 0 while in the integer part
    for (QChar c : text) {
        if (c == '.') {
            if (fractionScale != 0)
                break;
            fractionScale = 1000000;
            hz *= 1000000;
            continue;
        }
        if (!c.isDigit())
            break;
        const int digit = c.digitValue();
        if (fractionScale == 0) {
            hz = hz * 10 + digit;
            if (hz > UINT32_MAX)
                return UINT32_MAX;
        } else if (fractionScale > 1) {
            fractionScale /= 10;
            hz += digit * fractionScale;
        }
    }
    if (fractionScale == 0)
        hz *= 1000000;
    return hz > UINT32_MAX ? UINT32_MAX : uint32_t(hz);
}

const char* CtcssText(int entry)
{
    return kCtcss[entry];
}

uint16_t DcsOctalCode(int number)
{
    return kDcsCodes[number];
}

QString DcsText(int entry)
{
    const bool inverted = entry >= kDcsCodeCount;
    return QStringLiteral("D%1%2").arg(kDcsCodes[entry % kDcsCodeCount], 3, 10, QChar('0')).arg(inverted ? 'I' : 'N');
}

QString FormatSubAudio(uint8_t code, bool inverted)
{
    if (code < kCtcssCount)
        return QString::fromLatin1(kCtcss[code]);
    if (code >= kDcsCodeBase && code < kDcsCodeBase + kDcsCodeCount)
        return DcsText(code - kDcsCodeBase + (inverted ? kDcsCodeCount : 0));
    return QStringLiteral("?");
}

const QStringList& SubAudioList()
{
    static const QStringList list = [] {
        QStringList l;
        for (int i = 0; i < kCtcssCount; ++i)
            l << QString::fromLatin1(kCtcss[i]);
        for (int i = 0; i < kDcsTableCount; ++i)
            l << DcsText(i);
        return l;
    }();
    return list;
}

SubAudioChoice SubAudioFromListPosition(int p)
{
    if (p < kCtcssCount)
        return {uint8_t(p), true, false};
    if (p < kCtcssCount + kDcsCodeCount)
        return {uint8_t(p + 76), false, false};
    return {uint8_t(p - 28), false, true};
}

double ParseUserCtcss(const QString& text)
{
    bool ok = false;
    double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return kUserCtcssMin;
    if (v < kUserCtcssMin)
        return kUserCtcssMin;
    if (v > kUserCtcssMax)
        return kUserCtcssMax;
    return v;
}

QString FormatUserCtcss(double hz)
{
    return QString::number(hz, 'g', 15);
}

uint16_t ParseUserDcs(const QString& text)
{
    uint16_t v = 0;
    int digits = 0;
    for (QChar c : text) {
        if (c < '0' || c > '7' || digits == 3)
            break;
        v = uint16_t(v * 10 + c.digitValue());
        ++digits;
    }
    return v;
}

}   // namespace k3n
