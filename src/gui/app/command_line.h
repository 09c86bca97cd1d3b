// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What k3n-cps takes from its command line besides the virtual radio's options.
#include <QString>
#include <QStringList>
#include <optional>

namespace k3n {

// The text k3n-cps prints for --help (the usage) or --version, before any
// window or display is needed; none when neither is asked for.
std::optional<QString> InformationAskedFor(const QStringList& arguments);

// The configuration file to open at start (a file manager passes it as the
// one argument that is not an option); empty when there is none.
QString ConfigurationFileArgument(const QStringList& arguments);

}   // namespace k3n
