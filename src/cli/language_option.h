// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The --language option of the commands that print texts for people. The
// tool speaks English unless this option says otherwise.
#include "text/app_lang.h"
#include "text/error.h"
#include <QString>
#include <QStringList>
#include <optional>

namespace k3n::cli {

// "en", "zh-CN", "zh-TW".
const QStringList& LanguageNames();

// One of LanguageNames() (any case) as a language; nullopt for any other name.
std::optional<TAppLang> LanguageNamed(const QString& name);

// The value of --language, or English when it was not given; an error naming
// the accepted names for any other value.
Result<TAppLang> LanguageOption(const QString& name, bool given);

}   // namespace k3n::cli
