// SPDX-License-Identifier: GPL-3.0-or-later

#include "remindernotices.h"

#include "app/intake/intakemodule.h"
#include "logging.h"
#include "model/goalsteps.h"
#include "model/reminderchoices.h"

using namespace Qt::StringLiterals;

namespace
{

constexpr auto DoneAction = "done";
constexpr auto LaterAction = "later";

} // namespace

ReminderNotices::ReminderNotices(
    TodoStore *store, UndoHistory *history, std::function<QString()> panelTitle, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_history(history)
    , m_panelTitle(std::move(panelTitle))
{
}

void ReminderNotices::showRung(const QList<TodoItem> &goals)
{
    // The service may show the body as markup; a goal's text and a title are plain.
    const QString title = m_panelTitle().toHtmlEscaped();
    const QStringList actions { QLatin1StringView(DoneAction), tr("Mark as Done"), QLatin1StringView(LaterAction),
        tr("In 10 Minutes") };
    for (const TodoItem &goal : goals)
        show(goal.text, title, actions, goal.id);
}

void ReminderNotices::showMissed(const QList<TodoItem> &goals)
{
    if (goals.size() == 1) {
        showRung(goals);
        return;
    }
    // One message however many passed: a day away is no flood of them.
    QStringList texts;
    for (const TodoItem &goal : goals)
        texts.append(goal.text.toHtmlEscaped());
    show(tr("%n reminders while Mirel was not running", nullptr, int(goals.size())), texts.join(u'\n'), {}, {});
}

void ReminderNotices::show(const QString &summary, const QString &body, const QStringList &actions, const QUuid &id)
{
    QString error;
    IntakeModule *intake = IntakeModule::load(&error);
    const auto failed = [this](const QString &why) {
        if (std::exchange(m_hasToldOfNoService, true))
            return;
        qCWarning(lcMirel, "no desktop notification shows the reminders, only the panel does: %s", qPrintable(why));
    };
    if (!intake) {
        failed(error);
        return;
    }
    intake->showNotificationWithActions(
        summary, body, actions, this, [this, id](const QString &key) { takeAction(id, key); }, failed);
}

void ReminderNotices::takeAction(const QUuid &id, const QString &key)
{
    const QList<TodoItem> &todos = m_store->todos();
    const auto goal = std::find_if(todos.cbegin(), todos.cend(), [&id](const TodoItem &todo) { return todo.id == id; });
    if (goal == todos.cend())
        return;
    if (key == QLatin1StringView(DoneAction) && !goal->completed) {
        m_history->perform(std::make_unique<SetGoalCompleted>(m_store, id));
    } else if (key == QLatin1StringView(LaterAction)) {
        // A repeating goal keeps its time of day for the days after.
        const QDateTime later = ReminderChoices::inTenMinutes(QDateTime::currentDateTime());
        m_history->perform(std::make_unique<SetGoalReminder>(m_store, id,
            goal->reminder.isSet() ? GoalReminder(later, goal->reminder.timeOfDay()) : GoalReminder(later)));
    }
}
