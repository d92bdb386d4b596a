// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/goaldue.h"

#include <QDateTime>
#include <QString>

// How a goal's reminder and its due date read in its row and to a screen reader, in the person's language and
// locale: by the time alone on the day of `now`, by the weekday within a week of it, else by the date.
namespace MomentWords
{

// "15:00", "Thu 09:00", or the date and the time.
QString shortMoment(const QDateTime &moment, const QDateTime &now);
// "reminder at 15:00", for a screen reader.
QString reminder(const QDateTime &moment, const QDateTime &now);
// "due today", "due Thu", "due Thu 15:00".
QString shortDue(const GoalDue &due, const QDateTime &now);
// "due Thursday", for a screen reader.
QString due(const GoalDue &due, const QDateTime &now);

} // namespace MomentWords
