// SPDX-License-Identifier: GPL-3.0-or-later

#include "panelsteps.h"

#include "model/addgoals.h"
#include "model/goalsteps.h"
#include "model/removegoals.h"
#include "model/todoitem.h"
#include "model/undohistory.h"

PanelSteps::PanelSteps(TodoStore *store, UndoHistory *history, BatchedRefresh *refresh, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_history(history)
    , m_refresh(refresh)
{
}

void PanelSteps::add(const QString &text)
{
    const auto split = hasLineBreak(text) ? AddGoals::Split::OneGoalPerLine : AddGoals::Split::OneGoal;
    performOnGoals(std::make_unique<AddGoals>(m_store, text, split));
}

void PanelSteps::toggle(const QUuid &id)
{
    performOnGoals(std::make_unique<SetGoalCompleted>(m_store, id), BatchedRefresh::Motion::Springs);
}

void PanelSteps::editText(const QUuid &id, const QString &text)
{
    performOnGoals(std::make_unique<EditGoalText>(m_store, id, text));
}

void PanelSteps::setRepeat(const QUuid &id, const GoalRepeat &repeat)
{
    performOnGoals(std::make_unique<SetGoalRepeat>(m_store, id, repeat), BatchedRefresh::Motion::Springs);
}

void PanelSteps::setReminder(const QUuid &id, const GoalReminder &reminder)
{
    performOnGoals(std::make_unique<SetGoalReminder>(m_store, id, reminder));
}

void PanelSteps::move(const QUuid &id, int storePlaces)
{
    performOnGoals(std::make_unique<MoveGoal>(m_store, id, storePlaces));
}

void PanelSteps::deleteGoal(const QUuid &id)
{
    performOnGoals(
        std::make_unique<RemoveGoals>(m_store, RemoveGoals::Which::OneGoal, id), BatchedRefresh::Motion::Springs);
}

void PanelSteps::removeDoneGoals()
{
    performOnGoals(
        std::make_unique<RemoveGoals>(m_store, RemoveGoals::Which::DoneGoals), BatchedRefresh::Motion::Springs);
}

void PanelSteps::undo()
{
    refreshIfTaken(m_history->undo(), BatchedRefresh::Motion::Springs);
}

void PanelSteps::redo()
{
    refreshIfTaken(m_history->redo(), BatchedRefresh::Motion::Springs);
}

void PanelSteps::perform(std::unique_ptr<UndoStep> step)
{
    m_history->perform(std::move(step));
}

void PanelSteps::performOnGoals(std::unique_ptr<UndoStep> step, BatchedRefresh::Motion motion)
{
    refreshIfTaken(m_history->perform(std::move(step)), motion);
}

void PanelSteps::refreshIfTaken(bool tookStep, BatchedRefresh::Motion motion)
{
    // The store has told of the change already; this makes the refresh it asked for the person's own.
    if (tookStep)
        m_refresh->schedule(motion, ListGeometry::ChangedBy::ThisPanel);
}
