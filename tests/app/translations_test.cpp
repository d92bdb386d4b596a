// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/commandlineinfo.h"
#include "app/translations.h"
#include "model/panelsettings.h"
#include "model/todostore.h"
#include "model/undohistory.h"
#include "views/addarea/emptystaterow.h"
#include "views/header/panelheader.h"
#include "views/kit/glyphbutton.h"
#include "views/panel/contentview.h"
#include "views/panel/panelactions.h"
#include "views/panel/panelmenu.h"

#include <QAction>
#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TranslationsTest final : public QObject
{
    Q_OBJECT

private slots:
    void firstLanguageSpoken_translatesPanelMenuAndCommandLine();
};

void TranslationsTest::firstLanguageSpoken_translatesPanelMenuAndCommandLine()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QSettings defaults(folder.filePath(u"preferences.ini"_s), QSettings::IniFormat);
    PanelSettings settings(&defaults);
    TodoStore store(std::nullopt);
    UndoHistory history;
    // What a user reads on a fresh panel, in its menu and in the first line of the help.
    const auto shownTexts = [&] {
        const ContentView content(
            &store, &history, &settings, [](QPointF) {}, [] {}, [](QSizeF) {});
        QWidget window;
        PanelActions actions(&window);
        actions.showTitle(content.header()->shownTitle());
        const PanelMenu menu(actions);
        QStringList texts { content.header()->shownTitle(), content.header()->addButton()->toolTip(),
            content.findChild<EmptyStateRow *>()->findChild<QLabel *>()->text() };
        for (const QAction *item : menu.actions())
            if (!item->isSeparator() && item->isVisible())
                texts << item->text() << item->shortcut().toString(QKeySequence::NativeText);
        return texts << CommandLineInfo::helpText().section(u'\n', 0, 0);
    };
    const QStringList english
        = { u"Today's Goals"_s, u"Add goal"_s, u"Add today's first goal"_s, u"Undo"_s, u"Ctrl+Z"_s, u"Redo"_s,
              u"Ctrl+Shift+Z"_s, u"New Goal"_s, u"Ctrl+N"_s, u"Rename \u201CToday's Goals\u201D\u2026"_s, QString(),
              u"Remove Done Goals"_s, QString(), u"Clear Done Goals Each Day"_s, QString(), u"Open at Login"_s,
              QString(), u"New Goal Shortcut\u2026\tOff"_s, QString(), u"Sync with a Calendar Server\u2026"_s,
              QString(), u"Quit Mirel"_s, u"Ctrl+Q"_s, u"Usage: mirel [SWITCH ...]"_s };
    {
        // English first: German, though available, is not used.
        const Translations preferEnglish({ u"en-GB"_s, u"de-DE"_s });
        QCOMPARE(preferEnglish.language(), QString());
        QCOMPARE(shownTexts(), english);
    }
    {
        const Translations german({ u"fr-FR"_s, u"de-AT"_s, u"en-US"_s });
        QCOMPARE(german.language(), u"de"_s);
        QCOMPARE(shownTexts(),
            (QStringList { u"Heutige Ziele"_s, u"Ziel hinzufügen"_s, u"Erstes Ziel für heute hinzufügen"_s,
                u"Rückgängig"_s, u"Strg+Z"_s, u"Wiederholen"_s, u"Strg+Umschalt+Z"_s, u"Neues Ziel"_s, u"Strg+N"_s,
                u"\u201EHeutige Ziele\u201C umbenennen\u2026"_s, QString(), u"Erledigte Ziele entfernen"_s, QString(),
                u"Erledigte Ziele jeden Tag entfernen"_s, QString(), u"Beim Anmelden öffnen"_s, QString(),
                u"Tastenkürzel für neue Ziele\u2026\tAus"_s, QString(), u"Mit einem Kalenderserver abgleichen \u2026"_s,
                QString(), u"Mirel beenden"_s, u"Strg+Q"_s, u"Aufruf: mirel [SCHALTER ...]"_s }));
    }
    // The default title was only shown, never stored, so it follows the language.
    QVERIFY(!defaults.contains(u"title"_s));
    QCOMPARE(shownTexts(), english);
}

QTEST_MAIN(TranslationsTest)
#include "translations_test.moc"
