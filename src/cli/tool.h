// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The whole k3n tool, from its arguments to its exit status: main() is this
// call, and a test build of the tool runs it with radios of its own.

namespace k3n::cli {

int RunTool(int argc, char** argv);

}   // namespace k3n::cli
