// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "contentlayout.h"
#include "contextmenus.h"
#include "hoverfade.h"
#include "model/todoitem.h"
#include "newgoalentry.h"
#include "titlerename.h"
#include "views/list/listgeometry.h"

#include <QDate>
#include <QPainterPath>
#include <QPointF>
#include <QSizeF>
#include <QUuid>
#include <QWidget>

#include <functional>

class AddArea;
class BatchedRefresh;
class GoalList;
class GoalMenu;
class PanelHeader;
class PanelKeyboard;
class PanelSettings;
class PanelSteps;
class QScrollArea;
class TodaysList;
class TodoStore;
class UndoHistory;

// The panel's root view: the translucent rounded background, the header, the goal list and the add area
// stacked without gaps. It owns the panel's view state (hover, edits, measured row heights), is the only
// view that calls the store, and reports the size the content wants to the window.
class ContentView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ContentView)

public:
    // Every change the person makes here becomes a step of `history`.
    ContentView(TodoStore *store, UndoHistory *history, PanelSettings *settings,
        std::function<void(QPointF)> onDragChanged, std::function<void()> onDragEnded,
        std::function<void(QSizeF)> onPanelResize, QWidget *parent = nullptr);
    ~ContentView() override;

    bool isRenaming() const { return m_rename->isOpen(); }
    bool isAddingNew() const { return m_newGoal->isOpen(); }
    // The rounded background in widget coordinates.
    QPainterPath backgroundShape() const;

    UndoHistory *history() const { return m_history; }
    // Done goals that "Remove Done Goals" would remove: those that repeat stay.
    bool hasDoneGoals() const;
    // The day of goals now running: goals that repeat on other days are neither shown nor counted. Until one is
    // set every goal shows.
    void setDay(QDate day);
    // A moment a row shows came, or the day changed: the rows show their moments as of now.
    void showMomentsAsOfNow() { refreshFromStore(false, ListGeometry::ChangedBy::Elsewhere); }

    PanelHeader *header() const { return m_header; }
    GoalList *goalList() const { return m_list; }
    GoalMenu *goalMenu() const { return m_menus->goalMenu(); }
    AddArea *addArea() const { return m_addArea; }
    QScrollArea *listScroll() const { return m_listScroll; }

    QSize sizeHint() const override;

    void beginRename() { m_rename->begin(); }
    void beginAdding() { m_newGoal->begin(); }
    void removeDoneGoals();
    void undo();
    void redo();
    // Without a compositor the window cannot be see-through: the view fills its whole rectangle, and the
    // window clips itself to the background shape.
    void setTranslucent(bool translucent);

signals:
    // A secondary click anywhere on the panel, or the menu keys; the application builds the panel menu.
    void contextMenuRequested(const QPoint &globalPosition, const QString &title);
    void backgroundShapeChanged(const QPainterPath &shape);
    // The pointer entered the panel or its window took the keyboard: the person is looking at it.
    void noticed();
    // Adding mode ended: by the person's key (Escape, or Return on an empty field) or otherwise (the focus
    // went elsewhere, the view goes away).
    void addingEnded(bool dismissedByKey);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void makeList();
    void connectAddArea();
    void connectHover();
    // A refresh the person's own brings the goals they added into view.
    void refreshFromStore(bool animated, ListGeometry::ChangedBy changedBy);
    void updateAddArea();

    TodoStore *m_store = nullptr;
    UndoHistory *m_history = nullptr;
    TitleRename *m_rename = nullptr;
    NewGoalEntry *m_newGoal = nullptr;
    HoverFade *m_hover = nullptr;
    BatchedRefresh *m_refresh = nullptr;
    PanelSteps *m_steps = nullptr;

    PanelHeader *m_header = nullptr;
    GoalList *m_list = nullptr;
    AddArea *m_addArea = nullptr;
    QScrollArea *m_listScroll = nullptr;
    ContentLayout *m_layout = nullptr;
    PanelKeyboard *m_keyboard = nullptr;
    ContextMenus *m_menus = nullptr;
    TodaysList *m_today = nullptr;
    // Whether today's list shows no goal, as of the last refresh.
    bool m_isEmpty = true;
    bool m_isTranslucent = true;
};
