// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QPointF>

#include <optional>

class QAbstractButton;
class QMouseEvent;
class QWidget;

// Moving the window by a handle: a left press on the handle, or on a button lying on it, becomes a window
// drag once the pointer has travelled far enough; short of that a click stays a click.
class WindowDragHandle final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WindowDragHandle)

public:
    // Owned by the handle.
    explicit WindowDragHandle(QWidget *handle);
    void watchButton(QAbstractButton *button);

signals:
    // The pointer moved during a drag, to `globalPosition` in Qt's screen coordinates; the window follows it.
    void dragMoved(QPointF globalPosition);
    void dragEnded();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Each returns whether the event belonged to a window drag and must go no further.
    bool press(const QMouseEvent *event);
    bool move(const QMouseEvent *event, QObject *source);
    bool release(const QMouseEvent *event);

    QObject *m_handle = nullptr;
    // Where the button went down, in global coordinates: the window moves under the pointer once a drag runs,
    // so only the screen is a stable frame. Before the threshold is reached nothing has moved, so the distance
    // is the same as in the handle's own coordinates.
    std::optional<QPointF> m_pressPosition;
    bool m_isDragging = false;
};
