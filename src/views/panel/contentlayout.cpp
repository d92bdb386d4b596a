// SPDX-License-Identifier: GPL-3.0-or-later

#include "contentlayout.h"

#include "views/addarea/addarea.h"
#include "views/header/panelheader.h"
#include "views/list/goallist.h"

#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>
#include <utility>

namespace
{

constexpr int Padding = 6;
// Heights settle well within these; a row still growing after them is placed on the next layout.
constexpr int MaximumPasses = 4;

} // namespace

ContentLayout::ContentLayout(
    QWidget *view, PanelHeader *header, GoalList *list, QScrollArea *listScroll, AddArea *addArea)
    : QObject(view)
    , m_view(view)
    , m_header(header)
    , m_list(list)
    , m_listScroll(listScroll)
    , m_addArea(addArea)
{
}

void ContentLayout::run()
{
    m_isScheduled = false;
    if (m_isRunning) {
        m_needsAnotherPass = true;
        return;
    }
    m_isRunning = true;
    for (int pass = 0; pass < MaximumPasses; ++pass) {
        m_needsAnotherPass = false;
        placeOnce();
        if (!m_needsAnotherPass)
            break;
    }
    m_isRunning = false;
    m_view->update();
    m_view->updateGeometry();

    if (!m_hasBeenSized)
        return;
    if (m_contentRect != m_reportedRect) {
        m_reportedRect = m_contentRect;
        emit contentRectChanged(m_contentRect);
    }
    if (m_wantedSize != m_reportedSize) {
        m_reportedSize = m_wantedSize;
        emit wantedSizeChanged(m_wantedSize);
    }
}

void ContentLayout::schedule()
{
    if (m_isRunning) {
        m_needsAnotherPass = true;
        return;
    }
    if (std::exchange(m_isScheduled, true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_isScheduled)
                run();
        },
        Qt::QueuedConnection);
}

void ContentLayout::viewResized()
{
    m_hasBeenSized = true;
    run();
}

int ContentLayout::contentWidth() const
{
    return std::clamp(m_view->width(), m_view->minimumWidth(), m_view->maximumWidth());
}

void ContentLayout::placeOnce()
{
    const int width = contentWidth();
    const int innerWidth = width - 2 * Padding;
    int y = Padding;

    const int headerHeight = m_header->heightForWidth(innerWidth);
    m_header->setGeometry(Padding, y, innerWidth, headerHeight);
    y += headerHeight;

    const bool hasAddArea = m_addArea->face() != AddArea::Face::Nothing;
    const int addHeight = hasAddArea ? m_addArea->heightForWidth(innerWidth) : 0;

    int listHeight = 0;
    if (!m_goals.isEmpty()) {
        // The most of the list the window can show. Before the window has sized the view nothing is shown or
        // reported, so no row is made for it.
        const int room = m_hasBeenSized ? m_view->height() - y - addHeight - Padding : 0;
        m_list->layoutRows(innerWidth, std::max(0, room));
        listHeight = m_list->listHeight();
    }
    m_wantedSize = QSize(width, y + listHeight + addHeight + Padding);

    if (!m_goals.isEmpty()) {
        // A window shorter than the content shows less of the list, never less of the header or add area.
        const int shortfall = m_hasBeenSized ? std::max(0, m_wantedSize.height() - m_view->height()) : 0;
        const int shownHeight = std::max(0, listHeight - shortfall);
        m_list->resize(innerWidth, listHeight);
        m_listScroll->setGeometry(Padding, y, innerWidth, shownHeight);
        QScrollBar *bar = m_listScroll->verticalScrollBar();
        bar->setValue(bar->value() + m_list->takeScrollCorrection());
        if (const std::optional<QRect> row = m_list->takeReveal())
            m_listScroll->ensureVisible(row->center().x(), row->center().y(), 0, row->height() / 2 + 1);
        y += shownHeight;
    }

    if (hasAddArea) {
        m_addArea->setGeometry(Padding, y, innerWidth, addHeight);
        y += addHeight;
    }

    m_contentRect = QRect(0, 0, width, y + Padding);
}
