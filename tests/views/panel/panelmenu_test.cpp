// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/appdelegate.h"
#include "app/openatlogin.h"
#include "app/panel/keyablepanel.h"
#include "model/goalsteps.h"
#include "model/panelsettings.h"
#include "model/todostore.h"
#include "model/undohistory.h"
#include "views/addarea/addarea.h"
#include "views/panel/contentview.h"
#include "views/panel/panelactions.h"
#include "views/panel/panelmenu.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QPalette>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStyle>
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
// Where a menu item's check box stands, before its text.
constexpr int CheckColumnWidth = 26;

} // namespace

class PanelMenuTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void items_showTextsVerbatimAndUndoOnlyWhatThereIs();
    void secondaryClick_opensMenuFromCurrentState();
    void undoKeys_undoTheListButLeaveAnOpenFieldItsOwnTyping();
    void loginCheckBox_standsOutInLightAndDarkThemes_data();
    void loginCheckBox_standsOutInLightAndDarkThemes();

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

void PanelMenuTest::items_showTextsVerbatimAndUndoOnlyWhatThereIs()
{
    QWidget window;
    PanelActions actions(&window);
    const PanelMenu menu(actions);
    QVERIFY(!item(menu, u"Undo"_s)->isEnabled());
    QVERIFY(!item(menu, u"Redo"_s)->isEnabled());

    // QMenu draws "&&" as one ampersand and would take a single "&" as a mnemonic marker.
    actions.showTitle(u"\u201CBig\u201D \"day\"\u2026... R&D && ops&"_s);
    QVERIFY(item(menu, u"Rename \u201C\u201CBig\u201D \"day\"\u2026... R&&D &&&& ops&&\u201D\u2026"_s));
    actions.showHistory(u"Delete \u201CR&D\u201D"_s, QString());
    QVERIFY(item(menu, u"Undo Delete \u201CR&&D\u201D"_s)->isEnabled());
    QVERIFY(!item(menu, u"Redo"_s)->isEnabled());
}

void PanelMenuTest::secondaryClick_opensMenuFromCurrentState()
{
    QSettings defaults(m_home.filePath(u"preferences.ini"_s), QSettings::IniFormat);
    PanelSettings settings(&defaults);
    TodoStore store(std::nullopt);
    store.addLines(u"Milk\nBread"_s);
    const QUuid milk = store.todos().at(0).id;
    UndoHistory history;
    // A step made before there is a panel, as the day's clearing at start is, can be undone by its keys.
    history.perform(std::make_unique<SetGoalCompleted>(&store, milk));
    KeyablePanel panel(true);
    auto *content = new ContentView(
        &store, &history, &settings, [](QPointF) {}, [] {}, [](QSizeF) {});
    AppDelegate delegate;
    delegate.connectPanel(&panel, content);
    QVERIFY(delegate.actions()->undo()->isEnabled());
    // Renamed by another program: the menu names the goal as it reads now.
    store.updateText(milk, u"Oat milk"_s);
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
    QVERIFY(item(*menu, u"Undo Mark \u201COat milk\u201D as Done"_s));
    QVERIFY(item(*menu, u"Rename \u201CToday's Goals\u201D\u2026"_s));
    QVERIFY(!item(*menu, LoginItem)->isChecked());
    // Switching the login item on writes the entry; the next menu reads it back from disk.
    item(*menu, LoginItem)->trigger();
    item(*menu, u"Remove Done Goals"_s)->trigger();
    menu->close();
    QVERIFY(OpenAtLogin::forThisProgram().openAtLoginEnabled());
    QCOMPARE(store.todos().size(), 1);

    defaults.setValue(u"title"_s, u"Work"_s);
    menu = openMenu();
    QVERIFY(menu);
    QVERIFY(item(*menu, u"Rename \u201CWork\u201D\u2026"_s));
    QVERIFY(item(*menu, LoginItem)->isChecked());
    QVERIFY(!item(*menu, u"Remove Done Goals"_s)->isEnabled());
    item(*menu, u"Undo Remove Done Goals"_s)->trigger();
    menu->close();
    QCOMPARE(store.todos().size(), 2);
    QVERIFY(store.todos().at(0).completed);
}

void PanelMenuTest::undoKeys_undoTheListButLeaveAnOpenFieldItsOwnTyping()
{
    QSettings defaults(m_home.filePath(u"keys.ini"_s), QSettings::IniFormat);
    PanelSettings settings(&defaults);
    TodoStore store(std::nullopt);
    UndoHistory history;
    KeyablePanel panel(true);
    auto *content = new ContentView(
        &store, &history, &settings, [](QPointF) {}, [] {}, [](QSizeF) {});
    AppDelegate delegate;
    delegate.connectPanel(&panel, content);
    panel.setContentView(content);
    panel.show();
    panel.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&panel));

    content->beginAdding();
    QLineEdit *field = content->addArea()->newGoalField();
    field->setFocus();
    QTest::keyClicks(field, u"Milk"_s);
    QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClicks(field, u"Bread"_s);
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(field->text(), QString());
    QCOMPARE(store.todos().size(), 1);

    QTest::keyClick(field, Qt::Key_Escape);
    QTest::keyClick(content, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(store.todos().isEmpty());
    QTest::keyClick(content, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(store.todos().size(), 1);
    QTest::keyClick(content, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(content, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(store.todos().at(0).text, u"Milk"_s);
}

void PanelMenuTest::loginCheckBox_standsOutInLightAndDarkThemes_data()
{
    QTest::addColumn<QPalette>("palette");
    QTest::addColumn<bool>("checked");
    // A dark theme's colours as the desktop hands them to Qt: dark window and base, light text.
    QPalette dark(QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::Base, QColor(0x2d, 0x2d, 0x2d));
    for (const QPalette::ColorRole role : { QPalette::Text, QPalette::WindowText, QPalette::ButtonText })
        dark.setColor(role, QColor(0xee, 0xee, 0xee));
    QTest::newRow("light, off") << QApplication::style()->standardPalette() << false;
    QTest::newRow("light, on") << QApplication::style()->standardPalette() << true;
    QTest::newRow("dark, off") << dark << false;
    QTest::newRow("dark, on") << dark << true;
}

void PanelMenuTest::loginCheckBox_standsOutInLightAndDarkThemes()
{
    QFETCH(QPalette, palette);
    QFETCH(bool, checked);
    QWidget window;
    PanelActions actions(&window);
    actions.openAtLogin()->setChecked(checked);
    PanelMenu menu(actions);
    menu.setPalette(palette);
    menu.resize(menu.sizeHint());
    const QImage image = menu.grab().toImage();
    const QRect row = menu.actionGeometry(item(menu, LoginItem));
    const QColor background = image.pixelColor(row.right() - 4, row.center().y());
    // The box lies left of the item's text; enough of it must stand out from the menu, as text does.
    int inked = 0;
    for (int x = row.left(); x < row.left() + CheckColumnWidth; ++x) {
        for (int y = row.top(); y <= row.bottom(); ++y)
            inked += qAbs(image.pixelColor(x, y).lightnessF() - background.lightnessF()) > 0.3;
    }
    QVERIFY2(inked >= 50, qPrintable(u"%1 contrasting pixels"_s.arg(inked)));
}

QTEST_MAIN(PanelMenuTest)
#include "panelmenu_test.moc"
