// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/language_option.h"
#include <QLocale>

namespace k3n::cli {

const QStringList& LanguageNames()
{
    // In the order of the Language setting: 0 English, 1 Simplified, 2 Traditional.
    static const QStringList names{"en", "zh-CN", "zh-TW"};
    return names;
}

std::optional<TAppLang> LanguageNamed(const QString& name)
{
    const QStringList& names = LanguageNames();
    for (int setting = 0; setting < names.size(); ++setting) {
        if (names[setting].compare(name, Qt::CaseInsensitive) != 0)
            continue;
        TAppLang lang(SystemLanguageIdFromLocale(QLocale::system().name()));
        ApplyLanguageSetting(lang, setting);
        return lang;
    }
    return std::nullopt;
}

Result<TAppLang> LanguageOption(const QString& name, bool given)
{
    if (auto lang = LanguageNamed(given ? name : LanguageNames().constFirst()))
        return *lang;
    return Error{QStringLiteral("--language must be %1 or %2, not '%3'")
                     .arg(LanguageNames().mid(0, 2).join(QStringLiteral(", ")), LanguageNames().constLast(), name)};
}

}   // namespace k3n::cli
