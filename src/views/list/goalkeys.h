// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QKeyEvent;

// What a key does to the goal that has the keyboard focus while its text is not being edited: Up and Down go
// to the goal above and below, Delete deletes it, F2 and Return edit it, and Alt+Up and Alt+Down move it.
namespace GoalKeys
{

enum class Action { None, FocusAbove, FocusBelow, Delete, Edit, MoveUp, MoveDown };

// The keypad's keys count as the main ones; any other modifier makes a key no action.
Action actionOf(const QKeyEvent *event);

} // namespace GoalKeys
