// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/newgoalshortcut.h"
#include "model/panelsettings.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class NewGoalShortcutTest final : public QObject
{
    Q_OBJECT

private slots:
    void desktopForms_data();
    void desktopForms();
    void unusableText_readsAsNothing_data();
    void unusableText_readsAsNothing();
    void plainTyping_isNeverAShortcut();
    void storedPreference_fallsBackToTheStandardOneButKeepsOff();
};

void NewGoalShortcutTest::desktopForms_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("gnome");
    QTest::addColumn<QString>("portal");
    QTest::addColumn<QString>("sway");
    QTest::newRow("standard") << QStringLiteral("Ctrl+Alt+G") << QStringLiteral("<Control><Alt>g")
                              << QStringLiteral("CTRL+ALT+G") << QStringLiteral("Ctrl+Mod1+g");
    QTest::newRow("super and shift") << QStringLiteral("Shift+Super+7") << QStringLiteral("<Shift><Super>7")
                                     << QStringLiteral("SHIFT+LOGO+7") << QStringLiteral("Shift+Mod4+7");
    QTest::newRow("function key") << QStringLiteral("Alt+F12") << QStringLiteral("<Alt>F12")
                                  << QStringLiteral("ALT+F12") << QStringLiteral("Mod1+F12");
    QTest::newRow("space") << QStringLiteral("Ctrl+Space") << QStringLiteral("<Control>space")
                           << QStringLiteral("CTRL+space") << QStringLiteral("Ctrl+space");
}

void NewGoalShortcutTest::desktopForms()
{
    QFETCH(QString, text);
    const std::optional<NewGoalShortcut> shortcut = NewGoalShortcut::fromText(text);
    QVERIFY(shortcut);
    QCOMPARE(shortcut->text(), text);
    QTEST(shortcut->gnomeBinding(), "gnome");
    QTEST(shortcut->portalTrigger(), "portal");
    QTEST(shortcut->swayCombination(), "sway");
}

void NewGoalShortcutTest::unusableText_readsAsNothing_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QStringLiteral("");
    QTest::newRow("no modifier") << QStringLiteral("G");
    QTest::newRow("shift alone") << QStringLiteral("Shift+G");
    QTest::newRow("lower case key") << QStringLiteral("Ctrl+g");
    QTest::newRow("unknown modifier") << QStringLiteral("Hyper+G");
    QTest::newRow("modifier twice") << QStringLiteral("Ctrl+Ctrl+G");
    QTest::newRow("no key") << QStringLiteral("Ctrl+Alt+");
    QTest::newRow("function key beyond F12") << QStringLiteral("Ctrl+F13");
    QTest::newRow("padded function key") << QStringLiteral("Ctrl+F05");
    QTest::newRow("two keys") << QStringLiteral("Ctrl+G+H");
}

void NewGoalShortcutTest::unusableText_readsAsNothing()
{
    QFETCH(QString, text);
    QVERIFY(!NewGoalShortcut::fromText(text));
}

void NewGoalShortcutTest::plainTyping_isNeverAShortcut()
{
    QVERIFY(!NewGoalShortcut::fromKey(Qt::ShiftModifier, Qt::Key_G));
    QVERIFY(!NewGoalShortcut::fromKey(Qt::ControlModifier | Qt::AltModifier, Qt::Key_Alt));
    QVERIFY(!NewGoalShortcut::fromKey(Qt::ControlModifier, Qt::Key_Return));
    // The keypad's digits are the digits.
    QCOMPARE(NewGoalShortcut::fromKey(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_5)->text(),
        QStringLiteral("Ctrl+5"));
}

void NewGoalShortcutTest::storedPreference_fallsBackToTheStandardOneButKeepsOff()
{
    QTemporaryDir folder;
    QSettings file(folder.filePath(QStringLiteral("mirel.conf")), QSettings::IniFormat);
    PanelSettings settings(&file);
    QCOMPARE(settings.newGoalShortcut(), NewGoalShortcut::standard());
    settings.setNewGoalShortcut(NewGoalShortcut::fromText(u"Alt+Super+N"));
    QCOMPARE(PanelSettings(&file).newGoalShortcut()->text(), QStringLiteral("Alt+Super+N"));
    settings.setNewGoalShortcut(std::nullopt);
    QVERIFY(!PanelSettings(&file).newGoalShortcut());
    for (const QVariant &damaged : { QVariant(QStringLiteral("Ctrl+")), QVariant(42),
             QVariant(QStringList { QStringLiteral("a"), QStringLiteral("b") }) }) {
        file.setValue(QStringLiteral("newGoalShortcut"), damaged);
        QCOMPARE(settings.newGoalShortcut(), NewGoalShortcut::standard());
    }
}

QTEST_GUILESS_MAIN(NewGoalShortcutTest)
#include "newgoalshortcut_test.moc"
