// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The published properties of the communication device component and its
// run-time state, each read from or written straight into the component's
// engine or framing layer. Setters marked "closes" leave the port closed: the
// owner sets Active again.
#include "comm/framing.h"
#include "comm/framing_settings.h"
#include "comm/serial_engine.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace k3n {

enum class TBaudRate {
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000
};
constexpr int kBaudRateCount = 15;
// The rate in the name: br19200 -> 19200.
uint32_t BaudRateValue(TBaudRate rate);

enum class TParity { ptNoParity, ptOddParity, ptEvenParity, ptMarkParity, ptSpaceParity };
enum class TStopBits { sbOneStopBit, sbOne_5_StopBits, sbTwoStopBit };
// The engine's flow-control codes (0, 3, 4, 5, 6) are the component's values too.
using TFlowControl = HalvexComm32::TComm32::TFlowControl;
using TCommPackageType = HalvexComm32::TCommPackageType;

class CommDeviceProperties {
public:
    CommDeviceProperties(const CommDeviceProperties&) = delete;
    CommDeviceProperties& operator=(const CommDeviceProperties&) = delete;

    // ---- Stored properties, in their stored order (SyncEvents and UsePackage are the
    // component's own: they decide where notifications run and where Read and Write go).
    int fGetPortNo() const;
    void fSetPortNo(int portNo);   // closes
    // A COM name ("COM3") or a device path ("/dev/ttyUSB0", a pseudo-terminal).
    QString fGetDeviceName() const;
    void fSetDeviceName(const QString& nameOrPath);   // closes
    TBaudRate fGetBaud() const;   // a rate not in the list reads br115200
    void fSetBaud(TBaudRate rate);   // closes
    TParity fGetParity() const;
    void fSetParity(TParity parity);   // closes
    int fGetByteSize() const;
    void fSetByteSize(int bits);   // closes; 0..255
    TStopBits fGetStopBits() const;
    void fSetStopBits(TStopBits stopBits);   // closes
    TFlowControl fGetFlowControl() const;   // fcTranXonXoff reads fcXonXoff
    void fSetFlowControl(TFlowControl flow);   // closes
    int fGetAutoAnswer() const;
    void fSetAutoAnswer(int rings);   // 0..255
    long fGetInBufSize() const;
    void fSetInBufSize(long size);   // empties the queue; closes an open port
    long fGetOutBufSize() const;
    void fSetOutBufSize(long size);   // empties the queue; closes an open port
    long fGetHwInSize() const;
    void fSetHwInSize(long size);   // closes
    long fGetHwOutSize() const;
    void fSetHwOutSize(long size);   // closes
    long fGetQueueSize() const;
    void fSetQueueSize(long slotCount);
    long fGetPackageSize() const;
    void fSetPackageSize(long size);
    TCommPackageType fGetPackageType() const;
    void fSetPackageType(TCommPackageType type);
    long fGetPackageInterval() const;
    void fSetPackageInterval(long ms);
    TZebCommFrameSettings* fGetFrameSettings() const { return frameSettings_.get(); }
    // Copies head, tail and control bytes; keeps this component's double frame mark.
    void fSetFrameSettings(const TZebCommFrameSettings* settings);

    // ---- Run time.
    int fGetHandle() const;
    HalvexComm32::TCommQueue* fGetInQueue() { return &engine_->InQueue(); }
    HalvexComm32::TCommQueue* fGetOutQueue() { return &engine_->OutQueue(); }
    bool fGetDisableWrite() const;
    void fSetDisableWrite(bool on);
    bool fGetDTR() const;
    void fSetDTR(bool on);
    bool fGetRTS() const;
    void fSetRTS(bool on);
    bool fGetCTS() const;
    bool fGetDSR() const;
    bool fGetRING() const;
    bool fGetRLSD() const;
    // Bit 0 CTS, bit 1 DSR, bit 2 RING, bit 3 RLSD.
    uint8_t fGetModemStatus() const;
    // True once the open port went away (EV_HANGUP was raised); cleared by the next open.
    bool HungUp() const;

    HalvexComm32::TComm32* Engine() const { return engine_.get(); }
    HalvexComm32::TCommPackage* Package() const { return package_.get(); }

protected:
    CommDeviceProperties();
    ~CommDeviceProperties();

    // What a setter marked "closes" does first: Active false.
    virtual void ClosePort() = 0;

    // Made and torn down by the component, in the order its threads need.
    std::unique_ptr<HalvexComm32::TComm32> engine_;
    std::unique_ptr<HalvexComm32::TCommPackage> package_;
    std::unique_ptr<TZebCommFrameSettings> frameSettings_;
};

}   // namespace k3n
