// SPDX-License-Identifier: GPL-3.0-or-later

#include "checkbox.h"

#include "checkboxmetrics.h"
#include "focusring.h"
#include "hierarchicalcolors.h"

#include <QAccessible>
#include <QFocusEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QVariantAnimation>

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

QPainterPath checkMark(const QRectF &square)
{
    const auto at = [&square](qreal x, qreal y) {
        return QPointF(square.left() + x * square.width(), square.top() + y * square.height());
    };
    QPainterPath path(at(0.26, 0.53));
    path.lineTo(at(0.43, 0.70));
    path.lineTo(at(0.75, 0.31));
    return path;
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
    painter.setRenderHint(QPainter::Antialiasing);
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
    const QRectF square = glyphRect();
    if (completed) {
        // The check mark is cut out of the filled square, so whatever lies behind shows through it.
        QPainterPath filled;
        filled.addRoundedRect(square, GlyphRadius, GlyphRadius);
        QPainterPathStroker stroker;
        stroker.setWidth(CheckWidth);
        stroker.setCapStyle(Qt::RoundCap);
        stroker.setJoinStyle(Qt::RoundJoin);
        painter.setPen(Qt::NoPen);
        painter.setBrush(HierarchicalColors::accent(palette()));
        painter.drawPath(filled.subtracted(stroker.createStroke(checkMark(square))));
    } else {
        const qreal half = OutlineWidth / 2.0;
        painter.setPen(QPen(HierarchicalColors::secondary(palette()), OutlineWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(square.adjusted(half, half, -half, -half), GlyphRadius - half, GlyphRadius - half);
    }
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
