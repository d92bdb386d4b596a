#include "contentlayout.h"

#include "addarea.h"
#include "goallist.h"
#include "panelheader.h"

#include <QScrollArea>

#include <algorithm>
#include <utility>

namespace
{

constexpr int Padding = 6;
constexpr int MinimumHeaderHeight = 30;
// What a row counts for until it has been measured.
constexpr qreal UnmeasuredRowHeight = 28;
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

    const int headerHeight = std::max(MinimumHeaderHeight, m_header->heightForWidth(innerWidth));
    m_header->setGeometry(Padding, y, innerWidth, headerHeight);
    y += headerHeight;

    int listHeight = 0;
    if (!m_goals.isEmpty()) {
        for (const auto &[id, height] : m_list->layoutRows(innerWidth))
            m_rowHeights.insert(id, height);
        qreal sum = 0;
        for (const QUuid &id : std::as_const(m_goals))
            sum += m_rowHeights.value(id, UnmeasuredRowHeight);
        listHeight = int(sum);
    }
    const bool hasAddArea = m_addArea->face() != AddArea::Face::Nothing;
    const int addHeight = hasAddArea ? m_addArea->heightForWidth(innerWidth) : 0;
    m_wantedSize = QSize(width, y + listHeight + addHeight + Padding);

    if (!m_goals.isEmpty()) {
        // A window shorter than the content shows less of the list, never less of the header or add area.
        const int shortfall = m_hasBeenSized ? std::max(0, m_wantedSize.height() - m_view->height()) : 0;
        const int shownHeight = std::max(0, listHeight - shortfall);
        m_list->resize(innerWidth, listHeight);
        m_listScroll->setGeometry(Padding, y, innerWidth, shownHeight);
        y += shownHeight;
    }

    if (hasAddArea) {
        m_addArea->setGeometry(Padding, y, innerWidth, addHeight);
        y += addHeight;
    }

    m_contentRect = QRect(0, 0, width, y + Padding);
}
