// SPDX-License-Identifier: GPL-3.0-or-later
#include "commsettings/comm_settings_window.h"

#include "comm/comm_component.h"
#include "comm/comm_error.h"
#include "comm/port_list.h"
#include "commsettings/comm_settings_texts.h"
#include "text/app_lang.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSysInfo>
#include <QVBoxLayout>

#include <exception>

namespace k3n {

using HalvexComm32::EComm32Error;
using HalvexComm32::TCommPortEntry;
using HalvexComm32::TCommSerialPortInfo;

namespace {

// Text numbers.
enum : int {
    kOk = 0,
    kCancel = 1,
    kCaption = 2,
    kComPort = 3,
    kBaud = 4,
    kParity = 5,
    kByteSize = 6,
    kStopBits = 7,
    kFlowControl = 8,
    kNoParity = 9,
    kOdd = 10,
    kEven = 11,
    kMark = 12,
    kFlowNone = 13,
    kRtsCts = 14,
    kXonXoff = 15,
    kRtsCtsXonXoff = 16,
    kMustSelectPort = 17,
    kMustSelectBaud = 18,
    kMustSelectByteSize = 20,
    kMustSelectParity = 21,
    kMustSelectStopBits = 22,
    kMustSelectFlow = 23,
    kAbout = 24,
    kDefault = 25,
    kPortGroup = 26,
    kModemGroup = 27,
    kBufferGroup = 28,
    kAutoAnswer = 29,
    kInputBuf = 30,
    kOutputBuf = 31,
    kAutoAnswerRange = 32,
    kInputBufError = 33,
    kOutputBufError = 34,
    kSpaceParity = 35,
};

constexpr int kMinBufferSize = 4096;
constexpr int kPortNameRole = Qt::UserRole;
constexpr int kPortPathRole = Qt::UserRole + 1;

// The flow-control list has four entries; the transparent variant shows as Xon/Xoff.
int FlowEntry(TFlowControl flow)
{
    switch (flow) {
    case TFlowControl::fcRtsCts: return 1;
    case TFlowControl::fcXonXoff:
    case TFlowControl::fcTranXonXoff: return 2;
    case TFlowControl::fcRtsCtsXonXoff: return 3;
    default: return 0;
    }
}

TFlowControl FlowOfEntry(int entry)
{
    static const TFlowControl flows[] = {TFlowControl::fcNone, TFlowControl::fcRtsCts, TFlowControl::fcXonXoff,
                                         TFlowControl::fcRtsCtsXonXoff};
    return entry >= 0 && entry < 4 ? flows[entry] : TFlowControl::fcNone;
}

bool ReadNumber(const QLineEdit* edit, long& value)
{
    bool ok = false;
    value = edit->text().trimmed().toLong(&ok);
    return ok;
}

}   // namespace

TForm_ZebCommDevice_Settings::TForm_ZebCommDevice_Settings(QWidget* owner, bool openAfterOk,
                                                           TZebCustomCommDevice* device, bool designing)
    : QDialog(owner), device_(device), openAfterOk_(openAfterOk)
{
    setObjectName("Form_ZebCommDevice_Settings");
    setFont(QFont(appLang().fontName(), appLang().fontSize()));
    BuildControls();
    Label();
    FillLists();
    BnAbout->setVisible(designing);
    BnDefault->setVisible(designing);

    remembered_ = {device_->fGetActive(),
                   device_->fGetDeviceName(),
                   int(device_->fGetBaud()),
                   int(device_->fGetParity()),
                   device_->fGetByteSize(),
                   int(device_->fGetStopBits()),
                   FlowEntry(device_->fGetFlowControl()),
                   device_->fGetAutoAnswer(),
                   device_->fGetInBufSize(),
                   device_->fGetOutBufSize()};
    ShowRemembered();

    connect(BnOK, &QPushButton::clicked, this, &TForm_ZebCommDevice_Settings::BnOKClick);
    connect(BnCancel, &QPushButton::clicked, this, &TForm_ZebCommDevice_Settings::BnCancelClick);
    connect(BnDefault, &QPushButton::clicked, this, &TForm_ZebCommDevice_Settings::BnDefaultClick);
    connect(BnAbout, &QPushButton::clicked, this, &TForm_ZebCommDevice_Settings::BnAboutClick);
}

void TForm_ZebCommDevice_Settings::BuildControls()
{
    const auto named = [this](auto* widget, const char* name) {
        widget->setObjectName(name);
        return widget;
    };
    GbPort = named(new QGroupBox(this), "GbPort");
    GbModem = named(new QGroupBox(this), "GbModem");
    GbBuffer = named(new QGroupBox(this), "GbBuffer");
    CbPort = named(new QComboBox(GbPort), "CbPort");
    CbSelBaud = named(new QComboBox(GbPort), "CbSelBaud");
    CbParity = named(new QComboBox(GbPort), "CbParity");
    CbByteSize = named(new QComboBox(GbPort), "CbByteSize");
    CbStopBits = named(new QComboBox(GbPort), "CbStopBits");
    CbFlow = named(new QComboBox(GbModem), "CbFlow");
    EditAutoAns = named(new QLineEdit(GbModem), "EditAutoAns");
    EditInBufSize = named(new QLineEdit(GbBuffer), "EditInBufSize");
    EditOutBufSize = named(new QLineEdit(GbBuffer), "EditOutBufSize");
    BnAbout = named(new QPushButton(this), "BnAbout");
    BnDefault = named(new QPushButton(this), "BnDefault");
    BnOK = named(new QPushButton(this), "BnOK");
    BnCancel = named(new QPushButton(this), "BnCancel");
    BnOK->setDefault(true);

    const auto addRow = [](QGridLayout* grid, QLabel*& label, QWidget* field, const char* name) {
        label = new QLabel(field->parentWidget());
        label->setObjectName(name);
        label->setBuddy(field);
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
    };
    auto* portGrid = new QGridLayout(GbPort);
    addRow(portGrid, LbPort, CbPort, "LbPort");
    addRow(portGrid, LbBaud, CbSelBaud, "LbBaud");
    addRow(portGrid, LbParity, CbParity, "LbParity");
    addRow(portGrid, LbByteSize, CbByteSize, "LbByteSize");
    addRow(portGrid, LbStopBits, CbStopBits, "LbStopBits");
    auto* modemGrid = new QGridLayout(GbModem);
    addRow(modemGrid, LbFlow, CbFlow, "LbFlow");
    addRow(modemGrid, LbAutoAns, EditAutoAns, "LbAutoAns");
    auto* bufferGrid = new QGridLayout(GbBuffer);
    addRow(bufferGrid, LbInBufSize, EditInBufSize, "LbInBufSize");
    addRow(bufferGrid, LbOutBufSize, EditOutBufSize, "LbOutBufSize");

    // Stretch on both sides: with About and Default hidden, OK and Cancel sit centred as a pair.
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BnAbout);
    buttons->addWidget(BnDefault);
    buttons->addStretch();
    buttons->addWidget(BnOK);
    buttons->addWidget(BnCancel);
    buttons->addStretch();

    auto* right = new QVBoxLayout;
    right->addWidget(GbModem);
    right->addWidget(GbBuffer);
    auto* groups = new QHBoxLayout;
    groups->addWidget(GbPort);
    groups->addLayout(right);
    auto* all = new QVBoxLayout(this);
    all->addLayout(groups);
    all->addLayout(buttons);

    setTabOrder(CbPort, CbSelBaud);
    setTabOrder(CbSelBaud, CbParity);
    setTabOrder(CbParity, CbByteSize);
    setTabOrder(CbByteSize, CbStopBits);
    setTabOrder(CbStopBits, CbFlow);
    setTabOrder(CbFlow, EditAutoAns);
    setTabOrder(EditAutoAns, EditInBufSize);
    setTabOrder(EditInBufSize, EditOutBufSize);
    setTabOrder(EditOutBufSize, BnOK);
    setTabOrder(BnOK, BnCancel);
}

void TForm_ZebCommDevice_Settings::Label()
{
    setWindowTitle(CommSettingsText(kCaption));
    GbPort->setTitle(CommSettingsText(kPortGroup));
    GbModem->setTitle(CommSettingsText(kModemGroup));
    GbBuffer->setTitle(CommSettingsText(kBufferGroup));
    BnAbout->setText(CommSettingsText(kAbout));
    BnDefault->setText(CommSettingsText(kDefault));
    BnOK->setText(CommSettingsText(kOk));
    BnCancel->setText(CommSettingsText(kCancel));
    LbPort->setText(CommSettingsText(kComPort));
    LbBaud->setText(CommSettingsText(kBaud));
    LbParity->setText(CommSettingsText(kParity));
    LbByteSize->setText(CommSettingsText(kByteSize));
    LbStopBits->setText(CommSettingsText(kStopBits));
    LbFlow->setText(CommSettingsText(kFlowControl));
    LbAutoAns->setText(CommSettingsText(kAutoAnswer));
    LbInBufSize->setText(CommSettingsText(kInputBuf));
    LbOutBufSize->setText(CommSettingsText(kOutputBuf));
}

void TForm_ZebCommDevice_Settings::FillLists()
{
    for (const TCommPortEntry& port : TCommSerialPortInfo().Ports()) {
        CbPort->addItem(TCommSerialPortInfo::DisplayText(port));
        CbPort->setItemData(CbPort->count() - 1, port.name, kPortNameRole);
        CbPort->setItemData(CbPort->count() - 1, port.devicePath, kPortPathRole);
    }
    for (int i = 0; i < kBaudRateCount; ++i)
        CbSelBaud->addItem(QString::number(BaudRateValue(TBaudRate(i))));
    CbByteSize->addItems({"5", "6", "7", "8"});
    CbStopBits->addItems({"1", "1.5", "2"});
    for (int text : {kNoParity, kOdd, kEven, kMark, kSpaceParity})
        CbParity->addItem(CommSettingsText(text));
    for (int text : {kFlowNone, kRtsCts, kXonXoff, kRtsCtsXonXoff})
        CbFlow->addItem(CommSettingsText(text));
}

void TForm_ZebCommDevice_Settings::ShowRemembered()
{
    const int portNo = TCommSerialPortInfo::PortNo(remembered_.deviceName);
    if (portNo > 0)
        CbPort->setCurrentIndex(CbPort->findData(TCommSerialPortInfo::PortName(portNo), kPortNameRole));
    else
        CbPort->setCurrentIndex(CbPort->findData(remembered_.deviceName, kPortPathRole));
    CbSelBaud->setCurrentIndex(remembered_.baud);
    CbParity->setCurrentIndex(remembered_.parity);
    CbByteSize->setCurrentIndex(remembered_.byteSize >= 5 && remembered_.byteSize <= 8 ? remembered_.byteSize - 5 : -1);
    CbStopBits->setCurrentIndex(remembered_.stopBits);
    CbFlow->setCurrentIndex(remembered_.flow);
    EditAutoAns->setText(QString::number(remembered_.autoAnswer));
    EditInBufSize->setText(QString::number(remembered_.inBufSize));
    EditOutBufSize->setText(QString::number(remembered_.outBufSize));
}

void TForm_ZebCommDevice_Settings::Fail(QWidget* control, int text, bool selectText)
{
    control->setFocus();
    if (selectText)
        static_cast<QLineEdit*>(control)->selectAll();
    QMessageBox::critical(this, windowTitle(), CommSettingsText(text));
}

bool TForm_ZebCommDevice_Settings::Check()
{
    const auto outside = [](const QComboBox* list, int count) {
        return list->currentIndex() < 0 || list->currentIndex() >= count;
    };
    if (CbPort->currentIndex() < 0)
        return Fail(CbPort, kMustSelectPort), false;
    if (outside(CbSelBaud, kBaudRateCount))
        return Fail(CbSelBaud, kMustSelectBaud), false;
    if (CbByteSize->currentIndex() < 0)
        return Fail(CbByteSize, kMustSelectByteSize), false;
    if (outside(CbParity, 5))
        return Fail(CbParity, kMustSelectParity), false;
    if (outside(CbStopBits, 3))
        return Fail(CbStopBits, kMustSelectStopBits), false;
    if (outside(CbFlow, 4))
        return Fail(CbFlow, kMustSelectFlow), false;
    long value = 0;
    if (!ReadNumber(EditAutoAns, value) || value < 0 || value > 255)
        return Fail(EditAutoAns, kAutoAnswerRange, true), false;
    if (!ReadNumber(EditInBufSize, value) || value < kMinBufferSize)
        return Fail(EditInBufSize, kInputBufError, true), false;
    if (!ReadNumber(EditOutBufSize, value) || value < kMinBufferSize)
        return Fail(EditOutBufSize, kOutputBufError, true), false;
    return true;
}

TForm_ZebCommDevice_Settings::Remembered TForm_ZebCommDevice_Settings::Entered() const
{
    Remembered r{};
    r.deviceName = CbPort->currentData(kPortNameRole).toString();
    r.baud = CbSelBaud->currentIndex();
    r.parity = CbParity->currentIndex();
    r.byteSize = CbByteSize->currentIndex() + 5;
    r.stopBits = CbStopBits->currentIndex();
    r.flow = CbFlow->currentIndex();
    long value = 0;
    ReadNumber(EditAutoAns, value);
    r.autoAnswer = int(value);
    ReadNumber(EditInBufSize, r.inBufSize);
    ReadNumber(EditOutBufSize, r.outBufSize);
    return r;
}

void TForm_ZebCommDevice_Settings::Apply(const Remembered& values, bool active)
{
    device_->fSetDeviceName(values.deviceName);   // "COMn" sets the port number
    device_->fSetBaud(TBaudRate(values.baud));
    device_->fSetParity(TParity(values.parity));
    device_->fSetByteSize(values.byteSize);
    device_->fSetStopBits(TStopBits(values.stopBits));
    device_->fSetFlowControl(FlowOfEntry(values.flow));
    device_->fSetAutoAnswer(values.autoAnswer);
    device_->fSetInBufSize(values.inBufSize);
    device_->fSetOutBufSize(values.outBufSize);
    device_->fSetActive(active);
}

void TForm_ZebCommDevice_Settings::BnOKClick()
{
    // Enter walks through the fields; OK applies only from the last one or from the button.
    const QList<QWidget*> order = {CbPort, CbSelBaud,   CbParity,      CbByteSize,    CbStopBits,
                                   CbFlow, EditAutoAns, EditInBufSize, EditOutBufSize};
    const qsizetype at = order.indexOf(focusWidget());
    if (at >= 0 && at < order.size() - 1) {
        order[at + 1]->setFocus();
        return;
    }
    if (!Check())
        return;
    QString failure;
    try {
        Apply(Entered(), remembered_.active || openAfterOk_);
        accept();
        return;
    } catch (const EComm32Error& e) {
        failure = e.Message();
    } catch (const std::exception& e) {
        failure = QString::fromLocal8Bit(e.what());
    }
    try {
        Apply(remembered_, remembered_.active);
    } catch (...) {
        // The old settings go back as far as they can; the first failure is what the user needs.
    }
    CbPort->setFocus();
    QMessageBox::critical(this, windowTitle(), failure);
}

void TForm_ZebCommDevice_Settings::BnCancelClick()
{
    reject();
}

void TForm_ZebCommDevice_Settings::BnDefaultClick()
{
    CbSelBaud->setCurrentIndex(int(TBaudRate::br115200));
    CbParity->setCurrentIndex(0);
    CbByteSize->setCurrentIndex(3);
    CbStopBits->setCurrentIndex(0);
    CbFlow->setCurrentIndex(0);
    EditAutoAns->setText("0");
    EditInBufSize->setText("8192");
    EditOutBufSize->setText("8192");
}

void TForm_ZebCommDevice_Settings::BnAboutClick()
{
    const QStringList kernel = QSysInfo::kernelVersion().split(QRegularExpression("[.-]"));
    const auto versionField = [&](int i) { return i < kernel.size() ? kernel[i].toInt() : 0; };
    const QString system = QString::asprintf("%s %d.%02d.%04d %s", qPrintable(QSysInfo::prettyProductName()),
                                             versionField(0), versionField(1), versionField(2), "");
    QMessageBox::about(this, CommSettingsText(kAbout).remove('&'),
                       QStringLiteral("%1\nVersion: 1.00\n%2\n%3")
                           .arg(QString::fromLatin1(device_->metaObject()->className()), system.trimmed(),
                                qEnvironmentVariable("USER")));
}

bool SettingsDialog(TZebCustomCommDevice& device, QWidget* owner, bool openAfterOk)
{
    TForm_ZebCommDevice_Settings dialog(owner, openAfterOk, &device);
    return dialog.exec() == QDialog::Accepted;
}

}   // namespace k3n
