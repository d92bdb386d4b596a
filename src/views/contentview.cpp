#include "contentview.h"

#include "accessibility.h"
#include "addarea.h"
#include "goallist.h"
#include "model/todostore.h"
#include "panelheader.h"
#include "rows/continuouscorners.h"
#include "rows/glyphbutton.h"
#include "rows/todorowview.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QEasingCurve>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QShortcut>
#include <QVariantAnimation>

#include <algorithm>
#include <utility>

namespace {

constexpr int MinimumWidth = 260;
constexpr int MaximumWidth = 520;
constexpr int Padding = 6;
constexpr int MinimumHeaderHeight = 30;
// What a row counts for until it has been measured.
constexpr qreal UnmeasuredRowHeight = 28;
constexpr qreal CornerRadius = 18;
// Dense enough that text stays legible over a busy wallpaper, light enough that the desktop shows through.
constexpr int BackgroundAlpha = 232;
constexpr int HoverFadeMs = 200;
// A row growing while it is being placed asks for one more pass; heights settle well within these.
constexpr int MaximumLayoutPasses = 4;

constexpr QLatin1StringView TitleKey("title");

QEasingCurve easeOut()
{
    // The standard ease-out timing curve, control points (0, 0) and (0.58, 1).
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0, 0), QPointF(0.58, 1), QPointF(1, 1));
    return curve;
}

} // namespace

ContentView::ContentView(TodoStore *store, QSettings *defaults, std::function<void()> onDragChanged,
                         std::function<void()> onDragEnded, std::function<void(QSizeF)> onPanelResize,
                         QWidget *parent)
    : QWidget(parent)
    , m_store(store)
    , m_defaults(defaults)
    , m_onPanelResize(std::move(onPanelResize))
    , m_hoverFade(new QVariantAnimation(this))
{
    installPanelAccessibility();
    m_header = new PanelHeader(
        {
            .onAddGoal = [this] { beginAdding(); },
            .onRenameSubmit = [this] { commitRename(); },
            .onRenameCommit = [this] { commitRename(); },
            .onRenameCancel = [this] { cancelRename(); },
            .onDragChanged = std::move(onDragChanged),
            .onDragEnded = std::move(onDragEnded),
        },
        this);
    m_list = new GoalList(
        {
            .onToggle = [this](const QUuid &id) { withListSpring([this, id] { m_store->toggle(id); }); },
            .onUpdateText =
                [this](const QUuid &id, const QString &text) {
                    if (!m_isTearingDown)
                        m_store->updateText(id, text);
                },
            .onDelete = [this](const QUuid &id) { withListSpring([this, id] { m_store->remove(id); }); },
            .onMove = [this](const QSet<int> &sources, int destination) { m_store->move(sources, destination); },
            .onRowHeightChanged = [this] { scheduleLayout(); },
        },
        this);
    // The list scrolls only when the window cannot show it whole, beside a screen's edge; the header and the
    // add area stay in view. The wheel and the touchpad scroll it, with no bar taking the rows' width.
    connect(m_list, &GoalList::focusLeftList, this, [this] { setFocus(Qt::OtherFocusReason); });
    connect(m_list, &GoalList::moveByKeyRequested, this, [this](const QUuid &id, int places) {
        const QList<TodoItem> &todos = m_store->todos();
        const auto at = int(std::find_if(todos.cbegin(), todos.cend(), [&id](const TodoItem &todo) {
            return todo.id == id;
        }) - todos.cbegin());
        // Offsets before the move: one place down lands in front of the goal two below.
        const int destination = places < 0 ? at + places : at + places + 1;
        if (at < todos.size() && destination >= 0 && destination <= todos.size())
            m_store->move({ at }, destination);
    });
    m_listScroll = new QScrollArea(this);
    m_listScroll->setFrameShape(QFrame::NoFrame);
    m_listScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_listScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_listScroll->setAutoFillBackground(false);
    m_listScroll->viewport()->setAutoFillBackground(false);
    m_listScroll->setFocusPolicy(Qt::NoFocus);
    m_listScroll->setWidget(m_list);
    connect(m_list, &GoalList::scrollRequested, m_listScroll, [this](int dy) {
        QScrollBar *bar = m_listScroll->verticalScrollBar();
        bar->setValue(bar->value() + dy);
    });
    // Tab and Shift-Tab can reach a row scrolled out of view; it comes into view with the focus.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && m_list->isAncestorOf(now))
            m_listScroll->ensureWidgetVisible(now, 0, 0);
    });
    m_addArea = new AddArea(
        {
            .onBeginAdding = [this] { beginAdding(); },
            .onSubmit = [this] { submitNewGoal(); },
            .onCommit = [this] { commitNewGoal(); },
            .onCancel = [this] { cancelNewGoal(); },
        },
        this);

    auto *newGoal = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_N), this, this, &ContentView::beginAdding);
    newGoal->setContext(Qt::WidgetWithChildrenShortcut);

    // The window takes its limits from these, so a border drag stops at the width the content accepts.
    setMinimumWidth(MinimumWidth);
    setMaximumWidth(MaximumWidth);

    m_hoverFade->setDuration(HoverFadeMs);
    m_hoverFade->setEasingCurve(easeOut());
    connect(m_hoverFade, &QVariantAnimation::valueChanged, this,
            [this](const QVariant &value) { setHoverFade(value.toReal()); });

    // The view itself holds the keyboard focus whenever no editor does. Otherwise activating the window, or
    // closing an editor, would hand the focus to the first checkbox and draw its focus ring. Its policy stays
    // NoFocus, so that a click on empty panel space leaves an open editor alone.
    setFocus(Qt::OtherFocusReason);

    m_header->setTitle(title());
    connect(m_store, &TodoStore::todosChanged, this, &ContentView::scheduleRefresh);
    connect(m_store, &TodoStore::saveFailureChanged, m_header, &PanelHeader::setSaveFailure);
    m_header->setSaveFailure(m_store->saveFailure());
    refreshFromStore(false);
}

ContentView::~ContentView()
{
    // Closing the window takes the focus from an open editor, which would commit it. Like an unsent new goal,
    // an edit still open when the panel goes away is dropped, so the children go first, while this view can
    // still tell them no.
    m_isTearingDown = true;
    m_isAddingNew = false;
    m_isRenaming = false;
    disconnect(m_store, nullptr, this, nullptr);
    delete m_addArea;
    delete m_list;
    delete m_header;
}

QString ContentView::title() const
{
    const QString stored = m_defaults ? m_defaults->value(TitleKey).toString() : QString();
    // Only a hand-edited preference can hold a blank title; the header would have nothing to show.
    return trimmedNonEmpty(stored) ? stored : tr("Today's Goals");
}

void ContentView::beginRename()
{
    m_titleDraft = title();
    m_isRenaming = true;
    m_header->setRenaming(true, m_titleDraft);
    updateTabOrder();
    updateLayout();
}

void ContentView::commitRename()
{
    // Return, the editor losing the focus and the window losing key status can all arrive for one edit.
    if (!m_isRenaming)
        return;
    if (const QLineEdit *editor = m_header->titleEditor())
        m_titleDraft = editor->text();
    m_isRenaming = false;
    if (const std::optional<QString> title = trimmedNonEmpty(m_titleDraft); title && m_defaults) {
        m_defaults->setValue(TitleKey, *title);
        m_defaults->sync();
    }
    takeFocusFrom(m_header);
    m_header->setRenaming(false);
    m_header->setTitle(title());
    updateLayout();
}

void ContentView::cancelRename()
{
    if (!m_isRenaming)
        return;
    if (const QLineEdit *editor = m_header->titleEditor())
        m_titleDraft = editor->text();
    m_isRenaming = false;
    takeFocusFrom(m_header);
    m_header->setRenaming(false);
    updateLayout();
}

void ContentView::beginAdding()
{
    m_isAddingNew = true;
    updateAddArea();
    updateLayout();
}

QString ContentView::newTodoText() const
{
    return m_addArea->newTodoText();
}

void ContentView::submitNewGoal()
{
    const std::optional<QString> text = trimmedNonEmpty(newTodoText());
    m_addArea->clearNewTodoText();
    if (text) {
        // Adding mode stays on and the field keeps the focus, so the next goal can be typed at once.
        m_store->add(*text);
        m_store->save();
        return;
    }
    m_isAddingNew = false;
    updateAddArea();
    updateLayout();
}

void ContentView::commitNewGoal()
{
    // Focus loss and the window losing key status both arrive for one click elsewhere: only the first adds.
    if (!m_isAddingNew)
        return;
    const std::optional<QString> text = trimmedNonEmpty(newTodoText());
    m_addArea->clearNewTodoText();
    m_isAddingNew = false;
    if (text) {
        m_store->add(*text);
        m_store->save();
    }
    updateAddArea();
    updateLayout();
}

void ContentView::cancelNewGoal()
{
    if (!m_isAddingNew)
        return;
    m_addArea->clearNewTodoText();
    m_isAddingNew = false;
    updateAddArea();
    updateLayout();
}

void ContentView::setOpaqueBackground(bool opaque)
{
    if (opaque == m_opaqueBackground)
        return;
    m_opaqueBackground = opaque;
    update();
}

QPainterPath ContentView::backgroundShape() const
{
    return continuousRoundedRect(QRectF(m_contentRect), CornerRadius);
}

QSize ContentView::sizeHint() const
{
    return m_contentRect.size();
}

void ContentView::scheduleRefresh()
{
    m_refreshSprings = m_refreshSprings || m_isListSpringing;
    if (std::exchange(m_isRefreshPending, true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_isRefreshPending = false;
            refreshFromStore(std::exchange(m_refreshSprings, false));
        },
        Qt::QueuedConnection);
}

void ContentView::scheduleLayout()
{
    // A layout already running measures the rows again; otherwise many rows settling their heights in one
    // turn (a long list just shown) share one layout.
    if (m_isLayingOut) {
        m_needsAnotherLayout = true;
        return;
    }
    if (m_isRefreshPending || std::exchange(m_isLayoutPending, true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (std::exchange(m_isLayoutPending, false))
                updateLayout();
        },
        Qt::QueuedConnection);
}

void ContentView::refreshFromStore(bool animated)
{
    const QList<TodoItem> &todos = m_store->todos();
    m_list->setTodos(todos, animated);
    m_list->setVisible(!todos.isEmpty());
    m_listScroll->setVisible(!todos.isEmpty());
    const auto done = std::count_if(todos.cbegin(), todos.cend(), [](const TodoItem &todo) { return todo.completed; });
    m_header->setCount(done, todos.size());
    updateAddArea();
    updateLayout();
}

void ContentView::updateAddArea()
{
    AddArea::Face face = AddArea::Face::Nothing;
    if (m_isAddingNew)
        face = AddArea::Face::NewGoal;
    else if (m_store->todos().isEmpty())
        face = AddArea::Face::EmptyState;
    if (face != AddArea::Face::NewGoal)
        takeFocusFrom(m_addArea);
    m_addArea->setFace(face);
    m_addArea->setVisible(face != AddArea::Face::Nothing);
    updateTabOrder();
}

void ContentView::updateTabOrder()
{
    QWidgetList chain;
    if (QWidget *editor = m_header->titleEditor())
        chain << editor;
    chain << m_header->addButton();
    chain << m_list->focusChain();
    if (QWidget *field = m_addArea->newGoalField())
        chain << field;
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain.at(i - 1), chain.at(i));
}

QPoint ContentView::keyboardMenuPosition() const
{
    const QWidget *anchor = m_header;
    for (const QWidget *widget = focusWidget(); widget && widget != this; widget = widget->parentWidget()) {
        if (qobject_cast<const TodoRowView *>(widget)) {
            anchor = widget;
            break;
        }
    }
    return anchor->mapToGlobal(QPoint(0, anchor->height()));
}

int ContentView::contentWidth() const
{
    return std::clamp(width(), MinimumWidth, MaximumWidth);
}

void ContentView::updateLayout()
{
    m_isLayoutPending = false;
    // Placing a row can make it report a new height, which lands here again while the layout is running.
    if (m_isLayingOut) {
        m_needsAnotherLayout = true;
        return;
    }
    m_isLayingOut = true;
    for (int pass = 0; pass < MaximumLayoutPasses; ++pass) {
        m_needsAnotherLayout = false;
        layoutOnce();
        if (!m_needsAnotherLayout)
            break;
    }
    m_isLayingOut = false;
    update();
    updateGeometry();

    if (!m_hasBeenSized)
        return;
    const QSizeF size = m_wantedSize;
    if (size == m_reportedSize)
        return;
    m_reportedSize = size;
    if (m_onPanelResize)
        m_onPanelResize(size);
}

void ContentView::layoutOnce()
{
    const int width = contentWidth();
    const int innerWidth = width - 2 * Padding;
    int y = Padding;

    const int headerHeight = std::max(MinimumHeaderHeight, m_header->heightForWidth(innerWidth));
    m_header->setGeometry(Padding, y, innerWidth, headerHeight);
    y += headerHeight;

    const QList<TodoItem> &todos = m_store->todos();
    int listHeight = 0;
    if (!todos.isEmpty()) {
        for (const auto &[id, height] : m_list->layoutRows(innerWidth))
            m_rowHeights.insert(id, height);
        qreal sum = 0;
        for (const TodoItem &todo : todos)
            sum += m_rowHeights.value(todo.id, UnmeasuredRowHeight);
        listHeight = int(sum);
    }
    const bool hasAddArea = m_addArea->face() != AddArea::Face::Nothing;
    const int addHeight = hasAddArea ? m_addArea->heightForWidth(innerWidth) : 0;
    m_wantedSize = QSize(width, y + listHeight + addHeight + Padding);

    if (!todos.isEmpty()) {
        // A window shorter than the content shows less of the list, never less of the header or add area.
        const int shortfall = m_hasBeenSized ? std::max(0, m_wantedSize.height() - height()) : 0;
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

void ContentView::setHovering(bool hovering)
{
    if (hovering == m_isHovering)
        return;
    m_isHovering = hovering;
    // What takes clicks changes at once; only the look fades.
    m_header->setPanelHovered(hovering);
    m_list->setPanelHovered(hovering);
    m_hoverFade->stop();
    m_hoverFade->setStartValue(m_hoverProgress);
    m_hoverFade->setEndValue(hovering ? 1.0 : 0.0);
    m_hoverFade->start();
}

void ContentView::setHoverFade(qreal fade)
{
    m_hoverProgress = fade;
    m_header->setHoverFade(fade);
    m_list->setHoverFade(fade);
}

void ContentView::takeFocusFrom(const QWidget *area)
{
    // Only from a field that is about to go away: a focused widget that is hidden passes the focus on to the
    // next one in the chain, which would be a row's checkbox. The field's focus loss finds its edit over. The
    // window's own focus child counts too, so that an inactive window comes back without a focus ring.
    const QWidget *focused = focusWidget();
    if (focused && area->isAncestorOf(focused) && !m_isTearingDown)
        setFocus(Qt::OtherFocusReason);
}

void ContentView::dropUnseenFocus()
{
    // Right after this, the window hands the keyboard back to the control that last had it, or to the first
    // button in the tab chain when that one is gone, and neither draws a focus ring then: a typed space would
    // tick a goal that nothing shows as chosen. A click gives the focus only to a text field, whose caret
    // shows where typing goes; anything else the keyboard reaches again with Tab.
    const QWidget *focused = focusWidget();
    const bool isOpenEditor = qobject_cast<const QLineEdit *>(focused) && focused->isVisible();
    if (focused != this && !isOpenEditor)
        setFocus(Qt::OtherFocusReason);
}

void ContentView::withListSpring(const std::function<void()> &operation)
{
    m_isListSpringing = true;
    operation();
    m_isListSpringing = false;
}

void ContentView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QColor fill = palette().color(QPalette::Window);
    if (m_opaqueBackground) {
        // The window's mask cuts the corners. An antialiased edge would leave half-transparent pixels
        // inside it, and without a compositor those show dark.
        painter.fillRect(rect(), fill);
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    fill.setAlpha(BackgroundAlpha);
    painter.fillPath(backgroundShape(), fill);
}

void ContentView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_hasBeenSized = true;
    updateLayout();
}

bool ContentView::event(QEvent *event)
{
    // The window passes its activation on to its children before it gives the focus back.
    if (event->type() == QEvent::WindowActivate)
        dropUnseenFocus();
    return QWidget::event(event);
}

void ContentView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        updateLayout();
}

void ContentView::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    setHovering(true);
}

void ContentView::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    setHovering(false);
}

void ContentView::contextMenuEvent(QContextMenuEvent *event)
{
    // The menu key reports the pointer's place, which may be anywhere on the screen.
    const bool fromKeyboard = event->reason() == QContextMenuEvent::Keyboard;
    emit contextMenuRequested(fromKeyboard ? keyboardMenuPosition() : event->globalPos());
    event->accept();
}

void ContentView::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier) {
        emit contextMenuRequested(keyboardMenuPosition());
        return;
    }
    // With no goal focused, Up reaches the last goal and Down the first; an open field keeps its keys.
    const bool isField = qobject_cast<const QLineEdit *>(focusWidget()) != nullptr;
    if (modifiers == Qt::NoModifier && !isField && event->key() == Qt::Key_Up) {
        m_list->focusGoal(m_list->goalCount() - 1, Qt::BacktabFocusReason);
        return;
    }
    if (modifiers == Qt::NoModifier && !isField && event->key() == Qt::Key_Down) {
        m_list->focusGoal(0, Qt::TabFocusReason);
        return;
    }
    QWidget::keyPressEvent(event);
}
