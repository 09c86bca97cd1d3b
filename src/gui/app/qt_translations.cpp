// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_translations.h"
#include "text/app_lang.h"
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace k3n {

bool InstallQtTranslations(uint8_t langType)
{
    static std::unique_ptr<QTranslator> installed;
    if (installed) {
        QCoreApplication::removeTranslator(installed.get());
        installed.reset();
    }
    const char* locale = langType == kLangSimplified ? "zh_CN" : langType == kLangTraditional ? "zh_TW" : nullptr;
    if (!locale)
        return true;   // Qt's texts are English already
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_") + QLatin1String(locale),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.get());
    installed = std::move(translator);
    return true;
}

}   // namespace k3n
