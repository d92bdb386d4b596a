#include "app/keyablepanel.h"
#include "app/panelresizegrip.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTest>

namespace {

// Stands in for the panel's real content: a rounded shape inset from the widget's edges.
QPainterPath roundedShape(const QWidget *widget)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(widget->rect()), 18, 18);
    return path;
}

// Like the real content: as wide as offered within 260 to 520, as tall as its rows.
class ClampedContent final : public QWidget {
public:
    QSize sizeHint() const override { return {std::clamp(width(), 260, 520), 126}; }
};

void sendMouse(
    QWidget *widget, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, const QPoint &globalPosition)
{
    QMouseEvent event(
        type, QPointF(widget->mapFromGlobal(globalPosition)), QPointF(globalPosition), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class KeyablePanelTest final : public QObject {
    Q_OBJECT

private slots:
    void resizedByEdges_data();
    void resizedByEdges();
    void borderDrag_resizesAndReportsOneStartAndEnd_data();
    void borderDrag_resizesAndReportsOneStartAndEnd();
    void borderDrag_lostRelease_stillEndsTheResize();
    void borderDrag_middleButton_doesNotResize();
    void borderDrag_keepsWithinTheContentsLimits();
    void borderDrag_pastTheContentsWidth_endsAtItKeepingTheOtherEdge_data();
    void borderDrag_pastTheContentsWidth_endsAtItKeepingTheOtherEdge();
    void fixedHeight_leavesOnlyWidthHandles();
    void content_fillsThePanel_underTheGrips();
    void opaquePanel_isClippedToTheContentShape();
    void translucentPanel_hasNoMask();

private:
    struct Fixture {
        std::unique_ptr<KeyablePanel> panel;
        QWidget *content = nullptr;
        int started = 0;
        int ended = 0;
    };
    static void makePanel(Fixture &fixture, bool translucent);
    static PanelResizeGrip *grip(KeyablePanel *panel, Qt::Edges edges);
};

void KeyablePanelTest::makePanel(Fixture &fixture, bool translucent)
{
    fixture.panel = std::make_unique<KeyablePanel>(
        translucent, KeyablePanel::Callbacks { [&fixture] { ++fixture.started; }, [&fixture] { ++fixture.ended; } });
    fixture.content = new QWidget;
    QWidget *content = fixture.content;
    fixture.panel->setContentView(content, [content] { return roundedShape(content); });
    fixture.panel->setGeometry(100, 100, 300, 400);
    fixture.panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(fixture.panel.get()));
}

PanelResizeGrip *KeyablePanelTest::grip(KeyablePanel *panel, Qt::Edges edges)
{
    const auto grips = panel->findChildren<PanelResizeGrip *>();
    const auto it = std::find_if(grips.begin(), grips.end(), [edges](auto *grip) { return grip->edges() == edges; });
    return it == grips.end() ? nullptr : *it;
}

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
    QTest::newRow("right edge out") << right << QPoint(40, 25) << QRect(100, 100, 340, 400);
    QTest::newRow("left edge out keeps the right edge") << left << QPoint(-30, 0) << QRect(70, 100, 330, 400);
    QTest::newRow("bottom edge in") << bottom << QPoint(0, -100) << QRect(100, 100, 300, 300);
    QTest::newRow("top edge up keeps the bottom edge") << top << QPoint(0, -50) << QRect(100, 50, 300, 450);
    QTest::newRow("top-left corner") << (top | left) << QPoint(-20, 30) << QRect(80, 130, 320, 370);
    QTest::newRow("bottom-right corner") << (bottom | right) << QPoint(20, 30) << QRect(100, 100, 320, 430);
    QTest::newRow("left edge past the minimum keeps the right edge")
        << left << QPoint(200, 0) << QRect(140, 100, 260, 400);
    QTest::newRow("right edge past the maximum") << right << QPoint(900, 0) << QRect(100, 100, 520, 400);
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

void KeyablePanelTest::borderDrag_resizesAndReportsOneStartAndEnd_data()
{
    QTest::addColumn<int>("edges");
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<QRect>("expected");

    QTest::newRow("right edge") << int(Qt::RightEdge) << QPoint(50, 0) << QRect(100, 100, 350, 400);
    QTest::newRow("left edge") << int(Qt::LeftEdge) << QPoint(-40, 0) << QRect(60, 100, 340, 400);
    QTest::newRow("bottom-left corner") << int(Qt::BottomEdge | Qt::LeftEdge) << QPoint(10, 60)
                                        << QRect(110, 100, 290, 460);
}

void KeyablePanelTest::borderDrag_resizesAndReportsOneStartAndEnd()
{
    QFETCH(int, edges);
    QFETCH(QPoint, delta);
    QFETCH(QRect, expected);
    Fixture fixture;
    makePanel(fixture, true);
    PanelResizeGrip *handle = grip(fixture.panel.get(), Qt::Edges(edges));
    QVERIFY(handle);

    const QPoint press = handle->mapToGlobal(handle->rect().center());
    sendMouse(handle, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, press);
    QCOMPARE(fixture.started, 1);
    // Two steps, each measured from the press: the second one decides.
    sendMouse(handle, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, press + delta / 2);
    sendMouse(handle, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, press + delta);
    QCOMPARE(fixture.ended, 0);
    sendMouse(handle, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, press + delta);

    QCOMPARE(fixture.panel->geometry(), expected);
    QCOMPARE(fixture.started, 1);
    QCOMPARE(fixture.ended, 1);
    // A stray move after the release changes nothing.
    sendMouse(handle, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, press);
    QCOMPARE(fixture.panel->geometry(), expected);
    QCOMPARE(fixture.ended, 1);
}

void KeyablePanelTest::borderDrag_lostRelease_stillEndsTheResize()
{
    Fixture fixture;
    makePanel(fixture, true);
    PanelResizeGrip *handle = grip(fixture.panel.get(), Qt::RightEdge);
    const QPoint press = handle->mapToGlobal(handle->rect().center());
    sendMouse(handle, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, press);
    sendMouse(handle, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, press + QPoint(30, 0));
    sendMouse(handle, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, press + QPoint(60, 0));

    QCOMPARE(fixture.ended, 1);
    QCOMPARE(fixture.panel->width(), 330);
}

void KeyablePanelTest::borderDrag_middleButton_doesNotResize()
{
    Fixture fixture;
    makePanel(fixture, true);
    PanelResizeGrip *handle = grip(fixture.panel.get(), Qt::RightEdge);
    const QPoint press = handle->mapToGlobal(handle->rect().center());
    sendMouse(handle, QEvent::MouseButtonPress, Qt::MiddleButton, Qt::MiddleButton, press);
    sendMouse(handle, QEvent::MouseMove, Qt::NoButton, Qt::MiddleButton, press + QPoint(30, 0));
    sendMouse(handle, QEvent::MouseButtonRelease, Qt::MiddleButton, Qt::NoButton, press + QPoint(30, 0));

    QCOMPARE(fixture.panel->geometry(), QRect(100, 100, 300, 400));
    QCOMPARE(fixture.started, 0);
    QCOMPARE(fixture.ended, 0);
}

void KeyablePanelTest::borderDrag_keepsWithinTheContentsLimits()
{
    Fixture fixture;
    fixture.panel = std::make_unique<KeyablePanel>(true, KeyablePanel::Callbacks{});
    auto *content = new QWidget;
    content->setMinimumWidth(260);
    content->setMaximumWidth(520);
    fixture.panel->setContentView(content, [content] { return roundedShape(content); });
    fixture.panel->setGeometry(100, 100, 300, 400);
    fixture.panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(fixture.panel.get()));

    PanelResizeGrip *handle = grip(fixture.panel.get(), Qt::LeftEdge);
    const QPoint press = handle->mapToGlobal(handle->rect().center());
    sendMouse(handle, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, press);
    sendMouse(handle, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, press + QPoint(-400, 0));
    QCOMPARE(fixture.panel->geometry(), QRect(-120, 100, 520, 400));
    sendMouse(handle, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, press + QPoint(100, 0));
    sendMouse(handle, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, press + QPoint(100, 0));
    QCOMPARE(fixture.panel->geometry(), QRect(140, 100, 260, 400));
}

void KeyablePanelTest::borderDrag_pastTheContentsWidth_endsAtItKeepingTheOtherEdge_data()
{
    QTest::addColumn<int>("edges");
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<QRect>("expected");

    QTest::newRow("right edge too far out") << int(Qt::RightEdge) << QPoint(400, 0) << QRect(100, 100, 520, 126);
    QTest::newRow("left edge too far out") << int(Qt::LeftEdge) << QPoint(-400, 0) << QRect(-120, 100, 520, 126);
    QTest::newRow("left edge too far in") << int(Qt::LeftEdge) << QPoint(250, 0) << QRect(140, 100, 260, 126);
    QTest::newRow("within the limits") << int(Qt::RightEdge) << QPoint(60, 0) << QRect(100, 100, 360, 126);
}

void KeyablePanelTest::borderDrag_pastTheContentsWidth_endsAtItKeepingTheOtherEdge()
{
    QFETCH(int, edges);
    QFETCH(QPoint, delta);
    QFETCH(QRect, expected);
    int ended = 0;
    KeyablePanel panel(true, KeyablePanel::Callbacks{{}, [&ended] { ++ended; }});
    auto *content = new ClampedContent;
    panel.setContentView(content, [content] { return roundedShape(content); });
    panel.setFrameFromContent(QRect(100, 100, 300, 126));
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));

    PanelResizeGrip *handle = grip(&panel, Qt::Edges(edges));
    const QPoint press = handle->mapToGlobal(handle->rect().center());
    sendMouse(handle, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, press);
    sendMouse(handle, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, press + delta);
    sendMouse(handle, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, press + delta);

    QCOMPARE(panel.geometry(), expected);
    QCOMPARE(ended, 1);
}

void KeyablePanelTest::fixedHeight_leavesOnlyWidthHandles()
{
    Fixture fixture;
    makePanel(fixture, true);
    QVERIFY(grip(fixture.panel.get(), Qt::BottomEdge)->isVisible());
    fixture.panel->setFrameFromContent(QRect(100, 100, 300, 126));
    QCOMPARE(fixture.panel->geometry(), QRect(100, 100, 300, 126));
    QVERIFY(!grip(fixture.panel.get(), Qt::BottomEdge)->isVisible());
    QVERIFY(!grip(fixture.panel.get(), Qt::TopEdge)->isVisible());
    QVERIFY(grip(fixture.panel.get(), Qt::LeftEdge)->isVisible());

    // A corner then changes the width only.
    PanelResizeGrip *corner = grip(fixture.panel.get(), Qt::BottomEdge | Qt::RightEdge);
    QCOMPARE(corner->cursor().shape(), Qt::SizeHorCursor);
    const QPoint press = corner->mapToGlobal(corner->rect().center());
    sendMouse(corner, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, press);
    sendMouse(corner, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, press + QPoint(30, 80));
    QCOMPARE(fixture.panel->geometry(), QRect(100, 100, 330, 126));
    sendMouse(corner, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, press + QPoint(30, 80));

    // The content can still change the height.
    fixture.panel->setFrameFromContent(QRect(100, 100, 330, 154));
    QCOMPARE(fixture.panel->geometry(), QRect(100, 100, 330, 154));
}

void KeyablePanelTest::content_fillsThePanel_underTheGrips()
{
    Fixture fixture;
    makePanel(fixture, true);
    QCOMPARE(fixture.content->geometry(), QRect(0, 0, 300, 400));
    fixture.panel->resize(320, 126);
    QCOMPARE(fixture.content->geometry(), QRect(0, 0, 320, 126));

    // The border belongs to the grips, everything further in to the content.
    QCOMPARE(fixture.panel->childAt(319, 60), grip(fixture.panel.get(), Qt::RightEdge));
    QCOMPARE(fixture.panel->childAt(0, 0), grip(fixture.panel.get(), Qt::TopEdge | Qt::LeftEdge));
    QCOMPARE(fixture.panel->childAt(160, 125), grip(fixture.panel.get(), Qt::BottomEdge));
    QCOMPARE(fixture.panel->childAt(160, 60), fixture.content);
    QCOMPARE(fixture.panel->childAt(8, 60), fixture.content);
}

void KeyablePanelTest::opaquePanel_isClippedToTheContentShape()
{
    Fixture fixture;
    makePanel(fixture, false);
    QVERIFY(!fixture.panel->testAttribute(Qt::WA_TranslucentBackground));
    const QRegion mask = fixture.panel->mask();
    QVERIFY(!mask.contains(QPoint(0, 0)));
    QVERIFY(!mask.contains(QPoint(299, 399)));
    QVERIFY(mask.contains(QPoint(150, 200)));
    QVERIFY(mask.contains(QPoint(0, 200)));

    // The mask follows the size.
    fixture.panel->resize(260, 70);
    QVERIFY(!fixture.panel->mask().contains(QPoint(259, 0)));
    QVERIFY(fixture.panel->mask().contains(QPoint(130, 69)));
    QVERIFY(!fixture.panel->mask().contains(QPoint(130, 71)));
}

void KeyablePanelTest::translucentPanel_hasNoMask()
{
    Fixture fixture;
    makePanel(fixture, true);
    QVERIFY(fixture.panel->testAttribute(Qt::WA_TranslucentBackground));
    QVERIFY(fixture.panel->mask().isEmpty());
}

QTEST_MAIN(KeyablePanelTest)
#include "keyablepanel_test.moc"
