// SPDX-License-Identifier: GPL-3.0-or-later
#include "programming/port_failure_text.h"
#include "text/own_texts.h"

#ifndef K3N_CABLE_RULE_PATH
#define K3N_CABLE_RULE_PATH "/usr/lib/udev/rules.d/60-k3n-cables.rules"
#endif

namespace k3n {

using HalvexComm32::TPortFailureKind;

QString CableRulePath()
{
    return QStringLiteral(K3N_CABLE_RULE_PATH);
}

QString PortFailureReason(const HalvexComm32::TPortFailure& failure)
{
    switch (failure.kind) {
    case TPortFailureKind::NotPresent: return Text(OwnText::PortNotPresent);
    case TPortFailureKind::PermissionDenied:
        return Text(OwnText::PortPermissionDenied) + QStringLiteral("; ")
            + Text(OwnText::PortAccessRuleHint).arg(CableRulePath());
    case TPortFailureKind::InUse: return Text(OwnText::PortInUse);
    case TPortFailureKind::NoResponse: return Text(OwnText::PortNoResponse);
    case TPortFailureKind::NotSerial: return Text(OwnText::PortNotSerial);
    case TPortFailureKind::Other: break;
    }
    return QStringLiteral("%1 %2 (%3)")
        .arg(Text(OwnText::PortSystemError))
        .arg(failure.err)
        .arg(HalvexComm32::SystemText(failure));
}

QString PortErrorDetail(const HalvexComm32::EComm32Error& error)
{
    const std::optional<HalvexComm32::TPortRefusal>& refusal = error.Refusal();
    if (!refusal)
        return error.Detail();
    const QString reason = refusal->settings.isEmpty()
        ? PortFailureReason(refusal->failure)
        : Text(OwnText::PortRefusedSettings).arg(refusal->settings, PortFailureReason(refusal->failure));
    return refusal->port + QStringLiteral(": ") + reason;
}

QString PortErrorMessage(const HalvexComm32::EComm32Error& error)
{
    const QString detail = PortErrorDetail(error);
    const QString text = HalvexComm32::EComm32Error::TextOf(error.ErrorCode());
    return detail.isEmpty() ? text : text + QStringLiteral(": ") + detail;
}

}   // namespace k3n
