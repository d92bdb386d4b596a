// SPDX-License-Identifier: GPL-3.0-or-later

#include "listgeometry.h"

#include "views/kit/goalrow.h"

#include <utility>

namespace
{

// What a goal counts for until its row has been measured: a row of one line.
constexpr int UnmeasuredRowHeight = GoalRow::MinimumHeight;
// Rows are made this far beyond the part of the list on screen, so that a small scroll finds them ready.
constexpr int RowReach = 2 * UnmeasuredRowHeight;

} // namespace

void ListGeometry::setOrder(QList<QUuid> order, ChangedBy changedBy)
{
    if (m_hasShownGoals && changedBy == ChangedBy::Elsewhere) {
        // Goals that another program adds, removes or reorders above the shown part would push the person's
        // place away, and a long list written at once would end at its last goal.
        const auto shown = std::find_if(m_order.cbegin(), m_order.cend(),
            [this](const QUuid &id) { return m_tops.value(id) + height(id) > m_shownTop; });
        if (shown != m_order.cend())
            m_anchor = Anchor { *shown, m_shownTop - m_tops.value(*shown) };
    } else if (m_hasShownGoals) {
        const QSet<QUuid> known(m_order.cbegin(), m_order.cend());
        const auto joined
            = std::find_if(order.crbegin(), order.crend(), [&known](const QUuid &id) { return !known.contains(id); });
        if (joined != order.crend()) {
            m_reveal = *joined;
            m_isRevealPlaced = false;
        }
    }
    m_hasShownGoals = m_hasShownGoals || !order.isEmpty();
    // Goals that went keep no height: a list used all day would otherwise remember every goal it ever had.
    const QSet<QUuid> listed(order.cbegin(), order.cend());
    m_heights.removeIf([&listed](const auto &entry) { return !listed.contains(entry.key()); });
    m_order = std::move(order);
}

bool ListGeometry::isWanted(qsizetype index, qsizetype focused, bool everyGoal) const
{
    const QUuid &id = m_order.at(index);
    const int top = m_tops.value(id);
    const bool isNearShown = top + height(id) > m_shownTop - RowReach && top < m_shownTop + m_shownHeight + RowReach;
    return isNearShown || index == 0 || index == m_order.size() - 1 || (focused >= 0 && std::abs(index - focused) <= 1)
        || id == m_reveal || everyGoal;
}

void ListGeometry::place(const QUuid &id, int top, int height, std::optional<int> measured)
{
    if (!measured)
        return;
    // A goal above the shown part that turns out taller or shorter would move what is on screen.
    if (top + height <= m_shownTop)
        m_scrollCorrection += *measured - height;
    m_heights.insert(id, *measured);
}

int ListGeometry::height(const QUuid &id) const
{
    return m_heights.value(id, UnmeasuredRowHeight);
}

QList<GoalSpan> ListGeometry::spans() const
{
    QList<GoalSpan> spans;
    spans.reserve(m_order.size());
    for (const QUuid &id : m_order)
        spans.append({ id, m_tops.value(id), height(id) });
    return spans;
}

int ListGeometry::takeScrollCorrection()
{
    return std::exchange(m_scrollCorrection, 0);
}

std::optional<GoalSpan> ListGeometry::takeReveal()
{
    if (!m_reveal || !m_isRevealPlaced)
        return std::nullopt;
    const QUuid id = *std::exchange(m_reveal, std::nullopt);
    return GoalSpan { id, m_tops.value(id), height(id) };
}

std::optional<QUuid> ListGeometry::neighbourKept(const QUuid &id, const QSet<QUuid> &listed) const
{
    const qsizetype index = m_order.indexOf(id);
    for (qsizetype i = index + 1; i < m_order.size(); ++i) {
        if (listed.contains(m_order.at(i)))
            return m_order.at(i);
    }
    for (qsizetype i = index - 1; i >= 0; --i) {
        if (listed.contains(m_order.at(i)))
            return m_order.at(i);
    }
    return std::nullopt;
}
