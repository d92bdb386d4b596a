// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QProxyStyle>

// The check box of a menu item drawn in the menu's own text colour, so it stands out as well as the item's
// text in light and dark themes alike. The application style's own box sets a dark outline on a dark base
// under a dark theme, where an unticked box all but disappears.
class MenuCheckStyle final : public QProxyStyle
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MenuCheckStyle)

public:
    // Owned by `menu`, which it becomes the style of.
    explicit MenuCheckStyle(QWidget *menu);

    void drawPrimitive(
        PrimitiveElement element, const QStyleOption *option, QPainter *painter, const QWidget *widget) const override;
};
