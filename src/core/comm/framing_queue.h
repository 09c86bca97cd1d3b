// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A ring of fixed-size package slots for one producer and one consumer thread,
// without a lock (the same index discipline as the byte queue). Each slot holds
// a package record: a 32-bit little-endian length, then the data bytes.
#include <atomic>
#include <cstdint>
#include <memory>

namespace HalvexComm32 {

constexpr uint32_t kPackageHeadSize = 4;

uint32_t PackageLength(const uint8_t* record);
void SetPackageLength(uint8_t* record, uint32_t length);

class TCommPackageQueue {
public:
    TCommPackageQueue(uint32_t slotCount, uint32_t slotSize);
    virtual ~TCommPackageQueue();
    TCommPackageQueue(const TCommPackageQueue&) = delete;
    TCommPackageQueue& operator=(const TCommPackageQueue&) = delete;

    // At least 2 slots of at least 32 bytes; empties the queue. Only while neither side runs.
    // When the memory cannot be had (std::bad_alloc) the queue keeps its old slots.
    void SetQueue(uint32_t slotCount, uint32_t slotSize);
    // Exchanges slots and geometry with 'other' and empties both. Only while neither side runs.
    void SwapSlots(TCommPackageQueue& other) noexcept;
    // The record calls copy min(recordSize, slot size) bytes: a slot may be larger
    // than the records kept in it.
    // Copies one record into the tail slot; 0 when full or without memory.
    int In(const void* record, uint32_t recordSize);
    // Copies the oldest slot out and removes it; 0 when empty.
    int Out(void* record, uint32_t recordSize);
    // Copies the slot 'index' places after the oldest, leaving it queued; 0 when there is none.
    int Read(void* record, uint32_t recordSize, uint32_t index) const;
    void fRemoveQueue();
    // Empties the queue. Only while neither side runs.
    void Clear();

    uint32_t Count() const;
    uint32_t SlotCount() const { return slotCount_; }
    uint32_t SlotSize() const { return slotSize_; }

private:
    uint8_t* Slot(uint32_t index) const { return memory_.get() + size_t(index) * slotSize_; }

    std::unique_ptr<uint8_t[]> memory_;
    std::atomic<uint32_t> head_{0};
    std::atomic<uint32_t> tail_{0};
    uint32_t slotCount_ = 2;
    uint32_t slotSize_ = 32;
};

}   // namespace HalvexComm32
