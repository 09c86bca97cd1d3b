// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The modal port settings dialog of a communication device component: port,
// line settings, flow control, auto answer and queue sizes, checked on OK and
// applied in one go; a failure to apply puts the old settings back.
#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace k3n {

class TZebCustomCommDevice;

class TForm_ZebCommDevice_Settings : public QDialog {
    Q_OBJECT

public:
    // designing: show the About and Default buttons (never so in the program itself).
    TForm_ZebCommDevice_Settings(QWidget* owner, bool openAfterOk, TZebCustomCommDevice* device,
                                 bool designing = false);

    void BnOKClick();
    void BnCancelClick();
    void BnDefaultClick();
    void BnAboutClick();

private:
    struct Remembered {
        bool active;
        QString deviceName;
        int baud, parity, byteSize, stopBits, flow, autoAnswer;
        long inBufSize, outBufSize;
    };

    void BuildControls();
    void Label();
    void FillLists();
    void ShowRemembered();
    bool Check();
    void Fail(QWidget* control, int text, bool selectText = false);
    void Apply(const Remembered& values, bool active);
    Remembered Entered() const;

    TZebCustomCommDevice* device_;
    bool openAfterOk_;
    Remembered remembered_{};

    QGroupBox* GbPort;
    QGroupBox* GbModem;
    QGroupBox* GbBuffer;
    QLabel* LbPort;
    QLabel* LbBaud;
    QLabel* LbParity;
    QLabel* LbByteSize;
    QLabel* LbStopBits;
    QLabel* LbFlow;
    QLabel* LbAutoAns;
    QLabel* LbInBufSize;
    QLabel* LbOutBufSize;
    QComboBox* CbPort;
    QComboBox* CbSelBaud;
    QComboBox* CbParity;
    QComboBox* CbByteSize;
    QComboBox* CbStopBits;
    QComboBox* CbFlow;
    QLineEdit* EditAutoAns;
    QLineEdit* EditInBufSize;
    QLineEdit* EditOutBufSize;
    QPushButton* BnAbout;
    QPushButton* BnDefault;
    QPushButton* BnOK;
    QPushButton* BnCancel;
};

// Shows the dialog for the device modally; true when it closed with OK.
bool SettingsDialog(TZebCustomCommDevice& device, QWidget* owner, bool openAfterOk);

}   // namespace k3n
