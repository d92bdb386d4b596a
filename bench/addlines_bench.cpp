// Times text from another program landing in a shown panel: addLines of N lines into a store whose
// ContentView is on screen (offscreen platform), then the view catching up, and counts the size reports.
// Usage: addlines_bench [folder]. The goals file goes to a temporary folder inside `folder` (default: the
// system's temporary folder).
#include "model/todostore.h"
#include "views/contentview.h"

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

void benchmark(const QString &parent, int count)
{
    QTemporaryDir folder(parent + QStringLiteral("/addlines_bench-XXXXXX"));
    if (!folder.isValid())
        qFatal("cannot create a folder in %s", qPrintable(parent));
    TodoStore store(folder.filePath(QStringLiteral("todos.json")));
    QSettings defaults(folder.filePath(QStringLiteral("prefs.ini")), QSettings::IniFormat);
    int reports = 0;
    ContentView view(
        &store, &defaults, [](QPointF) {}, [] {}, [&reports](QSizeF) { ++reports; });
    view.resize(PanelWidth, 200);
    view.show();
    QApplication::processEvents();
    reports = 0;

    const QString text = linesOfText(count);
    QElapsedTimer timer;
    timer.start();
    store.addLines(text);
    const double storeMs = double(timer.nsecsElapsed()) / 1e6;
    QApplication::processEvents();
    const double totalMs = double(timer.nsecsElapsed()) / 1e6;
    if (store.todos().size() != count)
        qFatal("%lld goals stored of %d", qlonglong(store.todos().size()), count);
    std::printf("%6d lines:  addLines with save %8.1f ms  until the view is laid out %8.1f ms  size reports %d\n",
        count, storeMs, totalMs, reports);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const QString parent = arguments.size() > 1 ? arguments.at(1) : QDir::tempPath();
    for (int count : { 1000, 5000 })
        benchmark(parent, count);
    return 0;
}
