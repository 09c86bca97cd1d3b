// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// k3n write with several ports: one write per radio at once, a progress line
// per port on a terminal, a summary line per radio at the end.
#include "cli/command.h"
#include "programming/several_radios_write.h"
#include "programming/write_log.h"

namespace k3n::cli {

// Writes data into the radios of 'ports', logging each radio's attempt with
// 'file' (its port and device filled in per radio); the exit code of the
// whole: 0 every radio written, 3 all written but some not verified, 1 any
// failed, 2 ports refused before anything started.
int WriteSeveralRadios(const Command& self, const RadioData& data, const WriteLogContext& file,
                       const QStringList& ports, const SafeWriteOptions& options);

}   // namespace k3n::cli
