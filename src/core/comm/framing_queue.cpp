// SPDX-License-Identifier: GPL-3.0-or-later
#include "comm/framing_queue.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace HalvexComm32 {

uint32_t PackageLength(const uint8_t* record)
{
    return uint32_t(record[0]) | uint32_t(record[1]) << 8 | uint32_t(record[2]) << 16 | uint32_t(record[3]) << 24;
}

void SetPackageLength(uint8_t* record, uint32_t length)
{
    for (int i = 0; i < 4; ++i)
        record[i] = uint8_t(length >> (8 * i));
}

TCommPackageQueue::TCommPackageQueue(uint32_t slotCount, uint32_t slotSize)
{
    SetQueue(slotCount, slotSize);
}

TCommPackageQueue::~TCommPackageQueue() = default;

void TCommPackageQueue::SetQueue(uint32_t slotCount, uint32_t slotSize)
{
    const uint32_t count = std::max<uint32_t>(slotCount, 2);
    const uint32_t size = std::max<uint32_t>(slotSize, 32);
    std::unique_ptr<uint8_t[]> memory(new uint8_t[size_t(count) * size]);   // first: it may throw
    memory_.reset();
    memory_ = std::move(memory);
    slotCount_ = count;
    slotSize_ = size;
    Clear();
}

void TCommPackageQueue::SwapSlots(TCommPackageQueue& other) noexcept
{
    std::swap(memory_, other.memory_);
    std::swap(slotCount_, other.slotCount_);
    std::swap(slotSize_, other.slotSize_);
    Clear();
    other.Clear();
}

void TCommPackageQueue::fRemoveQueue()
{
    memory_.reset();
    Clear();
}

void TCommPackageQueue::Clear()
{
    head_.store(0, std::memory_order_relaxed);
    tail_.store(0, std::memory_order_release);
}

uint32_t TCommPackageQueue::Count() const
{
    const uint32_t head = head_.load(std::memory_order_acquire);
    const uint32_t tail = tail_.load(std::memory_order_acquire);
    return (tail + slotCount_ - head) % slotCount_;
}

int TCommPackageQueue::In(const void* record, uint32_t recordSize)
{
    if (!memory_ || !record)
        return 0;
    const uint32_t tail = tail_.load(std::memory_order_relaxed);
    const uint32_t next = (tail + 1) % slotCount_;
    if (next == head_.load(std::memory_order_acquire))
        return 0;
    std::memcpy(Slot(tail), record, std::min(recordSize, slotSize_));
    tail_.store(next, std::memory_order_release);
    return 1;
}

int TCommPackageQueue::Out(void* record, uint32_t recordSize)
{
    if (!memory_ || !record)
        return 0;
    const uint32_t head = head_.load(std::memory_order_relaxed);
    if (head == tail_.load(std::memory_order_acquire))
        return 0;
    std::memcpy(record, Slot(head), std::min(recordSize, slotSize_));
    head_.store((head + 1) % slotCount_, std::memory_order_release);
    return 1;
}

int TCommPackageQueue::Read(void* record, uint32_t recordSize, uint32_t index) const
{
    if (!memory_ || !record || index >= Count())
        return 0;
    const uint32_t head = head_.load(std::memory_order_relaxed);
    std::memcpy(record, Slot((head + index) % slotCount_), std::min(recordSize, slotSize_));
    return 1;
}

}   // namespace HalvexComm32
