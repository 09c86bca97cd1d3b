// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the commands that reach the radio or its memory image share: the PORT
// argument, running a session with progress on stderr, and loading whole
// configuration and image files.
#include "cli/command.h"
#include "programming/safe_write.h"
#include "programming/session.h"
#include "programming/write_log.h"
#include "text/error.h"
#include <QString>
#include <optional>

namespace k3n::cli {

// PORT: "COMn" of the port list, "auto" for the automatic search, or a device path.
// The plan, or what is wrong with the argument.
Result<PortPlan> PortPlanFromArgument(const QString& port);

// Runs the session until it ends. Notices go to stderr; so does a progress bar
// when stderr is a terminal.
SessionOutcome RunSession(ProgrammingSession& session);

// Runs the chain of backup, write and read-back until it ends, like RunSession.
SafeWriteOutcome RunSafeWrite(SafeWrite& chain);

// Runs the chain (Ctrl+C cancels it), adds its line to the programming log, prints
// the backup's path and the outcome's message; returns the exit status of `k3n write`.
int RunLoggedWrite(const Command& self, SafeWrite& chain, const WriteLogContext& context);

// A write's message with the reason of the session that ended it:
// "… nothing was written (no answer from the radio)".
QString WriteResultMessage(const SafeWriteResult& result);

// The session's message for a failure: "Communication False (no answer from the radio)".
QString FailureMessage(const ProgrammingSession& session);

// A configuration file of the full size (a shorter one would leave defaults
// standing in for what it lacks). The reason on failure.
std::optional<Error> LoadWholeConfiguration(const QString& path, RadioData& data);

// The starting record of read and unimage: BASE when given, otherwise the defaults.
std::optional<Error> LoadBaseConfiguration(const QString& basePath, RadioData& data);

} // namespace k3n::cli
