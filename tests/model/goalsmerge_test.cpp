// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/goalsmerge.h"

#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace
{

const QDateTime Start(QDate(2026, 12, 8), QTime(9, 0), Qt::UTC);

QUuid idOf(QChar letter)
{
    return QUuid::createUuidV5(QUuid(), QString(letter));
}

QDateTime at(int minute)
{
    return Start.addSecs(minute * 60);
}

// "Ax@3 B@1": a goal per word, its id the first letter, its text the word before '@', made and last changed
// at that minute; orders follow the words.
QList<TodoItem> goals(const QString &words)
{
    QList<TodoItem> todos;
    for (const QString &word : words.split(u' ', Qt::SkipEmptyParts)) {
        const QString text = word.section(u'@', 0, 0);
        const QDateTime changed = at(word.section(u'@', 1).toInt());
        todos.append({ idOf(text.at(0)), text, false, todos.size(), changed, changed, {} });
    }
    return todos;
}

// "-" for no base at all (a sync tool's conflict copy), else goals as above.
std::optional<QList<TodoItem>> base(const QString &words)
{
    if (words == u"-")
        return std::nullopt;
    return goals(words);
}

} // namespace

class GoalsMergeTest final : public QObject
{
    Q_OBJECT

private slots:
    void merge_keepsEverySidesChange_data();
    void merge_keepsEverySidesChange();
    void merge_numbersOneSequenceAlikeOnBothComputers();
    void merge_ofASyncsOutcome_takesTheSideThatChanged_data();
    void merge_ofASyncsOutcome_takesTheSideThatChanged();
};

void GoalsMergeTest::merge_keepsEverySidesChange_data()
{
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("other");
    QTest::addColumn<QString>("lastSeen");
    QTest::addColumn<QString>("deleted");
    QTest::addColumn<int>("otherWritten");
    QTest::addColumn<QString>("merged");

    QTest::newRow("later edit there wins") << "A@1 B@1"
                                           << "Ax@3 B@1"
                                           << "A@1 B@1"
                                           << "" << 3 << "Ax B";
    QTest::newRow("later edit here wins") << "Ap@4 B@1"
                                          << "Ao@3 B@1"
                                          << "A@1 B@1"
                                          << "" << 3 << "Ap B";
    QTest::newRow("edited there with its time left alone, as an editor does") << "A@1 B@1"
                                                                              << "Ax@1 B@1"
                                                                              << "A@1 B@1"
                                                                              << "" << 2 << "Ax B";
    QTest::newRow("an older version there loses, though it differs from the last seen") << "Ap@3"
                                                                                        << "Ao@2"
                                                                                        << "Ap@3"
                                                                                        << "" << 2 << "Ap";
    QTest::newRow("edited on both sides at one time, the panel's stays") << "Ap@2"
                                                                         << "Ao@2"
                                                                         << "A@1"
                                                                         << "" << 2 << "Ap";
    QTest::newRow("both added") << "A@1 P@2"
                                << "A@1 O@3"
                                << "A@1"
                                << "" << 3 << "A P O";
    QTest::newRow("both added, as the other computer merges it") << "A@1 O@3"
                                                                 << "A@1 P@2"
                                                                 << "A@1"
                                                                 << "" << 3 << "A P O";
    QTest::newRow("deleted there") << "A@1 B@1 C@1"
                                   << "A@1 C@1"
                                   << "A@1 B@1 C@1"
                                   << "" << 5 << "A C";
    QTest::newRow("changed here after it was deleted there") << "A@1 Bx@6"
                                                             << "A@1"
                                                             << "A@1 B@1"
                                                             << "" << 5 << "A Bx";
    QTest::newRow("deleted here") << "A@1"
                                  << "A@1 B@1"
                                  << "A@1 B@1"
                                  << "B@4" << 1 << "A";
    QTest::newRow("changed there after it was deleted here") << "A@1"
                                                             << "A@1 Bx@5"
                                                             << "A@1 B@1"
                                                             << "B@4" << 5 << "A Bx";
    QTest::newRow("moved there") << "A@1 B@1 C@1"
                                 << "C@3 A@1 B@1"
                                 << "A@1 B@1 C@1"
                                 << "" << 3 << "C A B";
    QTest::newRow("moved here, edited there") << "C@4 A@1 B@1"
                                              << "A@1 Bx@3 C@1"
                                              << "A@1 B@1 C@1"
                                              << "" << 3 << "C A Bx";
    QTest::newRow("ticked there, deleted and renumbered here") << "A@1 C@1 D@1"
                                                               << "A@1 B@1 C@1 Dx@3"
                                                               << "A@1 B@1 C@1 D@1"
                                                               << "B@2" << 3 << "A C Dx";
    QTest::newRow("a conflict copy adds, never deletes") << "A@1 B@1"
                                                         << "A@1 O@2"
                                                         << "-"
                                                         << "" << 0 << "A B O";
    QTest::newRow("a goal listed twice stays twice") << "A@1 A@1 B@1"
                                                     << "A@1 A@1 B@1"
                                                     << "A@1 B@1"
                                                     << "" << 1 << "A A B";
}

void GoalsMergeTest::merge_keepsEverySidesChange()
{
    QFETCH(QString, panel);
    QFETCH(QString, other);
    QFETCH(QString, lastSeen);
    QFETCH(QString, deleted);
    QFETCH(int, otherWritten);
    QFETCH(QString, merged);

    GoalsMerge::Deletions deletions;
    for (const TodoItem &item : goals(deleted))
        deletions.insert(item.id, item.modifiedAt);
    const QList<TodoItem> result
        = GoalsMerge::merge(goals(panel), { goals(other), base(lastSeen), at(otherWritten) }, deletions);
    QStringList texts;
    for (const TodoItem &item : result)
        texts.append(item.text);
    QCOMPARE(texts.join(u' '), merged);
    // Strictly ascending, so that two panels merging the same changes number them alike.
    QVERIFY(std::adjacent_find(result.cbegin(), result.cend(), [](const TodoItem &a, const TodoItem &b) {
        return a.order >= b.order;
    }) == result.cend());
}

void GoalsMergeTest::merge_numbersOneSequenceAlikeOnBothComputers()
{
    // The same goals in the same sequence: one computer renumbered them after a deletion, the other did not.
    const QList<TodoItem> renumbered = goals(QStringLiteral("A@1 C@1 D@1"));
    QList<TodoItem> gapped = renumbered;
    gapped[1].order = 2;
    gapped[2].order = 3;
    const auto orders = [](const QList<TodoItem> &todos) {
        QList<qint64> orders;
        for (const TodoItem &item : todos)
            orders.append(item.order);
        return orders;
    };
    const QList<TodoItem> here = GoalsMerge::merge(renumbered, { gapped, renumbered, at(1) }, {});
    const QList<TodoItem> there = GoalsMerge::merge(gapped, { renumbered, gapped, at(1) }, {});
    QCOMPARE(orders(here), orders(there));
}

void GoalsMergeTest::merge_ofASyncsOutcome_takesTheSideThatChanged_data()
{
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("synced");
    QTest::addColumn<QString>("sent");
    QTest::addColumn<QString>("merged");
    // The phone's clock is behind the panel's: its later edit and its move carry earlier times.
    QTest::newRow("edited on the phone only") << "A@5 B@1"
                                              << "Ax@3 B@1"
                                              << "A@5 B@1"
                                              << "Ax B";
    QTest::newRow("moved on the phone only") << "A@5 B@1 C@1"
                                             << "B@1 A@3 C@1"
                                             << "A@5 B@1 C@1"
                                             << "B A C";
    // The panel's move while the sync ran, stamped before the phone's last edit of the goal.
    QTest::newRow("moved here only") << "C@2 A@1 B@1"
                                     << "A@1 B@1 C@4"
                                     << "A@1 B@1 C@4"
                                     << "C A B";
    QTest::newRow("changed on both sides, the later wins") << "Ap@6 B@1"
                                                           << "Ao@7 B@1"
                                                           << "A@1 B@1"
                                                           << "Ao B";
}

void GoalsMergeTest::merge_ofASyncsOutcome_takesTheSideThatChanged()
{
    QFETCH(QString, panel);
    QFETCH(QString, synced);
    QFETCH(QString, sent);
    QFETCH(QString, merged);
    const QList<TodoItem> result = GoalsMerge::merge(goals(panel), { goals(synced), goals(sent), at(8), true }, {});
    QStringList texts;
    for (const TodoItem &item : result)
        texts.append(item.text);
    QCOMPARE(texts.join(u' '), merged);
}

QTEST_APPLESS_MAIN(GoalsMergeTest)

#include "goalsmerge_test.moc"
