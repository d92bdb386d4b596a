#include "glyphbutton.h"

#include "hierarchicalcolors.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int Side = 22;
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
    return {Side, Side};
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
        painter.drawRoundedRect(frame, CornerRadius, CornerRadius);
    }
    if (hasFocus()) {
        painter.setPen(QPen(HierarchicalColors::accent(palette()), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(frame.adjusted(0.75, 0.75, -0.75, -0.75), CornerRadius, CornerRadius);
    }

    const bool isPlus = m_glyph == Glyph::Plus;
    const qreal half = m_glyphPointSize * (isPlus ? PlusExtent : XMarkExtent) / 2.0;
    const QPointF c = frame.center();
    QPainterPath glyph;
    if (isPlus) {
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
    const QColor ink = m_hovered ? HierarchicalColors::primary(palette()) : HierarchicalColors::secondary(palette());
    painter.setPen(QPen(ink, m_glyphPointSize * (isPlus ? PlusStroke : XMarkStroke), Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(glyph);
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
