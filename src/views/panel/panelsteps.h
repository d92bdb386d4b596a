// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/goalrepeat.h"

#include <QObject>
#include <QUuid>

#include <functional>
#include <memory>

class BatchedRefresh;
class TodoStore;
class UndoHistory;
class UndoStep;

// The changes the person makes in this panel, each a step of the undo history; ticking, deleting, a repetition,
// undo and redo run on the list spring, so that the rows they move slide. It tells whether the store's changes
// since the list last showed them came from such a step: that refresh is then the person's own.
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
    // That many places in the store's list, which holds the goals of other days too.
    void move(const QUuid &id, int storePlaces);
    void deleteGoal(const QUuid &id);
    void removeDoneGoals();
    void undo();
    void redo();
    void perform(std::unique_ptr<UndoStep> step);

    // Once per refresh: whether a step of this panel's changed the store since the last call.
    bool takeOwnChange();

private:
    void take(const std::function<void()> &step);

    TodoStore *m_store = nullptr;
    UndoHistory *m_history = nullptr;
    BatchedRefresh *m_refresh = nullptr;
    bool m_isTakingStep = false;
    bool m_hasOwnChange = false;
};
