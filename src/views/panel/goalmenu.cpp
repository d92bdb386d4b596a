// SPDX-License-Identifier: GPL-3.0-or-later

#include "goalmenu.h"

#include "menucheckstyle.h"
#include "model/reminderchoices.h"
#include "remindertimedialog.h"
#include "views/rows/repeatwords.h"

#include <QAction>
#include <QTimer>

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
    makeRemindMenu();
    new MenuCheckStyle(this);
    new MenuCheckStyle(m_repeatMenu);
    // An item pressed by a screen reader leaves Qt's menu open, where the next click would land on an item.
    connect(this, &QMenu::triggered, this, &QMenu::close);
    for (QMenu *submenu : { m_repeatMenu, m_remindMenu }) {
        connect(submenu, &QMenu::triggered, this, [this, submenu] {
            submenu->close();
            close();
        });
    }
}

void GoalMenu::makeRemindMenu()
{
    // Each moment is worked out when it is chosen, from the clock of that moment.
    using namespace ReminderChoices;
    const auto remindAt = [this](const QDateTime &moment) { emit reminderChosen(m_id, GoalReminder(moment)); };
    m_remindMenu = addMenu(tr("Remind Me"));
    m_remindMenu->addAction(tr("In 1 Hour"), this, [remindAt] { remindAt(inOneHour(QDateTime::currentDateTime())); });
    // Shown only before 18:00; chosen from a menu left open past it, it leaves the reminder as it was.
    m_thisEvening = m_remindMenu->addAction(tr("This Evening"), this, [remindAt] {
        if (const std::optional<QDateTime> evening = thisEvening(QDateTime::currentDateTime()))
            remindAt(*evening);
    });
    m_remindMenu->addAction(
        tr("Tomorrow Morning"), this, [remindAt] { remindAt(tomorrowMorning(QDateTime::currentDateTime())); });
    // Out of the menu's own event handling first, which the dialog's would run inside.
    m_remindMenu->addAction(
        tr("At a Time\u2026"), this, [this] { QTimer::singleShot(0, this, &GoalMenu::chooseReminderTime); });
    m_remindMenu->addSeparator();
    m_noReminder = m_remindMenu->addAction(tr("No Reminder"), this, [this] { emit reminderChosen(m_id, {}); });
}

void GoalMenu::chooseReminderTime()
{
    auto *dialog = new ReminderTimeDialog(m_reminder.moment(), parentWidget());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &ReminderTimeDialog::chosen, this,
        [this, id = m_id](const QDateTime &moment) { emit reminderChosen(id, GoalReminder(moment)); });
    dialog->open();
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
    m_reminder = goal.reminder;
    m_thisEvening->setVisible(ReminderChoices::thisEvening(QDateTime::currentDateTime()).has_value());
    m_noReminder->setVisible(goal.reminder.isSet());
    popup(globalPosition);
}
