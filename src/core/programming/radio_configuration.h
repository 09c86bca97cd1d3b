// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The radio's configuration beside the open one: what a read brings, kept
// apart from the open configuration (a backup, a comparison), and the open
// configuration as the radio would hold it once written, so that a comparison
// lists only what a write changes.
#include "model/radio_data.h"
#include "programming/memory_image.h"
#include <optional>

namespace k3n {

class ProgrammingSession;

// The radio's configuration from a read's image: read onto a fresh
// configuration of the band the radio reports, with that band's limits.
RadioData RadioConfigurationOf(const MemoryImage& image);

// The configuration a successful configuration read brought; nothing otherwise.
std::optional<RadioData> RadioConfigurationRead(const ProgrammingSession& session);

// 'record' as a radio holds it after a write: through the image and back, so
// bytes the radio does not keep take their defaults and values take the form
// the radio keeps (a frequency to 100 Hz, one key code for talk-around).
RadioRecord AsTheRadioHoldsIt(const RadioRecord& record);

}   // namespace k3n
