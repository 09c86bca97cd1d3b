// SPDX-License-Identifier: GPL-3.0-or-later
#include "comm/comm_component.h"

#include "comm/comm_error.h"
#include "comm/thread_mailbox.h"

namespace k3n {

using HalvexComm32::EComm32Error;
using HalvexComm32::TComm32;
using HalvexComm32::TCommPackage;
using HalvexComm32::TThreadMailbox;

TZebCustomCommDevice::TZebCustomCommDevice(QObject* owner) : QObject(owner), mailbox_(new TThreadMailbox(this))
{
    engine_ = std::make_unique<TComm32>();
    engine_->OnCommNotify = [this](TComm32*, uint32_t mask) { _EvComm(mask); };
    engine_->OnAfterOpen = [this](TComm32*) {
        if (!destroying_.load())
            EvAfterOpen();
    };
    engine_->OnBeforeClose = [this](TComm32*) {
        if (!destroying_.load())
            EvBeforeClose();
    };
    package_ = std::make_unique<TCommPackage>(engine_.get());   // goes in front of _EvComm
    package_->OnPackage = [this](TCommPackage*, uint32_t mask) { _EvPackage(mask); };
    frameSettings_ = std::make_unique<TZebCommFrameSettings>(package_.get());
}

TZebCustomCommDevice::~TZebCustomCommDevice()
{
    // Only with every calling thread stopped may the callbacks go.
    StopWorkers();
    package_->OnPackage = nullptr;
    engine_->OnCommNotify = nullptr;
    engine_->OnAfterOpen = nullptr;
    engine_->OnBeforeClose = nullptr;
    frameSettings_.reset();
    package_.reset();
    engine_.reset();
}

void TZebCustomCommDevice::StopWorkers()
{
    // The engine's threads and the layer's timer thread call the callbacks: silence them first.
    destroying_.store(true);
    try {
        engine_->Close();
    } catch (const EComm32Error&) {
    }
    package_->fSetActive(false);
    package_->StopTimer();
}

// ---- Notifications ---------------------------------------------------------------

void TZebCustomCommDevice::_EvComm(uint32_t mask)
{
    if (destroying_.load())
        return;
    if (syncEvents_.load())
        mailbox_->Post([this, mask] { EvCommNotify(mask); });
    else
        EvCommNotify(mask);
}

void TZebCustomCommDevice::_EvPackage(uint32_t mask)
{
    if (destroying_.load())
        return;
    if (syncEvents_.load())
        mailbox_->Post([this, mask] { EvPackageNotify(mask); });
    else
        EvPackageNotify(mask);
}

void TZebCustomCommDevice::EvCommNotify(quint32 mask)
{
    emit OnCommNotify(this, mask);
}

void TZebCustomCommDevice::EvPackageNotify(quint32 mask)
{
    emit OnPackage(this, mask);
}

void TZebCustomCommDevice::EvAfterOpen()
{
    emit AfterOpen(this);
}

void TZebCustomCommDevice::EvBeforeClose()
{
    emit BeforeClose(this);
}

// ---- Active and data ---------------------------------------------------------------

bool TZebCustomCommDevice::fGetActive() const
{
    if (usePackage_)
        return package_->fGetActive() && engine_->fGetActive();
    return engine_->fGetActive();
}

void TZebCustomCommDevice::fSetActive(bool on)
{
    if (on != engine_->fGetActive()) {
        if (on)
            engine_->Open();
        else
            engine_->Close();
    }
    const bool layerOn = usePackage_ && on;
    if (layerOn != package_->fGetActive())
        package_->fSetActive(layerOn);
}

void TZebCustomCommDevice::fSetUsePackage(bool on)
{
    const bool active = fGetActive();
    usePackage_ = on;
    fSetActive(active);
}

void TZebCustomCommDevice::ClosePort()
{
    fSetActive(false);
}

int TZebCustomCommDevice::Read(void* buffer, int length)
{
    return usePackage_ ? package_->ReadPackage(buffer, length) : engine_->Read(buffer, length);
}

int TZebCustomCommDevice::Write(const void* buffer, int length)
{
    return usePackage_ ? package_->WritePackage(buffer, length) : engine_->Write(buffer, length);
}

int TZebCustomCommDevice::Command(const char* text)
{
    return engine_->Command(text);
}

bool TZebCustomCommDevice::ReadPackage(void* buffer)
{
    return package_->ReadPackage(buffer, 0) != 0;
}

bool TZebCustomCommDevice::WritePackage(const void* buffer)
{
    return package_->WritePackage(buffer, 0) != 0;
}

int TZebCustomCommDevice::ReadPackage(void* buffer, int length)
{
    return package_->ReadPackage(buffer, length);
}

int TZebCustomCommDevice::WritePackage(const void* buffer, int length)
{
    return package_->WritePackage(buffer, length);
}

void TZebCustomCommDevice::PurgeRead(bool abort)
{
    if (usePackage_)
        package_->PurgeRead();
    else
        engine_->PurgeRead(abort);
}

void TZebCustomCommDevice::PurgeWrite(bool abort)
{
    if (usePackage_)
        package_->PurgeWrite();
    else
        engine_->PurgeWrite(abort);
}

void TZebCustomCommDevice::ResetModem()
{
    engine_->ResetModem();
}

void TZebCustomCommDevice::InitModem()
{
    engine_->InitModem();
}

bool TZebCustomCommDevice::EscapeCommFunction(uint32_t function)
{
    return engine_->EscapeCommFunction(function);
}

// ---------------------------------------------------------------------------------------------

TZebCommDevice::TZebCommDevice(QObject* owner) : TZebCustomCommDevice(owner) {}

TZebCommDevice::~TZebCommDevice()
{
    StopWorkers();   // while the workers could still reach this class's handlers
}

}   // namespace k3n
