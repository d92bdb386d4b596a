// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <optional>

class QRect;
class PanelSettings;

// The panel's placement as functions on values, in Qt's screen coordinates: logical pixels, origin at the
// top-left of the virtual desktop, y growing downward, a frame's (x, y) its top-left corner.
namespace PanelGeometry
{

struct Screen final {
    QRectF frame;
    // The frame less the desktop's panels and docks.
    QRectF visibleFrame;
};

// The pointer and the panel's top-left corner taken when a header drag first reaches the delegate.
struct DragStart final {
    QPointF mouse;
    QPointF origin;
};

// The first screen of the list is the main screen.
QRectF initialPanelFrame(const std::optional<QRectF> &saved, const QList<Screen> &screens, bool screenshotMode);

// The screen nearest to the frame's centre, earlier screens winning ties; nothing when there are no screens.
std::optional<qsizetype> screenForFrame(const QRectF &frame, const QList<Screen> &screens);
// Where a snap moves the frame: to 12 pixels inside every visible-frame edge it is within 20 pixels of or
// beyond, the right and top edges winning over the left and bottom ones. Nothing when there is no screen.
std::optional<QRectF> snappedPanelFrame(const QRectF &frame, const QList<Screen> &screens);
// Cut by a screen edge: some of the panel lies outside every screen, or no screen shows enough of its header
// to take hold of it.
bool isCutByScreenEdges(const QRectF &frame, const QList<Screen> &screens);
// A frame cut by a screen edge, brought wholly onto the nearest screen where it fits, as a snap would place
// it there: the edges it stood beyond or near get the margin, so a panel in a corner stays in that corner.
// Any other frame unchanged, and so is one without screens.
QRectF onScreenPanelFrame(const QRectF &frame, const QList<Screen> &screens);

// The frame for the size the content wants, its left and top edges kept, unless its bottom edge would then
// go below the margin of the visible frame of the panel's screen: then it moves up just enough, and content
// taller than the visible frame less both margins gets that height.
QRectF resizedPanelFrame(const QRectF &frame, const QSizeF &size, const QList<Screen> &screens);
// The top-left corner that keeps the panel where the drag took hold of it.
QPointF draggedPanelOrigin(const DragStart &start, const QPointF &pointer);
// Qt's window geometry is in whole logical pixels.
QRect toPixels(const QRectF &frame);

// The frame keys keep the convention other versions read and write: points, origin at the bottom-left corner
// of the primary screen, y growing upward, a frame's (x, y) its bottom-left corner. They are turned into
// Qt's coordinates here and nowhere else, against the primary screen's geometry.
class ScreenSpace final
{
public:
    explicit ScreenSpace(const QRectF &primaryGeometry);
    // The primary screen of the running application, or a 1440 × 900 screen at the origin without one.
    static ScreenSpace current();

    QRectF toStored(const QRectF &qtRect) const;
    QRectF toQt(const QRectF &storedFrame) const;

private:
    QRectF m_primary;
};

std::optional<QRectF> savedPanelFrame(const PanelSettings &settings, const ScreenSpace &space);
void savePanelFrame(PanelSettings &settings, const QRectF &frame, const ScreenSpace &space);

// The application's screens, the primary screen first.
QList<Screen> currentScreens();

} // namespace PanelGeometry
