#pragma once

#include <QAbstractNativeEventFilter>
#include <QWindow>

#include <functional>
#include <memory>

// Events of the X server that Qt does not report, each watched for as long as the returned filter lives.
namespace X11Platform
{

// Calls onUnmapped after the window was unmapped, by its own program or any other, while the returned
// filter lives.
std::unique_ptr<QAbstractNativeEventFilter> watchUnmaps(const QWindow *window, std::function<void()> onUnmapped);
// Calls onChange, from inside event dispatch, whenever a compositing manager takes or gives up the screen or
// the root window's offer of blur changes; hasCompositor() and supportsBlurBehind() then tell what holds.
// The watch lasts as long as the returned filter.
std::unique_ptr<QAbstractNativeEventFilter> watchCompositor(std::function<void()> onChange);

} // namespace X11Platform
