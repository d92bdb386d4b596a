// SPDX-License-Identifier: GPL-3.0-or-later

#include "sync/vtodomapping.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

const QDateTime Now(QDate(2026, 12, 8), QTime(9, 0), Qt::UTC);

QDateTime utc(int day, int hour, int minute)
{
    return { QDate(2026, 12, day), QTime(hour, minute), Qt::UTC };
}

// A phone's task due on the 10th at 15:00 UTC, with the given alarms.
QByteArray phoneTask(const QByteArray &lines, const QByteArray &alarms)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Phone//Tasks//EN\r\nBEGIN:VTODO\r\nUID:bank@example.org\r\n"
           "DTSTAMP:20261201T080000Z\r\nCREATED:20261201T080000Z\r\nSUMMARY:Call the bank\r\n"
           "DUE:20261210T150000Z\r\n"
        + lines + alarms + "END:VTODO\r\nEND:VCALENDAR\r\n";
}

QByteArray alarm(const QByteArray &trigger, const QByteArray &action = "DISPLAY")
{
    return "BEGIN:VALARM\r\nACTION:" + action + "\r\nDESCRIPTION:Bank\r\n" + trigger + "\r\nEND:VALARM\r\n";
}

QStringList unfoldedLines(const QByteArray &text)
{
    QByteArray unfolded = text;
    unfolded.replace("\r\n ", "");
    return QString::fromUtf8(unfolded).split(u"\r\n"_s, Qt::SkipEmptyParts);
}

} // namespace

class TaskAlarmTest final : public QObject
{
    Q_OBJECT

private slots:
    void panelsReminder_isAnAlarmOfItsOwnAtAMoment()
    {
        TodoItem goal { QUuid::createUuid(), u"Call the bank"_s, false, 0, Now.addDays(-1), Now, {} };
        goal.reminder = GoalReminder(utc(10, 14, 0));
        const QByteArray written = *VTodoMapping::write(goal, Now);
        const QStringList lines = unfoldedLines(written);
        for (const QString &line : { u"BEGIN:VALARM"_s, u"ACTION:DISPLAY"_s, u"DESCRIPTION:Call the bank"_s,
                 u"TRIGGER;VALUE=DATE-TIME:20261210T140000Z"_s, u"X-MIREL-REMINDER:TRUE"_s })
            QVERIFY2(lines.contains(line), written.constData());
        QCOMPARE(VTodoMapping::read(written)->goal.reminder.moment(), utc(10, 14, 0));

        // Put off: the one alarm moves; renamed: it shows the new text; taken away: no alarm is left.
        goal.reminder = GoalReminder(utc(10, 14, 10));
        const QByteArray later = *VTodoMapping::write(goal, Now, written);
        QCOMPARE(unfoldedLines(later).filter(u"BEGIN:VALARM"_s).size(), 1);
        QCOMPARE(VTodoMapping::read(later)->goal.reminder.moment(), utc(10, 14, 10));
        goal.text = u"Call the bank at noon"_s;
        const QByteArray renamed = *VTodoMapping::write(goal, Now, later);
        QVERIFY2(unfoldedLines(renamed).contains(u"DESCRIPTION:Call the bank at noon"_s), renamed.constData());
        goal.reminder = {};
        QVERIFY(!VTodoMapping::write(goal, Now, renamed)->contains("VALARM"));
    }

    void otherClientsAlarm_isReadAsTheMomentItNames_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<QByteArray>("alarms");
        QTest::addColumn<QDateTime>("moment");
        QTest::newRow("before the due time") << QByteArray() << alarm("TRIGGER;RELATED=END:-PT30M") << utc(10, 14, 30);
        QTest::newRow("at the due time, without a start") << QByteArray() << alarm("TRIGGER:PT0S") << utc(10, 15, 0);
        QTest::newRow("after the start") << QByteArray("DTSTART:20261210T080000Z\r\n") << alarm("TRIGGER:PT1H")
                                         << utc(10, 9, 0);
        QTest::newRow("at a moment") << QByteArray() << alarm("TRIGGER;VALUE=DATE-TIME:20261209T070000Z")
                                     << utc(9, 7, 0);
        QTest::newRow("an email is passed over")
            << QByteArray() << alarm("TRIGGER:-PT1H", "EMAIL") + alarm("TRIGGER:-PT2H") << utc(10, 13, 0);
        QTest::newRow("no alarm") << QByteArray() << QByteArray() << QDateTime();
    }

    void otherClientsAlarm_isReadAsTheMomentItNames()
    {
        QFETCH(QByteArray, lines);
        QFETCH(QByteArray, alarms);
        QFETCH(QDateTime, moment);
        QCOMPARE(VTodoMapping::read(phoneTask(lines, alarms))->goal.reminder.moment(), moment);
    }

    void changedReminder_replacesTheAlarmItWasReadFromOnly()
    {
        const QByteArray phone = phoneTask({}, alarm("TRIGGER;RELATED=END:-PT30M") + alarm("TRIGGER:-P1D"));
        TodoItem goal = VTodoMapping::read(phone)->goal;
        goal.reminder = GoalReminder(utc(10, 12, 0));
        goal.modifiedAt = Now;
        const QByteArray written = *VTodoMapping::write(goal, Now, phone);
        const QStringList lines = unfoldedLines(written);
        QVERIFY2(!lines.contains(u"TRIGGER;RELATED=END:-PT30M"_s), written.constData());
        QVERIFY2(lines.contains(u"TRIGGER:-P1D"_s), written.constData());
        QVERIFY2(lines.contains(u"DUE:20261210T150000Z"_s), written.constData());
        QCOMPARE(VTodoMapping::read(written)->goal.reminder.moment(), utc(10, 12, 0));
        // An edit of the text alone leaves the phone's alarms as they were.
        TodoItem renamed = VTodoMapping::read(phone)->goal;
        renamed.text = u"Call the bank at noon"_s;
        QCOMPARE(unfoldedLines(*VTodoMapping::write(renamed, Now, phone)).filter(u"TRIGGER"_s),
            unfoldedLines(phone).filter(u"TRIGGER"_s));
    }
};

QTEST_GUILESS_MAIN(TaskAlarmTest)
#include "taskalarm_test.moc"
