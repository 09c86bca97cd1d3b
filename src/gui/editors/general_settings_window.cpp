// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/general_settings_window.h"
#include "model/record_layout.h"
#include "model/value_codings.h"
#include "text/app_lang.h"
#include "text/ui_text.h"
#include "text/ui_text_ids.h"
#include "widgets/cell_grid.h"
#include "widgets/input_filters.h"
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <algorithm>

namespace k3n {

namespace {

constexpr int kScrFreqDigits = 4;

QCheckBox* AddCheckBox(QGridLayout* grid, CaptionTable& captions, const char* name, int textNo, int row, int column)
{
    auto* box = new QCheckBox(grid->parentWidget());
    box->setObjectName(name);
    captions.add(box, textNo);
    grid->addWidget(box, row, column);
    return box;
}

}   // namespace

TGeneralSettingsDlg::TGeneralSettingsDlg(RadioData& data, QWidget* parent) : EditorWindow(data, parent)
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

    cbTOT = addList("sTOT", ui::kTotTime, "cbTOT");
    cbTOA = addList("sTOA", ui::kTotPenaltyTime, "cbTOA");
    cbBurst_tone = addList("sBurst_tone", ui::kTxBurstTone, "cbBurst_tone");
    cbVoice = addList("sVoice", ui::kVoice, "cbVoice");
    cbVOX = addList("sVOX", ui::kVoxLevel, "cbVOX");
    cbVOX_DELAY = addList("sVOX_DELAY", ui::kVoxHoldTime, "cbVOX_DELAY");
    cbTalkAround = addList("sTalkAround", ui::kTalkAround, "cbTalkAround");
    cbSaving = addList("sSaving", ui::kBatteryPowerSave, "cbSaving");
    cbBatlowWarningTime = addList("sBatlowWarningTime", ui::kBatLowInterval, "cbBatlowWarningTime");

    auto* checks = new QGridLayout;
    left->addSpacing(8);
    left->addLayout(checks);
    left->addStretch(1);
    cKeyLock = AddCheckBox(checks, captions_, "cKeyLock", ui::kKeypadLock, 0, 0);
    cBeep = AddCheckBox(checks, captions_, "cBeep", ui::kBeepTone, 0, 1);
    cCompandor = AddCheckBox(checks, captions_, "cCompandor", ui::kVoiceCompandor, 1, 0);
    cScrambling = AddCheckBox(checks, captions_, "cScrambling", ui::kVoiceScramble, 1, 1);
    cBatlow_rx = AddCheckBox(checks, captions_, "cBatlow_rx", ui::kRxBatLowWarning, 2, 0);
    cBatlow_tx = AddCheckBox(checks, captions_, "cBatlow_tx", ui::kTxBatLowWarning, 2, 1);
    cCtcss_extra_tail = AddCheckBox(checks, captions_, "cCtcss_extra_tail", ui::kCtcssTail55Hz, 3, 0);
    cCtcss_tail = AddCheckBox(checks, captions_, "cCtcss_tail", ui::kCtcssTail180Degree, 3, 1);

    sScrambleSet = new QLabel(this);
    sScrambleSet->setObjectName("sScrambleSet");
    captions_.add(sScrambleSet, ui::kScrambleSet);
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
    sCtcTail = hiddenLabel("sCtcTail", ui::kCtcssTail);
    cbCtcTail = new QComboBox(this);
    cbCtcTail->setObjectName("cbCtcTail");
    cbCtcTail->hide();
    sUserCtc = hiddenLabel("sUserCtc", ui::kCtcssUserDefined);
    eUserCtc = new QLineEdit(this);
    eUserCtc->setObjectName("eUserCtc");
    eUserCtc->setMaxLength(5);
    eUserCtc->setValidator(new QRegularExpressionValidator(QRegularExpression("\\d*\\.?\\d*"), eUserCtc));
    eUserCtc->hide();
    sUserDcs = hiddenLabel("sUserDcs", ui::kDcsUserDefined);
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

    RefreshAll();
}

void TGeneralSettingsDlg::buildScrambleGrid()
{
    sgScrFreq = new CellGrid("sgScrFreq", rec::kScrambleFreqCount, this);
    sgScrFreq->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgScrFreq->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    eScrFreq = NewCellEdit(sgScrFreq, "eScrFreq");
    FilterInput(eScrFreq, DigitsInput(kScrFreqDigits));
    CellColumns columns;
    columns.push_back(std::make_unique<TextColumn>(
        [] { return UiText(ui::kFrequency); }, eScrFreq,
        [this](int row) { return QString::number(data_.record.get(rec::scramble_freq(row - 1))); },
        [this](int row, const QString& text) { eScrFreqExit(row, text); }, QStringLiteral("00000"),
        TextColumn::Commit::Always));
    sgScrFreq->setColumns([] { return UiText(ui::kNumberHeader); }, std::move(columns));
    bindCellEditors(sgScrFreq);
}

void TGeneralSettingsDlg::RefreshAll()
{
    RadioRecord& r = data_.record;
    setWindowTitle(UiText(ui::kGeneralSettings));
    captions_.apply();

    FillPickList(cbTOT, SettingsListTexts(SettingsList::Tot, appLang()), r.get(rec::tot));
    FillPickList(cbTOA, SettingsListTexts(SettingsList::Toa, appLang()), r.get(rec::toa));
    FillPickList(cbBurst_tone, SettingsListTexts(SettingsList::BurstTone, appLang()), r.get(rec::burst_tone));
    FillPickList(cbVoice, SettingsListTexts(SettingsList::Voice, appLang()), r.get(rec::voice));
    FillPickList(cbVOX, SettingsListTexts(SettingsList::VoxLevel, appLang()), r.get(rec::vox));
    FillPickList(cbVOX_DELAY, SettingsListTexts(SettingsList::VoxDelay, appLang()), r.get(rec::vox_delay));
    FillPickList(cbTalkAround, SettingsListTexts(SettingsList::TalkAround, appLang()), r.get(rec::talk_around));
    FillPickList(cbSaving, SettingsListTexts(SettingsList::PowerSave, appLang()), r.get(rec::saving));
    FillPickList(cbBatlowWarningTime, SettingsListTexts(SettingsList::BatlowInterval, appLang()),
                 r.get(rec::batlow_warning_time));
    FillPickList(cbCtcTail, SettingsListTexts(SettingsList::CtcssTail, appLang()), int(r.get(rec::ctcss_tail)));

    const std::pair<QCheckBox*, BitField> flags[] = {
        {cKeyLock, rec::key_lock},
        {cBeep, rec::beep},
        {cCompandor, rec::compandor},
        {cScrambling, rec::scrambling},
        {cBatlow_rx, rec::batlow_rx},
        {cBatlow_tx, rec::batlow_tx},
        {cCtcss_extra_tail, rec::ctcss_extra_tail},
        {cCtcss_tail, rec::ctcss_tail},
    };
    for (const auto& [box, bit] : flags)
        box->setChecked(r.get(bit) != 0);

    eUserCtc->setText(FormatUserCtcss(r.get(rec::user_ctcss_freq)));
    eUserDcs->setText(QString::number(r.get(rec::user_dcs_code)));

    // The whole grid is always visible.
    sgScrFreq->showAllRows();
    sgScrFreq->relabel();
    sgScrFreq->setFixedSize(sgScrFreq->wholeGridSize());
}

void TGeneralSettingsDlg::storeFlag(const QCheckBox* box, BitField bit)
{
    data_.record.set(bit, box->isChecked() ? 1u : 0u);
}

void TGeneralSettingsDlg::cbTOTExit()
{
    StoreChosenPosition(cbTOT, data_.record, rec::tot);
}
void TGeneralSettingsDlg::cbTOAExit()
{
    StoreChosenPosition(cbTOA, data_.record, rec::toa);
}
void TGeneralSettingsDlg::cbBurst_toneExit()
{
    StoreChosenPosition(cbBurst_tone, data_.record, rec::burst_tone);
}
void TGeneralSettingsDlg::cbVoiceExit()
{
    StoreChosenPosition(cbVoice, data_.record, rec::voice);
}
void TGeneralSettingsDlg::cbVOXExit()
{
    StoreChosenPosition(cbVOX, data_.record, rec::vox);
}
void TGeneralSettingsDlg::cbVOX_DELAYExit()
{
    StoreChosenPosition(cbVOX_DELAY, data_.record, rec::vox_delay);
}
void TGeneralSettingsDlg::cbTalkAroundExit()
{
    StoreChosenPosition(cbTalkAround, data_.record, rec::talk_around);
}
void TGeneralSettingsDlg::cbSavingExit()
{
    StoreChosenPosition(cbSaving, data_.record, rec::saving);
}
void TGeneralSettingsDlg::cbBatlowWarningTimeExit()
{
    StoreChosenPosition(cbBatlowWarningTime, data_.record, rec::batlow_warning_time);
}
void TGeneralSettingsDlg::cbCtcTailExit()
{
    StoreChosenPosition(cbCtcTail, data_.record, rec::ctcss_tail);
}

void TGeneralSettingsDlg::cKeyLockExit()
{
    storeFlag(cKeyLock, rec::key_lock);
}
void TGeneralSettingsDlg::cBeepExit()
{
    storeFlag(cBeep, rec::beep);
}
void TGeneralSettingsDlg::cCompandorExit()
{
    storeFlag(cCompandor, rec::compandor);
}
void TGeneralSettingsDlg::cScramblingExit()
{
    storeFlag(cScrambling, rec::scrambling);
}
void TGeneralSettingsDlg::cBatlow_rxExit()
{
    storeFlag(cBatlow_rx, rec::batlow_rx);
}
void TGeneralSettingsDlg::cBatlow_txExit()
{
    storeFlag(cBatlow_tx, rec::batlow_tx);
}
void TGeneralSettingsDlg::cCtcss_extra_tailExit()
{
    storeFlag(cCtcss_extra_tail, rec::ctcss_extra_tail);
}
void TGeneralSettingsDlg::cCtcss_tailExit()
{
    storeFlag(cCtcss_tail, rec::ctcss_tail);
}

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

void TGeneralSettingsDlg::eScrFreqExit(int row, const QString& text)
{
    const int typed = text.toInt();   // empty text reads as 0
    data_.record.set(rec::scramble_freq(row - 1), uint16_t(std::clamp(typed, kScrFreqMin, kScrFreqMax)));
}

}   // namespace k3n
