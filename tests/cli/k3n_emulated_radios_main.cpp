// SPDX-License-Identifier: GPL-3.0-or-later
// k3n-emulated-radios: the k3n tool whose sessions talk to the emulated radios
// of the folders K3N_EMULATED_RADIOS lists, on a simulated clock (see tool_radio.h).
#include "cli/tool.h"
#include "tool_radio.h"

int main(int argc, char** argv)
{
    const QString folders = qEnvironmentVariable("K3N_EMULATED_RADIOS");
    const auto radios = k3n::test::LoadToolRadios(folders);
    k3n::SetDefaultSessionLinkMaker(k3n::EmulatedLinkMaker());
    const int status = k3n::cli::RunTool(argc, argv);
    k3n::test::SaveToolRadios(folders, radios);
    return status;
}
