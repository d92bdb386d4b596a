// SPDX-License-Identifier: GPL-3.0-or-later

#include "reminderwords.h"

#include <QCoreApplication>
#include <QLocale>

namespace
{

constexpr int DaysNamedByWeekday = 6;

// The locale's short time without seconds, which some locales' short form carries and a reminder never has.
QString timeText(const QLocale &locale, QTime time)
{
    QString format = locale.timeFormat(QLocale::ShortFormat);
    format.remove(QStringLiteral(":ss"));
    return locale.toString(time, format);
}

} // namespace

namespace ReminderWords
{

QString shortMoment(const QDateTime &moment, const QDateTime &now)
{
    const QLocale locale;
    const QDateTime local = moment.toLocalTime();
    const qint64 days = now.toLocalTime().date().daysTo(local.date());
    const QString time = timeText(locale, local.time());
    if (days == 0)
        return time;
    if (std::abs(days) <= DaysNamedByWeekday)
        return locale.dayName(local.date().dayOfWeek(), QLocale::ShortFormat) + u' ' + time;
    return locale.toString(local.date(), QLocale::ShortFormat) + u' ' + time;
}

QString description(const QDateTime &moment, const QDateTime &now)
{
    return QCoreApplication::translate("ReminderWords", "reminder at %1").arg(shortMoment(moment, now));
}

} // namespace ReminderWords
