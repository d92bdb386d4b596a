// SPDX-License-Identifier: GPL-3.0-or-later

// Times text from another program landing in a shown panel: addLines of N lines into a store whose
// ContentView is on screen (offscreen platform), then the view catching up, and counts the size reports.
// The same text is then sent as one step of the undo history, as the panel receives it, and timed beside it.
// Usage: addlines_bench [folder]. The goals file goes to a temporary folder inside `folder` (default: the
// system's temporary folder).
#include "model/addgoals.h"
#include "model/panelsettings.h"
#include "model/todostore.h"
#include "model/undohistory.h"
#include "views/panel/contentview.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>

namespace
{

constexpr int PanelWidth = 320;

QString linesOfText(int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QStringLiteral("Goal number %1 with a few words of text\n").arg(i);
    return text;
}

enum class Intake { Store, UndoStep };

double benchmark(const QString &parent, int count, Intake intake)
{
    QTemporaryDir folder(parent + QStringLiteral("/addlines_bench-XXXXXX"));
    if (!folder.isValid())
        qFatal("cannot create a folder in %s", qPrintable(parent));
    TodoStore store(folder.filePath(QStringLiteral("todos.json")));
    QSettings defaults(folder.filePath(QStringLiteral("prefs.ini")), QSettings::IniFormat);
    PanelSettings settings(&defaults);
    UndoHistory history;
    int reports = 0;
    ContentView view(
        &store, &history, &settings, [](QPointF) {}, [] {}, [&reports](QSizeF) { ++reports; });
    view.resize(PanelWidth, 200);
    view.show();
    QApplication::processEvents();
    reports = 0;

    const QString text = linesOfText(count);
    QElapsedTimer timer;
    timer.start();
    if (intake == Intake::Store)
        store.addLines(text);
    else
        history.perform(std::make_unique<AddGoals>(&store, text, AddGoals::Split::OneGoalPerLine));
    const double storeMs = double(timer.nsecsElapsed()) / 1e6;
    QApplication::processEvents();
    const double totalMs = double(timer.nsecsElapsed()) / 1e6;
    if (store.todos().size() != count)
        qFatal("%lld goals stored of %d", qlonglong(store.todos().size()), count);
    std::printf("%6d lines%s:  addLines with save %8.1f ms  until the view is laid out %8.1f ms  size reports %d\n",
        count, intake == Intake::Store ? "        " : " as step", storeMs, totalMs, reports);
    return totalMs;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const QString parent = arguments.size() > 1 ? arguments.at(1) : QDir::tempPath();
    for (int count : { 1000, 5000 }) {
        const double plain = benchmark(parent, count, Intake::Store);
        const double step = benchmark(parent, count, Intake::UndoStep);
        std::printf("%6d lines:  as a step / plain %.2f\n", count, step / plain);
    }
    return 0;
}
