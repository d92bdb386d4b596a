// SPDX-License-Identifier: GPL-3.0-or-later

#include "keyablepanel.h"

#include "app/x11/x11focus.h"
#include "app/x11/x11platform.h"
#include "app/x11/x11watches.h"
#include "panelmapkeeper.h"
#include "panelresizeborder.h"
#include "panelresizegrip.h"
#include "views/panel/accessibility.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QTransform>
#include <QWindow>

#include <utility>

namespace
{

// The resize grips serve the pointer alone; a listener hears the panel's content.
QAccessibleInterface *panelAccessible(const QString &, QObject *object)
{
    auto *panel = qobject_cast<KeyablePanel *>(object);
    if (!panel)
        return nullptr;
    return shownChildrenAccessible(
        panel, QAccessible::Window, [](const QWidget *child) { return !qobject_cast<const PanelResizeGrip *>(child); });
}

} // namespace

KeyablePanel::KeyablePanel(bool translucent, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::NoDropShadowWindowHint)
    , m_translucent(translucent)
    , m_border(new PanelResizeBorder(this))
    , m_mapKeeper(new PanelMapKeeper(this))
{
    setAttribute(Qt::WA_TranslucentBackground);
    // On X11 the panel keeps the focus away through its input hint alone. The attribute would say "do not
    // activate" with a zero user time, which KWin and mutter take for an activation they refused: they mark
    // the window as demanding attention.
    setAttribute(Qt::WA_ShowWithoutActivating, !X11Platform::isActive());
    // Qt asks the window manager to activate a window on every press of any button but the wheel, unless
    // the window does not accept the focus; then the panel alone decides which presses focus it. Given before
    // the native window exists, which is then made with it: set afterwards, it rewrote the window's hints.
    setWindowFlag(Qt::WindowDoesNotAcceptFocus, X11Platform::isActive());
    // The panel is rarely the active window, yet its tooltips (the add button, a save warning) must show.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setWindowTitle(QStringLiteral("Mirel"));
    static const bool accessibleInstalled = [] {
        QAccessible::installFactory(panelAccessible);
        return true;
    }();
    Q_UNUSED(accessibleInstalled);
    connect(m_border, &PanelResizeBorder::resizeStarted, this, &KeyablePanel::liveResizeStarted);
    connect(m_border, &PanelResizeBorder::resizeEnded, this, &KeyablePanel::finishLiveResize);
}

KeyablePanel::~KeyablePanel() = default;

void KeyablePanel::setContentView(QWidget *content)
{
    m_content = content;
    content->setParent(this);
    // The user cannot make the panel wider or narrower than its content accepts.
    setMinimumSize(content->minimumSize());
    setMaximumSize(content->maximumSize());
    content->setGeometry(rect());
    content->show();
    // The content holds the keyboard focus until one of its fields takes it. Without a focus widget, Qt
    // would focus the first control when the panel is activated, and a typed space would act on it. Only
    // once shown: a hidden widget's focus is not recorded in a window that is on screen already.
    content->setFocus(Qt::OtherFocusReason);
    // The grips lie over the content's edge so that they get the presses there.
    m_border->raise();
    updateShape();
}

void KeyablePanel::setContentShape(const QPainterPath &shape)
{
    m_contentShape = shape;
    updateShape();
}

void KeyablePanel::setFrameFromContent(const QRect &geometry)
{
    setMinimumHeight(0);
    setMaximumHeight(QWIDGETSIZE_MAX);
    setGeometry(geometry);
    setMinimumHeight(geometry.height());
    setMaximumHeight(geometry.height());
    m_border->layout();
}

void KeyablePanel::orderFront()
{
    // The native window exists from here on, so the platform properties are in place before the first map.
    winId();
    QWindow *handle = windowHandle();
    handle->installEventFilter(this);
    X11Platform::internAtomsBeforeMap();
    watchCompositor();
    X11Platform::setFloatingPanelProperties(handle);
    keepUnfocused(handle);
    m_mapKeeper->watch(handle);
    m_blurBehind = m_translucent && X11Platform::supportsBlurBehind();
    updateShape();
    show();
}

void KeyablePanel::bringToFront()
{
    m_mapKeeper->showAgain();
    if (!X11Platform::isActive()) {
        raise();
        return;
    }
    X11Platform::requestFloatingPanelState(windowHandle());
    X11Platform::raiseForUser(windowHandle());
}

void KeyablePanel::takeKeyboard(uint32_t userTime)
{
    if (!X11Platform::isActive()) {
        activateWindow();
        return;
    }
    // An unmapped window cannot take the focus.
    if (!m_mapped) {
        m_pendingKeyboardTime = userTime;
        return;
    }
    X11Platform::setAcceptsFocus(windowHandle(), true);
    X11Platform::activateForUser(windowHandle(), userTime);
}

void KeyablePanel::keepUnfocused(QWindow *handle)
{
    if (!X11Platform::isActive())
        return;
    // The window accepts the focus only while it takes it for a press of its own, so no window manager
    // focuses it when it appears, restores it or looks for a window to focus after another one closed.
    X11Platform::setNeverFocused(handle);
    X11Platform::setAcceptsFocus(handle, false);
}

void KeyablePanel::takeFocusForPress(const QMouseEvent *press)
{
    if (!X11Platform::isActive()) {
        activateWindow();
        return;
    }
    // Window managers read the hint before they act on the request, which comes after it.
    X11Platform::setAcceptsFocus(windowHandle(), true);
    X11Platform::takeFocus(windowHandle(), uint32_t(press->timestamp()));
}

bool KeyablePanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != windowHandle())
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress) {
        const auto button = static_cast<QMouseEvent *>(event)->button();
        if ((button == Qt::LeftButton || button == Qt::RightButton) && !isActiveWindow())
            takeFocusForPress(static_cast<QMouseEvent *>(event));
    } else if (event->type() == QEvent::FocusOut) {
        X11Platform::setAcceptsFocus(windowHandle(), false);
    } else if (event->type() == QEvent::Expose && !m_mapped && windowHandle()->isExposed()) {
        // Window managers read the state property only when they take a window on; asking again once it
        // is mapped reaches those that had already done so when Qt rewrote the property.
        // After the first frame: the request needs nothing from it and costs a round trip.
        m_mapped = true;
        QTimer::singleShot(0, this, [this] {
            X11Platform::requestFloatingPanelState(windowHandle());
            if (m_compositorWatch)
                followCompositor();
            emit firstFrameShown();
            if (const std::optional<uint32_t> time = std::exchange(m_pendingKeyboardTime, std::nullopt))
                takeKeyboard(*time);
        });
    }
    return QWidget::eventFilter(watched, event);
}

void KeyablePanel::closeEvent(QCloseEvent *event)
{
    // The panel is never hidden while the program runs, so a close from the window manager is not obeyed
    // but reported; closes Qt itself makes on the way out go through.
    if (event->spontaneous()) {
        event->ignore();
        emit closeRequested();
        return;
    }
    QWidget::closeEvent(event);
}

void KeyablePanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_content)
        m_content->setGeometry(rect());
    m_border->layout();
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
    emit liveResizeEnded();
}

void KeyablePanel::updateShape()
{
    if (m_contentShape.isEmpty() || (m_translucent && !m_blurBehind))
        return;
    const QPainterPath &shape = m_contentShape;
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
    // properties at once. A compositor that started after the caller chose the first look but before the
    // watch began is looked for once the first frame is up, which it need not wait for.
    delete std::exchange(m_compositorWatch, X11Platform::CompositorWatch::watch(this));
    if (m_compositorWatch)
        connect(m_compositorWatch, &X11Platform::CompositorWatch::changed, this, &KeyablePanel::followCompositor,
            Qt::QueuedConnection);
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
