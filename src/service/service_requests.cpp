#include "service/service_requests.h"
#include "model/record_layout.h"

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

} // namespace

std::optional<SessionRequest> MakeServiceSessionRequest(const ServiceTransferRequest& request,
                                                        const ServiceData& service,
                                                        const RadioData& radio, const ProgramTime& now)
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

void StoreServiceReply(const ServiceTransferRequest& request, const ServiceBuffer& reply,
                       ServiceData& service, RadioData& radio)
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

} // namespace k3n
