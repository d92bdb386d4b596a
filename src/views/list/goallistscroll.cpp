// SPDX-License-Identifier: GPL-3.0-or-later

#include "goallistscroll.h"

#include "scrollindicator.h"

#include <QApplication>
#include <QScrollBar>

GoalListScroll::GoalListScroll(QWidget *list, QWidget *parent)
    : QScrollArea(parent)
    , m_indicator(new ScrollIndicator(this))
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
    setFocusPolicy(Qt::NoFocus);
    setWidget(list);
    connect(qApp, &QApplication::focusChanged, this, [this, list](QWidget *, QWidget *now) {
        if (now && list->isAncestorOf(now))
            ensureWidgetVisible(now, 0, 0);
    });
}

void GoalListScroll::scrollBy(int dy)
{
    verticalScrollBar()->setValue(verticalScrollBar()->value() + dy);
}
