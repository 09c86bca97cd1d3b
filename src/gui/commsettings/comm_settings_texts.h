// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 36 texts of the port settings dialog, in the current interface language.
#include <QString>

namespace k3n {

constexpr int kCommSettingsTextCount = 36;

// Text n (0..35); empty for another number.
QString CommSettingsText(int n);

}   // namespace k3n
