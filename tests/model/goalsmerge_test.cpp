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

// "Ax@3 B@1": a goal per word, its id the first letter, its text the word before '@', last changed at that
// minute; orders follow the words.
QList<TodoItem> goals(const QString &words)
{
    QList<TodoItem> todos;
    for (const QString &word : words.split(u' ', Qt::SkipEmptyParts)) {
        const QString text = word.section(u'@', 0, 0);
        todos.append({ idOf(text.at(0)), text, false, todos.size(), Start, at(word.section(u'@', 1).toInt()) });
    }
    return todos;
}

std::optional<QSet<QUuid>> ids(const QString &letters)
{
    if (letters == u"-")
        return std::nullopt;
    QSet<QUuid> set;
    for (QChar letter : letters)
        set.insert(idOf(letter));
    return set;
}

} // namespace

class GoalsMergeTest final : public QObject
{
    Q_OBJECT

private slots:
    void merge_keepsEverySidesChange_data();
    void merge_keepsEverySidesChange();
};

void GoalsMergeTest::merge_keepsEverySidesChange_data()
{
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("other");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("deleted");
    QTest::addColumn<int>("otherWritten");
    QTest::addColumn<QString>("merged");

    QTest::newRow("later edit there wins") << "A@1 B@1"
                                           << "Ax@3 B@1"
                                           << "AB"
                                           << "" << 3 << "Ax B";
    QTest::newRow("later edit here wins") << "Ap@4 B@1"
                                          << "Ao@3 B@1"
                                          << "AB"
                                          << "" << 3 << "Ap B";
    QTest::newRow("a tie keeps the panel's") << "Ap@2"
                                             << "Ao@2"
                                             << "A"
                                             << "" << 2 << "Ap";
    QTest::newRow("both added") << "A@1 P@2"
                                << "A@1 O@3"
                                << "A"
                                << "" << 3 << "A P O";
    QTest::newRow("deleted there") << "A@1 B@1 C@1"
                                   << "A@1 C@1"
                                   << "ABC"
                                   << "" << 5 << "A C";
    QTest::newRow("changed here after it was deleted there") << "A@1 Bx@6"
                                                             << "A@1"
                                                             << "AB"
                                                             << "" << 5 << "A Bx";
    QTest::newRow("deleted here") << "A@1"
                                  << "A@1 B@1"
                                  << "AB"
                                  << "B@4" << 1 << "A";
    QTest::newRow("changed there after it was deleted here") << "A@1"
                                                             << "A@1 Bx@5"
                                                             << "AB"
                                                             << "B@4" << 5 << "A Bx";
    QTest::newRow("moved there") << "A@1 B@1 C@1"
                                 << "C@3 A@1 B@1"
                                 << "ABC"
                                 << "" << 3 << "C A B";
    QTest::newRow("moved here, edited there") << "C@4 A@1 B@1"
                                              << "A@1 Bx@3 C@1"
                                              << "ABC"
                                              << "" << 3 << "C A Bx";
    QTest::newRow("ticked there, deleted and renumbered here") << "A@1 C@1 D@1"
                                                               << "A@1 B@1 C@1 Dx@3"
                                                               << "ABCD"
                                                               << "B@2" << 3 << "A C Dx";
    QTest::newRow("a conflict copy adds, never deletes") << "A@1 B@1"
                                                         << "A@1 O@2"
                                                         << "-"
                                                         << "" << 0 << "A B O";
    QTest::newRow("a goal listed twice stays twice") << "A@1 A@1 B@1"
                                                     << "A@1 A@1 B@1"
                                                     << "AB"
                                                     << "" << 1 << "A A B";
}

void GoalsMergeTest::merge_keepsEverySidesChange()
{
    QFETCH(QString, panel);
    QFETCH(QString, other);
    QFETCH(QString, base);
    QFETCH(QString, deleted);
    QFETCH(int, otherWritten);
    QFETCH(QString, merged);

    GoalsMerge::Deletions deletions;
    for (const TodoItem &item : goals(deleted))
        deletions.insert(item.id, item.modifiedAt);
    const QList<TodoItem> result
        = GoalsMerge::merge(goals(panel), { goals(other), ids(base), at(otherWritten) }, deletions);
    QStringList texts;
    for (const TodoItem &item : result)
        texts.append(item.text);
    QCOMPARE(texts.join(u' '), merged);
    QVERIFY(std::is_sorted(
        result.cbegin(), result.cend(), [](const TodoItem &a, const TodoItem &b) { return a.order < b.order; }));
}

QTEST_APPLESS_MAIN(GoalsMergeTest)

#include "goalsmerge_test.moc"
