// SPDX-License-Identifier: GPL-3.0-or-later

#include "panelsteps.h"

#include "batchedrefresh.h"
#include "model/addgoals.h"
#include "model/goalsteps.h"
#include "model/removegoals.h"
#include "model/todoitem.h"
#include "model/todostore.h"
#include "model/undohistory.h"

#include <utility>

PanelSteps::PanelSteps(TodoStore *store, UndoHistory *history, BatchedRefresh *refresh, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_history(history)
    , m_refresh(refresh)
{
    connect(m_store, &TodoStore::todosChanged, this, [this] { m_hasOwnChange = m_hasOwnChange || m_isTakingStep; });
}

void PanelSteps::add(const QString &text)
{
    const auto split = hasLineBreak(text) ? AddGoals::Split::OneGoalPerLine : AddGoals::Split::OneGoal;
    perform(std::make_unique<AddGoals>(m_store, text, split));
}

void PanelSteps::toggle(const QUuid &id)
{
    m_refresh->withListSpring([this, id] { perform(std::make_unique<SetGoalCompleted>(m_store, id)); });
}

void PanelSteps::editText(const QUuid &id, const QString &text)
{
    perform(std::make_unique<EditGoalText>(m_store, id, text));
}

void PanelSteps::setRepeat(const QUuid &id, const GoalRepeat &repeat)
{
    m_refresh->withListSpring([this, id, repeat] { perform(std::make_unique<SetGoalRepeat>(m_store, id, repeat)); });
}

void PanelSteps::move(const QUuid &id, int storePlaces)
{
    perform(std::make_unique<MoveGoal>(m_store, id, storePlaces));
}

void PanelSteps::deleteGoal(const QUuid &id)
{
    m_refresh->withListSpring(
        [this, id] { perform(std::make_unique<RemoveGoals>(m_store, RemoveGoals::Which::OneGoal, id)); });
}

void PanelSteps::removeDoneGoals()
{
    m_refresh->withListSpring(
        [this] { perform(std::make_unique<RemoveGoals>(m_store, RemoveGoals::Which::DoneGoals)); });
}

void PanelSteps::undo()
{
    m_refresh->withListSpring([this] { take([this] { m_history->undo(); }); });
}

void PanelSteps::redo()
{
    m_refresh->withListSpring([this] { take([this] { m_history->redo(); }); });
}

void PanelSteps::perform(std::unique_ptr<UndoStep> step)
{
    take([this, &step] { m_history->perform(std::move(step)); });
}

bool PanelSteps::takeOwnChange()
{
    return std::exchange(m_hasOwnChange, false);
}

void PanelSteps::take(const std::function<void()> &step)
{
    m_isTakingStep = true;
    step();
    m_isTakingStep = false;
}
