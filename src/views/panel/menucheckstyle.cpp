// SPDX-License-Identifier: GPL-3.0-or-later

#include "menucheckstyle.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOption>

#include <algorithm>

namespace
{

constexpr qreal OutlineWidth = 1.5;
constexpr qreal CheckMarkWidth = 2.0;
constexpr qreal CornerRadius = 2.5;
// Inset from the style's check rectangle, which spans the whole check column.
constexpr qreal BoxInset = 1.5;

} // namespace

MenuCheckStyle::MenuCheckStyle(QWidget *menu)
{
    setParent(menu);
    menu->setStyle(this);
}

void MenuCheckStyle::drawPrimitive(
    PrimitiveElement element, const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    if (element != PE_IndicatorCheckBox && element != PE_IndicatorMenuCheckMark) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    // The colour of the item's text, on the highlight while the item is under the pointer.
    const bool selected = option->state & State_Selected;
    QColor ink = option->palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    if (!(option->state & State_Enabled))
        ink = option->palette.color(QPalette::Disabled, QPalette::Text);
    const qreal side = std::min(option->rect.width(), option->rect.height()) - 2 * BoxInset;
    QRectF box(0, 0, side, side);
    box.moveCenter(QRectF(option->rect).center());

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(ink, OutlineWidth));
    painter->drawRoundedRect(box.adjusted(OutlineWidth / 2, OutlineWidth / 2, -OutlineWidth / 2, -OutlineWidth / 2),
        CornerRadius, CornerRadius);
    if (option->state & State_On) {
        QPainterPath mark(QPointF(box.left() + 0.24 * side, box.top() + 0.52 * side));
        mark.lineTo(box.left() + 0.43 * side, box.top() + 0.71 * side);
        mark.lineTo(box.left() + 0.77 * side, box.top() + 0.30 * side);
        painter->setPen(QPen(ink, CheckMarkWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter->drawPath(mark);
    }
    painter->restore();
}
