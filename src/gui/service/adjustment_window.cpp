// SPDX-License-Identifier: GPL-3.0-or-later
#include "service/adjustment_window.h"
#include "model/value_codings.h"
#include "service/apc_tune_window.h"
#include "service/write_sn_window.h"
#include "widgets/button_widths.h"
#include "widgets/input_filters.h"
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace k3n {

namespace {

constexpr int kGainSteps = 8;
constexpr int kNumberDigits = 5;
constexpr int kModGainMax = 16383;
constexpr int kModLimitMax = 16383;
constexpr int kCtcssLevelMax = 4095;

// Tenths of a dB in the shortest decimal form: 32 -> "3.2 dB", 0 -> "0 dB".
QString decibelText(int tenths)
{
    return QString::number(tenths / 10.0) + " dB";
}

QComboBox* makeList(QWidget* parent, const char* name, const QStringList& entries)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->addItems(entries);
    list->setMaxVisibleItems(16);
    list->setFixedWidth(120);
    return list;
}

QLabel* makeValueLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setMinimumWidth(60);
    label->setFrameShape(QFrame::StyledPanel);
    return label;
}

// "caption  [box][arrows]" as one form row.
QWidget* numberCell(QWidget* parent, QLineEdit* box, TUpDown* upDown)
{
    auto* cell = new QWidget(parent);
    auto* row = new QHBoxLayout(cell);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    box->setFixedWidth(80);
    box->setAlignment(Qt::AlignRight);
    row->addWidget(box);
    row->addWidget(upDown);
    row->addStretch();
    return cell;
}

// Captions of both groups share one width so their controls line up.
void addRow(QFormLayout* form, const char* caption, QWidget* field)
{
    auto* label = new QLabel(caption, form->parentWidget());
    label->setMinimumWidth(240);
    form->addRow(label, field);
    if (auto* box = field->findChild<QLineEdit*>())   // the caption stands before the box's row, not the box
        box->setAccessibleName(QString(caption).simplified());
}

QString hexText(uint16_t v)
{
    return QString::number(v, 16).toUpper();
}

}   // namespace

QStringList TAdjustmentDlg::InputGainTexts()
{
    QStringList texts;
    for (int i = 0; i < kGainSteps; ++i)
        texts << decibelText(32 * i);
    return texts;
}

QStringList TAdjustmentDlg::OutputGainTexts()
{
    QStringList texts{"mute"};
    for (int i = kGainSteps - 2; i >= 1; --i)
        texts << decibelText(-32 * i);
    texts << "0 dB";
    return texts;
}

TAdjustmentDlg::TAdjustmentDlg(ServiceContext context, QWidget* parent) : ServiceWindow(std::move(context), parent)
{
    setWindowTitle("Adjustment");

    QStringList subAudio;
    for (int i = 0; i < kCtcssCount; ++i)
        subAudio << CtcssText(i);
    for (int i = 0; i < kDcsCodeCount; ++i)
        subAudio << DcsText(i);

    cbMicInput = makeList(this, "cbMicInput", InputGainTexts());
    cbModOutput = makeList(this, "cbModOutput", OutputGainTexts());
    cbSubAudio = makeList(this, "cbSubAudio", subAudio);
    cbDiscInput = makeList(this, "cbDiscInput", InputGainTexts());
    cbAudioOutput = makeList(this, "cbAudioOutput", OutputGainTexts());

    auto makeNumber = [this](const char* boxName, const char* upDownName, TUpDown*& upDown) {
        auto* box = new QLineEdit(this);
        box->setObjectName(boxName);
        upDown = new TUpDown(this);
        upDown->setObjectName(upDownName);
        return box;
    };
    eModFineOutputGain = makeNumber("eModFineOutputGain", "udModFineOutputGain", udModFineOutputGain);
    eMaxModLimit = makeNumber("eMaxModLimit", "udMaxModLimit", udMaxModLimit);
    eCtcssLevel = makeNumber("eCtcssLevel", "udCtcssLevel", udCtcssLevel);

    auto* txGroup = new QGroupBox("Tx Mode", this);
    auto* txForm = new QFormLayout(txGroup);
    addRow(txForm, "Mic Input Gain", cbMicInput);
    addRow(txForm, "MOD Output Gain", cbModOutput);
    addRow(txForm, "CTCSS Freq", cbSubAudio);
    addRow(txForm, "MOD Fine Output Gain   (0~16383)", numberCell(txGroup, eModFineOutputGain, udModFineOutputGain));
    addRow(txForm, "Max MOD Limit               (0~16383)", numberCell(txGroup, eMaxModLimit, udMaxModLimit));
    addRow(txForm, "CTCSS Level                    (0~4095)", numberCell(txGroup, eCtcssLevel, udCtcssLevel));

    auto* rxGroup = new QGroupBox("Rx Mode", this);
    auto* rxForm = new QFormLayout(rxGroup);
    addRow(rxForm, "Disc Input Gain", cbDiscInput);
    addRow(rxForm, "Audio Output Gain", cbAudioOutput);

    labModel = makeValueLabel(this, "labModel");
    labBand = makeValueLabel(this, "labBand");
    labVersion = makeValueLabel(this, "labVersion");
    Button1 = new QPushButton("Read", this);
    Button1->setObjectName("Button1");
    auto* firmwareGroup = new QGroupBox("Firmware Information", this);
    auto* firmwareRow = new QHBoxLayout(firmwareGroup);
    for (auto [caption, label] : {std::pair{"Model", labModel}, {"Band", labBand}, {"Version", labVersion}}) {
        firmwareRow->addWidget(new QLabel(caption, firmwareGroup));
        firmwareRow->addWidget(label);
        firmwareRow->addSpacing(8);
    }
    firmwareRow->addStretch();
    firmwareRow->addWidget(Button1);

    bWrite = new QPushButton("Write To EEPROM", this);
    bWrite->setObjectName("bWrite");
    bRead = new QPushButton("Read From EEPROM", this);
    bRead->setObjectName("bRead");
    bApcTune = new QPushButton("Alignment Value", this);
    bApcTune->setObjectName("bApcTune");
    bWriteSn = new QPushButton("SN", this);
    bWriteSn->setObjectName("bWriteSn");
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {bRead, bWrite, bApcTune, bWriteSn}) {
        b->setAutoDefault(false);
        SetButtonWidthAtLeast(b, 110);
        buttons->addWidget(b);
    }
    Button1->setAutoDefault(false);

    auto* column = new QVBoxLayout(this);
    column->addWidget(txGroup);
    column->addWidget(rxGroup);
    column->addWidget(firmwareGroup);
    column->addLayout(buttons);

    bindList(cbMicInput, &ServiceData::adj_mic_input);
    bindList(cbModOutput, &ServiceData::adj_mod_output);
    bindList(cbDiscInput, &ServiceData::adj_disc_input);
    bindList(cbAudioOutput, &ServiceData::adj_audio_output);
    // The CTCSS frequency list only shows its field: leaving it stores nothing.
    bindRangedBox(eModFineOutputGain, udModFineOutputGain, kModGainMax, &ServiceData::adj_mod_fine_output_gain);
    bindRangedBox(eMaxModLimit, udMaxModLimit, kModLimitMax, &ServiceData::adj_max_mod_limit);
    bindRangedBox(eCtcssLevel, udCtcssLevel, kCtcssLevelMax, &ServiceData::adj_ctcss_level);

    connect(bWrite, &QPushButton::clicked, this, &TAdjustmentDlg::bWriteClick);
    connect(bRead, &QPushButton::clicked, this, &TAdjustmentDlg::bReadClick);
    connect(bApcTune, &QPushButton::clicked, this, &TAdjustmentDlg::bApcTuneClick);
    connect(bWriteSn, &QPushButton::clicked, this, &TAdjustmentDlg::bWriteSnClick);
    connect(Button1, &QPushButton::clicked, this, &TAdjustmentDlg::Button1Click);

    RefreshAll();
}

void TAdjustmentDlg::bindList(QComboBox* list, uint8_t ServiceData::*field)
{
    lists_.emplace_back(list, field);
    exits_.bind(list, [this, list, field] {
        // Nothing chosen (a value read from the radio that the list lacks): keep the field.
        if (list->currentIndex() >= 0)
            context_.service.*field = static_cast<uint8_t>(list->currentIndex());
    });
}

void TAdjustmentDlg::bindRangedBox(QLineEdit* box, TUpDown* upDown, int maxValue, uint16_t ServiceData::*field)
{
    FilterInput(box, DigitsInput(kNumberDigits));
    rangedBoxes_.push_back({box, 0, maxValue, field});
    const std::size_t index = rangedBoxes_.size() - 1;
    exits_.bind(box, [this, index] { rangedBoxExit(rangedBoxes_[index]); });
    connect(upDown, &TUpDown::stepped, this,
            [this, index](int direction) { rangedBoxStep(rangedBoxes_[index], direction); });
}

void TAdjustmentDlg::rangedBoxExit(const RangedBox& b)
{
    if (const auto value = ConvertBoxText(b.box))
        context_.service.*b.field = static_cast<uint16_t>(std::clamp(*value, b.minValue, b.maxValue));
    // After a failed conversion the box shows again what the field still holds.
    b.box->setText(QString::number(context_.service.*b.field));
}

void TAdjustmentDlg::rangedBoxStep(const RangedBox& b, int direction)
{
    // The arrows step from what the box shows; a box that holds no number steps the field.
    bool ok = false;
    int value = b.box->text().toInt(&ok);
    if (!ok)
        value = context_.service.*b.field;
    value = std::clamp(std::clamp(value, b.minValue, b.maxValue) + direction, b.minValue, b.maxValue);
    context_.service.*b.field = static_cast<uint16_t>(value);
    b.box->setText(QString::number(value));
}

void TAdjustmentDlg::RefreshAll()
{
    const ServiceData& s = context_.service;
    for (auto [list, field] : lists_)
        list->setCurrentIndex(s.*field < list->count() ? s.*field : -1);
    cbSubAudio->setCurrentIndex(s.adj_ctcss_freq < cbSubAudio->count() ? s.adj_ctcss_freq : -1);
    for (const RangedBox& b : rangedBoxes_)
        b.box->setText(QString::number(s.*b.field));
    showFirmware();
}

void TAdjustmentDlg::showFirmware()
{
    const ServiceData& s = context_.service;
    labModel->setText(hexText(s.firmware_model));
    labBand->setText(hexText(s.firmware_band));
    labVersion->setText(hexText(s.firmware_version));
}

void TAdjustmentDlg::bWriteClick()
{
    runTransfer(TransferKind::Adjustment, Direction::Write);
}

void TAdjustmentDlg::bReadClick()
{
    runTransfer(TransferKind::Adjustment, Direction::Read);
}

void TAdjustmentDlg::Button1Click()
{
    runTransfer(TransferKind::FirmwareInfo, Direction::Read);
}

void TAdjustmentDlg::bApcTuneClick()
{
    exits_.commitFocused();
    TApcTuneDlg apcTune(context_, this);
    apcTune.exec();
}

void TAdjustmentDlg::bWriteSnClick()
{
    exits_.commitFocused();
    TWriteSnDlg writeSn(context_, this);
    writeSn.exec();
}

}   // namespace k3n
