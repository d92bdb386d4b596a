// SPDX-License-Identifier: GPL-3.0-or-later

// Times the store's operations, each with its save, on lists of several sizes and prints medians.
// Usage: store_bench [folder]. The files go to a temporary folder inside `folder` (default: the system's
// temporary folder); a tmpfs such as /dev/shm shows the cost without the disk.
#include "model/goalsfile.h"
#include "model/goalsmerge.h"
#include "model/todostore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace
{

constexpr int Rounds = 31;

double medianMicroseconds(const std::function<void()> &operation)
{
    std::vector<double> samples;
    samples.reserve(Rounds);
    for (int i = 0; i < Rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        operation();
        samples.push_back(double(timer.nsecsElapsed()) / 1000.0);
    }
    std::nth_element(samples.begin(), samples.begin() + Rounds / 2, samples.end());
    return samples[Rounds / 2];
}

QString writeGoalsFile(const QString &folder, int count)
{
    QList<TodoItem> todos;
    for (int i = 0; i < count; ++i) {
        TodoItem item;
        item.id = QUuid::createUuid();
        item.text = QStringLiteral("Goal number %1 with a few words of text").arg(i);
        item.order = i;
        item.createdAt = QDateTime::currentDateTimeUtc();
        todos.append(item);
    }
    const QString path = folder + QStringLiteral("/todos.json");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(GoalsFile::encode(todos).value()) < 0)
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void benchmark(const QString &parent, int count)
{
    QTemporaryDir folder(parent + QStringLiteral("/store_bench-XXXXXX"));
    if (!folder.isValid())
        qFatal("cannot create a folder in %s", qPrintable(parent));
    const QString path = writeGoalsFile(folder.path(), count);
    TodoStore store(path);
    const QUuid middle = store.todos().at(count / 2).id;

    std::printf("%6d goals:", count);
    std::printf("  load %8.1f", medianMicroseconds([&] { TodoStore loaded(path); }));
    std::printf("  add+save %8.1f", medianMicroseconds([&] {
        store.add(QStringLiteral("One more goal"));
        store.save();
    }));
    std::printf("  toggle %8.1f", medianMicroseconds([&] { store.toggle(middle); }));
    std::printf("  updateText %8.1f", medianMicroseconds([&] { store.updateText(middle, QStringLiteral("Edited")); }));
    std::printf(
        "  move %8.1f", medianMicroseconds([&] { store.moveTo(store.todos().constFirst().id, store.todos().size()); }));
    std::printf("  delete %8.1f", medianMicroseconds([&] { store.remove(store.todos().constLast().id); }));
    // The codec alone, to tell its cost from the file system's (the save's flush to disk dominates
    // small lists and varies with the disk's other traffic).
    QByteArray bytes;
    std::printf("  encode %8.1f", medianMicroseconds([&] { bytes = GoalsFile::encode(store.todos()).value(); }));
    std::printf("  decode %8.1f", medianMicroseconds([&] { GoalsFile::decode(bytes); }));
    // Another program's version of the file: one goal edited there, merged into the panel's list.
    QList<TodoItem> theirs = store.todos();
    theirs[theirs.size() / 2].text = QStringLiteral("Edited elsewhere");
    theirs[theirs.size() / 2].modifiedAt = QDateTime::currentDateTimeUtc().addDays(1);
    const GoalsMerge::Other other { theirs, store.todos(), QDateTime::currentDateTimeUtc() };
    std::printf("  merge %8.1f", medianMicroseconds([&] { GoalsMerge::merge(store.todos(), other, {}); }));
    // What the panel does per outside change: read, merge and, since its list differed, write back.
    std::printf("  outside change %8.1f", medianMicroseconds([&] {
        theirs[0].modifiedAt = QDateTime::currentDateTimeUtc().addDays(2);
        theirs[0].completed = !theirs[0].completed;
        QFile file(path + QStringLiteral(".new"));
        if (!file.open(QIODevice::WriteOnly) || file.write(GoalsFile::encode(theirs).value()) < 0)
            qFatal("cannot write");
        file.close();
        QFile::remove(path);
        QFile::rename(path + QStringLiteral(".new"), path);
        store.mergeFromDisk();
    }));
    std::printf("   (median microseconds of %d)\n", Rounds);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const QString parent = arguments.size() > 1 ? arguments.at(1) : QDir::tempPath();
    for (int count : { 100, 1000, 10000 })
        benchmark(parent, count);
    return 0;
}
