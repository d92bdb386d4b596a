// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QScrollArea>

class ScrollIndicator;

// The goal list's viewport. The list scrolls only when the window cannot show it whole, beside a screen's
// edge; the header and the add area stay in view. The wheel and the touchpad scroll it, with no bar taking
// the rows' width, and a row the keyboard reaches comes into view with the focus. A thin indicator over its
// right edge shows where the list is while it scrolls and while the pointer is over it.
class GoalListScroll final : public QScrollArea
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GoalListScroll)

public:
    // Takes `list` as its widget.
    GoalListScroll(QWidget *list, QWidget *parent);

    // A reorder drag held near an edge of the shown part scrolls the list by `dy` pixels.
    void scrollBy(int dy);

    ScrollIndicator *indicator() const { return m_indicator; }

private:
    ScrollIndicator *m_indicator = nullptr;
};
