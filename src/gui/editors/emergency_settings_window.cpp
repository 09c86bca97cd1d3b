// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/emergency_settings_window.h"
#include "model/record_layout.h"
#include "text/app_lang.h"
#include "text/ui_text.h"
#include "text/ui_text_ids.h"
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <iterator>

namespace k3n {

namespace {

constexpr int kCurrentChannel = 2;
constexpr int kDesignatedChannel = 3;
constexpr int kSignalingOff = 0;

// How many systems and encode codes each signalling type offers.
struct EncodeRange {
    int systems;
    int codes;
};
constexpr EncodeRange kEncodeRanges[] = {
    {0, 0},
    {rec::dtmf::kSystemCount, rec::dtmf::kEncodeCount},
    {rec::five_tone::kSystemCount, rec::five_tone::kEncodeCount},
};
constexpr int kSignalingTypeCount = int(std::size(kEncodeRanges));

QGroupBox* AddGroup(QGridLayout* page, CaptionTable& captions, const char* name, int textNo, int row, int column)
{
    auto* group = new QGroupBox(page->parentWidget());
    group->setObjectName(name);
    captions.add(group, textNo);
    page->addWidget(group, row, column, Qt::AlignTop);
    return group;
}

}   // namespace

TEmergencySettingDlg::TEmergencySettingDlg(RadioData& data, QWidget* parent) : EditorWindow(data, parent)
{
    auto* page = new QGridLayout(this);
    auto* emergency = new QFormLayout(AddGroup(page, captions_, "gbEmergency", ui::kEmergency, 0, 0));
    auto* loneWorker = new QFormLayout(AddGroup(page, captions_, "gbLoneWorker", ui::kLoneWorker, 0, 1));
    page->setRowStretch(1, 1);
    page->setColumnStretch(2, 1);
    emergency->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    loneWorker->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);

    cbMode = AddLabelledList(emergency, captions_, "sMode", ui::kMode, "cbMode");
    cbChannel = AddLabelledList(emergency, captions_, "sChannel", ui::kChannel, "cbChannel");
    cbDesignatedChannel =
        AddLabelledList(emergency, captions_, "sDesignatedChannel", ui::kDesignatedChannel, "cbDesignatedChannel");
    cbActiveTime = AddLabelledList(emergency, captions_, "sActiveTime", ui::kActiveTime, "cbActiveTime");
    cbRxTime = AddLabelledList(emergency, captions_, "sRxTime", ui::kRxTime, "cbRxTime");
    cbTxTime = AddLabelledList(emergency, captions_, "sTxTime", ui::kTxTime, "cbTxTime");
    cbSirenTime = AddLabelledList(emergency, captions_, "sSirenTime", ui::kSirenTime, "cbSirenTime");
    cbSignalingType = AddLabelledList(emergency, captions_, "sSignalingType", ui::kSignalingType, "cbSignalingType");
    cbEncodeSystem = AddLabelledList(emergency, captions_, "sEncodeSystem", ui::kEncodeSystem, "cbEncodeSystem");
    cbEncodeSelect = AddLabelledList(emergency, captions_, "sEncodeSelect", ui::kEncodeSelect, "cbEncodeSelect");
    cbReminderTime = AddLabelledList(loneWorker, captions_, "sReminderTime", ui::kReminderTime, "cbReminderTime");
    cbResponseTime = AddLabelledList(loneWorker, captions_, "sResponseTime", ui::kResponseTime, "cbResponseTime");
    // A blank encode list keeps the width of its filled state.
    cbEncodeSystem->setMinimumContentsLength(3);
    cbEncodeSelect->setMinimumContentsLength(3);

    bindExit(cbMode, [this] { cbModeExit(); });
    bindExit(cbChannel, [this] { cbChannelExit(); });
    bindExit(cbDesignatedChannel, [this] { cbDesignatedChannelExit(); });
    bindExit(cbActiveTime, [this] { cbActiveTimeExit(); });
    bindExit(cbRxTime, [this] { cbRxTimeExit(); });
    bindExit(cbTxTime, [this] { cbTxTimeExit(); });
    bindExit(cbSirenTime, [this] { cbSirenTimeExit(); });
    bindExit(cbSignalingType, [this] { cbSignalingTypeExit(); });
    bindExit(cbEncodeSystem, [this] { cbEncodeSystemExit(); });
    bindExit(cbEncodeSelect, [this] { cbEncodeSelectExit(); });
    bindExit(cbReminderTime, [this] { cbReminderTimeExit(); });
    bindExit(cbResponseTime, [this] { cbResponseTimeExit(); });
    // Refills run with signals blocked, so these see only the user's picks.
    connect(cbChannel, &QComboBox::currentIndexChanged, this, &TEmergencySettingDlg::cbChannelChange);
    connect(cbSignalingType, &QComboBox::currentIndexChanged, this, &TEmergencySettingDlg::cbSignalingTypeChange);

    RefreshAll();
}

void TEmergencySettingDlg::RefreshAll()
{
    RadioRecord& r = data_.record;
    setWindowTitle(UiText(ui::kEmergencySettings));
    captions_.apply();

    FillPickList(cbMode, SettingsListTexts(SettingsList::EmergencyMode, appLang()),
                 int(r.get(rec::emergency_mode_bits)) - 1);
    FillPickList(cbDesignatedChannel, SettingsListTexts(SettingsList::EmergencyDesignatedChannel, appLang()),
                 r.get(rec::emergency_designated_channel));
    FillPickList(cbChannel, SettingsListTexts(SettingsList::EmergencyChannel, appLang()),
                 r.get(rec::emergency_channel_select));
    cbDesignatedChannel->setEnabled(cbChannel->currentIndex() == kDesignatedChannel);
    FillPickList(cbActiveTime, SettingsListTexts(SettingsList::EmergencyActiveTime, appLang()),
                 r.get(rec::emergency_active_time));
    FillPickList(cbRxTime, SettingsListTexts(SettingsList::EmergencyRxTxTime, appLang()),
                 r.get(rec::emergency_rx_time));
    FillPickList(cbTxTime, SettingsListTexts(SettingsList::EmergencyRxTxTime, appLang()),
                 r.get(rec::emergency_tx_time));
    FillPickList(cbSirenTime, SettingsListTexts(SettingsList::EmergencySirenTime, appLang()),
                 r.get(rec::emergency_siren_time));

    const int type = int(r.get(rec::emergency_signaling_type));
    FillPickList(cbSignalingType, SettingsListTexts(SettingsList::EmergencySignalingType, appLang()), type);
    if (type == kSignalingOff) {
        // With signalling off the radio must see system 1, code 1.
        r.set(rec::emergency_encode_system, 0);
        r.set(rec::emergency_encode_select, 0);
    }
    // A type no list names (3) shows blank lists and leaves the stored bits alone.
    showEncodeLists(type, int(r.get(rec::emergency_encode_system)), int(r.get(rec::emergency_encode_select)));

    FillPickList(cbReminderTime, SettingsListTexts(SettingsList::EmergencyMinutes, appLang()),
                 r.get(rec::emergency_reminder_time));
    FillPickList(cbResponseTime, SettingsListTexts(SettingsList::EmergencyMinutes, appLang()),
                 r.get(rec::emergency_response_time));
}

void TEmergencySettingDlg::showEncodeLists(int signalingType, int systemPosition, int selectPosition)
{
    const bool offersCodes = signalingType > kSignalingOff && signalingType < kSignalingTypeCount;
    cbEncodeSystem->setEnabled(offersCodes);
    cbEncodeSelect->setEnabled(offersCodes);
    if (!offersCodes) {
        ClearPickList(cbEncodeSystem);
        ClearPickList(cbEncodeSelect);
        return;
    }
    const EncodeRange range = kEncodeRanges[signalingType];
    FillPickList(cbEncodeSystem, NumberTexts(1, range.systems), systemPosition);
    FillPickList(cbEncodeSelect, NumberTexts(1, range.codes), selectPosition);
}

void TEmergencySettingDlg::storeChannelSelect(int position)
{
    // Bit 2 of the mode byte says "Current" and must always agree with the choice.
    data_.record.set(rec::emergency_channel_select, uint8_t(position));
    data_.record.set(rec::emergency_current_channel, position == kCurrentChannel ? 1u : 0u);
}

void TEmergencySettingDlg::cbModeExit()
{
    if (cbMode->currentIndex() >= 0)
        data_.record.set(rec::emergency_mode_bits, unsigned(cbMode->currentIndex() + 1));
}

void TEmergencySettingDlg::cbChannelExit()
{
    if (cbChannel->currentIndex() >= 0)
        storeChannelSelect(cbChannel->currentIndex());
}

void TEmergencySettingDlg::cbChannelChange(int position)
{
    if (position < 0)
        return;
    storeChannelSelect(position);
    cbDesignatedChannel->setEnabled(position == kDesignatedChannel);
}

void TEmergencySettingDlg::cbSignalingTypeChange(int position)
{
    RadioRecord& r = data_.record;
    if (position < 0 || unsigned(position) == r.get(rec::emergency_signaling_type))
        return;
    r.set(rec::emergency_signaling_type, unsigned(position));
    r.set(rec::emergency_encode_system, 0);
    r.set(rec::emergency_encode_select, 0);
    showEncodeLists(position, 0, 0);
}

void TEmergencySettingDlg::cbDesignatedChannelExit()
{
    StoreChosenPosition(cbDesignatedChannel, data_.record, rec::emergency_designated_channel);
}
void TEmergencySettingDlg::cbActiveTimeExit()
{
    StoreChosenPosition(cbActiveTime, data_.record, rec::emergency_active_time);
}
void TEmergencySettingDlg::cbRxTimeExit()
{
    StoreChosenPosition(cbRxTime, data_.record, rec::emergency_rx_time);
}
void TEmergencySettingDlg::cbTxTimeExit()
{
    StoreChosenPosition(cbTxTime, data_.record, rec::emergency_tx_time);
}
void TEmergencySettingDlg::cbSirenTimeExit()
{
    StoreChosenPosition(cbSirenTime, data_.record, rec::emergency_siren_time);
}
void TEmergencySettingDlg::cbSignalingTypeExit()
{
    StoreChosenPosition(cbSignalingType, data_.record, rec::emergency_signaling_type);
}
void TEmergencySettingDlg::cbEncodeSystemExit()
{
    StoreChosenPosition(cbEncodeSystem, data_.record, rec::emergency_encode_system);
}
void TEmergencySettingDlg::cbEncodeSelectExit()
{
    StoreChosenPosition(cbEncodeSelect, data_.record, rec::emergency_encode_select);
}
void TEmergencySettingDlg::cbReminderTimeExit()
{
    StoreChosenPosition(cbReminderTime, data_.record, rec::emergency_reminder_time);
}
void TEmergencySettingDlg::cbResponseTimeExit()
{
    StoreChosenPosition(cbResponseTime, data_.record, rec::emergency_response_time);
}

}   // namespace k3n
