// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "batchedrefresh.h"
#include "model/goalreminder.h"
#include "model/goalrepeat.h"

#include <QObject>
#include <QUuid>

#include <memory>

class TodoStore;
class UndoHistory;
class UndoStep;

// The changes the person makes in this panel, each a step of the undo history. A step that changed the goals
// asks for the list's refresh as the person's own; ticking, deleting, a repetition, undo and redo also ask for
// it on the list spring, so that the rows they move slide.
class PanelSteps final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PanelSteps)

public:
    PanelSteps(TodoStore *store, UndoHistory *history, BatchedRefresh *refresh, QObject *parent);

    // Lines pasted or typed become a goal each, as text sent from another program does, in one step.
    void add(const QString &text);
    void toggle(const QUuid &id);
    void editText(const QUuid &id, const QString &text);
    void setRepeat(const QUuid &id, const GoalRepeat &repeat);
    void setReminder(const QUuid &id, const GoalReminder &reminder);
    // That many places in the store's list, which holds the goals of other days too.
    void move(const QUuid &id, int storePlaces);
    void deleteGoal(const QUuid &id);
    void removeDoneGoals();
    void undo();
    void redo();
    // A step that changes no goal, such as the title's.
    void perform(std::unique_ptr<UndoStep> step);

private:
    void performOnGoals(std::unique_ptr<UndoStep> step, BatchedRefresh::Motion motion = BatchedRefresh::Motion::Jumps);
    void refreshIfTaken(bool tookStep, BatchedRefresh::Motion motion);

    TodoStore *m_store = nullptr;
    UndoHistory *m_history = nullptr;
    BatchedRefresh *m_refresh = nullptr;
};
