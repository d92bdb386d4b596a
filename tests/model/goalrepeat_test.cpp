// SPDX-License-Identifier: GPL-3.0-or-later

#include "goaltexts.h"
#include "model/goalsfile.h"
#include "model/goalsmerge.h"
#include "model/goalsteps.h"
#include "model/removegoals.h"
#include "model/todostore.h"
#include "model/undohistory.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>

using namespace Qt::StringLiterals;

namespace
{

// 2026-12-07 is a Monday.
QDate day(int dayOfDecember)
{
    return { 2026, 12, dayOfDecember };
}

QDateTime dayStartOn(QDate date)
{
    return { date, QTime(4, 0) };
}

TodoItem doneGoal(const QString &form, const QDateTime &ticked)
{
    TodoItem goal { QUuid::createUuid(), u"Stretch"_s, true, 0, ticked.addDays(-30), ticked, {} };
    goal.repeat = GoalRepeat::fromStored(form);
    return goal;
}

void useZone(const char *zone)
{
    qputenv("TZ", zone);
    tzset();
}

} // namespace

class GoalRepeatTest final : public QObject
{
    Q_OBJECT

private slots:
    void init() { useZone("Europe/Berlin"); }
    void storedForm_isReadOrKeptVerbatim_data();
    void storedForm_isReadOrKeptVerbatim();
    void goal_isShownAndDueOnItsDays_data();
    void goal_isShownAndDueOnItsDays();
    void dayStart_reopensWhatWasDoneBeforeIt_data();
    void dayStart_reopensWhatWasDoneBeforeIt();
    void store_reopensOnceAndStampsTheDayStart();
    void dayStart_followsTheLocalZoneOfTheDay();
    void goalsFile_keepsTheRepeatAfterTheOtherKeys();
    void removingDoneGoals_leavesRepeatingOnes();
    void repeatChangedElsewhere_winsAMergeLikeAnyChange();
};

void GoalRepeatTest::storedForm_isReadOrKeptVerbatim_data()
{
    QTest::addColumn<QString>("read");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("written");
    const auto row = [](const char *tag, const QString &read, GoalRepeat::Kind kind, const QString &written) {
        QTest::newRow(tag) << read << int(kind) << written;
    };
    row("never", QString(), GoalRepeat::Kind::Never, QString());
    row("daily", u"daily"_s, GoalRepeat::Kind::EveryDay, u"daily"_s);
    row("weekdays", u"weekdays"_s, GoalRepeat::Kind::Weekdays, u"weekdays"_s);
    row("weekly, Monday first", u"weekly:FR,MO,WE"_s, GoalRepeat::Kind::Weekly, u"weekly:MO,WE,FR"_s);
    row("weekly, no day", u"weekly:"_s, GoalRepeat::Kind::SetElsewhere, u"weekly:"_s);
    row("weekly, a day twice", u"weekly:MO,MO"_s, GoalRepeat::Kind::SetElsewhere, u"weekly:MO,MO"_s);
    row("another program's rule", u"FREQ=MONTHLY;BYMONTHDAY=1"_s, GoalRepeat::Kind::SetElsewhere,
        u"FREQ=MONTHLY;BYMONTHDAY=1"_s);
}

void GoalRepeatTest::storedForm_isReadOrKeptVerbatim()
{
    QFETCH(QString, read);
    QFETCH(int, kind);
    QFETCH(QString, written);
    const GoalRepeat repeat = GoalRepeat::fromStored(read);
    QCOMPARE(int(repeat.kind()), kind);
    QCOMPARE(repeat.stored(), written);
    QCOMPARE(GoalRepeat::fromStored(written), repeat);
}

void GoalRepeatTest::goal_isShownAndDueOnItsDays_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QDate>("day");
    QTest::addColumn<bool>("due");
    QTest::addColumn<bool>("shown");
    QTest::newRow("daily on a Sunday") << u"daily"_s << day(13) << true << true;
    QTest::newRow("weekdays on Friday") << u"weekdays"_s << day(11) << true << true;
    QTest::newRow("weekdays on Saturday") << u"weekdays"_s << day(12) << false << false;
    QTest::newRow("weekly on Sunday, at the end of the week") << u"weekly:SU"_s << day(13) << true << true;
    QTest::newRow("weekly on Sunday, on Monday") << u"weekly:SU"_s << day(14) << false << false;
    QTest::newRow("weekly on Monday and Wednesday, on Tuesday") << u"weekly:MO,WE"_s << day(8) << false << false;
    QTest::newRow("set elsewhere: always shown, never reset") << u"FREQ=YEARLY"_s << day(8) << false << true;
}

void GoalRepeatTest::goal_isShownAndDueOnItsDays()
{
    QFETCH(QString, form);
    QFETCH(QDate, day);
    QFETCH(bool, due);
    QFETCH(bool, shown);
    const GoalRepeat repeat = GoalRepeat::fromStored(form);
    QCOMPARE(repeat.isDueOn(day), due);
    QCOMPARE(repeat.isShownOn(day), shown);
}

void GoalRepeatTest::dayStart_reopensWhatWasDoneBeforeIt_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QDateTime>("ticked");
    QTest::addColumn<QDateTime>("dayStart");
    QTest::addColumn<bool>("reopens");
    const QDateTime mondayEvening(day(7), QTime(21, 0));
    QTest::newRow("daily, ticked the evening before") << u"daily"_s << mondayEvening << dayStartOn(day(8)) << true;
    QTest::newRow("daily, ticked after three at night, still the day before")
        << u"daily"_s << QDateTime(day(8), QTime(3, 30)) << dayStartOn(day(8)) << true;
    QTest::newRow("daily, ticked after the day began")
        << u"daily"_s << QDateTime(day(8), QTime(4, 1)) << dayStartOn(day(8)) << false;
    QTest::newRow("weekly on Monday and Wednesday, Tuesday")
        << u"weekly:MO,WE"_s << mondayEvening << dayStartOn(day(8)) << false;
    QTest::newRow("the same, the computer off on Tuesday, Wednesday")
        << u"weekly:MO,WE"_s << mondayEvening << dayStartOn(day(9)) << true;
    QTest::newRow("weekdays, ticked on Friday, Monday")
        << u"weekdays"_s << QDateTime(day(11), QTime(9, 0)) << dayStartOn(day(14)) << true;
    // The night the clocks go forward has no 02:00 to 03:00; 03:30 is still the day before.
    QTest::newRow("daily, the night clocks go forward")
        << u"daily"_s << QDateTime(QDate(2026, 3, 29), QTime(3, 30)) << dayStartOn(QDate(2026, 3, 29)) << true;
    QTest::newRow("not repeating") << QString() << mondayEvening << dayStartOn(day(8)) << false;
    QTest::newRow("set elsewhere") << u"FREQ=DAILY;INTERVAL=2"_s << mondayEvening << dayStartOn(day(9)) << false;
}

void GoalRepeatTest::dayStart_reopensWhatWasDoneBeforeIt()
{
    QFETCH(QString, form);
    QFETCH(QDateTime, ticked);
    QFETCH(QDateTime, dayStart);
    QFETCH(bool, reopens);
    QCOMPARE(reopensAt(doneGoal(form, ticked.toUTC()), dayStart), reopens);
}

void GoalRepeatTest::store_reopensOnceAndStampsTheDayStart()
{
    QTemporaryDir dir;
    QFile file(dir.filePath(u"todos.json"_s));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"([{"id":"00000000-0000-4000-8000-000000000001","text":"Stretch","completed":true,"order":0,)"
               R"("createdAt":"2026-01-01T09:00:00Z","repeat":"daily"}])");
    file.close();
    TodoStore store(file.fileName());
    const QDateTime dayStart = QDateTime::currentDateTime().addSecs(-60);
    QSignalSpy changes(&store, &TodoStore::todosChanged);
    store.reopenRepeatingGoals(dayStart);
    QCOMPARE(goalTexts(TodoStore(store.fileURL())), QStringList { u"Stretch"_s });
    QCOMPARE(store.todos().constFirst().modifiedAt, dayStart.toUTC());
    // Ticked again that day, it stays ticked however often the day's start is looked at.
    store.setCompleted(store.todos().constFirst().id, true);
    store.reopenRepeatingGoals(dayStart);
    QCOMPARE(goalTexts(store), QStringList { u"Stretch*"_s });
    QCOMPARE(changes.count(), 2);
}

void GoalRepeatTest::dayStart_followsTheLocalZoneOfTheDay()
{
    // A flight to Tokyo: Monday 04:00 there is Sunday evening in UTC, yet it is a Monday for the person.
    useZone("Asia/Tokyo");
    const QDateTime mondayStart = dayStartOn(day(7));
    QCOMPARE(mondayStart.toUTC().date(), day(6));
    const TodoItem goal = doneGoal(u"weekly:MO"_s, mondayStart.addDays(-7));
    QVERIFY(reopensAt(goal, mondayStart));
    // A day start kept in UTC names the same local day.
    QVERIFY(reopensAt(goal, mondayStart.toUTC()));
    QVERIFY(!reopensAt(goal, dayStartOn(day(6))));
}

void GoalRepeatTest::goalsFile_keepsTheRepeatAfterTheOtherKeys()
{
    const QByteArray five = R"({"id":"6B1E2C44-0A7F-4D2B-9E3A-5C81F0D2A917","text":"Gym","completed":false,)"
                            R"("order":0,"createdAt":"2026-03-02T08:15:00Z")";
    // A form the panel cannot show, and a value that is no text at all, never cost the goal.
    const auto file = GoalsFile::decode("[" + five + R"(,"repeat":"FREQ=WEEKLY;INTERVAL=2","x":1},)" + five
        + R"(,"repeat":{"a":1}},)" + five + R"(,"repeat":"weekly:WE,MO"}])");
    QVERIFY(file);
    QCOMPARE(file->size(), 3);
    QCOMPARE(file->at(1).repeat, GoalRepeat());
    QCOMPARE(GoalsFile::encode(*file).value_or("failed"),
        "[" + five + R"(,"repeat":"FREQ=WEEKLY;INTERVAL=2"},)" + five + "}," + five + R"(,"repeat":"weekly:MO,WE"}])");
}

void GoalRepeatTest::removingDoneGoals_leavesRepeatingOnes()
{
    QTemporaryDir dir;
    TodoStore store(dir.filePath(u"todos.json"_s));
    store.addLines(u"Stretch\nMilk"_s);
    UndoHistory history;
    const QUuid stretch = store.todos().at(0).id;
    history.perform(std::make_unique<SetGoalRepeat>(&store, stretch, GoalRepeat::everyDay()));
    QCOMPARE(history.undoText(), u"Repeat \u201CStretch\u201D"_s);
    for (const TodoItem &goal : store.todos())
        store.setCompleted(goal.id, true);

    history.perform(std::make_unique<RemoveGoals>(&store, RemoveGoals::Which::DoneGoals));
    history.perform(
        std::make_unique<RemoveGoals>(&store, RemoveGoals::Which::DoneGoalsOfADay, QUuid(), dayStartOn(day(31))));
    QCOMPARE(goalTexts(store), QStringList { u"Stretch*"_s });
    // Deleting it deletes it.
    history.perform(std::make_unique<RemoveGoals>(&store, RemoveGoals::Which::OneGoal, stretch));
    QVERIFY(store.todos().isEmpty());
    history.undo();
    history.undo();
    QCOMPARE(goalTexts(store), (QStringList { u"Stretch*"_s, u"Milk*"_s }));
    QCOMPARE(TodoStore(store.fileURL()).todos().at(0).repeat, GoalRepeat::everyDay());
    history.undo();
    QCOMPARE(TodoStore(store.fileURL()).todos().at(0).repeat, GoalRepeat());
    history.redo();
    QCOMPARE(TodoStore(store.fileURL()).todos().at(0).repeat, GoalRepeat::everyDay());
}

void GoalRepeatTest::repeatChangedElsewhere_winsAMergeLikeAnyChange()
{
    // A script set the goal to repeat and left its time alone, as an editor does.
    const QDateTime at(day(7), QTime(9, 0), Qt::UTC);
    const TodoItem seen { QUuid::createUuid(), u"Gym"_s, false, 0, at, at, {} };
    TodoItem there = seen;
    there.repeat = GoalRepeat::weekly({ 1, 3 });
    const QList<TodoItem> merged = GoalsMerge::merge({ seen }, { { there }, QList<TodoItem> { seen }, at }, {});
    QCOMPARE(merged.constFirst().repeat, there.repeat);
    QVERIFY(!GoalsMerge::sameGoals({ seen }, merged));
}

QTEST_GUILESS_MAIN(GoalRepeatTest)
#include "goalrepeat_test.moc"
