// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "panelgeometry.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QRectF>

#include <optional>

class KeyablePanel;
class PanelSettings;
class QVariantAnimation;

// Where the panel stands, in Qt's screen coordinates throughout: its first frame, the header drag, the snap
// to the screen edges and its animation, content resizes, the panel brought back when the screens change,
// and the frame saved when the panel comes to rest.
class PanelPlacement final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PanelPlacement)

public:
    PanelPlacement(KeyablePanel *panel, PanelSettings *settings, QObject *parent = nullptr);

    // The saved frame, or the default one, or in screenshot mode the frame beside the screen's centre.
    void placeAtStart(bool screenshotMode);
    // The header is dragged and the pointer is at `globalPosition`.
    void followDrag(QPointF globalPosition);
    void endDrag();
    // Sizes the panel to what the content wants on the next turn of the event loop, never inside the
    // content's own layout pass; the left and top edges stay.
    void resizeToContent(QSizeF size);

private:
    void stopForLiveResize();
    void snapAfterLiveResize();
    std::optional<QRectF> savedFrame() const;
    void saveFrame();
    QRectF frame() const;
    void setFrame(const QRectF &frame);
    void snapToScreenEdges();
    void stopSnapAnimation();
    void bringOntoScreen();
    // Brings the panel wholly onto a screen whenever a change of the screens leaves an edge cutting it.
    void watchScreens();

    // The delegate drops the panel before its own children go.
    QPointer<KeyablePanel> m_panel;
    PanelSettings *m_settings = nullptr;
    bool m_snapOnFirstSizing = false;
    // While the person resizes the panel by its border, it may stand past an edge until the resize ends.
    bool m_isLiveResizing = false;
    std::optional<PanelGeometry::DragStart> m_dragStart;
    // Where the panel was placed, whose left and top edges content resizes keep, and where the last of them
    // put it, in Qt's pixels.
    QRectF m_placedFrame;
    QRect m_contentSizedGeometry;
    // Made on the first snap that moves the panel.
    QVariantAnimation *m_snapAnimation = nullptr;
};
