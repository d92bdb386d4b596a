#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <optional>

class QSettings;

// The panel's placement as functions on values. Frames are in the stored convention: points, origin at the
// bottom-left corner of the primary screen, y growing upward, a frame's (x, y) its bottom-left corner. QRectF
// only carries the four numbers here; its top() and bottom() would name the wrong edges, so this code speaks
// of x, y, width and height alone.
namespace PanelGeometry
{

struct Screen final {
    QRectF frame;
    // The frame less the desktop's panels and docks.
    QRectF visibleFrame;
};

// The pointer and the panel origin taken when a header drag first reaches the delegate.
struct DragStart final {
    QPointF mouse;
    QPointF origin;
};

// The first screen of the list is the main screen.
QRectF initialPanelFrame(const std::optional<QRectF> &saved, const QList<Screen> &screens, bool screenshotMode);

// The screen nearest to the frame's centre, earlier screens winning ties; nothing when there are no screens.
std::optional<qsizetype> screenForFrame(const QRectF &frame, const QList<Screen> &screens);
// Where a snap moves the frame: to 12 points inside every visible-frame edge it is within 20 points of or
// beyond, the right and top edges winning over the left and bottom ones. Nothing when there is no screen.
std::optional<QRectF> snappedPanelFrame(const QRectF &frame, const QList<Screen> &screens);
// Off every screen as far as a person can tell: no screen shows enough of the header to take hold of it.
bool isOffEveryScreen(const QRectF &frame, const QList<Screen> &screens);
// A frame off every screen, brought wholly onto the nearest screen as a snap would place it; any other
// frame unchanged.
QRectF onScreenPanelFrame(const QRectF &frame, const QList<Screen> &screens);

// The frame for the size the content wants, its left and top edges kept, unless its bottom edge would then
// go below the margin of the visible frame of the panel's screen: then it moves up just enough, and content
// taller than the visible frame less both margins gets that height.
QRectF resizedPanelFrame(const QRectF &frame, const QSizeF &size, const QList<Screen> &screens);
QPointF draggedPanelOrigin(const DragStart &start, const QPointF &pointer);

std::optional<QRectF> savedPanelFrame(const QSettings &defaults);
void savePanelFrame(QSettings &defaults, const QRectF &frame);

// Converts between Qt's screen coordinates (y down, origin at the top-left of the virtual desktop) and the
// stored convention, given the primary screen's geometry in Qt's coordinates.
class ScreenSpace final
{
public:
    explicit ScreenSpace(const QRectF &primaryGeometry);
    // The primary screen of the running application, or a 1440 × 900 screen at the origin without one.
    static ScreenSpace current();

    QRectF toStored(const QRectF &qtRect) const;
    QPointF toStored(const QPointF &qtPoint) const;
    QRectF toQt(const QRectF &storedFrame) const;
    // Qt's window geometry is in whole logical pixels.
    QRect toQtPixels(const QRectF &storedFrame) const;

private:
    QRectF m_primary;
};

// The application's screens in the stored convention, the primary screen first.
QList<Screen> currentScreens();

} // namespace PanelGeometry
