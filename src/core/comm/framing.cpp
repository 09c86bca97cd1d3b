// SPDX-License-Identifier: GPL-3.0-or-later
#include "comm/framing.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace HalvexComm32 {

TCommPackage::TCommPackage(TComm32* engine)
    : engine_(engine), inPackages_(queueSize_, packageSize_ + kPackageHeadSize),
      outPackages_(queueSize_, packageSize_ + kPackageHeadSize)
{
    _AllocBuffer();
    wake_.Create();
    timer_ = std::thread(&TCommPackage::_TimerThread, this);
    previousNotify_ = engine_->OnCommNotify;
    engine_->OnCommNotify = [this](TComm32* sender, uint32_t mask) { fNewCommNotify(sender, mask); };
}

TCommPackage::~TCommPackage()
{
    engine_->OnCommNotify = previousNotify_;
    StopTimer();
}

void TCommPackage::StopTimer()
{
    timerRun_.store(false);
    wake_.Set();
    if (timer_.joinable())
        timer_.join();
}

namespace {

struct PackageBuffers {
    std::vector<uint8_t> assembly, encoded, raw;
};

// The three buffers for a package size, sized in 64 bits: a size near 2^32 must
// fail here rather than wrap into a small buffer.
PackageBuffers MakeBuffers(uint32_t packageSize)
{
    const size_t record = size_t(kPackageHeadSize) + packageSize;
    return {std::vector<uint8_t>(record, 0), std::vector<uint8_t>(record + packageSize + 4, 0),
            std::vector<uint8_t>(record, 0)};
}

uint32_t SlotSizeFor(uint32_t packageSize)
{
    const uint64_t slot = uint64_t(kPackageHeadSize) + packageSize;
    if (slot > std::numeric_limits<uint32_t>::max())
        throw std::bad_alloc();
    return uint32_t(slot);
}

}   // namespace

void TCommPackage::_AllocBuffer()
{
    PackageBuffers b = MakeBuffers(packageSize_);
    assembly_.swap(b.assembly);
    encoded_.swap(b.encoded);
    raw_.swap(b.raw);
}

// ---- Settings ----------------------------------------------------------------

void TCommPackage::ResetBothDirections()
{
    inFrame_ = false;
    escaped_ = false;
    assemblyLength_ = 0;
    sentCount_ = 0;
    SetPackageLength(encoded_.data(), 0);
    inPackages_.Clear();
    outPackages_.Clear();
}

template <class Change> void TCommPackage::Reconfigure(Change change)
{
    {
        std::scoped_lock lock(receiveMutex_, sendMutex_);
        change();
        ResetBothDirections();
    }
    wake_.Set();
}

void TCommPackage::fSetActive(bool on)
{
    Reconfigure([&] { active_.store(on); });
}

// Everything is allocated before anything changes, so a failure leaves the layer whole.
void TCommPackage::fSetQSize(uint32_t slotCount)
{
    TCommPackageQueue in(slotCount, RecordSize()), out(slotCount, RecordSize());
    Reconfigure([&] {
        inPackages_.SwapSlots(in);
        outPackages_.SwapSlots(out);
        queueSize_ = slotCount;
    });
}

void TCommPackage::fSetPkgSz(uint32_t size)
{
    const uint32_t slotSize = SlotSizeFor(size);
    PackageBuffers buffers = MakeBuffers(size);
    TCommPackageQueue in(queueSize_, slotSize), out(queueSize_, slotSize);
    Reconfigure([&] {
        inPackages_.SwapSlots(in);
        outPackages_.SwapSlots(out);
        assembly_.swap(buffers.assembly);
        encoded_.swap(buffers.encoded);
        raw_.swap(buffers.raw);
        packageSize_ = size;
    });
}

void TCommPackage::fSetPkgType(TCommPackageType type)
{
    Reconfigure([&] { packageType_.store(type); });
}

void TCommPackage::fSetPkgInterval(uint32_t ms)
{
    packageInterval_.store(ms);
    wake_.Set();
}

// ---- Owner's side --------------------------------------------------------------

int TCommPackage::ReadPackage(void* buffer, int length)
{
    if (!active_.load())
        return 0;
    if (packageType_.load() == TCommPackageType::cptCompatiblePkg)
        return inPackages_.Out(buffer, RecordSize());
    std::vector<uint8_t> slot(inPackages_.SlotSize());
    if (!buffer || length <= 0)
        return inPackages_.Read(slot.data(), uint32_t(slot.size()), 0) ? int(PackageLength(slot.data())) : 0;
    if (!inPackages_.Out(slot.data(), uint32_t(slot.size())))
        return 0;
    const uint32_t n = std::min<uint32_t>(uint32_t(length), PackageLength(slot.data()));
    std::memcpy(buffer, slot.data() + kPackageHeadSize, n);
    return int(n);
}

int TCommPackage::WritePackage(const void* buffer, int length)
{
    if (!active_.load() || !buffer)
        return 0;
    if (packageType_.load() == TCommPackageType::cptCompatiblePkg) {
        std::lock_guard lock(sendMutex_);
        if (!outPackages_.In(buffer, RecordSize()))
            return 0;
        _WritePackage();
        return 1;
    }
    if (length <= 0)
        return 0;
    std::vector<uint8_t> slot(outPackages_.SlotSize());
    const uint32_t n = std::min<uint32_t>(uint32_t(length), packageSize_);
    SetPackageLength(slot.data(), n);
    std::memcpy(slot.data() + kPackageHeadSize, buffer, n);
    std::lock_guard lock(sendMutex_);
    if (!outPackages_.In(slot.data(), uint32_t(slot.size())))
        return 0;
    _WritePackage();
    return int(n);
}

void TCommPackage::PurgeRead()
{
    if (!active_.load())
        return;
    engine_->PurgeRead(false);
    std::lock_guard lock(receiveMutex_);
    inPackages_.Clear();
}

void TCommPackage::PurgeWrite()
{
    if (!active_.load())
        return;
    {
        std::lock_guard lock(sendMutex_);
        outPackages_.Clear();
    }
    engine_->PurgeWrite(false);
}

void TCommPackage::CallNotify(uint32_t mask)
{
    if (OnPackage)
        OnPackage(this, mask);
}

// ---- Engine events -------------------------------------------------------------

void TCommPackage::fNewCommNotify(TComm32* sender, uint32_t mask)
{
    if (active_.load()) {
        uint32_t packageMask = mask & ~(EV_RXCHAR | EV_TXEMPTY);
        if (mask & EV_RXCHAR) {
            std::lock_guard lock(receiveMutex_);
            if (active_.load() && packageType_.load() != TCommPackageType::cptFrameTimeout) {
                _ReadHeadTailPackage();
                if (inPackages_.Count() > 0)
                    packageMask |= PKG_RECEIVED;
            }
        }
        if (mask & EV_TXEMPTY) {
            std::lock_guard lock(sendMutex_);
            if (active_.load()) {
                _WritePackage();
                if (outPackages_.Count() == 0)
                    packageMask |= PKG_ALLSENT;
            }
        }
        if (packageMask != 0)
            CallNotify(packageMask);
    }
    if (previousNotify_)
        previousNotify_(sender, mask);
}

// ---- Receive ---------------------------------------------------------------------

void TCommPackage::AppendToAssembly(uint8_t b)
{
    if (assemblyLength_ < packageSize_)
        assembly_[kPackageHeadSize + assemblyLength_++] = b;
}

bool TCommPackage::QueueAssembly()
{
    SetPackageLength(assembly_.data(), assemblyLength_);
    const bool queued =
        inPackages_.In(assembly_.data(), uint32_t(assembly_.size())) == 1;   // lost when the queue is full
    assemblyLength_ = 0;
    return queued;
}

void TCommPackage::_ReadHeadTailPackage()
{
    const uint8_t head = frameHead_.load(), tail = frameTail_.load(), ctrl = frameCtrl_.load();
    uint8_t block[TComm32::kReadBlock];
    for (;;) {
        const int n = engine_->Read(block, sizeof block);
        if (n <= 0)
            return;
        for (int i = 0; i < n; ++i) {
            const uint8_t b = block[i];
            if (!escaped_ && b == head) {
                // An unescaped head always starts a new package, even inside a frame.
                assemblyLength_ = 0;
                inFrame_ = true;
            } else if (inFrame_) {
                if (escaped_) {
                    AppendToAssembly(b);
                    escaped_ = false;
                } else if (b == ctrl) {
                    escaped_ = true;
                } else if (b == tail) {
                    QueueAssembly();
                    inFrame_ = false;
                } else {
                    AppendToAssembly(b);
                }
            } else {
                // Between frames bytes are dropped; a control byte still escapes the next one.
                escaped_ = !escaped_ && b == ctrl;
            }
        }
    }
}

bool TCommPackage::_ReadTimeoutPackage()
{
    bool took = false;
    uint8_t block[TComm32::kReadBlock];
    for (;;) {
        const int n = engine_->Read(block, sizeof block);
        if (n <= 0)
            return took;
        took = true;
        const uint32_t fits = std::min<uint32_t>(uint32_t(n), packageSize_ - assemblyLength_);
        std::memcpy(assembly_.data() + kPackageHeadSize + assemblyLength_, block, fits);
        assemblyLength_ += fits;
    }
}

void TCommPackage::_TimerThread()
{
    while (timerRun_.load()) {
        const bool timed = packageType_.load() == TCommPackageType::cptFrameTimeout;
        // At least 1 ms: an interval of 0 would spin.
        const int wait = timed ? int(std::clamp<uint32_t>(packageInterval_.load(), 1, 0x7FFFFFFF)) : -1;
        if (WaitForAny({wake_.Fd()}, wait) == 0)
            wake_.Reset();
        if (!timerRun_.load())
            break;
        bool delivered = false;
        {
            std::lock_guard lock(receiveMutex_);
            if (active_.load() && packageType_.load() == TCommPackageType::cptFrameTimeout) {
                if (!_ReadTimeoutPackage() && assemblyLength_ > 0) {
                    QueueAssembly();
                    delivered = true;
                }
            }
        }
        if (delivered) {
            try {
                CallNotify(PKG_RECEIVED);
            } catch (...) {
            }
        }
    }
}

// ---- Send ----------------------------------------------------------------------

void TCommPackage::_EncodePackage(uint8_t* out, const uint8_t* in) const
{
    const uint8_t head = frameHead_.load(), tail = frameTail_.load(), ctrl = frameCtrl_.load();
    const bool twice = doubleFrameMark_.load();
    const uint32_t n = std::min(PackageLength(in), packageSize_);
    uint8_t* p = out + kPackageHeadSize;
    *p++ = head;
    if (twice)
        *p++ = head;
    for (uint32_t i = 0; i < n; ++i) {
        const uint8_t b = in[kPackageHeadSize + i];
        if (b == head || b == tail || b == ctrl)
            *p++ = ctrl;
        *p++ = b;
    }
    *p++ = tail;
    if (twice)
        *p++ = tail;
    SetPackageLength(out, uint32_t(p - (out + kPackageHeadSize)));
}

void TCommPackage::_WritePackage()
{
    const uint32_t encodedLength = PackageLength(encoded_.data());
    if (sentCount_ < encodedLength) {
        sentCount_ +=
            uint32_t(engine_->Write(encoded_.data() + kPackageHeadSize + sentCount_, int(encodedLength - sentCount_)));
        return;
    }
    if (outPackages_.Count() == 0)
        return;
    if (packageType_.load() == TCommPackageType::cptFrameTimeout) {
        outPackages_.Out(encoded_.data(), uint32_t(encoded_.size()));
        // A record queued under another type may claim more than a package.
        SetPackageLength(encoded_.data(), std::min(PackageLength(encoded_.data()), packageSize_));
    } else {
        outPackages_.Out(raw_.data(), uint32_t(raw_.size()));
        _EncodePackage(encoded_.data(), raw_.data());
    }
    sentCount_ = uint32_t(engine_->Write(encoded_.data() + kPackageHeadSize, int(PackageLength(encoded_.data()))));
}

}   // namespace HalvexComm32
