// SPDX-License-Identifier: GPL-3.0-or-later

#include "windowdraghandle.h"

#include <QAbstractButton>
#include <QEvent>
#include <QLineF>
#include <QMouseEvent>

#include <utility>

namespace
{

// The window moves only once the pointer has travelled this far, so clicks stay clicks.
constexpr qreal DragThreshold = 10;

} // namespace

WindowDragHandle::WindowDragHandle(QWidget *handle)
    : QObject(handle)
    , m_handle(handle)
{
    handle->installEventFilter(this);
}

void WindowDragHandle::watchButton(QAbstractButton *button)
{
    button->installEventFilter(this);
}

bool WindowDragHandle::eventFilter(QObject *watched, QEvent *event)
{
    const bool isHandle = watched == m_handle;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        // A button still gets its press: a click that stays short of the threshold is a click.
        return press(static_cast<QMouseEvent *>(event)) && isHandle;
    case QEvent::MouseMove:
        return move(static_cast<QMouseEvent *>(event), watched);
    case QEvent::MouseButtonRelease:
        // A button still sees its release so that it stops looking pressed; it is no longer down, so the
        // release after a drag does not click.
        return release(static_cast<QMouseEvent *>(event)) && isHandle;
    default:
        return false;
    }
}

bool WindowDragHandle::press(const QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return false;
    m_pressPosition = event->globalPosition();
    m_isDragging = false;
    return true;
}

bool WindowDragHandle::move(const QMouseEvent *event, QObject *source)
{
    if (!m_pressPosition || !(event->buttons() & Qt::LeftButton))
        return false;
    if (!m_isDragging) {
        if (QLineF(*m_pressPosition, event->globalPosition()).length() < DragThreshold)
            return false;
        m_isDragging = true;
        // A button that saw the press would click on release, and the window follows the pointer, so the
        // release would land on it: it is a drag now, not a press. The moves that follow are kept from it
        // (the implicit grab of the press still sends them there), so it does not go down again.
        if (auto *button = qobject_cast<QAbstractButton *>(source))
            button->setDown(false);
    }
    emit dragMoved(event->globalPosition());
    return true;
}

bool WindowDragHandle::release(const QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return false;
    const bool wasDragging = std::exchange(m_isDragging, false);
    m_pressPosition.reset();
    if (wasDragging)
        emit dragEnded();
    return wasDragging;
}
