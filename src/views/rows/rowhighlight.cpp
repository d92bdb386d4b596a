// SPDX-License-Identifier: GPL-3.0-or-later

#include "rowhighlight.h"

#include "views/kit/focusring.h"
#include "views/kit/goalrow.h"

#include <QApplication>
#include <QFocusEvent>

RowHighlight::RowHighlight(QWidget *row, GoalRow *chrome, QWidget *checkbox, QWidget *deleteButton, bool isPanelHovered)
    : QObject(row)
    , m_row(row)
    , m_chrome(chrome)
    , m_checkbox(checkbox)
    , m_deleteButton(deleteButton)
    , m_isPanelHovered(isPanelHovered)
{
    row->installEventFilter(this);
    checkbox->installEventFilter(this);
    deleteButton->installEventFilter(this);
    show();
}

void RowHighlight::setPanelHovered(bool hovered)
{
    if (m_isPanelHovered == hovered)
        return;
    m_isPanelHovered = hovered;
    show();
}

void RowHighlight::setEditing(bool editing)
{
    m_isEditing = editing;
    show();
}

bool RowHighlight::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_row && (event->type() == QEvent::Enter || event->type() == QEvent::Leave)) {
        m_isRowHovered = event->type() == QEvent::Enter;
        show();
    } else if ((watched == m_checkbox || watched == m_deleteButton)
        && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        followFocus(static_cast<QFocusEvent *>(event));
    }
    return false;
}

void RowHighlight::followFocus(const QFocusEvent *event)
{
    // Only focus that came by keyboard counts, not the focus a window hands its first control. By the time a
    // widget hears it lost the focus, the application already names the one that gained it.
    // The goal's menu, opened from the keyboard and closed again, leaves the goal as it found it.
    if (event->reason() == Qt::PopupFocusReason)
        return;
    const QWidget *focused = QApplication::focusWidget();
    const bool hasFocus = event->gotFocus()
        ? isKeyboardNavigation(event->reason())
        : m_hasKeyboardFocus && (focused == m_checkbox || focused == m_deleteButton);
    if (hasFocus == m_hasKeyboardFocus)
        return;
    m_hasKeyboardFocus = hasFocus;
    show();
}

void RowHighlight::show()
{
    const bool highlighted = m_isRowHovered && m_isPanelHovered && !m_isEditing;
    m_chrome->setHighlighted(highlighted);
    m_deleteButton->setVisible(highlighted || (m_hasKeyboardFocus && !m_isEditing));
}
