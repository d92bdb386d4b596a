// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QEasingCurve>
#include <QPointF>

// A cubic Bézier timing curve from (0, 0) to (1, 1) through the two control points, the way the standard
// ease-in and ease-out curves are given; QEasingCurve's named curves are different, steeper ones.
QEasingCurve bezierEasing(QPointF control1, QPointF control2);
