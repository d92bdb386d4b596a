// SPDX-License-Identifier: GPL-3.0-or-later

// Times typing in the editor of a goal as long as a goal may be, in a shown panel (offscreen platform): each
// key is sent to the editor and the panel then catches up (layout and paint), as it would before the next
// key. The same is timed for a one-line goal beside it, and the ratio printed.
// Usage: editcap_bench [folder]. The goals file goes to a temporary folder inside `folder` (default: the
// system's temporary folder).
#include "model/panelsettings.h"
#include "model/todostore.h"
#include "model/undohistory.h"
#include "views/list/goallist.h"
#include "views/panel/contentview.h"
#include "views/rows/todorowview.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace
{

constexpr int PanelWidth = 320;
constexpr int Keys = 200;

QString wordsOfLength(qsizetype length)
{
    QString text;
    for (int i = 0; text.size() < length; ++i)
        text += QStringLiteral("word%1 ").arg(i);
    return text.first(length).trimmed();
}

void press(QWidget *widget, int key, const QString &text = {})
{
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &up);
}

struct Timing {
    double meanMs = 0;
    double slowestMs = 0;
};

Timing benchmark(const QString &parent, const QString &goal)
{
    QTemporaryDir folder(parent + QStringLiteral("/editcap_bench-XXXXXX"));
    if (!folder.isValid())
        qFatal("cannot create a folder in %s", qPrintable(parent));
    TodoStore store(folder.filePath(QStringLiteral("todos.json")));
    for (const QString &text : { QStringLiteral("Buy milk"), goal, QStringLiteral("Call the bank") })
        store.add(text);
    store.save();
    QSettings defaults(folder.filePath(QStringLiteral("prefs.ini")), QSettings::IniFormat);
    PanelSettings settings(&defaults);
    UndoHistory history;
    ContentView view(
        &store, &history, &settings, [](QPointF) {}, [] {}, [](QSizeF) {});
    view.resize(PanelWidth, 400);
    view.show();
    QApplication::processEvents();

    TodoRowView *row = view.goalList()->row(store.todos().at(1).id);
    row->editFromKeyboard();
    auto *editor = row->findChild<QLineEdit *>(QStringLiteral("goal-editor"));
    if (!editor || !row->isEditing())
        qFatal("the goal's editor did not open");
    press(editor, Qt::Key_End);
    QApplication::processEvents();

    Timing timing;
    QElapsedTimer all;
    all.start();
    for (int i = 0; i < Keys; ++i) {
        QElapsedTimer one;
        one.start();
        if (i % 2 == 0)
            press(editor, Qt::Key_A, QStringLiteral("a"));
        else
            press(editor, Qt::Key_Backspace);
        QApplication::processEvents();
        timing.slowestMs = std::max(timing.slowestMs, double(one.nsecsElapsed()) / 1e6);
    }
    timing.meanMs = double(all.nsecsElapsed()) / 1e6 / Keys;
    if (editor->text() != goal)
        qFatal("the editor lost keys");
    return timing;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const QString parent = arguments.size() > 1 ? arguments.at(1) : QDir::tempPath();
    const Timing shortGoal = benchmark(parent, QStringLiteral("Write the report"));
    const Timing longest = benchmark(parent, wordsOfLength(MaxGoalTextLength));
    std::printf("one-line goal:           %6.2f ms a key, slowest %6.2f ms\n", shortGoal.meanMs, shortGoal.slowestMs);
    std::printf("goal of %lld characters: %6.2f ms a key, slowest %6.2f ms\n", qlonglong(MaxGoalTextLength),
        longest.meanMs, longest.slowestMs);
    std::printf("longest / one-line: %.1f\n", longest.meanMs / shortGoal.meanMs);
    return 0;
}
