// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <utility>

// Runs a copy of the callback: the callback may delete the object that holds it, and the callback with it. A
// view given no callback for a trigger gets nothing done for it.
template<typename Callback, typename... Args> void runCopy(const Callback &callback, Args &&...args)
{
    if (const Callback copy = callback)
        copy(std::forward<Args>(args)...);
}
