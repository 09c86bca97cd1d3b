// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What one programming session moves: the transfer kinds, the request a caller
// makes, and the address plans (which frames go out, in which order).
#include "programming/memory_image.h"
#include "programming/service_data.h"
#include <map>
#include <optional>
#include <vector>

namespace k3n {

enum class TransferKind : uint8_t {
    Configuration = 0,
    Adjustment = 1,
    PowerTuning = 2,
    SerialNumber = 4,
    FirmwareInfo = 5,
    FrequencyBand = 6,
};

enum class Direction { Read, Write };

struct SessionRequest {
    TransferKind kind = TransferKind::Configuration;
    Direction direction = Direction::Read;
    // Configuration write only: compare the radio's band code with record_band before writing.
    bool band_check = false;
    // Frequency band write only: band, power tuning, adjustment, then the whole configuration.
    bool write_all_chain = false;
    // Configuration read of the radio's identity block (0x0FE0, 32 bytes) alone.
    bool identity_only = false;
    int record_band = 0;
    // The band check compares the radio's band code with this one instead (an exact restore).
    std::optional<uint8_t> band_code;
    // Configuration write: the image to send (GetDataForWrite). Configuration read: the
    // starting image; the areas of the read plan are replaced.
    MemoryImage image{};
    // Service writes: the filled buffer of each kind written (GetAdjustmentData ...).
    std::map<TransferKind, ServiceBuffer> service_buffers;
    // Configuration write only: what the radio holds now, as a read found it. Only the
    // frames whose bytes differ from it are sent, in the plan's order; the programming
    // time and the radio-state frame always are.
    std::optional<MemoryImage> radio_holds;
};

// The requests of the callers that exist today.
SessionRequest ConfigurationReadRequest();
// Writes 'read' (a backup's radio bytes) back as they were, its programming time included,
// in the plan of a configuration write; the band check compares with the band code in it.
SessionRequest ExactRestoreWriteRequest(const MemoryImage& read);
// Reads only the identity block: is the radio on the port still the one read before?
SessionRequest RadioIdentityReadRequest();
// Builds the image from the record at programming time 'now'.
SessionRequest ConfigurationWriteRequest(const RadioData& data, const ProgramTime& now, bool bandCheck);
// The same write sending only what differs from 'radioHolds' (see radio_holds).
SessionRequest ChangedOnlyWriteRequest(SessionRequest write, const MemoryImage& radioHolds);
SessionRequest ServiceReadRequest(TransferKind kind);
SessionRequest ServiceWriteRequest(TransferKind kind, const ServiceBuffer& buffer);
// The write-all chain: 'band', 'powerTuning' and 'adjustment' are the filled buffers.
SessionRequest WriteAllRequest(const RadioData& data, const ProgramTime& now, const ServiceBuffer& band,
                               const ServiceBuffer& powerTuning, const ServiceBuffer& adjustment);

// Radio area of each service kind.
ServiceArea ServiceAreaOf(TransferKind kind);

// One frame of a transfer.
enum class StepData {
    Image,   // image bytes at the step's address
    RadioState,   // the radio-state byte, always 0
    ServiceBuffer,   // the first 'size' bytes of the service buffer of 'service'
};
struct PlanStep {
    uint16_t address;
    uint8_t size;
    StepData data;
    TransferKind service = TransferKind::Configuration;
    uint8_t progress_bytes = 0;   // added to the progress accumulator
    bool await_answer = true;   // false: the next step goes out on the next tick unanswered
    bool operator==(const PlanStep&) const = default;
};

// The frames of a request in order: read requests for a read, write frames for a
// write. Throws std::invalid_argument for a request no caller makes (a firmware
// write, a band check outside a configuration write, a chain outside a band write,
// a service write without its buffer, what the radio holds outside a configuration write).
std::vector<PlanStep> TransferPlan(const SessionRequest& request);

}   // namespace k3n
