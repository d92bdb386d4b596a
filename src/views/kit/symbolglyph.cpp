// SPDX-License-Identifier: GPL-3.0-or-later

#include "symbolglyph.h"

#include "checkboxmetrics.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>

#include <cmath>

namespace
{

constexpr int FrameSize = CheckboxMetrics::Side;
using CheckboxMetrics::SquareRadius;
using CheckboxMetrics::SquareSide;
constexpr qreal SquareStroke = CheckboxMetrics::OutlineWidth;
// The plus of a 12-point semibold symbol.
constexpr qreal PlusArm = 10.0;
constexpr qreal PlusStroke = 1.8;
// A small rounded triangle with an exclamation mark, about the height of the header's text.
constexpr qreal WarningSide = 14.0;
constexpr qreal WarningStroke = 1.5;
// An arrow up onto a short line, as tall as the warning.
constexpr qreal UploadHeight = 12.0;
constexpr qreal UploadHead = 4.0;
// An arrow circling back to its start, smaller than the text beside it, with a gap where its head points.
constexpr qreal RepeatRadius = 4.5;
constexpr qreal RepeatStroke = 1.4;
constexpr qreal RepeatHead = 2.6;
constexpr int RepeatGapDegrees = 60;
// A small bell as tall as the repeat glyph: a rounded dome over a flared rim, and its clapper below.
constexpr qreal BellHeight = 9.0;
constexpr qreal BellWidth = 9.0;
constexpr qreal BellTop = 3.0;
constexpr qreal ClapperRadius = 1.1;

} // namespace

SymbolGlyph::SymbolGlyph(Symbol symbol, QWidget *parent)
    : QWidget(parent)
    , m_symbol(symbol)
{
    setFixedSize(FrameSize, FrameSize);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SymbolGlyph::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void SymbolGlyph::setSymbol(Symbol symbol)
{
    if (symbol == m_symbol)
        return;
    m_symbol = symbol;
    update();
}

QSize SymbolGlyph::sizeHint() const
{
    return { FrameSize, FrameSize };
}

void SymbolGlyph::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre = QRectF(rect()).center();
    switch (m_symbol) {
    case Symbol::Square: {
        painter.setPen(QPen(m_color, SquareStroke));
        painter.setBrush(Qt::NoBrush);
        // The stroke lies inside the square's outer edge, as the checkbox draws it.
        const qreal side = SquareSide - SquareStroke;
        const qreal radius = SquareRadius - SquareStroke / 2;
        painter.drawRoundedRect(QRectF(centre.x() - side / 2, centre.y() - side / 2, side, side), radius, radius);
        break;
    }
    case Symbol::Plus:
        painter.setPen(QPen(m_color, PlusStroke, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(centre.x() - PlusArm / 2, centre.y()), QPointF(centre.x() + PlusArm / 2, centre.y()));
        painter.drawLine(QPointF(centre.x(), centre.y() - PlusArm / 2), QPointF(centre.x(), centre.y() + PlusArm / 2));
        break;
    case Symbol::Warning: {
        const qreal height = WarningSide * 0.866;
        const qreal top = centre.y() - height / 2;
        const QPolygonF triangle({ QPointF(centre.x(), top), QPointF(centre.x() + WarningSide / 2, top + height),
            QPointF(centre.x() - WarningSide / 2, top + height) });
        painter.setPen(QPen(m_color, WarningStroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPolygon(triangle);
        painter.drawLine(QPointF(centre.x(), top + height * 0.38), QPointF(centre.x(), top + height * 0.66));
        painter.drawPoint(QPointF(centre.x(), top + height * 0.83));
        break;
    }
    case Symbol::Upload: {
        const qreal top = centre.y() - UploadHeight / 2;
        const qreal bottom = centre.y() + UploadHeight / 2;
        painter.setPen(QPen(m_color, WarningStroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawLine(QPointF(centre.x(), top), QPointF(centre.x(), bottom - 3.0));
        painter.drawPolyline(QPolygonF({ QPointF(centre.x() - UploadHead, top + UploadHead), QPointF(centre.x(), top),
            QPointF(centre.x() + UploadHead, top + UploadHead) }));
        painter.drawLine(
            QPointF(centre.x() - UploadHead - 1.0, bottom), QPointF(centre.x() + UploadHead + 1.0, bottom));
        break;
    }
    case Symbol::Repeat: {
        painter.setPen(QPen(m_color, RepeatStroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        const QRectF circle(centre.x() - RepeatRadius, centre.y() - RepeatRadius, 2 * RepeatRadius, 2 * RepeatRadius);
        // From the top, clockwise, round to just short of the top again; Qt counts sixteenths, counter-clockwise.
        painter.drawArc(circle, 90 * 16, -(360 - RepeatGapDegrees) * 16);
        const qreal end = qDegreesToRadians(90.0 + RepeatGapDegrees);
        const QPointF tip(centre.x() + RepeatRadius * std::cos(end), centre.y() - RepeatRadius * std::sin(end));
        // The head points along the circle's clockwise direction at the arc's end, toward the top.
        const QPointF along(std::sin(end), std::cos(end));
        const QPointF across(along.y(), -along.x());
        painter.setBrush(m_color);
        painter.drawPolygon(QPolygonF(
            { tip + along * RepeatHead, tip + across * (RepeatHead * 0.75), tip - across * (RepeatHead * 0.75) }));
        break;
    }
    case Symbol::Bell: {
        const qreal top = centre.y() - BellHeight / 2;
        const qreal rim = top + BellHeight - 2.0;
        const qreal half = BellWidth / 2;
        QPainterPath bell(QPointF(centre.x() - half, rim));
        bell.cubicTo(QPointF(centre.x() - half + 1.5, rim - 1.5), QPointF(centre.x() - half + 1.0, top),
            QPointF(centre.x(), top));
        bell.cubicTo(QPointF(centre.x() + half - 1.0, top), QPointF(centre.x() + half - 1.5, rim - 1.5),
            QPointF(centre.x() + half, rim));
        bell.closeSubpath();
        painter.setPen(QPen(m_color, RepeatStroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(bell);
        painter.drawLine(QPointF(centre.x(), top - 0.5), QPointF(centre.x(), top - BellTop + 1.5));
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_color);
        painter.drawEllipse(QPointF(centre.x(), rim + ClapperRadius + 0.6), ClapperRadius, ClapperRadius);
        break;
    }
    }
}
