// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QUuid>

#include <algorithm>
#include <optional>
#include <utility>

// Where a goal lies in the list, once any slide has settled.
struct GoalSpan {
    QUuid id;
    int top = 0;
    int height = 0;
};

// Where each goal of the list lies, stacked top to bottom without gaps, and which goals need a row. A long list
// costs what it shows: a goal gets its row only near the part of the list on screen or where the keyboard goes
// next, and counts the height of a one-line row until its row has been measured.
class ListGeometry
{
public:
    // Who changed the goals: the person in this panel, or another program (through the goals file, a send).
    enum class ChangedBy { ThisPanel, Elsewhere };
    // Takes the goals in list order. When the person added goals here, the last goal that joined a list already
    // shown is to be brought into view, wherever the order puts it. A change from elsewhere moves nothing the
    // person is looking at: the goal at the top of the shown part stays there.
    void setOrder(QList<QUuid> order, ChangedBy changedBy = ChangedBy::ThisPanel);
    const QList<QUuid> &order() const { return m_order; }

    // The part of the list on screen: the enclosing view scrolls the list by moving it.
    void setShownTop(int top) { m_shownTop = std::max(0, top); }
    void setShownHeight(int height) { m_shownHeight = height; }

    // Whether the goal at `index` needs its row: near the shown part, the first or the last goal (where Tab and
    // Shift+Tab enter the list), a neighbour of the keyboard's goal at `focused` (-1 for none), the goal to bring
    // into view, or any goal when `everyGoal` (a screen reader hears them all).
    bool isWanted(qsizetype index, qsizetype focused, bool everyGoal) const;

    // Lays the goals out top to bottom. `measureRow(index)` gives the height of the goal's row for the list's
    // width, or nothing while the goal has no row.
    template<typename MeasureRow> void layOut(MeasureRow measureRow);

    int top(const QUuid &id) const { return m_tops.value(id); }
    const QHash<QUuid, int> &tops() const { return m_tops; }
    // Measured, or a one-line row's until it is.
    int height(const QUuid &id) const;
    // The height of all goals, as of the last layout.
    int listHeight() const { return m_listHeight; }
    // Every goal in list order.
    QList<GoalSpan> spans() const;

    // Once after a layout: how far to scroll so that what was on screen stays there although goals above it
    // changed height when they were measured, or came or went by another program's hand.
    int takeScrollCorrection();
    // Once after a layout: the goal to bring into view.
    std::optional<GoalSpan> takeReveal();

    // The goal next to `id` in the current order, and still in `listed`, that keeps the focus when `id` goes.
    std::optional<QUuid> neighbourKept(const QUuid &id, const QSet<QUuid> &listed) const;

private:
    void place(const QUuid &id, int top, int height, std::optional<int> measured);

    QList<QUuid> m_order;
    // Kept when the width changes, until the rows are measured again.
    QHash<QUuid, int> m_heights;
    QHash<QUuid, int> m_tops;
    int m_shownTop = 0;
    int m_shownHeight = 0;
    int m_listHeight = 0;
    int m_scrollCorrection = 0;
    bool m_hasShownGoals = false;
    std::optional<QUuid> m_reveal;
    bool m_isRevealPlaced = false;
    // The goal at the top of the shown part before a change from elsewhere, and how far its top lay above the
    // shown part's, until the next layout puts it back there.
    struct Anchor {
        QUuid id;
        int offset = 0;
    };
    std::optional<Anchor> m_anchor;
};

template<typename MeasureRow> void ListGeometry::layOut(MeasureRow measureRow)
{
    m_tops.clear();
    m_scrollCorrection = 0;
    int top = 0;
    for (qsizetype i = 0; i < m_order.size(); ++i) {
        const QUuid &id = m_order.at(i);
        const int counted = height(id);
        // Placed before it is measured, so that whether it is wanted is judged where it was counted.
        m_tops.insert(id, top);
        const std::optional<int> measured = measureRow(i);
        place(id, top, counted, measured);
        top += measured.value_or(counted);
    }
    m_listHeight = top;
    m_isRevealPlaced = m_reveal.has_value();
    if (const std::optional<Anchor> anchor = std::exchange(m_anchor, std::nullopt);
        anchor && m_tops.contains(anchor->id))
        m_scrollCorrection = m_tops.value(anchor->id) + anchor->offset - m_shownTop;
}
