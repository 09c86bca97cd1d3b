// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/language_option.h"
#include <QLocale>
#include <QStringList>

namespace k3n::cli {

std::optional<TAppLang> LanguageNamed(const QString& name)
{
    const QStringList names{"en", "zh-CN", "zh-TW"};
    int setting = -1;
    for (int i = 0; i < names.size(); ++i)
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            setting = i;
    if (setting < 0)
        return std::nullopt;
    TAppLang lang(SystemLanguageIdFromLocale(QLocale::system().name()));
    ApplyLanguageSetting(lang, setting);
    return lang;
}

Result<TAppLang> LanguageOption(const QString& name, bool given)
{
    if (given) {
        if (auto lang = LanguageNamed(name))
            return *lang;
        return Error{QStringLiteral("--language must be %1, not '%2'").arg(QLatin1String(kLanguageNames), name)};
    }
    TAppLang lang(SystemLanguageIdFromLocale(QLocale::system().name()));
    ApplyLanguageSetting(lang, -1);   // detect
    return lang;
}

} // namespace k3n::cli
