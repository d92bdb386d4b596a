// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <Qt>

class QPainter;
class QWidget;

// The panel's buttons draw a focus ring for keyboard navigation only; the focus a window hands its first
// button on activation should not draw attention.
inline bool isKeyboardNavigation(Qt::FocusReason reason)
{
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
}

// The ring in the accent colour, just inside the button's rectangle, its corners rounded by `radius`.
void paintFocusRing(QPainter &painter, const QWidget &button, qreal radius);
