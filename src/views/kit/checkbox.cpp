// SPDX-License-Identifier: GPL-3.0-or-later

#include "checkbox.h"

#include "checkboxmetrics.h"
#include "focusring.h"
#include "hierarchicalcolors.h"

#include <QAccessible>
#include <QFocusEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPixmapCache>
#include <QPolygonF>
#include <QVariantAnimation>

#include <QtMath>

#include <array>
#include <cmath>

using namespace Qt::StringLiterals;

namespace
{

using CheckboxMetrics::OutlineWidth;
using CheckboxMetrics::Side;
constexpr qreal GlyphSide = CheckboxMetrics::SquareSide;
constexpr qreal GlyphRadius = CheckboxMetrics::SquareRadius;
constexpr qreal CheckWidth = 2.0;
constexpr int SwapDuration = 200;
// Where a swapping glyph starts (the new one) or ends (the old one): slightly smaller, like a symbol replace.
constexpr qreal SwapScale = 0.6;
constexpr qreal PressedOpacity = 0.7;
constexpr qreal FocusRingRadius = 5.0;

QRectF glyphRect()
{
    const qreal inset = (Side - GlyphSide) / 2.0;
    return { inset, inset, GlyphSide, GlyphSide };
}

// The filled square with the check mark cut out of it, so that whatever lies behind shows through the mark.
// The mark is a stroke with round caps and a round join, which is two capsules: a bar along each segment and a
// disc at each end. Made so by hand and once: the path stroker measures its round joins with atan2 and draws
// them with sin and cos, pages of the maths library that a start showing a done goal would load for this alone.
QPainterPath doneGlyph()
{
    const QRectF square = glyphRect();
    const auto at = [&square](qreal x, qreal y) {
        return QPointF(square.left() + x * square.width(), square.top() + y * square.height());
    };
    const std::array<QPointF, 3> mark { at(0.26, 0.53), at(0.43, 0.70), at(0.75, 0.31) };
    constexpr qreal Half = CheckWidth / 2.0;
    QPainterPath stroke;
    for (const QPointF &point : mark) {
        QPainterPath disc;
        disc.addEllipse(point, Half, Half);
        stroke = stroke.united(disc);
    }
    for (std::size_t i = 0; i + 1 < mark.size(); ++i) {
        const QPointF along = mark[i + 1] - mark[i];
        // Not QLineF::length(): that is hypot, itself a page of the maths library.
        const qreal length = std::sqrt(QPointF::dotProduct(along, along));
        const QPointF across = QPointF(-along.y(), along.x()) * (Half / length);
        QPainterPath bar;
        bar.addPolygon(QPolygonF { mark[i] + across, mark[i + 1] + across, mark[i + 1] - across, mark[i] - across });
        bar.closeSubpath();
        stroke = stroke.united(bar);
    }
    QPainterPath filled;
    filled.addRoundedRect(square, GlyphRadius, GlyphRadius);
    return filled.subtracted(stroke);
}

// The outline filled as a ring rather than stroked: the stroker measures its offsets with hypot, one more page of
// the maths library at every start.
QPainterPath openGlyph()
{
    const QRectF square = glyphRect();
    const QRectF inner = square.adjusted(OutlineWidth, OutlineWidth, -OutlineWidth, -OutlineWidth);
    QPainterPath ring;
    ring.addRoundedRect(square, GlyphRadius, GlyphRadius);
    ring.addRoundedRect(inner, GlyphRadius - OutlineWidth, GlyphRadius - OutlineWidth);
    return ring;
}

// The glyph filled once for each state, colour and pixel ratio, then copied: a list paints a checkbox per goal
// shown, at the start and at every step of a hover fade, and filling an antialiased path costs over ten times
// as much as copying its pixels.
QPixmap glyphPixmap(bool completed, const QColor &color, qreal pixelRatio)
{
    const QString key = u"mirel-checkbox-%1-%2-%3"_s.arg(completed).arg(color.rgba()).arg(qRound(pixelRatio * 100));
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    const int pixels = qCeil(Side * pixelRatio);
    pixmap = QPixmap(pixels, pixels);
    pixmap.setDevicePixelRatio(pixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    static const QPainterPath done = doneGlyph();
    painter.drawPath(completed ? done : openGlyph());
    painter.end();
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

} // namespace

Checkbox::Checkbox(QWidget *parent)
    : QAbstractButton(parent)
{
    setFixedSize(Side, Side);
    // Reachable with Tab, but a click must not pull keyboard focus out of an open editor elsewhere.
    setFocusPolicy(Qt::TabFocus);
}

QVariantAnimation *Checkbox::swap()
{
    // Made on the first animated change: a long list holds a checkbox per goal, and few of them ever swap.
    if (!m_swap) {
        m_swap = new QVariantAnimation(this);
        m_swap->setStartValue(0.0);
        m_swap->setEndValue(1.0);
        m_swap->setDuration(SwapDuration);
        m_swap->setEasingCurve(QEasingCurve::OutCubic);
        connect(m_swap, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
            m_swapProgress = value.toReal();
            update();
        });
    }
    return m_swap;
}

void Checkbox::setCompleted(bool completed, bool animated)
{
    if (m_completed == completed)
        return;
    m_completed = completed;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
    if (m_swap)
        m_swap->stop();
    if (animated) {
        m_swapProgress = 0.0;
        swap()->start();
    } else {
        m_swapProgress = 1.0;
    }
    update();
}

QSize Checkbox::sizeHint() const
{
    return { Side, Side };
}

void Checkbox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // Smooth so that the glyphs scaling in a swap stay soft-edged.
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    if (isDown())
        painter.setOpacity(PressedOpacity);
    if (m_swapProgress < 1.0) {
        paintGlyph(painter, !m_completed, 1.0 - m_swapProgress, 1.0 - (1.0 - SwapScale) * m_swapProgress);
        paintGlyph(painter, m_completed, m_swapProgress, SwapScale + (1.0 - SwapScale) * m_swapProgress);
    } else {
        paintGlyph(painter, m_completed, 1.0, 1.0);
    }
    if (m_showsFocusRing) {
        painter.setOpacity(1.0);
        paintFocusRing(painter, *this, FocusRingRadius);
    }
}

void Checkbox::paintGlyph(QPainter &painter, bool completed, qreal opacity, qreal scale) const
{
    if (opacity <= 0.0)
        return;
    painter.save();
    painter.setOpacity(painter.opacity() * opacity);
    painter.translate(Side / 2.0, Side / 2.0);
    painter.scale(scale, scale);
    painter.translate(-Side / 2.0, -Side / 2.0);
    const QColor color = completed ? HierarchicalColors::accent(palette()) : HierarchicalColors::secondary(palette());
    painter.drawPixmap(0, 0, glyphPixmap(completed, color, painter.device()->devicePixelRatioF()));
    painter.restore();
}

void Checkbox::focusInEvent(QFocusEvent *event)
{
    m_showsFocusRing = isKeyboardNavigation(event->reason());
    QAbstractButton::focusInEvent(event);
}

void Checkbox::focusOutEvent(QFocusEvent *event)
{
    m_showsFocusRing = false;
    QAbstractButton::focusOutEvent(event);
}
