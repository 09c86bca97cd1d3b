// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Between the service fields and a programming session: the session request
// for a window's transfer, with its write buffers filled from the fields,
// and the storing of a read's reply once the session has succeeded.
#include "programming/transfer_plan.h"
#include "service/service_context.h"
#include "text/own_texts.h"
#include <optional>

namespace k3n {

// Write buffers come from the fields (and the record, for the band and the
// configuration of "Write All", programmed at 'now'). None when the record's
// band is not one of the four: no band code could be sent for it.
std::optional<SessionRequest> MakeServiceSessionRequest(const ServiceTransferRequest& request,
                                                        const ServiceData& service, const RadioData& radio,
                                                        const ProgramTime& now);

// A successful read's reply into the fields of its kind; writes store nothing.
void StoreServiceReply(const ServiceTransferRequest& request, const ServiceBuffer& reply, ServiceData& service,
                       RadioData& radio);

// Remembers whether a read of power tuning or adjustment succeeded, so that a
// later write knows whether its fields came from a radio.
void NoteServiceReadOutcome(const ServiceTransferRequest& request, bool succeeded, ServiceData& service);

// The question to ask before a write would replace factory data with values
// that were not read from a radio (or an empty serial number); none when the
// write can go ahead without asking.
std::optional<OwnText> FactoryDataQuestion(const ServiceTransferRequest& request, const ServiceData& service,
                                           const RadioData& radio);

}   // namespace k3n
