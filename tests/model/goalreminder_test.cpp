// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/goalsfile.h"
#include "model/reminderchoices.h"
#include "model/todoitem.h"

#include <QTest>

#include <ctime>

using namespace Qt::StringLiterals;

namespace
{

void useZone(const char *zone)
{
    qputenv("TZ", zone);
    tzset();
}

// Local time in the zone the case runs in.
QDateTime local(const QString &text)
{
    return QDateTime::fromString(text, u"yyyy-MM-dd HH:mm"_s);
}

QDateTime utc(const QString &text)
{
    const QDateTime read = QDateTime::fromString(text, u"yyyy-MM-dd HH:mm"_s);
    return { read.date(), read.time(), Qt::UTC };
}

} // namespace

class GoalReminderTest final : public QObject
{
    Q_OBJECT

private slots:
    void init() { useZone("Europe/Berlin"); }
    void cleanupTestCase() { useZone("UTC"); }
    void rings_followTheMomentAndTheDaysOfTheGoal_data();
    void rings_followTheMomentAndTheDaysOfTheGoal();
    void repeatingGoal_keepsItsWallClockTimeInAnotherZone();
    void choices_areMomentsOfTheLocalClock();
    void commandLine_readsATimeOrADateOrSaysWhatIsWrong_data();
    void commandLine_readsATimeOrADateOrSaysWhatIsWrong();
    void file_keepsTheReminderAndTheDueDateAfterTheOtherKeys();
    void row_showsThePassedRingOfAnOpenGoalElseTheNext();
};

void GoalReminderTest::rings_followTheMomentAndTheDaysOfTheGoal_data()
{
    QTest::addColumn<QString>("repeat");
    QTest::addColumn<QDateTime>("set");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QDateTime>("next");
    QTest::addColumn<QDateTime>("since");
    QTest::addColumn<QDateTime>("latest");
    // The time of day kept apart from the moment, where it is not the moment's own.
    QTest::addColumn<QTime>("timeOfDay");
    const QDateTime none;
    // 2026-12-07 is a Monday.
    QTest::newRow("once, still to come") << QString() << local(u"2026-12-07 15:00"_s) << local(u"2026-12-07 14:00"_s)
                                         << local(u"2026-12-07 15:00"_s) << none << none << QTime();
    QTest::newRow("once, passed while away")
        << QString() << local(u"2026-12-07 15:00"_s) << local(u"2026-12-08 09:00"_s) << none
        << local(u"2026-12-07 12:00"_s) << local(u"2026-12-07 15:00"_s) << QTime();
    QTest::newRow("once, rung already") << QString() << local(u"2026-12-07 15:00"_s) << local(u"2026-12-08 09:00"_s)
                                        << none << local(u"2026-12-07 15:00"_s) << none << QTime();
    QTest::newRow("daily, the next morning")
        << u"daily"_s << local(u"2026-12-07 07:30"_s) << local(u"2026-12-07 08:00"_s) << local(u"2026-12-08 07:30"_s)
        << none << local(u"2026-12-07 07:30"_s) << QTime();
    QTest::newRow("daily, a week away rings only the last morning")
        << u"daily"_s << local(u"2026-12-01 07:30"_s) << local(u"2026-12-08 20:00"_s) << local(u"2026-12-09 07:30"_s)
        << local(u"2026-12-01 09:00"_s) << local(u"2026-12-08 07:30"_s) << QTime();
    QTest::newRow("weekly, not on the day between")
        << u"weekly:MO,WE"_s << local(u"2026-12-07 07:30"_s) << local(u"2026-12-07 08:00"_s)
        << local(u"2026-12-09 07:30"_s) << local(u"2026-12-07 08:00"_s) << none << QTime();
    QTest::newRow("weekly, set on a day it is not due rings at its moment first")
        << u"weekly:MO"_s << local(u"2026-12-08 15:00"_s) << local(u"2026-12-08 14:00"_s)
        << local(u"2026-12-08 15:00"_s) << none << none << QTime();
    QTest::newRow("weekly, the day after a snooze")
        << u"weekly:MO"_s << local(u"2026-12-07 07:40"_s) << local(u"2026-12-07 08:00"_s)
        << local(u"2026-12-14 07:30"_s) << local(u"2026-12-07 07:35"_s) << local(u"2026-12-07 07:40"_s) << QTime(7, 30);
    // Summer time ends on 2026-10-25: 07:30 stays 07:30 on the wall clock, an hour later in UTC.
    QTest::newRow("daily, across the end of summer time")
        << u"daily"_s << utc(u"2026-10-24 05:30"_s) << utc(u"2026-10-24 06:00"_s) << utc(u"2026-10-25 06:30"_s) << none
        << utc(u"2026-10-24 05:30"_s) << QTime();
}

void GoalReminderTest::rings_followTheMomentAndTheDaysOfTheGoal()
{
    QFETCH(QString, repeat);
    QFETCH(QDateTime, set);
    QFETCH(QDateTime, now);
    QFETCH(QDateTime, next);
    QFETCH(QDateTime, since);
    QFETCH(QDateTime, latest);
    QFETCH(QTime, timeOfDay);
    const GoalReminder reminder = timeOfDay.isValid() ? GoalReminder(set, timeOfDay) : GoalReminder(set);
    const GoalRepeat rule = GoalRepeat::fromStored(repeat);
    QCOMPARE(reminder.nextRingAfter(rule, now).value_or(QDateTime()), next);
    QCOMPARE(reminder.latestRingIn(rule, since, now).value_or(QDateTime()), latest);
}

void GoalReminderTest::repeatingGoal_keepsItsWallClockTimeInAnotherZone()
{
    const GoalReminder reminder(local(u"2026-12-07 07:30"_s));
    useZone("America/New_York");
    QCOMPARE(reminder.nextRingAfter(GoalRepeat::everyDay(), local(u"2026-12-08 06:00"_s)).value_or(QDateTime()),
        local(u"2026-12-08 07:30"_s));
    // The moment itself stays the instant it was: a goal that does not repeat rings then, whatever the clock says.
    QCOMPARE(reminder.nextRingAfter(GoalRepeat(), local(u"2026-12-07 00:00"_s)).value_or(QDateTime()),
        utc(u"2026-12-07 06:30"_s));
}

void GoalReminderTest::choices_areMomentsOfTheLocalClock()
{
    const QDateTime afternoon = local(u"2026-12-07 14:20"_s).addSecs(37);
    QCOMPARE(ReminderChoices::inOneHour(afternoon), local(u"2026-12-07 15:20"_s));
    QCOMPARE(ReminderChoices::thisEvening(afternoon).value_or(QDateTime()), local(u"2026-12-07 18:00"_s));
    QVERIFY(!ReminderChoices::thisEvening(local(u"2026-12-07 18:00"_s)));
    QCOMPARE(ReminderChoices::tomorrowMorning(local(u"2026-12-31 23:30"_s)), local(u"2027-01-01 09:00"_s));
    const auto past = ReminderChoices::chosenMoment(QDate(2026, 12, 7), QTime(14, 0), afternoon);
    QVERIFY(std::holds_alternative<QString>(past));
    QCOMPARE(std::get<QDateTime>(ReminderChoices::chosenMoment(QDate(2026, 12, 7), QTime(14, 30), afternoon)),
        local(u"2026-12-07 14:30"_s));
}

void GoalReminderTest::commandLine_readsATimeOrADateOrSaysWhatIsWrong_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("moment");
    QTest::newRow("later today") << u"15:00"_s << local(u"2026-12-07 15:00"_s);
    QTest::newRow("passed today, so tomorrow") << u"9:05"_s << local(u"2026-12-08 09:05"_s);
    QTest::newRow("a date") << u"2026-12-10 09:00"_s << local(u"2026-12-10 09:00"_s);
    QTest::newRow("no such hour") << u"25:00"_s << QDateTime();
    QTest::newRow("no such day") << u"2026-02-30 09:00"_s << QDateTime();
    QTest::newRow("a date passed") << u"2026-12-01 09:00"_s << QDateTime();
    QTest::newRow("words") << u"tomorrow"_s << QDateTime();
}

void GoalReminderTest::commandLine_readsATimeOrADateOrSaysWhatIsWrong()
{
    QFETCH(QString, text);
    QFETCH(QDateTime, moment);
    const auto read = ReminderChoices::fromCommandLine(text, local(u"2026-12-07 14:20"_s));
    if (moment.isValid()) {
        QCOMPARE(std::get<QDateTime>(read), moment);
    } else {
        QVERIFY(std::holds_alternative<QString>(read));
        QVERIFY2(std::get<QString>(read).contains(text), qPrintable(std::get<QString>(read)));
    }
}

void GoalReminderTest::file_keepsTheReminderAndTheDueDateAfterTheOtherKeys()
{
    const QByteArray file
        = R"([)"
          R"({"id":"00000000-0000-4000-8000-000000000001","text":"Call the bank","completed":false,)"
          R"("order":0,"createdAt":"2026-12-07T08:00:00Z","remindAt":"2026-12-07T14:00:00.000Z",)"
          R"("due":"2026-12-10"},)"
          R"({"id":"00000000-0000-4000-8000-000000000002","text":"Stretch","completed":false,)"
          R"("order":1,"createdAt":"2026-12-07T08:00:00Z","repeat":"daily",)"
          R"("remindAt":"2026-12-07T13:30:00.000Z","remindTime":"07:30","due":"2026-12-10T16:00:00.000Z"},)"
          R"({"id":"00000000-0000-4000-8000-000000000003","text":"Water","completed":false,)"
          R"("order":2,"createdAt":"2026-12-07T08:00:00Z","remindAt":"at three","remindTime":7,)"
          R"("due":"2026-02-30"}])";
    const std::optional<QList<TodoItem>> goals = GoalsFile::decode(file);
    QVERIFY(goals);
    QCOMPARE(goals->at(0).reminder, GoalReminder(utc(u"2026-12-07 14:00"_s)));
    QCOMPARE(goals->at(0).reminder.timeOfDay(), QTime(15, 0));
    QCOMPARE(goals->at(1).reminder.timeOfDay(), QTime(7, 30));
    QVERIFY(!goals->at(2).reminder.isSet());
    QCOMPARE(goals->at(0).due, GoalDue::onDay(QDate(2026, 12, 10)));
    QCOMPARE(goals->at(1).due, GoalDue::at(utc(u"2026-12-10 16:00"_s)));
    QVERIFY(!goals->at(2).due.isSet());
    // Written back as read: the time of day only for the goal that repeats, and nothing for the unreadable ones.
    QCOMPARE(GoalsFile::encode(*goals).value_or(QByteArray()),
        QByteArray(file).replace(R"(,"remindAt":"at three","remindTime":7,"due":"2026-02-30")", ""));
}

void GoalReminderTest::row_showsThePassedRingOfAnOpenGoalElseTheNext()
{
    TodoItem goal { QUuid::createUuid(), u"Stretch"_s, false, 0, local(u"2026-12-01 08:00"_s), {}, {} };
    goal.repeat = GoalRepeat::everyDay();
    goal.reminder = GoalReminder(local(u"2026-12-07 07:30"_s));
    goal.modifiedAt = local(u"2026-12-07 07:00"_s);
    const auto shown = [&goal](const QString &now) {
        const std::optional<ShownReminder> reminder = shownReminder(goal, local(now));
        return reminder ? std::pair(reminder->moment, reminder->isOverdue) : std::pair(QDateTime(), false);
    };
    QCOMPARE(shown(u"2026-12-07 07:00"_s), std::pair(local(u"2026-12-07 07:30"_s), false));
    QCOMPARE(shown(u"2026-12-07 09:00"_s), std::pair(local(u"2026-12-07 07:30"_s), true));
    // Opened again by the next day's start: that day's ring is the one to come.
    goal.modifiedAt = local(u"2026-12-08 04:00"_s);
    QCOMPARE(shown(u"2026-12-08 05:00"_s), std::pair(local(u"2026-12-08 07:30"_s), false));
    goal.completed = true;
    QCOMPARE(shown(u"2026-12-08 09:00"_s), std::pair(local(u"2026-12-09 07:30"_s), false));
    goal.repeat = GoalRepeat();
    QCOMPARE(shown(u"2026-12-08 09:00"_s), std::pair(local(u"2026-12-07 07:30"_s), false));
}

QTEST_GUILESS_MAIN(GoalReminderTest)
#include "goalreminder_test.moc"
