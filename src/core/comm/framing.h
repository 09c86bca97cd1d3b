// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The framing layer: turns the byte stream of one engine into packages and
// back. Types 0 and 1 frame each package with a head and a tail byte and
// escape those and the control byte inside; type 2 sends packages as they are
// and ends a received package at a pause on the line. Received packages wait
// in a package queue for ReadPackage; packages to send wait in another and are
// handed to the engine as its send queue drains.
#include "comm/framing_queue.h"
#include "comm/serial_engine.h"
#include "comm/serial_events.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace HalvexComm32 {

enum class TCommPackageType : uint8_t {
    cptCompatiblePkg = 0,   // whole slotCount in and out: a record of 4 + package size bytes
    cptFrameHeadTail = 1,   // buffer and length
    cptFrameTimeout = 2,   // unframed; a pause of one package interval ends a received package
};

constexpr uint8_t DefaultFrameHead = 0xEB;
constexpr uint8_t DefaultFrameTail = 0xEE;
constexpr uint8_t DefaultFrameCtrl = 0xEC;

// Package event bits: a package arrived; every queued package was handed on.
constexpr uint32_t PKG_RECEIVED = EV_RXCHAR;
constexpr uint32_t PKG_ALLSENT = EV_TXEMPTY;

class TCommPackage {
public:
    using TPackageEvent = std::function<void(TCommPackage* sender, uint32_t mask)>;

    // Attaches itself in front of the engine's event callback (set the engine's
    // callback first). Create and destroy it while the engine is closed; the
    // engine must outlive the layer.
    explicit TCommPackage(TComm32* engine);
    virtual ~TCommPackage();
    TCommPackage(const TCommPackage&) = delete;
    TCommPackage& operator=(const TCommPackage&) = delete;

    // Type 0: copies one whole slot into 'buffer' (which must hold 4 + package size
    // bytes; 'length' is ignored) and returns 1. Types 1 and 2: copies up to
    // 'length' data bytes of the next package and returns the count (the rest is
    // lost); with no buffer or length <= 0 returns the next package's length and
    // leaves it queued. 0 while inactive or when nothing waits.
    virtual int ReadPackage(void* buffer, int length);
    // Type 0: queues one whole slot (a package record) and returns 1. Types 1 and 2:
    // queues up to package size bytes and returns the count taken. 0 while
    // inactive, for no data, or when the send package queue is full.
    virtual int WritePackage(const void* buffer, int length);
    virtual void PurgeRead();
    virtual void PurgeWrite();
    virtual void CallNotify(uint32_t mask);
    // Ends the layer's timer thread for good (the destructor does it too): after
    // this no notification comes from that thread.
    void StopTimer();

    bool fGetActive() const { return active_.load(); }
    void fSetActive(bool on);   // every switch empties both queues and resets both directions
    uint32_t fGetQSize() const { return queueSize_; }
    // Queue size and package size change whole or not at all: when the memory
    // cannot be had they raise std::bad_alloc and leave the layer as it was.
    void fSetQSize(uint32_t slotCount);
    uint32_t fGetPkgSz() const { return packageSize_; }
    void fSetPkgSz(uint32_t size);
    TCommPackageType fGetPkgType() const { return packageType_.load(); }
    void fSetPkgType(TCommPackageType type);
    uint32_t fGetPkgInterval() const { return packageInterval_.load(); }
    void fSetPkgInterval(uint32_t ms);
    bool fGetDblFrameMark() const { return doubleFrameMark_.load(); }
    void fSetDblFrameMark(bool on) { doubleFrameMark_.store(on); }
    uint8_t fGetFrameHead() const { return frameHead_.load(); }
    void fSetFrameHead(uint8_t b) { frameHead_.store(b); }
    uint8_t fGetFrameTail() const { return frameTail_.load(); }
    void fSetFrameTail(uint8_t b) { frameTail_.store(b); }
    uint8_t fGetFrameCtrl() const { return frameCtrl_.load(); }
    void fSetFrameCtrl(uint8_t b) { frameCtrl_.store(b); }

    TComm32* Engine() const { return engine_; }
    TCommPackageQueue& InQueue() { return inPackages_; }
    TCommPackageQueue& OutQueue() { return outPackages_; }

    // May run on the engine's reader thread or on this layer's timer thread.
    TPackageEvent OnPackage;

private:
    void fNewCommNotify(TComm32* sender, uint32_t mask);
    void _ReadHeadTailPackage();
    bool _ReadTimeoutPackage();
    void _WritePackage();
    void _EncodePackage(uint8_t* out, const uint8_t* in) const;
    void _AllocBuffer();
    // Bytes of one package record: the length and package size data bytes.
    uint32_t RecordSize() const { return kPackageHeadSize + packageSize_; }
    void _TimerThread();
    void AppendToAssembly(uint8_t b);
    bool QueueAssembly();
    // Changes a setting with both directions stopped, then starts again empty.
    template <class Change> void Reconfigure(Change change);
    void ResetBothDirections();

    TComm32* engine_;
    TComm32::TCommNotifyEvent previousNotify_;

    std::atomic<bool> active_{false};
    std::atomic<bool> doubleFrameMark_{true};
    std::atomic<uint8_t> frameHead_{DefaultFrameHead};
    std::atomic<uint8_t> frameTail_{DefaultFrameTail};
    std::atomic<uint8_t> frameCtrl_{DefaultFrameCtrl};
    std::atomic<TCommPackageType> packageType_{TCommPackageType::cptCompatiblePkg};
    std::atomic<uint32_t> packageInterval_{50};
    uint32_t queueSize_ = 16;
    uint32_t packageSize_ = 4096;

    // Receive side, under receiveMutex_.
    std::mutex receiveMutex_;
    bool inFrame_ = false;
    bool escaped_ = false;
    std::vector<uint8_t> assembly_;   // package record
    uint32_t assemblyLength_ = 0;

    // Send side, under sendMutex_: at most one encoded frame between layer and engine.
    std::mutex sendMutex_;
    std::vector<uint8_t> encoded_;   // package record, room for 2 * package size + 4
    std::vector<uint8_t> raw_;   // package record
    uint32_t sentCount_ = 0;

    TCommPackageQueue inPackages_;
    TCommPackageQueue outPackages_;

    std::atomic<bool> timerRun_{true};
    TCommEvent wake_;   // reset by the timer thread when it wakes: an auto-reset event
    std::thread timer_;
};

}   // namespace HalvexComm32
