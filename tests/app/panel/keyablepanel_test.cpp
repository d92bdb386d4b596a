// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/panel/keyablepanel.h"
#include "app/panel/panelresizegrip.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

namespace
{

// A translucent panel at (100, 100, 300, 400) whose content stands in for the real one with a rounded shape.
// The opaque panel's shape and the content's width limits are checked on the real window end to end.
struct Panel {
    KeyablePanel panel { true };
    QWidget *content = new QWidget;
    QSignalSpy started { &panel, &KeyablePanel::liveResizeStarted };
    QSignalSpy ended { &panel, &KeyablePanel::liveResizeEnded };

    Panel()
    {
        panel.setContentView(content);
        panel.setGeometry(100, 100, 300, 400);
        QPainterPath shape;
        shape.addRoundedRect(QRectF(content->rect()), 18, 18);
        panel.setContentShape(shape);
        panel.show();
    }

    PanelResizeGrip *grip(Qt::Edges edges) const
    {
        for (auto *grip : panel.findChildren<PanelResizeGrip *>())
            if (grip->edges() == edges)
                return grip;
        return nullptr;
    }
};

void sendMouse(
    QWidget *widget, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, const QPoint &globalPosition)
{
    QMouseEvent event(
        type, QPointF(widget->mapFromGlobal(globalPosition)), QPointF(globalPosition), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class KeyablePanelTest final : public QObject
{
    Q_OBJECT

private slots:
    void resizedByEdges_data();
    void resizedByEdges();
    void borderDrag_resizesAndReportsOneStartAndEnd();
};

void KeyablePanelTest::resizedByEdges_data()
{
    QTest::addColumn<int>("edges");
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<QRect>("expected");

    const int left = Qt::LeftEdge;
    const int right = Qt::RightEdge;
    const int top = Qt::TopEdge;
    const int bottom = Qt::BottomEdge;
    // From (100, 100, 300, 400), at least 260 × 50 and at most 520 wide.
    QTest::newRow("top-left corner") << (top | left) << QPoint(-20, 30) << QRect(80, 130, 320, 370);
    QTest::newRow("bottom-right corner") << (bottom | right) << QPoint(20, 30) << QRect(100, 100, 320, 430);
    QTest::newRow("left edge past the minimum keeps the right edge")
        << left << QPoint(200, 0) << QRect(140, 100, 260, 400);
    QTest::newRow("top edge past the minimum keeps the bottom edge")
        << top << QPoint(0, 500) << QRect(100, 450, 300, 50);
}

void KeyablePanelTest::resizedByEdges()
{
    QFETCH(int, edges);
    QFETCH(QPoint, delta);
    QFETCH(QRect, expected);
    QCOMPARE(::resizedByEdges(QRect(100, 100, 300, 400), Qt::Edges(edges), delta, QSize(260, 50), QSize(520, 5000)),
        expected);
}

void KeyablePanelTest::borderDrag_resizesAndReportsOneStartAndEnd()
{
    Panel p;
    QVERIFY(QTest::qWaitForWindowExposed(&p.panel));
    PanelResizeGrip *handle = p.grip(Qt::RightEdge);
    QVERIFY(handle);
    const QPoint press = handle->mapToGlobal(handle->rect().center());
    const QPoint delta(30, 0);
    const auto drag = [&](Qt::MouseButton button) {
        sendMouse(handle, QEvent::MouseButtonPress, button, button, press);
        // Two steps, each measured from the press: the second one decides.
        sendMouse(handle, QEvent::MouseMove, Qt::NoButton, button, press + delta / 2);
        sendMouse(handle, QEvent::MouseMove, Qt::NoButton, button, press + delta);
    };

    drag(Qt::MiddleButton);
    sendMouse(handle, QEvent::MouseButtonRelease, Qt::MiddleButton, Qt::NoButton, press + delta);
    QCOMPARE(p.panel.geometry(), QRect(100, 100, 300, 400));
    QCOMPARE(p.started.size() + p.ended.size(), 0);

    drag(Qt::LeftButton);
    QCOMPARE(p.started.size(), 1);
    QCOMPARE(p.ended.size(), 0);
    // A move without the button means the release went elsewhere; the resize ends where it was.
    sendMouse(handle, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, press + 2 * delta);
    QCOMPARE(p.panel.geometry(), QRect(100, 100, 330, 400));
    QCOMPARE(p.ended.size(), 1);
    // A stray move after that changes nothing.
    sendMouse(handle, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, press);
    QCOMPARE(p.panel.geometry(), QRect(100, 100, 330, 400));
    QCOMPARE(p.started.size() + p.ended.size(), 2);

    // The bottom edge being no handle once the content sets the height is driven end to end; a corner then
    // changes the width only.
    p.panel.setFrameFromContent(QRect(100, 100, 300, 126));
    PanelResizeGrip *corner = p.grip(Qt::BottomEdge | Qt::RightEdge);
    QCOMPARE(corner->cursor().shape(), Qt::SizeHorCursor);
    const QPoint cornerPress = corner->mapToGlobal(corner->rect().center());
    sendMouse(corner, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, cornerPress);
    sendMouse(corner, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, cornerPress + QPoint(30, 80));
    QCOMPARE(p.panel.geometry(), QRect(100, 100, 330, 126));
    sendMouse(corner, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, cornerPress + QPoint(30, 80));
}

QTEST_MAIN(KeyablePanelTest)
#include "keyablepanel_test.moc"
