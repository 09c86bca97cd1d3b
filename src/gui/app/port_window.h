// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The communication-port dialog: which of COM1..COM9 the programming session
// uses, and whether it searches the machine's ports by itself instead.
#include "app/app_settings.h"
#include "comm/port_list.h"
#include <QDialog>
#include <QList>
#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace k3n {

class TCommunicationPort : public QDialog {
    Q_OBJECT
public:
    // ports: the machine's port list. Opening the dialog already moves Port to
    // the remembered cable's number, or sets it to 1 when its port is absent; the
    // search switch changes the settings at once. OK remembers the chosen cable.
    TCommunicationPort(AppSettings& settings, const QList<HalvexComm32::TCommPortEntry>& ports,
                       QWidget* parent = nullptr);

    void OKBtnClick();
    void cAutoSeachPortClick();

    QGroupBox* gbCOM;
    std::array<QRadioButton*, 9> rbCOM{};   // rbCOM[0] is "COM1"
    std::array<QLabel*, 9> sCOMDevice{};   // the device path beside a present port's button
    QCheckBox* cAutoSeachPort;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

private:
    void EnablePresentPorts();
    void DisableAllPorts();

    AppSettings& settings_;
    QList<HalvexComm32::TCommPortEntry> ports_;
    QStringList portNames_;
};

}   // namespace k3n
