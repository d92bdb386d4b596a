// SPDX-License-Identifier: GPL-3.0-or-later

#include "panelresizeborder.h"

#include "panelresizegrip.h"

namespace
{

// Thin enough to stay inside the content's padding, wide enough to hit.
constexpr int GripThickness = 5;
constexpr int CornerGripSize = 14;

constexpr std::array<Qt::Edges, 8> GripEdges {
    Qt::LeftEdge,
    Qt::RightEdge,
    Qt::TopEdge,
    Qt::BottomEdge,
    Qt::TopEdge | Qt::LeftEdge,
    Qt::TopEdge | Qt::RightEdge,
    Qt::BottomEdge | Qt::LeftEdge,
    Qt::BottomEdge | Qt::RightEdge,
};

QRect gripRect(Qt::Edges edges, const QSize &size)
{
    const int w = size.width();
    const int h = size.height();
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal && vertical) {
        const int x = edges & Qt::LeftEdge ? 0 : w - CornerGripSize;
        const int y = edges & Qt::TopEdge ? 0 : h - CornerGripSize;
        return { x, y, CornerGripSize, CornerGripSize };
    }
    if (horizontal)
        return { edges & Qt::LeftEdge ? 0 : w - GripThickness, CornerGripSize, GripThickness, h - 2 * CornerGripSize };
    return { CornerGripSize, edges & Qt::TopEdge ? 0 : h - GripThickness, w - 2 * CornerGripSize, GripThickness };
}

} // namespace

PanelResizeBorder::PanelResizeBorder(QWidget *panel)
    : QObject(panel)
    , m_panel(panel)
{
    for (size_t i = 0; i < GripEdges.size(); ++i) {
        m_grips[i] = new PanelResizeGrip(GripEdges[i], panel);
        connect(m_grips[i], &PanelResizeGrip::resizeStarted, this, &PanelResizeBorder::resizeStarted);
        connect(m_grips[i], &PanelResizeGrip::resizeEnded, this, &PanelResizeBorder::resizeEnded);
    }
}

PanelResizeBorder::~PanelResizeBorder() = default;

void PanelResizeBorder::raise()
{
    for (PanelResizeGrip *grip : m_grips)
        grip->raise();
}

void PanelResizeBorder::layout()
{
    const bool heightIsFixed = m_panel->minimumHeight() == m_panel->maximumHeight();
    for (PanelResizeGrip *grip : m_grips) {
        grip->setGeometry(gripRect(grip->edges(), m_panel->size()));
        grip->setVerticalLocked(heightIsFixed);
        grip->setVisible(!heightIsFixed || (grip->edges() & (Qt::LeftEdge | Qt::RightEdge)));
    }
}
