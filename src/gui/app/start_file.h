// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The ".fse" file named on k3n-cps's command line, as the file manager's
// "Open with" passes it (the desktop entry's %f).
#include <QString>
#include <QStringList>

namespace k3n {

// The first argument after the program's name that is not an option; the
// value of --virtual-radio-memory is not one. Empty when there is none.
QString FileNamedOnCommandLine(const QStringList& arguments);

} // namespace k3n
