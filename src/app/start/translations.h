// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLocale>
#include <QStringList>
#include <QTranslator>

// Mirel's own translation and Qt's (for the names of keys in the menu), for the first of the user's languages
// that Mirel speaks, installed on the application object for as long as this object lives. Where English comes
// first in the list nothing is installed: the texts in the program are English.
class Translations final
{
    Q_DISABLE_COPY_MOVE(Translations)

public:
    // uiLanguages: most preferred first, as QLocale::uiLanguages() gives them.
    explicit Translations(const QStringList &uiLanguages);

    // The language installed ("de"), or empty while the texts stay English.
    QString language() const { return m_language; }

private:
    QTranslator m_own;
    QTranslator m_qt;
    QString m_language;
};

// An application object of type App that speaks the user's language for as long as it lives: the pair every
// run of the program starts with, whatever it needs of a display.
template<typename App> class TranslatedApplication final
{
    Q_DISABLE_COPY_MOVE(TranslatedApplication)

public:
    TranslatedApplication(int &argc, char **argv)
        : m_app(argc, argv)
    {
    }

private:
    App m_app;
    // After the application object, which it installs itself on.
    const Translations m_translations { QLocale().uiLanguages() };
};
