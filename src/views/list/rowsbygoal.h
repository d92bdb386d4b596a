// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/todoitem.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QUuid>
#include <QWidgetList>

#include <optional>

class QWidget;
class TodoRowView;

// The rows made so far, by goal id: children of the list, sharing the panel's hover state, and kept in list order
// among the list's children, where a screen reader reads them. What a row's controls ask for is told by goal id.
class RowsByGoal final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RowsByGoal)

public:
    // The rows are made as children of `list`.
    explicit RowsByGoal(QWidget *list);

    TodoRowView *row(const QUuid &id) const { return m_rows.value(id); }
    const QHash<QUuid, TodoRowView *> &rows() const { return m_rows; }
    // The row that `object` is part of, if any.
    TodoRowView *rowContaining(QObject *object) const;

    // Makes and shows the goal's row at `width`, with no height yet: the next layout measures and places it.
    TodoRowView *create(const TodoItem &todo, int width);
    // Drops the rows of the goals not in `listed`; gives the goal whose row had the keyboard focus, if it went.
    std::optional<QUuid> dropUnlisted(const QSet<QUuid> &listed);

    void setPanelHovered(bool hovered);
    void setHoverFade(qreal fade);

    // Puts the rows among the list's children in the goals' `order`, so that a goal moved, or a row made later
    // for a goal higher up, is not heard out of place.
    void stackInOrder(const QList<QUuid> &order);
    // The widgets that take the keyboard focus, in the goals' `order`.
    QWidgetList focusChain(const QList<QUuid> &order) const;

signals:
    void toggleRequested(const QUuid &id);
    void textUpdated(const QUuid &id, const QString &text);
    void deleteRequested(const QUuid &id);
    // A row's height for its width changed.
    void heightChanged();
    void rowDropped(const QUuid &id);

private:
    QWidget *m_list = nullptr;
    QHash<QUuid, TodoRowView *> m_rows;
    bool m_isPanelHovered = false;
    qreal m_hoverFade = 0.0;
};
