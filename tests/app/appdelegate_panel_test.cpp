// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/appdelegate.h"
#include "app/panel/keyablepanel.h"
#include "model/todostore.h"
#include "views/panel/contentview.h"

#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace
{

// The four frame keys as other versions of the program write them.
void writeFrameKeys(QSettings &defaults, const QRectF &stored)
{
    defaults.setValue(QStringLiteral("panelX"), stored.x());
    defaults.setValue(QStringLiteral("panelY"), stored.y());
    defaults.setValue(QStringLiteral("panelW"), stored.width());
    defaults.setValue(QStringLiteral("panelH"), stored.height());
}

QRectF frameKeys(const QSettings &defaults)
{
    return { defaults.value(QStringLiteral("panelX")).toDouble(), defaults.value(QStringLiteral("panelY")).toDouble(),
        defaults.value(QStringLiteral("panelW")).toDouble(), defaults.value(QStringLiteral("panelH")).toDouble() };
}

} // namespace

// The delegate's placement on one fixed 1440 × 900 offscreen screen, in the stored convention: a Qt top
// edge of t for a panel of height h is a stored y of 900 - t - h.
class AppDelegatePanelTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void activatedPanel_aTypedSpaceChangesNothing();
    void savedFrame_opensReachable_data();
    void savedFrame_opensReachable();

private:
    QTemporaryDir m_config;
};

void AppDelegatePanelTest::initTestCase()
{
    QVERIFY(m_config.isValid());
    // QSettings finds its files through this variable; no test touches the user's own preferences.
    qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    if (QGuiApplication::primaryScreen()->geometry() != QRect(0, 0, 1440, 900))
        QSKIP("needs the 1440 x 900 offscreen screen configuration");
}

void AppDelegatePanelTest::activatedPanel_aTypedSpaceChangesNothing()
{
    LaunchOptions options;
    options.uiTesting = true;
    options.uiTestGoals = QStringLiteral("First\nSecond");
    AppDelegate delegate;
    delegate.applicationDidFinishLaunching(options);
    QWidget *panel = delegate.panel();
    panel->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(panel));

    // Keys go to whatever the panel focused on activation; none of them may reach a button that shows no
    // focus ring, neither a goal's checkbox nor the add button.
    QWidget *focused = QApplication::focusWidget();
    QTest::keyClick(focused ? focused : panel, Qt::Key_Space);
    for (const TodoItem &todo : delegate.todoStore()->todos())
        QVERIFY2(!todo.completed, qPrintable(todo.text));
    QVERIFY(!panel->findChild<ContentView *>()->isAddingNew());
}

void AppDelegatePanelTest::savedFrame_opensReachable_data()
{
    QTest::addColumn<QRectF>("saved");
    QTest::addColumn<QRect>("expected");
    QTest::addColumn<QRectF>("stored");

    // The empty panel is 70 high; the width stays within 260 to 520.
    QTest::newRow("on the screen stays") << QRectF(500, 300, 300, 70) << QRect(500, 530, 300, 70)
                                         << QRectF(500, 300, 300, 70);
    // Saved on a taller monitor, reaching 300 points above this one: keeping the top edge of the shorter
    // panel alone would leave it wholly above the screen.
    QTest::newRow("partly above, content shorter")
        << QRectF(100, 800, 300, 400) << QRect(100, 12, 300, 70) << QRectF(100, 818, 300, 70);
    QTest::newRow("off every screen, no size")
        << QRectF(-5000, 0, 0, 0) << QRect(12, 818, 260, 70) << QRectF(12, 12, 260, 70);
}

// Brought back as a snap would place it, and saved there, so that the next start finds it in place.
void AppDelegatePanelTest::savedFrame_opensReachable()
{
    QFETCH(QRectF, saved);
    QFETCH(QRect, expected);
    QFETCH(QRectF, stored);
    QFile::remove(
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Mirel/todos.json"));
    {
        QSettings defaults;
        writeFrameKeys(defaults, saved);
    }
    AppDelegate delegate;
    delegate.applicationDidFinishLaunching(LaunchOptions());
    QTRY_COMPARE(delegate.panel()->geometry(), expected);
    QTest::qWait(20);
    QCOMPARE(delegate.panel()->geometry(), expected);
    QTRY_COMPARE(frameKeys(*delegate.defaults()), stored);
}

QTEST_MAIN(AppDelegatePanelTest)
#include "appdelegate_panel_test.moc"
