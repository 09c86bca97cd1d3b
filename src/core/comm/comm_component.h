#pragma once
// The communication device component a window owns to talk over a serial
// port: one engine, one framing layer on it and the frame settings, their
// settings as properties, the port switched on and off as Active, Read and
// Write routed to the byte queues or (UsePackage) to the package queues, and
// the worker threads' notifications re-raised on the component's own thread
// (the GUI thread), in order, through a thread mailbox.
#include "comm/serial_engine.h"
#include "comm/framing_settings.h"
#include "comm/framing.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>

namespace HalvexComm32 {
class TThreadMailbox;
}

enum class TBaudRate {
    br110, br300, br600, br1200, br2400, br4800, br9600, br14400, br19200,
    br38400, br56000, br57600, br115200, br128000, br256000,
};
constexpr int kBaudRateCount = 15;
// The rate in the name: br19200 -> 19200.
uint32_t BaudRateValue(TBaudRate rate);

enum class TParity { ptNoParity, ptOddParity, ptEvenParity, ptMarkParity, ptSpaceParity };
enum class TStopBits { sbOneStopBit, sbOne_5_StopBits, sbTwoStopBit };
enum class TFlowControl { fcNone, fcRtsCts, fcXonXoff, fcTranXonXoff, fcRtsCtsXonXoff };
using HalvexComm32::TCommPackageType;

class TZebCustomCommDevice : public QObject {
    Q_OBJECT

public:
    explicit TZebCustomCommDevice(QObject* owner = nullptr);
    ~TZebCustomCommDevice() override;

    // Raw mode: the engine's byte queues (Read never blocks). UsePackage: the
    // framing layer's ReadPackage / WritePackage with buffer and length.
    virtual int Read(void* buffer, int length);
    virtual int Write(const void* buffer, int length);
    virtual int Command(const char* text);
    // Whole package slots (4 + PackageSize bytes), for cptCompatiblePkg.
    virtual bool ReadPackage(void* buffer);
    virtual bool WritePackage(const void* buffer);
    virtual int ReadPackage(void* buffer, int length);
    virtual int WritePackage(const void* buffer, int length);
    virtual void PurgeRead(bool abort);
    virtual void PurgeWrite(bool abort);
    virtual void ResetModem();
    virtual void InitModem();
    virtual bool EscapeCommFunction(uint32_t function);

    // ---- Stored properties; those marked "closes" leave the port closed.
    int fGetPortNo() const;
    void fSetPortNo(int portNo);                    // closes
    // A COM name ("COM3") or a device path ("/dev/ttyUSB0", a pseudo-terminal).
    QString fGetDeviceName() const;
    void fSetDeviceName(const QString& nameOrPath);  // closes
    TBaudRate fGetBaud() const;                      // a rate not in the list reads br115200
    void fSetBaud(TBaudRate rate);                   // closes
    TParity fGetParity() const;
    void fSetParity(TParity parity);                 // closes
    int fGetByteSize() const;
    void fSetByteSize(int bits);                     // closes; 0..255
    TStopBits fGetStopBits() const;
    void fSetStopBits(TStopBits stopBits);           // closes
    TFlowControl fGetFlowControl() const;            // fcTranXonXoff reads fcXonXoff
    void fSetFlowControl(TFlowControl flow);         // closes
    int fGetAutoAnswer() const;
    void fSetAutoAnswer(int rings);                  // 0..255
    bool fGetSyncEvents() const { return syncEvents_.load(); }
    void fSetSyncEvents(bool on) { syncEvents_.store(on); }
    long fGetInBufSize() const;
    void fSetInBufSize(long size);                   // empties the queue; closes an open port
    long fGetOutBufSize() const;
    void fSetOutBufSize(long size);                  // empties the queue; closes an open port
    long fGetHwInSize() const;
    void fSetHwInSize(long size);                    // closes
    long fGetHwOutSize() const;
    void fSetHwOutSize(long size);                   // closes
    long fGetQueueSize() const;
    void fSetQueueSize(long slotCount);
    long fGetPackageSize() const;
    void fSetPackageSize(long size);
    TCommPackageType fGetPackageType() const;
    void fSetPackageType(TCommPackageType type);
    long fGetPackageInterval() const;
    void fSetPackageInterval(long ms);
    bool fGetUsePackage() const { return usePackage_; }
    void fSetUsePackage(bool on);
    TZebCommFrameSettings* fGetFrameSettings() const { return frameSettings_.get(); }
    // Copies head, tail and control bytes; keeps this component's double frame mark.
    void fSetFrameSettings(const TZebCommFrameSettings* settings);

    // ---- Run time.
    bool fGetActive() const;
    // Opens or closes the port; raises HalvexComm32::EComm32Error (code 4 with the
    // system's reason when the port cannot be opened) and then stays inactive.
    void fSetActive(bool on);
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

signals:
    // Engine event bits (HalvexComm32::EV_*), including EV_HANGUP.
    void OnCommNotify(QObject* sender, quint32 mask);
    // Package bits (HalvexComm32::PKG_RECEIVED, PKG_ALLSENT) and the engine's other bits.
    void OnPackage(QObject* sender, quint32 mask);
    void AfterOpen(QObject* sender);
    void BeforeClose(QObject* sender);

protected:
    // Closes the port and ends every worker thread that calls back into the
    // component. The most derived destructor calls it first, before its virtual
    // handlers go; calling it again does nothing.
    void StopWorkers();

    virtual void EvCommNotify(quint32 mask);
    virtual void EvPackageNotify(quint32 mask);
    virtual void EvAfterOpen();
    virtual void EvBeforeClose();

private:
    void _EvComm(uint32_t mask);
    void _EvPackage(uint32_t mask);
    void ClosePort();

    HalvexComm32::TThreadMailbox* mailbox_;   // a child, so it outlives the engine's threads
    std::unique_ptr<HalvexComm32::TComm32> engine_;
    std::unique_ptr<HalvexComm32::TCommPackage> package_;
    std::unique_ptr<TZebCommFrameSettings> frameSettings_;
    bool usePackage_ = false;
    std::atomic<bool> syncEvents_{true};
    std::atomic<bool> destroying_{false};
};

class TZebCommDevice : public TZebCustomCommDevice {
    Q_OBJECT

public:
    explicit TZebCommDevice(QObject* owner = nullptr);
    ~TZebCommDevice() override;
};
