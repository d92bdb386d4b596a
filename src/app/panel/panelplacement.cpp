// SPDX-License-Identifier: GPL-3.0-or-later

#include "panelplacement.h"

#include "keyablepanel.h"
#include "views/kit/beziereasing.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QVariantAnimation>

#include <utility>

namespace
{

constexpr int SnapDurationMs = 250;

} // namespace

PanelPlacement::PanelPlacement(KeyablePanel *panel, PanelSettings *settings, QObject *parent)
    : QObject(parent)
    , m_panel(panel)
    , m_settings(settings)
{
    connect(panel, &KeyablePanel::liveResizeStarted, this, &PanelPlacement::stopForLiveResize);
    connect(panel, &KeyablePanel::liveResizeEnded, this, &PanelPlacement::snapAfterLiveResize);
    watchScreens();
}

void PanelPlacement::placeAtStart(bool screenshotMode)
{
    const std::optional<QRectF> saved = savedFrame();
    const QList<PanelGeometry::Screen> screens = PanelGeometry::currentScreens();
    // A saved frame that no screen shows is brought back with its saved size, which may be none at all; the
    // content's own size is known once it has laid itself out in the panel.
    m_snapOnFirstSizing = saved && !screenshotMode && PanelGeometry::isCutByScreenEdges(*saved, screens);
    const QRectF initial = PanelGeometry::initialPanelFrame(saved, screens, screenshotMode);
    setFrame(initial);
    // A frame brought onto a smaller screen is the panel's place from now on, also for the next start.
    if (saved && !screenshotMode && initial != *saved)
        saveFrame();
}

void PanelPlacement::watchScreens()
{
    // A screen that goes away, shrinks or moves can leave the panel where nobody sees it. Qt has updated its
    // screen list by the time the queued check runs; one change of the arrangement often arrives as several
    // signals, and every check after the first finds the panel in place.
    const auto check = [this] { QTimer::singleShot(0, this, &PanelPlacement::bringOntoScreen); };
    const auto watch = [this, check](const QScreen *screen) {
        connect(screen, &QScreen::geometryChanged, this, check);
        connect(screen, &QScreen::availableGeometryChanged, this, check);
    };
    for (const QScreen *screen : QGuiApplication::screens())
        watch(screen);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [watch, check](const QScreen *screen) {
        watch(screen);
        check();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, check);
}

std::optional<QRectF> PanelPlacement::savedFrame() const
{
    return PanelGeometry::savedPanelFrame(*m_settings, PanelGeometry::ScreenSpace::current());
}

void PanelPlacement::saveFrame()
{
    if (m_panel)
        PanelGeometry::savePanelFrame(*m_settings, frame(), PanelGeometry::ScreenSpace::current());
}

void PanelPlacement::followDrag(QPointF globalPosition)
{
    if (!m_panel)
        return;
    stopSnapAnimation();
    QRectF dragged = frame();
    if (!m_dragStart)
        m_dragStart = PanelGeometry::DragStart { globalPosition, dragged.topLeft() };
    dragged.moveTo(PanelGeometry::draggedPanelOrigin(*m_dragStart, globalPosition));
    setFrame(dragged);
}

void PanelPlacement::endDrag()
{
    m_dragStart.reset();
    snapToScreenEdges();
}

void PanelPlacement::resizeToContent(QSizeF size)
{
    QTimer::singleShot(0, this, [this, size] {
        if (!m_panel)
            return;
        // Anywhere but where the last content resize put it, the panel was placed by the person (a drag, a
        // resize, the start) or the screens: that is its place from now on. A panel pushed up by a tall goal
        // thus comes back down to its place once the goal is gone.
        if (m_panel->geometry() != m_contentSizedGeometry)
            m_placedFrame = frame();
        const QRectF sized = PanelGeometry::resizedPanelFrame(m_placedFrame, size, PanelGeometry::currentScreens());
        m_panel->setFrameFromContent(PanelGeometry::toPixels(sized));
        m_contentSizedGeometry = m_panel->geometry();
        if (std::exchange(m_snapOnFirstSizing, false)) {
            if (const std::optional<QRectF> target
                = PanelGeometry::snappedPanelFrame(frame(), PanelGeometry::currentScreens())) {
                setFrame(*target);
                saveFrame();
            }
        } else if (!m_dragStart && !m_isLiveResizing) {
            // Keeping the top edge can leave a panel that stood partly off the screens wholly off them, for
            // instance a frame saved on a taller monitor that the content now makes shorter.
            bringOntoScreen();
        }
    });
}

void PanelPlacement::stopForLiveResize()
{
    m_isLiveResizing = true;
    stopSnapAnimation();
}

void PanelPlacement::snapAfterLiveResize()
{
    m_isLiveResizing = false;
    snapToScreenEdges();
}

void PanelPlacement::snapToScreenEdges()
{
    if (!m_panel)
        return;
    const QRectF current = frame();
    const std::optional<QRectF> target = PanelGeometry::snappedPanelFrame(current, PanelGeometry::currentScreens());
    if (!target)
        return;
    stopSnapAnimation();
    if (*target == current) {
        saveFrame();
        return;
    }
    if (!m_snapAnimation) {
        // Snapping never changes the size, so only the client area's top-left corner is animated, in the
        // geometry the frame is read from and saved as; pos() would include a window-manager frame. A
        // content resize during the animation keeps its own size.
        m_snapAnimation = new QVariantAnimation(this);
        m_snapAnimation->setDuration(SnapDurationMs);
        // The standard ease-in-ease-out curve.
        m_snapAnimation->setEasingCurve(bezierEasing(QPointF(0.42, 0), QPointF(0.58, 1)));
        connect(m_snapAnimation, &QVariantAnimation::valueChanged, this, [this](const QVariant &topLeft) {
            if (m_panel)
                m_panel->setGeometry(QRect(topLeft.toPoint(), m_panel->size()));
        });
        connect(m_snapAnimation, &QVariantAnimation::finished, this, &PanelPlacement::saveFrame);
    }
    m_snapAnimation->setStartValue(m_panel->geometry().topLeft());
    m_snapAnimation->setEndValue(PanelGeometry::toPixels(*target).topLeft());
    m_snapAnimation->start();
}

QRectF PanelPlacement::frame() const
{
    return QRectF(m_panel->geometry());
}

void PanelPlacement::setFrame(const QRectF &frame)
{
    m_panel->setGeometry(PanelGeometry::toPixels(frame));
}

void PanelPlacement::stopSnapAnimation()
{
    // A stopped animation does not finish, so it saves nothing; the drag or resize that stopped it saves.
    if (m_snapAnimation)
        m_snapAnimation->stop();
}

void PanelPlacement::bringOntoScreen()
{
    if (!m_panel)
        return;
    const QList<PanelGeometry::Screen> screens = PanelGeometry::currentScreens();
    const QRectF current = frame();
    if (!screens.isEmpty() && PanelGeometry::isCutByScreenEdges(current, screens)) {
        stopSnapAnimation();
        setFrame(PanelGeometry::onScreenPanelFrame(current, screens));
        saveFrame();
    }
}
