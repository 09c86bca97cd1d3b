// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/scan_settings_window.h"
#include "model/record_layout.h"
#include "text/app_lang.h"
#include "text/ui_text.h"
#include "text/ui_text_ids.h"
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace k3n {

namespace {}   // namespace

TScanSettingsDlg::TScanSettingsDlg(RadioData& data, QWidget* parent) : EditorWindow(data, parent)
{
    auto* page = new QHBoxLayout(this);
    auto* column = new QVBoxLayout;
    page->addLayout(column);
    page->addStretch(1);
    auto* form = new QFormLayout;
    column->addLayout(form);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);

    cbResumeTime_rx = AddLabelledList(form, captions_, "sResumeTime_rx", ui::kScanResumeTimeRx, "cbResumeTime_rx");
    cbResumeTime_tx = AddLabelledList(form, captions_, "sResumeTime_tx", ui::kScanResumeTimeTx, "cbResumeTime_tx");
    cbScanBusyTime = AddLabelledList(form, captions_, "sScanBusyTime", ui::kScanBusyTime, "cbScanBusyTime");
    cbScanTxMode = AddLabelledList(form, captions_, "sScanTxMode", ui::kScanTxMode, "cbScanTxMode");
    cbDesignatedChannel =
        AddLabelledList(form, captions_, "sDesignatedChannel", ui::kDesignatedChannel, "cbDesignatedChannel");
    cbHomeChannel = AddLabelledList(form, captions_, "sHomeChannel", ui::kHomeChannel, "cbHomeChannel");
    cbPriChannel = AddLabelledList(form, captions_, "sPriChannel", ui::kPriorityScan, "cbPriChannel");
    cbDaulWatchCh = AddLabelledList(form, captions_, "sDaulWatchCh", ui::kDualWatchChannel, "cbDaulWatchCh");
    cTalkBack = new QCheckBox(this);
    cTalkBack->setObjectName("cTalkBack");
    captions_.add(cTalkBack, ui::kTalkBack);
    form->addRow(cTalkBack);
    column->addStretch(1);

    bindExit(cbResumeTime_rx, [this] { cbResumeTime_rxExit(); });
    bindExit(cbResumeTime_tx, [this] { cbResumeTime_txExit(); });
    bindExit(cbScanBusyTime, [this] { cbScanBusyTimeExit(); });
    bindExit(cbScanTxMode, [this] { cbScanTxModeExit(); });
    bindExit(cbDesignatedChannel, [this] { cbDesignatedChannelExit(); });
    bindExit(cbHomeChannel, [this] { cbHomeChannelExit(); });
    bindExit(cbPriChannel, [this] { cbPriChannelExit(); });
    bindExit(cbDaulWatchCh, [this] { cbDaulWatchChExit(); });
    bindExit(cTalkBack, [this] { cTalkBackExit(); });

    RefreshAll();
}

void TScanSettingsDlg::RefreshAll()
{
    const RadioRecord& r = data_.record;
    setWindowTitle(UiText(ui::kScanSettings));
    captions_.apply();
    const QStringList channels = SettingsListTexts(SettingsList::ScanChannel, appLang());
    FillPickList(cbResumeTime_rx, SettingsListTexts(SettingsList::ScanResumeTimeRx, appLang()),
                 r.get(rec::scan_resume_time_rx));
    FillPickList(cbResumeTime_tx, SettingsListTexts(SettingsList::ScanResumeTimeTx, appLang()),
                 r.get(rec::scan_resume_time_tx));
    FillPickList(cbScanBusyTime, SettingsListTexts(SettingsList::ScanBusyTime, appLang()), r.get(rec::scan_busy_time));
    FillPickList(cbScanTxMode, SettingsListTexts(SettingsList::ScanTxMode, appLang()), r.get(rec::scan_tx_mode));
    FillPickList(cbDesignatedChannel, channels, r.get(rec::scan_designated_channel));
    FillPickList(cbHomeChannel, channels, r.get(rec::home_channel));
    FillPickList(cbPriChannel, channels, r.get(rec::priority_channel));
    FillPickList(cbDaulWatchCh, channels, r.get(rec::dual_watch_channel));
    cTalkBack->setChecked(r.get(rec::talk_back) != 0);
}

void TScanSettingsDlg::cbResumeTime_rxExit()
{
    StoreChosenPosition(cbResumeTime_rx, data_.record, rec::scan_resume_time_rx);
}
void TScanSettingsDlg::cbResumeTime_txExit()
{
    StoreChosenPosition(cbResumeTime_tx, data_.record, rec::scan_resume_time_tx);
}
void TScanSettingsDlg::cbScanBusyTimeExit()
{
    StoreChosenPosition(cbScanBusyTime, data_.record, rec::scan_busy_time);
}
void TScanSettingsDlg::cbScanTxModeExit()
{
    StoreChosenPosition(cbScanTxMode, data_.record, rec::scan_tx_mode);
}
void TScanSettingsDlg::cbDesignatedChannelExit()
{
    StoreChosenPosition(cbDesignatedChannel, data_.record, rec::scan_designated_channel);
}
void TScanSettingsDlg::cbHomeChannelExit()
{
    StoreChosenPosition(cbHomeChannel, data_.record, rec::home_channel);
}
void TScanSettingsDlg::cbPriChannelExit()
{
    StoreChosenPosition(cbPriChannel, data_.record, rec::priority_channel);
}
void TScanSettingsDlg::cbDaulWatchChExit()
{
    StoreChosenPosition(cbDaulWatchCh, data_.record, rec::dual_watch_channel);
}

void TScanSettingsDlg::cTalkBackExit()
{
    data_.record.set(rec::talk_back, cTalkBack->isChecked() ? 1u : 0u);
}

}   // namespace k3n
