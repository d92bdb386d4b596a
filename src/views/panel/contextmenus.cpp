// SPDX-License-Identifier: GPL-3.0-or-later

#include "contextmenus.h"

#include "goalmenu.h"
#include "panelsteps.h"
#include "todayslist.h"
#include "views/list/goallist.h"
#include "views/rows/todorowview.h"

ContextMenus::ContextMenus(QWidget *view, GoalList *list, TodaysList *today, PanelSteps *steps)
    : QObject(view)
    , m_view(view)
    , m_list(list)
    , m_goalMenu(new GoalMenu(view))
{
    connect(m_goalMenu, &GoalMenu::editRequested, this, [this](const QUuid &id) {
        if (TodoRowView *row = m_list->row(id))
            row->editFromKeyboard();
    });
    connect(m_goalMenu, &GoalMenu::toggleRequested, steps, &PanelSteps::toggle);
    connect(m_goalMenu, &GoalMenu::deleteRequested, steps, &PanelSteps::deleteGoal);
    connect(m_goalMenu, &GoalMenu::repeatChosen, this, [today, steps](const QUuid &id, const GoalRepeat &repeat) {
        today->repeatChosen(id, repeat);
        steps->setRepeat(id, repeat);
    });
    connect(m_goalMenu, &GoalMenu::reminderChosen, steps, &PanelSteps::setReminder);
}

void ContextMenus::request(const QPoint &globalPosition, QWidget *target)
{
    // A goal's own menu, except while it is being edited: its editor gives up its text menu for the panel's.
    for (QWidget *widget = target; widget && widget != m_view; widget = widget->parentWidget()) {
        const auto *row = qobject_cast<const TodoRowView *>(widget);
        if (row && !row->isEditing()) {
            m_goalMenu->popupFor(row->todo(), globalPosition);
            return;
        }
    }
    emit panelMenuRequested(globalPosition);
}
