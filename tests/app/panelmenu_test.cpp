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
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

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
    const PanelMenu menu(u"\u201CBig\u201D \"day\"\u2026... R&D && ops&"_s, true);
    QSignalSpy renames(&menu, &PanelMenu::renameRequested);
    QSignalSpy loginChanges(&menu, &PanelMenu::openAtLoginToggled);
    QSignalSpy quits(&menu, &PanelMenu::quitRequested);

    // QMenu draws "&&" as one ampersand and would take a single "&" as a mnemonic marker.
    QVERIFY(item(menu, u"Rename \u201C\u201CBig\u201D \"day\"\u2026... R&&D &&&& ops&&\u201D\u2026"_s));
    QVERIFY(item(menu, LoginItem)->isChecked());
    for (QAction *action : menu.actions())
        action->trigger();
    QCOMPARE(renames.size(), 1);
    QCOMPARE(loginChanges, QList<QVariantList> { { false } });
    QCOMPARE(quits.size(), 1);
}

void PanelMenuTest::secondaryClick_opensMenuFromCurrentState()
{
    QSettings defaults(m_home.filePath(u"preferences.ini"_s), QSettings::IniFormat);
    TodoStore store(std::nullopt);
    KeyablePanel panel(true);
    auto *content = new ContentView(
        &store, &defaults, [](QPointF) {}, [] {}, [](QSizeF) {});
    AppDelegate delegate;
    delegate.connectPanel(&panel, content);
    panel.setContentView(content);
    panel.setGeometry(100, 100, 300, 200);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));

    const auto openMenu = [&]() -> PanelMenu * {
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(20, 20), content->mapToGlobal(QPoint(20, 20)));
        QApplication::sendEvent(content, &click);
        return qobject_cast<PanelMenu *>(QApplication::activePopupWidget());
    };

    PanelMenu *menu = openMenu();
    QVERIFY(menu);
    QVERIFY(item(*menu, u"Rename \u201CToday's Goals\u201D\u2026"_s));
    QVERIFY(!item(*menu, LoginItem)->isChecked());
    // Switching the login item on writes the entry; the next menu reads it back from disk.
    item(*menu, LoginItem)->trigger();
    menu->close();
    QVERIFY(OpenAtLogin::forThisProgram().openAtLoginEnabled());

    defaults.setValue(u"title"_s, u"Work"_s);
    menu = openMenu();
    QVERIFY(menu);
    QVERIFY(item(*menu, u"Rename \u201CWork\u201D\u2026"_s));
    QVERIFY(item(*menu, LoginItem)->isChecked());
}

QTEST_MAIN(PanelMenuTest)
#include "panelmenu_test.moc"
