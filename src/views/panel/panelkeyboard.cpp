// SPDX-License-Identifier: GPL-3.0-or-later

#include "panelkeyboard.h"

#include "views/addarea/addarea.h"
#include "views/header/panelheader.h"
#include "views/kit/glyphbutton.h"
#include "views/list/goallist.h"
#include "views/rows/todorowview.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

PanelKeyboard::PanelKeyboard(QWidget *view, PanelHeader *header, GoalList *list, AddArea *addArea)
    : QObject(view)
    , m_view(view)
    , m_header(header)
    , m_list(list)
    , m_addArea(addArea)
{
    view->installEventFilter(this);
}

void PanelKeyboard::updateTabOrder()
{
    QWidgetList chain;
    if (QWidget *editor = m_header->titleEditor())
        chain << editor;
    chain << m_header->addButton();
    chain << m_list->focusChain();
    if (QWidget *field = m_addArea->newGoalField())
        chain << field;
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain.at(i - 1), chain.at(i));
}

QPoint PanelKeyboard::menuPosition() const
{
    const QWidget *anchor = m_header;
    for (const QWidget *widget = m_view->focusWidget(); widget && widget != m_view; widget = widget->parentWidget()) {
        if (qobject_cast<const TodoRowView *>(widget)) {
            anchor = widget;
            break;
        }
    }
    return anchor->mapToGlobal(QPoint(0, anchor->height()));
}

void PanelKeyboard::takeFocusFrom(const QWidget *area)
{
    // Only from a field that is about to go away: a focused widget that is hidden passes the focus on to the
    // next one in the chain, which would be a row's checkbox. The field's focus loss finds its edit over. The
    // window's own focus child counts too, so that an inactive window comes back without a focus ring.
    const QWidget *focused = m_view->focusWidget();
    if (focused && area->isAncestorOf(focused))
        m_view->setFocus(Qt::OtherFocusReason);
}

void PanelKeyboard::dropUnseenFocus()
{
    // Right after this, the window hands the keyboard back to the control that last had it, or to the first
    // button in the tab chain when that one is gone, and neither draws a focus ring then: a typed space would
    // tick a goal that nothing shows as chosen. A click gives the focus only to a text field, whose caret
    // shows where typing goes; anything else the keyboard reaches again with Tab. The window's record is
    // the one that counts: the view's own can name the view while the window's names nothing.
    const QWidget *focused = m_view->window()->focusWidget();
    const bool isOpenEditor = qobject_cast<const QLineEdit *>(focused) && focused->isVisible();
    if (focused != m_view && !isOpenEditor)
        m_view->setFocus(Qt::OtherFocusReason);
}

bool PanelKeyboard::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_view)
        return false;
    // The window passes its activation on to its children before it gives the focus back.
    if (event->type() == QEvent::WindowActivate)
        dropUnseenFocus();
    // Keys reach the view when its focused child, or the view itself, leaves them.
    return event->type() == QEvent::KeyPress && handleKey(static_cast<const QKeyEvent *>(event));
}

bool PanelKeyboard::handleKey(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier) {
        emit menuRequested(menuPosition());
        return true;
    }
    // With no goal focused, Up reaches the last goal and Down the first; an open field keeps its keys.
    const bool isField = qobject_cast<const QLineEdit *>(m_view->focusWidget()) != nullptr;
    if (modifiers != Qt::NoModifier || isField)
        return false;
    if (event->key() == Qt::Key_Up) {
        m_list->focusGoal(m_list->goalCount() - 1, Qt::BacktabFocusReason);
        return true;
    }
    if (event->key() == Qt::Key_Down) {
        m_list->focusGoal(0, Qt::TabFocusReason);
        return true;
    }
    return false;
}
