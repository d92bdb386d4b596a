// SPDX-License-Identifier: GPL-3.0-or-later

#include "continuouscorners.h"

#include <algorithm>

namespace
{

// Each corner starts this many radii before the corner point: the curve needs more room than a circular arc
// of the same radius, so that its curvature can grow from zero at the edge.
constexpr qreal CornerExtent = 1.528;
// Where the first control point sits, in radii from the corner along the edge.
constexpr qreal EdgeHandle = 1.0;
// The corner's midpoint lies this many radii in from both edges (a circular arc would pass at 0.293).
constexpr qreal MidpointInset = 0.27;

} // namespace

QPainterPath continuousRoundedRect(const QRectF &rect, qreal radius)
{
    QPainterPath path;
    if (rect.isEmpty())
        return path;
    // A corner may use at most half of the shorter side, so that opposite corners never overlap.
    const qreal r = std::min(radius, std::min(rect.width(), rect.height()) / 2 / CornerExtent);
    const qreal extent = CornerExtent * r;
    const qreal handle = EdgeHandle * r;
    const qreal mid = MidpointInset * r;

    // Each corner is two cubics mirrored about the corner's diagonal. Both control points next to the edge lie
    // on the edge, which makes the curvature zero where the corner meets it; the inner handles point along the
    // diagonal's normal, so the two halves meet with the same tangent and, by symmetry, the same curvature.
    const auto corner = [&](QPointF at, QPointF alongIn, QPointF alongOut) {
        // alongIn points from the corner back along the incoming edge, alongOut along the outgoing edge.
        path.cubicTo(at + alongIn * handle, at + alongIn * (2 * mid), at + (alongIn + alongOut) * mid);
        path.cubicTo(at + alongOut * (2 * mid), at + alongOut * handle, at + alongOut * extent);
    };

    const QPointF left(-1, 0), right(1, 0), up(0, -1), down(0, 1);
    path.moveTo(rect.left() + extent, rect.top());
    path.lineTo(rect.right() - extent, rect.top());
    corner(rect.topRight(), left, down);
    path.lineTo(rect.right(), rect.bottom() - extent);
    corner(rect.bottomRight(), up, left);
    path.lineTo(rect.left() + extent, rect.bottom());
    corner(rect.bottomLeft(), right, up);
    path.lineTo(rect.left(), rect.top() + extent);
    corner(rect.topLeft(), down, right);
    path.closeSubpath();
    return path;
}
