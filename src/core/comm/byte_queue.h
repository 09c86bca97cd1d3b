// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A byte ring shared by exactly one producer thread and one consumer thread,
// without a lock: the producer only moves the tail, the consumer only moves the
// head, each publishing with release and reading the other side with acquire.
// One byte always stays free, so head == tail means empty.
#include <atomic>
#include <cstdint>
#include <memory>

namespace HalvexComm32 {

class TCommQueue {
public:
    explicit TCommQueue(int32_t size);
    virtual ~TCommQueue();
    TCommQueue(const TCommQueue&) = delete;
    TCommQueue& operator=(const TCommQueue&) = delete;

    // Empties the queue and replaces the buffer (size <= 0 frees it). Raises
    // EComm32Error code 1 when the memory cannot be had, keeping the old buffer.
    // Both indexes move: only while neither side is running.
    void fSetBufSize(int32_t size);

    // Producer side. Return the number of bytes stored; what does not fit is left out.
    int In(uint8_t byte);
    int In(const void* data, int length);

    // Consumer side. Return the number of bytes taken, in order.
    int Out(uint8_t& byte);
    int Out(void* data, int length);
    // Drops everything stored so far; safe while the producer keeps adding.
    void Discard();

    int32_t BufSize() const { return size_; }
    bool HasBuffer() const { return buffer_ != nullptr; }
    int Count() const;   // bytes stored
    int Room() const;   // bytes that still fit

private:
    int32_t size_ = 0;
    std::atomic<int32_t> head_{0};
    std::atomic<int32_t> tail_{0};
    std::unique_ptr<uint8_t[]> buffer_;
};

}   // namespace HalvexComm32
