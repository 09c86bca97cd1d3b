// SPDX-License-Identifier: GPL-3.0-or-later
// k3n dump: prints a configuration file as text, or as the JSON image of every field.
#include "cli/command.h"
#include "cli/command_files.h"
#include "interchange/configuration_json.h"
#include "report/configuration_report.h"

namespace k3n::cli {

int RunDump(const Command& self, const Arguments& args)
{
    RadioData data;
    if (auto error = LoadConfigurationInput(args.operands().constFirst(), data))
        return BadInput(self, error->message);
    if (args.isSet("json"))
        Out() << ConfigurationJsonText(data.record);
    else
        Out() << ReportAsText(BuildConfigurationReport(data.record));
    return kExitOk;
}

}   // namespace k3n::cli
