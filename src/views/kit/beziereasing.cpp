// SPDX-License-Identifier: GPL-3.0-or-later

#include "beziereasing.h"

QEasingCurve bezierEasing(QPointF control1, QPointF control2)
{
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(control1, control2, QPointF(1, 1));
    return curve;
}
