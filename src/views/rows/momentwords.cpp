// SPDX-License-Identifier: GPL-3.0-or-later

#include "momentwords.h"

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

// The weekday within a week of `now`, else the date; nothing on the day of `now` itself.
QString dayText(const QLocale &locale, QDate day, const QDateTime &now, QLocale::FormatType weekday)
{
    const qint64 days = now.toLocalTime().date().daysTo(day);
    if (days == 0)
        return {};
    if (std::abs(days) <= DaysNamedByWeekday)
        return locale.dayName(day.dayOfWeek(), weekday);
    return locale.toString(day, QLocale::ShortFormat);
}

QString momentText(const QDateTime &moment, const QDateTime &now, QLocale::FormatType weekday)
{
    const QLocale locale;
    const QDateTime local = moment.toLocalTime();
    const QString day = dayText(locale, local.date(), now, weekday);
    const QString time = timeText(locale, local.time());
    return day.isEmpty() ? time : day + u' ' + time;
}

QString dueText(const GoalDue &due, const QDateTime &now, QLocale::FormatType weekday)
{
    if (!due.isWholeDay())
        return QCoreApplication::translate("MomentWords", "due %1").arg(momentText(due.moment(), now, weekday));
    const QString day = dayText(QLocale(), due.day(), now, weekday);
    return day.isEmpty() ? QCoreApplication::translate("MomentWords", "due today")
                         : QCoreApplication::translate("MomentWords", "due %1").arg(day);
}

} // namespace

namespace MomentWords
{

QString shortMoment(const QDateTime &moment, const QDateTime &now)
{
    return momentText(moment, now, QLocale::ShortFormat);
}

QString reminder(const QDateTime &moment, const QDateTime &now)
{
    return QCoreApplication::translate("MomentWords", "reminder at %1").arg(shortMoment(moment, now));
}

QString shortDue(const GoalDue &due, const QDateTime &now)
{
    return dueText(due, now, QLocale::ShortFormat);
}

QString due(const GoalDue &due, const QDateTime &now)
{
    return dueText(due, now, QLocale::LongFormat);
}

} // namespace MomentWords
