// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QPainterPath>
#include <QRect>

class QPainter;

// The panel's rounded background around the content rectangle `content`.
QPainterPath panelBackgroundShape(const QRectF &content);

// Paints the background in the window colour `window`: see-through around a rounded `content` when
// `translucent`, otherwise filling the whole rectangle `whole` for a window that clips itself to the shape.
void paintPanelBackground(
    QPainter &painter, const QRect &whole, const QRectF &content, QColor window, bool translucent);
