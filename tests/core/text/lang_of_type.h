// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A language object set to one language type, for tests of the text tables.
#include "text/app_lang.h"

namespace k3n::test {

inline TAppLang LangOfType(uint8_t type)
{
    TAppLang lang(kLangIdEnglishUs);
    lang.fSetLangType(type);
    return lang;
}

}   // namespace k3n::test
