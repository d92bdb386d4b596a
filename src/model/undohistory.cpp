// SPDX-License-Identifier: GPL-3.0-or-later

#include "undohistory.h"

#include <utility>

bool UndoHistory::perform(std::unique_ptr<UndoStep> step)
{
    emit aboutToPerform();
    if (!step->redo())
        return false;
    m_steps.erase(m_steps.end() - qsizetype(m_undone), m_steps.end());
    m_undone = 0;
    m_steps.push_back(std::move(step));
    if (m_steps.size() > StepLimit)
        m_steps.pop_front();
    emit changed();
    return true;
}

bool UndoHistory::undo()
{
    const auto before = std::pair(m_steps.size(), m_undone);
    bool tookStep = false;
    while (canUndo() && !tookStep) {
        const auto step = m_steps.end() - qsizetype(m_undone) - 1;
        tookStep = (*step)->undo();
        if (tookStep)
            ++m_undone;
        else
            // Another program has replaced what the step changed: there is nothing left to take back or make again.
            m_steps.erase(step);
    }
    if (std::pair(m_steps.size(), m_undone) != before)
        emit changed();
    return tookStep;
}

bool UndoHistory::redo()
{
    const auto before = std::pair(m_steps.size(), m_undone);
    bool tookStep = false;
    while (canRedo() && !tookStep) {
        const auto step = m_steps.end() - qsizetype(m_undone);
        --m_undone;
        tookStep = (*step)->redo();
        if (!tookStep)
            m_steps.erase(step);
    }
    if (std::pair(m_steps.size(), m_undone) != before)
        emit changed();
    return tookStep;
}

QString UndoHistory::undoText() const
{
    return canUndo() ? m_steps[m_steps.size() - m_undone - 1]->text() : QString();
}

QString UndoHistory::redoText() const
{
    return canRedo() ? m_steps[m_steps.size() - m_undone]->text() : QString();
}
