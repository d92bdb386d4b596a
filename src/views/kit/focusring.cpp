// SPDX-License-Identifier: GPL-3.0-or-later

#include "focusring.h"

#include "hierarchicalcolors.h"

#include <QPainter>
#include <QWidget>

namespace
{

constexpr qreal RingWidth = 1.5;

} // namespace

void paintFocusRing(QPainter &painter, const QWidget &button, qreal radius)
{
    const qreal inset = RingWidth / 2.0;
    painter.setPen(QPen(HierarchicalColors::accent(button.palette()), RingWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(button.rect()).adjusted(inset, inset, -inset, -inset), radius, radius);
}
