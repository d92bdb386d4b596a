// SPDX-License-Identifier: GPL-3.0-or-later

#include "goalrow.h"

#include "continuouscorners.h"
#include "hierarchicalcolors.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>

#include <algorithm>

namespace
{

constexpr int ChildSpacing = 8;
constexpr int SideInset = 6;
constexpr qreal CornerRadius = 8.0;
constexpr qreal HighlightOpacity = 0.06;

} // namespace

GoalRow::GoalRow(QWidget *parent)
    : QWidget(parent)
    , m_layout(new QHBoxLayout(this))
{
    m_layout->setSpacing(ChildSpacing);
    m_layout->setContentsMargins(SideInset, 0, SideInset, 0);
    setMinimumHeight(MinimumHeight);
}

void GoalRow::setHighlighted(bool highlighted)
{
    if (m_highlighted == highlighted)
        return;
    m_highlighted = highlighted;
    update();
}

void GoalRow::setHighlightFade(qreal fade)
{
    fade = std::clamp(fade, 0.0, 1.0);
    if (qFuzzyCompare(m_highlightFade, fade))
        return;
    m_highlightFade = fade;
    if (m_highlighted)
        update();
}

int GoalRow::heightForWidth(int width) const
{
    const int content
        = m_layout->hasHeightForWidth() ? m_layout->totalHeightForWidth(width) : m_layout->totalSizeHint().height();
    return std::max(MinimumHeight, content);
}

QSize GoalRow::sizeHint() const
{
    return m_layout->totalSizeHint().expandedTo(QSize(0, MinimumHeight));
}

QSize GoalRow::minimumSizeHint() const
{
    return m_layout->totalMinimumSize().expandedTo(QSize(0, MinimumHeight));
}

bool GoalRow::event(QEvent *event)
{
    // Children arrive through contentLayout() from several views; centring them here means none of them can
    // forget it. A child that can grow as tall as the row fills it instead (and centres its own content, as a
    // label does), so its whole height takes clicks; one that states its own vertical alignment keeps it.
    if (event->type() == QEvent::LayoutRequest) {
        bool changed = false;
        for (int i = 0; i < m_layout->count(); ++i) {
            QLayoutItem *item = m_layout->itemAt(i);
            const QWidget *child = item->widget();
            if (!child || (item->alignment() & Qt::AlignVertical_Mask)
                || (child->sizePolicy().verticalPolicy() & QSizePolicy::GrowFlag))
                continue;
            item->setAlignment(item->alignment() | Qt::AlignVCenter);
            changed = true;
        }
        if (changed)
            m_layout->invalidate();
    }
    return QWidget::event(event);
}

void GoalRow::paintEvent(QPaintEvent *)
{
    if (!m_highlighted || m_highlightFade <= 0.0)
        return;
    QColor fill = HierarchicalColors::primary(palette());
    fill.setAlphaF(fill.alphaF() * HighlightOpacity * m_highlightFade);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(continuousRoundedRect(QRectF(rect()), CornerRadius));
}
