// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/goalsfile.h"
#include "model/todostore.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cstdio>
#include <functional>
#include <limits>

using namespace Qt::StringLiterals;

namespace
{

// What the file system's news takes at most to arrive, even on a machine busy with other work; a pass costs no
// more than the news itself.
constexpr int OutsideChangeMs = 5000;

TodoItem goal(const QString &text, qint64 order)
{
    return { QUuid::createUuid(), text, false, order, QDateTime::currentDateTimeUtc(), {}, {} };
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The list as "text:order" words, a "*" marking a done goal, so one comparison checks all three.
QString snapshot(const TodoStore &store)
{
    QStringList words;
    for (const TodoItem &item : store.todos())
        words.append(item.text + u':' + QString::number(item.order) + (item.completed ? u"*"_s : QString()));
    return words.join(u' ');
}

// A folder's entries or a file's bytes, so that a kept copy can be matched with what it was.
QByteArray contentsOf(const QString &path)
{
    if (QFileInfo(path).isDir())
        return "folder: " + QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).join(u' ').toUtf8();
    return readFile(path);
}

QStringList keptCopies(const QString &folder)
{
    return QDir(folder).entryList({ u"todos.json.unreadable-*"_s }, QDir::Files | QDir::Dirs | QDir::Hidden);
}

} // namespace

class TodoStoreTest final : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void loadAndAdd_keepTheOrderRules();
    void addLines_splitsAndTrims();
    void controlCharacters_neverReachAGoal_data();
    void controlCharacters_neverReachAGoal();
    void operations_saveAndNotifyOnlyWhereTheyShould();
    void unreadableFiles_areKeptAsideAtOnce();
    void brokenGoals_comeBackRepaired();
    void outsideChanges_areMergedNotOverwritten();
    void outsideEdits_winOverGoalsThePanelRepairedOrWrote();
    void lostFile_isWrittenAgainAtOnce();
    void deletions_outliveARestart();
    void unwritableFolder_keepsGoalsInMemory();
    void killedWhileSaving_leavesOldOrNewList();

private:
    QString path() const { return m_folder->filePath(u"todos.json"_s); }

    std::unique_ptr<QTemporaryDir> m_folder;
};

void TodoStoreTest::init()
{
    QStandardPaths::setTestModeEnabled(true);
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
}

void TodoStoreTest::loadAndAdd_keepTheOrderRules()
{
    // Equal orders keep the file's order, and a goal listed twice is kept twice rather than lost.
    const TodoItem twice = goal(u"b"_s, 2);
    writeFile(path(), *GoalsFile::encode({ goal(u"a"_s, 5), twice, goal(u"c"_s, 2), goal(u"d"_s, 9), twice }));
    TodoStore store(path());
    QCOMPARE(snapshot(store), u"b:2 c:2 b:2 a:5 d:9"_s);
    store.add(u"e"_s);
    QCOMPARE(snapshot(store), u"b:2 c:2 b:2 a:5 d:9 e:10"_s);
    store.remove(store.todos().at(1).id);
    QCOMPARE(snapshot(store), u"b:0 b:1 a:2 d:3 e:4"_s);

    constexpr qint64 Largest = std::numeric_limits<qint64>::max();
    const struct {
        QList<TodoItem> saved;
        void (TodoStore::*adds)(const QString &);
        QString added;
        QString after;
    } edited[] = {
        // Only a hand-edited file holds the largest order; the next add must renumber to make room.
        { { goal(u"a"_s, Largest), goal(u"b"_s, -4) }, &TodoStore::add, u"c"_s, u"b:0 a:1 c:2"_s },
        // Pasted lines follow one another; the one after the largest order renumbers like an add.
        { { goal(u"a"_s, Largest - 1) }, &TodoStore::addLines, u"c\nd\ne"_s, u"a:0 c:1 d:2 e:3"_s },
        // Orders all below -1 still put the new goal after the last one.
        { { goal(u"a"_s, -7), goal(u"b"_s, -3) }, &TodoStore::add, u"c"_s, u"a:-7 b:-3 c:-2"_s },
    };
    for (const auto &[saved, adds, added, after] : edited) {
        writeFile(path(), *GoalsFile::encode(saved));
        TodoStore other(path());
        (other.*adds)(added);
        QCOMPARE(snapshot(other), after);
    }
}

void TodoStoreTest::addLines_splitsAndTrims()
{
    TodoStore store(path());
    store.add(u"earlier"_s);
    // Every newline kind splits. Each line is trimmed with the set every typed text is trimmed with: inner
    // spaces stay, unicode spaces go, a zero-width space and a byte-order mark stay.
    store.addLines(u"a\nb\rc\u000bd\u000ce\u0085f\u2028g\u2029h\n\t Call  the plumber \u00a0\n\u3000x\u202f\u2007\n"
                   u"\u200bx\u200b\ny\ufeff"_s);
    const QString result
        = u"earlier:0 a:1 b:2 c:3 d:4 e:5 f:6 g:7 h:8 Call  the plumber:9 x:10 \u200bx\u200b:11 y\ufeff:12"_s;
    QCOMPARE(snapshot(store), result);
    QCOMPARE(snapshot(TodoStore(path())), result);
    // The file was missing, not unreadable: nothing is kept aside.
    QVERIFY(!store.keptUnreadableFile());
    QVERIFY(keptCopies(m_folder->path()).isEmpty());
}

void TodoStoreTest::controlCharacters_neverReachAGoal_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("goal");
    QTest::newRow("tab, bell and colours from a terminal") << u"Tab\there\a \x1b[31mred\x1b[0m"_s << u"Tab here red"_s;
    QTest::newRow("NUL, DEL and C1") << u"a\x00"
                                        "b\x7f"
                                        "c\x90"
                                        "d"_s
                                     << u"abcd"_s;
    QTest::newRow("the one-character CSI and a lone ESC") << u"\x9b"
                                                             "1mbold \x1b"
                                                             "x"_s
                                                          << u"bold x"_s;
    QTest::newRow("an unfinished sequence keeps the text after it") << u"\x1b[ 12 apples"_s << u"12 apples"_s;
    QTest::newRow("controls alone make no goal") << u"\t\a\x1b[0m\x7f"_s << QString();
}

void TodoStoreTest::controlCharacters_neverReachAGoal()
{
    QFETCH(QString, text);
    QFETCH(QString, goal);
    // Sent or seeded lines; typed text too, which the editors hand on as typed once holdsGoalText says it
    // would leave a goal.
    TodoStore store(path());
    store.addLines(text);
    QCOMPARE(snapshot(store), goal.isEmpty() ? QString() : goal + u":0"_s);
    QCOMPARE(trimmedNonEmpty(text), goal.isEmpty() ? std::nullopt : std::optional(goal));
    QCOMPARE(holdsGoalText(text), !goal.isEmpty());
    // A caller that hands the store raw text still stores no control character.
    store.add(u"x"_s);
    store.updateText(store.todos().constLast().id, u"Line\none\x1b[1m"_s + text);
    const QString edited = store.todos().constLast().text;
    QVERIFY2(edited.startsWith(u"Line one"_s), qPrintable(edited));
    for (const QChar c : edited)
        QVERIFY2(c.unicode() >= 0x20 && (c.unicode() < 0x7f || c.unicode() > 0x9f), qPrintable(edited));
}

void TodoStoreTest::operations_saveAndNotifyOnlyWhereTheyShould()
{
    writeFile(path(), *GoalsFile::encode({ goal(u"A"_s, 3), goal(u"B"_s, 7) }));
    TodoStore store(path());
    QSignalSpy changed(&store, &TodoStore::todosChanged);
    const QUuid a = store.todos().constFirst().id;
    const QUuid unknown = QUuid::createUuid();
    // Renumbering notifies once for every goal whose order changes.
    constexpr int Some = -1;
    const QUuid b = store.todos().at(1).id;
    const struct {
        const char *name;
        std::function<void()> run;
        bool saves;
        int notifications;
        QString after;
    } steps[] = {
        { "add", [&] { store.add(u"C"_s); }, false, 1, u"A:3 B:7 C:8"_s },
        { "toggle unknown", [&] { store.toggle(unknown); }, false, 0, u"A:3 B:7 C:8"_s },
        { "delete unknown", [&] { store.remove(unknown); }, true, Some, u"A:0 B:1 C:2"_s },
        { "toggle", [&] { store.toggle(a); }, true, 1, u"A:0* B:1 C:2"_s },
        { "toggle back", [&] { store.toggle(a); }, true, 1, u"A:0 B:1 C:2"_s },
        { "updateText empty", [&] { store.updateText(a, QString()); }, true, 1, u":0 B:1 C:2"_s },
        { "addLines nothing", [&] { store.addLines(u" \n "_s); }, true, 0, u":0 B:1 C:2"_s },
        { "addLines two", [&] { store.addLines(u"D\nE"_s); }, true, 2, u":0 B:1 C:2 D:3 E:4"_s },
        { "move up", [&] { store.moveBy(b, -1); }, true, Some, u"B:0 :1 C:2 D:3 E:4"_s },
        { "move up from the top", [&] { store.moveBy(b, -1); }, false, 0, u"B:0 :1 C:2 D:3 E:4"_s },
        { "move to the end", [&] { store.moveTo(a, 4); }, true, Some, u"B:0 C:1 D:2 E:3 :4"_s },
        { "move down from the end", [&] { store.moveBy(a, 1); }, false, 0, u"B:0 C:1 D:2 E:3 :4"_s },
        { "move to past the end", [&] { store.moveTo(b, 9); }, true, Some, u"C:0 D:1 E:2 :3 B:4"_s },
        { "move unknown", [&] { store.moveBy(unknown, -1); }, false, 0, u"C:0 D:1 E:2 :3 B:4"_s },
        { "delete", [&] { store.remove(a); }, true, Some, u"C:0 D:1 E:2 B:3"_s },
    };
    for (const auto &step : steps) {
        // Whether the file comes back shows whether the step wrote it.
        QFile::remove(path());
        changed.clear();
        step.run();
        QCOMPARE(snapshot(store), step.after);
        QVERIFY2(QFile::exists(path()) == step.saves, step.name);
        if (step.saves)
            QCOMPARE(snapshot(TodoStore(path())), step.after);
        if (step.notifications == Some)
            QVERIFY2(!changed.isEmpty(), step.name);
        else
            QVERIFY2(changed.count() == step.notifications, step.name);
    }
}

void TodoStoreTest::unreadableFiles_areKeptAsideAtOnce()
{
    // A well-formed file this large is still not read: it cannot be a day's list.
    constexpr qsizetype HugeSize = 65 * 1024 * 1024;
    // Each in turn takes the place of the goals file; all must survive, though replaced within one second.
    const std::function<void()> spoilers[] = {
        [this] { writeFile(path(), R"([{"id":)"); },
        [this] { writeFile(path(), QByteArray()); },
        [this] { writeFile(path(), '[' + QByteArray(HugeSize, ' ') + ']'); },
        [this] {
            QVERIFY(QFile::remove(path()));
            QVERIFY(QDir(m_folder->path()).mkpath(u"todos.json/inside"_s));
        },
    };
    for (const auto &spoil : spoilers) {
        spoil();
        const QByteArray original = contentsOf(path());
        const QStringList keptBefore = keptCopies(m_folder->path());
        TodoStore store(path());
        QVERIFY(store.todos().isEmpty());
        const QStringList kept = keptCopies(m_folder->path());
        QCOMPARE(kept.size(), keptBefore.size() + 1);
        QVERIFY(kept.contains(QFileInfo(store.keptUnreadableFile().value_or(QString())).fileName()));
        QCOMPARE(contentsOf(*store.keptUnreadableFile()), original);
        QVERIFY(store.readNotice().contains(*store.keptUnreadableFile()));

        // Later saves replace the new file in place and keep nothing more.
        store.addLines(u"New"_s);
        store.addLines(u"Newer"_s);
        QCOMPARE(keptCopies(m_folder->path()), kept);
        QCOMPARE(snapshot(TodoStore(path())), u"New:0 Newer:1"_s);
    }
}

void TodoStoreTest::brokenGoals_comeBackRepaired()
{
    // Three sound goals and one added by hand with only its text; an element without text cannot come back.
    const QByteArray sound = *GoalsFile::encode({ goal(u"a"_s, 0), goal(u"b"_s, 1), goal(u"c"_s, 2) });
    const QByteArray edited = sound.chopped(1) + R"(,{"text":"Added by hand"},{"done":true}])";
    writeFile(path(), edited);
    TodoStore store(path());
    QCOMPARE(snapshot(store), u"a:0 b:1 c:2 Added by hand:3"_s);
    QCOMPARE(contentsOf(store.keptUnreadableFile().value_or(QString())), edited);
    QVERIFY(!store.readNotice().isEmpty());
    // Written back at once with an id, so the next read finds the same goal rather than another repaired copy.
    QCOMPARE(snapshot(TodoStore(path())), snapshot(store));
    QVERIFY(GoalsFile::decode(readFile(path())));

    // Not goals at all: the list as last saved opens instead of an empty list, else the last good version of
    // an earlier day.
    const QString state = m_folder->filePath(u"state"_s);
    TodoStore keeping(path(), state);
    {
        QFile file(path());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
    }
    keeping.addLines(u"today"_s);
    writeFile(path(), "garbage");
    TodoStore restored(path(), state);
    QCOMPARE(snapshot(restored), u"a:0 b:1 c:2 Added by hand:3 today:4"_s);
    QVERIFY(restored.readNotice().contains(restored.keptUnreadableFile().value_or(u"none"_s)));
    QVERIFY(QFile::remove(state + u"/todos-last-saved.json"_s));
    writeFile(path(), "garbage");
    QCOMPARE(snapshot(TodoStore(path(), state)), u"a:0 b:1 c:2 Added by hand:3"_s);
}

void TodoStoreTest::outsideChanges_areMergedNotOverwritten()
{
    writeFile(path(), *GoalsFile::encode({ goal(u"a"_s, 0), goal(u"b"_s, 1) }));
    TodoStore store(path());
    qRegisterMetaType<TodoStore::Origin>();
    QSignalSpy changed(&store, &TodoStore::todosChanged);
    const auto lastOrigin = [&changed] { return changed.constLast().constFirst().value<TodoStore::Origin>(); };
    // The panel's own save is not an outside change.
    store.toggle(store.todos().at(0).id);
    QTest::qWait(100);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(lastOrigin(), TodoStore::Origin::ThisPanel);

    // An editor writes a new file and renames it over the old one: b edited, c added. It shows at once.
    QList<TodoItem> theirs = *GoalsFile::decode(readFile(path()));
    theirs[0].completed = false;
    theirs[0].modifiedAt = QDateTime::currentDateTimeUtc().addSecs(-60);
    theirs[1].text = u"b edited"_s;
    theirs[1].modifiedAt = QDateTime::currentDateTimeUtc().addSecs(1);
    theirs.append(goal(u"c"_s, 2));
    writeFile(path() + u".new"_s, *GoalsFile::encode(theirs));
    QVERIFY(std::rename(qPrintable(path() + u".new"_s), qPrintable(path())) == 0);
    QTRY_COMPARE_WITH_TIMEOUT(snapshot(store), u"a:0* b edited:1 c:2"_s, OutsideChangeMs);
    QCOMPARE(lastOrigin(), TodoStore::Origin::Disk);

    // Half written in place: nothing is lost, and the panel's next save keeps the half aside.
    writeFile(path(), R"([{"id":"6B1E2C44-0A7F-4D2B-9E3A-5C81F0D2)");
    QTest::qWait(100);
    QCOMPARE(snapshot(store), u"a:0* b edited:1 c:2"_s);
    store.toggle(store.todos().at(2).id);
    QCOMPARE(snapshot(TodoStore(path())), u"a:0* b edited:1 c:2*"_s);
    QCOMPARE(contentsOf(store.keptUnreadableFile().value_or(QString())), R"([{"id":"6B1E2C44-0A7F-4D2B-9E3A-5C81F0D2)");

    // A sync tool's conflict copy adds its goals and goes once they are in the goals file.
    const QString copy = m_folder->filePath(u"todos.sync-conflict-20261208-101500-ABCDEFG.json"_s);
    writeFile(copy, *GoalsFile::encode({ goal(u"from the other computer"_s, 0) }));
    QTRY_COMPARE_WITH_TIMEOUT(store.todos().size(), 4, OutsideChangeMs);
    QVERIFY(!QFile::exists(copy));
    QCOMPARE(snapshot(TodoStore(path())), snapshot(store));

    // The calendar server's version, merged with the list as it was sent.
    QList<TodoItem> synced = store.todos();
    synced[3].text = u"renamed on the phone"_s;
    synced[3].modifiedAt = QDateTime::currentDateTimeUtc().addSecs(1);
    store.mergeSynced(synced, store.todos(), QDateTime::currentDateTimeUtc());
    QCOMPARE(store.todos().at(3).text, u"renamed on the phone"_s);
    QCOMPARE(lastOrigin(), TodoStore::Origin::CalendarServer);
}

void TodoStoreTest::outsideEdits_winOverGoalsThePanelRepairedOrWrote()
{
    // As sed -i and a script do: the bytes edited and renamed over the file, every time left as it was.
    const auto editOutside = [this](const QByteArray &from, const QByteArray &to) {
        writeFile(path() + u".new"_s, readFile(path()).replace(from, to));
        QVERIFY(std::rename(qPrintable(path() + u".new"_s), qPrintable(path())) == 0);
    };
    // Only the text, as the README's example adds a goal by hand; then a goal the panel added itself.
    writeFile(path(), R"([{"text":"Call the bank"}])");
    TodoStore store(path());
    editOutside("Call the bank", "Call the bank at 9");
    store.mergeFromDisk();
    QCOMPARE(snapshot(store), u"Call the bank at 9:0"_s);
    editOutside(R"("completed":false)", R"("completed":true)");
    store.mergeFromDisk();
    QCOMPARE(snapshot(store), u"Call the bank at 9:0*"_s);
    store.addLines(u"Pay rent"_s);
    editOutside("Pay rent", "Pay the rent");
    store.mergeFromDisk();
    QCOMPARE(snapshot(store), u"Call the bank at 9:0* Pay the rent:1"_s);
    QCOMPARE(snapshot(TodoStore(path())), snapshot(store));
}

void TodoStoreTest::lostFile_isWrittenAgainAtOnce()
{
    const QString file = m_folder->filePath(u"Mirel/todos.json"_s);
    TodoStore store(file);
    store.addLines(u"P1\nP2\nP3"_s);
    // Deleted, then with its folder, while the panel runs: written again at once from what the panel holds.
    QVERIFY(QFile::remove(file));
    QVERIFY(!store.allOnDisk());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(file), OutsideChangeMs);
    QVERIFY(QDir(QFileInfo(file).path()).removeRecursively());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(file), OutsideChangeMs);
    QVERIFY(store.allOnDisk());
    QCOMPARE(snapshot(TodoStore(file)), u"P1:0 P2:1 P3:2"_s);
}

void TodoStoreTest::deletions_outliveARestart()
{
    const QString state = m_folder->filePath(u"state"_s);
    const QList<TodoItem> older = { goal(u"a"_s, 0), goal(u"b"_s, 1) };
    writeFile(path(), *GoalsFile::encode(older));
    {
        TodoStore store(path(), state);
        store.remove(older.at(1).id);
    }
    // Another computer's copy from before the deletion does not bring the goal back after a restart.
    TodoStore store(path(), state);
    writeFile(m_folder->filePath(u"todos (conflicted copy 2026-12-08 101500).json"_s), *GoalsFile::encode(older));
    store.mergeFromDisk();
    QCOMPARE(snapshot(store), u"a:0"_s);
}

void TodoStoreTest::unwritableFolder_keepsGoalsInMemory()
{
    // A regular file where the folder should be: nothing can be created below it, even as root.
    writeFile(m_folder->filePath(u"Mirel"_s), "in the way");
    TodoStore store(m_folder->filePath(u"Mirel/todos.json"_s));
    QVERIFY(store.todos().isEmpty());
    store.addLines(u"A\nB"_s);
    store.toggle(store.todos().constFirst().id);
    store.moveBy(store.todos().at(1).id, -1);
    QCOMPARE(snapshot(store), u"B:0 A:1*"_s);
    QCOMPARE(readFile(m_folder->filePath(u"Mirel"_s)), "in the way");
    // The reason names the folder, not only the error that creating the file met.
    QVERIFY2(store.saveFailure().startsWith(u"cannot create the folder "_s + m_folder->filePath(u"Mirel"_s) + u": "_s),
        qPrintable(store.saveFailure()));

    // Once the way is clear, the next change writes everything the store holds, and says so.
    QSignalSpy failures(&store, &TodoStore::saveFailureChanged);
    QVERIFY(QFile::remove(m_folder->filePath(u"Mirel"_s)));
    store.toggle(store.todos().constFirst().id);
    QCOMPARE(failures.size(), 1);
    QCOMPARE(store.saveFailure(), QString());
    QCOMPARE(snapshot(TodoStore(m_folder->filePath(u"Mirel/todos.json"_s))), u"B:0* A:1*"_s);
}

void TodoStoreTest::killedWhileSaving_leavesOldOrNewList()
{
    constexpr int Kills = 40;
    QRandomGenerator random(20261207);
    qint64 lastStep = -1;
    for (int kill = 0; kill < Kills; ++kill) {
        QProcess child;
        child.start(QStringLiteral(SAVING_CHILD), { path() });
        QVERIFY(child.waitForReadyRead());
        QThread::msleep(random.bounded(1, 25));
        child.kill();
        QVERIFY(child.waitForFinished());

        if (!QFile::exists(path()))
            continue;
        const auto todos = GoalsFile::decode(readFile(path()));
        QVERIFY2(todos, qPrintable(u"undecodable after kill %1"_s.arg(kill)));
        QVERIFY(!todos->isEmpty());
        const qint64 firstStep = todos->constFirst().text.section(u' ', 0, 0).toLongLong();
        for (qsizetype i = 0; i < todos->size(); ++i) {
            QCOMPARE(todos->at(i).order, qint64(i));
            QCOMPARE(todos->at(i).text.section(u' ', 0, 0).toLongLong(), firstStep + i);
        }
        const qint64 step = todos->constLast().text.section(u' ', 0, 0).toLongLong();
        QVERIFY2(step >= lastStep, "a kill brought back an older list");
        lastStep = step;
    }
    // Enough saves happened for the kills to have hit some of them.
    QVERIFY2(lastStep >= Kills, qPrintable(QString::number(lastStep)));
    // A kill never makes a good file look unreadable. (A kill in the instant between naming the
    // finished temporary file and renaming it over the old one can leave that complete copy behind.)
    QCOMPARE(keptCopies(m_folder->path()), QStringList());
}

QTEST_GUILESS_MAIN(TodoStoreTest)

#include "todostore_test.moc"
