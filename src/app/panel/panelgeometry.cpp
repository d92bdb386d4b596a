#include "panelgeometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

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
// Far wider than any arrangement of screens, and well inside the range of the window system's pixels.
constexpr qreal LargestCoordinate = 1e6;
// In screenshot mode the panel's origin sits this far from the main screen's centre.
constexpr QPointF ScreenshotOffset { -150.0, -100.0 };

constexpr auto PanelXKey = QLatin1StringView("panelX");
constexpr auto PanelYKey = QLatin1StringView("panelY");
constexpr auto PanelWKey = QLatin1StringView("panelW");
constexpr auto PanelHKey = QLatin1StringView("panelH");

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
    const QRectF header { frame.x(), maxY(frame) - HeaderHeight, frame.width(), HeaderHeight };
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
    if (frame.y() - visible.y() <= SnapThreshold)
        y = visible.y() + EdgeMargin;
    if (maxY(visible) - maxY(frame) <= SnapThreshold)
        y = maxY(visible) - frame.height() - EdgeMargin;

    return { x, y, frame.width(), frame.height() };
}

// Missing, non-numeric and non-finite values all read as 0, and so do values far beyond any desktop: a NaN
// or a huge coordinate would otherwise overflow the window system's integer pixels and place the panel
// anywhere.
qreal readNumber(const QSettings &defaults, QLatin1StringView key)
{
    bool ok = false;
    const double value = defaults.value(key).toDouble(&ok);
    return ok && std::isfinite(value) && std::abs(value) <= LargestCoordinate ? value : 0.0;
}

} // namespace

QRectF initialPanelFrame(const std::optional<QRectF> &saved, const QList<Screen> &screens, bool screenshotMode)
{
    QRectF frame;
    if (saved) {
        frame = onScreenPanelFrame(*saved, screens);
    } else {
        const QRectF visible = screens.isEmpty() ? FallbackScreenRect : screens.first().visibleFrame;
        frame = QRectF(maxX(visible) - DefaultPanelSize.width() - EdgeMargin, visible.y() + EdgeMargin,
            DefaultPanelSize.width(), DefaultPanelSize.height());
    }
    if (screenshotMode && !screens.isEmpty())
        frame.moveTo(screens.first().frame.center() + ScreenshotOffset);
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

bool isOffEveryScreen(const QRectF &frame, const QList<Screen> &screens)
{
    return std::none_of(screens.cbegin(), screens.cend(),
        [&frame](const Screen &screen) { return headerCanBeGrabbed(frame, screen.frame); });
}

QRectF onScreenPanelFrame(const QRectF &frame, const QList<Screen> &screens)
{
    if (!isOffEveryScreen(frame, screens))
        return frame;
    return snappedPanelFrame(frame, screens).value_or(frame);
}

QRectF resizedPanelFrame(const QRectF &frame, const QSizeF &size, const QList<Screen> &screens)
{
    const QRectF kept { frame.x(), frame.y() - (size.height() - frame.height()), size.width(), size.height() };
    const std::optional<qsizetype> screen = screenForFrame(frame, screens);
    if (!screen)
        return kept;
    const QRectF &visible = screens.at(*screen).visibleFrame;
    const qreal lowest = visible.y() + EdgeMargin;
    if (kept.y() >= lowest)
        return kept;
    // Goals below the screen's edge could be neither seen nor reached: the panel moves up just enough, and
    // no further than the margin below the top, where its list starts to scroll instead.
    const qreal tallest = std::max(0.0, visible.height() - 2 * EdgeMargin);
    return { kept.x(), lowest, kept.width(), std::min(kept.height(), tallest) };
}

QPointF draggedPanelOrigin(const DragStart &start, const QPointF &pointer)
{
    return pointer + start.origin - start.mouse;
}

std::optional<QRectF> savedPanelFrame(const QSettings &defaults)
{
    if (!defaults.contains(PanelXKey))
        return std::nullopt;
    return QRectF(readNumber(defaults, PanelXKey), readNumber(defaults, PanelYKey), readNumber(defaults, PanelWKey),
        readNumber(defaults, PanelHKey));
}

void savePanelFrame(QSettings &defaults, const QRectF &frame)
{
    defaults.setValue(PanelXKey, frame.x());
    defaults.setValue(PanelYKey, frame.y());
    defaults.setValue(PanelWKey, frame.width());
    defaults.setValue(PanelHKey, frame.height());
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

QPointF ScreenSpace::toStored(const QPointF &qtPoint) const
{
    return { qtPoint.x() - m_primary.x(), maxY(m_primary) - qtPoint.y() };
}

QRectF ScreenSpace::toQt(const QRectF &storedFrame) const
{
    return { storedFrame.x() + m_primary.x(), maxY(m_primary) - maxY(storedFrame), storedFrame.width(),
        storedFrame.height() };
}

QRect ScreenSpace::toQtPixels(const QRectF &storedFrame) const
{
    const QRectF rect = toQt(storedFrame);
    return { qRound(rect.x()), qRound(rect.y()), qRound(rect.width()), qRound(rect.height()) };
}

QList<Screen> currentScreens()
{
    const ScreenSpace space = ScreenSpace::current();
    QList<QScreen *> qtScreens = QGuiApplication::screens();
    if (QScreen *primary = QGuiApplication::primaryScreen()) {
        qtScreens.removeOne(primary);
        qtScreens.prepend(primary);
    }
    QList<Screen> screens;
    screens.reserve(qtScreens.size());
    for (const QScreen *screen : std::as_const(qtScreens))
        screens.append(
            { space.toStored(QRectF(screen->geometry())), space.toStored(QRectF(screen->availableGeometry())) });
    return screens;
}

} // namespace PanelGeometry
