// SPDX-License-Identifier: GPL-3.0-or-later
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

template <class Enum> bool InRange(Enum value, int count)
{
    return int(value) >= 0 && int(value) < count;
}

uint32_t NonNegative(long value)
{
    return uint32_t(std::clamp<long>(value, 0, 0x7FFFFFFF));
}

}   // namespace

uint32_t BaudRateValue(TBaudRate rate)
{
    return InRange(rate, kBaudRateCount) ? kBaudRates[size_t(rate)] : 115200;
}

CommDeviceProperties::CommDeviceProperties() = default;

CommDeviceProperties::~CommDeviceProperties() = default;

// ---- Port and line ------------------------------------------------------------------

int CommDeviceProperties::fGetPortNo() const
{
    return engine_->fGetPortNo();
}

void CommDeviceProperties::fSetPortNo(int portNo)
{
    ClosePort();
    engine_->fSetPortNo(portNo);
}

QString CommDeviceProperties::fGetDeviceName() const
{
    return engine_->fGetDeviceName();
}

void CommDeviceProperties::fSetDeviceName(const QString& nameOrPath)
{
    ClosePort();
    engine_->fSetDeviceName(nameOrPath);
}

TBaudRate CommDeviceProperties::fGetBaud() const
{
    const auto it = std::find(kBaudRates.begin(), kBaudRates.end(), engine_->LineSettings().baudRate);
    return it == kBaudRates.end() ? TBaudRate::br115200 : TBaudRate(it - kBaudRates.begin());
}

void CommDeviceProperties::fSetBaud(TBaudRate rate)
{
    ClosePort();
    engine_->LineSettings().baudRate = BaudRateValue(rate);
}

TParity CommDeviceProperties::fGetParity() const
{
    const uint8_t code = engine_->LineSettings().parity;
    return code <= kParitySpace ? TParity(code) : TParity::ptNoParity;
}

void CommDeviceProperties::fSetParity(TParity parity)
{
    ClosePort();
    engine_->LineSettings().parity = InRange(parity, 5) ? uint8_t(parity) : kParityNone;
}

int CommDeviceProperties::fGetByteSize() const
{
    return engine_->LineSettings().byteSize;
}

void CommDeviceProperties::fSetByteSize(int bits)
{
    ClosePort();
    engine_->LineSettings().byteSize = uint8_t(std::clamp(bits, 0, 255));
}

TStopBits CommDeviceProperties::fGetStopBits() const
{
    const uint8_t code = engine_->LineSettings().stopBits;
    return code <= kTwoStopBits ? TStopBits(code) : TStopBits::sbOneStopBit;
}

void CommDeviceProperties::fSetStopBits(TStopBits stopBits)
{
    ClosePort();
    engine_->LineSettings().stopBits = InRange(stopBits, 3) ? uint8_t(stopBits) : kOneStopBit;
}

TFlowControl CommDeviceProperties::fGetFlowControl() const
{
    return engine_->fGetFCtrl();
}

void CommDeviceProperties::fSetFlowControl(TFlowControl flow)
{
    ClosePort();
    engine_->fSetFCtrl(flow);   // a code outside the table means none
}

int CommDeviceProperties::fGetAutoAnswer() const
{
    return engine_->fGetAutoAnswer();
}

void CommDeviceProperties::fSetAutoAnswer(int rings)
{
    engine_->fSetAutoAnswer(uint8_t(std::clamp(rings, 0, 255)));
}

// ---- Buffers and packages ----------------------------------------------------------------

long CommDeviceProperties::fGetInBufSize() const
{
    return engine_->InQueue().BufSize();
}

void CommDeviceProperties::fSetInBufSize(long size)
{
    // The reader thread writes into this buffer while the port is open.
    ClosePort();
    engine_->InQueue().fSetBufSize(int32_t(std::clamp<long>(size, -1, 0x7FFFFFFF)));
}

long CommDeviceProperties::fGetOutBufSize() const
{
    return engine_->OutQueue().BufSize();
}

void CommDeviceProperties::fSetOutBufSize(long size)
{
    // The writer thread reads from this buffer while the port is open.
    ClosePort();
    engine_->OutQueue().fSetBufSize(int32_t(std::clamp<long>(size, -1, 0x7FFFFFFF)));
}

long CommDeviceProperties::fGetHwInSize() const
{
    return engine_->fGetHwInSize();
}

void CommDeviceProperties::fSetHwInSize(long size)
{
    ClosePort();
    engine_->fSetHwInSize(int32_t(std::clamp<long>(size, INT32_MIN, INT32_MAX)));
}

long CommDeviceProperties::fGetHwOutSize() const
{
    return engine_->fGetHwOutSize();
}

void CommDeviceProperties::fSetHwOutSize(long size)
{
    ClosePort();
    engine_->fSetHwOutSize(int32_t(std::clamp<long>(size, INT32_MIN, INT32_MAX)));
}

long CommDeviceProperties::fGetQueueSize() const
{
    return long(package_->fGetQSize());
}

void CommDeviceProperties::fSetQueueSize(long slotCount)
{
    package_->fSetQSize(NonNegative(slotCount));
}

long CommDeviceProperties::fGetPackageSize() const
{
    return long(package_->fGetPkgSz());
}

void CommDeviceProperties::fSetPackageSize(long size)
{
    package_->fSetPkgSz(NonNegative(size));
}

TCommPackageType CommDeviceProperties::fGetPackageType() const
{
    return package_->fGetPkgType();
}

void CommDeviceProperties::fSetPackageType(TCommPackageType type)
{
    package_->fSetPkgType(type);
}

long CommDeviceProperties::fGetPackageInterval() const
{
    return long(package_->fGetPkgInterval());
}

void CommDeviceProperties::fSetPackageInterval(long ms)
{
    package_->fSetPkgInterval(NonNegative(ms));
}

void CommDeviceProperties::fSetFrameSettings(const TZebCommFrameSettings* settings)
{
    if (!settings)
        return;
    frameSettings_->fSetFrameHead(settings->fGetFrameHead());
    frameSettings_->fSetFrameTail(settings->fGetFrameTail());
    frameSettings_->fSetFrameCtrl(settings->fGetFrameCtrl());
}

// ---- Modem lines and state ----------------------------------------------------------------

int CommDeviceProperties::fGetHandle() const
{
    return engine_->fGetHandle();
}

bool CommDeviceProperties::fGetDisableWrite() const
{
    return engine_->fGetDisableWrite();
}

void CommDeviceProperties::fSetDisableWrite(bool on)
{
    engine_->fSetDisableWrite(on);
}

bool CommDeviceProperties::fGetDTR() const
{
    return engine_->fGetDTR();
}

void CommDeviceProperties::fSetDTR(bool on)
{
    engine_->fSetDTR(on);
}

bool CommDeviceProperties::fGetRTS() const
{
    return engine_->fGetRTS();
}

void CommDeviceProperties::fSetRTS(bool on)
{
    engine_->fSetRTS(on);
}

bool CommDeviceProperties::fGetCTS() const
{
    return (engine_->fGetModemStatus() & MS_CTS_ON) != 0;
}

bool CommDeviceProperties::fGetDSR() const
{
    return (engine_->fGetModemStatus() & MS_DSR_ON) != 0;
}

bool CommDeviceProperties::fGetRING() const
{
    return (engine_->fGetModemStatus() & MS_RING_ON) != 0;
}

bool CommDeviceProperties::fGetRLSD() const
{
    return (engine_->fGetModemStatus() & MS_RLSD_ON) != 0;
}

uint8_t CommDeviceProperties::fGetModemStatus() const
{
    return uint8_t((engine_->fGetModemStatus() >> 4) & 0x0F);
}

bool CommDeviceProperties::HungUp() const
{
    return engine_->HungUp();
}

}   // namespace k3n
