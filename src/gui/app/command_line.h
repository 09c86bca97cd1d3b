// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What k3n-cps takes from its command line besides the virtual radio's options.
#include <QString>
#include <QStringList>

namespace k3n {

// The configuration file to open at start (a file manager passes it as the
// one argument that is not an option); empty when there is none.
QString ConfigurationFileArgument(const QStringList& arguments);

} // namespace k3n
