// SPDX-License-Identifier: GPL-3.0-or-later
// k3n: the command-line tool for K3N configuration files.
#include "cli/tool.h"

int main(int argc, char** argv)
{
    return k3n::cli::RunTool(argc, argv);
}
