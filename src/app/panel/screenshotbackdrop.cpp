#include "screenshotbackdrop.h"

#include "x11platform.h"

#include <QLinearGradient>
#include <QPainter>

ScreenshotBackdrop::ScreenshotBackdrop(const QRect &screenGeometry, QWidget *parent)
    : QWidget(parent,
        Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowTransparentForInput
            | Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint)
{
    // Above ordinary windows like the panel; the panel, shown after it, stacks above it in that layer.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setWindowTitle(tr("Mirel backdrop"));
    setGeometry(screenGeometry);
}

void ScreenshotBackdrop::orderFront()
{
    // A window manager that believed the backdrop focused would stack the unfocused panel beneath it.
    winId();
    X11Platform::setNeverFocused(windowHandle());
    show();
}

void ScreenshotBackdrop::paintEvent(QPaintEvent *)
{
    QLinearGradient gradient(rect().topLeft(), rect().bottomRight());
    gradient.setColorAt(0.0, QColor::fromRgbF(0.16f, 0.30f, 0.62f));
    gradient.setColorAt(0.5, QColor::fromRgbF(0.52f, 0.36f, 0.70f));
    gradient.setColorAt(1.0, QColor::fromRgbF(0.93f, 0.62f, 0.52f));
    QPainter(this).fillRect(rect(), gradient);
}
