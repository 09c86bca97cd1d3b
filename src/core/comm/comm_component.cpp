#include "comm/comm_component.h"

#include "comm/comm_error.h"
#include "comm/thread_mailbox.h"


#include <algorithm>
#include <array>

using namespace HalvexComm32;

namespace {

constexpr std::array<uint32_t, kBaudRateCount> kBaudRates = {
    110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000,
};

// Engine flow-control codes by TFlowControl position.
constexpr std::array<TComm32::TFlowControl, 5> kFlowCodes = {
    TComm32::fcNone, TComm32::fcRtsCts, TComm32::fcXonXoff, TComm32::fcTranXonXoff, TComm32::fcRtsCtsXonXoff,
};

template <class Enum>
bool InRange(Enum value, int count)
{
    return int(value) >= 0 && int(value) < count;
}

uint32_t NonNegative(long value)
{
    return uint32_t(std::clamp<long>(value, 0, 0x7FFFFFFF));
}

} // namespace

uint32_t BaudRateValue(TBaudRate rate)
{
    return InRange(rate, kBaudRateCount) ? kBaudRates[size_t(rate)] : 115200;
}

TZebCustomCommDevice::TZebCustomCommDevice(QObject* owner)
    : QObject(owner), mailbox_(new TThreadMailbox(this)), engine_(std::make_unique<TComm32>())
{
    engine_->OnCommNotify = [this](TComm32*, uint32_t mask) { _EvComm(mask); };
    engine_->OnAfterOpen = [this](TComm32*) {
        if (!destroying_.load())
            EvAfterOpen();
    };
    engine_->OnBeforeClose = [this](TComm32*) {
        if (!destroying_.load())
            EvBeforeClose();
    };
    package_ = std::make_unique<TCommPackage>(engine_.get());  // goes in front of _EvComm
    package_->OnPackage = [this](TCommPackage*, uint32_t mask) { _EvPackage(mask); };
    frameSettings_ = std::make_unique<TZebCommFrameSettings>(package_.get());
}

TZebCustomCommDevice::~TZebCustomCommDevice()
{
    // Only with every calling thread stopped may the callbacks go.
    StopWorkers();
    package_->OnPackage = nullptr;
    engine_->OnCommNotify = nullptr;
    engine_->OnAfterOpen = nullptr;
    engine_->OnBeforeClose = nullptr;
    frameSettings_.reset();
    package_.reset();
    engine_.reset();
}

void TZebCustomCommDevice::StopWorkers()
{
    // The engine's threads and the layer's timer thread call the callbacks: silence them first.
    destroying_.store(true);
    try {
        engine_->Close();
    } catch (const EComm32Error&) {
    }
    package_->fSetActive(false);
    package_->StopTimer();
}

// ---- Notifications ---------------------------------------------------------------

void TZebCustomCommDevice::_EvComm(uint32_t mask)
{
    if (destroying_.load())
        return;
    if (syncEvents_.load())
        mailbox_->Post([this, mask] { EvCommNotify(mask); });
    else
        EvCommNotify(mask);
}

void TZebCustomCommDevice::_EvPackage(uint32_t mask)
{
    if (destroying_.load())
        return;
    if (syncEvents_.load())
        mailbox_->Post([this, mask] { EvPackageNotify(mask); });
    else
        EvPackageNotify(mask);
}

void TZebCustomCommDevice::EvCommNotify(quint32 mask)
{
    emit OnCommNotify(this, mask);
}

void TZebCustomCommDevice::EvPackageNotify(quint32 mask)
{
    emit OnPackage(this, mask);
}

void TZebCustomCommDevice::EvAfterOpen()
{
    emit AfterOpen(this);
}

void TZebCustomCommDevice::EvBeforeClose()
{
    emit BeforeClose(this);
}

// ---- Active and data ---------------------------------------------------------------

bool TZebCustomCommDevice::fGetActive() const
{
    if (usePackage_)
        return package_->fGetActive() && engine_->fGetActive();
    return engine_->fGetActive();
}

void TZebCustomCommDevice::fSetActive(bool on)
{
    if (on != engine_->fGetActive()) {
        if (on)
            engine_->Open();
        else
            engine_->Close();
    }
    const bool layerOn = usePackage_ && on;
    if (layerOn != package_->fGetActive())
        package_->fSetActive(layerOn);
}

void TZebCustomCommDevice::fSetUsePackage(bool on)
{
    const bool active = fGetActive();
    usePackage_ = on;
    fSetActive(active);
}

void TZebCustomCommDevice::ClosePort()
{
    fSetActive(false);
}

int TZebCustomCommDevice::Read(void* buffer, int length)
{
    return usePackage_ ? package_->ReadPackage(buffer, length) : engine_->Read(buffer, length);
}

int TZebCustomCommDevice::Write(const void* buffer, int length)
{
    return usePackage_ ? package_->WritePackage(buffer, length) : engine_->Write(buffer, length);
}

int TZebCustomCommDevice::Command(const char* text)
{
    return engine_->Command(text);
}

bool TZebCustomCommDevice::ReadPackage(void* buffer)
{
    return package_->ReadPackage(buffer, 0) != 0;
}

bool TZebCustomCommDevice::WritePackage(const void* buffer)
{
    return package_->WritePackage(buffer, 0) != 0;
}

int TZebCustomCommDevice::ReadPackage(void* buffer, int length)
{
    return package_->ReadPackage(buffer, length);
}

int TZebCustomCommDevice::WritePackage(const void* buffer, int length)
{
    return package_->WritePackage(buffer, length);
}

void TZebCustomCommDevice::PurgeRead(bool abort)
{
    if (usePackage_)
        package_->PurgeRead();
    else
        engine_->PurgeRead(abort);
}

void TZebCustomCommDevice::PurgeWrite(bool abort)
{
    if (usePackage_)
        package_->PurgeWrite();
    else
        engine_->PurgeWrite(abort);
}

void TZebCustomCommDevice::ResetModem()
{
    engine_->ResetModem();
}

void TZebCustomCommDevice::InitModem()
{
    engine_->InitModem();
}

bool TZebCustomCommDevice::EscapeCommFunction(uint32_t function)
{
    return engine_->EscapeCommFunction(function);
}

// ---- Port and line ------------------------------------------------------------------

int TZebCustomCommDevice::fGetPortNo() const
{
    return engine_->fGetPortNo();
}

void TZebCustomCommDevice::fSetPortNo(int portNo)
{
    ClosePort();
    engine_->fSetPortNo(portNo);
}

QString TZebCustomCommDevice::fGetDeviceName() const
{
    return engine_->fGetDeviceName();
}

void TZebCustomCommDevice::fSetDeviceName(const QString& nameOrPath)
{
    ClosePort();
    engine_->fSetDeviceName(nameOrPath);
}

TBaudRate TZebCustomCommDevice::fGetBaud() const
{
    const auto it = std::find(kBaudRates.begin(), kBaudRates.end(), engine_->LineSettings().baudRate);
    return it == kBaudRates.end() ? TBaudRate::br115200 : TBaudRate(it - kBaudRates.begin());
}

void TZebCustomCommDevice::fSetBaud(TBaudRate rate)
{
    ClosePort();
    engine_->LineSettings().baudRate = BaudRateValue(rate);
}

TParity TZebCustomCommDevice::fGetParity() const
{
    const uint8_t code = engine_->LineSettings().parity;
    return code <= kParitySpace ? TParity(code) : TParity::ptNoParity;
}

void TZebCustomCommDevice::fSetParity(TParity parity)
{
    ClosePort();
    engine_->LineSettings().parity = InRange(parity, 5) ? uint8_t(parity) : kParityNone;
}

int TZebCustomCommDevice::fGetByteSize() const
{
    return engine_->LineSettings().byteSize;
}

void TZebCustomCommDevice::fSetByteSize(int bits)
{
    ClosePort();
    engine_->LineSettings().byteSize = uint8_t(std::clamp(bits, 0, 255));
}

TStopBits TZebCustomCommDevice::fGetStopBits() const
{
    const uint8_t code = engine_->LineSettings().stopBits;
    return code <= kTwoStopBits ? TStopBits(code) : TStopBits::sbOneStopBit;
}

void TZebCustomCommDevice::fSetStopBits(TStopBits stopBits)
{
    ClosePort();
    engine_->LineSettings().stopBits = InRange(stopBits, 3) ? uint8_t(stopBits) : kOneStopBit;
}

TFlowControl TZebCustomCommDevice::fGetFlowControl() const
{
    switch (engine_->fGetFCtrl()) {
    case TComm32::fcRtsCts: return TFlowControl::fcRtsCts;
    case TComm32::fcXonXoff: return TFlowControl::fcXonXoff;
    case TComm32::fcRtsCtsXonXoff: return TFlowControl::fcRtsCtsXonXoff;
    default: return TFlowControl::fcNone;
    }
}

void TZebCustomCommDevice::fSetFlowControl(TFlowControl flow)
{
    ClosePort();
    engine_->fSetFCtrl(InRange(flow, 5) ? kFlowCodes[size_t(flow)] : TComm32::fcNone);
}

int TZebCustomCommDevice::fGetAutoAnswer() const
{
    return engine_->fGetAutoAnswer();
}

void TZebCustomCommDevice::fSetAutoAnswer(int rings)
{
    engine_->fSetAutoAnswer(uint8_t(std::clamp(rings, 0, 255)));
}

// ---- Buffers and packages ----------------------------------------------------------------

long TZebCustomCommDevice::fGetInBufSize() const
{
    return engine_->InQueue().BufSize();
}

void TZebCustomCommDevice::fSetInBufSize(long size)
{
    // The reader thread writes into this buffer while the port is open.
    ClosePort();
    engine_->InQueue().fSetBufSize(int32_t(std::clamp<long>(size, -1, 0x7FFFFFFF)));
}

long TZebCustomCommDevice::fGetOutBufSize() const
{
    return engine_->OutQueue().BufSize();
}

void TZebCustomCommDevice::fSetOutBufSize(long size)
{
    // The writer thread reads from this buffer while the port is open.
    ClosePort();
    engine_->OutQueue().fSetBufSize(int32_t(std::clamp<long>(size, -1, 0x7FFFFFFF)));
}

long TZebCustomCommDevice::fGetHwInSize() const
{
    return engine_->fGetHwInSize();
}

void TZebCustomCommDevice::fSetHwInSize(long size)
{
    ClosePort();
    engine_->fSetHwInSize(int32_t(std::clamp<long>(size, INT32_MIN, INT32_MAX)));
}

long TZebCustomCommDevice::fGetHwOutSize() const
{
    return engine_->fGetHwOutSize();
}

void TZebCustomCommDevice::fSetHwOutSize(long size)
{
    ClosePort();
    engine_->fSetHwOutSize(int32_t(std::clamp<long>(size, INT32_MIN, INT32_MAX)));
}

long TZebCustomCommDevice::fGetQueueSize() const
{
    return long(package_->fGetQSize());
}

void TZebCustomCommDevice::fSetQueueSize(long slotCount)
{
    package_->fSetQSize(NonNegative(slotCount));
}

long TZebCustomCommDevice::fGetPackageSize() const
{
    return long(package_->fGetPkgSz());
}

void TZebCustomCommDevice::fSetPackageSize(long size)
{
    package_->fSetPkgSz(NonNegative(size));
}

TCommPackageType TZebCustomCommDevice::fGetPackageType() const
{
    return package_->fGetPkgType();
}

void TZebCustomCommDevice::fSetPackageType(TCommPackageType type)
{
    package_->fSetPkgType(type);
}

long TZebCustomCommDevice::fGetPackageInterval() const
{
    return long(package_->fGetPkgInterval());
}

void TZebCustomCommDevice::fSetPackageInterval(long ms)
{
    package_->fSetPkgInterval(NonNegative(ms));
}

void TZebCustomCommDevice::fSetFrameSettings(const TZebCommFrameSettings* settings)
{
    if (!settings)
        return;
    frameSettings_->fSetFrameHead(settings->fGetFrameHead());
    frameSettings_->fSetFrameTail(settings->fGetFrameTail());
    frameSettings_->fSetFrameCtrl(settings->fGetFrameCtrl());
}

// ---- Modem lines and state ----------------------------------------------------------------

int TZebCustomCommDevice::fGetHandle() const
{
    return engine_->fGetHandle();
}

bool TZebCustomCommDevice::fGetDisableWrite() const
{
    return engine_->fGetDisableWrite();
}

void TZebCustomCommDevice::fSetDisableWrite(bool on)
{
    engine_->fSetDisableWrite(on);
}

bool TZebCustomCommDevice::fGetDTR() const
{
    return engine_->fGetDTR();
}

void TZebCustomCommDevice::fSetDTR(bool on)
{
    engine_->fSetDTR(on);
}

bool TZebCustomCommDevice::fGetRTS() const
{
    return engine_->fGetRTS();
}

void TZebCustomCommDevice::fSetRTS(bool on)
{
    engine_->fSetRTS(on);
}

bool TZebCustomCommDevice::fGetCTS() const
{
    return (engine_->fGetModemStatus() & MS_CTS_ON) != 0;
}

bool TZebCustomCommDevice::fGetDSR() const
{
    return (engine_->fGetModemStatus() & MS_DSR_ON) != 0;
}

bool TZebCustomCommDevice::fGetRING() const
{
    return (engine_->fGetModemStatus() & MS_RING_ON) != 0;
}

bool TZebCustomCommDevice::fGetRLSD() const
{
    return (engine_->fGetModemStatus() & MS_RLSD_ON) != 0;
}

uint8_t TZebCustomCommDevice::fGetModemStatus() const
{
    return uint8_t((engine_->fGetModemStatus() >> 4) & 0x0F);
}

bool TZebCustomCommDevice::HungUp() const
{
    return engine_->HungUp();
}

// ---------------------------------------------------------------------------------------------

TZebCommDevice::TZebCommDevice(QObject* owner) : TZebCustomCommDevice(owner) {}

TZebCommDevice::~TZebCommDevice()
{
    StopWorkers();  // while the workers could still reach this class's handlers
}
