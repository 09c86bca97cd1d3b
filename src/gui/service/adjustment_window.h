// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The hub of the service mode: the audio-path adjustment values, the
// firmware information, and the doors to the power-tuning and the
// serial-number windows.
#include "service/service_window.h"
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace k3n {

class TAdjustmentDlg : public ServiceWindow {
    Q_OBJECT
public:
    explicit TAdjustmentDlg(ServiceContext context, QWidget* parent = nullptr);

    // Shows every field: list selections, numbers and the firmware information.
    void RefreshAll() override;

    // "0 dB" .. "22.4 dB" and "mute", "-19.2 dB" .. "0 dB".
    static QStringList InputGainTexts();
    static QStringList OutputGainTexts();

    QComboBox* cbMicInput;
    QComboBox* cbModOutput;
    QComboBox* cbSubAudio;
    QComboBox* cbDiscInput;
    QComboBox* cbAudioOutput;
    QLineEdit* eModFineOutputGain;
    QLineEdit* eMaxModLimit;
    QLineEdit* eCtcssLevel;
    TUpDown* udModFineOutputGain;
    TUpDown* udMaxModLimit;
    TUpDown* udCtcssLevel;
    QLabel* labModel;
    QLabel* labBand;
    QLabel* labVersion;
    QPushButton* bWrite;
    QPushButton* bRead;
    QPushButton* bApcTune;
    QPushButton* bWriteSn;
    QPushButton* Button1;

private:
    // A number box with its up-down, its range and its field.
    struct RangedBox {
        QLineEdit* box;
        int minValue;
        int maxValue;
        uint16_t ServiceData::*field;
    };

    void bindList(QComboBox* list, uint8_t ServiceData::*field);
    void bindRangedBox(QLineEdit* box, TUpDown* upDown, int maxValue, uint16_t ServiceData::*field);
    void rangedBoxExit(const RangedBox& b);
    void rangedBoxStep(const RangedBox& b, int direction);
    void showFirmware();

    void bWriteClick();
    void bReadClick();
    void bApcTuneClick();
    void bWriteSnClick();
    void Button1Click();

    std::vector<std::pair<QComboBox*, uint8_t ServiceData::*>> lists_;
    std::vector<RangedBox> rangedBoxes_;
};

}   // namespace k3n
