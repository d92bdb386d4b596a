// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/panelsettings.h"
#include "model/todostore.h"
#include "views/addarea/addarea.h"
#include "views/addarea/emptystaterow.h"
#include "views/header/countlabel.h"
#include "views/header/panelheader.h"
#include "views/kit/glyphbutton.h"
#include "views/kit/symbolglyph.h"
#include "views/list/goallist.h"
#include "views/list/goallistscroll.h"
#include "views/list/scrollindicator.h"
#include "views/panel/contentview.h"
#include "views/panel/goalmenu.h"
#include "views/panel/panelactions.h"
#include "views/rows/todorowview.h"

#include <QAction>
#include <QClipboard>
#include <QEnterEvent>
#include <QFile>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <functional>
#include <memory>

namespace ContentViewFixture
{

using namespace Qt::StringLiterals;

constexpr int PanelWidth = 320;
const QString LongGoal = u"Call the plumber about the kitchen sink, then book the electrician for Thursday afternoon"_s;
const QString DefaultTitle = u"Today's Goals"_s;

// One panel as the application builds it: a store writing to a temporary goals file, preferences in a
// temporary file, and a view recording what it reports to the window.
struct Panel {
    explicit Panel(const QStringList &goals = {}, const QString &settingsFile = {})
        : goalsFile(dir.filePath(u"todos.json"_s))
        , store(goalsFile)
        , defaults(settingsFile.isEmpty() ? dir.filePath(u"prefs.ini"_s) : settingsFile, QSettings::IniFormat)
        , settings(&defaults)
    {
        for (const QString &goal : goals)
            store.add(goal);
        store.save();
        view = std::make_unique<ContentView>(
            &store, &history, &settings, [this](QPointF) { ++dragChanges; }, [this] { ++dragEnds; },
            [this](QSizeF size) { reports.append(size); });
    }

    bool show(bool active = false)
    {
        view->resize(PanelWidth, 200);
        view->show();
        if (!active)
            return QTest::qWaitForWindowExposed(view.get());
        view->activateWindow();
        return QTest::qWaitForWindowActive(view.get());
    }

    QLineEdit *startAdding()
    {
        view->beginAdding();
        return view->addArea()->newGoalField();
    }

    QWindow *window() const { return view->windowHandle(); }
    // The view shows the store's changes on the next turn of the event loop.
    static void settle() { QCoreApplication::processEvents(); }

    static QStringList textsOf(const TodoStore &store)
    {
        QStringList texts;
        for (const TodoItem &todo : store.todos())
            texts.append(todo.text);
        return texts;
    }
    QStringList texts() const { return textsOf(store); }
    // What a new run would find in the goals file.
    QStringList savedTexts() const { return textsOf(TodoStore(goalsFile)); }

    TodoRowView *row(int index) const { return view->goalList()->row(store.todos().at(index).id); }
    QPoint inWindow(const QWidget *widget, QPoint position) const { return widget->mapTo(view.get(), position); }
    // On the goal's text, well away from the checkbox and the delete glyph.
    QPoint onText(const TodoRowView *row, int dy = 0) const
    {
        return inWindow(row, QPoint(80, row->height() / 2 + dy));
    }
    QPoint onCheckbox(const TodoRowView *row) const { return inWindow(row, QPoint(17, row->height() / 2)); }

    QTemporaryDir dir;
    QString goalsFile;
    TodoStore store;
    UndoHistory history;
    QSettings defaults;
    PanelSettings settings;
    std::unique_ptr<ContentView> view;
    QList<QSizeF> reports;
    int dragChanges = 0;
    int dragEnds = 0;
};

} // namespace ContentViewFixture
