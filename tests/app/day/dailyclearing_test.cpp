// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/day/dailyclearing.h"
#include "goaltexts.h"
#include "model/goalsteps.h"
#include "model/panelsettings.h"
#include "model/todostore.h"
#include "model/undohistory.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>

using namespace Qt::StringLiterals;

namespace
{

QDateTime local(const QString &text)
{
    return QDateTime::fromString(text, u"yyyy-MM-dd HH:mm"_s);
}

} // namespace

class DailyClearingTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void dayStart_isFourInTheMorningLocalTime_data();
    void dayStart_isFourInTheMorningLocalTime();
    void start_clearsWhatTheLastDayLeftOnlyWhenOn_data();
    void start_clearsWhatTheLastDayLeftOnlyWhenOn();
    void missedDayStart_clearsBeforeThePersonsNextChange();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QSettings> m_defaults;
    std::unique_ptr<PanelSettings> m_settings;
    std::unique_ptr<TodoStore> m_store;
    UndoHistory *m_history = nullptr;
};

void DailyClearingTest::initTestCase()
{
    // A zone with daylight saving time, whose nights of change are an hour shorter and longer.
    qputenv("TZ", "Europe/Berlin");
    tzset();
}

void DailyClearingTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_defaults = std::make_unique<QSettings>(m_dir->filePath(u"prefs.ini"_s), QSettings::IniFormat);
    m_settings = std::make_unique<PanelSettings>(m_defaults.get());
    // Milk was ticked days ago, as a goals file of an earlier version keeps it: without its last change.
    QFile file(m_dir->filePath(u"todos.json"_s));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"([{"id":"00000000-0000-4000-8000-000000000001","text":"Milk","completed":true,"order":0,
                    "createdAt":"2026-01-01T09:00:00Z"},
                   {"id":"00000000-0000-4000-8000-000000000002","text":"Bread","completed":false,"order":1,
                    "createdAt":"2026-01-01T09:00:00Z"}])");
    file.close();
    m_store = std::make_unique<TodoStore>(file.fileName(), m_dir->filePath(u"state"_s));
    m_history = new UndoHistory(m_store.get());
}

void DailyClearingTest::dayStart_isFourInTheMorningLocalTime_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QDateTime>("mostRecent");
    QTest::addColumn<int>("hoursToNext");
    QTest::newRow("late evening") << local(u"2026-12-08 23:30"_s) << local(u"2026-12-08 04:00"_s) << 4;
    QTest::newRow("a minute before") << local(u"2026-12-09 03:59"_s) << local(u"2026-12-08 04:00"_s) << 0;
    QTest::newRow("at the day start") << local(u"2026-12-09 04:00"_s) << local(u"2026-12-09 04:00"_s) << 24;
    QTest::newRow("clocks go forward") << local(u"2026-03-28 22:00"_s) << local(u"2026-03-28 04:00"_s) << 5;
    QTest::newRow("clocks go back") << local(u"2026-10-24 22:00"_s) << local(u"2026-10-24 04:00"_s) << 7;
}

void DailyClearingTest::dayStart_isFourInTheMorningLocalTime()
{
    QFETCH(QDateTime, now);
    QFETCH(QDateTime, mostRecent);
    QFETCH(int, hoursToNext);
    QCOMPARE(DayStart::mostRecent(now), mostRecent);
    QCOMPARE(now.secsTo(DayStart::next(now)) / 3600, hoursToNext);
    QCOMPARE(DayStart::next(now).time(), QTime(4, 0));
}

void DailyClearingTest::start_clearsWhatTheLastDayLeftOnlyWhenOn_data()
{
    const QDateTime today = DayStart::mostRecent(QDateTime::currentDateTime());
    const QString yesterday = DayStart::on(today.date().addDays(-1)).toUTC().toString(Qt::ISODate);
    QTest::addColumn<QString>("enabled");
    QTest::addColumn<QString>("handled");
    QTest::addColumn<QStringList>("kept");
    QTest::addColumn<bool>("breadTickedToday");
    QTest::newRow("off") << QString() << yesterday << QStringList { u"Milk*"_s, u"Bread"_s } << false;
    QTest::newRow("garbage reads as off") << u"yes"_s << yesterday << QStringList { u"Milk*"_s, u"Bread"_s } << false;
    QTest::newRow("on, a new day") << u"true"_s << yesterday << QStringList { u"Bread"_s } << false;
    // On another computer, say, after the day began: it stays until the next one.
    QTest::newRow("on, a new day, a goal ticked since")
        << u"true"_s << yesterday << QStringList { u"Bread*"_s } << true;
    QTest::newRow("on, first use") << u"true"_s << QString() << QStringList { u"Milk*"_s, u"Bread"_s } << false;
    QTest::newRow("on, a time without zone")
        << u"true"_s << yesterday.chopped(1) << QStringList { u"Milk*"_s, u"Bread"_s } << false;
    QTest::newRow("on, a stamp from the future")
        << u"true"_s << u"2999-01-01T03:00:00Z"_s << QStringList { u"Milk*"_s, u"Bread"_s } << false;
}

void DailyClearingTest::start_clearsWhatTheLastDayLeftOnlyWhenOn()
{
    QFETCH(QString, enabled);
    QFETCH(QString, handled);
    QFETCH(QStringList, kept);
    QFETCH(bool, breadTickedToday);
    if (breadTickedToday)
        m_store->toggle(m_store->todos().at(1).id);
    if (!enabled.isNull())
        m_defaults->setValue(u"clearDoneGoalsEachDay"_s, enabled);
    m_defaults->setValue(u"lastDayStartCleared"_s, handled);
    m_defaults->sync();
    const QStringList before = goalTexts(*m_store);

    DailyClearing clearing(m_settings.get(), m_store.get(), m_history);
    QCOMPARE(goalTexts(*m_store), kept);
    if (kept != before) {
        QCOMPARE(m_history->undoText(), u"Clear Done Goals"_s);
        m_history->undo();
        QCOMPARE(goalTexts(*m_store), before);
    }
    // A restart later the same day clears nothing, not even the goals the clearing brought back.
    DailyClearing restart(m_settings.get(), m_store.get(), m_history);
    QCOMPARE(goalTexts(*m_store), before);
}

void DailyClearingTest::missedDayStart_clearsBeforeThePersonsNextChange()
{
    DailyClearing clearing(m_settings.get(), m_store.get(), m_history);
    clearing.setEnabled(true);
    QCOMPARE(goalTexts(*m_store), (QStringList { u"Milk*"_s, u"Bread"_s }));

    // A suspend through the day start leaves the timer behind; the next tick finds the day begun, and the goal
    // it ticks stays until the next one.
    const QDateTime today = DayStart::mostRecent(QDateTime::currentDateTime());
    m_defaults->setValue(
        u"lastDayStartCleared"_s, DayStart::on(today.date().addDays(-1)).toUTC().toString(Qt::ISODate));
    m_history->perform(std::make_unique<SetGoalCompleted>(m_store.get(), m_store->todos().at(1).id));
    QCOMPARE(goalTexts(*m_store), QStringList { u"Bread*"_s });
    DailyClearing restart(m_settings.get(), m_store.get(), m_history);
    QCOMPARE(goalTexts(*m_store), QStringList { u"Bread*"_s });
}

QTEST_GUILESS_MAIN(DailyClearingTest)
#include "dailyclearing_test.moc"
