// SPDX-License-Identifier: GPL-3.0-or-later

#include "panelresizegrip.h"

#include <QMouseEvent>

#include <algorithm>

namespace
{

Qt::CursorShape cursorFor(Qt::Edges edges)
{
    if (edges == (Qt::TopEdge | Qt::LeftEdge) || edges == (Qt::BottomEdge | Qt::RightEdge))
        return Qt::SizeFDiagCursor;
    if (edges == (Qt::TopEdge | Qt::RightEdge) || edges == (Qt::BottomEdge | Qt::LeftEdge))
        return Qt::SizeBDiagCursor;
    if (edges & (Qt::LeftEdge | Qt::RightEdge))
        return Qt::SizeHorCursor;
    return Qt::SizeVerCursor;
}

} // namespace

PanelResizeGrip::PanelResizeGrip(Qt::Edges edges, QWidget *parent)
    : QWidget(parent)
    , m_edges(edges)
{
    setCursor(cursorFor(edges));
}

void PanelResizeGrip::setVerticalLocked(bool locked)
{
    setCursor(locked ? Qt::SizeHorCursor : cursorFor(m_edges));
}

void PanelResizeGrip::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_resizing = true;
    // Qt passes moves without a button only to tracking widgets; those moves tell of a release that was lost.
    setMouseTracking(true);
    m_pressPosition = event->globalPosition().toPoint();
    m_startGeometry = window()->geometry();
    emit resizeStarted();
}

void PanelResizeGrip::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_resizing)
        return;
    // A release that went elsewhere (another client grabbed the pointer) still ends the resize here.
    if (!(event->buttons() & Qt::LeftButton)) {
        endResize();
        return;
    }
    QWidget *panel = window();
    panel->setGeometry(resizedByEdges(m_startGeometry, m_edges, event->globalPosition().toPoint() - m_pressPosition,
        panel->minimumSize(), panel->maximumSize()));
}

void PanelResizeGrip::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        endResize();
}

void PanelResizeGrip::endResize()
{
    if (!m_resizing)
        return;
    m_resizing = false;
    setMouseTracking(false);
    emit resizeEnded(m_edges);
}

QRect resizedByEdges(
    const QRect &start, Qt::Edges edges, const QPoint &delta, const QSize &minimum, const QSize &maximum)
{
    // A window needs at least one pixel each way.
    const int minWidth = std::max(minimum.width(), 1);
    const int minHeight = std::max(minimum.height(), 1);
    const auto width = [&](int wanted) { return std::clamp(wanted, minWidth, std::max(minWidth, maximum.width())); };
    const auto height
        = [&](int wanted) { return std::clamp(wanted, minHeight, std::max(minHeight, maximum.height())); };

    QRect rect = start;
    if (edges & Qt::LeftEdge) {
        const int w = width(start.width() - delta.x());
        rect.setX(start.x() + start.width() - w);
        rect.setWidth(w);
    } else if (edges & Qt::RightEdge) {
        rect.setWidth(width(start.width() + delta.x()));
    }
    if (edges & Qt::TopEdge) {
        const int h = height(start.height() - delta.y());
        rect.setY(start.y() + start.height() - h);
        rect.setHeight(h);
    } else if (edges & Qt::BottomEdge) {
        rect.setHeight(height(start.height() + delta.y()));
    }
    return rect;
}
