// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCoreApplication>
#include <QDateTime>

#include <optional>
#include <variant>

// The moments a person picks for a reminder, worked out from the local wall clock at `now`.
namespace ReminderChoices
{

QDateTime inOneHour(const QDateTime &now);
// 18:00 today; nothing once it is 18:00.
std::optional<QDateTime> thisEvening(const QDateTime &now);
// 09:00 tomorrow.
QDateTime tomorrowMorning(const QDateTime &now);
// Ten minutes after `now`, for a reminder put off from its notification.
QDateTime inTenMinutes(const QDateTime &now);
// The time today, or tomorrow once it has passed today.
QDateTime nextAt(const QDateTime &now, QTime time);
// A date and a time in local time, with a plain reason when it is no moment after `now`.
std::variant<QDateTime, QString> chosenMoment(QDate date, QTime time, const QDateTime &now);
// `--remind-at`'s value: "15:00" (today, or tomorrow once passed) or "2026-12-10 09:00"; a text it cannot read
// or a moment already past gives what is wrong.
std::variant<QDateTime, QString> fromCommandLine(const QString &text, const QDateTime &now);

} // namespace ReminderChoices
