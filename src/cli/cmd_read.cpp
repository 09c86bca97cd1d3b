// SPDX-License-Identifier: GPL-3.0-or-later
// k3n read: reads the configuration from the radio into a file, like the main
// window's "Read from radio". The file is written only when the read succeeded;
// that it can be written is made sure of before the radio is read. Ctrl+C (and
// SIGTERM, SIGHUP) stop the session, which lets the port go as a normal end does.
#include "cli/command.h"
#include "cli/command_files.h"
#include "cli/interrupt.h"
#include "cli/radio_session.h"
#include "model/fse_file.h"
#include "model/whole_file.h"
#include "programming/session_runner.h"

namespace k3n::cli {

int RunRead(const Command& self, const Arguments& args)
{
    const QString outPath = args.value("output");
    // The base may be the output: it is read whole before the output replaces it.
    if (auto error = CheckOutputPath(outPath, {}, OutputKind::Binary))
        return UsageError(self, error->message);
    const Result<PortPlan> plan = PortPlanFromArgument(args.value("port"));
    if (!plan)
        return PortRefused(self, args.value("port"), plan.error());
    RadioData data;
    if (auto error = LoadBaseConfiguration(args.value("base"), data))
        return BadInput(self, error->message);
    if (auto error = CheckFileWritable(outPath))
        return Failure(self,
                       QStringLiteral("cannot write %1: %2; the radio was not read").arg(outPath, error->message()));

    ProgrammingSession session(ConfigurationReadRequest(), plan.value());
    SessionRunner runner(session);
    SessionOutcome outcome;
    {
        const InterruptWatch interrupt([&runner] { runner.RequestCancel(); });
        outcome = RunSession(runner);
    }
    if (outcome != SessionOutcome::Success || !ApplyConfigurationRead(session, data))
        return Failure(self, FailureMessage(session) + QStringLiteral("; nothing was written"));
    return WriteOutput(self, outPath, FseFileBytes(data.record));
}

}   // namespace k3n::cli
