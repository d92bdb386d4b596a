// SPDX-License-Identifier: GPL-3.0-or-later

#include "fieldhistorykeys.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace
{

// The keys the panel's undo and redo actions are given.
bool isHistoryKey(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Z)
        return modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier);
    return event->key() == Qt::Key_Y && modifiers == Qt::ControlModifier;
}

} // namespace

FieldHistoryKeys::FieldHistoryKeys(QLineEdit *field)
    : QObject(field)
    , m_field(field)
{
    field->installEventFilter(this);
}

bool FieldHistoryKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_field || event->type() != QEvent::ShortcutOverride)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (!isHistoryKey(key) || m_field->isUndoAvailable() || m_field->isRedoAvailable())
        return false;
    // QLineEdit claims these keys whether or not it has anything to undo; unclaimed, they reach the
    // window's shortcuts.
    event->ignore();
    return true;
}
