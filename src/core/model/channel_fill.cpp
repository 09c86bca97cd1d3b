// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/channel_fill.h"
#include "model/record_layout.h"
#include "model/value_codings.h"
#include "text/own_texts.h"
#include <QRegularExpression>
#include <cmath>

namespace k3n {

namespace {

OwnText ReasonText(CellStore why)
{
    switch (why) {
    case CellStore::OutsideBand: return OwnText::CellOutsideBand;
    case CellStore::ChannelEmpty: return OwnText::CellChannelEmpty;
    case CellStore::NotOpen: return OwnText::CellNotOpen;
    default: return OwnText::CellUnreadable;
    }
}

}   // namespace

QString CellProblem::describe(const TAppLang& lang) const
{
    return Text(lang, OwnText::CellProblem)
        .arg(channel)
        .arg(ChannelHeader(lang, col), text, Text(lang, ReasonText(why)));
}

CellProblems FillDown(RadioData& data, int col, const std::vector<int>& channels, const TAppLang& lang)
{
    CellProblems problems;
    if (channels.empty())
        return problems;
    const QString text = ChannelCellText(data.record, channels.front(), col, lang);
    for (std::size_t i = 1; i < channels.size(); ++i) {
        const CellStore result = StoreChannelCell(data, channels[i], col, text, lang);
        if (result != CellStore::Stored)
            problems.push_back({channels[i], col, text, result});
    }
    return problems;
}

std::optional<int64_t> ReadStepKhz(const QString& text)
{
    static const QRegularExpression kStep(QStringLiteral("^[+-]?(\\d{1,6}(\\.\\d{0,3})?|\\.\\d{1,3})$"));
    const QString trimmed = text.trimmed();
    if (!kStep.match(trimmed).hasMatch())
        return std::nullopt;
    const int64_t hz = std::llround(trimmed.toDouble() * 1000);
    return hz != 0 ? std::optional<int64_t>(hz) : std::nullopt;
}

SeriesFill FillSeries(RadioData& data, int col, int first, int last, int64_t stepHz)
{
    SeriesFill fill;
    RadioRecord& r = data.record;
    const U32Field firstField = col == channel_col::Rx ? rec::ch::rx_freq(first) : rec::ch::tx_freq(first);
    if (!channel_col::IsFrequency(col) || !ChannelInUse(r, first) || r.get(firstField) == 0) {
        fill.outcome = SeriesFill::Outcome::FirstCellEmpty;
        return fill;
    }
    const int64_t start = r.get(firstField);
    for (int n = first; n <= last; ++n) {
        const int64_t hz = start + (n - first) * stepHz;
        if (hz < data.band_limits.lower || hz > data.band_limits.upper) {
            fill.outcome = SeriesFill::Outcome::LeavesBand;
            fill.leavingChannel = n;
            fill.leavingHz = uint32_t(std::clamp<int64_t>(hz, 0, UINT32_MAX));
            return fill;
        }
    }
    for (int n = first + 1; n <= last; ++n) {
        const uint32_t hz = data.SnapFrequency(uint32_t(start + (n - first) * stepHz));
        if (col == channel_col::Rx && !ChannelInUse(r, n))
            StartChannel(r, n, hz);
        else if (!ChannelInUse(r, n))
            fill.skipped.push_back({n, col, FormatFrequency(hz), CellStore::ChannelEmpty});
        else
            r.set(col == channel_col::Rx ? rec::ch::rx_freq(n) : rec::ch::tx_freq(n), hz);
    }
    return fill;
}

}   // namespace k3n
