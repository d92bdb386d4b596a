// SPDX-License-Identifier: GPL-3.0-or-later

#include "screenshotbackdrop.h"

#include "app/x11/x11focus.h"
#include "app/x11/x11platform.h"

#include <QLinearGradient>
#include <QPainter>
#include <QWindow>

ScreenshotBackdrop::ScreenshotBackdrop(const QRect &screenGeometry, QWidget *parent)
    : QWidget(parent,
        Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowTransparentForInput
            | Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint)
{
    // Above ordinary windows like the panel; the panel, shown after it, stacks above it in that layer.
    // On X11 the input hint keeps the focus away; a zero user time would have it marked as demanding attention.
    setAttribute(Qt::WA_ShowWithoutActivating, !X11Platform::isActive());
    setAttribute(Qt::WA_OpaquePaintEvent);
    setWindowTitle(tr("Mirel backdrop"));
    setGeometry(screenGeometry);
}

void ScreenshotBackdrop::orderFront()
{
    // A window manager that believed the backdrop focused would stack the unfocused panel beneath it.
    winId();
    X11Platform::setNeverFocused(windowHandle());
    // KWin hides an inactive application's utility windows, the panel among them, while they belong to
    // another window of the application, as a transient or through its window group. It keeps the panel,
    // shown later in the same layer, above the backdrop without a tie between the two.
    m_ownWindowGroup = X11Platform::windowManagerName() == u"KWin";
    if (m_ownWindowGroup)
        X11Platform::setOwnWindowGroup(windowHandle());
    show();
}

void ScreenshotBackdrop::keepBeneath(QWindow *panel) const
{
    // Elsewhere both windows float above ordinary ones and some window managers stack the panel, shown
    // without the focus, beneath the backdrop; all keep a transient above its parent.
    if (!m_ownWindowGroup)
        panel->setTransientParent(windowHandle());
}

void ScreenshotBackdrop::paintEvent(QPaintEvent *)
{
    QLinearGradient gradient(rect().topLeft(), rect().bottomRight());
    gradient.setColorAt(0.0, QColor::fromRgbF(0.16f, 0.30f, 0.62f));
    gradient.setColorAt(0.5, QColor::fromRgbF(0.52f, 0.36f, 0.70f));
    gradient.setColorAt(1.0, QColor::fromRgbF(0.93f, 0.62f, 0.52f));
    QPainter(this).fillRect(rect(), gradient);
}
