// SPDX-License-Identifier: GPL-3.0-or-later

#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace
{

// Embedded in the program; see translations/.
constexpr QLatin1StringView OwnTranslationsFolder(":/i18n");

} // namespace

Translations::Translations(const QStringList &uiLanguages)
{
    for (const QString &name : uiLanguages) {
        const QLocale locale(name);
        // QTranslator::load alone would skip over a preferred English to the next language it has a file for.
        if (locale.language() == QLocale::English || locale.language() == QLocale::C)
            return;
        if (!m_own.load(locale, QStringLiteral("mirel"), QStringLiteral("_"), OwnTranslationsFolder))
            continue;
        QCoreApplication::installTranslator(&m_own);
        if (m_qt.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(&m_qt);
        m_language = m_own.language();
        return;
    }
}
