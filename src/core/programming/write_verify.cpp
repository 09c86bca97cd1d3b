// SPDX-License-Identifier: GPL-3.0-or-later
#include "programming/write_verify.h"
#include "model/editor_page.h"
#include "programming/radio_backups.h"
#include "programming/transfer_plan.h"
#include "text/own_texts.h"
#include "text/ui_text.h"
#include "text/ui_text_ids.h"
#include <algorithm>

namespace k3n {

namespace {

constexpr int kImageChannelSize = 16;

QString Caption(int text)
{
    return PlainCaption(UiText(text)).trimmed();
}

QString PageName(EditorPage page)
{
    return Caption(EditorPageText(page));
}

// The page whose settings a configuration address holds (below the channels).
EditorPage PageOfSettings(uint16_t address)
{
    if (address < 0x100)
        return EditorPage::TwoTone;
    if (address < 0x300)
        return EditorPage::FiveTone;
    if (address < 0x600)
        return EditorPage::Dtmf;
    if (address < 0x620 || (address >= radio_addr::kScramblerWords && address < radio_addr::kProgramTime))
        return EditorPage::General;
    if (address < 0x640)
        return EditorPage::Keys;
    if (address < 0x660)
        return EditorPage::Scan;
    return EditorPage::Emergency;
}

}   // namespace

const ImageMask& VerifiedImageBytes()
{
    static const ImageMask mask = [] {
        ImageMask sent;
        for (const PlanStep& step : TransferPlan(ConfigurationWriteRequest(RadioData(), {}, true)))
            if (step.data == StepData::Image)
                for (int i = 0; i < step.size; ++i)
                    sent.set(step.address + i);
        ImageMask kept = ImageBytesFromRecord();
        for (int i = 0; i < 6; ++i)
            kept.set(radio_addr::kProgramTime + i);
        return sent & kept;
    }();
    return mask;
}

std::vector<ImageDifference> CompareWrittenImage(const MemoryImage& sent, const MemoryImage& readBack)
{
    std::vector<ImageDifference> differences;
    const ImageMask& compared = VerifiedImageBytes();
    for (std::size_t a = 0; a < kMemoryImageSize; ++a)
        if (compared.test(a) && sent[a] != readBack[a])
            differences.push_back({uint16_t(a), sent[a], readBack[a]});
    return differences;
}

QString ImagePlaceName(uint16_t address)
{
    if (address >= radio_addr::kChannels && address < radio_addr::kChannelsEnd) {
        const int offset = address - radio_addr::kChannels;
        const int channel = offset / kImageChannelSize + 1;
        const int field = offset % kImageChannelSize;
        QString name = QStringLiteral("%1 %2").arg(Caption(ui::kChannel)).arg(channel);
        if (field >= 1 && field <= 4)
            name += QStringLiteral(", ") + Caption(ui::kRxFreq);
        else if (field >= 5 && field <= 8)
            name += QStringLiteral(", ") + Caption(ui::kTxFreq);
        return name;
    }
    if (address >= radio_addr::kProgramTime && address < radio_addr::kConfigEnd)
        return Text(OwnText::VerifyProgramTime);
    if (address < radio_addr::kConfigEnd)
        return PageName(PageOfSettings(address));
    return QStringLiteral("-");
}

QString DescribeDifferences(const std::vector<ImageDifference>& differences, std::size_t count)
{
    QStringList places;
    for (std::size_t i = 0; i < differences.size() && i < count; ++i)
        places << QStringLiteral("0x%1 (%2)")
                      .arg(QString::number(differences[i].address, 16).toUpper().rightJustified(4, QChar('0')),
                           ImagePlaceName(differences[i].address));
    QString text = places.join(QStringLiteral(", "));
    if (differences.size() > count)
        text += Text(OwnText::VerifyMoreDifferences).arg(differences.size() - count);
    return text;
}

bool SameRadio(const MemoryImage& a, const MemoryImage& b)
{
    const auto first = std::ptrdiff_t(kRadioIdentityAddress);
    const auto last = first + std::ptrdiff_t(kRadioIdentitySize);
    return std::equal(a.begin() + first, a.begin() + last, b.begin() + first);
}

QString RadioIdentityText(const MemoryImage& image)
{
    return SerialNumberInFileName(std::span<const uint8_t, 8>(image.data() + radio_addr::kSerialNumber, 8));
}

std::vector<ImageDifference> CompareUnwrittenBytes(const MemoryImage& backup, const MemoryImage& readBack)
{
    constexpr std::pair<unsigned, unsigned> kUnwritten[] = {
        {radio_addr::kConfigEnd, 0x06C0},
        {kRadioIdentityAddress, kRadioIdentityAddress + kRadioIdentitySize},
    };
    std::vector<ImageDifference> differences;
    for (const auto& [first, end] : kUnwritten)
        for (unsigned a = first; a < end; ++a)
            if (backup[a] != readBack[a])
                differences.push_back({uint16_t(a), backup[a], readBack[a]});
    return differences;
}

}   // namespace k3n
