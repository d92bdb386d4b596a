// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/goalrepeat.h"

#include <QString>

// How a goal's repetition reads, to a screen reader and in the goal's menu, in the person's language.
namespace RepeatWords
{

// "repeats every day", "repeats on Monday, Wednesday and Friday"; empty for a goal that does not repeat.
QString description(const GoalRepeat &repeat);
// The day's name, Qt numbering 1 for Monday to 7 for Sunday.
QString dayName(int day);

} // namespace RepeatWords
