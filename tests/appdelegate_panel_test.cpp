#include "app/appdelegate.h"
#include "app/keyablepanel.h"
#include "app/screenshotbackdrop.h"
#include "model/todostore.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

LaunchOptions uiTesting(bool screenshot = false)
{
    LaunchOptions options;
    options.uiTesting = true;
    options.screenshotBackdrop = screenshot;
    return options;
}

QRectF stored(const QWidget *panel)
{
    const QRect g = panel->geometry();
    return QRectF(g.x(), 900 - g.y() - g.height(), g.width(), g.height());
}

} // namespace

// The delegate's placement on one fixed 1440 × 900 offscreen screen, in the stored convention: a Qt top
// edge of t for a panel of height h is a stored y of 900 - t - h.
class AppDelegatePanelTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void firstStart_opensBottomRightAndResizesFromTheTop_savingNothing();
    void screenshotMode_centresOverTheBackdrop();
    void headerDrag_movesWithThePointer_thenSaves_data();
    void headerDrag_movesWithThePointer_thenSaves();
    void savedFrame_isRestored();
    void activatedPanel_typingTicksNoGoal();

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

void AppDelegatePanelTest::firstStart_opensBottomRightAndResizesFromTheTop_savingNothing()
{
    AppDelegate delegate;
    delegate.applicationDidFinishLaunching(uiTesting());
    QCOMPARE(delegate.initialPanelFrame(false), QRectF(1128, 12, 300, 400));
    QVERIFY(delegate.panel()->isVisible());
    QCOMPARE(delegate.panel()->geometry().topLeft(), QPoint(1128, 488));
    QVERIFY(!delegate.backdrop());
    QTest::qWait(20);
    const QRect before = delegate.panel()->geometry();

    // The content measures its height alone, so a window of the content's width but another height stays so.
    delegate.resizePanel(QSizeF(before.width(), 200));
    QCOMPARE(delegate.panel()->geometry(), before);
    QTRY_COMPARE(delegate.panel()->geometry(), QRect(before.x(), before.y(), before.width(), 200));
    QVERIFY(!delegate.defaults()->contains(QStringLiteral("panelX")));
    QVERIFY(!delegate.defaults()->contains(QStringLiteral("panelW")));
}

void AppDelegatePanelTest::screenshotMode_centresOverTheBackdrop()
{
    AppDelegate delegate;
    delegate.applicationDidFinishLaunching(uiTesting(true));
    QVERIFY(delegate.backdrop());
    QCOMPARE(delegate.backdrop()->geometry(), QRect(0, 0, 1440, 900));
    QVERIFY(delegate.backdrop()->windowFlags() & Qt::WindowTransparentForInput);
    QCOMPARE(delegate.panel()->geometry().topLeft(), QPoint(570, 150));
}

void AppDelegatePanelTest::headerDrag_movesWithThePointer_thenSaves_data()
{
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("down");
    QTest::addColumn<int>("snappedLeft");
    QTest::newRow("near the left edge: snaps, then saves") << 15 << 200 << 12;
    QTest::newRow("far from the edges: saves at once") << 628 << -200 << 628;
}

void AppDelegatePanelTest::headerDrag_movesWithThePointer_thenSaves()
{
    QFETCH(int, left);
    QFETCH(int, down);
    QFETCH(int, snappedLeft);
    AppDelegate delegate;
    delegate.applicationDidFinishLaunching(uiTesting());
    QTest::qWait(20);
    KeyablePanel *panel = delegate.panel();
    const QRect start = panel->geometry();

    QCursor::setPos(1200, 600);
    delegate.panelDragChanged();
    QCOMPARE(panel->geometry(), start);
    QCursor::setPos(1200 - (start.x() - left), 600 + down);
    delegate.panelDragChanged();
    QCOMPARE(panel->geometry().topLeft(), QPoint(left, start.y() + down));
    delegate.panelDragEnded();

    if (snappedLeft != left) {
        // The snap runs over a quarter second and saves the frame it reached.
        QVERIFY(!delegate.defaults()->contains(QStringLiteral("panelX")));
        QElapsedTimer timer;
        timer.start();
        QTRY_COMPARE(delegate.defaults()->value(QStringLiteral("panelX")).toDouble(), double(snappedLeft));
        QVERIFY(timer.elapsed() >= 200);
    }
    QCOMPARE(panel->geometry().x(), snappedLeft);
    QCOMPARE(PanelGeometry::savedPanelFrame(*delegate.defaults()), std::optional<QRectF>(stored(panel)));
}

void AppDelegatePanelTest::savedFrame_isRestored()
{
    // A UI-testing start empties the suite, so the frame is written after the start.
    AppDelegate delegate;
    delegate.applicationDidFinishLaunching(uiTesting());
    PanelGeometry::savePanelFrame(*delegate.defaults(), QRectF(200, 300, 340, 150));
    QCOMPARE(delegate.initialPanelFrame(false), QRectF(200, 300, 340, 150));
    QCOMPARE(delegate.initialPanelFrame(true), QRectF(570, 350, 340, 150));
    PanelGeometry::savePanelFrame(*delegate.defaults(), QRectF(9000, 300, 340, 150));
    QCOMPARE(delegate.initialPanelFrame(false), QRectF(1088, 300, 340, 150));
}

void AppDelegatePanelTest::activatedPanel_typingTicksNoGoal()
{
    LaunchOptions options = uiTesting();
    options.uiTestGoals = QStringLiteral("First\nSecond");
    AppDelegate delegate;
    delegate.applicationDidFinishLaunching(options);
    QWidget *panel = delegate.panel();
    panel->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(panel));

    // Keys go to whatever the panel focused on activation; none of them may reach a checkbox.
    QWidget *focused = QApplication::focusWidget();
    QTest::keyClick(focused ? focused : panel, Qt::Key_Space);
    for (const TodoItem &todo : delegate.todoStore()->todos())
        QVERIFY2(!todo.completed, qPrintable(todo.text));
}

QTEST_MAIN(AppDelegatePanelTest)
#include "appdelegate_panel_test.moc"
