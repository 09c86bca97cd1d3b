// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The --language option of the commands that print texts for people.
#include "text/app_lang.h"
#include <QString>
#include <optional>

namespace k3n::cli {

inline constexpr const char* kLanguageNames = "en, zh-CN or zh-TW";

// "en", "zh-CN" or "zh-TW" as a language; nullopt for any other name.
std::optional<TAppLang> LanguageNamed(const QString& name);

} // namespace k3n::cli
