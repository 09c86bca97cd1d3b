// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Qt's own texts (file dialogs, standard buttons, context menus) in the
// interface language, from the translations Debian ships with Qt.
#include <cstdint>

namespace k3n {

// Installs Qt's translation for the language type (kLangSimplified,
// kLangTraditional, anything else English) in place of the one installed
// before. False when the translation is not on this machine; Qt then speaks English.
bool InstallQtTranslations(uint8_t langType);

}   // namespace k3n
