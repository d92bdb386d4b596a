// SPDX-License-Identifier: GPL-3.0-or-later

#include "goalmenu.h"

#include "menucheckstyle.h"
#include "views/rows/repeatwords.h"

#include <QAction>

GoalMenu::GoalMenu(QWidget *parent)
    : QMenu(parent)
{
    m_edit = addAction(tr("Edit"), this, [this] { emit editRequested(m_id); });
    m_toggle = addAction(QString(), this, [this] { emit toggleRequested(m_id); });
    m_delete = addAction(tr("Delete"), this, [this] { emit deleteRequested(m_id); });
    addSeparator();
    m_repeatMenu = addMenu(tr("Repeat"));
    m_never = addRepeatItem(tr("Never"), GoalRepeat());
    m_everyDay = addRepeatItem(tr("Every Day"), GoalRepeat::everyDay());
    m_weekdays = addRepeatItem(tr("Weekdays"), GoalRepeat::weekdays());
    m_repeatMenu->addSeparator();
    for (int day = 1; day <= 7; ++day) {
        QAction *item = m_repeatMenu->addAction(
            tr("Weekly on %1").arg(RepeatWords::dayName(day)), this, [this, day] { toggleWeekday(day); });
        item->setCheckable(true);
        m_weekly.append(item);
    }
    // Only for a rule another program wrote: shown ticked, and choosing anything else replaces it.
    m_setElsewhere = m_repeatMenu->addAction(tr("As Set Elsewhere"));
    m_setElsewhere->setCheckable(true);
    m_setElsewhere->setEnabled(false);
    new MenuCheckStyle(this);
    new MenuCheckStyle(m_repeatMenu);
    // An item pressed by a screen reader leaves Qt's menu open, where the next click would land on an item.
    connect(this, &QMenu::triggered, this, &QMenu::close);
    connect(m_repeatMenu, &QMenu::triggered, this, [this] {
        m_repeatMenu->close();
        close();
    });
}

QAction *GoalMenu::addRepeatItem(const QString &text, const GoalRepeat &repeat)
{
    QAction *item = m_repeatMenu->addAction(text, this, [this, repeat] { emit repeatChosen(m_id, repeat); });
    item->setCheckable(true);
    return item;
}

void GoalMenu::toggleWeekday(int day)
{
    QList<int> days = m_repeat.kind() == GoalRepeat::Kind::Weekly ? m_repeat.days() : QList<int>();
    if (days.contains(day))
        days.removeAll(day);
    else
        days.append(day);
    emit repeatChosen(m_id, GoalRepeat::weekly(days));
}

void GoalMenu::popupFor(const TodoItem &goal, const QPoint &globalPosition)
{
    m_id = goal.id;
    m_repeat = goal.repeat;
    // A done goal is not edited in place, nor is one longer than a goal made here can be.
    m_edit->setEnabled(!goal.completed && fitsInAGoal(goal.text));
    m_toggle->setText(goal.completed ? tr("Mark as Not Done") : tr("Mark as Done"));
    const GoalRepeat::Kind kind = goal.repeat.kind();
    // Checked by hand, not by an action group: a second click on a day of the week takes that day away.
    m_never->setChecked(kind == GoalRepeat::Kind::Never);
    m_everyDay->setChecked(kind == GoalRepeat::Kind::EveryDay);
    m_weekdays->setChecked(kind == GoalRepeat::Kind::Weekdays);
    const QList<int> days = kind == GoalRepeat::Kind::Weekly ? goal.repeat.days() : QList<int>();
    for (int day = 1; day <= 7; ++day)
        m_weekly.at(day - 1)->setChecked(days.contains(day));
    m_setElsewhere->setVisible(kind == GoalRepeat::Kind::SetElsewhere);
    m_setElsewhere->setChecked(kind == GoalRepeat::Kind::SetElsewhere);
    popup(globalPosition);
}
