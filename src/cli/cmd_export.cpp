// SPDX-License-Identifier: GPL-3.0-or-later
// k3n export: the channels of a configuration as a channel-list CSV.
#include "cli/command.h"
#include "cli/command_files.h"
#include "interchange/channel_csv.h"

namespace k3n::cli {

int RunExport(const Command& self, const Arguments& args)
{
    const QString input = args.operands().constFirst();
    const QString outPath = args.value("output");
    if (auto error = CheckOutputPath(outPath, input, OutputKind::Text))
        return UsageError(self, error->message);

    RadioData data;
    if (auto error = LoadConfigurationInput(input, data))
        return BadInput(self, error->message);
    const ChannelExport exported = ExportChannelsCsv(
        data.record, args.isSet("standard") ? ChannelColumnSet::StandardOnly : ChannelColumnSet::StandardAndRadio);
    for (const QString& note : exported.notes)
        Err() << note << "\n";
    Err().flush();
    return WriteOutput(self, outPath, exported.csv);
}

} // namespace k3n::cli
