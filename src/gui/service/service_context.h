// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the service windows share: the factory data they edit, the radio data
// (serial number and band), and the way they run a transfer with the radio.
// The transfer is run by whoever opens service mode (the main window puts the
// programming session window behind it), so these windows never depend on it.
#include "model/radio_data.h"
#include "programming/service_data.h"
#include "programming/transfer_plan.h"
#include <functional>

namespace k3n {

// One service transfer as a window asks for it. "Write All" is the frequency
// band write: band, power tuning, adjustment, then the whole configuration.
struct ServiceTransferRequest {
    TransferKind kind;
    Direction direction;
    bool operator==(const ServiceTransferRequest&) const = default;
};

// Runs one session for the request and returns true when it ended with
// success and the received data (for a read) is stored in the fields.
using RunServiceTransfer = std::function<bool(const ServiceTransferRequest&)>;

struct ServiceContext {
    ServiceData& service;
    RadioData& radio;
    RunServiceTransfer runTransfer;

    // False as well when nobody can run transfers (a window shown on its own).
    bool Run(TransferKind kind, Direction direction) const { return runTransfer && runTransfer({kind, direction}); }
};

}   // namespace k3n
