// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRect>
#include <QWidget>

// An invisible strip along one edge or corner of a frameless window by which the user resizes it. The grip
// drives the resize itself from global pointer positions while it holds the implicit mouse grab, so the
// release that ends a resize always reaches it.
class PanelResizeGrip final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PanelResizeGrip)

public:
    PanelResizeGrip(Qt::Edges edges, QWidget *parent);

    Qt::Edges edges() const { return m_edges; }
    // While the window's height is fixed a corner resizes only the width, and shows that by its cursor.
    void setVerticalLocked(bool locked);

signals:
    void resizeStarted();
    // The edges held, so that the window can keep the others where they are when it settles its size.
    void resizeEnded(Qt::Edges edges);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void endResize();

    Qt::Edges m_edges;
    bool m_resizing = false;
    QPoint m_pressPosition;
    QRect m_startGeometry;
};

// The window geometry after the pointer moved by delta while the given edges were held, the opposite edges
// staying put and the size kept within minimum and maximum.
QRect resizedByEdges(
    const QRect &start, Qt::Edges edges, const QPoint &delta, const QSize &minimum, const QSize &maximum);
