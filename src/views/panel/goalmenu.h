// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/todoitem.h"

#include <QMenu>

class QAction;

// One goal's own menu, on a secondary click on its row or the menu keys on it: edit, mark as done or not, delete,
// how it repeats, with Never, Every Day, Weekdays and each day of the week as checkable items, and when it
// reminds the person (in an hour, this evening, tomorrow morning, at a time chosen in a small dialog). Days of the
// week are ticked and unticked with the menu staying open, and the rule they make is reported once, as the repeat
// menu closes, so that a goal never leaves today's list between two days being set. One menu serves every goal,
// brought up to date with the goal at each opening; it reports what was chosen, for that goal's id.
class GoalMenu final : public QMenu
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GoalMenu)

public:
    explicit GoalMenu(QWidget *parent = nullptr);

    void popupFor(const TodoItem &goal, const QPoint &globalPosition);
    QMenu *repeatMenu() const { return m_repeatMenu; }
    QMenu *remindMenu() const { return m_remindMenu; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    void editRequested(const QUuid &id);
    void toggleRequested(const QUuid &id);
    void deleteRequested(const QUuid &id);
    void repeatChosen(const QUuid &id, const GoalRepeat &repeat);
    // An unset reminder for No Reminder.
    void reminderChosen(const QUuid &id, const GoalReminder &reminder);

private:
    QAction *addRepeatItem(const QString &text, const GoalRepeat &repeat);
    void toggleWeekday(int day);
    void showChosen();
    void reportChosen();
    void makeRemindMenu();
    void chooseReminderTime();

    QUuid m_id;
    // The goal's rule at the opening, and the one chosen since.
    GoalRepeat m_repeat;
    GoalRepeat m_chosen;
    QAction *m_edit = nullptr;
    QAction *m_toggle = nullptr;
    QAction *m_delete = nullptr;
    QMenu *m_repeatMenu = nullptr;
    QAction *m_never = nullptr;
    QAction *m_everyDay = nullptr;
    QAction *m_weekdays = nullptr;
    // Monday first.
    QList<QAction *> m_weekly;
    QAction *m_setElsewhere = nullptr;
    QMenu *m_remindMenu = nullptr;
    QAction *m_thisEvening = nullptr;
    QAction *m_noReminder = nullptr;
    GoalReminder m_reminder;
};
