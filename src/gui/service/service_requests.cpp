// SPDX-License-Identifier: GPL-3.0-or-later
#include "service/service_requests.h"
#include "model/record_layout.h"
#include <algorithm>

namespace k3n {

namespace {

ServiceBuffer FilledBuffer(TransferKind kind, const ServiceData& service, const RadioData& radio)
{
    ServiceBuffer buffer{};
    switch (kind) {
    case TransferKind::Adjustment: GetAdjustmentData(service, buffer); break;
    case TransferKind::PowerTuning: GetApcTuneData(service, buffer); break;
    case TransferKind::SerialNumber: GetSnData(radio.radio_serial_number, buffer); break;
    case TransferKind::Configuration:
    case TransferKind::FirmwareInfo:
    case TransferKind::FrequencyBand: break;   // the band has its own check below
    }
    return buffer;
}

}   // namespace

std::optional<SessionRequest> MakeServiceSessionRequest(const ServiceTransferRequest& request,
                                                        const ServiceData& service, const RadioData& radio,
                                                        const ProgramTime& now)
{
    if (request.direction == Direction::Read)
        return ServiceReadRequest(request.kind);
    if (request.kind != TransferKind::FrequencyBand)
        return ServiceWriteRequest(request.kind, FilledBuffer(request.kind, service, radio));

    ServiceBuffer band{};
    if (!GetFreqBandData(radio.record.get(rec::freq_band), band))
        return std::nullopt;
    return WriteAllRequest(radio, now, band, FilledBuffer(TransferKind::PowerTuning, service, radio),
                           FilledBuffer(TransferKind::Adjustment, service, radio));
}

void StoreServiceReply(const ServiceTransferRequest& request, const ServiceBuffer& reply, ServiceData& service,
                       RadioData& radio)
{
    if (request.direction != Direction::Read)
        return;
    switch (request.kind) {
    case TransferKind::Adjustment: SetAdjustmentData(reply, service); break;
    case TransferKind::PowerTuning: SetApcTuneData(reply, service); break;
    case TransferKind::SerialNumber: SetSnData(reply, radio.radio_serial_number); break;
    case TransferKind::FirmwareInfo: SetFirmWareInforData(reply, service); break;
    case TransferKind::Configuration:
    case TransferKind::FrequencyBand: break;
    }
}

void NoteServiceReadOutcome(const ServiceTransferRequest& request, bool succeeded, ServiceData& service)
{
    if (request.direction != Direction::Read)
        return;
    if (request.kind == TransferKind::PowerTuning)
        service.apc_read_from_radio = succeeded;
    else if (request.kind == TransferKind::Adjustment)
        service.adjustment_read_from_radio = succeeded;
}

std::optional<OwnText> FactoryDataQuestion(const ServiceTransferRequest& request, const ServiceData& service,
                                           const RadioData& radio)
{
    if (request.direction != Direction::Write)
        return std::nullopt;
    switch (request.kind) {
    case TransferKind::PowerTuning:
        return service.apc_read_from_radio ? std::nullopt : std::optional(OwnText::AskWritePowerTuningNotRead);
    case TransferKind::Adjustment:
        return service.adjustment_read_from_radio ? std::nullopt : std::optional(OwnText::AskWriteAdjustmentNotRead);
    case TransferKind::FrequencyBand:   // "Write All" sends both
        if (!service.apc_read_from_radio && !service.adjustment_read_from_radio)
            return OwnText::AskWriteFactoryDataNotRead;
        if (!service.apc_read_from_radio)
            return OwnText::AskWritePowerTuningNotRead;
        if (!service.adjustment_read_from_radio)
            return OwnText::AskWriteAdjustmentNotRead;
        return std::nullopt;
    case TransferKind::SerialNumber: {
        // Empty, or nothing but zeros: a number no radio should be given by mistake.
        const SerialNumber& sn = radio.radio_serial_number;
        const bool meaningless = std::all_of(sn.begin(), sn.end(), [](uint8_t c) { return c == 0 || c == '0'; });
        return meaningless ? std::optional(OwnText::AskWriteEmptySerialNumber) : std::nullopt;
    }
    case TransferKind::Configuration:
    case TransferKind::FirmwareInfo: break;
    }
    return std::nullopt;
}

}   // namespace k3n
