// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/channel_window.h"

#include "editors/editor_controls.h"
#include "model/channel_cells.h"
#include "model/record_layout.h"
#include "model/value_codings.h"
#include "text/app_lang.h"
#include "text/own_texts.h"
#include "text/ui_text.h"
#include "text/ui_text_ids.h"
#include "widgets/cell_grid.h"
#include "widgets/input_filters.h"
#include "widgets/message_windows.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace k3n {

namespace {

using Col = TChInforDlg::Col;

// Room around the texts of the two read-only displays.
constexpr int kDisplayPadding = 8;
// The grid's text size: the 15 columns with their one-line headers must fit
// the width of a 1280-pixel screen beside the page tree.
constexpr qreal kGridMaxPointSize = 8;

QStringList signalNumberTexts(unsigned system)
{
    return NumberTexts(1, SignalNumberCount(system));
}

// The headers and texts of a column in every language, so a language switch
// never makes the grid scroll.
QStringList textsInEveryLanguage(int col)
{
    static const std::array<TAppLang, 3> languages = {TAppLang(kLangIdEnglishUs), TAppLang(kLangIdChinesePrc),
                                                      TAppLang(kLangIdChineseTaiwan)};
    QStringList texts;
    for (const TAppLang& lang : languages)
        texts << ChannelHeader(lang, col) << ChannelColumnTexts(lang, col);
    return texts;
}

HeaderText headerOf(int col)
{
    return [col] { return ChannelHeader(appLang(), col); };
}

}   // namespace

TChInforDlg::TChInforDlg(RadioData& data, QWidget* parent) : EditorWindow(data, parent)
{
    setObjectName("TChInforDlg");
    buildControls();
    RefreshAll();
}

void TChInforDlg::buildControls()
{
    auto makeList = [this](const char* name) {
        auto* list = new QComboBox(this);
        list->setObjectName(name);
        list->setEditable(false);   // pick-only
        return list;
    };
    auto makeLabel = [this](const char* name, bool sunken) {
        auto* label = new QLabel(this);
        label->setObjectName(name);
        if (sunken) {
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            label->setTextInteractionFlags(Qt::TextSelectableByMouse);
            label->setAlignment(Qt::AlignCenter);
        }
        return label;
    };

    cbChInforGroup = makeList("cbChInforGroup");
    cbChInforGroup->setSizeAdjustPolicy(QComboBox::AdjustToContents);   // follows the language
    sFreqRange = makeLabel("sFreqRange", false);
    cbFreqRange = makeList("cbFreqRange");
    sLastWrite = makeLabel("sLastWrite", false);
    sLastWriteTime = makeLabel("sLastWriteTime", true);
    sDeviceSn = makeLabel("sDeviceSn", false);
    sDeviceSnDisp = makeLabel("sDeviceSnDisp", true);
    const QFontMetrics fm = fontMetrics();
    sLastWriteTime->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("2099-12-31  23:59")) + kDisplayPadding);
    sDeviceSnDisp->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("WWWWWWWW")) + kDisplayPadding);

    // Captions read out with the control they stand before.
    sFreqRange->setBuddy(cbFreqRange);
    sLastWrite->setBuddy(sLastWriteTime);
    sDeviceSn->setBuddy(sDeviceSnDisp);
    buildGrid();

    auto* top = new QHBoxLayout;
    top->addWidget(cbChInforGroup);
    top->addSpacing(16);
    top->addWidget(sFreqRange);
    top->addWidget(cbFreqRange);
    top->addStretch();
    top->addWidget(sLastWrite);
    top->addWidget(sLastWriteTime);
    top->addSpacing(16);
    top->addWidget(sDeviceSn);
    top->addWidget(sDeviceSnDisp);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    column->addLayout(top);
    column->addWidget(StringGrid1, 1);

    connect(cbChInforGroup, &QComboBox::activated, this, &TChInforDlg::cbChInforGroupChange);
    connect(StringGrid1, &CellGrid::deletePressed, this, [this] { runCommand(EditCommand::Delete); });
    connect(cbFreqRange, &QComboBox::activated, this, &TChInforDlg::cbFreqRangeChange);
}

void TChInforDlg::buildGrid()
{
    StringGrid1 = new CellGrid("StringGrid1", kRowsPerGroup, this);
    QFont gridFont = StringGrid1->font();
    if (gridFont.pointSizeF() > kGridMaxPointSize)
        gridFont.setPointSizeF(kGridMaxPointSize);
    StringGrid1->setFont(gridFont);
    StringGrid1->setSizeToWholeGrid(true);

    Edit_ChFreq = NewCellEdit(StringGrid1, "Edit_ChFreq");
    FilterInput(Edit_ChFreq, FrequencyInput());
    cbChInforSubAudio = NewCellList(StringGrid1, "cbChInforSubAudio");
    cbChInforSql = NewCellList(StringGrid1, "cbChInforSql");
    cbChInforScrNo = NewCellList(StringGrid1, "cbChInforScrNo");
    cbChInforSignalSys = NewCellList(StringGrid1, "cbChInforSignalSys");
    cbChInforSignalNo = NewCellList(StringGrid1, "cbChInforSignalNo");

    const RadioRecord& r = data_.record;
    using namespace rec::ch;
    CellColumns columns;
    columns.push_back(frequencyColumn(Col::Rx));
    columns.push_back(frequencyColumn(Col::Tx));
    for (const int col : {Col::RxTone, Col::TxTone})
        columns.push_back(listColumn(
            col, cbChInforSubAudio, [](int) { return SubAudioList(); },
            [this, col](int ch, int position) { cbChInforSubAudioExit(ch, col, position); }));
    columns.push_back(bitColumn(Col::Power, tx_power));
    columns.push_back(bitColumn(Col::Bandwidth, bandwidth));
    columns.push_back(listColumn(
        Col::Sql, cbChInforSql, [](int) { return NumberTexts(0, kSquelchLevels - 1); },
        [this](int ch, int position) { cbChInforSqlExit(ch, position); }));
    // Scrambling on is scrambler 1; off is 0.
    columns.push_back(std::make_unique<CycleColumn>(
        headerOf(Col::Scramble), [this](int row) { return data_.record.get(scramble_no(channelOfRow(row))) != 0; },
        [this](int row, unsigned on) { data_.record.set(scramble_no(channelOfRow(row)), uint8_t(on)); },
        [] { return TwoStateTexts(appLang(), Col::Scramble); }, [](unsigned v) { return v ^ 1u; }));
    columns.push_back(listColumn(
        Col::ScrambleNo, cbChInforScrNo, [](int) { return NumberTexts(1, kScramblerCount); },
        [this](int ch, int position) { cbChInforScrNoExit(ch, position); }));
    columns.push_back(bitColumn(Col::Scan, scan_add));
    columns.push_back(std::make_unique<CycleColumn>(
        headerOf(Col::LockOut), data_.record, [this](int row) { return busy_lockout(channelOfRow(row)); },
        [] { return LockOutTexts(); }, ProcChEditLockOut));
    columns.push_back(bitColumn(Col::XtalShift, xtal_shift));
    columns.push_back(listColumn(
        Col::SignalSys, cbChInforSignalSys, [](int) { return SignalSystemTexts(appLang()); },
        [this](int ch, int position) { cbChInforSignalSysExit(ch, position); }));
    columns.push_back(listColumn(
        Col::SignalNo, cbChInforSignalNo, [&r](int ch) { return signalNumberTexts(r.get(signaling_system(ch))); },
        [this](int ch, int position) { cbChInforSignalNoExit(ch, position); }));

    for (int col = Col::Rx; col < kColumnCount; ++col)
        columns[std::size_t(col - 1)]->addWidthSamples(textsInEveryLanguage(col));
    // An empty channel can only be started from its RX cell; the number cells
    // open only under scrambling or a signalling system.
    for (int col = Col::Tx; col < kColumnCount; ++col)
        columns[std::size_t(col - 1)]->openOnlyWhen([this](int row) { return channelInUse(channelOfRow(row)); });
    columns[Col::ScrambleNo - 1]->openOnlyWhen(
        [this](int row) { return data_.record.get(scramble_no(channelOfRow(row))) != 0; });
    columns[Col::SignalNo - 1]->openOnlyWhen(
        [this](int row) { return data_.record.get(signaling_system(channelOfRow(row))) != 0; });

    StringGrid1->setColumns({}, std::move(columns));
    StringGrid1->setRowDisplay([this](int row) { StringGridUpdataRow(row); });
    bindCellEditors(StringGrid1);
}

std::unique_ptr<CellColumn> TChInforDlg::frequencyColumn(int col)
{
    auto column = std::make_unique<TextColumn>(
        headerOf(col), Edit_ChFreq,
        [this, col](int row) { return ChannelCellText(data_.record, channelOfRow(row), col, appLang()); },
        [this, col](int row, const QString& text) { Edit_ChFreqExit(row, col, text); }, QString(),
        TextColumn::Commit::Always);
    // A digit typed on the cell starts the box with that digit.
    column->openOnTyping(IsAsciiDigit);
    return column;
}

std::unique_ptr<CellColumn> TChInforDlg::listColumn(int col, QComboBox* list, std::function<QStringList(int)> texts,
                                                    std::function<void(int, int)> store)
{
    // The list opens on the entry whose text the cell shows: none for a value the list lacks.
    return std::make_unique<ListColumn>(
        headerOf(col), list,
        ListColumn::Binding{
            .items = [this, texts](int row) { return ListItems::Positions(texts(channelOfRow(row))); },
            .load = [this, col,
                     texts](int row) { return int(texts(channelOfRow(row)).indexOf(StringGrid1->cellText(row, col))); },
            .store =
                [this, store](int row, int position) {
                    if (channelInUse(channelOfRow(row)))
                        store(channelOfRow(row), position);
                },
            .display = [this,
                        col](int row) { return ChannelCellText(data_.record, channelOfRow(row), col, appLang()); }});
}

std::unique_ptr<CellColumn> TChInforDlg::bitColumn(int col, BitField (*field)(int))
{
    return std::make_unique<CycleColumn>(
        headerOf(col), data_.record, [this, field](int row) { return field(channelOfRow(row)); },
        [col] { return TwoStateTexts(appLang(), col); }, [](unsigned v) { return v ^ 1u; });
}

// ---- reload ------------------------------------------------------------------

void TChInforDlg::RefreshAll()
{
    setWindowTitle(UiText(ui::kChannelSettings));
    sLastWrite->setText(UiText(ui::kLastProgramData));
    sLastWriteTime->setText(ProgramTimeText(data_.last_program_time));
    sDeviceSn->setText(UiText(ui::kSerialNumber));
    sDeviceSnDisp->setText(SerialNumberText(data_.radio_serial_number));

    QStringList groups;
    for (int g = 0; g < kChannelGroups; ++g)
        groups << UiText(kFirstChannelGroupText + g);
    FillPickList(cbChInforGroup, groups, shownGroup());
    cbChInforGroup->setAccessibleName(Text(OwnText::SpokenChannelGroup));
    sFreqRange->setText(UiText(ui::kFrequencyRange));
    QStringList bands;
    for (int b = 0; b < kBandCount; ++b)
        bands << QString::fromLatin1(BandName(b));
    FillPickList(cbFreqRange, bands, data_.record.get(rec::freq_band));   // a band past the list selects nothing

    StringGrid1->showAllRows();
    StringGrid1->relabel();
}

void TChInforDlg::selectBandInList()
{
    const int band = data_.record.get(rec::freq_band);
    const QSignalBlocker block(cbFreqRange);
    cbFreqRange->setCurrentIndex(band < kBandCount ? band : -1);
}

// ---- rows ----------------------------------------------------------------------

int TChInforDlg::shownGroup() const
{
    // A group number no editor writes (from a foreign file) shows group 1
    // rather than channels beyond the record.
    const int group = data_.record.get(rec::channel_group);
    return group < kChannelGroups ? group : 0;
}

int TChInforDlg::channelOfRow(int row) const
{
    return kRowsPerGroup * shownGroup() + row;
}

void TChInforDlg::showChannel(int channel)
{
    if (channel < 1 || channel > rec::kChannelCount)
        return;
    const int group = (channel - 1) / kRowsPerGroup;
    if (group != shownGroup()) {
        const QSignalBlocker block(cbChInforGroup);
        cbChInforGroup->setCurrentIndex(group);
        cbChInforGroupChange(group);
    }
    StringGrid1->setCurrentCell(channel - kRowsPerGroup * group, Col::Rx);
}

bool TChInforDlg::channelInUse(int channel) const
{
    return ChannelInUse(data_.record, channel);
}

void TChInforDlg::StringGridUpdataRow(int row)
{
    if (row < 1 || row > kRowsPerGroup)
        return;
    if (!channelInUse(channelOfRow(row))) {
        CleanOneChData(row);   // an empty slot is always all zero
        return;
    }
    StringGrid1->showColumnTexts(row);
}

void TChInforDlg::StringGridCleanRow(int row)
{
    if (row < 1 || row > kRowsPerGroup)
        return;
    StringGrid1->clearRow(row);
}

void TChInforDlg::CleanOneChData(int row)
{
    if (row < 1 || row > kRowsPerGroup)
        return;
    StringGridCleanRow(row);
    data_.record.fill(rec::channelOffset(channelOfRow(row)), rec::kChannelSize, 0);
}

void TChInforDlg::StringGridAutoFullRow(int row)
{
    if (row < 1 || row > kRowsPerGroup)
        return;
    const int ch = channelOfRow(row);
    StartChannel(data_.record, ch, data_.record.get(rec::ch::rx_freq(ch)));
    StringGridUpdataRow(row);
}

// ---- what the in-place editors store ----------------------------------------------

unsigned TChInforDlg::ProcChEditLockOut(unsigned lockOut)
{
    return lockOut + 1 < unsigned(LockOutTexts().size()) ? lockOut + 1 : 0u;
}

// A typed frequency is clamped into the band silently, as the editor always did:
// the person sees the cell at once. A pasted or filled one goes through StoreRx and
// StoreTx (model/channel_cells), which refuse and report what does not fit, because
// many cells change at once and none may change unseen.
void TChInforDlg::Edit_ChFreqExit(int row, int col, const QString& text)
{
    const uint32_t hz = ParseFrequencyText(text);
    const int ch = channelOfRow(row);
    RadioRecord& r = data_.record;
    if (col == Col::Rx) {
        if (text.isEmpty()) {
            CleanOneChData(row);
        } else {
            const bool newChannel = !channelInUse(ch);
            r.set(rec::ch::rx_freq(ch), data_.SnapFrequency(hz));
            if (newChannel)
                StringGridAutoFullRow(row);
        }
    } else if (channelInUse(ch)) {
        r.set(rec::ch::tx_freq(ch), hz ? data_.SnapFrequency(hz) : 0);
    }
}

void TChInforDlg::cbChInforSubAudioExit(int channel, int col, int position)
{
    const SubAudioChoice choice = SubAudioFromListPosition(position);
    const bool rx = col == Col::RxTone;
    data_.record.set(rx ? rec::ch::rx_subaudio(channel) : rec::ch::tx_subaudio(channel), choice.code);
    if (!choice.keepPolarity)
        data_.record.set(rx ? rec::ch::rx_dcs_inverted(channel) : rec::ch::tx_dcs_inverted(channel), choice.inverted);
}

void TChInforDlg::cbChInforSqlExit(int channel, int position)
{
    data_.record.set(rec::ch::squelch(channel), uint8_t(position));
}

void TChInforDlg::cbChInforScrNoExit(int channel, int position)
{
    data_.record.set(rec::ch::scramble_no(channel), uint8_t(position + 1));
}

void TChInforDlg::cbChInforSignalSysExit(int channel, int position)
{
    const BitField system = rec::ch::signaling_system(channel);
    if (data_.record.get(system) != unsigned(position))
        data_.record.set(rec::ch::signaling_no(channel), 0);
    data_.record.set(system, unsigned(position));
}

void TChInforDlg::cbChInforSignalNoExit(int channel, int position)
{
    data_.record.set(rec::ch::signaling_no(channel), unsigned(position));
}

// ---- group and band ----------------------------------------------------------------

void TChInforDlg::cbChInforGroupChange(int position)
{
    if (position < 0 || position >= kChannelGroups)
        return;
    data_.record.set(rec::channel_group, uint8_t(position));
    for (int row = 1; row <= kRowsPerGroup; ++row) {
        StringGridCleanRow(row);
        StringGridUpdataRow(row);
    }
    emit recordWritten();   // stored at once, like a cell: its own step
}

void TChInforDlg::cbFreqRangeChange(int position)
{
    if (position < 0 || position == data_.record.get(rec::freq_band))
        return;
    if (!AskOkCancel(this, UiText(ui::kClearAllData))) {
        selectBandInList();
        return;
    }
    data_.ResetForBand(position);
    if (isSignalConnected(QMetaMethod::fromSignal(&EditorWindow::refreshAllViewsRequested)))
        emit refreshAllViewsRequested();
    else
        RefreshAll();
}

}   // namespace k3n
