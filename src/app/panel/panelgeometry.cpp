// SPDX-License-Identifier: GPL-3.0-or-later

#include "panelgeometry.h"

#include "model/panelsettings.h"

#include <QGuiApplication>
#include <QRegion>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace PanelGeometry
{

namespace
{

constexpr QSizeF DefaultPanelSize { 300.0, 400.0 };
// Without any screen the default frame is worked out against a common laptop screen.
constexpr QRectF FallbackScreenRect { 0.0, 0.0, 1440.0, 900.0 };
constexpr qreal EdgeMargin = 12.0;
constexpr qreal SnapThreshold = 20.0;
// The header's band at the top of the panel, its padding included, and how much of it must be on one screen
// for a person to grab it.
constexpr qreal HeaderHeight = 36.0;
constexpr qreal GrabbableWidth = 60.0;
constexpr qreal GrabbableHeight = 20.0;
// In screenshot mode the panel's bottom-left corner sits this far from the main screen's centre.
constexpr QPointF ScreenshotOffset { -150.0, 100.0 };

qreal maxX(const QRectF &rect)
{
    return rect.x() + rect.width();
}

qreal maxY(const QRectF &rect)
{
    return rect.y() + rect.height();
}

qreal squaredDistance(const QPointF &point, const QRectF &rect)
{
    const qreal dx = point.x() - std::clamp(point.x(), rect.x(), maxX(rect));
    const qreal dy = point.y() - std::clamp(point.y(), rect.y(), maxY(rect));
    return dx * dx + dy * dy;
}

// Whether a person can take hold of the panel's header on the screen: a sliver of it at a screen's edge,
// where a window manager may push a window it keeps partly visible, is not enough.
bool headerCanBeGrabbed(const QRectF &frame, const QRectF &screen)
{
    const QRectF header { frame.x(), frame.y(), frame.width(), HeaderHeight };
    const qreal width = std::min(maxX(header), maxX(screen)) - std::max(header.x(), screen.x());
    const qreal height = std::min(maxY(header), maxY(screen)) - std::max(header.y(), screen.y());
    return width >= GrabbableWidth && height >= GrabbableHeight;
}

QRectF snappedToVisibleFrame(const QRectF &frame, const QRectF &visible)
{
    qreal x = frame.x();
    if (frame.x() - visible.x() <= SnapThreshold)
        x = visible.x() + EdgeMargin;
    if (maxX(visible) - maxX(frame) <= SnapThreshold)
        x = maxX(visible) - frame.width() - EdgeMargin;

    qreal y = frame.y();
    if (maxY(visible) - maxY(frame) <= SnapThreshold)
        y = maxY(visible) - frame.height() - EdgeMargin;
    if (frame.y() - visible.y() <= SnapThreshold)
        y = visible.y() + EdgeMargin;

    return { x, y, frame.width(), frame.height() };
}

} // namespace

QRectF initialPanelFrame(const std::optional<QRectF> &saved, const QList<Screen> &screens, bool screenshotMode)
{
    QRectF frame;
    if (saved) {
        frame = onScreenPanelFrame(*saved, screens);
    } else {
        const QRectF visible = screens.isEmpty() ? FallbackScreenRect : screens.first().visibleFrame;
        frame = QRectF(maxX(visible) - DefaultPanelSize.width() - EdgeMargin,
            maxY(visible) - DefaultPanelSize.height() - EdgeMargin, DefaultPanelSize.width(),
            DefaultPanelSize.height());
    }
    if (screenshotMode && !screens.isEmpty())
        frame.moveBottomLeft(screens.first().frame.center() + ScreenshotOffset);
    return frame;
}

std::optional<qsizetype> screenForFrame(const QRectF &frame, const QList<Screen> &screens)
{
    if (screens.isEmpty())
        return std::nullopt;
    const QPointF centre = frame.center();
    qsizetype best = 0;
    for (qsizetype i = 1; i < screens.size(); ++i) {
        if (squaredDistance(centre, screens.at(i).frame) < squaredDistance(centre, screens.at(best).frame))
            best = i;
    }
    return best;
}

std::optional<QRectF> snappedPanelFrame(const QRectF &frame, const QList<Screen> &screens)
{
    const std::optional<qsizetype> screen = screenForFrame(frame, screens);
    if (!screen)
        return std::nullopt;
    return snappedToVisibleFrame(frame, screens.at(*screen).visibleFrame);
}

bool isCutByScreenEdges(const QRectF &frame, const QList<Screen> &screens)
{
    if (std::none_of(screens.cbegin(), screens.cend(),
            [&frame](const Screen &screen) { return headerCanBeGrabbed(frame, screen.frame); }))
        return true;
    QRegion shown;
    for (const Screen &screen : screens)
        shown += screen.frame.toAlignedRect();
    return !(QRegion(frame.toAlignedRect()) - shown).isEmpty();
}

QRectF onScreenPanelFrame(const QRectF &frame, const QList<Screen> &screens)
{
    if (screens.isEmpty() || !isCutByScreenEdges(frame, screens))
        return frame;
    const QPointF centre = frame.center();
    std::optional<qsizetype> best;
    for (qsizetype i = 0; i < screens.size(); ++i) {
        const QRectF &visible = screens.at(i).visibleFrame;
        const bool fits
            = frame.width() + 2 * EdgeMargin <= visible.width() && frame.height() + 2 * EdgeMargin <= visible.height();
        if (fits
            && (!best
                || squaredDistance(centre, screens.at(i).frame) < squaredDistance(centre, screens.at(*best).frame)))
            best = i;
    }
    // On a screen too small for it, the panel is placed as a snap would place it on the nearest one.
    if (!best)
        best = screenForFrame(frame, screens);
    return snappedToVisibleFrame(frame, screens.at(*best).visibleFrame);
}

QRectF resizedPanelFrame(const QRectF &frame, const QSizeF &size, const QList<Screen> &screens)
{
    const QRectF kept { frame.topLeft(), size };
    const std::optional<qsizetype> screen = screenForFrame(frame, screens);
    if (!screen)
        return kept;
    const QRectF &visible = screens.at(*screen).visibleFrame;
    const qreal lowestBottom = maxY(visible) - EdgeMargin;
    if (maxY(kept) <= lowestBottom)
        return kept;
    // Goals below the screen's edge could be neither seen nor reached: the panel moves up just enough, and
    // no further than the margin below the top, where its list starts to scroll instead.
    const qreal tallest = std::max(0.0, visible.height() - 2 * EdgeMargin);
    const qreal height = std::min(kept.height(), tallest);
    return { kept.x(), lowestBottom - height, kept.width(), height };
}

QPointF draggedPanelOrigin(const DragStart &start, const QPointF &pointer)
{
    return pointer + start.origin - start.mouse;
}

QRect toPixels(const QRectF &frame)
{
    return { qRound(frame.x()), qRound(frame.y()), qRound(frame.width()), qRound(frame.height()) };
}

std::optional<QRectF> savedPanelFrame(const PanelSettings &settings, const ScreenSpace &space)
{
    const std::optional<QRectF> stored = settings.storedFrame();
    return stored ? std::optional(space.toQt(*stored)) : std::nullopt;
}

void savePanelFrame(PanelSettings &settings, const QRectF &frame, const ScreenSpace &space)
{
    settings.setStoredFrame(space.toStored(frame));
}

ScreenSpace::ScreenSpace(const QRectF &primaryGeometry)
    : m_primary(primaryGeometry)
{
}

ScreenSpace ScreenSpace::current()
{
    const QScreen *primary = QGuiApplication::primaryScreen();
    return ScreenSpace(primary ? QRectF(primary->geometry()) : FallbackScreenRect);
}

QRectF ScreenSpace::toStored(const QRectF &qtRect) const
{
    return { qtRect.x() - m_primary.x(), maxY(m_primary) - maxY(qtRect), qtRect.width(), qtRect.height() };
}

QRectF ScreenSpace::toQt(const QRectF &storedFrame) const
{
    return { storedFrame.x() + m_primary.x(), maxY(m_primary) - maxY(storedFrame), storedFrame.width(),
        storedFrame.height() };
}

QList<Screen> currentScreens()
{
    QList<QScreen *> qtScreens = QGuiApplication::screens();
    if (QScreen *primary = QGuiApplication::primaryScreen()) {
        qtScreens.removeOne(primary);
        qtScreens.prepend(primary);
    }
    QList<Screen> screens;
    screens.reserve(qtScreens.size());
    for (const QScreen *screen : std::as_const(qtScreens))
        screens.append({ QRectF(screen->geometry()), QRectF(screen->availableGeometry()) });
    return screens;
}

} // namespace PanelGeometry
