// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>
#include <QString>

// How a goal's reminder reads in its row and to a screen reader, in the person's language and locale.
namespace ReminderWords
{

// "15:00" on the day of `now`, "Thu 09:00" within a week of it, else the date and the time.
QString shortMoment(const QDateTime &moment, const QDateTime &now);
// "reminder at 15:00", for a screen reader.
QString description(const QDateTime &moment, const QDateTime &now);

} // namespace ReminderWords
