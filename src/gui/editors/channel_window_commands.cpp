// SPDX-License-Identifier: GPL-3.0-or-later
// The channel grid's Edit commands: the clipboard, inserting, removing and
// moving channels, and filling a column. Each command is one undo step; what
// it could not do is listed in a message.
#include "editors/channel_window.h"
#include "model/channel_moves.h"
#include "model/channel_sheet.h"
#include "model/record_layout.h"
#include "model/value_codings.h"
#include "text/app_lang.h"
#include "text/own_texts.h"
#include "widgets/list_windows.h"
#include "widgets/message_windows.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMimeData>
#include <QSignalBlocker>

namespace k3n {

namespace {

// The channels' own 16 bytes each, so pasting them back restores them exactly.
constexpr const char* kChannelEntriesMime = "application/x-k3n-channel-entries";

QByteArray EncodeEntries(const RadioRecord& record, const std::vector<int>& channels)
{
    QByteArray bytes;
    for (int channel : channels) {
        const ChannelEntry entry = ReadChannelEntry(record, channel);
        bytes.append(reinterpret_cast<const char*>(entry.data()), qsizetype(entry.size()));
    }
    return bytes;
}

std::vector<ChannelEntry> DecodeEntries(const QByteArray& bytes)
{
    std::vector<ChannelEntry> entries;
    if (bytes.size() % rec::kChannelSize != 0)
        return entries;
    for (qsizetype at = 0; at < bytes.size(); at += rec::kChannelSize) {
        ChannelEntry entry{};
        std::copy_n(bytes.constData() + at, entry.size(), reinterpret_cast<char*>(entry.data()));
        entries.push_back(entry);
    }
    return entries;
}

// "Paste channel 5" for one channel, "Paste 16 channels" for more.
StepName ChannelsStep(OwnText one, OwnText many, int count, int first)
{
    return [=] { return count == 1 ? Text(one).arg(first) : Text(many).arg(count); };
}

StepName OwnStep(OwnText text)
{
    return [text] { return Text(text); };
}

QStringList Described(const ReferenceNotes& notes)
{
    QStringList lines;
    for (const ReferenceNote& note : notes)
        lines << note.describe(appLang());
    return lines;
}

QStringList Described(const CellProblems& problems)
{
    QStringList lines;
    for (const CellProblem& problem : problems)
        lines << problem.describe(appLang());
    return lines;
}

bool IsUnbroken(const std::vector<int>& rows)
{
    return !rows.empty() && rows.back() - rows.front() + 1 == int(rows.size());
}

}   // namespace

bool TChInforDlg::hasCommand(EditCommand) const
{
    return true;
}

bool TChInforDlg::commandApplies(EditCommand command) const
{
    const std::vector<int> rows = StringGrid1->selectedRows();
    switch (command) {
    case EditCommand::Cut:
    case EditCommand::Copy:
    case EditCommand::Delete: return !rows.empty();
    case EditCommand::Paste: {
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        return mime && (mime->hasFormat(kChannelEntriesMime) || mime->hasText());
    }
    case EditCommand::MoveUp:
    case EditCommand::MoveDown: {
        const std::vector<int> channels = selectedChannels();
        return IsUnbroken(channels)
            && CanMoveChannelBlock(channels.front(), channels.back(), command == EditCommand::MoveUp ? -1 : 1);
    }
    case EditCommand::FillDown: return fillRange().has_value();
    case EditCommand::FillSeries: {
        const auto range = fillRange();
        return range && channel_col::IsFrequency(range->col);
    }
    default: return true;
    }
}

void TChInforDlg::runCommand(EditCommand command)
{
    // What an open cell holds is an edit of its own, made before the command.
    StringGrid1->commitOpenCell();
    switch (command) {
    case EditCommand::Copy: copyChannels(); break;
    case EditCommand::Cut: clearChannels(true); break;
    case EditCommand::Delete: clearChannels(false); break;
    case EditCommand::Paste: pasteChannels(); break;
    case EditCommand::SelectAll: StringGrid1->selectAll(); break;
    case EditCommand::InsertChannel: insertChannel(); break;
    case EditCommand::RemoveChannel: removeChannels(); break;
    case EditCommand::MoveUp: moveChannels(-1); break;
    case EditCommand::MoveDown: moveChannels(1); break;
    case EditCommand::FillDown: fillDown(); break;
    case EditCommand::FillSeries: fillSeries(); break;
    }
}

std::vector<int> TChInforDlg::selectedChannels() const
{
    std::vector<int> channels;
    for (int row : StringGrid1->selectedRows())
        channels.push_back(channelOfRow(row));
    return channels;
}

int TChInforDlg::targetChannel() const
{
    const std::vector<int> channels = selectedChannels();
    return channels.empty() ? channelOfRow(std::max(StringGrid1->currentRow(), 1)) : channels.front();
}

std::optional<CellGrid::ColumnRange> TChInforDlg::fillRange() const
{
    if (auto range = StringGrid1->selectedColumnRange())
        return range;
    const std::vector<int> rows = StringGrid1->selectedRows();
    const int col = StringGrid1->currentColumn();
    if (rows.size() < 2 || !IsUnbroken(rows) || col < 1 || col >= kColumnCount)
        return std::nullopt;
    return CellGrid::ColumnRange{col, rows.front(), rows.back()};
}

void TChInforDlg::endCommand(StepName name, int channel, const QStringList& leftOut)
{
    const int group = (std::clamp(channel, 1, rec::kChannelCount) - 1) / kRowsPerGroup;
    if (group != shownGroup()) {
        // Part of the command's step, not a group change of its own.
        data_.record.set(rec::channel_group, uint8_t(group));
        const QSignalBlocker block(cbChInforGroup);
        cbChInforGroup->setCurrentIndex(group);
    }
    StringGrid1->showAllRows();
    const QString title = name();
    emit commandEnded(std::move(name));
    if (!leftOut.isEmpty()) {
        ReportWindow report(title, Text(OwnText::NoticeNotEverythingDone), leftOut, this);
        report.exec();
    }
}

void TChInforDlg::copyChannels() const
{
    const std::vector<int> channels = selectedChannels();
    if (channels.empty())
        return;
    auto* mime = new QMimeData;
    mime->setText(ChannelSheetText(data_.record, channels, appLang()));
    mime->setData(kChannelEntriesMime, EncodeEntries(data_.record, channels));
    QGuiApplication::clipboard()->setMimeData(mime);
}

void TChInforDlg::clearChannels(bool cut)
{
    const std::vector<int> channels = selectedChannels();
    if (channels.empty())
        return;
    if (cut)
        copyChannels();
    const ReferenceNotes notes = ClearChannels(data_.record, channels);
    const int count = int(channels.size());
    endCommand(cut ? ChannelsStep(OwnText::StepCutChannel, OwnText::StepCutChannels, count, channels.front())
                   : ChannelsStep(OwnText::StepDeleteChannel, OwnText::StepDeleteChannels, count, channels.front()),
               channels.front(), Described(notes));
}

void TChInforDlg::pasteChannels()
{
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    const int first = targetChannel();
    if (mime && mime->hasFormat(kChannelEntriesMime)) {
        const std::vector<ChannelEntry> entries = DecodeEntries(mime->data(kChannelEntriesMime));
        if (entries.empty())
            return;
        const EntriesPaste paste = PasteChannelEntries(data_, first, entries);
        QStringList leftOut;
        if (paste.beyondLastChannel > 0)
            leftOut << CountedText(paste.beyondLastChannel, OwnText::PasteEntriesBeyondLastChannelOne,
                                   OwnText::PasteEntriesBeyondLastChannel);
        for (int channel : paste.outsideBand)
            leftOut << Text(OwnText::PasteEntryOutsideBand).arg(channel);
        leftOut << Described(paste.notes);
        emit confirmed(CountedText(paste.written, OwnText::StatusPastedChannel, OwnText::StatusPastedChannels));
        endCommand(ChannelsStep(OwnText::StepPasteChannel, OwnText::StepPasteChannels, paste.written, first), first,
                   leftOut);
        const int row = first - kRowsPerGroup * shownGroup();
        StringGrid1->selectRows(row, std::min(row + int(entries.size()) - 1, kRowsPerGroup));
        return;
    }
    if (!mime || !mime->hasText())
        return;
    const int firstColumn = StringGrid1->selectedRows().empty() ? std::max(StringGrid1->currentColumn(), 1) : 1;
    const SheetPaste paste = PasteChannelSheet(data_, mime->text(), first, firstColumn, appLang());
    emit confirmed(CountedText(paste.rowsPasted, OwnText::StatusPastedChannel, OwnText::StatusPastedChannels));
    endCommand(ChannelsStep(OwnText::StepPasteChannel, OwnText::StepPasteChannels, paste.rowsPasted, first), first,
               paste.describe(appLang()));
}

void TChInforDlg::insertChannel()
{
    const int at = targetChannel();
    if (ChannelInUse(data_.record, rec::kChannelCount) && !AskOkCancel(this, Text(OwnText::AskDropLastChannel)))
        return;
    const ReferenceNotes notes = InsertEmptyChannel(data_.record, at);
    endCommand([at] { return Text(OwnText::StepInsertChannel).arg(at); }, at, Described(notes));
}

void TChInforDlg::removeChannels()
{
    std::vector<int> channels = selectedChannels();
    if (channels.empty())
        channels.push_back(targetChannel());
    const ReferenceNotes notes = RemoveChannels(data_.record, channels);
    endCommand(
        ChannelsStep(OwnText::StepRemoveChannel, OwnText::StepRemoveChannels, int(channels.size()), channels.front()),
        channels.front(), Described(notes));
}

void TChInforDlg::moveChannels(int by)
{
    const std::vector<int> channels = selectedChannels();
    if (!IsUnbroken(channels) || !CanMoveChannelBlock(channels.front(), channels.back(), by))
        return;
    const ReferenceNotes notes = MoveChannelBlock(data_.record, channels.front(), channels.back(), by);
    const int first = channels.front() + by, last = channels.back() + by;
    endCommand(OwnStep(by < 0 ? OwnText::StepMoveChannelsUp : OwnText::StepMoveChannelsDown), by < 0 ? first : last,
               Described(notes));
    // The moved rows stay selected, as far as the group shows them.
    const int base = kRowsPerGroup * shownGroup();
    StringGrid1->selectRows(std::max(first - base, 1), std::min(last - base, kRowsPerGroup));
}

void TChInforDlg::fillDown()
{
    const auto range = fillRange();
    if (!range)
        return;
    std::vector<int> channels;
    for (int row = range->first; row <= range->last; ++row)
        channels.push_back(channelOfRow(row));
    const CellProblems problems = FillDown(data_, range->col, channels, appLang());
    endCommand(OwnStep(OwnText::StepFillDown), channels.front(), Described(problems));
}

void TChInforDlg::fillSeries()
{
    const auto range = fillRange();
    if (!range || !channel_col::IsFrequency(range->col))
        return;
    bool ok = false;
    const QString text = QInputDialog::getText(this, Text(OwnText::FillSeriesTitle), Text(OwnText::FillSeriesPrompt),
                                               QLineEdit::Normal, QString(), &ok);
    if (!ok)
        return;
    const std::optional<int64_t> step = ReadStepKhz(text);
    if (!step) {
        ShowNotice(this, Text(OwnText::FillSeriesBadStep).arg(text));
        return;
    }
    const int first = channelOfRow(range->first);
    const SeriesFill fill = FillSeries(data_, range->col, first, channelOfRow(range->last), *step);
    switch (fill.outcome) {
    case SeriesFill::Outcome::FirstCellEmpty: ShowNotice(this, Text(OwnText::FillSeriesFirstEmpty)); return;
    case SeriesFill::Outcome::LeavesBand:
        ShowNotice(this,
                   Text(OwnText::FillSeriesLeavesBand)
                       .arg(fill.leavingChannel)
                       .arg(FormatFrequency(fill.leavingHz), FormatFrequency(data_.band_limits.lower),
                            FormatFrequency(data_.band_limits.upper)));
        return;
    case SeriesFill::Outcome::Filled: endCommand(OwnStep(OwnText::StepFillSeries), first, Described(fill.skipped));
    }
}

}   // namespace k3n
