// SPDX-License-Identifier: GPL-3.0-or-later

#include "contentview.h"

#include "accessibility.h"
#include "batchedrefresh.h"
#include "contextmenus.h"
#include "model/todostore.h"
#include "newgoalentry.h"
#include "panelbackground.h"
#include "panelkeyboard.h"
#include "panelsteps.h"
#include "titlerename.h"
#include "todayslist.h"
#include "views/addarea/addarea.h"
#include "views/header/panelheader.h"
#include "views/list/goallist.h"
#include "views/list/goallistscroll.h"

#include <QContextMenuEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace
{

constexpr int MinimumWidth = 260;
constexpr int MaximumWidth = 520;

} // namespace

ContentView::ContentView(TodoStore *store, UndoHistory *history, PanelSettings *settings,
    std::function<void(QPointF)> onDragChanged, std::function<void()> onDragEnded,
    std::function<void(QSizeF)> onPanelResize, QWidget *parent)
    : QWidget(parent)
    , m_store(store)
    , m_history(history)
    , m_hover(new HoverFade(this))
    , m_refresh(new BatchedRefresh(this))
    , m_steps(new PanelSteps(store, history, m_refresh, this))
{
    installPanelAccessibility();
    m_header = new PanelHeader(this);
    connect(m_header, &PanelHeader::addGoalRequested, this, &ContentView::beginAdding);
    connect(m_header, &PanelHeader::dragMoved, this, std::move(onDragChanged));
    connect(m_header, &PanelHeader::dragEnded, this, std::move(onDragEnded));
    makeList();
    m_today = new TodaysList(m_list, this);
    connect(
        m_today, &TodaysList::farewellsEnded, this, [this] { m_refresh->schedule(BatchedRefresh::Motion::Springs); });
    auto *listScroll = new GoalListScroll(m_list, this);
    connect(m_list, &GoalList::scrollRequested, listScroll, &GoalListScroll::scrollBy);
    m_listScroll = listScroll;
    m_addArea = new AddArea(this);
    connectAddArea();
    m_layout = new ContentLayout(this, m_header, m_list, m_listScroll, m_addArea);
    connect(m_layout, &ContentLayout::wantedSizeChanged, this, std::move(onPanelResize));
    connect(m_list, &GoalList::layoutWanted, m_layout, &ContentLayout::schedule);
    connect(
        m_layout, &ContentLayout::contentRectChanged, this, [this] { emit backgroundShapeChanged(backgroundShape()); });
    connectHover();
    m_keyboard = new PanelKeyboard(this, m_header, m_list, m_addArea);
    connect(m_list, &GoalList::rowsCreated, m_keyboard, &PanelKeyboard::updateTabOrder);
    m_rename = new TitleRename(m_header, m_keyboard, settings, m_steps, this);
    connect(m_rename, &TitleRename::layoutWanted, m_layout, &ContentLayout::run);
    m_menus = new ContextMenus(this, m_list, m_today, m_steps);
    connect(m_keyboard, &PanelKeyboard::menuRequested, this,
        [this](QPoint position) { m_menus->request(position, focusWidget()); });
    connect(m_menus, &ContextMenus::panelMenuRequested, this,
        [this](const QPoint &position) { emit contextMenuRequested(position, m_rename->title()); });

    // The window takes its limits from these, so a border drag stops at the width the content accepts.
    setMinimumWidth(MinimumWidth);
    setMaximumWidth(MaximumWidth);

    // The view itself holds the keyboard focus whenever no editor does. Otherwise activating the window, or
    // closing an editor, would hand the focus to the first checkbox and draw its focus ring. Its policy stays
    // NoFocus, so that a click on empty panel space leaves an open editor alone.
    setFocus(Qt::OtherFocusReason);

    m_rename->showTitle();
    connect(m_store, &TodoStore::todosChanged, m_refresh, [this] { m_refresh->schedule(); });
    connect(m_refresh, &BatchedRefresh::due, this, &ContentView::refreshFromStore);
    connect(m_store, &TodoStore::saveFailureChanged, m_header, &PanelHeader::setSaveFailure);
    connect(m_history, &UndoHistory::changed, m_rename, &TitleRename::showTitle);
    m_header->setSaveFailure(m_store->saveFailure());
    connect(m_store, &TodoStore::readNoticeChanged, m_header, &PanelHeader::setReadNotice);
    m_header->setReadNotice(m_store->readNotice());
    refreshFromStore(false, ListGeometry::ChangedBy::Elsewhere);
}

ContentView::~ContentView()
{
    // Closing the window takes the focus from an open editor, which would commit it. Like an unsent new goal,
    // an edit still open when the panel goes away is dropped.
    m_newGoal->discard();
    m_rename->discard();
    m_list->dropEdit();
}

void ContentView::makeList()
{
    m_list = new GoalList(this);
    connect(m_list, &GoalList::toggleRequested, m_steps, &PanelSteps::toggle);
    connect(m_list, &GoalList::textUpdated, m_steps, &PanelSteps::editText);
    connect(m_list, &GoalList::deleteRequested, m_steps, &PanelSteps::deleteGoal);
    connect(m_list, &GoalList::moveRequested, this, [this](const QUuid &id, int places) {
        if (const std::optional<int> storePlaces = m_today->storePlaces(m_store->todos(), id, places))
            m_steps->move(id, *storePlaces);
    });
    connect(m_list, &GoalList::focusLeftList, this, [this] { setFocus(Qt::OtherFocusReason); });
}

void ContentView::setDay(QDate day)
{
    // Set once at start, after the first refresh: a list of goals all shown on both days is not laid out again.
    if (m_today->setDay(day, m_store->todos()))
        refreshFromStore(false, ListGeometry::ChangedBy::Elsewhere);
}

void ContentView::connectAddArea()
{
    m_newGoal = new NewGoalEntry(m_addArea, this);
    const auto showAddArea = [this] {
        updateAddArea();
        m_layout->run();
    };
    connect(m_newGoal, &NewGoalEntry::begun, this, showAddArea);
    connect(m_newGoal, &NewGoalEntry::accepted, m_steps, &PanelSteps::add);
    connect(m_newGoal, &NewGoalEntry::ended, this, showAddArea);
    connect(m_newGoal, &NewGoalEntry::ended, this, &ContentView::addingEnded);
}

void ContentView::connectHover()
{
    connect(m_hover, &HoverFade::hoveringChanged, m_header, &PanelHeader::setPanelHovered);
    connect(m_hover, &HoverFade::hoveringChanged, m_list, &GoalList::setPanelHovered);
    connect(m_hover, &HoverFade::fadeChanged, m_header, &PanelHeader::setHoverFade);
    connect(m_hover, &HoverFade::fadeChanged, m_list, &GoalList::setHoverFade);
}

void ContentView::setTranslucent(bool translucent)
{
    if (translucent == m_isTranslucent)
        return;
    m_isTranslucent = translucent;
    update();
}

QPainterPath ContentView::backgroundShape() const
{
    return panelBackgroundShape(QRectF(m_layout->contentRect()));
}

QSize ContentView::sizeHint() const
{
    return m_layout->contentRect().size();
}

bool ContentView::hasDoneGoals() const
{
    const QList<TodoItem> &todos = m_store->todos();
    return std::any_of(
        todos.cbegin(), todos.cend(), [](const TodoItem &todo) { return todo.completed && !todo.repeat.repeats(); });
}

void ContentView::removeDoneGoals()
{
    m_steps->removeDoneGoals();
}

void ContentView::undo()
{
    m_steps->undo();
}

void ContentView::redo()
{
    m_steps->redo();
}

void ContentView::refreshFromStore(bool animated, ListGeometry::ChangedBy changedBy)
{
    const QList<TodoItem> todos = m_today->shownOf(m_store->todos());
    m_isEmpty = todos.isEmpty();
    QList<QUuid> ids;
    ids.reserve(todos.size());
    for (const TodoItem &todo : todos)
        ids.append(todo.id);
    m_layout->setGoals(std::move(ids));
    m_list->setTodos(todos, animated, changedBy);
    m_list->setVisible(!todos.isEmpty());
    m_listScroll->setVisible(!todos.isEmpty());
    const auto done = std::count_if(todos.cbegin(), todos.cend(), [](const TodoItem &todo) { return todo.completed; });
    m_header->setCount(done, todos.size());
    updateAddArea();
    m_layout->run();
}

void ContentView::updateAddArea()
{
    AddArea::Face face = AddArea::Face::Nothing;
    if (m_newGoal->isOpen())
        face = AddArea::Face::NewGoal;
    else if (m_isEmpty)
        face = AddArea::Face::EmptyState;
    if (face != AddArea::Face::NewGoal)
        m_keyboard->takeFocusFrom(m_addArea);
    m_addArea->setFace(face);
    m_addArea->setVisible(face != AddArea::Face::Nothing);
    m_keyboard->updateTabOrder();
}

void ContentView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintPanelBackground(
        painter, rect(), QRectF(m_layout->contentRect()), palette().color(QPalette::Window), m_isTranslucent);
}

void ContentView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_layout->viewResized();
}

void ContentView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        m_layout->run();
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        emit noticed();
}

void ContentView::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    m_hover->setHovering(true);
    emit noticed();
}

void ContentView::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    m_hover->setHovering(false);
}

void ContentView::contextMenuEvent(QContextMenuEvent *event)
{
    // The menu key reports the pointer's place, which may be anywhere on the screen.
    const bool fromKeyboard = event->reason() == QContextMenuEvent::Keyboard;
    m_menus->request(fromKeyboard ? m_keyboard->menuPosition() : event->globalPos(),
        fromKeyboard ? focusWidget() : childAt(event->pos()));
    event->accept();
}
