// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/key_assignment_window.h"
#include "model/key_codes.h"
#include "model/record_layout.h"
#include "text/app_lang.h"
#include "text/ui_text.h"
#include "text/ui_text_ids.h"
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <algorithm>
#include <span>
#include <vector>

namespace k3n {

namespace {

constexpr uint8_t kTalkAroundCode = kTalkAroundKeyCode;

// The codes each list offers, in list order.
constexpr uint8_t kKey1PressCodes[] = {0, 19, 20};
constexpr uint8_t kKey1PowerOnCodes[] = {0, 20, 17};
constexpr uint8_t kSideKeyPressCodes[] = {0,  8,  10, kTalkAroundCode, 3, 4, 5, 6, 7, 27, 17, 18, 21, 22, 23, 24,
                                          25, 26, 28};
constexpr uint8_t kSideKeyPowerOnCodes[] = {0, 10, kTalkAroundCode, 13, 17, 18, 21, 25, 26};

constexpr int kPowerOn = 2;

std::span<const uint8_t> CodesOfList(int key, int action)
{
    if (key == 0)
        return action == kPowerOn ? std::span<const uint8_t>(kKey1PowerOnCodes)
                                  : std::span<const uint8_t>(kKey1PressCodes);
    return action == kPowerOn ? std::span<const uint8_t>(kSideKeyPowerOnCodes)
                              : std::span<const uint8_t>(kSideKeyPressCodes);
}

std::vector<OptionText> NamesOf(std::span<const uint8_t> codes)
{
    std::vector<OptionText> names;
    for (uint8_t code : codes)
        names.emplace_back(KeyFunctionTextNumber(code));
    return names;
}

// List position of a stored code; -1 when the list does not offer it.
int PositionOfCode(std::span<const uint8_t> codes, uint8_t stored)
{
    const uint8_t code = IsTalkAroundKeyCode(stored) ? kTalkAroundCode : stored;
    const auto it = std::find(codes.begin(), codes.end(), code);
    return it == codes.end() ? -1 : int(it - codes.begin());
}

constexpr const char* kKeyGroupNames[] = {"gbKey1", "gbKey2", "gbKey3"};
constexpr int kKeyGroupTexts[] = {ui::kSideKey1, ui::kSideKey2, ui::kSideKey3};
constexpr const char* kActionLabelFormats[] = {"sKey%1_Press", "sKey%1_Hold", "sKey%1_PowerOn"};
constexpr const char* kActionListFormats[] = {"cbKey%1_Press", "cbKey%1_Hold", "cbKey%1_PowerOn"};
constexpr int kActionTexts[] = {ui::kPress, ui::kHolding, ui::kPowerOn};

}   // namespace

TKeyAssignmentDlg::TKeyAssignmentDlg(RadioData& data, QWidget* parent) : EditorWindow(data, parent)
{
    auto* page = new QGridLayout(this);
    for (int key = 0; key < 3; ++key) {
        auto* group = new QGroupBox(this);
        group->setObjectName(kKeyGroupNames[key]);
        captions_.add(group, kKeyGroupTexts[key]);
        auto* form = new QFormLayout(group);
        form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
        for (int action = 0; action < 3; ++action) {
            const QByteArray label = QString(kActionLabelFormats[action]).arg(key + 1).toLatin1();
            const QByteArray name = QString(kActionListFormats[action]).arg(key + 1).toLatin1();
            keyLists_[key][action] =
                AddLabelledList(form, captions_, label.constData(), kActionTexts[action], name.constData());
        }
        page->addWidget(group, key / 2, key % 2);
    }
    auto* timeGroup = new QGroupBox(this);
    timeGroup->setObjectName("gbTimeSetup");
    captions_.add(timeGroup, ui::kTimeSetup);
    auto* timeForm = new QFormLayout(timeGroup);
    timeForm->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    cbHoldTime = AddLabelledList(timeForm, captions_, "sHoldTime", ui::kHoldingTime, "cbHoldTime");
    cbEmgHoldTime = AddLabelledList(timeForm, captions_, "sEmgHoldTime", ui::kEmergencyHoldTime, "cbEmgHoldTime");
    page->addWidget(timeGroup, 1, 1);
    page->setRowStretch(2, 1);
    page->setColumnStretch(2, 1);

    bindExit(keyLists_[0][0], [this] { cbKey1_PressExit(); });
    bindExit(keyLists_[0][1], [this] { cbKey1_HoldExit(); });
    bindExit(keyLists_[0][2], [this] { cbKey1_PowerOnExit(); });
    bindExit(keyLists_[1][0], [this] { cbKey2_PressExit(); });
    bindExit(keyLists_[1][1], [this] { cbKey2_HoldExit(); });
    bindExit(keyLists_[1][2], [this] { cbKey2_PowerOnExit(); });
    bindExit(keyLists_[2][0], [this] { cbKey3_PressExit(); });
    bindExit(keyLists_[2][1], [this] { cbKey3_HoldExit(); });
    bindExit(keyLists_[2][2], [this] { cbKey3_PowerOnExit(); });
    bindExit(cbHoldTime, [this] { cbHoldTimeExit(); });
    bindExit(cbEmgHoldTime, [this] { cbEmgHoldTimeExit(); });

    RefreshAll();
}

void TKeyAssignmentDlg::RefreshAll()
{
    const RadioRecord& r = data_.record;
    setWindowTitle(UiText(ui::kKeyAssignment));
    captions_.apply();
    for (int key = 0; key < 3; ++key) {
        for (int action = 0; action < 3; ++action) {
            const std::span<const uint8_t> codes = CodesOfList(key, action);
            FillPickList(keyLists_[key][action], NamesOf(codes),
                         PositionOfCode(codes, r.get(rec::key_function(key, action))));
        }
    }
    FillPickList(cbHoldTime, SettingsListTexts(SettingsList::KeyHoldTime, appLang()), r.get(rec::key_hold_time));
    FillPickList(cbEmgHoldTime, SettingsListTexts(SettingsList::EmergencyKeyHoldTime, appLang()),
                 r.get(rec::emergency_hold_time));
}

void TKeyAssignmentDlg::storeKeyFunction(int key, int action)
{
    const int position = keyLists_[key][action]->currentIndex();
    if (position < 0)
        return;   // a stored code no list offers stays as it is
    uint8_t code = CodesOfList(key, action)[size_t(position)];
    if (code == kTalkAroundCode)
        code = TalkAroundKeyCode(data_.record.get(rec::talk_around));
    data_.record.set(rec::key_function(key, action), code);
}

void TKeyAssignmentDlg::cbHoldTimeExit()
{
    StoreChosenPosition(cbHoldTime, data_.record, rec::key_hold_time);
}

void TKeyAssignmentDlg::cbEmgHoldTimeExit()
{
    StoreChosenPosition(cbEmgHoldTime, data_.record, rec::emergency_hold_time);
}

}   // namespace k3n
