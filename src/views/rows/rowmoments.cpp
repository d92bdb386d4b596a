// SPDX-License-Identifier: GPL-3.0-or-later

#include "rowmoments.h"

#include "momentwords.h"
#include "views/kit/goalrow.h"
#include "views/kit/hierarchicalcolors.h"
#include "views/kit/symbolglyph.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>

namespace
{

void showLabel(QLabel *label, const QString &shortText, const QString &spoken)
{
    label->setVisible(!shortText.isEmpty());
    label->setText(shortText);
    label->setAccessibleName(spoken);
    label->setToolTip(spoken);
}

} // namespace

RowMoments::RowMoments(GoalRow *row, QWidget *before)
    : m_row(row)
    , m_before(before)
{
}

QStringList RowMoments::show(const TodoItem &goal)
{
    // Reading the local clock looks up the zone each time, and a long list shows many rows with no moment.
    if (!goal.reminder.isSet() && !goal.due.isSet() && !m_reminderTime && !m_dueDate)
        return {};
    const QDateTime now = QDateTime::currentDateTime();
    QStringList spoken;
    const std::optional<ShownReminder> reminder = shownReminder(goal, now);
    m_isReminderOverdue = reminder && reminder->isOverdue;
    if (reminder && !m_reminderTime) {
        // The bell and its time stand before the due date.
        m_reminderTime = newLabel(m_dueDate ? m_dueDate : m_before);
        m_reminderGlyph = new SymbolGlyph(SymbolGlyph::Symbol::Bell, m_row);
        QHBoxLayout *layout = m_row->contentLayout();
        layout->insertWidget(layout->indexOf(m_reminderTime), m_reminderGlyph, 0, Qt::AlignVCenter);
    }
    if (m_reminderTime) {
        const QString reminds = reminder ? MomentWords::reminder(reminder->moment, now) : QString();
        m_reminderGlyph->setVisible(reminder.has_value());
        showLabel(m_reminderTime, reminder ? MomentWords::shortMoment(reminder->moment, now) : QString(), reminds);
        if (reminder)
            spoken.append(reminds);
    }
    m_isDuePassed = goal.due.hasPassedAt(now) && !goal.completed;
    if (goal.due.isSet() && !m_dueDate)
        m_dueDate = newLabel(m_before);
    if (m_dueDate) {
        const QString due = goal.due.isSet() ? MomentWords::due(goal.due, now) : QString();
        showLabel(m_dueDate, goal.due.isSet() ? MomentWords::shortDue(goal.due, now) : QString(), due);
        if (goal.due.isSet())
            spoken.append(due);
    }
    return spoken;
}

void RowMoments::updateColors(const QPalette &palette)
{
    const auto colorOf = [&palette](bool passed) {
        return passed ? HierarchicalColors::accent(palette) : HierarchicalColors::tertiary(palette);
    };
    if (m_reminderTime) {
        m_reminderGlyph->setColor(colorOf(m_isReminderOverdue));
        HierarchicalColors::setForeground(m_reminderTime, QPalette::WindowText, colorOf(m_isReminderOverdue));
    }
    if (m_dueDate)
        HierarchicalColors::setForeground(m_dueDate, QPalette::WindowText, colorOf(m_isDuePassed));
}

QLabel *RowMoments::newLabel(QWidget *before)
{
    auto *label = new QLabel(m_row);
    QHBoxLayout *layout = m_row->contentLayout();
    layout->insertWidget(layout->indexOf(before), label, 0, Qt::AlignVCenter);
    return label;
}
