// SPDX-License-Identifier: GPL-3.0-or-later
#include "programming/transfer_plan.h"
#include "model/record_layout.h"
#include "programming/link_frame.h"
#include <algorithm>
#include <stdexcept>

namespace k3n {

namespace {

// Blocks of 'block' bytes from 'first' up to (not including) 'end'.
struct AddressRun {
    uint16_t first;
    uint16_t end;
    uint8_t block;
    StepData data;
};

constexpr uint8_t kBlock = link::kMaxData;

// Configuration, signalling and programming time; then serial number and band code; then the channels.
constexpr AddressRun kConfigurationReadRuns[] = {
    {0x0000, 0x06C0, kBlock, StepData::Image},
    {0x0FE0, 0x1000, kBlock, StepData::Image},
    {radio_addr::kChannels, radio_addr::kChannelsEnd, kBlock, StepData::Image},
};

constexpr AddressRun kIdentityReadRuns[] = {
    {0x0FE0, 0x1000, kBlock, StepData::Image},
};

// The serial number and band code are never written here: they have their own transfers.
constexpr AddressRun kConfigurationWriteRuns[] = {
    {0x0000, 0x06A0, kBlock, StepData::Image},
    {0x06A0, radio_addr::kConfigEnd, 6, StepData::Image},
    {radio_addr::kRadioState, radio_addr::kRadioState + 1, 1, StepData::RadioState},
    {radio_addr::kChannels, radio_addr::kChannelsEnd, kBlock, StepData::Image},
};

// The write-all chain sends these ahead of the configuration, one per tick, unanswered.
constexpr TransferKind kWriteAllChain[] = {TransferKind::FrequencyBand, TransferKind::PowerTuning,
                                           TransferKind::Adjustment};

// Every configuration block counts 32 bytes towards progress, the 6-byte one too.
constexpr uint8_t kBlockProgress = 32;

void AppendRuns(std::vector<PlanStep>& plan, std::span<const AddressRun> runs)
{
    for (const AddressRun& run : runs)
        for (unsigned a = run.first; a < run.end; a += run.block) {
            const bool image = run.data == StepData::Image;
            plan.push_back(
                {uint16_t(a), run.block, run.data, TransferKind::Configuration, image ? kBlockProgress : uint8_t(0)});
        }
}

PlanStep ServiceStep(TransferKind kind, bool awaitAnswer)
{
    const ServiceArea area = ServiceAreaOf(kind);
    return {area.address, area.size, StepData::ServiceBuffer, kind, 0, awaitAnswer};
}

// A changed-only write sends a frame whose bytes the radio does not hold yet. The
// programming time goes out with every write, as a full write sends it; the
// radio-state byte too, whatever the radio holds there.
bool NeedsSending(const PlanStep& step, const MemoryImage& image, const MemoryImage& radioHolds)
{
    if (step.data != StepData::Image || step.address == radio_addr::kProgramTime)
        return true;
    const auto first = std::ptrdiff_t(step.address);
    return !std::equal(image.begin() + first, image.begin() + first + step.size, radioHolds.begin() + first);
}

void Require(bool condition, const char* what)
{
    if (!condition)
        throw std::invalid_argument(what);
}

SessionRequest ConfigurationWrite(const RadioData& data, const ProgramTime& now)
{
    SessionRequest r;
    r.kind = TransferKind::Configuration;
    r.direction = Direction::Write;
    r.record_band = data.record.get(rec::freq_band);
    GetDataForWrite(data, now, r.image);
    return r;
}

}   // namespace

ServiceArea ServiceAreaOf(TransferKind kind)
{
    switch (kind) {
    case TransferKind::Adjustment: return kAdjustmentArea;
    case TransferKind::PowerTuning: return kApcTuneArea;
    case TransferKind::SerialNumber: return kSerialNumberArea;
    case TransferKind::FirmwareInfo: return kFirmwareArea;
    case TransferKind::FrequencyBand: return kFreqBandArea;
    case TransferKind::Configuration: break;
    }
    throw std::invalid_argument("the configuration is not a service area");
}

SessionRequest ConfigurationReadRequest()
{
    return {};
}

SessionRequest ExactRestoreWriteRequest(const MemoryImage& read)
{
    SessionRequest r;
    r.kind = TransferKind::Configuration;
    r.direction = Direction::Write;
    r.band_check = true;
    r.band_code = read[radio_addr::kBandCode];
    // The areas the write plan sends; and the identity block, never sent, to tell which
    // radio the bytes came from.
    for (const PlanStep& step : TransferPlan(r))
        if (step.data == StepData::Image)
            std::copy_n(read.begin() + step.address, step.size, r.image.begin() + step.address);
    constexpr std::size_t kIdentity = 0x0FE0, kIdentityEnd = 0x1000;
    std::copy(read.begin() + kIdentity, read.begin() + kIdentityEnd, r.image.begin() + kIdentity);
    return r;
}

SessionRequest RadioIdentityReadRequest()
{
    SessionRequest r;
    r.identity_only = true;
    return r;
}

SessionRequest ConfigurationWriteRequest(const RadioData& data, const ProgramTime& now, bool bandCheck)
{
    SessionRequest r = ConfigurationWrite(data, now);
    r.band_check = bandCheck;
    return r;
}

SessionRequest ChangedOnlyWriteRequest(SessionRequest write, const MemoryImage& radioHolds)
{
    write.radio_holds = radioHolds;
    return write;
}

SessionRequest ServiceReadRequest(TransferKind kind)
{
    SessionRequest r;
    r.kind = kind;
    r.direction = Direction::Read;
    return r;
}

SessionRequest ServiceWriteRequest(TransferKind kind, const ServiceBuffer& buffer)
{
    SessionRequest r;
    r.kind = kind;
    r.direction = Direction::Write;
    r.service_buffers[kind] = buffer;
    return r;
}

SessionRequest WriteAllRequest(const RadioData& data, const ProgramTime& now, const ServiceBuffer& band,
                               const ServiceBuffer& powerTuning, const ServiceBuffer& adjustment)
{
    SessionRequest r = ConfigurationWrite(data, now);
    r.kind = TransferKind::FrequencyBand;
    r.write_all_chain = true;
    r.service_buffers[TransferKind::FrequencyBand] = band;
    r.service_buffers[TransferKind::PowerTuning] = powerTuning;
    r.service_buffers[TransferKind::Adjustment] = adjustment;
    return r;
}

std::vector<PlanStep> TransferPlan(const SessionRequest& request)
{
    const bool write = request.direction == Direction::Write;
    const bool configuration = request.kind == TransferKind::Configuration;
    Require(!request.band_check || (configuration && write), "the band check belongs to a configuration write");
    Require(!request.write_all_chain || (request.kind == TransferKind::FrequencyBand && write),
            "the write-all chain is a frequency band write");
    Require(!(write && request.kind == TransferKind::FirmwareInfo), "the firmware information is read only");
    Require(!request.identity_only || (configuration && !write), "the identity block is read in a configuration read");
    Require(!request.radio_holds || (configuration && write),
            "only a configuration write leaves out what the radio holds");

    std::vector<PlanStep> plan;
    if (request.identity_only) {
        AppendRuns(plan, kIdentityReadRuns);
        return plan;
    }
    if (configuration) {
        AppendRuns(plan,
                   write ? std::span<const AddressRun>(kConfigurationWriteRuns)
                         : std::span<const AddressRun>(kConfigurationReadRuns));
        if (request.radio_holds)
            std::erase_if(
                plan, [&](const PlanStep& step) { return !NeedsSending(step, request.image, *request.radio_holds); });
        return plan;
    }
    if (request.write_all_chain) {
        for (TransferKind kind : kWriteAllChain)
            plan.push_back(ServiceStep(kind, false));
        AppendRuns(plan, kConfigurationWriteRuns);
    } else {
        plan.push_back(ServiceStep(request.kind, true));
    }
    if (write)
        for (const PlanStep& step : plan)
            Require(step.data != StepData::ServiceBuffer || request.service_buffers.contains(step.service),
                    "a service write needs its filled buffer");
    return plan;
}

}   // namespace k3n
