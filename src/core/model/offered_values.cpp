// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/offered_values.h"
#include <algorithm>

namespace k3n {

bool IsOffered(std::span<const ValueRange> values, unsigned value)
{
    return std::any_of(values.begin(), values.end(),
                       [value](const ValueRange& r) { return value >= r.first && value <= r.last; });
}

}   // namespace k3n
