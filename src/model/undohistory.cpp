// SPDX-License-Identifier: GPL-3.0-or-later

#include "undohistory.h"

void UndoHistory::perform(std::unique_ptr<UndoStep> step)
{
    emit aboutToPerform();
    if (!step->redo())
        return;
    m_steps.erase(m_steps.end() - qsizetype(m_undone), m_steps.end());
    m_undone = 0;
    m_steps.push_back(std::move(step));
    if (m_steps.size() > StepLimit)
        m_steps.pop_front();
    emit changed();
}

void UndoHistory::undo()
{
    if (!canUndo())
        return;
    ++m_undone;
    m_steps[m_steps.size() - m_undone]->undo();
    emit changed();
}

void UndoHistory::redo()
{
    if (!canRedo())
        return;
    m_steps[m_steps.size() - m_undone]->redo();
    --m_undone;
    emit changed();
}

QString UndoHistory::undoText() const
{
    return canUndo() ? m_steps[m_steps.size() - m_undone - 1]->text() : QString();
}

QString UndoHistory::redoText() const
{
    return canRedo() ? m_steps[m_steps.size() - m_undone]->text() : QString();
}
