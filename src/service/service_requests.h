#pragma once
// Between the service fields and a programming session: the session request
// for a window's transfer, with its write buffers filled from the fields,
// and the storing of a read's reply once the session has succeeded.
#include "programming/transfer_plan.h"
#include "service/service_context.h"
#include <optional>

namespace k3n {

// Write buffers come from the fields (and the record, for the band and the
// configuration of "Write All", programmed at 'now'). None when the record's
// band is not one of the four: no band code could be sent for it.
std::optional<SessionRequest> MakeServiceSessionRequest(const ServiceTransferRequest& request,
                                                        const ServiceData& service,
                                                        const RadioData& radio, const ProgramTime& now);

// A successful read's reply into the fields of its kind; writes store nothing.
void StoreServiceReply(const ServiceTransferRequest& request, const ServiceBuffer& reply,
                       ServiceData& service, RadioData& radio);

} // namespace k3n
