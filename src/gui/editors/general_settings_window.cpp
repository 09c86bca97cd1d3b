#include "editors/general_settings_window.h"
#include "model/record_layout.h"
#include "model/value_codings.h"
#include "text/ui_text.h"
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace k3n {

namespace {

constexpr OptionText kBurstTones[] = {
    "1750", "400", "1000", "1050", "1150", "1250", "1350", "1450", "1550",
    "1650", "1850", "1950", "2050", "2100", "2135", "2175", "2800",
};
constexpr OptionText kVoices[] = {200, 201, 222};                    // Chinese, English, None
constexpr OptionText kTalkAroundModes[] = {295, {296, 297}, {296, 298}};   // Reverse, All Rx, All Tx
constexpr OptionText kSavingModes[] = {75, "1:1", "1:2", "1:3"};
constexpr OptionText kCtcTailModes[] = {75, "180"};

constexpr int kScrFreqRows = 1 + rec::kScrambleFreqCount;   // header row + 16

QCheckBox* AddCheckBox(QGridLayout* grid, CaptionTable& captions, const char* name,
                       int textNo, int row, int column)
{
    auto* box = new QCheckBox(grid->parentWidget());
    box->setObjectName(name);
    captions.add(box, textNo);
    grid->addWidget(box, row, column);
    return box;
}

QTableWidgetItem* FixedCell(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

} // namespace

TGeneralSettingsDlg::TGeneralSettingsDlg(RadioData& data, QWidget* parent)
    : EditorWindow(data, parent)
{
    auto* lists = new QFormLayout;
    lists->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    lists->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    auto addList = [&](const char* label, int textNo, const char* name) {
        return AddLabelledList(lists, captions_, label, textNo, name);
    };
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    auto* page = new QHBoxLayout(this);
    page->addLayout(left);
    page->addSpacing(16);
    page->addLayout(right);
    page->addStretch(1);
    left->addLayout(lists);

    cbTOT = addList("sTOT", 48, "cbTOT");
    cbTOA = addList("sTOA", 49, "cbTOA");
    cbBurst_tone = addList("sBurst_tone", 198, "cbBurst_tone");
    cbVoice = addList("sVoice", 199, "cbVoice");
    cbVOX = addList("sVOX", 46, "cbVOX");
    cbVOX_DELAY = addList("sVOX_DELAY", 47, "cbVOX_DELAY");
    cbTalkAround = addList("sTalkAround", 202, "cbTalkAround");
    cbSaving = addList("sSaving", 70, "cbSaving");
    cbBatlowWarningTime = addList("sBatlowWarningTime", 203, "cbBatlowWarningTime");

    auto* checks = new QGridLayout;
    left->addSpacing(8);
    left->addLayout(checks);
    left->addStretch(1);
    cKeyLock = AddCheckBox(checks, captions_, "cKeyLock", 60, 0, 0);
    cBeep = AddCheckBox(checks, captions_, "cBeep", 68, 0, 1);
    cCompandor = AddCheckBox(checks, captions_, "cCompandor", 69, 1, 0);
    cScrambling = AddCheckBox(checks, captions_, "cScrambling", 73, 1, 1);
    cBatlow_rx = AddCheckBox(checks, captions_, "cBatlow_rx", 207, 2, 0);
    cBatlow_tx = AddCheckBox(checks, captions_, "cBatlow_tx", 208, 2, 1);
    cCtcss_extra_tail = AddCheckBox(checks, captions_, "cCtcss_extra_tail", 347, 3, 0);
    cCtcss_tail = AddCheckBox(checks, captions_, "cCtcss_tail", 348, 3, 1);

    sScrambleSet = new QLabel(this);
    sScrambleSet->setObjectName("sScrambleSet");
    captions_.add(sScrambleSet, 338);
    right->addWidget(sScrambleSet);
    buildScrambleGrid();
    right->addWidget(sgScrFreq);
    right->addStretch(1);

    // The hidden controls: filled from the record, never shown, so never edited here.
    auto hiddenLabel = [&](const char* name, int textNo) {
        auto* label = new QLabel(this);
        label->setObjectName(name);
        captions_.add(label, textNo);
        label->hide();
        return label;
    };
    sCtcTail = hiddenLabel("sCtcTail", 204);
    cbCtcTail = new QComboBox(this);
    cbCtcTail->setObjectName("cbCtcTail");
    cbCtcTail->hide();
    sUserCtc = hiddenLabel("sUserCtc", 205);
    eUserCtc = new QLineEdit(this);
    eUserCtc->setObjectName("eUserCtc");
    eUserCtc->setMaxLength(5);
    eUserCtc->setValidator(new QRegularExpressionValidator(QRegularExpression("\\d*\\.?\\d*"), eUserCtc));
    eUserCtc->hide();
    sUserDcs = hiddenLabel("sUserDcs", 206);
    eUserDcs = new QLineEdit(this);
    eUserDcs->setObjectName("eUserDcs");
    eUserDcs->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-7]{0,3}"), eUserDcs));
    eUserDcs->hide();

    bindExit(cbTOT, [this] { cbTOTExit(); });
    bindExit(cbTOA, [this] { cbTOAExit(); });
    bindExit(cbBurst_tone, [this] { cbBurst_toneExit(); });
    bindExit(cbVoice, [this] { cbVoiceExit(); });
    bindExit(cbVOX, [this] { cbVOXExit(); });
    bindExit(cbVOX_DELAY, [this] { cbVOX_DELAYExit(); });
    bindExit(cbTalkAround, [this] { cbTalkAroundExit(); });
    bindExit(cbSaving, [this] { cbSavingExit(); });
    bindExit(cbBatlowWarningTime, [this] { cbBatlowWarningTimeExit(); });
    bindExit(cbCtcTail, [this] { cbCtcTailExit(); });
    bindExit(cKeyLock, [this] { cKeyLockExit(); });
    bindExit(cBeep, [this] { cBeepExit(); });
    bindExit(cCompandor, [this] { cCompandorExit(); });
    bindExit(cScrambling, [this] { cScramblingExit(); });
    bindExit(cBatlow_rx, [this] { cBatlow_rxExit(); });
    bindExit(cBatlow_tx, [this] { cBatlow_txExit(); });
    bindExit(cCtcss_extra_tail, [this] { cCtcss_extra_tailExit(); });
    bindExit(cCtcss_tail, [this] { cCtcss_tailExit(); });
    bindExit(eUserCtc, [this] { eUserCtcExit(); });
    bindExit(eUserDcs, [this] { eUserDcsExit(); });
    bindExit(eScrFreq, [this] { eScrFreqExit(); });

    RefreshAll();
}

void TGeneralSettingsDlg::buildScrambleGrid()
{
    sgScrFreq = new QTableWidget(kScrFreqRows, 2, this);
    sgScrFreq->setObjectName("sgScrFreq");
    sgScrFreq->horizontalHeader()->hide();
    sgScrFreq->verticalHeader()->hide();
    sgScrFreq->setEditTriggers(QAbstractItemView::NoEditTriggers);   // edited only through eScrFreq
    sgScrFreq->setSelectionMode(QAbstractItemView::SingleSelection);
    sgScrFreq->setTabKeyNavigation(true);
    sgScrFreq->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgScrFreq->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgScrFreq->setItemDelegate(new StripedGridDelegate(sgScrFreq));
    for (int row = 1; row < kScrFreqRows; ++row) {
        sgScrFreq->setItem(row, 0, FixedCell(QString::asprintf("%02d", row)));
        auto* cell = new QTableWidgetItem;
        cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        sgScrFreq->setItem(row, 1, cell);
    }
    sgScrFreq->setItem(0, 0, FixedCell(QString()));
    sgScrFreq->setItem(0, 1, FixedCell(QString()));
    connect(sgScrFreq, &QTableWidget::cellDoubleClicked, this, &TGeneralSettingsDlg::sgScrFreqDblClick);

    eScrFreq = new QLineEdit(sgScrFreq->viewport());
    eScrFreq->setObjectName("eScrFreq");
    eScrFreq->setAlignment(Qt::AlignCenter);
    eScrFreq->setFrame(false);
    eScrFreq->hide();
    FilterTypedKeys(eScrFreq, [](QChar c) { return c.isDigit(); });
    connect(eScrFreq, &QLineEdit::textChanged, this, &TGeneralSettingsDlg::eScrFreqChange);
    connect(eScrFreq, &QLineEdit::returnPressed, this, [this] { sgScrFreq->setFocus(); });
}

void TGeneralSettingsDlg::fitScrambleGrid()
{
    // The whole grid is always visible: size it to its cells for the current texts.
    const QFontMetrics metrics(sgScrFreq->font());
    const int rowHeight = metrics.height() + 6;
    for (int row = 0; row < kScrFreqRows; ++row)
        sgScrFreq->setRowHeight(row, rowHeight);
    const int padding = 16;
    sgScrFreq->setColumnWidth(0, std::max(metrics.horizontalAdvance(sgScrFreq->item(0, 0)->text()),
                                          metrics.horizontalAdvance("00")) + padding);
    sgScrFreq->setColumnWidth(1, std::max(metrics.horizontalAdvance(sgScrFreq->item(0, 1)->text()),
                                          metrics.horizontalAdvance("00000")) + padding);
    const int frame = 2 * sgScrFreq->frameWidth();
    sgScrFreq->setFixedSize(sgScrFreq->columnWidth(0) + sgScrFreq->columnWidth(1) + frame,
                            rowHeight * kScrFreqRows + frame);
}

void TGeneralSettingsDlg::RefreshAll()
{
    RadioRecord& r = data_.record;
    setWindowTitle(UiText(181));
    captions_.apply();

    FillPickList(cbTOT, NumberTexts(0, 300), r.get(rec::tot));
    FillPickList(cbTOA, NumberTexts(0, 300), r.get(rec::toa));
    FillPickList(cbBurst_tone, kBurstTones, r.get(rec::burst_tone));
    FillPickList(cbVoice, kVoices, r.get(rec::voice));
    FillPickList(cbVOX, NumberTexts(1, 6), r.get(rec::vox));
    FillPickList(cbVOX_DELAY, NumberTexts(0.5, 3, 0.5), r.get(rec::vox_delay));
    FillPickList(cbTalkAround, kTalkAroundModes, r.get(rec::talk_around));
    FillPickList(cbSaving, kSavingModes, r.get(rec::saving));
    FillPickList(cbBatlowWarningTime, NumberTexts(30, 270, 30), r.get(rec::batlow_warning_time));
    FillPickList(cbCtcTail, kCtcTailModes, int(r.get(rec::ctcss_tail)));

    const std::pair<QCheckBox*, BitField> flags[] = {
        {cKeyLock, rec::key_lock}, {cBeep, rec::beep}, {cCompandor, rec::compandor},
        {cScrambling, rec::scrambling}, {cBatlow_rx, rec::batlow_rx}, {cBatlow_tx, rec::batlow_tx},
        {cCtcss_extra_tail, rec::ctcss_extra_tail}, {cCtcss_tail, rec::ctcss_tail},
    };
    for (const auto& [box, bit] : flags)
        box->setChecked(r.get(bit) != 0);

    eUserCtc->setText(FormatUserCtcss(r.get(rec::user_ctcss_freq)));
    eUserDcs->setText(QString::number(r.get(rec::user_dcs_code)));

    sgScrFreq->item(0, 0)->setText(UiText(147));
    sgScrFreq->item(0, 1)->setText(UiText(209));
    for (int row = 1; row < kScrFreqRows; ++row)
        sgScrFreq->item(row, 1)->setText(QString::number(r.get(rec::scramble_freq(row - 1))));
    fitScrambleGrid();
}

void TGeneralSettingsDlg::storeFlag(const QCheckBox* box, BitField bit)
{
    data_.record.set(bit, box->isChecked() ? 1u : 0u);
}

void TGeneralSettingsDlg::cbTOTExit() { StoreChosenPosition(cbTOT, data_.record, rec::tot); }
void TGeneralSettingsDlg::cbTOAExit() { StoreChosenPosition(cbTOA, data_.record, rec::toa); }
void TGeneralSettingsDlg::cbBurst_toneExit() { StoreChosenPosition(cbBurst_tone, data_.record, rec::burst_tone); }
void TGeneralSettingsDlg::cbVoiceExit() { StoreChosenPosition(cbVoice, data_.record, rec::voice); }
void TGeneralSettingsDlg::cbVOXExit() { StoreChosenPosition(cbVOX, data_.record, rec::vox); }
void TGeneralSettingsDlg::cbVOX_DELAYExit() { StoreChosenPosition(cbVOX_DELAY, data_.record, rec::vox_delay); }
void TGeneralSettingsDlg::cbTalkAroundExit() { StoreChosenPosition(cbTalkAround, data_.record, rec::talk_around); }
void TGeneralSettingsDlg::cbSavingExit() { StoreChosenPosition(cbSaving, data_.record, rec::saving); }
void TGeneralSettingsDlg::cbBatlowWarningTimeExit()
{
    StoreChosenPosition(cbBatlowWarningTime, data_.record, rec::batlow_warning_time);
}
void TGeneralSettingsDlg::cbCtcTailExit() { StoreChosenPosition(cbCtcTail, data_.record, rec::ctcss_tail); }

void TGeneralSettingsDlg::cKeyLockExit() { storeFlag(cKeyLock, rec::key_lock); }
void TGeneralSettingsDlg::cBeepExit() { storeFlag(cBeep, rec::beep); }
void TGeneralSettingsDlg::cCompandorExit() { storeFlag(cCompandor, rec::compandor); }
void TGeneralSettingsDlg::cScramblingExit() { storeFlag(cScrambling, rec::scrambling); }
void TGeneralSettingsDlg::cBatlow_rxExit() { storeFlag(cBatlow_rx, rec::batlow_rx); }
void TGeneralSettingsDlg::cBatlow_txExit() { storeFlag(cBatlow_tx, rec::batlow_tx); }
void TGeneralSettingsDlg::cCtcss_extra_tailExit() { storeFlag(cCtcss_extra_tail, rec::ctcss_extra_tail); }
void TGeneralSettingsDlg::cCtcss_tailExit() { storeFlag(cCtcss_tail, rec::ctcss_tail); }

void TGeneralSettingsDlg::eUserCtcExit()
{
    const double hz = ParseUserCtcss(eUserCtc->text());
    data_.record.set(rec::user_ctcss_freq, hz);
    eUserCtc->setText(FormatUserCtcss(hz));
}

void TGeneralSettingsDlg::eUserDcsExit()
{
    const uint16_t code = ParseUserDcs(eUserDcs->text());
    data_.record.set(rec::user_dcs_code, code);
    eUserDcs->setText(QString::number(code));
}

void TGeneralSettingsDlg::sgScrFreqDblClick(int row, int column)
{
    if (column != 1 || row < 1)
        return;
    editRow_ = row;
    PlaceScrFreqEditor();
}

void TGeneralSettingsDlg::PlaceScrFreqEditor()
{
    const QTableWidgetItem* cell = sgScrFreq->item(editRow_, 1);
    eScrFreq->setGeometry(sgScrFreq->visualItemRect(cell));
    eScrFreq->setText(cell->text());
    editingScrFreq_ = true;
    eScrFreq->show();
    eScrFreq->setFocus(Qt::OtherFocusReason);
    eScrFreq->selectAll();
}

void TGeneralSettingsDlg::eScrFreqChange(const QString& text)
{
    // Typing is filtered, but pasted text is not: keep digits only, at most four.
    QString digits;
    for (QChar c : text)
        if (c.isDigit() && c.unicode() < 128)
            digits += c;
    digits.truncate(4);
    if (digits != text) {
        eScrFreq->setText(digits);
        eScrFreq->setCursorPosition(int(digits.size()));
    }
}

void TGeneralSettingsDlg::eScrFreqExit()
{
    if (!editingScrFreq_)
        return;
    editingScrFreq_ = false;    // hiding the box below may send a second focus-out
    const int typed = eScrFreq->text().toInt();   // empty text reads as 0
    const int hz = std::clamp(typed, kScrFreqMin, kScrFreqMax);
    data_.record.set(rec::scramble_freq(editRow_ - 1), uint16_t(hz));
    sgScrFreq->item(editRow_, 1)->setText(QString::number(hz));
    // Back to the grid only when the box still holds the focus (Enter, a commit);
    // a click elsewhere keeps the focus where the user put it.
    if (eScrFreq->hasFocus())
        sgScrFreq->setFocus(Qt::OtherFocusReason);
    eScrFreq->hide();
}

} // namespace k3n
