// SPDX-License-Identifier: GPL-3.0-or-later
#include "service/apc_tune_window.h"
#include "widgets/button_widths.h"
#include "widgets/input_filters.h"
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace k3n {

namespace {

// The rows of three boxes, one per test frequency (low, middle, high).
struct TuningRow {
    const char* caption;
    const char* boxNames[3];
    Tuning3 ServiceData::*field;
};
constexpr TuningRow kTuningRows[] = {
    {"Low Power             (0~255)",
     {"eLowPower_LowFreq", "eLowPower_MiddleFreq", "eLowPower_HighFreq"},
     &ServiceData::apc_low_power},
    {"High Power            (0~255)",
     {"eHighPower_LowFreq", "eHighPower_MiddleFreq", "eHighPower_HighFreq"},
     &ServiceData::apc_high_power},
    {"Max Mod Dev        (0~255)",
     {"eMaxDev_LowFreq", "eMaxDev_MiddleFreq", "eMaxDev_HighFreq"},
     &ServiceData::apc_max_dev},
    {"CTCSS - 62.5Hz    (0~255)",
     {"eCTCSS_625_LowFreq", "eCTCSS_625_MiddleFreq", "eCTCSS_625_HighFreq"},
     &ServiceData::apc_ctcss_625},
    {"CTCSS - 131.8Hz  (0~255)",
     {"eCTCSS_1318_LowFreq", "eCTCSS_1318_MiddleFreq", "eCTCSS_1318_HighFreq"},
     &ServiceData::apc_ctcss_1318},
    {"CTCSS - 254.1Hz  (0~255)",
     {"eCTCSS_2541_LowFreq", "eCTCSS_2541_MiddleFreq", "eCTCSS_2541_HighFreq"},
     &ServiceData::apc_ctcss_2541},
    {"DCS - 031              (0~255)",
     {"eDCS_031_LowFreq", "eDCS_031_MiddleFreq", "eDCS_031_HighFreq"},
     &ServiceData::apc_dcs_031},
    {"RX Tuning             (0~255)",
     {"eRxTuningVoltage_LowFreq", "eRxTuningVoltage_MiddleFreq", "eRxTuningVoltage_HighFreq"},
     &ServiceData::apc_rx_tuning_voltage},
};
constexpr const char* kColumnCaptions[3] = {"Low Freq", "Middle Freq", "Upper Freq"};

// The two rows of two threshold levels each.
struct LevelBox {
    const char* label;
    const char* boxName;
    uint16_t ServiceData::*field;
};
struct LevelRow {
    const char* caption;
    LevelBox boxes[2];
};
constexpr LevelRow kLevelRows[] = {
    {"SQ                       (0~1023)",
     {{"LEVEL 2", "eSqLevel_1", &ServiceData::apc_sq_level_1},
      {"LEVEL 9", "eSqLevel_9", &ServiceData::apc_sq_level_9}}},
    {"VOX                     (0~1023)",
     {{"LEVEL 1", "eVoxLevel_1", &ServiceData::apc_vox_level_1},
      {"LEVEL 6", "eVoxLevel_6", &ServiceData::apc_vox_level_6}}},
};

constexpr int kTuningDigits = 3, kTuningMax = 255;
constexpr int kLevelDigits = 4, kLevelMax = 1023;

QLineEdit* makeBox(QWidget* parent, const char* name)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setFixedWidth(64);
    box->setAlignment(Qt::AlignRight);
    return box;
}

}   // namespace

TApcTuneDlg::TApcTuneDlg(ServiceContext context, QWidget* parent) : ServiceWindow(std::move(context), parent)
{
    setWindowTitle("WriteAll");
    ServiceData& service = context_.service;

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    for (int column = 0; column < 3; ++column) {
        auto* caption = new QLabel(kColumnCaptions[column], this);
        caption->setAlignment(Qt::AlignCenter);
        grid->addWidget(caption, 0, column + 1);
    }
    int row = 1;
    for (const TuningRow& r : kTuningRows) {
        grid->addWidget(new QLabel(r.caption, this), row, 0);
        for (int freq = 0; freq < 3; ++freq) {
            auto* box = makeBox(this, r.boxNames[freq]);
            box->setAccessibleName(
                QStringLiteral("%1, %2").arg(QString(r.caption).simplified(), kColumnCaptions[freq]));
            grid->addWidget(box, row, freq + 1, Qt::AlignCenter);
            Tuning3& values = service.*(r.field);
            addBox(
                box, kTuningDigits, kTuningMax, [&values, freq] { return values[freq]; },
                [&values, freq](int v) { values[freq] = static_cast<uint8_t>(v); });
        }
        ++row;
    }
    for (const LevelRow& r : kLevelRows) {
        grid->addWidget(new QLabel(r.caption, this), row, 0);
        for (int i = 0; i < 2; ++i) {
            const LevelBox& l = r.boxes[i];
            auto* cell = new QHBoxLayout;
            cell->addWidget(new QLabel(l.label, this));
            auto* box = makeBox(this, l.boxName);
            box->setAccessibleName(QStringLiteral("%1, %2").arg(QString(r.caption).simplified(), l.label));
            cell->addWidget(box);
            grid->addLayout(cell, row, i + 1, Qt::AlignCenter);
            uint16_t& value = service.*(l.field);
            addBox(
                box, kLevelDigits, kLevelMax, [&value] { return value; },
                [&value](int v) { value = static_cast<uint16_t>(v); });
        }
        ++row;
    }

    bRead = new QPushButton("Read", this);
    bRead->setObjectName("bRead");
    bWrite = new QPushButton("Write", this);
    bWrite->setObjectName("bWrite");
    bWriteAll = new QPushButton("Write All", this);
    bWriteAll->setObjectName("bWriteAll");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {bRead, bWrite, bWriteAll}) {
        SetButtonWidthAtLeast(b, 96);
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    auto* column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addSpacing(8);
    column->addLayout(buttons);

    connect(bRead, &QPushButton::clicked, this, &TApcTuneDlg::bReadClick);
    connect(bWrite, &QPushButton::clicked, this, &TApcTuneDlg::bWriteClick);
    connect(bWriteAll, &QPushButton::clicked, this, &TApcTuneDlg::bWriteAllClick);

    RefreshAll();
}

void TApcTuneDlg::addBox(QLineEdit* box, int maxDigits, int maxValue, std::function<int()> load,
                         std::function<void(int)> store)
{
    FilterInput(box, DigitsInput(maxDigits));
    boxes_.push_back({box, maxValue, std::move(load), std::move(store)});
    const std::size_t index = boxes_.size() - 1;
    exits_.bind(box, [this, index] { boxExit(boxes_[index]); });
}

void TApcTuneDlg::RefreshAll()
{
    for (const NumberBox& b : boxes_)
        b.box->setText(QString::number(b.load()));
}

void TApcTuneDlg::boxExit(const NumberBox& b)
{
    if (const auto value = ConvertBoxText(b.box))
        b.store(std::min(*value, b.maxValue));
    // After a failed conversion the box shows again what the field still holds.
    b.box->setText(QString::number(b.load()));
}

void TApcTuneDlg::bReadClick()
{
    runTransfer(TransferKind::PowerTuning, Direction::Read);
}

void TApcTuneDlg::bWriteClick()
{
    runTransfer(TransferKind::PowerTuning, Direction::Write);
}

void TApcTuneDlg::bWriteAllClick()
{
    runTransfer(TransferKind::FrequencyBand, Direction::Write);
}

}   // namespace k3n
