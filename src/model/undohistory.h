// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

#include <deque>
#include <memory>

// One change a person made, able to take itself back and to happen again. A step names the goals it acts on
// by id, so undoing it never takes back a change that came from elsewhere in between.
class UndoStep
{
public:
    virtual ~UndoStep() = default;

    // What the step did, for the menu: Delete “Milk”.
    virtual QString text() const = 0;
    // Makes the change; the first time, the step also notes what its undo needs. False when nothing changed
    // (another program has replaced what the step changed): the history then forgets the step and, after the
    // first time, goes on to the next one.
    virtual bool redo() = 0;
    // False when nothing changed, as for redo; the history then forgets the step and goes on to the one before.
    virtual bool undo() = 0;
};

// The person's changes of this run, to be undone and redone in turn. It lives as long as the panel and is not
// kept across restarts; only the newest steps are held.
// Not QUndoStack: that is Qt Gui, which the model does not link, and its undo and redo stop at a step that
// changes nothing (another program replaced what it changed), where these go on to the next one.
class UndoHistory final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(UndoHistory)

public:
    using QObject::QObject;

    static constexpr int StepLimit = 100;

    // Runs the step and keeps it for undo; the steps that were undone can then no longer be redone. False when
    // the step changed nothing, and is not kept.
    bool perform(std::unique_ptr<UndoStep> step);
    // Each takes on the next step that changes something, dropping those on the way that change nothing; false
    // when none did.
    bool undo();
    bool redo();

    bool canUndo() const { return m_undone < m_steps.size(); }
    bool canRedo() const { return m_undone > 0; }
    // The text of the step that undo or redo would take on, or empty when there is none.
    QString undoText() const;
    QString redoText() const;

signals:
    // Before a new step runs, while the state it starts from can still be brought up to date.
    void aboutToPerform();
    // After every perform, undo and redo.
    void changed();

private:
    // Oldest first; the last m_undone of them were undone.
    std::deque<std::unique_ptr<UndoStep>> m_steps;
    std::size_t m_undone = 0;
};
