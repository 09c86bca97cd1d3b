// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The frame bytes of a framing layer as one settings object, read from and
// written straight into the layer, with immediate effect.
#include "comm/framing.h"

#include <cstdint>

namespace k3n {

class TZebCommFrameSettings {
public:
    explicit TZebCommFrameSettings(HalvexComm32::TCommPackage* package) : package_(package) {}

    uint8_t fGetFrameHead() const { return package_->fGetFrameHead(); }
    void fSetFrameHead(uint8_t b) { package_->fSetFrameHead(b); }
    uint8_t fGetFrameTail() const { return package_->fGetFrameTail(); }
    void fSetFrameTail(uint8_t b) { package_->fSetFrameTail(b); }
    uint8_t fGetFrameCtrl() const { return package_->fGetFrameCtrl(); }
    void fSetFrameCtrl(uint8_t b) { package_->fSetFrameCtrl(b); }
    bool fGetDblFrMark() const { return package_->fGetDblFrameMark(); }
    void fSetDblFrMark(bool on) { package_->fSetDblFrameMark(on); }

    HalvexComm32::TCommPackage* Package() const { return package_; }

private:
    HalvexComm32::TCommPackage* package_;
};

}   // namespace k3n
