// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/todoitem.h"

#include <QDate>
#include <QObject>
#include <QSet>
#include <QUuid>

#include <optional>

class GoalList;

// Which goals stand in the day's list: every goal but those repeating on other days. A goal the person just
// gave a rule that keeps it out of today stays a moment longer, its row saying so, so that it does not simply
// vanish under their hand.
class TodaysList final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TodaysList)

public:
    TodaysList(GoalList *list, QObject *parent);

    // Whether the new day changes which of `todos` stand in the list. Until a day is set every goal does.
    bool setDay(QDate day, const QList<TodoItem> &todos);
    bool isShown(const TodoItem &todo) const;
    // The goals of `todos` that stand in the list: `todos` itself, shared and not copied, while every goal does,
    // so that a long list is not copied at every change.
    QList<TodoItem> shownOf(const QList<TodoItem> &todos) const;
    // The list counts places among the goals it shows; the store's list `todos` also holds those of other days.
    // How many places in `todos` the goal moves for `places` in the list; nothing where it would leave the list.
    std::optional<int> storePlaces(const QList<TodoItem> &todos, const QUuid &id, int places) const;
    // The person chose `repeat` for the goal.
    void repeatChosen(const QUuid &id, const GoalRepeat &repeat);

signals:
    // The goals kept for a moment have gone: the list is to show the day's goals again.
    void farewellsEnded();

private:
    GoalList *m_list = nullptr;
    QDate m_day;
    QSet<QUuid> m_leaving;
};
