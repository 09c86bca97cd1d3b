// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The communication device component a window owns to talk over a serial
// port: one engine, one framing layer on it and the frame settings, their
// settings as properties (comm_component_properties.h), the port switched on
// and off as Active, Read and Write routed to the byte queues or (UsePackage)
// to the package queues, and the worker threads' notifications re-raised on
// the component's own thread (the GUI thread), in order, through a thread
// mailbox.
#include "comm/comm_component_properties.h"

#include <QObject>

#include <atomic>
#include <cstdint>

namespace HalvexComm32 {
class TThreadMailbox;
}

namespace k3n {

class TZebCustomCommDevice : public QObject, public CommDeviceProperties {
    Q_OBJECT

public:
    explicit TZebCustomCommDevice(QObject* owner = nullptr);
    ~TZebCustomCommDevice() override;

    // ---- Active: the engine, and with UsePackage the framing layer, as one switch.
    // Without UsePackage the engine's flag; with it, true only when both are on.
    bool fGetActive() const;
    // Opens or closes the port; raises HalvexComm32::EComm32Error (code 4 with the
    // system's reason when the port cannot be opened) and then stays inactive.
    void fSetActive(bool on);
    bool fGetUsePackage() const { return usePackage_; }
    // The layer follows the new mode at once; an open port stays open.
    void fSetUsePackage(bool on);

    // ---- Data. Raw mode: the engine's byte queues (Read never blocks).
    // UsePackage: the framing layer's ReadPackage / WritePackage with buffer and length.
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

    // ---- The hop to this object's thread. With SyncEvents (the default) the
    // engine's and the layer's notifications are posted and raised here in
    // order, after the worker has gone on: a mask tells what happened, not what
    // the queues hold now. Without it they are raised on the worker threads.
    bool fGetSyncEvents() const { return syncEvents_.load(); }
    void fSetSyncEvents(bool on) { syncEvents_.store(on); }

signals:
    // Engine event bits (HalvexComm32::EV_*), including EV_HANGUP.
    void OnCommNotify(QObject* sender, quint32 mask);
    // Package bits (HalvexComm32::PKG_RECEIVED, PKG_ALLSENT) and the engine's other bits.
    void OnPackage(QObject* sender, quint32 mask);
    // On the thread that changes Active, never posted.
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
    // On a worker thread: post to the mailbox, or call straight through.
    void _EvComm(uint32_t mask);
    void _EvPackage(uint32_t mask);
    void ClosePort() override;

    HalvexComm32::TThreadMailbox* mailbox_;   // a child, so it outlives the engine's threads
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

}   // namespace k3n
