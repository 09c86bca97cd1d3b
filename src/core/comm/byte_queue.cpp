// SPDX-License-Identifier: GPL-3.0-or-later
#include "comm/byte_queue.h"

#include "comm/comm_error.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace HalvexComm32 {

TCommQueue::TCommQueue(int32_t size)
{
    try {
        fSetBufSize(size);
    } catch (const EComm32Error&) {
        fSetBufSize(0);
    }
}

TCommQueue::~TCommQueue() = default;

void TCommQueue::fSetBufSize(int32_t size)
{
    head_.store(0, std::memory_order_relaxed);
    tail_.store(0, std::memory_order_release);
    if (size <= 0) {
        buffer_.reset();
        size_ = 0;
        return;
    }
    std::unique_ptr<uint8_t[]> fresh(new (std::nothrow) uint8_t[static_cast<size_t>(size)]);
    if (!fresh)
        throw EComm32Error(EComm32Error::ecOutOfMemory);
    buffer_ = std::move(fresh);
    size_ = size;
}

int TCommQueue::Count() const
{
    if (!buffer_)
        return 0;
    const int32_t head = head_.load(std::memory_order_acquire);
    const int32_t tail = tail_.load(std::memory_order_acquire);
    return (tail + size_ - head) % size_;
}

int TCommQueue::Room() const
{
    if (!buffer_)
        return 0;
    const int32_t head = head_.load(std::memory_order_acquire);
    const int32_t tail = tail_.load(std::memory_order_acquire);
    return (head + size_ - tail - 1) % size_;
}

int TCommQueue::In(uint8_t byte)
{
    return In(&byte, 1);
}

int TCommQueue::In(const void* data, int length)
{
    if (!buffer_ || !data || length <= 0)
        return 0;
    const int32_t tail = tail_.load(std::memory_order_relaxed);
    const int32_t head = head_.load(std::memory_order_acquire);
    const int room = (head + size_ - tail - 1) % size_;
    const int n = std::min(length, room);
    if (n <= 0)
        return 0;
    const auto* src = static_cast<const uint8_t*>(data);
    const int first = std::min(n, size_ - tail);
    std::memcpy(buffer_.get() + tail, src, static_cast<size_t>(first));
    std::memcpy(buffer_.get(), src + first, static_cast<size_t>(n - first));
    tail_.store((tail + n) % size_, std::memory_order_release);
    return n;
}

int TCommQueue::Out(uint8_t& byte)
{
    return Out(&byte, 1);
}

int TCommQueue::Out(void* data, int length)
{
    if (!buffer_ || !data || length <= 0)
        return 0;
    int32_t head = head_.load(std::memory_order_acquire);
    const int32_t tail = tail_.load(std::memory_order_acquire);
    const int n = std::min(length, (tail + size_ - head) % size_);
    if (n <= 0)
        return 0;
    auto* dst = static_cast<uint8_t*>(data);
    const int first = std::min(n, size_ - head);
    std::memcpy(dst, buffer_.get() + head, static_cast<size_t>(first));
    std::memcpy(dst + first, buffer_.get(), static_cast<size_t>(n - first));
    // A purge may have moved the head meanwhile: then these bytes were discarded.
    if (!head_.compare_exchange_strong(head, (head + n) % size_, std::memory_order_acq_rel))
        return 0;
    return n;
}

void TCommQueue::Discard()
{
    if (!buffer_)
        return;
    head_.store(tail_.load(std::memory_order_acquire), std::memory_order_release);
}

}   // namespace HalvexComm32
