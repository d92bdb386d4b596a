// SPDX-License-Identifier: GPL-3.0-or-later

#include "contentview.h"

#include "accessibility.h"
#include "batchedrefresh.h"
#include "goalmenu.h"
#include "model/addgoals.h"
#include "model/goalsteps.h"
#include "model/removegoals.h"
#include "model/todostore.h"
#include "panelbackground.h"
#include "panelkeyboard.h"
#include "todayslist.h"
#include "views/addarea/addarea.h"
#include "views/header/panelheader.h"
#include "views/list/goallist.h"
#include "views/list/goallistscroll.h"
#include "views/rows/todorowview.h"

#include <QContextMenuEvent>
#include <QPainter>

#include <algorithm>
#include <iterator>
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
    , m_title(settings)
    , m_rename(new EditSession(EditSession::Lines::Joined, this))
    , m_newGoal(new EditSession(EditSession::Lines::Kept, this))
    , m_hover(new HoverFade(this))
    , m_refresh(new BatchedRefresh(this))
{
    installPanelAccessibility();
    m_header = new PanelHeader(this);
    connectHeader(std::move(onDragChanged), std::move(onDragEnded));
    makeList();
    m_today = new TodaysList(m_list, this);
    connect(m_today, &TodaysList::farewellsEnded, this,
        [this] { m_refresh->withListSpring([this] { m_refresh->schedule(); }); });
    auto *listScroll = new GoalListScroll(m_list, this);
    connect(m_list, &GoalList::scrollRequested, listScroll, &GoalListScroll::scrollBy);
    m_listScroll = listScroll;
    m_addArea = new AddArea(this);
    connectAddArea();
    m_layout = new ContentLayout(this, m_header, m_list, m_listScroll, m_addArea);
    connect(m_layout, &ContentLayout::wantedSizeChanged, this, std::move(onPanelResize));
    connect(
        m_layout, &ContentLayout::contentRectChanged, this, [this] { emit backgroundShapeChanged(backgroundShape()); });
    connectHover();
    m_keyboard = new PanelKeyboard(this, m_header, m_list, m_addArea);
    connect(m_list, &GoalList::rowsCreated, m_keyboard, &PanelKeyboard::updateTabOrder);
    connect(m_keyboard, &PanelKeyboard::menuRequested, this,
        [this](QPoint position) { requestMenu(position, focusWidget()); });
    m_goalMenu = new GoalMenu(this);
    connectGoalMenu();

    // The window takes its limits from these, so a border drag stops at the width the content accepts.
    setMinimumWidth(MinimumWidth);
    setMaximumWidth(MaximumWidth);

    // The view itself holds the keyboard focus whenever no editor does. Otherwise activating the window, or
    // closing an editor, would hand the focus to the first checkbox and draw its focus ring. Its policy stays
    // NoFocus, so that a click on empty panel space leaves an open editor alone.
    setFocus(Qt::OtherFocusReason);

    m_header->setTitle(m_title.text());
    connect(m_store, &TodoStore::todosChanged, this, [this] { m_hasOwnChange = m_hasOwnChange || m_isTakingOwnStep; });
    connect(m_store, &TodoStore::todosChanged, m_refresh, &BatchedRefresh::schedule);
    connect(m_refresh, &BatchedRefresh::due, this, &ContentView::refreshFromStore);
    connect(m_store, &TodoStore::saveFailureChanged, m_header, &PanelHeader::setSaveFailure);
    // An undone or redone rename shows at once.
    connect(m_history, &UndoHistory::changed, this, [this] {
        if (!m_rename->isOpen())
            m_header->setTitle(m_title.text());
    });
    m_header->setSaveFailure(m_store->saveFailure());
    connect(m_store, &TodoStore::readNoticeChanged, m_header, &PanelHeader::setReadNotice);
    m_header->setReadNotice(m_store->readNotice());
    refreshFromStore(false);
}

ContentView::~ContentView()
{
    // Closing the window takes the focus from an open editor, which would commit it. Like an unsent new goal,
    // an edit still open when the panel goes away is dropped, so the children go first, while this view can
    // still tell them no.
    m_isTearingDown = true;
    m_newGoal->discard();
    m_rename->discard();
    disconnect(m_store, nullptr, this, nullptr);
    disconnect(m_store, nullptr, m_refresh, nullptr);
    disconnect(m_history, nullptr, this, nullptr);
    delete m_addArea;
    delete m_list;
    delete m_header;
}

void ContentView::connectHeader(std::function<void(QPointF)> onDragChanged, std::function<void()> onDragEnded)
{
    connect(m_header, &PanelHeader::addGoalRequested, this, &ContentView::beginAdding);
    connect(m_header, &PanelHeader::renameCommitted, m_rename, &EditSession::commit);
    connect(m_header, &PanelHeader::renameCancelled, m_rename, &EditSession::cancel);
    connect(m_header, &PanelHeader::dragMoved, this, std::move(onDragChanged));
    connect(m_header, &PanelHeader::dragEnded, this, std::move(onDragEnded));

    connect(m_rename, &EditSession::begun, this, [this] {
        m_header->setRenaming(true, m_title.text());
        m_keyboard->updateTabOrder();
        m_layout->run();
    });
    connect(m_rename, &EditSession::accepted, this,
        [this](const QString &title) { performOwn(std::make_unique<RenameTitle>(&m_title, title)); });
    connect(m_rename, &EditSession::ended, this, [this] {
        m_keyboard->takeFocusFrom(m_header);
        m_header->setRenaming(false);
        m_header->setTitle(m_title.text());
        m_layout->run();
    });
}

void ContentView::makeList()
{
    m_list = new GoalList({
                              .onToggle =
                                  [this](const QUuid &id) {
                                      m_refresh->withListSpring(
                                          [this, id] { performOwn(std::make_unique<SetGoalCompleted>(m_store, id)); });
                                  },
                              .onUpdateText =
                                  [this](const QUuid &id, const QString &text) {
                                      if (!m_isTearingDown)
                                          performOwn(std::make_unique<EditGoalText>(m_store, id, text));
                                  },
                              .onDelete =
                                  [this](const QUuid &id) {
                                      m_refresh->withListSpring([this, id] {
                                          performOwn(
                                              std::make_unique<RemoveGoals>(m_store, RemoveGoals::Which::OneGoal, id));
                                      });
                                  },
                          },
        this);
    connect(m_list, &GoalList::moveRequested, this, [this](const QUuid &id, int places) {
        // The list counts places among the goals it shows; the store's list also holds those of other days.
        const QList<TodoItem> &todos = m_store->todos();
        QList<qsizetype> shown;
        qsizetype from = -1;
        for (qsizetype i = 0; i < todos.size(); ++i) {
            if (!isShown(todos.at(i)))
                continue;
            if (todos.at(i).id == id && from < 0)
                from = shown.size();
            shown.append(i);
        }
        if (from < 0 || from + places < 0 || from + places >= shown.size())
            return;
        const int storePlaces = int(shown.at(from + places) - shown.at(from));
        performOwn(std::make_unique<MoveGoal>(m_store, id, storePlaces));
    });
    connect(m_list, &GoalList::layoutWanted, this, [this] { m_layout->schedule(); });
    connect(m_list, &GoalList::focusLeftList, this, [this] { setFocus(Qt::OtherFocusReason); });
}

void ContentView::connectGoalMenu()
{
    connect(m_goalMenu, &GoalMenu::editRequested, this, [this](const QUuid &id) {
        if (TodoRowView *row = m_list->row(id))
            row->editFromKeyboard();
    });
    connect(m_goalMenu, &GoalMenu::toggleRequested, this, [this](const QUuid &id) {
        m_refresh->withListSpring([this, id] { performOwn(std::make_unique<SetGoalCompleted>(m_store, id)); });
    });
    connect(m_goalMenu, &GoalMenu::deleteRequested, this, [this](const QUuid &id) {
        m_refresh->withListSpring(
            [this, id] { performOwn(std::make_unique<RemoveGoals>(m_store, RemoveGoals::Which::OneGoal, id)); });
    });
    connect(m_goalMenu, &GoalMenu::repeatChosen, this, [this](const QUuid &id, const GoalRepeat &repeat) {
        m_today->repeatChosen(id, repeat);
        m_refresh->withListSpring(
            [this, id, repeat] { performOwn(std::make_unique<SetGoalRepeat>(m_store, id, repeat)); });
    });
}

void ContentView::requestMenu(const QPoint &globalPosition, QWidget *target)
{
    // A goal's own menu, except while it is being edited: its editor gives up its text menu for the panel's.
    for (QWidget *widget = target; widget && widget != this; widget = widget->parentWidget()) {
        const auto *row = qobject_cast<const TodoRowView *>(widget);
        if (row && !row->isEditing()) {
            m_goalMenu->popupFor(row->todo(), globalPosition);
            return;
        }
    }
    emit contextMenuRequested(globalPosition, m_title.text());
}

bool ContentView::isShown(const TodoItem &todo) const
{
    return m_today->isShown(todo);
}

void ContentView::setDay(QDate day)
{
    // Set once at start, after the first refresh: a list of goals all shown on both days is not laid out again.
    if (m_today->setDay(day, m_store->todos()))
        refreshFromStore(false);
}

void ContentView::connectAddArea()
{
    connect(m_addArea, &AddArea::addingRequested, this, &ContentView::beginAdding);
    // Return keeps adding open and the field focused, so the next goal can be typed at once.
    connect(m_addArea, &AddArea::submitted, this, [this](const QString &text) {
        m_isDismissingByKey = true;
        m_newGoal->commitAndContinue(text);
        m_isDismissingByKey = false;
    });
    connect(m_addArea, &AddArea::committed, m_newGoal, &EditSession::commit);
    connect(m_addArea, &AddArea::cancelled, this, [this] {
        m_isDismissingByKey = true;
        m_newGoal->cancel();
        m_isDismissingByKey = false;
    });

    const auto showAddArea = [this] {
        updateAddArea();
        m_layout->run();
    };
    connect(m_newGoal, &EditSession::begun, this, showAddArea);
    // Lines pasted into the field become a goal each, as text sent from another program does, in one step.
    connect(m_newGoal, &EditSession::accepted, this, [this](const QString &text) {
        const auto split = hasLineBreak(text) ? AddGoals::Split::OneGoalPerLine : AddGoals::Split::OneGoal;
        performOwn(std::make_unique<AddGoals>(m_store, text, split));
    });
    connect(m_newGoal, &EditSession::ended, this, showAddArea);
    connect(m_newGoal, &EditSession::ended, this, [this] { emit addingEnded(m_isDismissingByKey); });
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
    m_refresh->withListSpring(
        [this] { performOwn(std::make_unique<RemoveGoals>(m_store, RemoveGoals::Which::DoneGoals)); });
}

void ContentView::undo()
{
    m_refresh->withListSpring([this] { takeOwnStep([this] { m_history->undo(); }); });
}

void ContentView::redo()
{
    m_refresh->withListSpring([this] { takeOwnStep([this] { m_history->redo(); }); });
}

void ContentView::performOwn(std::unique_ptr<UndoStep> step)
{
    takeOwnStep([this, &step] { m_history->perform(std::move(step)); });
}

void ContentView::takeOwnStep(const std::function<void()> &step)
{
    m_isTakingOwnStep = true;
    step();
    m_isTakingOwnStep = false;
}

void ContentView::refreshFromStore(bool animated)
{
    // A copy only while some goal is of another day: a long list is not copied at every change.
    const QList<TodoItem> &all = m_store->todos();
    const bool allShown = std::all_of(all.cbegin(), all.cend(), [this](const TodoItem &todo) { return isShown(todo); });
    QList<TodoItem> someShown;
    if (!allShown)
        std::copy_if(all.cbegin(), all.cend(), std::back_inserter(someShown),
            [this](const TodoItem &todo) { return isShown(todo); });
    const QList<TodoItem> &todos = allShown ? all : someShown;
    m_isEmpty = todos.isEmpty();
    QList<QUuid> ids;
    ids.reserve(todos.size());
    for (const TodoItem &todo : todos)
        ids.append(todo.id);
    m_layout->setGoals(std::move(ids));
    // The store tells of its changes on the next turn; any of this view's own since the last refresh makes the
    // refresh the person's, whose new goals come into view.
    m_list->setTodos(todos, animated,
        std::exchange(m_hasOwnChange, false) ? ListGeometry::ChangedBy::ThisPanel : ListGeometry::ChangedBy::Elsewhere);
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
    requestMenu(fromKeyboard ? m_keyboard->menuPosition() : event->globalPos(),
        fromKeyboard ? focusWidget() : childAt(event->pos()));
    event->accept();
}
