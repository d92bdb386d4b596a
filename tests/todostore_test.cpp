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

#include <limits>

using namespace Qt::StringLiterals;

namespace {

TodoItem goal(const QString &text, qint64 order)
{
    TodoItem item;
    item.id = QUuid::createUuid();
    item.text = text;
    item.order = order;
    item.createdAt = QDateTime::currentDateTimeUtc();
    return item;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

void writeGoals(const QString &path, const QList<TodoItem> &todos)
{
    writeFile(path, GoalsFile::encode(todos).value());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList texts(const TodoStore &store)
{
    QStringList result;
    for (const TodoItem &item : store.todos())
        result.append(item.text);
    return result;
}

QList<qint64> orders(const TodoStore &store)
{
    QList<qint64> result;
    for (const TodoItem &item : store.todos())
        result.append(item.order);
    return result;
}

QList<qint64> countingOrders(qsizetype size)
{
    QList<qint64> result;
    for (qsizetype i = 0; i < size; ++i)
        result.append(i);
    return result;
}

QStringList keptCopies(const QString &folder)
{
    return QDir(folder).entryList({u"todos.json.unreadable-*"_s}, QDir::Files | QDir::Dirs | QDir::Hidden);
}

} // namespace

class TodoStoreTest final : public QObject {
    Q_OBJECT

private slots:
    void init();

    void load_sortsStablyByOrderAndKeepsValues();
    void load_withoutFile_startsEmptyAndFirstSaveCreatesIt();
    void add_afterLargestPossibleOrder_renumbersFirst();
    void addLines_splitsAndTrims_data();
    void addLines_splitsAndTrims();
    void move_reorders_data();
    void move_reorders();
    void operations_saveOnlyWhereTheyShould_data();
    void operations_saveOnlyWhereTheyShould();
    void operations_notifyEveryChange();
    void toggleTwice_restoresAndSavesBoth();
    void memoryOnlyStore_neverWrites();
    void badFile_startsEmptyAndKeepsItAside_data();
    void badFile_startsEmptyAndKeepsItAside();
    void hugeFile_isKeptAsideUnread();
    void folderInPlaceOfFile_isKeptAside();
    void keptCopies_neverOverwriteEachOther();
    void missingFile_isNotKept();
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

void TodoStoreTest::load_sortsStablyByOrderAndKeepsValues()
{
    writeGoals(path(), {goal(u"first"_s, 5), goal(u"second"_s, 2), goal(u"third"_s, 2), goal(u"fourth"_s, 9)});
    TodoStore store(path());
    QCOMPARE(texts(store), QStringList({u"second"_s, u"third"_s, u"first"_s, u"fourth"_s}));
    QCOMPARE(orders(store), QList<qint64>({2, 2, 5, 9}));

    store.add(u"fifth"_s);
    QCOMPARE(store.todos().constLast().order, 10);

    store.remove(store.todos().at(1).id);
    QCOMPARE(texts(store), QStringList({u"second"_s, u"first"_s, u"fourth"_s, u"fifth"_s}));
    QCOMPARE(orders(store), countingOrders(4));
}

void TodoStoreTest::load_withoutFile_startsEmptyAndFirstSaveCreatesIt()
{
    TodoStore store(path());
    QVERIFY(store.todos().isEmpty());
    QVERIFY(!QFile::exists(path()));

    store.add(u"Water the plants"_s);
    QCOMPARE(store.todos().constFirst().order, 0);
    QVERIFY(!QFile::exists(path()));
    store.save();

    TodoStore reloaded(path());
    QCOMPARE(texts(reloaded), QStringList({u"Water the plants"_s}));
    QCOMPARE(reloaded.todos().constFirst().id, store.todos().constFirst().id);
    QCOMPARE(reloaded.todos().constFirst().completed, false);
}

void TodoStoreTest::add_afterLargestPossibleOrder_renumbersFirst()
{
    writeGoals(path(), {goal(u"a"_s, std::numeric_limits<qint64>::max()), goal(u"b"_s, -4)});
    TodoStore store(path());
    store.add(u"c"_s);
    QCOMPARE(texts(store), QStringList({u"b"_s, u"a"_s, u"c"_s}));
    QCOMPARE(orders(store), countingOrders(3));
}

void TodoStoreTest::addLines_splitsAndTrims_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("added");

    QTest::newRow("CR LF and blanks") << u"Milk\r\n\r\n  Bread  \n\n"_s << QStringList({u"Milk"_s, u"Bread"_s});
    QTest::newRow("every newline kind")
        << u"a\nb\rc\u000bd\u000ce\u0085f\u2028g\u2029h"_s
        << QStringList({u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s, u"f"_s, u"g"_s, u"h"_s});
    QTest::newRow("inner spaces stay") << u"\t Call  the plumber \u00a0"_s << QStringList({u"Call  the plumber"_s});
    QTest::newRow("only blanks") << u"  \n \t\r\n\u2028 "_s << QStringList();
    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("no newline") << u"One"_s << QStringList({u"One"_s});
}

void TodoStoreTest::addLines_splitsAndTrims()
{
    QFETCH(QString, text);
    QFETCH(QStringList, added);

    TodoStore store(path());
    store.add(u"earlier"_s);
    store.addLines(text);
    QCOMPARE(texts(store), QStringList(u"earlier"_s) + added);
    QCOMPARE(orders(store), countingOrders(added.size() + 1));

    // The save happens even when nothing was added, and it holds everything added.
    TodoStore reloaded(path());
    QCOMPARE(texts(reloaded), texts(store));
}

void TodoStoreTest::move_reorders_data()
{
    QTest::addColumn<QList<int>>("sources");
    QTest::addColumn<int>("destination");
    QTest::addColumn<QString>("result");

    QTest::newRow("first to 2") << QList<int>{0} << 2 << u"BACD"_s;
    QTest::newRow("last to front") << QList<int>{3} << 0 << u"DABC"_s;
    QTest::newRow("two to end") << QList<int>{1, 2} << 4 << u"ADBC"_s;
    QTest::newRow("first to 0") << QList<int>{0} << 0 << u"ABCD"_s;
    QTest::newRow("first to 1") << QList<int>{0} << 1 << u"ABCD"_s;
    QTest::newRow("scattered to middle") << QList<int>{0, 3} << 2 << u"BADC"_s;
    QTest::newRow("destination inside moved") << QList<int>{1, 2} << 2 << u"ABCD"_s;
    QTest::newRow("nothing") << QList<int>{} << 1 << u"ABCD"_s;
    QTest::newRow("source past end ignored") << QList<int>{1, 4} << 0 << u"ABCD"_s;
    QTest::newRow("negative source ignored") << QList<int>{-1} << 0 << u"ABCD"_s;
    QTest::newRow("destination past end ignored") << QList<int>{0} << 5 << u"ABCD"_s;
    QTest::newRow("negative destination ignored") << QList<int>{0} << -1 << u"ABCD"_s;
}

void TodoStoreTest::move_reorders()
{
    QFETCH(QList<int>, sources);
    QFETCH(int, destination);
    QFETCH(QString, result);

    // Gapped orders show whether the move renumbered.
    writeGoals(path(), {goal(u"A"_s, 10), goal(u"B"_s, 20), goal(u"C"_s, 30), goal(u"D"_s, 40)});
    const QByteArray before = readFile(path());
    TodoStore store(path());
    store.move(QSet<int>(sources.cbegin(), sources.cend()), destination);

    QCOMPARE(texts(store).join(QString()), result);
    TodoStore reloaded(path());
    QCOMPARE(texts(reloaded).join(QString()), result);
    const bool ignored = QString::fromLatin1(QTest::currentDataTag()).endsWith(u"ignored"_s);
    if (ignored) {
        QCOMPARE(orders(store), QList<qint64>({10, 20, 30, 40}));
        QCOMPARE(readFile(path()), before);
    } else {
        QCOMPARE(orders(store), countingOrders(4));
        QCOMPARE(orders(reloaded), countingOrders(4));
    }
}

void TodoStoreTest::operations_saveOnlyWhereTheyShould_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<bool>("saves");

    QTest::newRow("add") << u"add"_s << false;
    QTest::newRow("addLines with nothing") << u"addLines"_s << true;
    QTest::newRow("toggle") << u"toggle"_s << true;
    QTest::newRow("toggle unknown") << u"toggle unknown"_s << false;
    QTest::newRow("updateText") << u"updateText"_s << true;
    QTest::newRow("updateText unknown") << u"updateText unknown"_s << false;
    QTest::newRow("delete") << u"delete"_s << true;
    QTest::newRow("delete unknown") << u"delete unknown"_s << true;
    QTest::newRow("move") << u"move"_s << true;
    QTest::newRow("save") << u"save"_s << true;
}

void TodoStoreTest::operations_saveOnlyWhereTheyShould()
{
    QFETCH(QString, operation);
    QFETCH(bool, saves);

    writeGoals(path(), {goal(u"A"_s, 3), goal(u"B"_s, 7)});
    TodoStore store(path());
    const QUuid known = store.todos().constFirst().id;
    const QUuid unknown = QUuid::createUuid();
    // Whether the file comes back shows whether the operation wrote it.
    QVERIFY(QFile::remove(path()));

    if (operation == u"add")
        store.add(u"C"_s);
    else if (operation == u"addLines")
        store.addLines(u" \n "_s);
    else if (operation == u"toggle")
        store.toggle(known);
    else if (operation == u"toggle unknown")
        store.toggle(unknown);
    else if (operation == u"updateText")
        store.updateText(known, QString());
    else if (operation == u"updateText unknown")
        store.updateText(unknown, u"X"_s);
    else if (operation == u"delete")
        store.remove(known);
    else if (operation == u"delete unknown")
        store.remove(unknown);
    else if (operation == u"move")
        store.move({1}, 0);
    else if (operation == u"save")
        store.save();
    else
        QFAIL("unknown operation");

    QCOMPARE(QFile::exists(path()), saves);
    if (saves) {
        TodoStore reloaded(path());
        QCOMPARE(texts(reloaded), texts(store));
        QCOMPARE(orders(reloaded), orders(store));
        QCOMPARE(reloaded.todos().constFirst().completed, store.todos().constFirst().completed);
    }
    if (operation == u"delete unknown")
        QCOMPARE(orders(store), countingOrders(2));
}

void TodoStoreTest::operations_notifyEveryChange()
{
    TodoStore store(path());
    QSignalSpy changed(&store, &TodoStore::todosChanged);

    store.add(u"A"_s);
    QCOMPARE(changed.count(), 1);
    store.addLines(u"B\nC"_s);
    QCOMPARE(changed.count(), 3);
    const QUuid first = store.todos().constFirst().id;
    store.toggle(first);
    QCOMPARE(changed.count(), 4);
    store.updateText(first, u"A2"_s);
    QCOMPARE(changed.count(), 5);
    store.toggle(QUuid::createUuid());
    store.updateText(QUuid::createUuid(), u"x"_s);
    QCOMPARE(changed.count(), 5);
    store.move({0}, 3);
    QVERIFY(changed.count() > 5);
    const auto afterMove = changed.count();
    store.remove(first);
    QVERIFY(changed.count() > afterMove);
    const auto afterDelete = changed.count();
    store.remove(QUuid::createUuid());
    QVERIFY(changed.count() > afterDelete);
}

void TodoStoreTest::toggleTwice_restoresAndSavesBoth()
{
    TodoStore store(path());
    store.add(u"A"_s);
    store.save();
    const QUuid id = store.todos().constFirst().id;

    store.toggle(id);
    QVERIFY(TodoStore(path()).todos().constFirst().completed);
    store.toggle(id);
    QVERIFY(!store.todos().constFirst().completed);
    QVERIFY(!TodoStore(path()).todos().constFirst().completed);
}

void TodoStoreTest::memoryOnlyStore_neverWrites()
{
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QDir(dataFolder).removeRecursively();

    TodoStore store(std::nullopt);
    store.addLines(u"A\nB\nC"_s);
    store.add(u"D"_s);
    store.save();
    store.toggle(store.todos().constFirst().id);
    store.updateText(store.todos().constFirst().id, u"A2"_s);
    store.move({0}, 4);
    store.remove(store.todos().constFirst().id);

    QCOMPARE(texts(store), QStringList({u"C"_s, u"D"_s, u"A2"_s}));
    QVERIFY(!QFileInfo::exists(dataFolder));
    QVERIFY(QDir(m_folder->path()).isEmpty());
}

void TodoStoreTest::badFile_startsEmptyAndKeepsItAside_data()
{
    QTest::addColumn<QByteArray>("contents");

    QTest::newRow("malformed") << R"([{"id":)"_ba;
    QTest::newRow("single object") << R"({"text":"x"})"_ba;
    QTest::newRow("invalid UTF-8") << "[\xff\xfe]"_ba;
    QTest::newRow("binary") << QByteArray(4096, '\0');
    QTest::newRow("empty") << QByteArray();
}

void TodoStoreTest::badFile_startsEmptyAndKeepsItAside()
{
    QFETCH(QByteArray, contents);

    writeFile(path(), contents);
    TodoStore store(path());
    QVERIFY(store.todos().isEmpty());
    // Untouched until the first save.
    QCOMPARE(readFile(path()), contents);
    QVERIFY(keptCopies(m_folder->path()).isEmpty());

    store.add(u"New"_s);
    store.save();

    const QStringList kept = keptCopies(m_folder->path());
    QCOMPARE(kept.size(), 1);
    QCOMPARE(store.keptUnreadableFile().value_or(QString()), m_folder->filePath(kept.constFirst()));
    QCOMPARE(readFile(m_folder->filePath(kept.constFirst())), contents);
    QCOMPARE(texts(TodoStore(path())), QStringList(u"New"_s));

    // Later saves replace the new file in place and keep nothing more.
    store.add(u"Newer"_s);
    store.save();
    QCOMPARE(keptCopies(m_folder->path()), kept);
}

void TodoStoreTest::hugeFile_isKeptAsideUnread()
{
    constexpr qint64 HugeSize = 65 * 1024 * 1024;
    {
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(HugeSize));
    }
    TodoStore store(path());
    QVERIFY(store.todos().isEmpty());
    store.addLines(u"A"_s);

    const QStringList kept = keptCopies(m_folder->path());
    QCOMPARE(kept.size(), 1);
    QCOMPARE(QFileInfo(m_folder->filePath(kept.constFirst())).size(), HugeSize);
    QCOMPARE(texts(TodoStore(path())), QStringList(u"A"_s));
}

void TodoStoreTest::folderInPlaceOfFile_isKeptAside()
{
    QVERIFY(QDir(m_folder->path()).mkpath(u"todos.json/inside"_s));
    TodoStore store(path());
    QVERIFY(store.todos().isEmpty());
    store.addLines(u"A"_s);

    QCOMPARE(texts(TodoStore(path())), QStringList(u"A"_s));
    const QStringList kept = keptCopies(m_folder->path());
    QCOMPARE(kept.size(), 1);
    QVERIFY(QFileInfo(m_folder->filePath(kept.constFirst() + u"/inside"_s)).isDir());
}

void TodoStoreTest::keptCopies_neverOverwriteEachOther()
{
    // Several bad files within the same second must all survive.
    QStringList contents;
    for (int i = 0; i < 3; ++i) {
        contents.append(u"not json %1"_s.arg(i));
        writeFile(path(), contents.constLast().toUtf8());
        TodoStore store(path());
        store.save();
    }
    QStringList kept;
    for (const QString &name : keptCopies(m_folder->path()))
        kept.append(QString::fromUtf8(readFile(m_folder->filePath(name))));
    kept.sort();
    QCOMPARE(kept, contents);
}

void TodoStoreTest::missingFile_isNotKept()
{
    TodoStore store(path());
    store.save();
    QVERIFY(QFile::exists(path()));
    QVERIFY(keptCopies(m_folder->path()).isEmpty());
    QVERIFY(!store.keptUnreadableFile());
}

void TodoStoreTest::unwritableFolder_keepsGoalsInMemory()
{
    // A regular file where the folder should be: nothing can be created below it, even as root.
    writeFile(m_folder->filePath(u"Mirel"_s), "in the way");
    const QString blocked = m_folder->filePath(u"Mirel/todos.json"_s);

    TodoStore store(blocked);
    QVERIFY(store.todos().isEmpty());
    store.addLines(u"A\nB"_s);
    store.toggle(store.todos().constFirst().id);
    store.move({1}, 0);
    QCOMPARE(texts(store), QStringList({u"B"_s, u"A"_s}));
    QVERIFY(store.todos().at(1).completed);
    QCOMPARE(readFile(m_folder->filePath(u"Mirel"_s)), "in the way");
}

void TodoStoreTest::killedWhileSaving_leavesOldOrNewList()
{
    constexpr int Kills = 40;
    QRandomGenerator random(20261207);
    qint64 lastStep = -1;
    for (int kill = 0; kill < Kills; ++kill) {
        QProcess child;
        child.start(QStringLiteral(SAVING_CHILD), {path()});
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
