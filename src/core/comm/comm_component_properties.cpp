#include "comm/comm_component_properties.h"

#include <algorithm>
#include <array>

namespace k3n {

using HalvexComm32::kOneStopBit;
using HalvexComm32::kParityNone;
using HalvexComm32::kParitySpace;
using HalvexComm32::kTwoStopBits;
using HalvexComm32::MS_CTS_ON;
using HalvexComm32::MS_DSR_ON;
using HalvexComm32::MS_RING_ON;
using HalvexComm32::MS_RLSD_ON;

namespace {

constexpr std::array<uint32_t, kBaudRateCount> kBaudRates = {
    110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000,
};

template <class Enum> bool InRange(Enum value, int count) { return int(value) >= 0 && int(value) < count; }

uint32_t NonNegative(long value) { return uint32_t(std::clamp<long>(value, 0, 0x7FFFFFFF)); }

}   // namespace

uint32_t BaudRateValue(TBaudRate rate) { return InRange(rate, kBaudRateCount) ? kBaudRates[size_t(rate)] : 115200; }

TCommDeviceProperties::TCommDeviceProperties() = default;

TCommDeviceProperties::~TCommDeviceProperties() = default;

// ---- Port and line ------------------------------------------------------------------

int TCommDeviceProperties::fGetPortNo() const { return engine_->fGetPortNo(); }

void TCommDeviceProperties::fSetPortNo(int portNo)
{
    ClosePort();
    engine_->fSetPortNo(portNo);
}

QString TCommDeviceProperties::fGetDeviceName() const { return engine_->fGetDeviceName(); }

void TCommDeviceProperties::fSetDeviceName(const QString& nameOrPath)
{
    ClosePort();
    engine_->fSetDeviceName(nameOrPath);
}

TBaudRate TCommDeviceProperties::fGetBaud() const
{
    const auto it = std::find(kBaudRates.begin(), kBaudRates.end(), engine_->LineSettings().baudRate);
    return it == kBaudRates.end() ? TBaudRate::br115200 : TBaudRate(it - kBaudRates.begin());
}

void TCommDeviceProperties::fSetBaud(TBaudRate rate)
{
    ClosePort();
    engine_->LineSettings().baudRate = BaudRateValue(rate);
}

TParity TCommDeviceProperties::fGetParity() const
{
    const uint8_t code = engine_->LineSettings().parity;
    return code <= kParitySpace ? TParity(code) : TParity::ptNoParity;
}

void TCommDeviceProperties::fSetParity(TParity parity)
{
    ClosePort();
    engine_->LineSettings().parity = InRange(parity, 5) ? uint8_t(parity) : kParityNone;
}

int TCommDeviceProperties::fGetByteSize() const { return engine_->LineSettings().byteSize; }

void TCommDeviceProperties::fSetByteSize(int bits)
{
    ClosePort();
    engine_->LineSettings().byteSize = uint8_t(std::clamp(bits, 0, 255));
}

TStopBits TCommDeviceProperties::fGetStopBits() const
{
    const uint8_t code = engine_->LineSettings().stopBits;
    return code <= kTwoStopBits ? TStopBits(code) : TStopBits::sbOneStopBit;
}

void TCommDeviceProperties::fSetStopBits(TStopBits stopBits)
{
    ClosePort();
    engine_->LineSettings().stopBits = InRange(stopBits, 3) ? uint8_t(stopBits) : kOneStopBit;
}

TFlowControl TCommDeviceProperties::fGetFlowControl() const { return engine_->fGetFCtrl(); }

void TCommDeviceProperties::fSetFlowControl(TFlowControl flow)
{
    ClosePort();
    engine_->fSetFCtrl(flow);   // a code outside the table means none
}

int TCommDeviceProperties::fGetAutoAnswer() const { return engine_->fGetAutoAnswer(); }

void TCommDeviceProperties::fSetAutoAnswer(int rings) { engine_->fSetAutoAnswer(uint8_t(std::clamp(rings, 0, 255))); }

// ---- Buffers and packages ----------------------------------------------------------------

long TCommDeviceProperties::fGetInBufSize() const { return engine_->InQueue().BufSize(); }

void TCommDeviceProperties::fSetInBufSize(long size)
{
    // The reader thread writes into this buffer while the port is open.
    ClosePort();
    engine_->InQueue().fSetBufSize(int32_t(std::clamp<long>(size, -1, 0x7FFFFFFF)));
}

long TCommDeviceProperties::fGetOutBufSize() const { return engine_->OutQueue().BufSize(); }

void TCommDeviceProperties::fSetOutBufSize(long size)
{
    // The writer thread reads from this buffer while the port is open.
    ClosePort();
    engine_->OutQueue().fSetBufSize(int32_t(std::clamp<long>(size, -1, 0x7FFFFFFF)));
}

long TCommDeviceProperties::fGetHwInSize() const { return engine_->fGetHwInSize(); }

void TCommDeviceProperties::fSetHwInSize(long size)
{
    ClosePort();
    engine_->fSetHwInSize(int32_t(std::clamp<long>(size, INT32_MIN, INT32_MAX)));
}

long TCommDeviceProperties::fGetHwOutSize() const { return engine_->fGetHwOutSize(); }

void TCommDeviceProperties::fSetHwOutSize(long size)
{
    ClosePort();
    engine_->fSetHwOutSize(int32_t(std::clamp<long>(size, INT32_MIN, INT32_MAX)));
}

long TCommDeviceProperties::fGetQueueSize() const { return long(package_->fGetQSize()); }

void TCommDeviceProperties::fSetQueueSize(long slotCount) { package_->fSetQSize(NonNegative(slotCount)); }

long TCommDeviceProperties::fGetPackageSize() const { return long(package_->fGetPkgSz()); }

void TCommDeviceProperties::fSetPackageSize(long size) { package_->fSetPkgSz(NonNegative(size)); }

TCommPackageType TCommDeviceProperties::fGetPackageType() const { return package_->fGetPkgType(); }

void TCommDeviceProperties::fSetPackageType(TCommPackageType type) { package_->fSetPkgType(type); }

long TCommDeviceProperties::fGetPackageInterval() const { return long(package_->fGetPkgInterval()); }

void TCommDeviceProperties::fSetPackageInterval(long ms) { package_->fSetPkgInterval(NonNegative(ms)); }

void TCommDeviceProperties::fSetFrameSettings(const TZebCommFrameSettings* settings)
{
    if (!settings)
        return;
    frameSettings_->fSetFrameHead(settings->fGetFrameHead());
    frameSettings_->fSetFrameTail(settings->fGetFrameTail());
    frameSettings_->fSetFrameCtrl(settings->fGetFrameCtrl());
}

// ---- Modem lines and state ----------------------------------------------------------------

int TCommDeviceProperties::fGetHandle() const { return engine_->fGetHandle(); }

bool TCommDeviceProperties::fGetDisableWrite() const { return engine_->fGetDisableWrite(); }

void TCommDeviceProperties::fSetDisableWrite(bool on) { engine_->fSetDisableWrite(on); }

bool TCommDeviceProperties::fGetDTR() const { return engine_->fGetDTR(); }

void TCommDeviceProperties::fSetDTR(bool on) { engine_->fSetDTR(on); }

bool TCommDeviceProperties::fGetRTS() const { return engine_->fGetRTS(); }

void TCommDeviceProperties::fSetRTS(bool on) { engine_->fSetRTS(on); }

bool TCommDeviceProperties::fGetCTS() const { return (engine_->fGetModemStatus() & MS_CTS_ON) != 0; }

bool TCommDeviceProperties::fGetDSR() const { return (engine_->fGetModemStatus() & MS_DSR_ON) != 0; }

bool TCommDeviceProperties::fGetRING() const { return (engine_->fGetModemStatus() & MS_RING_ON) != 0; }

bool TCommDeviceProperties::fGetRLSD() const { return (engine_->fGetModemStatus() & MS_RLSD_ON) != 0; }

uint8_t TCommDeviceProperties::fGetModemStatus() const { return uint8_t((engine_->fGetModemStatus() >> 4) & 0x0F); }

bool TCommDeviceProperties::HungUp() const { return engine_->HungUp(); }

}   // namespace k3n
