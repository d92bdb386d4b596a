#include "keyablepanel.h"

#include "panelresizegrip.h"
#include "x11platform.h"

#include <QMouseEvent>
#include <QTimer>
#include <QTransform>
#include <QWindow>


namespace {

// Thin enough to stay inside the content's padding, wide enough to hit.
constexpr int GripThickness = 5;
constexpr int CornerGripSize = 14;

constexpr std::array<Qt::Edges, 8> GripEdges{
    Qt::LeftEdge,
    Qt::RightEdge,
    Qt::TopEdge,
    Qt::BottomEdge,
    Qt::TopEdge | Qt::LeftEdge,
    Qt::TopEdge | Qt::RightEdge,
    Qt::BottomEdge | Qt::LeftEdge,
    Qt::BottomEdge | Qt::RightEdge,
};

QRect gripRect(Qt::Edges edges, const QSize &size)
{
    const int w = size.width();
    const int h = size.height();
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal && vertical) {
        const int x = edges & Qt::LeftEdge ? 0 : w - CornerGripSize;
        const int y = edges & Qt::TopEdge ? 0 : h - CornerGripSize;
        return {x, y, CornerGripSize, CornerGripSize};
    }
    if (horizontal)
        return {edges & Qt::LeftEdge ? 0 : w - GripThickness, CornerGripSize, GripThickness, h - 2 * CornerGripSize};
    return {CornerGripSize, edges & Qt::TopEdge ? 0 : h - GripThickness, w - 2 * CornerGripSize, GripThickness};
}

} // namespace

KeyablePanel::KeyablePanel(bool translucent, Callbacks callbacks, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::NoDropShadowWindowHint)
    , m_callbacks(std::move(callbacks))
    , m_translucent(translucent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    // The panel is rarely the active window, yet its tooltips (the add button, a save warning) must show.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setWindowTitle(QStringLiteral("Mirel"));
    for (size_t i = 0; i < GripEdges.size(); ++i) {
        const Qt::Edges edges = GripEdges[i];
        m_grips[i] = new PanelResizeGrip(
            edges, m_callbacks.onLiveResizeStarted, [this, edges] { finishLiveResize(edges); }, this);
    }
}

KeyablePanel::~KeyablePanel() = default;

void KeyablePanel::setContentView(QWidget *content, std::function<QPainterPath()> backgroundShape)
{
    m_content = content;
    m_backgroundShape = std::move(backgroundShape);
    content->setParent(this);
    // The content holds the keyboard focus until one of its fields takes it. Without a focus widget, Qt
    // would focus the first checkbox when the panel is activated, and a typed space would tick that goal.
    content->setFocus(Qt::OtherFocusReason);
    // The user cannot make the panel wider or narrower than its content accepts.
    setMinimumSize(content->minimumSize());
    setMaximumSize(content->maximumSize());
    content->setGeometry(rect());
    // The grips lie over the content's edge so that they get the presses there.
    for (PanelResizeGrip *grip : m_grips)
        grip->raise();
    updateShape();
}

void KeyablePanel::setFrameFromContent(const QRect &geometry)
{
    setMinimumHeight(0);
    setMaximumHeight(QWIDGETSIZE_MAX);
    setGeometry(geometry);
    setMinimumHeight(geometry.height());
    setMaximumHeight(geometry.height());
    layoutGrips();
}

void KeyablePanel::orderFront()
{
    // The native window exists from here on, so the platform properties are in place before the first map.
    winId();
    QWindow *handle = windowHandle();
    handle->installEventFilter(this);
    m_otherButtonFilter = X11Platform::deliverOtherButtonsWithoutActivating(handle);
    watchCompositor();
    X11Platform::setFloatingPanelProperties(handle);
    m_blurBehind = m_translucent && X11Platform::supportsBlurBehind();
    updateShape();
    show();
}

bool KeyablePanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != windowHandle())
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress) {
        const auto button = static_cast<QMouseEvent *>(event)->button();
        if ((button == Qt::LeftButton || button == Qt::RightButton) && !isActiveWindow())
            activateWindow();
    } else if (event->type() == QEvent::Expose && !m_mapped && windowHandle()->isExposed()) {
        // Window managers read the state property only when they take a window on; asking again once it
        // is mapped reaches those that had already done so when Qt rewrote the property.
        // After the first frame: the request needs nothing from it and costs a round trip.
        m_mapped = true;
        QTimer::singleShot(0, this, [this] {
            X11Platform::requestFloatingPanelState(windowHandle());
            emit firstFrameShown();
        });
    }
    return QWidget::eventFilter(watched, event);
}

void KeyablePanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_content)
        m_content->setGeometry(rect());
    layoutGrips();
    updateShape();
}

void KeyablePanel::finishLiveResize(Qt::Edges edges)
{
    // The content answers a width past its limits with the size it keeps to, but only once: a border
    // dragged further leaves the window wider or narrower than the content. The window takes the content's
    // size, and the edges the user did not hold stay where they are.
    const QSize wanted = m_content ? m_content->sizeHint() : QSize();
    if (!wanted.isEmpty() && wanted != size()) {
        const QRect current = geometry();
        QRect fitted(current.topLeft(), wanted);
        if (edges & Qt::LeftEdge)
            fitted.moveRight(current.right());
        if (edges & Qt::TopEdge)
            fitted.moveBottom(current.bottom());
        setFrameFromContent(fitted);
    }
    if (m_callbacks.onLiveResizeEnded)
        m_callbacks.onLiveResizeEnded();
}

void KeyablePanel::layoutGrips()
{
    const bool heightIsFixed = minimumHeight() == maximumHeight();
    for (PanelResizeGrip *grip : m_grips) {
        grip->setGeometry(gripRect(grip->edges(), size()));
        grip->setVerticalLocked(heightIsFixed);
        grip->setVisible(!heightIsFixed || (grip->edges() & (Qt::LeftEdge | Qt::RightEdge)));
    }
}

void KeyablePanel::updateShape()
{
    if (!m_backgroundShape || (m_translucent && !m_blurBehind))
        return;
    const QPainterPath shape = m_backgroundShape();
    if (!m_translucent) {
        setMask(QRegion(shape.toFillPolygon().toPolygon(), Qt::WindingFill));
    } else if (windowHandle()) {
        // The compositor works in the window's device pixels.
        const QPainterPath scaled = QTransform::fromScale(devicePixelRatio(), devicePixelRatio()).map(shape);
        X11Platform::setBlurBehindRegion(windowHandle(), QRegion(scaled.toFillPolygon().toPolygon(), Qt::WindingFill));
    }
}

void KeyablePanel::watchCompositor()
{
    // Queued: the events come in the middle of Qt's dispatch, and a compositor's start sets several
    // properties at once.
    m_compositorWatch = X11Platform::watchCompositor(
        [this] { QMetaObject::invokeMethod(this, &KeyablePanel::followCompositor, Qt::QueuedConnection); });
    // A compositor that started after the caller chose the first look but before the watch began.
    if (m_compositorWatch)
        QMetaObject::invokeMethod(this, &KeyablePanel::followCompositor, Qt::QueuedConnection);
}

void KeyablePanel::followCompositor()
{
    const bool translucent = X11Platform::hasCompositor();
    const bool blurBehind = translucent && X11Platform::supportsBlurBehind();
    if (translucent == m_translucent && blurBehind == m_blurBehind)
        return;
    const bool translucencyChanges = translucent != m_translucent;
    m_translucent = translucent;
    // A compositor that stops blurring has stopped compositing or ignores the request, so it is left set.
    m_blurBehind = blurBehind;
    if (translucent)
        clearMask();
    updateShape();
    if (translucencyChanges)
        emit translucencyChanged(translucent);
}
