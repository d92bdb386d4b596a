// SPDX-License-Identifier: GPL-3.0-or-later

#include "panelmapkeeper.h"

#include "app/x11/x11platform.h"
#include "app/x11/x11watches.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <utility>

namespace
{

// How long a window manager gets to show the panel again before it is asked anew, and how often.
constexpr int MapCheckMs = 300;
constexpr int MapChecks = 10;
// How long the state property must stay unchanged after the window manager took the panel on anew before
// the states it lacks are asked for again, and how often they are.
constexpr int StatesSettleMs = 150;
constexpr int StateRequests = 3;

} // namespace

PanelMapKeeper::PanelMapKeeper(QWidget *panel)
    : QObject(panel)
    , m_panel(panel)
    , m_statesSettle(new QTimer(this))
{
    m_statesSettle->setSingleShot(true);
    m_statesSettle->setInterval(StatesSettleMs);
    connect(m_statesSettle, &QTimer::timeout, this, &PanelMapKeeper::requestMissingStates);
}

void PanelMapKeeper::watch(QWindow *handle)
{
    handle->installEventFilter(this);
    delete std::exchange(m_windowWatch, X11Platform::WindowWatch::watch(handle, this));
    if (!m_windowWatch)
        return;
    // Queued: the window manager is still busy with the unmap when it is reported.
    connect(m_windowWatch, &X11Platform::WindowWatch::unmapped, this, &PanelMapKeeper::mapAgainAfterUnmap,
        Qt::QueuedConnection);
    connect(m_windowWatch, &X11Platform::WindowWatch::statesChanged, this, [this] {
        if (m_stateRequestsLeft > 0)
            m_statesSettle->start();
    });
}

void PanelMapKeeper::showAgain()
{
    // A panel on screen has nothing to come back from. Were it brought back all the same, the next expose,
    // after a drag and a content resize, would put it back where it stood when asked.
    if (m_panel->windowHandle() && !m_panel->windowHandle()->isExposed())
        mapAgainAfterUnmap();
}

void PanelMapKeeper::mapAgainAfterUnmap()
{
    QWindow *handle = m_panel->windowHandle();
    // Mirel hides the panel only on its way out.
    if (!m_panel->isVisible() || !handle)
        return;
    // A window manager that let the panel go has dropped its states; it reads them anew when it takes the
    // window on, and one that merely iconified it is asked again once the panel is back.
    X11Platform::setFloatingPanelProperties(handle);
    if (!m_requestStatesWhenExposed)
        m_geometryBeforeUnmap = m_panel->geometry();
    m_requestStatesWhenExposed = true;
    m_stateRequestsLeft = StateRequests;
    X11Platform::mapAgain(handle);
    m_mapChecksLeft = MapChecks;
    QTimer::singleShot(MapCheckMs, this, &PanelMapKeeper::checkShownAgain);
}

void PanelMapKeeper::checkShownAgain()
{
    if (!m_panel->isVisible() || m_panel->windowHandle()->isExposed() || m_mapChecksLeft-- <= 0)
        return;
    // Some window managers leave every window they hid to show the desktop unmapped, whatever it asks,
    // until that mode ends; the panel is never hidden, so it ends the mode. Others drop a map request that
    // arrives while they are still letting the window go, so the panel asks again.
    if (X11Platform::isShowingDesktop())
        X11Platform::stopShowingDesktop();
    else
        X11Platform::mapAgain(m_panel->windowHandle());
    QTimer::singleShot(MapCheckMs, this, &PanelMapKeeper::checkShownAgain);
}

void PanelMapKeeper::requestMissingStates()
{
    // Before the window manager has taken the panel on, the panel's own list stands.
    QWindow *handle = m_panel->windowHandle();
    if (handle && handle->isExposed() && X11Platform::requestMissingFloatingPanelStates(handle))
        --m_stateRequestsLeft;
}

bool PanelMapKeeper::eventFilter(QObject *watched, QEvent *event)
{
    QWindow *handle = m_panel->windowHandle();
    if (watched == handle && event->type() == QEvent::Expose && m_requestStatesWhenExposed && handle->isExposed()) {
        m_requestStatesWhenExposed = false;
        X11Platform::requestFloatingPanelState(handle);
        // A window manager that takes the panel on anew places it as it likes. The size is the content's,
        // which a goal sent meanwhile may have changed.
        const QRect before(m_geometryBeforeUnmap.topLeft(), m_panel->size());
        if (m_panel->geometry() != before)
            m_panel->setGeometry(before);
    }
    return QObject::eventFilter(watched, event);
}
