#include "app/appdelegate.h"
#include "app/openatlogin.h"
#include "app/panel/keyablepanel.h"
#include "model/todostore.h"
#include "views/contentview.h"
#include "views/panelmenu.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
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
    void items_showTitleVerbatimAndCallTheirActions();
    void secondaryClick_opensMenuFromCurrentState();
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
    PanelMenu menu(u"Today's Goals"_s, checked);
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
