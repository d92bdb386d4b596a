// SPDX-License-Identifier: GPL-3.0-or-later

#include "scrollindicator.h"

#include "views/kit/hierarchicalcolors.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QPainter>
#include <QRectF>
#include <QScrollBar>
#include <QTimer>
#include <QVariantAnimation>

#include <algorithm>

namespace
{

constexpr qreal ThumbWidth = 4.0;
constexpr qreal EdgeInset = 2.0;
// Short enough to read as a thumb, however long the list.
constexpr qreal ShortestThumb = 20.0;
// Drawn with the secondary text colour at this opacity, like the row highlight: present, never loud.
constexpr qreal ThumbAlpha = 0.45;
// How long the thumb stays after the last scroll step, and how it fades, as the hover fade does.
constexpr int LingerMs = 800;
constexpr int FadeMs = 200;

// The thumb in a track of `trackHeight` for a scroll bar at `value` of 0..`maximum` showing `pageStep`.
QRectF thumbRect(qreal trackHeight, int value, int maximum, int pageStep)
{
    if (maximum <= 0 || trackHeight <= 0)
        return {};
    const qreal whole = qreal(maximum) + pageStep;
    const qreal height = std::clamp(trackHeight * pageStep / whole, std::min(ShortestThumb, trackHeight), trackHeight);
    const qreal top = (trackHeight - height) * std::clamp(value, 0, maximum) / maximum;
    return { 0.0, top, ThumbWidth, height };
}

} // namespace

ScrollIndicator::ScrollIndicator(QAbstractScrollArea *area)
    : QWidget(area)
    , m_area(area)
    , m_viewport(area->viewport())
    , m_scrollLinger(new QTimer(this))
    , m_fade(new QVariantAnimation(this))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    m_scrollLinger->setSingleShot(true);
    m_scrollLinger->setInterval(LingerMs);
    connect(m_scrollLinger, &QTimer::timeout, this, &ScrollIndicator::updateShowing);
    m_fade->setDuration(FadeMs);
    m_fade->setEasingCurve(QEasingCurve::OutCubic);
    connect(m_fade, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        m_opacity = value.toReal();
        setVisible(m_opacity > 0.0);
        update();
    });

    QScrollBar *bar = area->verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this, &ScrollIndicator::scrolled);
    connect(bar, &QScrollBar::rangeChanged, this, [this] {
        updateShowing();
        update();
    });
    area->installEventFilter(this);
    // The viewport, not the area: the area hears of its new size before it has laid out its viewport.
    area->viewport()->installEventFilter(this);
    hide();
}

bool ScrollIndicator::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_area) {
        switch (event->type()) {
        case QEvent::Enter:
            m_isPointerOver = true;
            updateShowing();
            break;
        case QEvent::Leave:
            m_isPointerOver = false;
            updateShowing();
            break;
        default:
            break;
        }
    } else if (watched == m_viewport && event->type() == QEvent::Resize) {
        fitToViewport();
    }
    return QWidget::eventFilter(watched, event);
}

void ScrollIndicator::scrolled()
{
    m_scrollLinger->start();
    updateShowing();
    update();
}

void ScrollIndicator::updateShowing()
{
    const bool isLong = m_area->verticalScrollBar()->maximum() > 0;
    const bool show = isLong && (m_isPointerOver || m_scrollLinger->isActive());
    if (show == m_isShowing)
        return;
    m_isShowing = show;
    if (show) {
        fitToViewport();
        raise();
    }
    m_fade->stop();
    m_fade->setStartValue(m_opacity);
    m_fade->setEndValue(show ? 1.0 : 0.0);
    m_fade->start();
}

void ScrollIndicator::fitToViewport()
{
    const QRect viewport = m_area->viewport()->geometry();
    setGeometry(viewport.right() + 1 - int(ThumbWidth + 2 * EdgeInset), viewport.top(), int(ThumbWidth + 2 * EdgeInset),
        viewport.height());
}

void ScrollIndicator::paintEvent(QPaintEvent *)
{
    const QScrollBar *bar = m_area->verticalScrollBar();
    const QRectF thumb = thumbRect(height() - 2 * EdgeInset, bar->value(), bar->maximum(), bar->pageStep());
    if (thumb.isEmpty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    QColor colour = HierarchicalColors::secondary(palette());
    colour.setAlphaF(colour.alphaF() * ThumbAlpha * m_opacity);
    painter.setBrush(colour);
    painter.drawRoundedRect(thumb.translated(EdgeInset, EdgeInset), ThumbWidth / 2, ThumbWidth / 2);
}
