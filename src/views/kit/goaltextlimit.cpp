// SPDX-License-Identifier: GPL-3.0-or-later

#include "goaltextlimit.h"

#include "model/todoitem.h"

#include <QLineEdit>
#include <QTimer>
#include <QToolTip>

#include <limits>
#include <utility>

GoalTextLimit::GoalTextLimit(QLineEdit *field, Goals goals)
    : QObject(field)
    , m_field(field)
    , m_goals(goals)
{
    // A line edit silently cuts pasted text at 32,767 characters; the limit here is the one that counts, and
    // it refuses rather than cuts.
    field->setMaxLength(std::numeric_limits<int>::max());
    connect(field, &QLineEdit::textChanged, this, &GoalTextLimit::clearRefusal);
}

bool GoalTextLimit::allowsText()
{
    const QString text = m_field->text();
    if (m_goals == Goals::One ? fitsInAGoal(text) : eachLineFitsInAGoal(text))
        return true;
    const QString why
        = tr("A goal can hold at most %L1 characters; shorten the text to keep it.").arg(MaxGoalTextLength);
    m_isRefusing = true;
    m_field->setToolTip(why);
    // Only a person at the panel reads it; a refusal when the panel loses the focus waits in the tooltip. A
    // tooltip hides at the next click or focus change, so it shows once the one that refused has passed.
    if (m_field->window()->isActiveWindow()) {
        QTimer::singleShot(0, this, [this] {
            if (m_isRefusing)
                QToolTip::showText(m_field->mapToGlobal(QPoint(0, m_field->height())), m_field->toolTip(), m_field);
        });
    }
    return false;
}

void GoalTextLimit::clearRefusal()
{
    if (!std::exchange(m_isRefusing, false))
        return;
    m_field->setToolTip(QString());
    QToolTip::hideText();
}
