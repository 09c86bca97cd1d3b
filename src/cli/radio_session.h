// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the commands that reach the radio share: the PORT argument and running
// a session with progress on stderr.
#include "cli/command.h"
#include "programming/safe_write.h"
#include "programming/session.h"
#include "programming/session_runner.h"
#include "programming/write_log.h"
#include "text/error.h"
#include <QString>

namespace k3n::cli {

// PORT: "COMn" of the port list, "auto" for the automatic search, or an absolute
// device path. The plan, or what is wrong with the argument.
Result<PortPlan> PortPlanFromArgument(const QString& port);
// Prints why PORT was refused; the exit status: kExitUsage for a name that is
// no port name, kExitFailure for a port this computer does not have.
int PortRefused(const Command& self, const QString& port, const Error& error);

// Runs the runner's session until it ends. Notices go to stderr; so does a
// progress bar when stderr is a terminal.
SessionOutcome RunSession(SessionRunner& runner);

// Runs the chain of backup, write and read-back until it ends, like RunSession.
SafeWriteOutcome RunSafeWrite(SafeWrite& chain);

// Before a write, each the exit status when it must not start (nothing when it may):
// the check's problems printed, a configuration with errors refused unless forced;
std::optional<int> RefusedByCheck(const Command& self, const RadioRecord& record, bool force);
// a programming log that cannot take the attempt (a write that could not be proved later).
std::optional<int> RefusedWithoutLog(const Command& self);

// The backup, read-back and changed-only choices of --no-backup, --no-verify and
// --changed-only, as k3n write and k3n restore take them.
SafeWriteOptions WriteOptionsOf(const Arguments& args);

// Runs the chain (Ctrl+C cancels it), adds its line to the programming log, prints
// the backup's path and the outcome's message; returns the exit status of `k3n write`.
int RunLoggedWrite(const Command& self, SafeWrite& chain, const WriteLogContext& context);

// A write's message with the reason of the session that ended it:
// "… nothing was written (no answer from the radio)".
QString WriteResultMessage(const SafeWriteResult& result);

// The session's message for a failure: "Communication False (no answer from the radio)".
QString FailureMessage(const ProgrammingSession& session);

}   // namespace k3n::cli
