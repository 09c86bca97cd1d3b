// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The serial port engine: owns one port, runs a reader, a writer and a 200 ms
// timer thread of its own, moves received bytes into the receive queue and
// queued bytes onto the line, and reports port events to one callback.
// Callers never touch the port: they Write into the send queue, Read from the
// receive queue (never blocking) and react to OnCommNotify, which may run on
// any of the engine's threads.
//
// Glossary: the engine keeps its own vocabulary; underneath it is a tty.
//
//   Event bits (OnCommNotify)   where they come from
//   EV_RXCHAR    0x0001         reader: POLLIN on the port, bytes read until EAGAIN
//   EV_RXFLAG    0x0002         never raised
//   EV_TXEMPTY   0x0004         writer sets the tx-done eventfd after a chunk; the reader
//                               raises the bit once TIOCOUTQ (and TIOCSERGETLSR) say drained
//   EV_CTS       0x0008         timer: a TIOCMGET reading differs from the last one
//   EV_DSR       0x0010         (the same)
//   EV_RLSD      0x0020         (the same; also restarts the ring guard)
//   EV_ERR       0x0080         reader: the TIOCGICOUNT sums (frame, overrun, parity, break) moved
//   EV_RING      0x0100         timer: TIOCM_RNG with no carrier, at most once per 15 ticks
//   EV_RX80FULL  0x0400         reader: the receive queue passed 80 %
//   EV_HANGUP    0x10000        reader: POLLHUP/POLLERR on the port (the engine's own bit)
//   Manual-reset events (readerStop_, writerStop_, timerStop_, writerReady_, txDone_) are
//   eventfds (TCommEvent); each thread polls its events together with the port, and the
//   timer's 200 ms tick is the time-out of its poll.
//
//   Modem status bits           TIOCMGET line
//   MS_CTS_ON    0x10           TIOCM_CTS
//   MS_DSR_ON    0x20           TIOCM_DSR
//   MS_RING_ON   0x40           TIOCM_RNG
//   MS_RLSD_ON   0x80           TIOCM_CAR
//   EscapeCommFunction SETRTS/CLRRTS/SETDTR/CLRDTR (3/4/5/6) are TIOCMBIS/TIOCMBIC on
//   TIOCM_RTS/TIOCM_DTR; SETXOFF/SETXON (1/2) tcflow; SETBREAK/CLRBREAK (8/9) TIOCSBRK/TIOCCBRK.
//
//   Flow-control codes (TComm32::TFlowControl, the numbers of the modem command "&K")
//   0 fcNone            neither
//   3 fcRtsCts          CRTSCTS
//   4 fcXonXoff         IXON | IXOFF
//   5 fcTranXonXoff     as 4; reads back as 4
//   6 fcRtsCtsXonXoff   CRTSCTS | IXON | IXOFF
#include "comm/byte_queue.h"
#include "comm/comm_error.h"
#include "comm/line_settings.h"
#include "comm/serial_events.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <poll.h>
#include <sys/types.h>
#include <termios.h>
#include <thread>

namespace HalvexComm32 {

// Event bits passed to OnCommNotify.
constexpr uint32_t EV_RXCHAR = 0x0001;   // bytes were moved into the receive queue
constexpr uint32_t EV_RXFLAG = 0x0002;   // event character (not produced)
constexpr uint32_t EV_TXEMPTY = 0x0004;   // send queue empty and the port's output drained
constexpr uint32_t EV_CTS = 0x0008;
constexpr uint32_t EV_DSR = 0x0010;
constexpr uint32_t EV_RLSD = 0x0020;   // carrier changed
constexpr uint32_t EV_ERR = 0x0080;   // line error (frame, overrun, parity, break)
constexpr uint32_t EV_RING = 0x0100;   // ring, from the timer
constexpr uint32_t EV_RX80FULL = 0x0400;   // the receive queue passed 80 % of its size
// The engine's own: the port went away (cable pulled, other end closed). Raised
// once; the port stays open but dead until Close.
constexpr uint32_t EV_HANGUP = 0x00010000;
constexpr uint32_t EV_MODEMLINES = EV_CTS | EV_DSR | EV_RLSD;   // sent on open and close

// Modem status bits.
constexpr uint32_t MS_CTS_ON = 0x10;
constexpr uint32_t MS_DSR_ON = 0x20;
constexpr uint32_t MS_RING_ON = 0x40;
constexpr uint32_t MS_RLSD_ON = 0x80;

class TComm32 {
public:
    // The numbers of the modem command "&K"; any other number means none. The
    // communication device component names this same type k3n::TFlowControl.
    enum TFlowControl : int {
        fcNone = 0,
        fcRtsCts = 3,
        fcXonXoff = 4,
        fcTranXonXoff = 5,
        fcRtsCtsXonXoff = 6,
    };

    // EscapeCommFunction codes.
    static constexpr uint32_t SETXOFF = 1;
    static constexpr uint32_t SETXON = 2;
    static constexpr uint32_t SETRTS = 3;
    static constexpr uint32_t CLRRTS = 4;
    static constexpr uint32_t SETDTR = 5;
    static constexpr uint32_t CLRDTR = 6;
    static constexpr uint32_t SETBREAK = 8;
    static constexpr uint32_t CLRBREAK = 9;

    static constexpr int kQueueSize = 8192;
    static constexpr int kTimerIntervalMs = 200;
    static constexpr int kRingGuardTicks = 15;
    static constexpr int kCloseLimitMs = 500;
    static constexpr int kReadBlock = 2048;
    static constexpr int kWriteChunk = 256;

    using TNotifyEvent = std::function<void(TComm32* sender)>;
    using TCommNotifyEvent = std::function<void(TComm32* sender, uint32_t mask)>;

    TComm32();
    virtual ~TComm32();
    TComm32(const TComm32&) = delete;
    TComm32& operator=(const TComm32&) = delete;

    // Take up to 'length' received bytes; never blocks; also works while closed.
    virtual int Read(void* buffer, int length);
    // Queue bytes for sending; returns how many fit (0 while writing is disabled). Never blocks.
    virtual int Write(const void* buffer, int length);
    // Queue the bytes of a zero-terminated text, even while writing is disabled.
    virtual int Command(const char* text);
    virtual void PurgeRead(bool abort);
    virtual void PurgeWrite(bool abort);
    virtual void ResetModem();
    virtual void InitModem();
    virtual bool EscapeCommFunction(uint32_t function);
    // Raises EComm32Error; after a failure the engine is closed with no thread running.
    virtual void Open();
    // Stops the threads (code 13 or 14 when one outlives the time limit) and releases
    // the port. From a notification on one of the engine's own threads it raises
    // code 13 and leaves the engine open: close it from the owner's thread.
    virtual void Close();

    // The port: "COMn" (resolved through TCommSerialPortInfo at Open) or a device path.
    int fGetPortNo() const { return portNo_; }
    void fSetPortNo(int portNo);   // device name becomes "COM<portNo>"
    QString fGetDeviceName() const { return deviceName_; }
    void fSetDeviceName(const QString& nameOrPath);   // "COM3" also sets the port number, a path sets it to 0
    // The device path Open will use; empty when a COM name is not in the port list
    // or the name is neither "COMn" nor an absolute path.
    QString ResolveDevicePath() const;

    // Changed only while closed; Open applies them whole.
    TCommLineSettings& LineSettings() { return line_; }
    const TCommLineSettings& LineSettings() const { return line_; }

    bool fGetDTR() const;
    void fSetDTR(bool on);
    bool fGetRTS() const;
    void fSetRTS(bool on);
    TFlowControl fGetFCtrl() const;
    void fSetFCtrl(TFlowControl code);   // closes the port first

    int32_t fGetHwInSize() const { return hwInSize_; }
    void fSetHwInSize(int32_t size) { hwInSize_ = size; }
    int32_t fGetHwOutSize() const { return hwOutSize_; }
    void fSetHwOutSize(int32_t size) { hwOutSize_ = size; }
    uint8_t fGetAutoAnswer() const { return autoAnswer_; }
    void fSetAutoAnswer(uint8_t rings) { autoAnswer_ = rings; }
    bool fGetDisableWrite() const { return disableWrite_.load(); }
    void fSetDisableWrite(bool on) { disableWrite_.store(on); }

    bool fGetActive() const { return active_.load(); }
    int fGetHandle() const { return fd_; }
    uint32_t fGetModemStatus() const { return modemStatus_.load(); }
    // True once the open port went away; cleared by the next Open.
    bool HungUp() const { return hungUp_.load(); }
    TCommQueue& InQueue() { return inQueue_; }
    TCommQueue& OutQueue() { return outQueue_; }

    // Set only while closed.
    TCommNotifyEvent OnCommNotify;
    TNotifyEvent OnAfterOpen;
    TNotifyEvent OnBeforeClose;

protected:
    virtual void CommNotify(uint32_t mask);
    virtual void CommAfterOpen();
    virtual void CommBeforeClose();
    // One tick of the timer thread: carrier changes and rings.
    virtual void fmsgCommTimer();

    // Access to the port itself, replaceable where the port cannot show it
    // (a pseudo-terminal has no modem lines).
    // Read and write return the count, or -errno.
    virtual bool ReadModemLines(uint32_t& status);
    virtual ssize_t ReadFromPort(uint8_t* data, size_t length);
    virtual ssize_t WriteToPort(const uint8_t* data, size_t length);
    // True when nothing written is left in the port (also where the port cannot tell).
    virtual bool OutputDrained() const;
    // Drops what the port still holds to send.
    virtual void DiscardPortOutput();
    // Every wait of the three threads: poll(2), -1 with errno on failure.
    virtual int PollPort(pollfd* fds, nfds_t count, int timeoutMs);

private:
    QString PortLabel(const QString& devicePath) const;
    int OpenDevice(std::optional<TPortRefusal>& refusal);
    void SetModemLine(int line, bool on);
    void StartThreads(int& code);
    void MarkStopped(std::atomic<bool>& alive);
    bool WaitThreadsStopped();
    bool OnOwnThread() const;
    // Clears the three run flags and wakes every thread, also one pausing after a failed poll.
    void TellThreadsToStop();
    void StopThreadsFromOwnThread();
    void ReleasePort();
    void WaitOutputDrained();

    void ReaderThread();
    void WriterThread();
    void TimerThread();
    // Reader helpers.
    bool DrainPort(uint8_t* block, bool& hungUp);
    bool PassedRx80Full();
    bool LineErrorsChanged();
    // Waits for one of 'fds' (POLLIN): its position, -1 on time-out, -2 when only
    // a failing poll and its back-off ended the wait.
    int WaitForEvent(std::initializer_list<int> fds, int timeoutMs, const std::atomic<bool>& run);
    // A poll that fails other than by a signal: reported once, then a tick's pause.
    void BackOffAfterPollFailure(bool& failing, const std::atomic<bool>& run);
    void PollSucceeded(bool& failing);
    // Steps shared by port events from the reader and modem-line changes from the timer.
    void FinishPortEvent(uint32_t mask, const uint32_t* freshStatus);
    // Writer helper: the whole chunk, or as much as the port took before stop or failure.
    size_t WriteChunk(const uint8_t* data, size_t length, bool& stopped);

    int fd_ = -1;
    bool exclusive_ = false;
    TCommLineSettings line_;
    std::atomic<bool> active_{false};
    std::atomic<bool> disableWrite_{false};
    std::atomic<bool> hungUp_{false};
    bool dtrState_ = true;
    bool rtsState_ = true;
    int portNo_ = 2;
    QString deviceName_;
    int32_t hwInSize_ = 1200;
    int32_t hwOutSize_ = 1200;
    uint8_t autoAnswer_ = 0;
    TCommQueue inQueue_{kQueueSize};
    TCommQueue outQueue_{kQueueSize};

    std::thread reader_, writer_, timer_;
    std::atomic<bool> readerRun_{false}, writerRun_{false}, timerRun_{false};
    std::atomic<bool> readerAlive_{false}, writerAlive_{false}, timerAlive_{false};
    std::mutex aliveMutex_;
    std::condition_variable aliveChanged_;

    TCommEvent readerStop_, timerStop_, txDone_;
    TCommEvent writerReady_, writerStop_;

    std::atomic<uint32_t> modemStatus_{0};
    // False where the modem lines cannot be read: CTS then gates nothing (CRTSCTS holds output).
    std::atomic<bool> modemStatusKnown_{false};
    std::atomic<int> threadsFailingToPoll_{0};
    // Received bytes move into the queue under this lock, and a purge bumps the
    // generation, so a block read before a purge is dropped rather than queued after it.
    std::mutex receiveMutex_;
    uint64_t purgeGeneration_ = 0;
    bool rxAbove80_ = false;   // reader thread only
    termios savedTermios_{};
    bool termiosSaved_ = false;
    std::atomic<int> tickCounter_{0};
    std::atomic<bool> purgeChunk_{false};
    // Reader-thread state: last line error counts (unsupported: TIOCGICOUNT failed).
    bool icountSupported_ = true;
    uint64_t icountSum_ = 0;
};

}   // namespace HalvexComm32
