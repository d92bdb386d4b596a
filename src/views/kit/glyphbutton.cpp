// SPDX-License-Identifier: GPL-3.0-or-later

#include "glyphbutton.h"

#include "checkboxmetrics.h"
#include "continuouscorners.h"
#include "focusring.h"
#include "hierarchicalcolors.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>

namespace
{

// As big as the checkbox, so that the controls at both ends of a row line up.
constexpr int Side = CheckboxMetrics::Side;
constexpr qreal CornerRadius = 6.0;
constexpr qreal PressedOpacity = 0.14;
constexpr qreal HoveredOpacity = 0.08;
// Glyph extent and stroke width as fractions of the glyph's point size, matching a symbol of that size:
// the plus at regular weight, the cross at semibold.
constexpr qreal PlusExtent = 0.86;
constexpr qreal PlusStroke = 0.11;
constexpr qreal XMarkExtent = 0.72;
constexpr qreal XMarkStroke = 0.16;

} // namespace

GlyphButton::GlyphButton(Glyph glyph, qreal glyphPointSize, QWidget *parent)
    : QAbstractButton(parent)
    , m_glyph(glyph)
    , m_glyphPointSize(glyphPointSize)
{
    setFixedSize(Side, Side);
    // Reachable with Tab, but a click must not pull keyboard focus out of an open editor elsewhere.
    setFocusPolicy(Qt::TabFocus);
}

QSize GlyphButton::sizeHint() const
{
    return { Side, Side };
}

void GlyphButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame(rect());

    const qreal backgroundOpacity = m_pressed ? PressedOpacity : m_hovered ? HoveredOpacity : 0.0;
    if (backgroundOpacity > 0.0) {
        QColor fill = HierarchicalColors::primary(palette());
        fill.setAlphaF(fill.alphaF() * backgroundOpacity);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawPath(continuousRoundedRect(frame, CornerRadius));
    }
    if (m_showsFocusRing)
        paintFocusRing(painter, *this, CornerRadius);

    const bool isPlus = m_glyph == Glyph::Plus;
    const qreal half = m_glyphPointSize * (isPlus ? PlusExtent : XMarkExtent) / 2.0;
    qreal stroke = m_glyphPointSize * (isPlus ? PlusStroke : XMarkStroke);
    QPointF c = frame.center();
    QPainterPath glyph;
    if (isPlus) {
        // Horizontal and vertical strokes are sharp only when they cover whole device pixels.
        const qreal ratio = devicePixelRatioF();
        const qreal deviceStroke = std::max(1.0, std::round(stroke * ratio));
        const qreal offset = std::fmod(deviceStroke, 2.0) / 2.0;
        const auto snap = [ratio, offset](qreal v) { return (std::round(v * ratio - offset) + offset) / ratio; };
        stroke = deviceStroke / ratio;
        c = QPointF(snap(c.x()), snap(c.y()));
        glyph.moveTo(c.x() - half, c.y());
        glyph.lineTo(c.x() + half, c.y());
        glyph.moveTo(c.x(), c.y() - half);
        glyph.lineTo(c.x(), c.y() + half);
    } else {
        glyph.moveTo(c.x() - half, c.y() - half);
        glyph.lineTo(c.x() + half, c.y() + half);
        glyph.moveTo(c.x() + half, c.y() - half);
        glyph.lineTo(c.x() - half, c.y() + half);
    }
    // Filled as one outline: two translucent strokes drawn one over the other would darken where they cross.
    QPainterPathStroker stroker;
    stroker.setWidth(stroke);
    stroker.setCapStyle(Qt::RoundCap);
    const QColor ink = m_hovered ? HierarchicalColors::primary(palette()) : HierarchicalColors::secondary(palette());
    painter.fillPath(stroker.createStroke(glyph).simplified(), ink);
}

void GlyphButton::enterEvent(QEnterEvent *event)
{
    setHovered(true);
    QAbstractButton::enterEvent(event);
}

void GlyphButton::leaveEvent(QEvent *event)
{
    setHovered(false);
    QAbstractButton::leaveEvent(event);
}

void GlyphButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        update();
    }
    QAbstractButton::mousePressEvent(event);
}

void GlyphButton::mouseMoveEvent(QMouseEvent *event)
{
    // While the button is held Qt delivers no leave or enter, so hover follows the pointer from here.
    if (m_pressed)
        setHovered(rect().contains(event->position().toPoint()));
    QAbstractButton::mouseMoveEvent(event);
}

void GlyphButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_pressed) {
        m_pressed = false;
        update();
    }
    QAbstractButton::mouseReleaseEvent(event);
}

void GlyphButton::hideEvent(QHideEvent *event)
{
    // A hidden button receives no leave or release, so it would come back still looking hovered or pressed.
    m_pressed = false;
    setHovered(false);
    QAbstractButton::hideEvent(event);
}

void GlyphButton::setHovered(bool hovered)
{
    if (m_hovered == hovered)
        return;
    m_hovered = hovered;
    update();
}

void GlyphButton::focusInEvent(QFocusEvent *event)
{
    m_showsFocusRing = isKeyboardNavigation(event->reason());
    QAbstractButton::focusInEvent(event);
}

void GlyphButton::focusOutEvent(QFocusEvent *event)
{
    m_showsFocusRing = false;
    QAbstractButton::focusOutEvent(event);
}
