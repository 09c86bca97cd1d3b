// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/port_window.h"
#include "app/remembered_cable.h"
#include "app/settings_file.h"
#include "text/ui_text.h"
#include "text/ui_text_ids.h"
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace k3n {

using HalvexComm32::TCommPortEntry;
using HalvexComm32::TCommSerialPortInfo;

namespace {
enum LocalTextIndex { kOk, kCancel, kAutoSearch };
const LocalText kTexts[] = {
    {"确认", "确认", "OK"},
    {"取消", "取消", "Cancel"},
    {"自动查找通讯口", "自动查找通讯口", "Auto seach COM port"},
};

// "— /dev/ttyUSB0 (FTDI USB-Serial, serial A50285BI)" for the port named exactly like the button.
QString DeviceTextOf(const QString& buttonName, const QList<TCommPortEntry>& ports)
{
    for (const TCommPortEntry& p : ports)
        if (p.name.compare(buttonName, Qt::CaseInsensitive) == 0)
            return TCommSerialPortInfo::DisplayText(p).mid(p.name.size() + 1);
    return {};
}
}   // namespace

TCommunicationPort::TCommunicationPort(AppSettings& settings, const QList<TCommPortEntry>& ports, QWidget* parent)
    : QDialog(parent), settings_(settings), ports_(ports)
{
    for (const TCommPortEntry& p : ports)
        portNames_ << p.name;

    setObjectName("TCommunicationPort");
    setWindowTitle(PlainCaption(UiText(ui::kMenuCommunicationPort)));

    gbCOM = new QGroupBox(this);
    gbCOM->setObjectName("gbCOM");
    auto* grid = new QGridLayout(gbCOM);
    for (int i = 0; i < kLastChoosablePort; ++i) {
        const QString name = TCommSerialPortInfo::PortName(i + 1);
        rbCOM[i] = new QRadioButton(name, gbCOM);
        rbCOM[i]->setObjectName("rb" + name);
        sCOMDevice[i] = new QLabel(DeviceTextOf(name, ports), gbCOM);
        sCOMDevice[i]->setObjectName("s" + name + "Device");
        grid->addWidget(rbCOM[i], i, 0);
        grid->addWidget(sCOMDevice[i], i, 1);
    }
    grid->setColumnStretch(1, 1);

    cAutoSeachPort = new QCheckBox(Localized(kTexts[kAutoSearch]), this);
    cAutoSeachPort->setObjectName("cAutoSeachPort");
    OKBtn = new QPushButton(Localized(kTexts[kOk]), this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(Localized(kTexts[kCancel]), this);
    CancelBtn->setObjectName("CancelBtn");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* column = new QVBoxLayout(this);
    column->addWidget(gbCOM);
    column->addWidget(cAutoSeachPort);
    column->addLayout(buttons);

    cAutoSeachPort->setChecked(settings_.AutoSeachPort);
    DisableAllPorts();
    // Takes effect even when the dialog is cancelled.
    FollowRememberedCable(settings_, ports_);
    settings_.Port = CheckedPort(settings_.Port, portNames_);
    if (!settings_.AutoSeachPort)
        EnablePresentPorts();
    rbCOM[settings_.Port - 1]->setChecked(true);

    connect(cAutoSeachPort, &QCheckBox::clicked, this, &TCommunicationPort::cAutoSeachPortClick);
    connect(OKBtn, &QPushButton::clicked, this, &TCommunicationPort::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TCommunicationPort::OKBtnClick()
{
    for (int i = 0; i < kLastChoosablePort; ++i)
        if (rbCOM[i]->isChecked())
            settings_.Port = i + 1;
    RememberCableOfPort(settings_, ports_);
    accept();
}

void TCommunicationPort::cAutoSeachPortClick()
{
    // Takes effect at once; Cancel does not undo it.
    settings_.AutoSeachPort = cAutoSeachPort->isChecked();
    if (settings_.AutoSeachPort)
        DisableAllPorts();
    else
        EnablePresentPorts();
}

void TCommunicationPort::EnablePresentPorts()
{
    for (int i = 0; i < kLastChoosablePort; ++i)
        if (PortIsPresent(i + 1, portNames_)) {
            rbCOM[i]->setEnabled(true);
            sCOMDevice[i]->setEnabled(true);
        }
}

void TCommunicationPort::DisableAllPorts()
{
    for (int i = 0; i < kLastChoosablePort; ++i) {
        rbCOM[i]->setEnabled(false);
        sCOMDevice[i]->setEnabled(false);   // greyed with its button
    }
}

}   // namespace k3n
