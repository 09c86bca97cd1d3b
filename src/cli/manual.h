// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The k3n(1) manual page and the bash completion, made from the command table
// when the tool is built, so that they say what --help says.
#include <QString>

namespace k3n::cli {

// The k3n(1) page in roff.
QString ManPage();
// The bash completion script for k3n.
QString BashCompletion();

}   // namespace k3n::cli
