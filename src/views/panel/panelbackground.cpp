// SPDX-License-Identifier: GPL-3.0-or-later

#include "panelbackground.h"

#include "views/kit/continuouscorners.h"

#include <QPainter>

namespace
{

constexpr qreal CornerRadius = 18;
// Dense enough that text stays legible over a busy wallpaper, light enough that the desktop shows through.
constexpr int BackgroundAlpha = 232;

} // namespace

QPainterPath panelBackgroundShape(const QRectF &content)
{
    return continuousRoundedRect(content, CornerRadius);
}

void paintPanelBackground(QPainter &painter, const QRect &whole, const QRectF &content, QColor window, bool translucent)
{
    if (!translucent) {
        // The window's mask cuts the corners. An antialiased edge would leave half-transparent pixels
        // inside it, and without a compositor those show dark.
        painter.fillRect(whole, window);
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    window.setAlpha(BackgroundAlpha);
    painter.fillPath(panelBackgroundShape(content), window);
}
