#include "app/appdelegate.h"
#include "app/openatlogin.h"
#include "app/panel/keyablepanel.h"
#include "model/todostore.h"
#include "views/contentview.h"
#include "views/panelmenu.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

// The menu as it reads, top to bottom.
QStringList itemTexts(const QMenu &menu)
{
    QStringList texts;
    for (const QAction *item : menu.actions())
        if (!item->isSeparator())
            texts.append(item->text());
    return texts;
}

QAction *item(const QMenu &menu, const QString &text)
{
    for (QAction *action : menu.actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

const QString LoginItem = u"Open at Login"_s;

} // namespace

class PanelMenuTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void items_showTitleVerbatimAndCallTheirActions();
    void secondaryClick_opensMenuFromCurrentState();

private:
    QTemporaryDir m_home;
};

void PanelMenuTest::initTestCase()
{
    // The login entry goes under the home folder; keep it in a folder of the test's own.
    QVERIFY(m_home.isValid());
    qputenv("HOME", QFile::encodeName(m_home.path()));
    QStandardPaths::setTestModeEnabled(true);
}

void PanelMenuTest::items_showTitleVerbatimAndCallTheirActions()
{
    // Plain titles and the unchecked login item are read back from the live panel below.
    const QString title = u"\u201CBig\u201D \"day\"\u2026... R&D && ops&"_s;
    int renames = 0;
    QList<bool> loginChanges;
    int quits = 0;
    const PanelMenu menu(title, true);
    QObject::connect(&menu, &PanelMenu::renameRequested, [&] { ++renames; });
    QObject::connect(&menu, &PanelMenu::openAtLoginToggled, [&](bool on) { loginChanges.append(on); });
    QObject::connect(&menu, &PanelMenu::quitRequested, [&] { ++quits; });

    // QMenu draws "&&" as one ampersand and would take a single "&" as a mnemonic marker.
    QCOMPARE(itemTexts(menu),
        (QStringList { u"Rename \u201C\u201CBig\u201D \"day\"\u2026... R&&D &&&& ops&&\u201D\u2026"_s, LoginItem,
            u"Quit Mirel"_s }));
    QVERIFY(item(menu, LoginItem)->isChecked());
    QCOMPARE(item(menu, u"Quit Mirel"_s)->shortcut(), QKeySequence(u"Ctrl+Q"_s));
    for (QAction *action : menu.actions())
        action->trigger();
    QCOMPARE(renames, 1);
    QCOMPARE(loginChanges, QList<bool> { false });
    QCOMPARE(quits, 1);
}

void PanelMenuTest::secondaryClick_opensMenuFromCurrentState()
{
    QSettings defaults(m_home.filePath(u"preferences.ini"_s), QSettings::IniFormat);
    TodoStore store(std::nullopt);
    KeyablePanel panel(true);
    auto *view = new ContentView(
        &store, &defaults, [] {}, [] {}, [](QSizeF) {});
    ContentView &content = *view;
    AppDelegate delegate;
    delegate.connectPanel(&panel, view);
    panel.setContentView(view);
    panel.setGeometry(100, 100, 300, 200);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));

    const auto openMenu = [&]() -> PanelMenu * {
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(20, 20), content.mapToGlobal(QPoint(20, 20)));
        QApplication::sendEvent(&content, &click);
        return qobject_cast<PanelMenu *>(QApplication::activePopupWidget());
    };

    PanelMenu *menu = openMenu();
    QVERIFY(menu);
    QCOMPARE(itemTexts(*menu).constFirst(), u"Rename \u201CToday's Goals\u201D\u2026"_s);
    QVERIFY(!item(*menu, LoginItem)->isChecked());
    // Switching the login item on writes the entry; the next menu reads it back from disk.
    item(*menu, LoginItem)->trigger();
    menu->close();
    const OpenAtLogin login = OpenAtLogin::forThisProgram();
    QVERIFY(login.openAtLoginEnabled());

    defaults.setValue(u"title"_s, u"Work"_s);
    menu = openMenu();
    QVERIFY(menu);
    QCOMPARE(itemTexts(*menu).constFirst(), u"Rename \u201CWork\u201D\u2026"_s);
    QVERIFY(item(*menu, LoginItem)->isChecked());
    item(*menu, u"Rename \u201CWork\u201D\u2026"_s)->trigger();
    menu->close();
    QVERIFY(content.isRenaming());
}

QTEST_MAIN(PanelMenuTest)
#include "panelmenu_test.moc"
