// SPDX-License-Identifier: GPL-3.0-or-later
// k3n export: the channels of a configuration as a channel-list CSV.
#include "cli/command.h"
#include "cli/command_files.h"
#include "interchange/channel_csv.h"

namespace k3n::cli {

int RunExport(const Command& self, const Arguments& args)
{
    const Result<InputAndOutput> files = InputAndOutputOf(args, OutputKind::Text, InputCheck::ByLoader);
    if (!files)
        return UsageError(self, files.error().message);
    const auto& [input, outPath] = files.value();

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

}   // namespace k3n::cli
