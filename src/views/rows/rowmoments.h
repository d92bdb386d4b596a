// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/todoitem.h"

#include <QStringList>

class GoalRow;
class QLabel;
class QPalette;
class QWidget;
class SymbolGlyph;

// The moments a row shows beside its goal's text: the bell and the time of its reminder, and the due date
// another calendar client set, each in the row's tertiary colour, or the accent once passed on an open goal.
// Their widgets are made with the first of them shown: most rows never show either, and a long list makes a row
// for each goal in view.
class RowMoments final
{
public:
    // They stand in the row's layout before `before`.
    RowMoments(GoalRow *row, QWidget *before);

    // Shows the goal's as of now; what a screen reader should hear of them, the reminder first.
    QStringList show(const TodoItem &goal);
    void updateColors(const QPalette &palette);

private:
    QLabel *newLabel(QWidget *before);

    GoalRow *m_row = nullptr;
    QWidget *m_before = nullptr;
    SymbolGlyph *m_reminderGlyph = nullptr;
    QLabel *m_reminderTime = nullptr;
    QLabel *m_dueDate = nullptr;
    bool m_isReminderOverdue = false;
    bool m_isDuePassed = false;
};
