// SPDX-License-Identifier: GPL-3.0-or-later

#include "reminderchoices.h"

#include <QRegularExpression>

namespace
{

constexpr int EveningHour = 18;
constexpr int MorningHour = 9;
constexpr int HourSeconds = 3600;
constexpr int SnoozeSeconds = 600;

QString tr(const char *text)
{
    return QCoreApplication::translate("ReminderChoices", text);
}

// The time on that date, or the first local time after it on a day whose clock skips it.
QDateTime localMoment(QDate date, QTime time)
{
    QDateTime moment(date, time);
    return moment.isValid() ? moment : QDateTime(date, time.addSecs(HourSeconds));
}

} // namespace

namespace ReminderChoices
{

QDateTime inOneHour(const QDateTime &now)
{
    const QDateTime later = now.addSecs(HourSeconds);
    // On the minute, as every other choice is: the row shows minutes, and the notification comes at one.
    return later.addSecs(-later.time().second()).addMSecs(-later.time().msec());
}

std::optional<QDateTime> thisEvening(const QDateTime &now)
{
    const QDateTime evening = localMoment(now.toLocalTime().date(), QTime(EveningHour, 0));
    if (evening <= now)
        return std::nullopt;
    return evening;
}

QDateTime tomorrowMorning(const QDateTime &now)
{
    return localMoment(now.toLocalTime().date().addDays(1), QTime(MorningHour, 0));
}

QDateTime inTenMinutes(const QDateTime &now)
{
    return now.addSecs(SnoozeSeconds);
}

QDateTime nextAt(const QDateTime &now, QTime time)
{
    const QDate today = now.toLocalTime().date();
    const QDateTime moment = localMoment(today, time);
    return moment > now ? moment : localMoment(today.addDays(1), time);
}

std::variant<QDateTime, QString> chosenMoment(QDate date, QTime time, const QDateTime &now)
{
    const QDateTime moment = localMoment(date, QTime(time.hour(), time.minute()));
    if (!moment.isValid())
        return tr("There is no such date.");
    if (moment <= now)
        return tr("That moment has passed; choose one still to come.");
    return moment;
}

std::variant<QDateTime, QString> fromCommandLine(const QString &text, const QDateTime &now)
{
    static const QRegularExpression timeOnly(QStringLiteral("^(\\d{1,2}):(\\d{2})$"));
    static const QRegularExpression dateAndTime(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})[ T](\\d{1,2}):(\\d{2})$"));
    const QString unreadable
        = tr("cannot read the time \u201C%1\u201D; give a time as %2 or a date and a time as \u201C%3\u201D")
              .arg(text, QStringLiteral("15:00"), QStringLiteral("2026-12-10 09:00"));
    if (const QRegularExpressionMatch match = timeOnly.match(text); match.hasMatch()) {
        const QTime time(match.captured(1).toInt(), match.captured(2).toInt());
        if (!time.isValid())
            return unreadable;
        return nextAt(now, time);
    }
    if (const QRegularExpressionMatch match = dateAndTime.match(text); match.hasMatch()) {
        const QDate date(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
        const QTime time(match.captured(4).toInt(), match.captured(5).toInt());
        if (!date.isValid() || !time.isValid())
            return unreadable;
        const QDateTime moment = localMoment(date, time);
        if (moment <= now)
            return tr("the time \u201C%1\u201D has passed already").arg(text);
        return moment;
    }
    return unreadable;
}

} // namespace ReminderChoices
