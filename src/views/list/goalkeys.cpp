// SPDX-License-Identifier: GPL-3.0-or-later

#include "goalkeys.h"

#include <QKeyEvent>

namespace GoalKeys
{

Action actionOf(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::AltModifier && event->key() == Qt::Key_Up)
        return Action::MoveUp;
    if (modifiers == Qt::AltModifier && event->key() == Qt::Key_Down)
        return Action::MoveDown;
    if (modifiers != Qt::NoModifier)
        return Action::None;
    switch (event->key()) {
    case Qt::Key_Up:
        return Action::FocusAbove;
    case Qt::Key_Down:
        return Action::FocusBelow;
    case Qt::Key_Delete:
        return Action::Delete;
    case Qt::Key_F2:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Action::Edit;
    default:
        return Action::None;
    }
}

} // namespace GoalKeys
