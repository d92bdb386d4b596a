#pragma once

#include <Qt>

// The panel's buttons draw a focus ring for keyboard navigation only; the focus a window hands its first
// button on activation should not draw attention.
inline bool isKeyboardNavigation(Qt::FocusReason reason)
{
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
}
