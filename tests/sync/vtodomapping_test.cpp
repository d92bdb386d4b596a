// SPDX-License-Identifier: GPL-3.0-or-later

#include "sync/recurrencerule.h"
#include "sync/vtodomapping.h"

#include <QRegularExpression>
#include <QTest>

namespace
{

const QDateTime Created = QDateTime(QDate(2025, 3, 1), QTime(8, 30), Qt::UTC);
const QDateTime Now = QDateTime(QDate(2025, 3, 2), QTime(9, 0), Qt::UTC);

TodoItem goal(const QString &text, bool completed = false, qint64 order = 0)
{
    return { QUuid::createUuid(), text, completed, order, Created, Created.addSecs(60), {} };
}

// What a phone's task app leaves on the server: properties Mirel has no use for, a zone, an alarm, and a
// summary over several lines that is folded and escaped.
QByteArray otherClientsTask(const QByteArray &status = "NEEDS-ACTION")
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Phone//Tasks//EN\r\n"
           "BEGIN:VTIMEZONE\r\nTZID:Europe/Berlin\r\nBEGIN:STANDARD\r\nDTSTART:19701025T030000\r\n"
           "TZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n"
           "BEGIN:VTODO\r\nUID:phone-task-17@example.org\r\nDTSTAMP:20250301T083000Z\r\n"
           "CREATED:20250301T083000Z\r\nLAST-MODIFIED:20250301T084000Z\r\n"
           "SUMMARY:Call the garage\\, ask about the brakes\\; then\\nbook the MOT for the c\r\n ar\r\n"
           "STATUS:"
        + status
        + "\r\nPERCENT-COMPLETE:40\r\nDESCRIPTION:Number is on the invoice\r\n"
          "DUE;TZID=Europe/Berlin:20250305T090000\r\nPRIORITY:1\r\nCATEGORIES:car,errands\r\n"
          "X-PHONE-COLOUR:teal\r\nX-PHONE-TAGS:home,work\\,late\\;now\\\\x\\q\r\nX-PHONE-NOTE:\r\n"
          "X-PHONE-LONG;X-LABEL=\"a:b\":Zwölf Boxkämpfer jagen Viktor quer über den großen Sylter Deich\\, da\r\n"
          " nn zurück\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:Garage\r\nTRIGGER:-PT15M\r\n"
          "END:VALARM\r\nEND:VTODO\r\nEND:VCALENDAR\r\n";
}

// A plain task of another client with the given lines (a rule, a start) besides its own.
QByteArray taskWith(const QByteArray &lines)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Phone//Tasks//EN\r\nBEGIN:VTODO\r\nUID:gym@example.org\r\n"
           "DTSTAMP:20250301T083000Z\r\nSUMMARY:Gym\r\nSTATUS:NEEDS-ACTION\r\n"
        + lines + "END:VTODO\r\nEND:VCALENDAR\r\n";
}

// The lines of an iCalendar text as written, folds undone.
QStringList unfoldedLines(const QByteArray &text)
{
    QByteArray unfolded = text;
    unfolded.replace("\r\n ", "").replace("\r\n\t", "");
    return QString::fromUtf8(unfolded).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

} // namespace

class VTodoMappingTest final : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_keepsTheGoal_data()
    {
        QTest::addColumn<TodoItem>("goal");
        QTest::newRow("open") << goal(QStringLiteral("Water the plants"));
        QTest::newRow("done, ordered") << goal(QStringLiteral("Send the invoice"), true, 7);
        QTest::newRow("escapes and a long line")
            << goal(QStringLiteral("Buy milk, eggs; butter \\ flour, ").repeated(6) + QStringLiteral("und Käse 🧀"));
        QTest::newRow("multibyte on every fold") << goal(QStringLiteral("äöü€🧀").repeated(40), false, -3);
    }
    void roundTrip_keepsTheGoal()
    {
        QFETCH(TodoItem, goal);
        const std::optional<QByteArray> written = VTodoMapping::write(goal, Now, {}, goal.order);
        QVERIFY(written);
        // Folding may never split a character, or another client reads mojibake.
        for (const QByteArray &line : written->split('\n')) {
            QVERIFY2(line.size() <= 76, line.constData());
            QVERIFY2(QString::fromUtf8(line).toUtf8() == line, line.constData());
        }
        const std::optional<VTodoMapping::Task> task = VTodoMapping::read(*written);
        QVERIFY(task);
        QCOMPARE(task->goal.id, goal.id);
        QCOMPARE(task->goal.text, goal.text);
        QCOMPARE(task->goal.completed, goal.completed);
        QCOMPARE(task->sortOrder, std::optional(goal.order));
        QCOMPARE(task->goal.createdAt, goal.createdAt);
        QCOMPARE(task->goal.modifiedAt, goal.modifiedAt);
        QVERIFY(!task->cancelled);
        const QStringList lines = unfoldedLines(*written);
        QVERIFY(lines.contains(QStringLiteral("DTSTAMP:20250302T090000Z")));
        QCOMPARE(lines.contains(QStringLiteral("STATUS:COMPLETED")), goal.completed);
        QCOMPARE(lines.contains(QStringLiteral("PERCENT-COMPLETE:100")), goal.completed);
        QCOMPARE(lines.filter(QStringLiteral("COMPLETED:")).size(), goal.completed ? 1 : 0);
    }

    void otherClientsTask_readsAsAGoal()
    {
        const std::optional<VTodoMapping::Task> task = VTodoMapping::read(otherClientsTask());
        QVERIFY(task);
        QCOMPARE(task->uid, QStringLiteral("phone-task-17@example.org"));
        QVERIFY(!task->goal.id.isNull());
        QCOMPARE(VTodoMapping::read(otherClientsTask())->goal.id, task->goal.id);
        QCOMPARE(
            task->goal.text, QStringLiteral("Call the garage, ask about the brakes; then book the MOT for the car"));
        QVERIFY(!task->goal.completed);
        QCOMPARE(task->sortOrder, std::nullopt);
        QCOMPARE(task->goal.modifiedAt, QDateTime(QDate(2025, 3, 1), QTime(8, 40), Qt::UTC));
        QCOMPARE(task->goal.due, GoalDue::at(QDateTime(QDate(2025, 3, 5), QTime(8, 0), Qt::UTC)));
    }

    // Another client's due date stays as it wrote it; a task written anew, as after its deletion on the server,
    // takes the goal's.
    void dueDate_isADayOrAMoment_andWrittenOnlyWhereTheTaskLacksIt()
    {
        const QByteArray dueOnTheDay = taskWith("CREATED:20250301T083000Z\r\nDUE;VALUE=DATE:20250305\r\n");
        TodoItem goal = VTodoMapping::read(dueOnTheDay)->goal;
        QCOMPARE(goal.due, GoalDue::onDay(QDate(2025, 3, 5)));
        goal.text = QStringLiteral("Gym at six");
        QVERIFY(unfoldedLines(*VTodoMapping::write(goal, Now, dueOnTheDay))
                    .contains(QStringLiteral("DUE;VALUE=DATE:20250305")));
        for (const GoalDue &due : { goal.due, GoalDue::at(Now.addDays(1)) }) {
            goal.due = due;
            QCOMPARE(VTodoMapping::read(*VTodoMapping::write(goal, Now))->goal.due, due);
        }
    }

    void otherClientsProperties_surviveAnEditAndATick()
    {
        const QStringList original = unfoldedLines(otherClientsTask());
        TodoItem edited = VTodoMapping::read(otherClientsTask())->goal;
        edited.text = QStringLiteral("Call the garage before noon");
        edited.modifiedAt = Now;
        const QByteArray afterEdit = *VTodoMapping::write(edited, Now, otherClientsTask());
        TodoItem ticked = edited;
        ticked.completed = true;
        const QByteArray afterTick = *VTodoMapping::write(ticked, Now.addSecs(5), afterEdit);

        const QStringList kept = { QStringLiteral("UID:phone-task-17@example.org"),
            QStringLiteral("DESCRIPTION:Number is on the invoice"),
            QStringLiteral("DUE;TZID=Europe/Berlin:20250305T090000"), QStringLiteral("PRIORITY:1"),
            QStringLiteral("X-PHONE-COLOUR:teal"), QStringLiteral("X-PHONE-TAGS:home,work\\,late\\;now\\\\x\\q"),
            QStringLiteral("X-PHONE-NOTE:"),
            QStringLiteral("X-PHONE-LONG;X-LABEL=\"a:b\":Zwölf Boxkämpfer jagen Viktor quer über den großen Sylter "
                           "Deich\\, dann zurück"),
            QStringLiteral("TZID:Europe/Berlin"), QStringLiteral("BEGIN:VALARM"), QStringLiteral("TRIGGER:-PT15M"),
            QStringLiteral("DESCRIPTION:Garage") };
        for (const QString &line : kept) {
            QVERIFY2(original.contains(line), qPrintable(line));
            QVERIFY2(unfoldedLines(afterEdit).contains(line), qPrintable(line));
            QVERIFY2(unfoldedLines(afterTick).contains(line), qPrintable(line));
        }
        // libical writes a list of categories as one property per value, which means the same.
        const auto categories = [](const QByteArray &text) {
            QStringList values;
            for (const QString &line : unfoldedLines(text).filter(QRegularExpression(QStringLiteral("^CATEGORIES:"))))
                values += line.mid(11).split(QLatin1Char(','));
            return values;
        };
        QCOMPARE(categories(afterTick), QStringList({ QStringLiteral("car"), QStringLiteral("errands") }));

        // A text edit leaves the other client's progress alone; the tick makes it done.
        QVERIFY(unfoldedLines(afterEdit).contains(QStringLiteral("STATUS:NEEDS-ACTION")));
        QVERIFY(unfoldedLines(afterEdit).contains(QStringLiteral("PERCENT-COMPLETE:40")));
        QVERIFY(unfoldedLines(afterTick).contains(QStringLiteral("STATUS:COMPLETED")));
        QVERIFY(unfoldedLines(afterTick).contains(QStringLiteral("PERCENT-COMPLETE:100")));
        QVERIFY(unfoldedLines(afterTick).contains(QStringLiteral("COMPLETED:20250302T090000Z")));
        QCOMPARE(VTodoMapping::read(afterTick)->goal.text, ticked.text);

        TodoItem unticked = ticked;
        unticked.completed = false;
        const QStringList afterUntick = unfoldedLines(*VTodoMapping::write(unticked, Now, afterTick));
        QVERIFY(afterUntick.contains(QStringLiteral("STATUS:NEEDS-ACTION")));
        for (const QString &line : afterUntick)
            QVERIFY2(!line.startsWith(QStringLiteral("COMPLETED")) && !line.startsWith(QStringLiteral("PERCENT")),
                qPrintable(line));
    }

    void repetition_readFromTheRule_data()
    {
        QTest::addColumn<QByteArray>("lines");
        // Empty: a rule the panel cannot show as one of its choices.
        QTest::addColumn<QString>("stored");
        QTest::newRow("daily") << QByteArray("RRULE:FREQ=DAILY;INTERVAL=1;WKST=MO\r\n") << QStringLiteral("daily");
        QTest::newRow("daily on some days")
            << QByteArray("RRULE:FREQ=DAILY;BYDAY=SA,SU\r\n") << QStringLiteral("weekly:SA,SU");
        QTest::newRow("weekdays") << QByteArray("RRULE:FREQ=WEEKLY;BYDAY=FR,TH,WE,TU,MO\r\n")
                                  << QStringLiteral("weekdays");
        QTest::newRow("all week") << QByteArray("RRULE:FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR,SA,SU\r\n")
                                  << QStringLiteral("daily");
        QTest::newRow("weekly on its start's day")
            << QByteArray("DTSTART;VALUE=DATE:20250305\r\nRRULE:FREQ=WEEKLY\r\n") << QStringLiteral("weekly:WE");
        QTest::newRow("every other week") << QByteArray("RRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=MO\r\n") << QString();
        QTest::newRow("a set number of times") << QByteArray("RRULE:FREQ=DAILY;COUNT=5\r\n") << QString();
        QTest::newRow("until a day") << QByteArray("RRULE:FREQ=DAILY;UNTIL=20250401\r\n") << QString();
        QTest::newRow("last Friday of the month") << QByteArray("RRULE:FREQ=MONTHLY;BYDAY=-1FR\r\n") << QString();
        QTest::newRow("two rules") << QByteArray("RRULE:FREQ=WEEKLY;BYDAY=MO\r\nRRULE:FREQ=WEEKLY;BYDAY=TH\r\n")
                                   << QString();
    }
    void repetition_readFromTheRule()
    {
        QFETCH(QByteArray, lines);
        QFETCH(QString, stored);
        const GoalRepeat repeat = VTodoMapping::read(taskWith(lines))->goal.repeat;
        if (stored.isEmpty()) {
            QCOMPARE(repeat.kind(), GoalRepeat::Kind::SetElsewhere);
            QVERIFY(!repeat.isDueOn(QDate(2025, 3, 3)));
        } else {
            QCOMPARE(repeat.stored(), stored);
        }
    }

    void repetition_writtenAsARule_otherRulesLeftAlone()
    {
        TodoItem gym = goal(QStringLiteral("Gym"));
        gym.repeat = GoalRepeat::weekly({ 3, 1 });
        QStringList lines = unfoldedLines(*VTodoMapping::write(gym, Now));
        QVERIFY(lines.contains(QStringLiteral("RRULE:FREQ=WEEKLY;BYDAY=MO,WE")));
        // Created on a Saturday: the rule counts from the Monday after.
        QVERIFY(lines.contains(QStringLiteral("DTSTART;VALUE=DATE:20250303")));
        QCOMPARE(VTodoMapping::read(*VTodoMapping::write(gym, Now))->goal.repeat, gym.repeat);
        // The start follows each new rule to a day it includes, the first from the goal's creation: Monday,
        // undone, Friday, Every Day, Saturday.
        QByteArray written;
        for (const auto &[repeat, start] : { std::pair(GoalRepeat::weekly({ 1 }), "20250303"),
                 std::pair(GoalRepeat(), "20250303"), std::pair(GoalRepeat::weekly({ 5 }), "20250307"),
                 std::pair(GoalRepeat::everyDay(), "20250307"), std::pair(GoalRepeat::weekly({ 6 }), "20250301") }) {
            gym.repeat = repeat;
            written = *VTodoMapping::write(gym, Now, written);
            QCOMPARE(unfoldedLines(written).filter(QStringLiteral("DTSTART")),
                QStringList(QStringLiteral("DTSTART;VALUE=DATE:") + QString::fromLatin1(start)));
        }
        // The same rule by other words is no change to write.
        QCOMPARE(RecurrenceRule::asHeldByTask(GoalRepeat::weekly({ 1, 2, 3, 4, 5 })), GoalRepeat::weekdays());

        // Another client's rule goes back as it came through a tick, and the panel's own choice replaces it.
        const QByteArray fortnightly
            = taskWith("DTSTART;TZID=Europe/Berlin:20250304T070000\r\nRRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=TU\r\n");
        TodoItem ticked = VTodoMapping::read(fortnightly)->goal;
        ticked.completed = true;
        lines = unfoldedLines(*VTodoMapping::write(ticked, Now, fortnightly));
        QCOMPARE(lines.filter(QStringLiteral("RRULE")),
            QStringList(QStringLiteral("RRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=TU")));
        TodoItem daily = ticked;
        daily.repeat = GoalRepeat::everyDay();
        const QByteArray madeDaily = *VTodoMapping::write(daily, Now, fortnightly);
        lines = unfoldedLines(madeDaily);
        QCOMPARE(lines.filter(QStringLiteral("RRULE")), QStringList(QStringLiteral("RRULE:FREQ=DAILY")));
        QCOMPARE(lines.filter(QStringLiteral("DTSTART")),
            QStringList(QStringLiteral("DTSTART;TZID=Europe/Berlin:20250304T070000")));
        // Two rules show as set elsewhere; choosing Every Day in the panel leaves the task its one rule.
        const QByteArray twoRules = taskWith("RRULE:FREQ=DAILY\r\nRRULE:FREQ=WEEKLY;BYDAY=TH\r\n");
        TodoItem chosen = VTodoMapping::read(twoRules)->goal;
        chosen.repeat = GoalRepeat::everyDay();
        QCOMPARE(unfoldedLines(*VTodoMapping::write(chosen, Now, twoRules)).filter(QStringLiteral("RRULE")),
            QStringList(QStringLiteral("RRULE:FREQ=DAILY")));
        TodoItem never = daily;
        never.repeat = {};
        QVERIFY(unfoldedLines(*VTodoMapping::write(never, Now, madeDaily)).filter(QStringLiteral("RRULE")).isEmpty());
    }

    void unchangedText_keepsTheServersSummaryWhole()
    {
        TodoItem ticked = VTodoMapping::read(otherClientsTask())->goal;
        ticked.completed = true;
        const QByteArray written = *VTodoMapping::write(ticked, Now, otherClientsTask());
        QVERIFY(unfoldedLines(written).contains(
            QStringLiteral("SUMMARY:Call the garage\\, ask about the brakes\\; then\\nbook the MOT for the car")));
    }

    void cancelledTask_isHiddenAndNeverWritten()
    {
        const QByteArray cancelled = otherClientsTask("CANCELLED");
        const std::optional<VTodoMapping::Task> task = VTodoMapping::read(cancelled);
        QVERIFY(task);
        QVERIFY(task->cancelled);
        QVERIFY(VTodoMapping::place({ *task }).isEmpty());
        QCOMPARE(VTodoMapping::write(task->goal, Now, cancelled), std::nullopt);
    }

    void unreadableText_givesNothing_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not iCalendar") << QByteArray("<html>Login</html>");
        QTest::newRow("event, no task") << QByteArray(
            "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:x\r\nDTSTAMP:20250301T083000Z\r\n"
            "SUMMARY:Lunch\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
        QTest::newRow("no summary") << QByteArray("BEGIN:VCALENDAR\r\nBEGIN:VTODO\r\nUID:x\r\n"
                                                  "DTSTAMP:20250301T083000Z\r\nEND:VTODO\r\nEND:VCALENDAR\r\n");
        QTest::newRow("no times") << QByteArray("BEGIN:VCALENDAR\r\nBEGIN:VTODO\r\nUID:x\r\nSUMMARY:Hi\r\n"
                                                "END:VTODO\r\nEND:VCALENDAR\r\n");
        QTest::newRow("cut off") << otherClientsTask().left(400);
        QTest::newRow("broken times") << QByteArray("BEGIN:VCALENDAR\r\nBEGIN:VTODO\r\nUID:x\r\nSUMMARY:Hi\r\n"
                                                    "CREATED:2025-99-99\r\nDTSTAMP:garbage\r\nEND:VTODO\r\n"
                                                    "END:VCALENDAR\r\n");
    }
    void unreadableText_givesNothing()
    {
        QFETCH(QByteArray, text);
        QCOMPARE(VTodoMapping::read(text).has_value(), false);
        QCOMPARE(VTodoMapping::write(goal(QStringLiteral("Mine")), Now, text.isEmpty() ? "x" : text), std::nullopt);
    }

    void place_putsTasksWithoutSortOrderByCreation()
    {
        const auto task = [](const char *text, int createdMinute, std::optional<qint64> order) {
            VTodoMapping::Task t;
            t.goal = goal(QString::fromUtf8(text));
            t.goal.createdAt = Created.addSecs(60 * createdMinute);
            t.sortOrder = order;
            t.goal.order = order.value_or(0);
            return t;
        };
        VTodoMapping::Task cancelled = task("cancelled", 0, 1);
        cancelled.cancelled = true;
        const QList<TodoItem> goals
            = VTodoMapping::place({ task("third", 30, 20), task("late phone task", 40, {}), task("first", 10, 5),
                cancelled, task("early phone task", 5, {}), task("second", 20, 10), task("between", 15, {}) });
        QStringList texts;
        for (const TodoItem &goal : goals)
            texts.append(goal.text);
        QCOMPARE(texts,
            QStringList({ QStringLiteral("early phone task"), QStringLiteral("first"), QStringLiteral("between"),
                QStringLiteral("second"), QStringLiteral("third"), QStringLiteral("late phone task") }));
        QList<qint64> orders;
        for (const TodoItem &goal : goals)
            orders.append(goal.order);
        QCOMPARE(orders, QList<qint64>({ 0, 5, 6, 10, 20, 21 }));

        // No room between two sort orders: all are numbered anew, still in that sequence.
        const QList<TodoItem> crowded = VTodoMapping::place({ task("a", 10, 5), task("b", 20, 6), task("c", 15, {}) });
        QCOMPARE(crowded.at(1).text, QStringLiteral("c"));
        QCOMPARE(crowded.at(2).order, 2);

        // Made at the same second by another client: placed alike whatever order the server lists them in.
        const VTodoMapping::Task gym = task("gym", 10, {});
        const VTodoMapping::Task review = task("review", 10, {});
        QCOMPARE(VTodoMapping::place({ gym, review }).first().id, VTodoMapping::place({ review, gym }).first().id);
    }
};

QTEST_GUILESS_MAIN(VTodoMappingTest)
#include "vtodomapping_test.moc"
