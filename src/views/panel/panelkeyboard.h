// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QPoint>

class AddArea;
class GoalList;
class QKeyEvent;
class PanelHeader;
class QWidget;

// Where the keyboard goes on the panel. The root view itself holds the focus whenever no editor does, so
// that nothing shows a focus ring a typed space could act on; Tab follows the panel from top to bottom; Up
// and Down reach the goals; Shift+F10 asks for the panel menu under what has the focus.
class PanelKeyboard final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PanelKeyboard)

public:
    // Owned by the view, whose key and activation events it watches.
    PanelKeyboard(QWidget *view, PanelHeader *header, GoalList *list, AddArea *addArea);

    // The header, the goals in list order, then the add area.
    void updateTabOrder();
    // Gives the focus back to the view when it is inside `area`, which is about to go away.
    void takeFocusFrom(const QWidget *area);
    // Where a menu opened from the keyboard appears: under the focused goal, or under the header.
    QPoint menuPosition() const;

signals:
    void menuRequested(QPoint globalPosition);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // On activation: only an open editor keeps the keyboard.
    void dropUnseenFocus();
    bool handleKey(const QKeyEvent *event);

    QWidget *m_view = nullptr;
    PanelHeader *m_header = nullptr;
    GoalList *m_list = nullptr;
    AddArea *m_addArea = nullptr;
};
