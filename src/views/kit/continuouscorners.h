// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPainterPath>
#include <QRectF>

// A rounded rectangle whose corners ease into the straight edges (no jump in curvature where the arc
// meets the edge), the "continuous" corner look rather than a circular quarter arc.
QPainterPath continuousRoundedRect(const QRectF &rect, qreal radius);
