// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a user may name as the port of a radio: "auto" for the search of
// every port, "COMn" of the port list, or an absolute device path. A relative
// path would name a different file in every folder the program runs from.
#include "text/error.h"
#include <QString>
#include <optional>

namespace k3n {

bool IsAutoPortName(const QString& name);

// Nothing when name is auto, COMn (any case) or an absolute path; otherwise
// "not a port name: use auto, COMn or an absolute device path such as /dev/ttyUSB0".
std::optional<Error> PortNameError(const QString& name);

} // namespace k3n
