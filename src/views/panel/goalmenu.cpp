// SPDX-License-Identifier: GPL-3.0-or-later

#include "goalmenu.h"

#include "menucheckstyle.h"
#include "model/reminderchoices.h"
#include "remindertimedialog.h"
#include "views/rows/repeatwords.h"

#include <QAction>
#include <QKeyEvent>
#include <QMouseEvent>
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
        QAction *item = m_repeatMenu->addAction(tr("Weekly on %1").arg(RepeatWords::dayName(day)));
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
    // An item pressed by a screen reader leaves Qt's menu open, where the next click would land on an item. A
    // day of the week leaves it open on purpose, for the next day.
    connect(m_repeatMenu, &QMenu::triggered, this, [this](QAction *item) {
        if (const qsizetype day = m_weekly.indexOf(item); day >= 0)
            toggleWeekday(int(day) + 1);
        else
            m_chosen = GoalRepeat::fromStored(item->data().toString());
        showChosen();
    });
    connect(this, &QMenu::triggered, this, [this](QAction *item) {
        if (m_weekly.contains(item))
            return;
        m_repeatMenu->close();
        m_remindMenu->close();
        close();
    });
    // Qt hides a menu before it triggers the item clicked, so the choice is reported a turn later.
    for (QMenu *menu : { static_cast<QMenu *>(this), m_repeatMenu })
        connect(menu, &QMenu::aboutToHide, this, &GoalMenu::reportChosen, Qt::QueuedConnection);
    m_repeatMenu->installEventFilter(this);
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
    QAction *item = m_repeatMenu->addAction(text);
    item->setData(repeat.stored());
    item->setCheckable(true);
    return item;
}

bool GoalMenu::eventFilter(QObject *watched, QEvent *event)
{
    // Qt closes a menu on every item chosen by a click or a key; a day is ticked here instead, the menu staying.
    QAction *item = nullptr;
    if (event->type() == QEvent::MouseButtonRelease)
        item = m_repeatMenu->actionAt(static_cast<QMouseEvent *>(event)->position().toPoint());
    else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)
            item = m_repeatMenu->activeAction();
    }
    if (!item || !m_weekly.contains(item))
        return QMenu::eventFilter(watched, event);
    item->trigger();
    return true;
}

void GoalMenu::toggleWeekday(int day)
{
    QList<int> days = m_chosen.kind() == GoalRepeat::Kind::Weekly ? m_chosen.days() : QList<int>();
    if (days.contains(day))
        days.removeAll(day);
    else
        days.append(day);
    m_chosen = GoalRepeat::weekly(days);
}

void GoalMenu::reportChosen()
{
    if (m_chosen == m_repeat)
        return;
    m_repeat = m_chosen;
    emit repeatChosen(m_id, m_chosen);
}

void GoalMenu::popupFor(const TodoItem &goal, const QPoint &globalPosition)
{
    m_id = goal.id;
    m_repeat = goal.repeat;
    m_chosen = goal.repeat;
    // A done goal is not edited in place, nor is one longer than a goal made here can be.
    m_edit->setEnabled(!goal.completed && fitsInAGoal(goal.text));
    m_toggle->setText(goal.completed ? tr("Mark as Not Done") : tr("Mark as Done"));
    m_setElsewhere->setVisible(goal.repeat.kind() == GoalRepeat::Kind::SetElsewhere);
    m_reminder = goal.reminder;
    m_thisEvening->setVisible(ReminderChoices::thisEvening(QDateTime::currentDateTime()).has_value());
    m_noReminder->setVisible(goal.reminder.isSet());
    showChosen();
    popup(globalPosition);
}

void GoalMenu::showChosen()
{
    const GoalRepeat::Kind kind = m_chosen.kind();
    // Checked by hand, not by an action group: a second click on a day of the week takes that day away.
    m_never->setChecked(kind == GoalRepeat::Kind::Never);
    m_everyDay->setChecked(kind == GoalRepeat::Kind::EveryDay);
    m_weekdays->setChecked(kind == GoalRepeat::Kind::Weekdays);
    const QList<int> days = kind == GoalRepeat::Kind::Weekly ? m_chosen.days() : QList<int>();
    for (int day = 1; day <= 7; ++day)
        m_weekly.at(day - 1)->setChecked(days.contains(day));
    m_setElsewhere->setChecked(kind == GoalRepeat::Kind::SetElsewhere);
}
