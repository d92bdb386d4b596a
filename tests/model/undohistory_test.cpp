// SPDX-License-Identifier: GPL-3.0-or-later

#include "goaltexts.h"
#include "model/addgoals.h"
#include "model/goalsfile.h"
#include "model/goalsteps.h"
#include "model/removegoals.h"
#include "model/todostore.h"
#include "model/undohistory.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace
{

using Step = std::function<std::unique_ptr<UndoStep>(TodoStore &)>;

// Every field of every goal, in list order, so that a goal brought back is seen to be the same goal.
QStringList records(const TodoStore &store)
{
    QStringList lines;
    for (const TodoItem &item : store.todos())
        lines.append(u"%1 %2 %3 %4 %5"_s.arg(item.id.toString(), item.text, item.completed ? u"done"_s : u"open"_s,
            item.createdAt.toString(Qt::ISODate), QString::number(item.order)));
    return lines;
}

QUuid idOf(const TodoStore &store, const QString &text)
{
    for (const TodoItem &item : store.todos())
        if (item.text == text)
            return item.id;
    return {};
}

} // namespace

class UndoHistoryTest final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void eachStep_isUndoneByOneUndoAndRedoneByRedo_data();
    void eachStep_isUndoneByOneUndoAndRedoneByRedo();
    void undo_leavesChangesFromElsewhereAlone();
    void undoneDelete_outlastsMergesThatAreNoSteps();
    void history_namesItsStepsAndKeepsTheNewest();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TodoStore> m_store;
};

void UndoHistoryTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_store = std::make_unique<TodoStore>(m_dir->filePath(u"todos.json"_s));
    m_store->addLines(u"Milk\nBread\nRent"_s);
    m_store->toggle(idOf(*m_store, u"Bread"_s));
}

void UndoHistoryTest::eachStep_isUndoneByOneUndoAndRedoneByRedo_data()
{
    QTest::addColumn<Step>("step");
    QTest::addColumn<QStringList>("after");
    const auto id = [](TodoStore &store, const QString &text) { return idOf(store, text); };
    QTest::newRow("add") << Step([](TodoStore &store) {
        return std::make_unique<AddGoals>(&store, u"Eggs"_s, AddGoals::Split::OneGoal);
    }) << QStringList { u"Milk"_s, u"Bread*"_s, u"Rent"_s, u"Eggs"_s };
    QTest::newRow("a send of two lines") << Step([](TodoStore &store) {
        return std::make_unique<AddGoals>(&store, u"Eggs\n\nTea"_s, AddGoals::Split::OneGoalPerLine);
    }) << QStringList { u"Milk"_s, u"Bread*"_s, u"Rent"_s, u"Eggs"_s, u"Tea"_s };
    QTest::newRow("tick") << Step([id](TodoStore &store) {
        return std::make_unique<SetGoalCompleted>(&store, id(store, u"Rent"_s));
    }) << QStringList { u"Milk"_s, u"Bread*"_s, u"Rent*"_s };
    QTest::newRow("edit") << Step([id](TodoStore &store) {
        return std::make_unique<EditGoalText>(&store, id(store, u"Milk"_s), u"Oat milk"_s);
    }) << QStringList { u"Oat milk"_s, u"Bread*"_s, u"Rent"_s };
    QTest::newRow("delete") << Step([id](TodoStore &store) {
        return std::make_unique<RemoveGoals>(&store, RemoveGoals::Which::OneGoal, id(store, u"Milk"_s));
    }) << QStringList { u"Bread*"_s, u"Rent"_s };
    QTest::newRow("move") << Step([id](TodoStore &store) {
        return std::make_unique<MoveGoal>(&store, id(store, u"Milk"_s), 2);
    }) << QStringList { u"Bread*"_s, u"Rent"_s, u"Milk"_s };
    QTest::newRow("remove done") << Step([](TodoStore &store) {
        return std::make_unique<RemoveGoals>(&store, RemoveGoals::Which::DoneGoals);
    }) << QStringList { u"Milk"_s, u"Rent"_s };
}

void UndoHistoryTest::eachStep_isUndoneByOneUndoAndRedoneByRedo()
{
    QFETCH(Step, step);
    QFETCH(QStringList, after);
    UndoHistory history;
    const QStringList before = records(*m_store);
    history.perform(step(*m_store));
    QCOMPARE(goalTexts(*m_store), after);
    const QStringList done = records(*m_store);

    history.undo();
    QCOMPARE(records(*m_store), before);
    QCOMPARE(records(TodoStore(m_store->fileURL())), before);
    QVERIFY(!history.canUndo());
    history.redo();
    QCOMPARE(records(*m_store), done);
    QCOMPARE(records(TodoStore(m_store->fileURL())), done);
}

void UndoHistoryTest::undo_leavesChangesFromElsewhereAlone()
{
    TodoStore &store = *m_store;
    UndoHistory history;
    history.perform(std::make_unique<AddGoals>(&store, u"Eggs\nTea"_s, AddGoals::Split::OneGoalPerLine));
    history.perform(std::make_unique<EditGoalText>(&store, idOf(store, u"Milk"_s), u"Oat milk"_s));
    history.perform(std::make_unique<SetGoalCompleted>(&store, idOf(store, u"Rent"_s)));
    history.perform(std::make_unique<RemoveGoals>(&store, RemoveGoals::Which::OneGoal, idOf(store, u"Bread"_s)));

    // Another program's changes, made directly on the store.
    store.updateText(idOf(store, u"Oat milk"_s), u"Soy milk"_s);
    store.toggle(idOf(store, u"Rent"_s));
    store.remove(idOf(store, u"Tea"_s));
    store.add(u"Call mum"_s);
    QCOMPARE(goalTexts(store), (QStringList { u"Soy milk"_s, u"Rent"_s, u"Eggs"_s, u"Call mum"_s }));

    // The tick and the edit were replaced elsewhere: one undo brings Bread back, the next takes Eggs away.
    QVERIFY(history.undo());
    QCOMPARE(history.undoText(), u"Mark \u201CRent\u201D as Done"_s);
    QVERIFY(history.undo());
    QVERIFY(!history.canUndo());
    QVERIFY(!history.undo());
    QCOMPARE(goalTexts(store), (QStringList { u"Soy milk"_s, u"Bread*"_s, u"Rent"_s, u"Call mum"_s }));
    // Nor are they made again.
    QVERIFY(history.redo());
    QVERIFY(history.redo());
    QVERIFY(!history.canRedo());
    QVERIFY(!history.redo());
    QCOMPARE(goalTexts(store), (QStringList { u"Soy milk"_s, u"Rent"_s, u"Eggs"_s, u"Call mum"_s }));

    // A step that changes nothing is not kept.
    const QString newest = history.undoText();
    QVERIFY(!history.perform(std::make_unique<SetGoalCompleted>(&store, idOf(store, u"Tea"_s))));
    QCOMPARE(history.undoText(), newest);
    // Nor is an edit to the same text as typed, spaces and a pasted line break aside.
    QVERIFY(!history.perform(std::make_unique<EditGoalText>(&store, idOf(store, u"Eggs"_s), u" Eggs\n"_s)));
    QCOMPARE(history.undoText(), newest);
    QCOMPARE(goalTexts(store).at(2), u"Eggs"_s);

    // A step names its goal as it reads now.
    history.perform(std::make_unique<SetGoalCompleted>(&store, idOf(store, u"Eggs"_s)));
    store.updateText(idOf(store, u"Eggs"_s), u"Free-range eggs"_s);
    QCOMPARE(history.undoText(), u"Mark \u201CFree-range eggs\u201D as Done"_s);
}

void UndoHistoryTest::undoneDelete_outlastsMergesThatAreNoSteps()
{
    const QString state = m_dir->filePath(u"state"_s);
    TodoStore store(*m_store->fileURL(), state);
    UndoHistory history;
    const QList<TodoItem> before = store.todos();
    const QUuid bread = idOf(store, u"Bread"_s);
    history.perform(std::make_unique<RemoveGoals>(&store, RemoveGoals::Which::OneGoal, bread));
    history.undo();
    // Put back, the goal is no longer on record as deleted, and its change is newer than any copy from before.
    QFile deletions(state + u"/deletions.json"_s);
    QVERIFY(deletions.open(QIODevice::ReadOnly));
    QVERIFY(!deletions.readAll().contains(bread.toString(QUuid::WithoutBraces).toLatin1()));
    QVERIFY(lastChange(store.todos().at(1)) > lastChange(before.at(1)));

    // Another program writes the list as it stood before the deletion, with one goal changed since.
    QList<TodoItem> theirs = before;
    theirs[2].text = u"Pay rent"_s;
    theirs[2].modifiedAt = QDateTime::currentDateTimeUtc().addSecs(60);
    QFile file(*store.fileURL());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(*GoalsFile::encode(theirs));
    file.close();
    store.mergeFromDisk();
    QCOMPARE(goalTexts(store), (QStringList { u"Milk"_s, u"Bread*"_s, u"Pay rent"_s }));
    QVERIFY(!history.canUndo());

    // Redo and undo take on the deleted goal alone.
    history.redo();
    QCOMPARE(goalTexts(store), (QStringList { u"Milk"_s, u"Pay rent"_s }));
    history.undo();
    QCOMPARE(goalTexts(TodoStore(*store.fileURL())), (QStringList { u"Milk"_s, u"Bread*"_s, u"Pay rent"_s }));
}

void UndoHistoryTest::history_namesItsStepsAndKeepsTheNewest()
{
    TodoStore &store = *m_store;
    UndoHistory history;
    QCOMPARE(history.undoText(), QString());
    // A step that changes nothing is not kept.
    history.perform(std::make_unique<RemoveGoals>(&store, RemoveGoals::Which::OneGoal, QUuid::createUuid()));
    QVERIFY(!history.canUndo());

    history.perform(std::make_unique<RemoveGoals>(&store, RemoveGoals::Which::OneGoal, idOf(store, u"Milk"_s)));
    QCOMPARE(history.undoText(), u"Delete \u201CMilk\u201D"_s);
    history.undo();
    QCOMPARE(history.redoText(), u"Delete \u201CMilk\u201D"_s);
    history.perform(
        std::make_unique<AddGoals>(&store, u"A\tlong\ngoal "_s + QString(60, u'x'), AddGoals::Split::OneGoal));
    QVERIFY(!history.canRedo());
    QCOMPARE(history.undoText(), u"Add \u201CA long goal xxxxxxxxxxxxxxxxxxxxxxxxxxx\u2026\u201D"_s);
    // The undone delete went with the new step: nothing is left to undo behind the add.
    history.undo();
    QCOMPARE(history.undoText(), QString());
    history.redo();

    for (int i = 0; i < UndoHistory::StepLimit + 20; ++i)
        history.perform(std::make_unique<SetGoalCompleted>(&store, idOf(store, u"Rent"_s)));
    for (int i = 0; i < UndoHistory::StepLimit; ++i)
        history.undo();
    QVERIFY(!history.canUndo());
    QCOMPARE(goalTexts(store).size(), 4);
}

QTEST_GUILESS_MAIN(UndoHistoryTest)
#include "undohistory_test.moc"
